#include "platform/base/Guid.h"
#include "platform/base/HResult.h"
#include "platform/base/Windows1252.h"

#include <gtest/gtest.h>

TEST(Guid, RegistryFormRoundTrips) {
    const GUID g = MakeGuid(0x00020400, 0x0000, 0x0000, 0xC0, 0, 0, 0, 0, 0, 0, 0x46);
    EXPECT_EQ(StringFromGuid(g), "{00020400-0000-0000-C000-000000000046}");
    auto parsed = GuidFromString("{00020400-0000-0000-c000-000000000046}");
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(*parsed, g);
}

TEST(Guid, MalformedTextIsRejected) {
    for (const char* bad :
         {"", "{}", "00020400-0000-0000-C000-000000000046", "{00020400-0000-0000-C000-00000000004}",
          "{00020400-0000-0000-C000-0000000000467}", "{00020400+0000-0000-C000-000000000046}",
          "{0002040G-0000-0000-C000-000000000046}", "{00020400-0000-0000-C000-000000000046"})
        EXPECT_FALSE(GuidFromString(bad).has_value()) << bad;
}

TEST(HResult, FormatsAsUnsignedHex) {
    EXPECT_EQ(FormatHResult(CLASS_E_CLASSNOTAVAILABLE), "0x80040111");
    EXPECT_EQ(FormatHResult(S_FALSE), "0x00000001");
}

TEST(Windows1252, SpecialLettersAndSignsConvertBothWays) {
    // Degree sign, sharp s, u umlaut and the euro sign of the high block.
    const std::string ansi = "\xB0\xDF\xFC\x80";
    const std::string utf8 = "\xC2\xB0\xC3\x9F\xC3\xBC\xE2\x82\xAC";
    EXPECT_EQ(AnsiToUtf8(ansi), utf8);
    EXPECT_EQ(Utf8ToAnsi(utf8), ansi);
}

TEST(Windows1252, UnmappableAndMalformedInputBecomesQuestionMarks) {
    EXPECT_EQ(Utf8ToAnsi("a\xE2\x88\x9E"
                         "b"),
              "a?b");                               // infinity sign
    EXPECT_EQ(Utf8ToAnsi("\xF0\x9F\x98\x80"), "?"); // outside the BMP
    EXPECT_EQ(Utf8ToAnsi("\xC3"), "?");             // truncated sequence
    EXPECT_EQ(Utf8ToAnsi("\xC0\xAF"), "??");        // overlong '/'
    EXPECT_EQ(Utf8ToAnsi("\xED\xA0\x80"), "???");   // surrogate
}

TEST(Windows1252, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
}

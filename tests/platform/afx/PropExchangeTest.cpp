// Loading, saving and resetting properties by name through a JSON bag.
#include "platform/afx/PropExchange.h"
#include "platform/afx/JsonPropertyBag.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// A control's persistent state with the usual mix of exchanges.
struct Settings {
    SHORT shape = 1;
    BOOL flash = FALSE;
    float limit = 0.3f;
    double scale = 2.5;
    OLE_COLOR color = 0x80000005;
    CString label = "X";
    LONG untouched = 99; // exchanged without a default

    DWORD version = 0;
    void Exchange(CPropExchange& px) {
        px.ExchangeVersion(version, 0x00010004, TRUE);
        PX_Short(&px, "Shape", shape, 1);
        PX_Bool(&px, "Flash", flash, FALSE);
        PX_Float(&px, "Limit", limit, 0.3f);
        PX_Double(&px, "Scale", scale, 2.5);
        PX_Color(&px, "Back Color", color, 0x80000005);
        PX_String(&px, "Label", label, CString("X"));
        PX_Long(&px, "Untouched", untouched);
    }
};

nlohmann::json Save(Settings& s, bool saveAll) {
    auto bag = ComPtr<CJsonPropertyBag>::Attach(new CJsonPropertyBag);
    CPropExchange px = CPropExchange::ForSave(bag.Get(), saveAll);
    s.Exchange(px);
    return bag->Values();
}

void Load(Settings& s, nlohmann::json values) {
    auto bag = ComPtr<CJsonPropertyBag>::Attach(new CJsonPropertyBag(std::move(values)));
    CPropExchange px = CPropExchange::ForLoad(bag.Get());
    s.Exchange(px);
}

} // namespace

TEST(PropExchange, SavedPropertiesLoadBackByName) {
    Settings saved;
    saved.shape = 3;
    saved.flash = TRUE;
    saved.limit = 1.1f;
    saved.scale = -0.125;
    saved.color = 0x00FF8000;
    saved.label = "Temperatur \xB0"
                  "C"; // Windows-1252 degree sign
    saved.untouched = 7;
    nlohmann::json stored = Save(saved, true);
    EXPECT_EQ(stored["Limit"].dump(), "1.1"); // the float as written, not widened
    EXPECT_EQ(stored["Label"], "Temperatur \xC2\xB0"
                               "C");
    EXPECT_EQ(stored["_Version"], 0x00010004);

    Settings loaded;
    loaded.shape = 0;
    Load(loaded, stored);
    EXPECT_EQ(loaded.shape, 3);
    EXPECT_EQ(loaded.flash, TRUE);
    EXPECT_EQ(loaded.limit, 1.1f);
    EXPECT_EQ(loaded.scale, -0.125);
    EXPECT_EQ(loaded.color, 0x00FF8000u);
    EXPECT_EQ(loaded.label, "Temperatur \xB0"
                            "C");
    EXPECT_EQ(loaded.untouched, 7);
    EXPECT_EQ(loaded.version, 0x00010004u);
}

TEST(PropExchange, MissingNamesTakeDefaultsOrLeaveTheMember) {
    Settings s;
    s.shape = 4;
    s.label = "changed";
    s.untouched = 5;
    Load(s, nlohmann::json::object({{"_Version", 0x00010003}, {"Unknown", 1}}));
    EXPECT_EQ(s.shape, 1);
    EXPECT_EQ(s.label, "X");
    EXPECT_EQ(s.untouched, 5);
    EXPECT_EQ(s.version, 0x00010003u); // an older stream keeps its version
}

TEST(PropExchange, WrongTypesAreConvertedWhenTheyCanBe) {
    Settings s;
    Load(s, {{"Shape", "12"},
             {"Flash", 1},
             {"Scale", "abc"},
             {"Limit", true},
             {"Label", 42},
             {"Untouched", "many"},
             {"Back Color", {1, 2}}});
    EXPECT_EQ(s.shape, 12);
    EXPECT_EQ(s.flash, TRUE);
    EXPECT_EQ(s.scale, 2.5);   // not a number: the default
    EXPECT_EQ(s.limit, -1.0f); // true reads as -1, as the platform converts it
    EXPECT_EQ(s.label, "42");
    EXPECT_EQ(s.untouched, 99); // no default: unchanged
    EXPECT_EQ(s.color, 0x80000005u);
    Load(s, {{"Shape", 40000}});
    EXPECT_EQ(s.shape, 1); // out of range for a short: the default
}

TEST(PropExchange, ResetGivesDefaultsAndSaveLeavesThemOut) {
    Settings s;
    s.shape = 9;
    s.untouched = 3;
    CPropExchange reset = CPropExchange::ForReset();
    s.Exchange(reset);
    EXPECT_EQ(s.shape, 1);
    EXPECT_EQ(s.untouched, 3);
    EXPECT_EQ(s.version, 0x00010004u);

    s.scale = 4;
    nlohmann::json sparse = Save(s, false);
    EXPECT_FALSE(sparse.contains("Shape"));
    EXPECT_TRUE(sparse.contains("Scale"));
    EXPECT_TRUE(sparse.contains("Untouched")); // no default to compare with
}

TEST(JsonPropertyBag, NonFiniteNumbersSurvive) {
    auto bag = ComPtr<CJsonPropertyBag>::Attach(new CJsonPropertyBag);
    CComVariant inf = CComVariant::R8(-std::numeric_limits<double>::infinity());
    CComVariant nan = CComVariant::R4(std::numeric_limits<float>::quiet_NaN());
    ASSERT_EQ(bag->Write("Min", &inf), S_OK);
    ASSERT_EQ(bag->Write("Max", &nan), S_OK);
    EXPECT_EQ(bag->Values().dump(), R"({"Max":"NaN","Min":"-Infinity"})");
    CComVariant back;
    back.vt = VT_R8;
    ASSERT_EQ(bag->Read("Min", &back, nullptr), S_OK);
    EXPECT_TRUE(std::isinf(back.dblVal) && back.dblVal < 0);
    CComVariant text; // asked for no particular type: the stored string
    ASSERT_EQ(bag->Read("Max", &text, nullptr), S_OK);
    EXPECT_EQ(BstrView(text.bstrVal), "NaN");
}

TEST(JsonPropertyBag, RefusesWhatItCannotHold) {
    auto bag = ComPtr<CJsonPropertyBag>::Attach(new CJsonPropertyBag(nlohmann::json::array()));
    CComVariant unknown;
    unknown.vt = VT_UNKNOWN;
    unknown.punkVal = nullptr;
    EXPECT_EQ(bag->Write("Object", &unknown), E_INVALIDARG);
    EXPECT_EQ(bag->Read("Object", &unknown, nullptr), E_INVALIDARG);
    EXPECT_EQ(bag->Write(nullptr, &unknown), E_POINTER);
    EXPECT_TRUE(bag->Values().is_object());
}

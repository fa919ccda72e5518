// The lamp strip as the image list reads it: 24 cells of 13 x 13 in the
// order state + 3 x (colour + 4 x shape), magenta where the container shows
// through.
#include "resources/generators/LedStrip.h"
#include "platform/gdi/BmpReader.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kMagenta = 0xFF00FF;

std::uint32_t Body(int colour, int state) {
    constexpr std::uint32_t dark[4] = {0x800000, 0x008000, 0x808000, 0x000080};
    constexpr std::uint32_t lit[4] = {0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF};
    return state == 2 ? 0x808080 : state == 0 ? dark[colour] : lit[colour];
}

} // namespace

TEST(LedStrip, ReadsBackAsA16ColourStripOf24Cells) {
    std::string bytes = kw::bitmaps::MakeLedStrip().EncodeBmp();
    auto image =
        ReadBmp(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(image->width, 312);
    ASSERT_EQ(image->height, 13);
    EXPECT_EQ(bytes[28], 4) << "4 bits per pixel";
    auto at = [&](int x, int y) { return image->pixels[std::size_t(y) * 312 + x] & 0xFFFFFF; };
    for (int shape = 0; shape < 2; ++shape)
        for (int colour = 0; colour < 4; ++colour)
            for (int state = 0; state < 3; ++state) {
                int left = 13 * (state + 3 * (colour + 4 * shape));
                EXPECT_EQ(at(left + 6, 6), Body(colour, state))
                    << "shape " << shape << " colour " << colour << " state " << state;
                if (shape == 0) {
                    // Round: transparent corners, a light spot only when lit.
                    EXPECT_EQ(at(left, 0), kMagenta);
                    EXPECT_EQ(at(left + 12, 12), kMagenta);
                    EXPECT_EQ(at(left + 4, 4), state == 1 ? 0xFFFFFFu : 0xC0C0C0u);
                } else {
                    // Square: opaque to its edges, light above-left, dark below-right.
                    EXPECT_EQ(at(left, 6), 0xFFFFFFu);
                    EXPECT_EQ(at(left + 12, 6), 0x000000u);
                    EXPECT_EQ(at(left + 6, 12), 0x000000u);
                }
            }
}

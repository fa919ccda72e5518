// The Switch and Polarity strips as the image lists read them: their sizes,
// the cells the controls index, the marking colours, the transparent
// magenta, and the narrow Polarity strip as the wide one turned upright.
#include "platform/gdi/BmpReader.h"
#include "resources/generators/PolarityStrip.h"
#include "resources/generators/SwitchStrip.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr std::uint32_t kMagenta = 0xFF00FF;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kRed = 0xFF0000;

struct Image {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[std::size_t(y) * width + x] & 0xFFFFFF; }
    // The colours of a rectangle of cells.
    std::set<std::uint32_t> Colours(int left, int top, int w, int h) const {
        std::set<std::uint32_t> out;
        for (int y = top; y < top + h; ++y)
            for (int x = left; x < left + w; ++x)
                out.insert(At(x, y));
        return out;
    }
};

Image Read(const kw::bitmaps::Picture16& picture) {
    const std::string bytes = picture.EncodeBmp();
    auto image =
        ReadBmp(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    EXPECT_TRUE(image.has_value());
    EXPECT_EQ(bytes[28], 4) << "4 bits per pixel";
    if (!image)
        return {};
    return Image{image->width, image->height, image->pixels};
}

} // namespace

TEST(SwitchArtwork, FourDistinctCellsOfSixteenBySeventeenAndAnEmptyFifth) {
    const Image strip = Read(kw::bitmaps::MakeSwitchStrip());
    ASSERT_EQ(strip.width, 81);
    ASSERT_EQ(strip.height, 17);
    std::set<std::set<std::uint32_t>> seen;
    std::vector<std::vector<std::uint32_t>> cells;
    for (int cell = 0; cell < 4; ++cell) {
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 16; ++x)
                pixels.push_back(strip.At(16 * cell + x, y));
        cells.push_back(pixels);
        // Transparent margins left and right of the slot.
        EXPECT_EQ(strip.At(16 * cell, 8), kMagenta) << "cell " << cell;
        EXPECT_EQ(strip.At(16 * cell + 15, 8), kMagenta) << "cell " << cell;
    }
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b)
            EXPECT_NE(cells[a], cells[b]) << "cells " << a << " and " << b;
    // Off blue, on red, disabled without colour, special yellow.
    EXPECT_TRUE(strip.Colours(0, 0, 16, 17).contains(kBlue));
    EXPECT_FALSE(strip.Colours(0, 0, 16, 17).contains(kRed));
    EXPECT_TRUE(strip.Colours(16, 0, 16, 17).contains(kRed));
    EXPECT_FALSE(strip.Colours(16, 0, 16, 17).contains(kBlue));
    const std::set<std::uint32_t> greys{0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF, kMagenta};
    for (std::uint32_t c : strip.Colours(32, 0, 16, 17))
        EXPECT_TRUE(greys.contains(c)) << std::hex << c << ": the disabled cell is grey";
    EXPECT_TRUE(strip.Colours(48, 0, 16, 17).contains(0xFFFF00u));
    EXPECT_EQ(strip.Colours(64, 0, 17, 17), std::set<std::uint32_t>{kMagenta});
}

TEST(PolarityArtwork, TheWideStripHighlightsLBlueAndHRed) {
    const Image strip = Read(kw::bitmaps::MakePolarityWideStrip());
    ASSERT_EQ(strip.width, 65);
    ASSERT_EQ(strip.height, 13);
    const auto off = strip.Colours(0, 0, 32, 13);
    const auto on = strip.Colours(32, 0, 32, 13);
    EXPECT_TRUE(off.contains(kBlue));
    EXPECT_FALSE(off.contains(kRed));
    EXPECT_TRUE(on.contains(kRed));
    EXPECT_FALSE(on.contains(kBlue));
    EXPECT_EQ(strip.Colours(64, 0, 1, 13), std::set<std::uint32_t>{kMagenta});
    // The highlighted letter is white on its box, the other grey: the L
    // stands at column 22, the H at 26 (their left strokes).
    EXPECT_EQ(strip.At(22, 5), 0xFFFFFFu);
    EXPECT_EQ(strip.At(26, 5), 0x808080u);
    EXPECT_EQ(strip.At(32 + 22, 5), 0x808080u);
    EXPECT_EQ(strip.At(32 + 26, 5), 0xFFFFFFu);
}

TEST(PolarityArtwork, TheNarrowStripIsTheWideOneTurnedUpright) {
    const Image wide = Read(kw::bitmaps::MakePolarityWideStrip());
    const Image narrow = Read(kw::bitmaps::MakePolarityNarrowStrip());
    ASSERT_EQ(narrow.width, 32);
    ASSERT_EQ(narrow.height, 33);
    for (int cell = 0; cell < 2; ++cell) {
        for (int y = 0; y < 13; ++y)
            for (int x = 0; x < 32; ++x)
                ASSERT_EQ(narrow.At(16 * cell + 1 + y, 31 - x), wide.At(32 * cell + x, y))
                    << "cell " << cell << " wide (" << x << ", " << y << ")";
        EXPECT_EQ(narrow.Colours(16 * cell, 0, 1, 33), std::set<std::uint32_t>{kMagenta});
        EXPECT_EQ(narrow.Colours(16 * cell + 14, 0, 2, 33), std::set<std::uint32_t>{kMagenta});
        EXPECT_EQ(narrow.Colours(16 * cell, 32, 16, 1), std::set<std::uint32_t>{kMagenta});
    }
}

TEST(SwitchArtwork, TheBytesAreTheSameOnEveryRun) {
    EXPECT_EQ(kw::bitmaps::MakeSwitchStrip().EncodeBmp(),
              kw::bitmaps::MakeSwitchStrip().EncodeBmp());
    EXPECT_EQ(kw::bitmaps::MakePolarityNarrowStrip().EncodeBmp(),
              kw::bitmaps::MakePolarityNarrowStrip().EncodeBmp());
}

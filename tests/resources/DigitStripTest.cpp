// The read-out's glyph strips: 13 cells of the documented size, segments
// apart from each other, and glyphs that combine with SRCAND.
#include "resources/generators/DigitStrip.h"
#include "platform/gdi/BmpReader.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kw::bitmaps;

namespace {

struct Image {
    int width, height;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[std::size_t(y) * width + x] & 0xFFFFFF; }
};

Image Decode(const Picture16& picture) {
    const std::string bytes = picture.EncodeBmp();
    auto image =
        ReadBmp(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    EXPECT_TRUE(image.has_value());
    EXPECT_EQ(bytes[28], 4) << "4 bits per pixel";
    return image ? Image{image->width, image->height, image->pixels} : Image{0, 0, {}};
}

// The 4-connected groups of pixels of one glyph that `pick` selects.
int Groups(const Image& strip, int glyph, int w, const std::function<bool(std::uint32_t)>& pick) {
    std::vector<int> seen(std::size_t(w * strip.height), 0);
    int groups = 0;
    for (int y = 0; y < strip.height; ++y)
        for (int x = 0; x < w; ++x) {
            if (seen[std::size_t(y * w + x)] || !pick(strip.At(glyph * w + x, y)))
                continue;
            ++groups;
            std::vector<std::pair<int, int>> todo{{x, y}};
            seen[std::size_t(y * w + x)] = 1;
            while (!todo.empty()) {
                auto [cx, cy] = todo.back();
                todo.pop_back();
                const int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
                for (int i = 0; i < 4; ++i) {
                    const int nx = cx + dx[i], ny = cy + dy[i];
                    if (nx < 0 || ny < 0 || nx >= w || ny >= strip.height ||
                        seen[std::size_t(ny * w + nx)] || !pick(strip.At(glyph * w + nx, ny)))
                        continue;
                    seen[std::size_t(ny * w + nx)] = 1;
                    todo.push_back({nx, ny});
                }
            }
        }
    return groups;
}

std::uint32_t Rgb(Colour c) {
    constexpr std::uint32_t palette[16] = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    return palette[c];
}

} // namespace

TEST(DigitStrip, EveryStripHasThirteenCellsOfItsSize) {
    const struct {
        int id, width, height;
    } sizes[] = {{146, 416, 38}, {147, 208, 19}, {148, 156, 14}, {157, 208, 19},
                 {158, 156, 14}, {160, 208, 19}, {161, 156, 14}};
    ASSERT_EQ(DigitStripFiles().size(), std::size(sizes));
    for (std::size_t i = 0; i < std::size(sizes); ++i) {
        const DigitStripFile& file = DigitStripFiles()[i];
        EXPECT_EQ(file.id, sizes[i].id);
        const Image strip = Decode(MakeDigitStrip(file.size, file.look));
        EXPECT_EQ(strip.width, sizes[i].width) << file.file;
        EXPECT_EQ(strip.height, sizes[i].height) << file.file;
    }
}

TEST(DigitStrip, SegmentsStandApartWithGapsBetweenThem) {
    for (const DigitStripFile& file : DigitStripFiles()) {
        const Image strip = Decode(MakeDigitStrip(file.size, file.look));
        const int w = strip.width / kDigitGlyphs;
        const DigitLookColours c = DigitColoursOf(file.look);
        auto lit = [&](std::uint32_t p) { return p == Rgb(c.lit); };
        auto segment = [&](std::uint32_t p) { return p != Rgb(c.background); };
        EXPECT_EQ(Groups(strip, 8, w, lit), 7) << file.file << ": the seven bars of an 8";
        EXPECT_EQ(Groups(strip, 10, w, segment), 8) << file.file << ": seven bars and the point";
        EXPECT_EQ(Groups(strip, 10, w, lit), 0) << file.file;
        EXPECT_EQ(Groups(strip, 12, w, lit), 1) << file.file << ": the point alone";
        EXPECT_EQ(Groups(strip, 11, w, lit), 1) << file.file << ": the middle bar alone";
        EXPECT_EQ(Groups(strip, 1, w, lit), 2) << file.file;
    }
}

TEST(DigitStrip, TwoGlyphsAndedTogetherLightTheSegmentsOfEither) {
    for (const DigitStripFile& file : DigitStripFiles()) {
        const Image strip = Decode(MakeDigitStrip(file.size, file.look));
        const int w = strip.width / kDigitGlyphs;
        const DigitLookColours c = DigitColoursOf(file.look);
        for (int a = 0; a < kDigitGlyphs; ++a)
            for (int b = 0; b < kDigitGlyphs; ++b)
                for (int y = 0; y < strip.height; ++y)
                    for (int x = 0; x < w; ++x) {
                        const std::uint32_t pa = strip.At(a * w + x, y);
                        const std::uint32_t pb = strip.At(b * w + x, y);
                        const bool lit = pa == Rgb(c.lit) || pb == Rgb(c.lit);
                        const std::uint32_t expected = lit ? Rgb(c.lit) : pa;
                        ASSERT_EQ(pa & pb, expected) << file.file << ": glyphs " << a << " and "
                                                     << b << " at " << x << "," << y;
                    }
    }
}

TEST(DigitStrip, TheBytesAreTheSameOnEveryRun) {
    EXPECT_EQ(MakeDigitStrip(DigitSize::Big, DigitLook::Error).EncodeBmp(),
              MakeDigitStrip(DigitSize::Big, DigitLook::Error).EncodeBmp());
}

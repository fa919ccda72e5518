// The view chooser's artwork against its hotspot tables: every picture that
// a hotspot shows highlights that hotspot's place and no other, and the
// strips load as the image lists the control draws from.
#include "resources/generators/ViewStrips.h"
#include "platform/gdi/BmpReader.h"
#include "views3d/ViewmanagerHotspots.h"

#include <gtest/gtest.h>

using namespace kw::bitmaps;
using kw::views3d::FaceHotspots;
using kw::views3d::Hotspot;
using kw::views3d::IsometricHotspots;

namespace {

// The colour at a hotspot's place in picture `index`.
Colour At(const Picture16& strip, int index, const Hotspot& h) {
    return strip.Get(index * kViewPicture + 26 + h.dx, 26 + h.dy);
}

bool Highlighted(Colour c) {
    return c == Red || c == Green;
}

} // namespace

TEST(ViewStrips, TheyAre16ColourStripsOf52PixelPicturesWithMagentaCorners) {
    struct {
        Picture16 strip;
        int pictures;
    } strips[] = {{MakeIsometricStrip(), kIsometricPictures}, {MakeFaceStrip(), kFacePictures}};
    for (const auto& s : strips) {
        const std::string bytes = s.strip.EncodeBmp();
        auto image =
            ReadBmp(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->width, 52 * s.pictures);
        EXPECT_EQ(image->height, 52);
        EXPECT_EQ(bytes[28], 4) << "4 bits per pixel";
        for (int p = 0; p < s.pictures; ++p) {
            EXPECT_EQ(s.strip.Get(p * 52, 0), Magenta) << p;
            EXPECT_EQ(s.strip.Get(p * 52 + 51, 51), Magenta) << p;
        }
        EXPECT_EQ(s.strip.EncodeBmp(), bytes) << "the same bytes on every run";
    }
}

TEST(ViewStrips, EachIsometricPictureHighlightsItsOwnHotspotOnly) {
    const Picture16 strip = MakeIsometricStrip();
    const auto table = IsometricHotspots();
    // Picture 0: green dots on the corners (hotspots 0 to 6), the blue
    // 120-degree arrows (7, 8) and the plain faces (9 to 11).
    for (std::size_t k = 0; k <= 6; ++k)
        EXPECT_EQ(At(strip, 0, table[k]), Green) << "corner hotspot " << k;
    EXPECT_EQ(At(strip, 0, table[7]), Blue);
    EXPECT_EQ(At(strip, 0, table[8]), Blue);
    EXPECT_EQ(At(strip, 0, table[9]), LightGrey);
    EXPECT_EQ(At(strip, 0, table[10]), Grey);
    EXPECT_EQ(At(strip, 0, table[11]), White);
    for (std::size_t k = 1; k < table.size(); ++k) {
        const int picture = table[k].picture;
        ASSERT_EQ(picture, int(k));
        // The turns (1 to 8) in red, the faces (9 to 11) in green.
        EXPECT_EQ(At(strip, picture, table[k]), k <= 8 ? Red : Green) << "hotspot " << k;
        for (std::size_t other = 0; other < table.size(); ++other)
            if (other != k) {
                EXPECT_EQ(At(strip, picture, table[other]), At(strip, 0, table[other]))
                    << "picture " << picture << " changes hotspot " << other;
            }
    }
}

TEST(ViewStrips, EachFacePictureHighlightsItsOwnHotspotOnly) {
    const Picture16 strip = MakeFaceStrip();
    const auto table = FaceHotspots();
    for (std::size_t k = 0; k < 8; ++k)
        EXPECT_EQ(At(strip, 0, table[k]), Green) << "dot " << k;
    EXPECT_EQ(At(strip, 0, table[8]), Blue);
    EXPECT_EQ(At(strip, 0, table[9]), Blue);
    for (std::size_t k = 0; k < table.size(); ++k) {
        const int picture = table[k].picture;
        if (picture == 0)
            continue; // the centre shows the plain face
        EXPECT_EQ(At(strip, picture, table[k]), Red) << "hotspot " << k;
        for (std::size_t other = 0; other < table.size(); ++other)
            if (other != k) {
                EXPECT_FALSE(Highlighted(At(strip, picture, table[other])) &&
                             At(strip, picture, table[other]) != At(strip, 0, table[other]))
                    << "picture " << picture << " changes hotspot " << other;
            }
    }
    // Every picture of the strip is some hotspot's.
    bool used[kFacePictures] = {};
    for (const Hotspot& h : table)
        used[h.picture] = true;
    for (int p = 0; p < kFacePictures; ++p)
        EXPECT_TRUE(used[p]) << p;
}

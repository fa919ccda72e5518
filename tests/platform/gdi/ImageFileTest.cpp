// BMP reading and PNG writing.
#include "platform/gdi/BmpReader.h"
#include "platform/gdi/PngWriter.h"
#include "tests/platform/gdi/GdiTestSupport.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::uint32_t v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// A test image of w x h: pixel (x, y) has palette index (x + 2y) % colours
// for palette formats, and colour Rgb(x, y) otherwise.
std::uint32_t Rgb(int x, int y) {
    return std::uint32_t(((x * 40) & 0xFF) << 16 | ((y * 50) & 0xFF) << 8 | ((x + y) * 9 & 0xFF));
}
std::uint32_t PaletteColour(int i) {
    return std::uint32_t((i * 17) & 0xFF) << 16 | std::uint32_t((255 - i * 3) & 0xFF) << 8 | 0x42;
}

// Writes a BMP file the way the platform lays it out.
Bytes MakeBmp(int w, int h, int bpp, bool topDown = false) {
    const int colours = bpp <= 8 ? 1 << bpp : 0;
    const std::size_t rowBytes = ((std::size_t(w) * bpp + 31) / 32) * 4;
    const std::uint32_t offset = 14 + 40 + 4 * colours;
    Bytes b{'B', 'M'};
    Put32(b, offset + std::uint32_t(rowBytes * h));
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, std::uint32_t(w));
    Put32(b, std::uint32_t(topDown ? -h : h));
    Put16(b, 1);
    Put16(b, std::uint32_t(bpp));
    Put32(b, BI_RGB);
    Put32(b, 0);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, 0);
    Put32(b, 0);
    for (int i = 0; i < colours; ++i)
        Put32(b, PaletteColour(i));
    for (int row = 0; row < h; ++row) {
        const int y = topDown ? row : h - 1 - row;
        Bytes line(rowBytes, 0);
        for (int x = 0; x < w; ++x) {
            const int index = colours ? (x + 2 * y) % colours : 0;
            const std::uint32_t c = Rgb(x, y);
            switch (bpp) {
            case 1:
                line[std::size_t(x / 8)] |= std::uint8_t(index << (7 - x % 8));
                break;
            case 4:
                line[std::size_t(x / 2)] |= std::uint8_t(index << (x % 2 ? 0 : 4));
                break;
            case 8:
                line[std::size_t(x)] = std::uint8_t(index);
                break;
            case 24:
                line[std::size_t(3 * x)] = std::uint8_t(c);
                line[std::size_t(3 * x + 1)] = std::uint8_t(c >> 8);
                line[std::size_t(3 * x + 2)] = std::uint8_t(c >> 16);
                break;
            case 32:
                std::memcpy(&line[std::size_t(4 * x)], &c, 4);
                break;
            }
        }
        b.insert(b.end(), line.begin(), line.end());
    }
    return b;
}

std::uint32_t Expected(int x, int y, int bpp) {
    if (bpp > 8)
        return Rgb(x, y);
    return PaletteColour((x + 2 * y) % (1 << bpp));
}

} // namespace

TEST(BmpReader, ReadsEveryDepthInBothRowOrders) {
    for (int bpp : {1, 4, 8, 24, 32})
        for (bool topDown : {false, true}) {
            const int w = 13, h = 5; // Odd width exercises row padding.
            auto image = ReadBmp(MakeBmp(w, h, bpp, topDown));
            ASSERT_TRUE(image) << bpp << " bpp, top-down " << topDown;
            ASSERT_EQ(image->width, w);
            ASSERT_EQ(image->height, h);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(image->pixels[std::size_t(y * w + x)], Expected(x, y, bpp))
                        << bpp << " bpp, top-down " << topDown << ", pixel " << x << "," << y;
        }
}

TEST(BmpReader, BlackAndWhiteOneBitImagesBecomeMonochromeBitmaps) {
    Bytes bmp = MakeBmp(8, 2, 1);
    // Palette: black, white.
    const std::uint32_t black = 0, white = 0xFFFFFF;
    std::memcpy(&bmp[54], &black, 4);
    std::memcpy(&bmp[58], &white, 4);
    HBITMAP bitmap = CreateBitmapFromBmp(bmp);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_TRUE(IsMonochromeBitmap(bitmap));
    PixelSurface s;
    ASSERT_TRUE(GetBitmapSurface(bitmap, &s));
    EXPECT_EQ(s.At(0, 0), 0u);
    EXPECT_EQ(s.At(1, 0), 0xFFFFFFu);
    DeleteObject(bitmap);
    HBITMAP colour = CreateBitmapFromBmp(MakeBmp(8, 2, 8));
    EXPECT_FALSE(IsMonochromeBitmap(colour));
    DeleteObject(colour);
}

TEST(BmpReader, RejectsMalformedHeadersCleanly) {
    const Bytes good = MakeBmp(4, 4, 8);
    ASSERT_TRUE(ReadBmp(good));
    auto with = [&](std::size_t at, std::uint32_t value) {
        Bytes b = good;
        std::memcpy(&b[at], &value, 4);
        return b;
    };
    EXPECT_FALSE(ReadBmp(Bytes{})) << "empty";
    EXPECT_FALSE(ReadBmp(Bytes(good.begin(), good.begin() + 30))) << "header cut short";
    EXPECT_FALSE(ReadBmp(Bytes(good.begin(), good.end() - 1))) << "pixels cut short";
    EXPECT_FALSE(ReadBmp(with(14, 41))) << "unknown header size";
    EXPECT_FALSE(ReadBmp(with(18, 0))) << "zero width";
    EXPECT_FALSE(ReadBmp(with(18, 0x7FFFFFFF))) << "huge width";
    EXPECT_FALSE(ReadBmp(with(22, 0x80000000))) << "most negative height";
    EXPECT_FALSE(ReadBmp(with(18, 20000) /* 20000 x 4 fits the bound but not the data */));
    {
        Bytes b = with(18, 30000);
        std::memcpy(&b[22], "\x30\x75\x00\x00", 4); // 30000 x 30000 is over the pixel bound.
        EXPECT_FALSE(ReadBmp(b));
    }
    EXPECT_FALSE(ReadBmp(with(10, 0xFFFFFFF0))) << "pixel offset past the end";
    EXPECT_FALSE(ReadBmp(with(30, BI_RLE8))) << "run-length data is not read";
    EXPECT_FALSE(ReadBmp(with(46, 300))) << "more than 256 palette entries";
    Bytes depth = good;
    depth[28] = 7;
    EXPECT_FALSE(ReadBmp(depth)) << "7 bits per pixel";
    // A short palette reads indices past its end as black.
    Bytes shortPalette = with(46, 2);
    shortPalette.erase(shortPalette.begin() + 54 + 8, shortPalette.begin() + 54 + 1024);
    std::uint32_t offset = 54 + 8;
    std::memcpy(&shortPalette[10], &offset, 4);
    auto image = ReadBmp(shortPalette);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels[2], 0u) << "index 2 lies past a 2-entry palette";
    EXPECT_EQ(CreateBitmapFromBmp(Bytes{'B', 'M'}), nullptr);
}

// 16-bit pixels with colour masks, including a mask with a hole in it,
// which must still give channel values within 0..255.
TEST(BmpReader, BitfieldMasksScaleEachChannel) {
    auto make = [](std::uint32_t red, std::uint32_t green, std::uint32_t blue, std::uint16_t px) {
        Bytes b{'B', 'M'};
        Put32(b, 14 + 40 + 12 + 4);
        Put32(b, 0);
        Put32(b, 14 + 40 + 12);
        for (std::uint32_t v : {40u, 1u, 1u})
            Put32(b, v);
        Put16(b, 1);
        Put16(b, 16);
        Put32(b, BI_BITFIELDS);
        for (int i = 0; i < 5; ++i)
            Put32(b, 0);
        Put32(b, red);
        Put32(b, green);
        Put32(b, blue);
        Put16(b, px);
        Put16(b, 0);
        return b;
    };
    auto image = ReadBmp(make(0xF800, 0x07E0, 0x001F, 0xFFFF));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels[0], 0xFFFFFFu) << "5-6-5 white";
    image = ReadBmp(make(0xF800, 0x07E0, 0x001F, 0x07E0));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels[0], 0x00FF00u) << "5-6-5 green";
    image = ReadBmp(make(0x4A00, 0x07E0, 0x001F, 0xFFFF)); // Red mask with holes.
    ASSERT_TRUE(image);
    EXPECT_LE(image->pixels[0], 0xFFFFFFu) << "got 0x" << std::hex << image->pixels[0];
}

TEST(PngWriter, RoundTripsThroughLibpng) {
    SurfaceBuffer buffer(7, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            buffer.View().At(x, y) = Rgb(x, y);
    const std::vector<std::uint8_t> png = EncodePng(buffer.View());
    ASSERT_FALSE(png.empty());
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, png.data(), png.size()));
    EXPECT_EQ(image.width, 7u);
    EXPECT_EQ(image.height, 3u);
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) {
            const std::uint8_t* p = &rgb[std::size_t((y * 7 + x) * 3)];
            const std::uint32_t got = std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
            EXPECT_EQ(got, Rgb(x, y)) << "pixel " << x << "," << y;
        }
    EXPECT_TRUE(EncodePng(PixelSurface{}).empty());
    EXPECT_FALSE(WritePng(buffer.View(), "/nonexistent-dir/x.png"));
}

TEST(PngWriter, ReadsBottomUpSectionsTopRowFirst) {
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 2, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    // Storage starts with the bottom row.
    static_cast<std::uint32_t*>(bits)[0] = 0x0000FF;
    static_cast<std::uint32_t*>(bits)[2] = 0xFF0000;
    PixelSurface s;
    ASSERT_TRUE(GetBitmapSurface(section, &s));
    EXPECT_EQ(s.At(0, 0), 0xFF0000u) << "top-left is the first pixel of the second stored row";
    EXPECT_EQ(s.At(0, 1), 0x0000FFu);
    DeleteObject(section);
}

// Ternary raster operations and the monochrome/colour conversions of BitBlt.
#include "tests/platform/gdi/GdiTestSupport.h"

#include <gtest/gtest.h>

namespace {

// The slow, obviously right reading of a raster operation code: bit
// (4p + 2s + d) of the code's index byte is the result for those bits.
COLORREF Reference(DWORD rop, COLORREF p, COLORREF s, COLORREF d) {
    const unsigned code = (rop >> 16) & 0xFF;
    COLORREF result = 0;
    for (int bit = 0; bit < 24; ++bit) {
        const int i = (((p >> bit) & 1) << 2) | (((s >> bit) & 1) << 1) | ((d >> bit) & 1);
        result |= COLORREF((code >> i) & 1) << bit;
    }
    return result;
}

// A 2x2 source of black/white combinations against a 2x2 destination.
void CheckTruthTable(DWORD rop, const char* name) {
    const COLORREF values[2] = {RGB(0, 0, 0), RGB(255, 255, 255)};
    Canvas src(2, 2), dst(2, 2);
    for (int s = 0; s < 2; ++s)
        for (int d = 0; d < 2; ++d) {
            src.Set(s, d, values[s]);
            dst.Set(s, d, values[d]);
        }
    ASSERT_TRUE(BitBlt(dst.Dc(), 0, 0, 2, 2, src.Dc(), 0, 0, rop)) << name;
    for (int s = 0; s < 2; ++s)
        for (int d = 0; d < 2; ++d) {
            const COLORREF expected = Reference(rop, 0, values[s], values[d]);
            EXPECT_EQ(dst.At(s, d), expected)
                << name << " with S=" << s << " D=" << d << ": expected " << Hex(expected)
                << ", got " << Hex(dst.At(s, d));
        }
}

} // namespace

TEST(RasterOps, TruthTablesOfTheSourceOperations) {
    CheckTruthTable(SRCAND, "SRCAND");
    CheckTruthTable(SRCINVERT, "SRCINVERT");
    CheckTruthTable(SRCPAINT, "SRCPAINT");
    CheckTruthTable(SRCCOPY, "SRCCOPY");
    CheckTruthTable(NOTSRCCOPY, "NOTSRCCOPY");
    CheckTruthTable(SRCERASE, "SRCERASE");
}

// Every one of the 256 operations on mixed colours against the reference,
// with a pattern from the selected brush.
TEST(RasterOps, AllOperationsMatchTheReference) {
    const COLORREF p = RGB(0xF0, 0x0F, 0x55), s = RGB(0xCC, 0x33, 0xAA), d = RGB(0xAA, 0x66, 0x0F);
    Canvas src(1, 1), dst(1, 1);
    src.Set(0, 0, s);
    HBRUSH brush = CreateSolidBrush(p);
    HGDIOBJ old = SelectObject(dst.Dc(), brush);
    for (DWORD code = 0; code < 256; ++code) {
        const DWORD rop = code << 16;
        dst.Set(0, 0, d);
        ASSERT_TRUE(BitBlt(dst.Dc(), 0, 0, 1, 1, src.Dc(), 0, 0, rop));
        EXPECT_EQ(dst.At(0, 0), Reference(rop, p, s, d))
            << "operation index 0x" << std::hex << code;
    }
    SelectObject(dst.Dc(), old);
    DeleteObject(brush);
}

TEST(RasterOps, OperationsWithoutSource) {
    Canvas c(4, 1, RGB(0x12, 0x34, 0x56));
    HBRUSH brush = CreateSolidBrush(RGB(9, 8, 7));
    HGDIOBJ old = SelectObject(c.Dc(), brush);
    EXPECT_TRUE(BitBlt(c.Dc(), 0, 0, 1, 1, nullptr, 0, 0, BLACKNESS));
    EXPECT_TRUE(BitBlt(c.Dc(), 1, 0, 1, 1, nullptr, 0, 0, WHITENESS));
    EXPECT_TRUE(BitBlt(c.Dc(), 2, 0, 1, 1, nullptr, 0, 0, DSTINVERT));
    EXPECT_TRUE(PatBlt(c.Dc(), 3, 0, 1, 1, PATCOPY));
    EXPECT_EQ(c.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(c.At(1, 0), RGB(255, 255, 255));
    EXPECT_EQ(c.At(2, 0), RGB(0xED, 0xCB, 0xA9));
    EXPECT_EQ(c.At(3, 0), RGB(9, 8, 7));
    EXPECT_FALSE(BitBlt(c.Dc(), 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY)) << "SRCCOPY needs a source";
    SelectObject(c.Dc(), old);
    DeleteObject(brush);
}

TEST(RasterOps, MonochromeSourceTakesTextAndBackgroundColours) {
    // 1 bits are white, 0 bits black; rows padded to 16 bits.
    const BYTE bits[] = {0xA0, 0x00, 0x50, 0x00}; // 1010 / 0101
    HBITMAP mono = CreateBitmap(4, 2, 1, 1, bits);
    HDC monoDc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(monoDc, mono);
    Canvas c(4, 2);
    const COLORREF text = RGB(200, 0, 0), back = RGB(0, 0, 200);
    SetTextColor(c.Dc(), text);
    SetBkColor(c.Dc(), back);
    ASSERT_TRUE(BitBlt(c.Dc(), 0, 0, 4, 2, monoDc, 0, 0, SRCCOPY));
    const COLORREF expected[2][4] = {{back, text, back, text}, {text, back, text, back}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(c.At(x, y), expected[y][x])
                << "(" << x << "," << y << "): white bits take the background colour " << Hex(back)
                << ", black bits the text colour " << Hex(text) << "; got " << Hex(c.At(x, y));
    SelectObject(monoDc, old);
    DeleteDC(monoDc);
    DeleteObject(mono);
}

TEST(RasterOps, ColourToMonochromeByTheSourceBackground) {
    Canvas c(3, 1);
    c.Set(0, 0, RGB(255, 0, 255));
    c.Set(1, 0, RGB(0, 0, 0));
    c.Set(2, 0, RGB(255, 255, 255));
    HDC monoDc = CreateCompatibleDC(nullptr);
    HBITMAP mono = CreateBitmap(3, 1, 1, 1, nullptr);
    HGDIOBJ old = SelectObject(monoDc, mono);
    SetBkColor(c.Dc(), RGB(255, 0, 255));
    ASSERT_TRUE(BitBlt(monoDc, 0, 0, 3, 1, c.Dc(), 0, 0, SRCCOPY));
    // The key colour becomes white (1); everything else, white too, black.
    Canvas back(3, 1);
    SetTextColor(back.Dc(), RGB(0, 0, 0));
    SetBkColor(back.Dc(), RGB(255, 255, 255));
    BitBlt(back.Dc(), 0, 0, 3, 1, monoDc, 0, 0, SRCCOPY);
    EXPECT_EQ(back.At(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(back.At(1, 0), RGB(0, 0, 0));
    EXPECT_EQ(back.At(2, 0), RGB(0, 0, 0));
    SelectObject(monoDc, old);
    DeleteDC(monoDc);
    DeleteObject(mono);
}

// The colour-key sequence controls use: mask from the key colour, then
// image ^ dst, & mask, ^ image, leaving key pixels showing the background.
TEST(RasterOps, TransparentBlitThroughAMask) {
    Canvas image(4, 1), dst(4, 1, RGB(10, 20, 30));
    const COLORREF key = RGB(255, 0, 255);
    image.Set(0, 0, key);
    image.Set(1, 0, RGB(1, 2, 3));
    image.Set(2, 0, key);
    image.Set(3, 0, RGB(4, 5, 6));
    HDC maskDc = CreateCompatibleDC(nullptr);
    HBITMAP mask = CreateBitmap(4, 1, 1, 1, nullptr);
    HGDIOBJ old = SelectObject(maskDc, mask);
    SetBkColor(image.Dc(), key);
    BitBlt(maskDc, 0, 0, 4, 1, image.Dc(), 0, 0, SRCCOPY);
    SetTextColor(dst.Dc(), RGB(0, 0, 0));
    SetBkColor(dst.Dc(), RGB(255, 255, 255));
    BitBlt(dst.Dc(), 0, 0, 4, 1, image.Dc(), 0, 0, SRCINVERT);
    BitBlt(dst.Dc(), 0, 0, 4, 1, maskDc, 0, 0, SRCAND);
    BitBlt(dst.Dc(), 0, 0, 4, 1, image.Dc(), 0, 0, SRCINVERT);
    EXPECT_EQ(dst.At(0, 0), RGB(10, 20, 30));
    EXPECT_EQ(dst.At(1, 0), RGB(1, 2, 3));
    EXPECT_EQ(dst.At(2, 0), RGB(10, 20, 30));
    EXPECT_EQ(dst.At(3, 0), RGB(4, 5, 6));
    SelectObject(maskDc, old);
    DeleteDC(maskDc);
    DeleteObject(mask);
}

TEST(RasterOps, BlitIsClippedAndHandlesOverlap) {
    Canvas c(8, 8, RGB(0, 0, 0));
    for (int x = 0; x < 8; ++x)
        c.Set(x, 0, RGB(x, 0, 0));
    // Copy row 0 one pixel to the right within the same bitmap.
    ASSERT_TRUE(BitBlt(c.Dc(), 1, 0, 7, 1, c.Dc(), 0, 0, SRCCOPY));
    for (int x = 1; x < 8; ++x)
        EXPECT_EQ(c.At(x, 0), RGB(x - 1, 0, 0)) << "x=" << x;
    // Copy downwards overlapping rows.
    for (int y = 0; y < 8; ++y)
        c.Set(0, y, RGB(0, y, 0));
    BitBlt(c.Dc(), 0, 1, 1, 7, c.Dc(), 0, 0, SRCCOPY);
    for (int y = 1; y < 8; ++y)
        EXPECT_EQ(c.At(0, y), RGB(0, y - 1, 0)) << "y=" << y;
    // Partly outside both source and destination: only the common part.
    Canvas src(4, 4, RGB(9, 9, 9)), dst(4, 4, RGB(1, 1, 1));
    EXPECT_TRUE(BitBlt(dst.Dc(), -2, 2, 10, 10, src.Dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(dst.Bounds(RGB(1, 1, 1)), (RECT{0, 2, 2, 4}));
}

// Device context state, selection, clipping and handle safety.
#include "tests/platform/gdi/GdiTestSupport.h"

#include <gtest/gtest.h>

TEST(DeviceContext, SurfaceDcDrawsAtItsOriginInsideItsClip) {
    SurfaceBuffer buffer(20, 20, 0x000000);
    HDC dc = CreateDCForSurface(buffer.View(), POINT{5, 6}, RECT{5, 6, 10, 12});
    ASSERT_NE(dc, nullptr);
    RECT box{};
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(box, (RECT{0, 0, 5, 6})) << "clip box in the DC's own coordinates";
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RECT all{-100, -100, 100, 100};
    FillRect(dc, &all, white);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 5 && x < 10 && y >= 6 && y < 12;
            ASSERT_EQ(buffer.Pixel(x, y), inside ? 0xFFFFFFu : 0u) << x << "," << y;
        }
    SetPixel(dc, 0, 0, RGB(255, 0, 0));
    EXPECT_EQ(buffer.Pixel(5, 6), 0xFF0000u) << "logical (0,0) is surface (5,6), 0x00RRGGBB";
    // The viewport origin moves drawing and the clip box with it.
    SetViewportOrgEx(dc, 2, 1, nullptr);
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(box, (RECT{-2, -1, 3, 5}));
    SetPixel(dc, 0, 0, RGB(0, 255, 0));
    EXPECT_EQ(buffer.Pixel(7, 7), 0x00FF00u);
    // Narrowing the clip and an empty clip.
    EXPECT_EQ(IntersectClipRect(dc, 50, 50, 60, 60), NULLREGION);
    EXPECT_EQ(GetClipBox(dc, &box), NULLREGION);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_EQ(GetClipBox(dc, &box), ERROR) << "a deleted DC cannot give a clip box";
}

TEST(DeviceContext, SelectObjectReturnsThePreviousObject) {
    Canvas c(4, 4);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HGDIOBJ first = SelectObject(c.Dc(), pen);
    EXPECT_EQ(first, GetStockObject(BLACK_PEN)) << "a new DC holds the black pen";
    EXPECT_EQ(SelectObject(c.Dc(), first), pen);
    EXPECT_EQ(SelectObject(c.Dc(), GetStockObject(NULL_BRUSH)), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetObjectType(c.Dc()), OBJ_MEMDC);
    EXPECT_EQ(GetObjectType(pen), OBJ_PEN);
    DeleteObject(pen);
}

TEST(DeviceContext, SaveAndRestoreBringBackTheState) {
    Canvas c(4, 4);
    SetTextColor(c.Dc(), RGB(1, 1, 1));
    SetBkMode(c.Dc(), OPAQUE);
    const int level = SaveDC(c.Dc());
    EXPECT_EQ(level, 1);
    HFONT font = CreateFont(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    HGDIOBJ oldFont = SelectObject(c.Dc(), font);
    SetTextColor(c.Dc(), RGB(2, 2, 2));
    SetBkMode(c.Dc(), TRANSPARENT);
    SetROP2(c.Dc(), R2_XORPEN);
    SetViewportOrgEx(c.Dc(), 3, 3, nullptr);
    EXPECT_EQ(SaveDC(c.Dc()), 2);
    EXPECT_TRUE(RestoreDC(c.Dc(), level));
    EXPECT_EQ(GetTextColor(c.Dc()), RGB(1, 1, 1));
    EXPECT_EQ(GetBkMode(c.Dc()), OPAQUE);
    EXPECT_EQ(GetROP2(c.Dc()), R2_COPYPEN);
    EXPECT_EQ(GetCurrentObject(c.Dc(), OBJ_FONT), oldFont);
    POINT org{9, 9};
    GetViewportOrgEx(c.Dc(), &org);
    EXPECT_EQ(org, (POINT{0, 0}));
    EXPECT_FALSE(RestoreDC(c.Dc(), 1)) << "level 1 was used up by the restore";
    SaveDC(c.Dc());
    SetTextColor(c.Dc(), RGB(3, 3, 3));
    EXPECT_TRUE(RestoreDC(c.Dc(), -1));
    EXPECT_EQ(GetTextColor(c.Dc()), RGB(1, 1, 1));
    DeleteObject(font);
}

TEST(DeviceContext, BitmapsBelongToOneMemoryDcAtATime) {
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
    HDC a = CreateCompatibleDC(nullptr), b = CreateCompatibleDC(nullptr);
    EXPECT_NE(SelectObject(a, bitmap), nullptr);
    EXPECT_EQ(SelectObject(b, bitmap), nullptr) << "already selected into another DC";
    EXPECT_EQ(GetDeviceCaps(a, BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(b, BITSPIXEL), 1) << "a fresh memory DC is monochrome";
    EXPECT_EQ(GetDeviceCaps(a, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(a, LOGPIXELSY), 96);
    HBITMAP monoCompatible = CreateCompatibleBitmap(b, 2, 2);
    EXPECT_TRUE(IsMonochromeBitmap(monoCompatible));
    HBITMAP colourCompatible = CreateCompatibleBitmap(a, 2, 2);
    EXPECT_FALSE(IsMonochromeBitmap(colourCompatible));
    DeleteDC(a);
    EXPECT_NE(SelectObject(b, bitmap), nullptr) << "free again once its DC is gone";
    DeleteDC(b);
    DeleteObject(bitmap);
    DeleteObject(monoCompatible);
    DeleteObject(colourCompatible);
}

TEST(DeviceContext, DeletingASelectedObjectKeepsTheDcWorking) {
    Canvas c(4, 4);
    HBRUSH brush = CreateSolidBrush(RGB(0, 128, 0));
    SelectObject(c.Dc(), brush);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_EQ(GetObjectType(brush), 0u) << "the handle is dead";
    EXPECT_TRUE(Rectangle(c.Dc(), 0, 0, 4, 4)) << "the DC still draws with it";
    EXPECT_EQ(c.At(1, 1), RGB(0, 128, 0));
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));
    EXPECT_EQ(GetObjectType(GetStockObject(BLACK_PEN)), OBJ_PEN) << "stock objects stay";
}

TEST(DeviceContext, NullAndStaleHandlesFailCleanly) {
    HDC dead = CreateCompatibleDC(nullptr);
    DeleteDC(dead);
    HPEN deadPen = CreatePen(PS_SOLID, 1, 0);
    DeleteObject(deadPen);
    RECT rc{0, 0, 1, 1};
    for (HDC dc : {HDC(nullptr), dead, reinterpret_cast<HDC>(deadPen)}) {
        EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), nullptr);
        EXPECT_EQ(SaveDC(dc), 0);
        EXPECT_FALSE(RestoreDC(dc, -1));
        EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);
        EXPECT_EQ(SetBkMode(dc, OPAQUE), 0);
        EXPECT_FALSE(LineTo(dc, 1, 1));
        EXPECT_FALSE(Rectangle(dc, 0, 0, 1, 1));
        EXPECT_EQ(FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
        EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
        EXPECT_FALSE(BitBlt(dc, 0, 0, 1, 1, dc, 0, 0, SRCCOPY));
        EXPECT_EQ(GetClipBox(dc, &rc), ERROR);
        EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 0);
        EXPECT_FALSE(DeleteDC(dc));
    }
    Canvas c(2, 2);
    EXPECT_EQ(SelectObject(c.Dc(), deadPen), nullptr);
    EXPECT_EQ(SelectObject(c.Dc(), c.Dc()), nullptr) << "a DC is not selectable";
    EXPECT_EQ(FillRect(c.Dc(), &rc, reinterpret_cast<HBRUSH>(deadPen)), 0);
    EXPECT_FALSE(DeleteObject(deadPen));
    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_EQ(GetObject(deadPen, 0, nullptr), 0);
    EXPECT_EQ(CreateDCForSurface(PixelSurface{}, POINT{}, RECT{}), nullptr);
}

TEST(DeviceContext, TheObjectCountFollowsCreationAndDeletion) {
    GetStockObject(WHITE_BRUSH); // made once, then counted for good
    const std::size_t before = GdiObjectCount();
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GdiObjectCount(), before + 2);
    SelectObject(dc, brush);
    DeleteObject(brush); // still selected: the handle dies all the same
    DeleteDC(dc);
    EXPECT_EQ(GdiObjectCount(), before);
}

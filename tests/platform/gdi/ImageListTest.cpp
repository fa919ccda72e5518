// Image lists and the framework's wrapper classes.
#include "platform/gdi/AfxGdi.h"
#include "tests/platform/gdi/GdiTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr COLORREF kBack = RGB(10, 20, 30);

// A strip of three 4x4 cells: cell i is colour RGB(50 * (i + 1), 0, 0) with
// key-coloured pixels on the diagonal.
HBITMAP MakeStrip() {
    std::vector<std::uint32_t> px(12 * 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 12; ++x) {
            const int cell = x / 4;
            const COLORREF c = (x % 4 == y) ? kKey : RGB(50 * (cell + 1), 0, 0);
            px[std::size_t(y * 12 + x)] = PixelFromColor(c);
        }
    return CreateBitmap(12, 4, 1, 32, px.data());
}

} // namespace

TEST(ImageList, TransparentDrawingLeavesMaskColourPixelsAlone) {
    HBITMAP strip = MakeStrip();
    HIMAGELIST list = ImageList_CreateFromBitmap(strip, 4, 0, kKey);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list), 3);
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
    EXPECT_EQ(cx, 4);
    EXPECT_EQ(cy, 4);
    IMAGEINFO info{};
    ASSERT_TRUE(ImageList_GetImageInfo(list, 2, &info));
    EXPECT_EQ(info.rcImage, (RECT{8, 0, 12, 4}));
    EXPECT_NE(info.hbmImage, nullptr);
    EXPECT_NE(info.hbmMask, nullptr);

    Canvas c(8, 8, kBack);
    ASSERT_TRUE(ImageList_Draw(list, 1, c.Dc(), 2, 3, ILD_TRANSPARENT));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const COLORREF expected = x == y ? kBack : RGB(100, 0, 0);
            EXPECT_EQ(c.At(2 + x, 3 + y), expected)
                << "cell pixel " << x << "," << y << ": expected " << Hex(expected) << ", got "
                << Hex(c.At(2 + x, 3 + y));
        }
    EXPECT_EQ(c.Bounds(kBack), (RECT{2, 3, 6, 7}));

    // With a background colour, ILD_NORMAL fills the masked pixels with it.
    ImageList_SetBkColor(list, RGB(0, 255, 0));
    ImageList_Draw(list, 0, c.Dc(), 0, 0, ILD_NORMAL);
    EXPECT_EQ(c.At(0, 0), RGB(0, 255, 0));
    EXPECT_EQ(c.At(1, 0), RGB(50, 0, 0));

    // Outside the list: nothing drawn, FALSE.
    c.Clear(kBack);
    EXPECT_FALSE(ImageList_Draw(list, 3, c.Dc(), 0, 0, ILD_TRANSPARENT));
    EXPECT_FALSE(ImageList_Draw(list, -1, c.Dc(), 0, 0, ILD_TRANSPARENT));
    EXPECT_TRUE(c.Touched(kBack).empty());
    EXPECT_FALSE(ImageList_GetImageInfo(list, 3, &info));

    ASSERT_TRUE(ImageList_Destroy(list));
    EXPECT_FALSE(ImageList_Draw(list, 0, c.Dc(), 0, 0, ILD_NORMAL)) << "a destroyed list";
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
    EXPECT_FALSE(ImageList_Destroy(list));
    DeleteObject(strip);
}

TEST(ImageList, GrowsWhenImagesAreAdded) {
    HIMAGELIST list = ImageList_Create(4, 4, ILC_COLOR32 | ILC_MASK, 1, 1);
    HBITMAP strip = MakeStrip();
    EXPECT_EQ(ImageList_AddMasked(list, strip, kKey), 0);
    EXPECT_EQ(ImageList_AddMasked(list, strip, kKey), 3);
    EXPECT_EQ(ImageList_GetImageCount(list), 6);
    Canvas c(4, 4, kBack);
    ImageList_Draw(list, 5, c.Dc(), 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(c.At(1, 0), RGB(150, 0, 0)) << "the second strip's last cell";
    EXPECT_EQ(c.At(0, 0), kBack);
    EXPECT_EQ(ImageList_AddMasked(list, nullptr, kKey), -1);
    ImageList_Destroy(list);
    DeleteObject(strip);
}

TEST(ImageList, ResourceBitmapsComeFromTheInstalledLoader) {
    CImageList none;
    SetResourceBitmapLoader(nullptr);
    EXPECT_FALSE(none.Create(214, 4, 0, kKey)) << "no loader installed";
    SetResourceBitmapLoader([](UINT id) { return id == 214 ? MakeStrip() : nullptr; });
    CImageList list;
    ASSERT_TRUE(list.Create(214, 4, 0, kKey));
    EXPECT_EQ(list.GetImageCount(), 3);
    CImageList missing;
    EXPECT_FALSE(missing.Create(215, 4, 0, kKey));
    CBitmap bitmap;
    EXPECT_TRUE(bitmap.LoadBitmap(214));
    CImageList fromBitmap;
    ASSERT_TRUE(fromBitmap.Create(&bitmap, 4, 0, kKey));
    EXPECT_EQ(GetObjectType(bitmap), OBJ_BITMAP) << "the bitmap stays the caller's";
    CDC* dc = nullptr;
    EXPECT_FALSE(fromBitmap.Draw(dc, 0, CPoint(0, 0), ILD_NORMAL));
    SetResourceBitmapLoader(nullptr);
}

TEST(AfxGdi, WrappersOwnTheirHandlesAndSelectionReturnsThePrevious) {
    Canvas c(10, 10);
    CDC* dc = CDC::FromHandle(c.Dc());
    ASSERT_NE(dc, nullptr);
    HPEN handle = nullptr;
    {
        CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
        handle = pen;
        CPen* old = dc->SelectObject(&pen);
        ASSERT_NE(old, nullptr);
        EXPECT_EQ(old->m_hObject, GetStockObject(BLACK_PEN));
        dc->MoveTo(0, 0);
        dc->LineTo(5, 0);
        EXPECT_EQ(c.At(4, 0), RGB(255, 0, 0));
        dc->SelectObject(old);
    }
    EXPECT_EQ(GetObjectType(handle), 0u) << "the pen went with its CPen";
    EXPECT_EQ(GetObjectType(GetStockObject(BLACK_PEN)), OBJ_PEN)
        << "the temporary wrapper did not delete the stock pen";

    CFont font;
    ASSERT_TRUE(font.CreatePointFont(80, "MS Shell Dlg"));
    LOGFONT lf{};
    font.GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, -10) << "8 points at 96 dpi, truncated";

    dc->FillSolidRect(1, 1, 3, 2, RGB(0, 0, 255));
    EXPECT_EQ(c.Bounds(), (RECT{0, 0, 5, 3}));
    EXPECT_EQ(c.At(3, 2), RGB(0, 0, 255));
    EXPECT_EQ(dc->GetBkColor(), RGB(0, 0, 255)) << "FillSolidRect leaves the background colour";

    c.Clear(RGB(255, 255, 255));
    dc->Draw3dRect(CRect(1, 1, 6, 5), RGB(1, 1, 1), RGB(2, 2, 2));
    EXPECT_EQ(c.At(1, 1), RGB(1, 1, 1));
    EXPECT_EQ(c.At(4, 1), RGB(1, 1, 1));
    EXPECT_EQ(c.At(5, 1), RGB(2, 2, 2)) << "top-right corner is bottom-right's";
    EXPECT_EQ(c.At(1, 4), RGB(2, 2, 2)) << "bottom-left corner is bottom-right's";
    EXPECT_EQ(c.At(3, 3), RGB(255, 255, 255));

    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(dc));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(dc, 4, 4));
    CBitmap* oldBitmap = memory.SelectObject(&bitmap);
    ASSERT_NE(oldBitmap, nullptr);
    EXPECT_EQ(memory.GetDeviceCaps(BITSPIXEL), 32);
    memory.SelectObject(oldBitmap);
    CGdiObject* oldFont = dc->SelectStockObject(DEFAULT_GUI_FONT);
    EXPECT_NE(oldFont, nullptr);
    EXPECT_GT(dc->GetTextExtent("abc").cx, 0);
}

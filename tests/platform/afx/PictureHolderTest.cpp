// Picture properties: drawing into a rectangle, extent, ownership, and the
// round trip through a property bag.
#include "platform/afx/PictureHolder.h"
#include "platform/afx/JsonPropertyBag.h"

#include <gtest/gtest.h>

namespace {

// A bitmap of w x h: left half red, right half blue.
HBITMAP TwoColourBitmap(int w, int h) {
    HBITMAP bitmap = CreateBitmap(w, h, 1, 32, nullptr);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, bitmap);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    const RECT left{0, 0, w / 2, h}, right{w / 2, 0, w, h};
    FillRect(mem, &left, red);
    FillRect(mem, &right, blue);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(red);
    DeleteObject(blue);
    return bitmap;
}

// A canvas to render into, white at the start.
struct Canvas {
    Canvas() {
        dc.Attach(CreateCompatibleDC(nullptr));
        bitmap = CreateBitmap(64, 64, 1, 32, nullptr);
        old = SelectObject(dc, bitmap);
        const RECT all{0, 0, 64, 64};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        ::DeleteDC(dc.Detach());
    }
    COLORREF At(int x, int y) { return GetPixel(dc, x, y); }
    CDC dc;
    HBITMAP bitmap{nullptr};
    HGDIOBJ old{nullptr};
};

HICON SquareIcon(int side, COLORREF colour) {
    HBITMAP image = CreateBitmap(side, side, 1, 32, nullptr);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, image);
    HBRUSH brush = CreateSolidBrush(colour);
    const RECT all{0, 0, side, side};
    FillRect(mem, &all, brush);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(brush);
    ICONINFO info;
    info.hbmColor = image;
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(image);
    return icon;
}

} // namespace

TEST(PictureHolderTest, BitmapIsStretchedIntoTheRenderRectangle) {
    CPictureHolder picture;
    EXPECT_EQ(picture.GetType(), PICTYPE_NONE);
    ASSERT_TRUE(picture.CreateFromBitmap(TwoColourBitmap(8, 4), TRUE));
    EXPECT_EQ(picture.GetType(), PICTYPE_BITMAP);
    OLE_XSIZE_HIMETRIC cx = 0;
    OLE_YSIZE_HIMETRIC cy = 0;
    EXPECT_TRUE(picture.GetHimetricExtent(&cx, &cy));
    EXPECT_EQ(cx, 212) << "8 pixels at 96 per inch";
    EXPECT_EQ(cy, 106);
    EXPECT_EQ(PixelsFromHimetric(cx), 8);

    Canvas canvas;
    picture.Render(&canvas.dc, CRect(10, 10, 42, 26), CRect());
    EXPECT_EQ(canvas.At(10, 10), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(25, 25), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(26, 10), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(41, 25), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(42, 10), RGB(255, 255, 255)) << "right edge exclusive";
    EXPECT_EQ(canvas.At(10, 26), RGB(255, 255, 255)) << "bottom edge exclusive";
    EXPECT_EQ(canvas.At(9, 9), RGB(255, 255, 255));
}

TEST(PictureHolderTest, IconsAreDrawnAndDestroyedWhenOwned) {
    HICON owned = SquareIcon(16, RGB(0, 128, 0));
    HICON kept = SquareIcon(16, RGB(0, 0, 128));
    {
        CPictureHolder a, b;
        ASSERT_TRUE(a.CreateFromIcon(owned, TRUE));
        ASSERT_TRUE(b.CreateFromIcon(kept, FALSE));
        EXPECT_EQ(a.GetType(), PICTYPE_ICON);
        EXPECT_EQ(a.GetPixelSize(), CSize(16, 16));
        Canvas canvas;
        a.Render(&canvas.dc, CRect(0, 0, 32, 32), CRect());
        EXPECT_EQ(canvas.At(31, 31), RGB(0, 128, 0)) << "stretched to the rectangle";
        EXPECT_FALSE(a.CreateFromIcon(nullptr)) << "no icon, no change";
        EXPECT_EQ(a.GetIcon(), owned);
    }
    EXPECT_FALSE(DestroyIcon(owned)) << "the holder destroyed the icon it owned";
    EXPECT_TRUE(DestroyIcon(kept)) << "the other stays the caller's";
}

TEST(PictureHolderTest, PicturesRoundTripThroughAPropertyBag) {
    CPictureHolder bitmap, icon, empty;
    bitmap.CreateFromBitmap(TwoColourBitmap(6, 3), TRUE);
    icon.CreateFromIcon(SquareIcon(4, RGB(10, 20, 30)), TRUE);

    CJsonPropertyBag bag;
    CPropExchange save = CPropExchange::ForSave(&bag, false);
    EXPECT_TRUE(PX_Picture(&save, "Static Picture", bitmap, empty));
    EXPECT_TRUE(PX_Picture(&save, "Icon", icon));
    EXPECT_TRUE(PX_Picture(&save, "Nothing", empty, empty));
    EXPECT_TRUE(bag.Values().contains("Static Picture"));
    EXPECT_FALSE(bag.Values().contains("Nothing")) << "a default value is not saved";

    CPictureHolder loadedBitmap, loadedIcon, untouched, defaulted;
    untouched.CreateFromBitmap(TwoColourBitmap(2, 2), TRUE);
    defaulted.CreateFromBitmap(TwoColourBitmap(2, 2), TRUE);
    CPropExchange load = CPropExchange::ForLoad(&bag);
    EXPECT_TRUE(PX_Picture(&load, "Static Picture", loadedBitmap));
    EXPECT_TRUE(PX_Picture(&load, "Icon", loadedIcon));
    EXPECT_TRUE(PX_Picture(&load, "Missing", untouched));
    EXPECT_TRUE(PX_Picture(&load, "Missing", defaulted, empty));
    EXPECT_EQ(loadedBitmap.GetType(), PICTYPE_BITMAP);
    EXPECT_EQ(loadedBitmap.GetPixelSize(), CSize(6, 3));
    EXPECT_EQ(loadedIcon.GetType(), PICTYPE_ICON);
    EXPECT_EQ(untouched.GetType(), PICTYPE_BITMAP) << "no default: left alone";
    EXPECT_EQ(defaulted.GetType(), PICTYPE_NONE) << "the default";
    Canvas canvas;
    loadedBitmap.Render(&canvas.dc, CRect(0, 0, 6, 3), CRect());
    EXPECT_EQ(canvas.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(5, 2), RGB(0, 0, 255));
    loadedIcon.Render(&canvas.dc, CRect(0, 0, 4, 4), CRect());
    EXPECT_EQ(canvas.At(3, 3), RGB(10, 20, 30));

    // Damaged values: the default with one, nothing changes without.
    for (const char* damaged : {"bitmap:@@@@", "bitmap:QUJD", "icon:", "jpeg:AAAA"}) {
        CJsonPropertyBag broken(nlohmann::json{{"P", damaged}});
        CPictureHolder withDefault, without;
        withDefault.CreateFromBitmap(TwoColourBitmap(2, 2), TRUE);
        without.CreateFromBitmap(TwoColourBitmap(2, 2), TRUE);
        CPropExchange px = CPropExchange::ForLoad(&broken);
        EXPECT_TRUE(PX_Picture(&px, "P", withDefault, empty));
        EXPECT_TRUE(PX_Picture(&px, "P", without));
        EXPECT_EQ(withDefault.GetType(), PICTYPE_NONE) << damaged;
        EXPECT_EQ(without.GetType(), PICTYPE_BITMAP) << damaged;
    }

    CPropExchange reset = CPropExchange::ForReset();
    EXPECT_TRUE(PX_Picture(&reset, "Static Picture", loadedBitmap, empty));
    EXPECT_EQ(loadedBitmap.GetType(), PICTYPE_NONE);
}

namespace {

CComVariant ReadPictureProperty(IDispatch* picture, const char* name) {
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(picture->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK) << name;
    DISPPARAMS none{};
    CComVariant value;
    EXPECT_EQ(picture->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr,
                              nullptr),
              S_OK)
        << name;
    return value;
}

} // namespace

TEST(PictureHolderTest, APictureObjectCarriesThePictureToAnotherHolder) {
    CPictureHolder source;
    ASSERT_TRUE(source.CreateFromBitmap(TwoColourBitmap(48, 24), TRUE));
    IDispatch* object = source.GetPictureDispatch();
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(ReadPictureProperty(object, "Type").iVal, PICTYPE_BITMAP);
    EXPECT_EQ(ReadPictureProperty(object, "Width").lVal, 1270) << "48 pixels in HIMETRIC";
    EXPECT_EQ(ReadPictureProperty(object, "Height").lVal, 635);

    CPictureHolder target;
    ASSERT_TRUE(target.SetPictureDispatch(object));
    EXPECT_EQ(target.GetType(), PICTYPE_BITMAP);
    EXPECT_EQ(target.ToString(), source.ToString());
    // A snapshot: the source may change or go, the object keeps its picture.
    source.CreateEmpty();
    CPictureHolder later;
    ASSERT_TRUE(later.SetPictureDispatch(object));
    EXPECT_EQ(later.GetPixelSize(), CSize(48, 24));
    object->Release();

    // Null empties, and so does an empty picture.
    ASSERT_TRUE(target.SetPictureDispatch(nullptr));
    EXPECT_EQ(target.GetType(), PICTYPE_NONE);
    CPictureHolder empty;
    IDispatch* none = empty.GetPictureDispatch();
    ASSERT_TRUE(later.SetPictureDispatch(none));
    EXPECT_EQ(later.GetType(), PICTYPE_NONE);
    none->Release();
}

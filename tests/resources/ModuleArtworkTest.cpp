// The module icon and the toolbox bitmaps: the icon file the generator
// writes, the compiler's check of icon files, and reading an icon back.
#include "platform/gdi/BmpReader.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/user/Icon.h"
#include "resources/ResourceTables.h"
#include "resources/compiler/RcEmitter.h"
#include "resources/generators/ToolboxArtwork.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

std::span<const std::uint8_t> Bytes(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// The icon drawn over a plain ground, as 0x00BBGGRR pixels read back.
COLORREF PixelOfIconOver(HICON icon, COLORREF ground, int x, int y) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP target = CreateBitmap(32, 32, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, target);
    HBRUSH brush = CreateSolidBrush(ground);
    RECT rc{0, 0, 32, 32};
    FillRect(dc, &rc, brush);
    DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    const COLORREF pixel = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteObject(brush);
    DeleteObject(target);
    DeleteDC(dc);
    return pixel;
}

} // namespace

TEST(ModuleIcon, TheIconFileReadsBackWithItsTransparentCorners) {
    const kw::bitmaps::Picture16 picture = kw::bitmaps::MakeModuleIcon();
    const std::string file = picture.EncodeIco(kw::bitmaps::kModuleIconTransparent);
    std::string error;
    ASSERT_TRUE(kw::rc::CheckIconFile(file, &error)) << error;
    HICON icon = kw::user::CreateIconFromIconFile(Bytes(file));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(kw::user::IconSize(icon).cx, 32);
    EXPECT_EQ(kw::user::IconSize(icon).cy, 32);
    // A corner is transparent: the ground shows through, whatever it is.
    ASSERT_EQ(picture.Get(0, 0), kw::bitmaps::kModuleIconTransparent);
    EXPECT_EQ(PixelOfIconOver(icon, RGB(10, 200, 30), 0, 0), RGB(10, 200, 30));
    EXPECT_EQ(PixelOfIconOver(icon, RGB(250, 0, 0), 0, 0), RGB(250, 0, 0));
    // The plate is opaque light grey on every ground.
    ASSERT_EQ(picture.Get(2, 26), kw::bitmaps::LightGrey);
    EXPECT_EQ(PixelOfIconOver(icon, RGB(10, 200, 30), 2, 26), RGB(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(PixelOfIconOver(icon, RGB(0, 0, 0), 2, 26), RGB(0xC0, 0xC0, 0xC0));
    DestroyIcon(icon);
}

TEST(ModuleIcon, MalformedIconFilesAreRefusedByTheCompilerAndTheReader) {
    const std::string good =
        kw::bitmaps::MakeModuleIcon().EncodeIco(kw::bitmaps::kModuleIconTransparent);
    std::string outside = good;
    outside[6 + 12] = char(0xF0); // the image's offset past the end
    std::string notDib = good;
    notDib[22] = 12; // a core header, not a packed bitmap
    std::string hugeCount = good;
    hugeCount[4] = char(0xFF);
    hugeCount[5] = char(0xFF);
    const struct {
        std::string bytes;
        const char* message;
    } cases[] = {
        {"", "not an icon file"},
        {"BM\x00\x00\x00\x00", "not an icon file"},
        {std::string("\0\0\1\0\0\0", 6), "without images"},
        {good.substr(0, 12), "cut short"},
        {hugeCount, "cut short"},
        {outside, "outside the file"},
        {notDib, "not a packed bitmap"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(kw::rc::CheckIconFile(c.bytes, &error));
        EXPECT_NE(error.find(c.message), std::string::npos)
            << "expected \"" << c.message << "\", got \"" << error << "\"";
        EXPECT_EQ(kw::user::CreateIconFromIconFile(Bytes(c.bytes)), nullptr) << c.message;
    }
    // Every cut of the file is refused without reading past it (ASan watches).
    for (std::size_t size = 0; size < good.size(); size += 7)
        EXPECT_EQ(kw::user::CreateIconFromIconFile(Bytes(good.substr(0, size))), nullptr) << size;
}

TEST(ModuleIcon, TheCompiledModuleHoldsIconOne) {
    CModuleResources resources{&resources, kw::resources::StringTable(),
                               kw::resources::DialogTemplates(), kw::resources::Icons()};
    HICON icon = resources.LoadIcon(1);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(kw::user::IconSize(icon).cx, 32);
    DestroyIcon(icon);
    EXPECT_EQ(resources.LoadIcon(2), nullptr);
}

TEST(ToolboxBitmaps, EveryControlHasASixteenByFifteenBitmapUnderItsId) {
    // The toolbox bitmap ids of the fourteen controls.
    const std::set<UINT> expected{11, 12, 13, 14, 15, 16, 17, 222, 223, 224, 226, 230, 233, 1};
    std::set<UINT> found;
    for (const BitmapResource& b : kw::resources::Bitmaps()) {
        if (!expected.count(b.id))
            continue;
        found.insert(b.id);
        auto image = ReadBmp(b.bytes);
        ASSERT_TRUE(image) << b.id;
        EXPECT_EQ(image->width, 16) << b.id;
        EXPECT_EQ(image->height, 15) << b.id;
    }
    EXPECT_EQ(found, expected);
    // No two controls look the same in the palette.
    std::set<std::string> looks;
    for (const auto& tool : kw::bitmaps::MakeToolboxBitmaps())
        looks.insert(tool.picture.EncodeBmp());
    EXPECT_EQ(looks.size(), expected.size());
}

// The icons of files: icon files with several sizes, pictures, programs
// through their desktop entries and the icon theme, the stock set, and
// files that give nothing.
#include "platform/shell/ShellIcons.h"
#include "platform/gdi/BmpReader.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/ImageList.h"
#include "platform/gdi/PngWriter.h"
#include "platform/shell/ImageFiles.h"
#include "platform/user/Paint.h"
#include "tests/platform/shell/ArgvRecord.h"
#include "tests/platform/shell/IconFilesTest.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

namespace fs = std::filesystem;
using shell_test::IcoImage;
using shell_test::MakeIco;
using shell_test::TempDir;

void Write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// The colour the icon shows at (x, y) over white, and its size.
std::uint32_t IconPixel(HICON icon, int x, int y) {
    const SIZE size = kw::user::IconSize(icon);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size.cx, size.cy);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, size.cx, size.cy};
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(dc, &all, white);
    DeleteObject(white);
    DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    const COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

struct Extracted {
    UINT count{0};
    HICON large{nullptr};
    HICON small{nullptr};
    ~Extracted() {
        if (large)
            DestroyIcon(large);
        if (small)
            DestroyIcon(small);
    }
};

std::unique_ptr<Extracted> Extract(const std::string& file, int index) {
    auto out = std::make_unique<Extracted>();
    out->count = ExtractIconExA(file.c_str(), index, &out->large, &out->small, 1);
    return out;
}

class ShellIconsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("XDG_DATA_HOME", (m_data.Path() / "home").c_str(), 1);
        ::setenv("XDG_DATA_DIRS", (m_data.Path() / "system").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("XDG_DATA_DIRS");
        SetResourceBitmapLoader({});
    }
    TempDir m_data;
};

} // namespace

TEST_F(ShellIconsTest, AnIconFileGivesItsLargeAndSmallImagesIndexByIndex) {
    const fs::path file = m_data.Path() / "tool.ico";
    Write(file, MakeIco({{16, 0x00FF00}, {32, 0xFF0000}, {48, 0x0000FF}}));
    EXPECT_EQ(ExtractIconExA(file.c_str(), -1, nullptr, nullptr, 0), 2u) << "32 and 48 are large";
    auto first = Extract(file.string(), 0);
    EXPECT_EQ(first->count, 2u);
    ASSERT_TRUE(first->large && first->small);
    EXPECT_EQ(kw::user::IconSize(first->large).cx, 32);
    EXPECT_EQ(kw::user::IconSize(first->small).cx, 16);
    EXPECT_EQ(IconPixel(first->large, 10, 10), 0xFF0000u);
    EXPECT_EQ(IconPixel(first->small, 10, 10), 0x00FF00u);
    EXPECT_EQ(IconPixel(first->small, 0, 0), 0xFFFFFFu) << "the masked pixel is transparent";
    auto second = Extract(file.string(), 1);
    EXPECT_EQ(second->count, 1u);
    EXPECT_FALSE(second->small);
    ASSERT_TRUE(second->large);
    EXPECT_EQ(kw::user::IconSize(second->large).cx, 32) << "48 brought to 32";
    EXPECT_EQ(IconPixel(second->large, 10, 10), 0x0000FFu);
    EXPECT_EQ(Extract(file.string(), 2)->count, 0u);
}

TEST_F(ShellIconsTest, APngOrXpmPictureIsIconZeroAtBothSizes) {
    SurfaceBuffer picture(24, 24, 0x336699);
    const std::vector<std::uint8_t> png = EncodePng(picture.View());
    const fs::path pngFile = m_data.Path() / "wizard.png";
    Write(pngFile, std::string(png.begin(), png.end()));
    auto fromPng = Extract(pngFile.string(), 0);
    ASSERT_TRUE(fromPng->large && fromPng->small);
    EXPECT_EQ(IconPixel(fromPng->large, 5, 5), 0x336699u);
    EXPECT_EQ(Extract(pngFile.string(), 1)->count, 0u);

    const fs::path xpmFile = m_data.Path() / "probe.xpm";
    Write(xpmFile, "/* XPM */\nstatic char *p[] = {\n\"4 2 2 1\",\n\". c None\",\n"
                   "\"# c #FF8000\",\n\"#..#\",\n\"####\"};\n");
    auto fromXpm = Extract(xpmFile.string(), 0);
    ASSERT_TRUE(fromXpm->large);
    EXPECT_EQ(IconPixel(fromXpm->large, 0, 0), 0xFF8000u);
    EXPECT_EQ(IconPixel(fromXpm->large, 12, 0), 0xFFFFFFu) << "None is transparent";
}

TEST_F(ShellIconsTest, AProgramShowsTheIconItsDesktopEntryNames) {
    const fs::path program = m_data.Path() / "bin" / "camtool";
    Write(program, "#!/bin/sh\n");
    Write(m_data.Path() / "system/applications/cam.desktop",
          "[Desktop Entry]\nName=CAM\nExec=camtool --open %f\nIcon=cam-tool\n");
    Write(m_data.Path() / "system/icons/hicolor/32x32/apps/cam-tool.xpm",
          "\"1 1 1 1\",\"x c #102030\",\"x\"");
    Write(m_data.Path() / "system/icons/hicolor/16x16/apps/cam-tool.xpm",
          "\"1 1 1 1\",\"x c #405060\",\"x\"");
    auto icons = Extract(program.string(), 0);
    ASSERT_TRUE(icons->large && icons->small);
    EXPECT_EQ(IconPixel(icons->large, 3, 3), 0x102030u);
    EXPECT_EQ(IconPixel(icons->small, 3, 3), 0x405060u);
    EXPECT_EQ(Extract(program.string(), 1)->count, 0u) << "a program has icon 0 only";
    // An entry under the user's folder naming the program by its path wins
    // a search that starts there.
    Write(m_data.Path() / "home/applications/mine.desktop",
          "[Desktop Entry]\nTryExec=" + program.string() +
              "\nIcon=" + (m_data.Path() / "own.xpm").string() + "\n");
    Write(m_data.Path() / "own.xpm", "\"1 1 1 1\",\"x c #00AA00\",\"x\"");
    EXPECT_EQ(IconPixel(Extract(program.string(), 0)->large, 1, 1), 0x00AA00u);
}

TEST_F(ShellIconsTest, FilesWithoutIconsGiveNothing) {
    const fs::path text = m_data.Path() / "notes.txt";
    Write(text, "hello");
    for (const std::string& file : {text.string(), std::string("/nonexistent/prog"),
                                    std::string(""), m_data.Path().string()}) {
        auto icons = Extract(file, 0);
        EXPECT_EQ(icons->count, 0u) << file;
        EXPECT_FALSE(icons->large);
        EXPECT_FALSE(icons->small);
    }
    const fs::path broken = m_data.Path() / "broken.ico";
    std::string ico = MakeIco({{32, 0xFF0000}});
    ico.resize(ico.size() / 2);
    Write(broken, ico);
    EXPECT_EQ(Extract(broken.string(), 0)->count, 0u);
}

TEST_F(ShellIconsTest, TheStockSetAnswersToItsLibraryName) {
    const fs::path bitmaps = KW_BITMAP_DIR;
    SetResourceBitmapLoader([bitmaps](UINT id) -> HBITMAP {
        const auto image =
            ReadBmpFile((bitmaps / ("stockicons" + std::to_string(id) + ".bmp")).string());
        return image ? CreateBitmapFromImage(*image) : nullptr;
    });
    const UINT count = ExtractIconExA("pifmgr.dll", -1, nullptr, nullptr, 0);
    EXPECT_GE(count, 12u);
    for (const char* name : {"pifmgr.dll", "PIFMGR.DLL", "/x/PifMgr.dll"}) {
        auto icons = Extract(name, 3);
        EXPECT_TRUE(icons->large && icons->small) << name;
    }
    auto folder = Extract("pifmgr.dll", 3);
    EXPECT_EQ(kw::user::IconSize(folder->large).cx, 32);
    EXPECT_EQ(kw::user::IconSize(folder->small).cx, 16);
    EXPECT_EQ(IconPixel(folder->large, 0, 0), 0xFFFFFFu) << "magenta is transparent";
    EXPECT_EQ(Extract("pifmgr.dll", int(count))->count, 0u);
    EXPECT_EQ(Extract("pifmgr.dll", -2)->count, 0u);
}

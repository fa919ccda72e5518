// The icons of files: icon files, pictures, programs through their desktop
// entries and the icon theme, and the stock icon set.
//
// [SECTION] Helpers
// [SECTION] The stock icon set
// [SECTION] Desktop entries and the icon theme
// [SECTION] ExtractIconExA
#include "platform/shell/ShellIcons.h"

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/ImageList.h"
#include "platform/shell/ImageFiles.h"
#include "platform/user/Paint.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

namespace fs = std::filesystem;

namespace kw::shell {

namespace {

// [SECTION] Helpers

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::string Extension(const std::string& path) {
    return Lower(fs::path(path).extension().string());
}

std::string BaseName(const std::string& path) {
    return fs::path(path).filename().string();
}

// One picture file (PNG or XPM) as an image.
std::optional<RgbaImage> ReadPictureImage(const std::string& path) {
    const std::string ext = Extension(path);
    const auto bytes = ReadWholeFile(path);
    if (!bytes)
        return std::nullopt;
    if (ext == ".png")
        return ReadPngImage(*bytes);
    if (ext == ".xpm")
        return ReadXpmImage(
            std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    if (ext == ".ico") {
        std::vector<RgbaImage> images = ReadIcoImages(*bytes);
        if (!images.empty())
            return std::move(images.front());
    }
    return std::nullopt;
}

// [SECTION] The stock icon set

// A strip bitmap as an image; magenta is transparent.
std::optional<RgbaImage> StripImage(UINT id) {
    const HBITMAP strip = LoadResourceBitmap(id);
    if (!strip)
        return std::nullopt;
    BITMAP bm{};
    std::optional<RgbaImage> out;
    if (GetObject(strip, sizeof bm, &bm) && bm.bmWidth > 0 && bm.bmHeight > 0) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = bm.bmWidth;
        info.bmiHeader.biHeight = -bm.bmHeight; // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        RgbaImage image{int(bm.bmWidth), int(bm.bmHeight),
                        std::vector<std::uint32_t>(std::size_t(bm.bmWidth) * bm.bmHeight)};
        const HDC screen = GetDC(nullptr);
        const int lines = GetDIBits(screen, strip, 0, UINT(bm.bmHeight), image.pixels.data(), &info,
                                    DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        if (lines > 0) {
            for (std::uint32_t& p : image.pixels)
                p = (p & 0xFFFFFF) == 0xFF00FF ? 0 : (0xFF000000u | (p & 0xFFFFFF));
            out = std::move(image);
        }
    }
    DeleteObject(strip);
    return out;
}

int StockIconCount() {
    const std::optional<RgbaImage> strip = StripImage(kStockIconStripLarge);
    return strip ? strip->width / kStockIconLarge : 0;
}

HICON StockIcon(UINT stripId, int size, int index) {
    const std::optional<RgbaImage> strip = StripImage(stripId);
    if (!strip || index < 0 || strip->height < size || (index + 1) * size > strip->width)
        return nullptr;
    RgbaImage cell{size, size, std::vector<std::uint32_t>(std::size_t(size) * size)};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            cell.pixels[std::size_t(y) * size + x] = strip->At(index * size + x, y);
    return CreateIconFromImage(cell);
}

// [SECTION] Desktop entries and the icon theme

std::vector<fs::path> DataDirs() {
    std::vector<fs::path> dirs;
    const char* home = std::getenv("XDG_DATA_HOME");
    if (home && *home)
        dirs.emplace_back(home);
    else if (const char* user = std::getenv("HOME"); user && *user)
        dirs.push_back(fs::path(user) / ".local/share");
    std::string list = std::getenv("XDG_DATA_DIRS") ? std::getenv("XDG_DATA_DIRS") : "";
    if (list.empty())
        list = "/usr/local/share:/usr/share";
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(':', start), list.size());
        if (end > start)
            dirs.emplace_back(list.substr(start, end - start));
        start = end + 1;
    }
    return dirs;
}

// The program a desktop entry's Exec or TryExec value names: its first word,
// which the entry may quote.
std::string FirstWord(const std::string& value) {
    if (!value.empty() && value[0] == '"') {
        std::string word;
        for (std::size_t i = 1; i < value.size() && value[i] != '"'; ++i) {
            if (value[i] == '\\' && i + 1 < value.size())
                ++i;
            word += value[i];
        }
        return word;
    }
    return value.substr(0, value.find_first_of(" \t"));
}

bool NamesProgram(const std::string& word, const std::string& program) {
    if (word.empty())
        return false;
    if (word == program)
        return true;
    return word.find('/') == std::string::npos && word == BaseName(program);
}

// Exec, TryExec and Icon of the [Desktop Entry] group.
struct DesktopEntry {
    std::string exec, tryExec, icon;
};

DesktopEntry ReadDesktopEntry(const fs::path& file) {
    DesktopEntry entry;
    std::ifstream in(file);
    std::string line;
    bool inGroup = false;
    int lines = 0;
    while (std::getline(in, line) && ++lines < 10000) {
        if (!line.empty() && line[0] == '[') {
            inGroup = line.starts_with("[Desktop Entry]");
            continue;
        }
        if (!inGroup)
            continue;
        auto value = [&](const char* key) -> std::optional<std::string> {
            const std::string k = std::string(key) + "=";
            if (!line.starts_with(k))
                return std::nullopt;
            return line.substr(k.size());
        };
        if (auto v = value("Exec"))
            entry.exec = *v;
        else if (auto v2 = value("TryExec"))
            entry.tryExec = *v2;
        else if (auto v3 = value("Icon"))
            entry.icon = *v3;
    }
    return entry;
}

std::optional<RgbaImage> ThemeImage(const std::string& name, int size) {
    const std::vector<int> sizes = [&] {
        std::vector<int> all{16, 22, 24, 32, 48, 64, 128, 256};
        // The size asked for, then larger ones (scaled down), then smaller.
        std::stable_sort(all.begin(), all.end(), [&](int a, int b) {
            auto rank = [&](int s) { return s == size ? 0 : s > size ? s : 1000 - s; };
            return rank(a) < rank(b);
        });
        return all;
    }();
    for (int s : sizes) {
        const std::string folder = std::to_string(s) + "x" + std::to_string(s);
        for (const fs::path& dir : DataDirs()) {
            const fs::path sized = dir / "icons/hicolor" / folder;
            std::error_code ec;
            if (!fs::is_directory(sized, ec))
                continue;
            for (const auto& context : fs::directory_iterator(sized, ec)) {
                for (const char* ext : {".png", ".xpm"}) {
                    const fs::path file = context.path() / (name + ext);
                    if (fs::is_regular_file(file, ec))
                        if (auto image = ReadPictureImage(file.string()))
                            return image;
                }
            }
        }
    }
    for (const fs::path& dir : DataDirs())
        for (const char* ext : {".png", ".xpm"}) {
            const fs::path file = dir / "pixmaps" / (name + ext);
            std::error_code ec;
            if (fs::is_regular_file(file, ec))
                if (auto image = ReadPictureImage(file.string()))
                    return image;
        }
    return std::nullopt;
}

} // namespace

std::string DesktopEntryIcon(const std::string& program) {
    for (const fs::path& dir : DataDirs()) {
        std::error_code ec;
        const fs::path apps = dir / "applications";
        if (!fs::is_directory(apps, ec))
            continue;
        for (auto it = fs::recursive_directory_iterator(apps, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            if (it->path().extension() != ".desktop")
                continue;
            const DesktopEntry entry = ReadDesktopEntry(it->path());
            if (entry.icon.empty())
                continue;
            if (NamesProgram(FirstWord(entry.exec), program) ||
                NamesProgram(FirstWord(entry.tryExec), program))
                return entry.icon;
        }
    }
    return {};
}

HICON LoadThemeIcon(const std::string& name, int size) {
    if (name.empty())
        return nullptr;
    std::optional<RgbaImage> image;
    if (name[0] == '/')
        image = ReadPictureImage(name);
    else if (name.find('/') == std::string::npos)
        image = ThemeImage(name, size);
    if (!image)
        return nullptr;
    return CreateIconFromImage(ScaleImage(*image, size, size));
}

namespace {

// [SECTION] ExtractIconExA

struct IconPair {
    HICON large{nullptr};
    HICON small{nullptr};
};

// Icon `index` of a file and the number of icons the file holds.
IconPair FileIcon(const std::string& file, int index, int* count) {
    IconPair pair;
    *count = 0;
    if (Lower(BaseName(file)) == kStockIconLibrary) {
        *count = StockIconCount();
        if (index >= 0) {
            pair.large = StockIcon(kStockIconStripLarge, kStockIconLarge, index);
            pair.small = StockIcon(kStockIconStripSmall, kStockIconSmall, index);
        }
        return pair;
    }
    std::error_code ec;
    if (file.empty() || !fs::is_regular_file(file, ec))
        return pair;
    const std::string ext = Extension(file);
    if (ext == ".ico") {
        const auto bytes = ReadWholeFile(file);
        if (!bytes)
            return pair;
        std::vector<const RgbaImage*> large, small;
        const std::vector<RgbaImage> images = ReadIcoImages(*bytes);
        for (const RgbaImage& image : images)
            (image.width > kStockIconSmall ? large : small).push_back(&image);
        *count = int(std::max(large.size(), small.size()));
        if (index >= 0 && std::size_t(index) < large.size())
            pair.large = CreateIconFromImage(
                ScaleImage(*large[std::size_t(index)], kStockIconLarge, kStockIconLarge));
        if (index >= 0 && std::size_t(index) < small.size())
            pair.small = CreateIconFromImage(
                ScaleImage(*small[std::size_t(index)], kStockIconSmall, kStockIconSmall));
        return pair;
    }
    if (ext == ".png" || ext == ".xpm") {
        const std::optional<RgbaImage> image = ReadPictureImage(file);
        if (!image)
            return pair;
        *count = 1;
        if (index == 0) {
            pair.large = CreateIconFromImage(ScaleImage(*image, kStockIconLarge, kStockIconLarge));
            pair.small = CreateIconFromImage(ScaleImage(*image, kStockIconSmall, kStockIconSmall));
        }
        return pair;
    }
    const std::string icon = DesktopEntryIcon(file);
    if (icon.empty())
        return pair;
    pair.large = LoadThemeIcon(icon, kStockIconLarge);
    pair.small = LoadThemeIcon(icon, kStockIconSmall);
    *count = pair.large || pair.small ? 1 : 0;
    if (index != 0) {
        if (pair.large)
            DestroyIcon(pair.large);
        if (pair.small)
            DestroyIcon(pair.small);
        pair = IconPair{};
    }
    return pair;
}

} // namespace

} // namespace kw::shell

UINT ExtractIconExA(const char* file, int iconIndex, HICON* large, HICON* small, UINT icons) {
    const std::string path = file ? file : "";
    int count = 0;
    if (iconIndex == -1 && !large && !small) {
        kw::shell::FileIcon(path, -1, &count);
        return UINT(count);
    }
    UINT given = 0;
    for (UINT i = 0; i < icons; ++i) {
        const int index = iconIndex + int(i);
        kw::shell::IconPair pair = kw::shell::FileIcon(path, index, &count);
        if (large)
            large[i] = pair.large;
        else if (pair.large)
            DestroyIcon(pair.large);
        if (small)
            small[i] = pair.small;
        else if (pair.small)
            DestroyIcon(pair.small);
        given += (large && pair.large ? 1 : 0) + (small && pair.small ? 1 : 0);
    }
    return given;
}

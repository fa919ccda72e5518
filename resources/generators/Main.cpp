// kwbmpgen: draws the module's bitmaps, the same bytes on every run.
//   kwbmpgen FOLDER      writes every bitmap into FOLDER (led141.bmp, ...)
#include "resources/generators/LedStrip.h"
#include "resources/generators/StockIcons.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

bool WriteIfChanged(const std::filesystem::path& path, const std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    std::string existing((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in && existing == bytes)
        return true;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kwbmpgen FOLDER\n");
        return 2;
    }
    std::filesystem::path folder = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!WriteIfChanged(folder / "led141.bmp", kw::bitmaps::MakeLedStrip().EncodeBmp()) ||
        !WriteIfChanged(folder / "stockicons900.bmp",
                        kw::bitmaps::MakeStockIconStrip(32).EncodeBmp()) ||
        !WriteIfChanged(folder / "stockicons901.bmp",
                        kw::bitmaps::MakeStockIconStrip(16).EncodeBmp())) {
        std::fprintf(stderr, "kwbmpgen: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}

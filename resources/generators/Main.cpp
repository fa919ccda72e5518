// kwbmpgen: draws the module's bitmaps, the same bytes on every run.
//   kwbmpgen FOLDER      writes every bitmap into FOLDER (led141.bmp, pos225.bmp, ...)
#include "resources/generators/DigitStrip.h"
#include "resources/generators/LedStrip.h"
#include "resources/generators/PolarityStrip.h"
#include "resources/generators/PosLayouts.h"
#include "resources/generators/SpinEditLayout.h"
#include "resources/generators/StockIcons.h"
#include "resources/generators/SwitchStrip.h"
#include "resources/generators/ToolboxArtwork.h"
#include "resources/generators/ViewStrips.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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

namespace {

struct Output {
    std::string file;
    std::string bytes;
};

// Every bitmap and icon of the module, with the file the resource script names.
std::vector<Output> Bitmaps() {
    using namespace kw::bitmaps;
    std::vector<Output> out;
    out.push_back({"led141.bmp", MakeLedStrip().EncodeBmp()});
    for (const auto& strip : DigitStripFiles())
        out.push_back({strip.file, MakeDigitStrip(strip.size, strip.look).EncodeBmp()});
    for (int layout = 0; layout < kPosLayouts; ++layout)
        out.push_back({kPosLayoutFiles[layout], MakePosLayout(layout).EncodeBmp()});
    out.push_back({"views214.bmp", MakeIsometricStrip().EncodeBmp()});
    out.push_back({"faces221.bmp", MakeFaceStrip().EncodeBmp()});
    out.push_back({"switch142.bmp", MakeSwitchStrip().EncodeBmp()});
    out.push_back({"polnarrow209.bmp", MakePolarityNarrowStrip().EncodeBmp()});
    out.push_back({"polwide229.bmp", MakePolarityWideStrip().EncodeBmp()});
    out.push_back({"stockicons900.bmp", MakeStockIconStrip(32).EncodeBmp()});
    out.push_back({"stockicons901.bmp", MakeStockIconStrip(16).EncodeBmp()});
    out.push_back({"spinlayout208.bmp", MakeSpinEditLayout().EncodeBmp()});
    for (const ToolboxBitmap& tool : MakeToolboxBitmaps())
        out.push_back({tool.file, tool.picture.EncodeBmp()});
    out.push_back({"kestrowidge1.ico", MakeModuleIcon().EncodeIco(kModuleIconTransparent)});
    return out;
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
    for (const Output& bitmap : Bitmaps())
        if (!WriteIfChanged(folder / bitmap.file, bitmap.bytes)) {
            std::fprintf(stderr, "kwbmpgen: cannot write into %s\n", argv[1]);
            return 1;
        }
    return 0;
}

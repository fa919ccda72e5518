// kwbmpgen: draws the module's bitmaps, the same bytes on every run.
//   kwbmpgen FOLDER      writes every bitmap into FOLDER (led141.bmp, pos225.bmp, ...)
#include "resources/generators/DigitStrip.h"
#include "resources/generators/LedStrip.h"
#include "resources/generators/PosLayouts.h"
#include "resources/generators/ViewStrips.h"
#include "resources/generators/PolarityStrip.h"
#include "resources/generators/SwitchStrip.h"

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
    bool written = WriteIfChanged(folder / "led141.bmp", kw::bitmaps::MakeLedStrip().EncodeBmp());
    for (const auto& strip : kw::bitmaps::DigitStripFiles())
        written = written &&
                  WriteIfChanged(folder / strip.file,
                                 kw::bitmaps::MakeDigitStrip(strip.size, strip.look).EncodeBmp());
    for (int layout = 0; layout < kw::bitmaps::kPosLayouts; ++layout)
        written = written && WriteIfChanged(folder / kw::bitmaps::kPosLayoutFiles[layout],
                                            kw::bitmaps::MakePosLayout(layout).EncodeBmp());
    written = written &&
              WriteIfChanged(folder / "views214.bmp", kw::bitmaps::MakeIsometricStrip().EncodeBmp()) &&
              WriteIfChanged(folder / "faces221.bmp", kw::bitmaps::MakeFaceStrip().EncodeBmp());
    if (!written) {
        std::fprintf(stderr, "kwbmpgen: cannot write into %s\n", argv[1]);
        return 1;
    }
    if (!WriteIfChanged(folder / "switch142.bmp", kw::bitmaps::MakeSwitchStrip().EncodeBmp()) ||
        !WriteIfChanged(folder / "polnarrow209.bmp",
                        kw::bitmaps::MakePolarityNarrowStrip().EncodeBmp()) ||
        !WriteIfChanged(folder / "polwide229.bmp",
                        kw::bitmaps::MakePolarityWideStrip().EncodeBmp())) {
        std::fprintf(stderr, "kwbmpgen: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}

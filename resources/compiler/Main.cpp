// kwrc: compiles the resource script into C++ tables at build time.
//   kwrc SCRIPT.rc OUTPUT.cpp [BITMAP_FOLDER]
// Bitmap and icon files are named relative to BITMAP_FOLDER, or to the script's folder
// when none is given. The output is rewritten only when it changes.
#include "resources/compiler/RcEmitter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

bool ReadFile(const std::filesystem::path& path, std::string* out) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream text;
    text << in.rdbuf();
    *out = text.str();
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: kwrc SCRIPT.rc OUTPUT.cpp [BITMAP_FOLDER]\n");
        return 2;
    }
    const std::filesystem::path scriptPath = argv[1];
    std::string text, error;
    if (!ReadFile(scriptPath, &text)) {
        std::fprintf(stderr, "kwrc: cannot read %s\n", argv[1]);
        return 1;
    }
    auto script = kw::rc::ParseScript(text, &error);
    if (!script) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    const std::filesystem::path bitmapFolder = argc == 4 ? argv[3] : scriptPath.parent_path();
    std::map<long long, std::string> bitmaps;
    for (const auto& b : script->bitmaps) {
        if (!ReadFile(bitmapFolder / b.file, &bitmaps[b.id])) {
            std::fprintf(stderr, "%s: cannot read bitmap %lld file \"%s\"\n", argv[1], b.id,
                         b.file.c_str());
            return 1;
        }
    }
    std::map<long long, std::string> icons;
    for (const auto& i : script->icons) {
        if (!ReadFile(bitmapFolder / i.file, &icons[i.id])) {
            std::fprintf(stderr, "%s: cannot read icon %lld file \"%s\"\n", argv[1], i.id,
                         i.file.c_str());
            return 1;
        }
        if (!kw::rc::CheckIconFile(icons[i.id], &error)) {
            std::fprintf(stderr, "%s: icon %lld file \"%s\": %s\n", argv[1], i.id, i.file.c_str(),
                         error.c_str());
            return 1;
        }
    }
    std::string output =
        kw::rc::EmitTables(*script, bitmaps, scriptPath.filename().string(), icons);
    std::string existing;
    if (ReadFile(argv[2], &existing) && existing == output)
        return 0;
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << output;
    if (!out) {
        std::fprintf(stderr, "kwrc: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}

#include "platform/shell/ShellPaths.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

void CopyCut(char* out, std::string_view text, std::size_t capacity) {
    if (!out)
        return;
    const std::size_t n = std::min(text.size(), capacity - 1);
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
}

} // namespace

DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer) {
    const char* env = std::getenv("TMPDIR");
    std::string path = env && *env ? env : "/tmp";
    if (path.back() != '/')
        path += '/';
    const auto needed = DWORD(path.size() + 1);
    if (!buffer || bufferLength < needed)
        return needed;
    std::memcpy(buffer, path.c_str(), needed);
    return needed - 1;
}

void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext) {
    const std::string_view p = path ? path : "";
    const std::size_t slash = p.rfind('/');
    const std::string_view folder = slash == std::string_view::npos ? "" : p.substr(0, slash + 1);
    const std::string_view last = slash == std::string_view::npos ? p : p.substr(slash + 1);
    const std::size_t dot = last.rfind('.');
    const std::string_view name = dot == std::string_view::npos ? last : last.substr(0, dot);
    const std::string_view extension = dot == std::string_view::npos ? "" : last.substr(dot);
    CopyCut(drive, "", _MAX_DRIVE);
    CopyCut(dir, folder, _MAX_DIR);
    CopyCut(fname, name, _MAX_FNAME);
    CopyCut(ext, extension, _MAX_EXT);
}

void _makepath(char* path, const char* drive, const char* dir, const char* fname, const char* ext) {
    if (!path)
        return;
    std::string out;
    if (drive)
        out += drive;
    if (dir && *dir) {
        out += dir;
        if (out.back() != '/')
            out += '/';
    }
    if (fname)
        out += fname;
    if (ext && *ext) {
        if (*ext != '.')
            out += '.';
        out += ext;
    }
    CopyCut(path, out, _MAX_PATH);
}

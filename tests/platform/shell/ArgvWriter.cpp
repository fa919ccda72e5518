// kwargvwriter: a program for the process tests. It writes what it was
// started with into $KW_ARGV_DIR/<its pid>.txt (whole, by renaming a
// temporary file): its working directory, its arguments, the descriptors it
// holds above standard error and $KW_ARGV_PROBE, each as one line, texts in
// hexadecimal so that any byte survives.
#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Hex(const std::string& text) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : text) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    const char* dir = std::getenv("KW_ARGV_DIR");
    if (!dir)
        return 2;
    // The descriptors first, before this program opens any of its own.
    std::string fds;
    if (DIR* d = opendir("/proc/self/fd")) {
        const int own = dirfd(d);
        while (dirent* e = readdir(d)) {
            const int fd = std::atoi(e->d_name);
            if (e->d_name[0] != '.' && fd > 2 && fd != own)
                fds += "fd " + std::to_string(fd) + "\n";
        }
        closedir(d);
    }
    std::string text;
    char cwd[4096];
    text += "cwd " + Hex(getcwd(cwd, sizeof cwd) ? cwd : "") + "\n";
    for (int i = 0; i < argc; ++i)
        text += "arg " + Hex(argv[i]) + "\n";
    text += fds;
    const char* probe = std::getenv("KW_ARGV_PROBE");
    text += "probe " + Hex(probe ? probe : "") + "\n";

    const std::string base = std::string(dir) + "/" + std::to_string(getpid());
    FILE* out = std::fopen((base + ".tmp").c_str(), "wb");
    if (!out)
        return 3;
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
    return std::rename((base + ".tmp").c_str(), (base + ".txt").c_str()) == 0 ? 0 : 4;
}

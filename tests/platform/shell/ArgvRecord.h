#pragma once
// Reading what kwargvwriter wrote, for the process and launcher tests.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace shell_test {

struct ArgvRecord {
    std::string cwd;
    std::vector<std::string> args;
    std::vector<int> fds;
    std::string probe;
};

inline std::string FromHex(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out += char(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

inline ArgvRecord ReadArgvRecord(const std::filesystem::path& file) {
    ArgvRecord record;
    std::ifstream in(file);
    std::string key, value;
    while (in >> key) {
        std::getline(in, value);
        if (!value.empty() && value[0] == ' ')
            value.erase(0, 1);
        if (key == "cwd")
            record.cwd = FromHex(value);
        else if (key == "arg")
            record.args.push_back(FromHex(value));
        else if (key == "fd")
            record.fds.push_back(std::stoi(value));
        else if (key == "probe")
            record.probe = FromHex(value);
    }
    return record;
}

// The records in `dir` once `count` have arrived; fewer when they do not
// come within a generous bound (a hung test helps nobody).
inline std::vector<std::filesystem::path> WaitForRecords(const std::filesystem::path& dir,
                                                         std::size_t count) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    std::vector<std::filesystem::path> found;
    while (true) {
        found.clear();
        for (const auto& e : std::filesystem::directory_iterator(dir))
            if (e.path().extension() == ".txt")
                found.push_back(e.path());
        if (found.size() >= count || std::chrono::steady_clock::now() > give_up)
            return found;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// A fresh folder under the temporary directory, removed with the object.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kw-shell-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace shell_test

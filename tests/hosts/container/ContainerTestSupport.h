#pragma once
// Runs scripts through the built kwcontainer, each test in a registry root
// of its own with the module freshly registered.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace kw::container::test {

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
    // For failure messages: everything the run printed.
    std::string Transcript() const {
        return "exit " + std::to_string(status) + "\n--- stdout\n" + out + "--- stderr\n" + err;
    }
};

inline std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

inline std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ContainerTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kwcontainer-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
        const RunResult reg = Command(std::string(KW_REGSVR_PATH) + " -s " + KW_MODULE_PATH);
        ASSERT_EQ(reg.status, 0) << reg.Transcript();
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }

    std::filesystem::path Path(const std::string& name) const { return m_dir / name; }

    void WriteFile(const std::string& name, const std::string& text) const {
        std::ofstream(Path(name), std::ios::binary) << text;
    }

    // Runs a shell command in the test folder with its registry root.
    RunResult Command(const std::string& command) const {
        const std::string out = (m_dir / "stdout.txt").string();
        const std::string err = (m_dir / "stderr.txt").string();
        const std::string line = "cd " + Quote(m_dir.string()) +
                                 " && KW_REGISTRY_DIR=" + Quote((m_dir / "registry").string()) +
                                 " " + command + " >" + Quote(out) + " 2>" + Quote(err);
        RunResult result;
        const int raw = std::system(line.c_str());
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        result.out = ReadAll(out);
        result.err = ReadAll(err);
        return result;
    }

    // Runs `script` as a file with `args` after it.
    RunResult Script(const std::string& script, const std::string& args = {}) const {
        WriteFile("script.lua", script);
        return Command(std::string(KW_CONTAINER_PATH) + " script.lua " + args);
    }

    RunResult Container(const std::string& args) const {
        return Command(std::string(KW_CONTAINER_PATH) + " " + args);
    }

    std::filesystem::path m_dir;
};

// The Lua helpers every script may use.
inline constexpr const char* kLed = "Kestrowidge.LedCtrl.1";
inline const std::string kPrelude = R"(
local function hex(v) return string.format("0x%06X", v) end
local function expect(got, want, what)
    if got ~= want then
        error(string.format("%s: expected %s, got %s", what, tostring(want), tostring(got)), 2)
    end
end
)";

} // namespace kw::container::test

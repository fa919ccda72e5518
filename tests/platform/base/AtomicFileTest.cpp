#include "platform/base/AtomicFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

std::string Read(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST(AtomicFile, ReplacesContentsAndLeavesNoTemporaries) {
    auto dir = std::filesystem::temp_directory_path() / ("kw-atomic-" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const auto path = (dir / "form.json").string();
    ASSERT_TRUE(kw::WriteFileAtomically(path, "first"));
    ASSERT_TRUE(kw::WriteFileAtomically(path, std::string("second\0with zero", 16)));
    EXPECT_EQ(Read(path), std::string("second\0with zero", 16));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                            std::filesystem::directory_iterator()),
              1);
    // A folder that does not exist: nothing is written, nothing is left.
    EXPECT_FALSE(kw::WriteFileAtomically((dir / "missing" / "x.json").string(), "x"));
    EXPECT_FALSE(kw::WriteFileAtomically((dir / "").string(), "x"));
    EXPECT_EQ(Read(path), std::string("second\0with zero", 16));
    std::filesystem::remove_all(dir);
}

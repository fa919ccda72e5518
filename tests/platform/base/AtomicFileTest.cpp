#include "platform/base/AtomicFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/file.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

std::string Read(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

int CountTemporaries(const std::filesystem::path& dir) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        count += entry.path().filename().string().starts_with("form.json.tmp-");
    return count;
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

// Forms and stored controls are saved this way: a save killed at any moment
// leaves the old or the new file, and no debris that a later save keeps.
TEST(AtomicFile, SavesKilledAtAnyMomentLeaveOldOrNewAndNoDebris) {
    auto dir = std::filesystem::temp_directory_path() / ("kw-atomic-kill-" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const auto path = (dir / "form.json").string();
    const std::string first(200000, 'a'), second(150000, 'b');
    ASSERT_TRUE(kw::WriteFileAtomically(path, first));

    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(kw::WriteFileAtomically(path, i % 2 ? first : second));
    const auto save = std::chrono::duration_cast<std::chrono::microseconds>(
                          std::chrono::steady_clock::now() - start) / 4;

    std::mt19937 random(4711);
    constexpr int kKills = 100;
    int leftovers = 0;
    for (int round = 0; round < kKills; ++round) {
        const pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            for (unsigned n = 0;; ++n)
                if (!kw::WriteFileAtomically(path, n % 2 ? first : second))
                    ::_exit(1);
        }
        std::this_thread::sleep_for(save * 3 * (random() % 1000) / 1000);
        ::kill(writer, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(writer, &status, 0), writer);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: " << status;
        const std::string now = Read(path);
        ASSERT_TRUE(now == first || now == second) << "round " << round << ": a torn file";
        leftovers = std::max(leftovers, CountTemporaries(dir));
    }
    std::printf("[          ] %d kills within 3 x %lld us: at most %d temporary files at once\n",
                kKills, static_cast<long long>(save.count()), leftovers);
    EXPECT_LE(leftovers, 1) << "each save clears what killed ones left";

    // A live writer's temporary file is never taken away: it holds its lock.
    const auto live = dir / "form.json.tmp-AbCdEf";
    {
        std::ofstream(live) << "in progress";
    }
    const int fd = ::open(live.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    ASSERT_TRUE(kw::WriteFileAtomically(path, first));
    EXPECT_TRUE(std::filesystem::exists(live));
    ::close(fd);
    ASSERT_TRUE(kw::WriteFileAtomically(path, second));
    EXPECT_EQ(CountTemporaries(dir), 0);
    EXPECT_EQ(Read(path), second);
    std::filesystem::remove_all(dir);
}

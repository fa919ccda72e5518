// The hive files: where they live, what they hold byte for byte, damaged
// files, batches, other processes, and writers killed half-way.
#include "platform/registry/Registry.h"
#include "tests/platform/registry/RegistryTestFolder.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <thread>

namespace kw::registry::test {
namespace {

using Bytes = std::vector<BYTE>;

// Runs `body` in a child process; its exit status is 0 when body returned
// true.
pid_t Spawn(const std::function<bool()>& body) {
    pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body() ? 0 : 1);
    return pid;
}

bool Succeeded(pid_t pid) {
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

DWORD ReadCounter() {
    DWORD value = 0, size = sizeof value;
    if (RegQueryValueExA(HKEY_CURRENT_USER, "counter", nullptr, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS)
        return 0;
    return value;
}

TEST_F(RegistryTest, FolderAndFileAppearOnTheFirstChange) {
    std::string nested = m_base + "/not/yet/there";
    UseFolder(nested);
    std::string value;
    EXPECT_EQ(RegGetStringValue(HKEY_CURRENT_USER, "A", "v", &value), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(std::filesystem::exists(m_base + "/not")) << "a read creates nothing";

    ASSERT_EQ(RegSetStringValue(HKEY_CLASSES_ROOT, "A", "v", "x"), ERROR_SUCCESS);
    struct stat info {};
    ASSERT_EQ(::stat(nested.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(ReadBytes(HivePath("HKEY_CLASSES_ROOT")),
              "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\A]\n\"v\"=\"x\"\n\n");
    EXPECT_FALSE(std::filesystem::exists(HivePath("HKEY_CURRENT_USER")));
    EXPECT_EQ(RegGetStringValue(HKEY_CURRENT_USER, "A", "v", &value), ERROR_FILE_NOT_FOUND)
        << "the hives are separate";
}

TEST_F(RegistryTest, IdenticalContentGivesIdenticalFiles) {
    auto fill = [](bool reversed) {
        std::vector<std::string> keys = {"CLSID\\{B}\\InprocServer32", "CLSID\\{A}", "Zeta",
                                         "alpha\\Beta"};
        if (reversed)
            std::reverse(keys.begin(), keys.end());
        for (const std::string& key : keys) {
            ASSERT_EQ(RegSetStringValue(HKEY_CLASSES_ROOT, key, "", key), ERROR_SUCCESS);
            ASSERT_EQ(RegSetStringValue(HKEY_CLASSES_ROOT, key, "ThreadingModel", "Apartment"),
                      ERROR_SUCCESS);
        }
    };
    fill(false);
    std::string first = ReadBytes(HivePath("HKEY_CLASSES_ROOT"));
    UseFolder(m_base + "/second");
    fill(true);
    EXPECT_EQ(ReadBytes(HivePath("HKEY_CLASSES_ROOT")), first);

    // Setting what is already there leaves the file alone.
    struct stat before {
    }, after{};
    ASSERT_EQ(::stat(HivePath("HKEY_CLASSES_ROOT").c_str(), &before), 0);
    fill(true);
    ASSERT_EQ(::stat(HivePath("HKEY_CLASSES_ROOT").c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
}

TEST_F(RegistryTest, DamagedFilesAreReportedAndLeftUntouched) {
    const std::string damaged[] = {
        "",
        "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n",
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"unterminated\n",
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"v\"=hex:01,0z\n",
        "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\A]\n\"v\"=\"x\"\n",
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\ngarbage\n",
        std::string("\0\0\0\0\xff\xfe", 6),
    };
    std::filesystem::create_directories(m_dir);
    ASSERT_EQ(RegSetStringValue(HKEY_CLASSES_ROOT, "Fine", "v", "x"), ERROR_SUCCESS);
    for (const std::string& text : damaged) {
        SCOPED_TRACE(text.substr(0, 40));
        WriteBytes(HivePath(), text);
        HKEY key = nullptr;
        DWORD size = 0;
        std::string name;
        Bytes data = Sz("x");
        EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "A", KEY_READ, &key), ERROR_REGISTRY_CORRUPT);
        EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "A", KEY_ALL_ACCESS, &key),
                  ERROR_REGISTRY_CORRUPT);
        EXPECT_EQ(key, nullptr);
        EXPECT_EQ(RegSetValueExA(HKEY_CURRENT_USER, "v", REG_SZ, data.data(), 2),
                  ERROR_REGISTRY_CORRUPT);
        EXPECT_EQ(RegQueryValueExA(HKEY_CURRENT_USER, "v", nullptr, nullptr, &size),
                  ERROR_REGISTRY_CORRUPT);
        EXPECT_EQ(RegEnumKeyExA(HKEY_CURRENT_USER, 0, &name), ERROR_REGISTRY_CORRUPT);
        EXPECT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, ""), ERROR_REGISTRY_CORRUPT);
        EXPECT_EQ(RegSetStringValue(HKEY_CURRENT_USER, "A", "v", "x"), ERROR_REGISTRY_CORRUPT);
        {
            kw::registry::Batch batch(HKEY_CURRENT_USER);
            EXPECT_EQ(RegSetStringValue(HKEY_CURRENT_USER, "A", "v", "x"), ERROR_REGISTRY_CORRUPT);
            EXPECT_EQ(batch.Commit(), ERROR_REGISTRY_CORRUPT);
        }
        EXPECT_EQ(ReadBytes(HivePath()), text) << "the file is left exactly as it was";
        EXPECT_EQ(RegGetStringValue(HKEY_CLASSES_ROOT, "Fine", "v", &name), ERROR_SUCCESS)
            << "the other hive is unaffected";
    }

    // Once the file is mended (here: removed), the hive works again.
    std::filesystem::remove(HivePath());
    EXPECT_EQ(RegSetStringValue(HKEY_CURRENT_USER, "A", "v", "x"), ERROR_SUCCESS);

    // Something that is not a file at all in the hive's place.
    std::filesystem::remove(HivePath());
    std::filesystem::create_directory(HivePath());
    std::string value;
    EXPECT_EQ(RegGetStringValue(HKEY_CURRENT_USER, "A", "v", &value), ERROR_CANTREAD);
    EXPECT_EQ(RegSetStringValue(HKEY_CURRENT_USER, "A", "v", "x"), ERROR_CANTREAD);
    EXPECT_TRUE(std::filesystem::is_directory(HivePath()));
    std::filesystem::remove(HivePath());
    ASSERT_EQ(::mkfifo(HivePath().c_str(), 0600), 0);
    EXPECT_EQ(RegGetStringValue(HKEY_CURRENT_USER, "A", "v", &value), ERROR_CANTREAD);
}

TEST_F(RegistryTest, BatchWritesOnceAtTheEnd) {
    ASSERT_EQ(RegSetStringValue(HKEY_CURRENT_USER, "B", "before", "1"), ERROR_SUCCESS);
    std::string before = ReadBytes(HivePath());

    // Another process reads while the batch is open: it waits for the batch
    // and then sees all of it. (It is started first: a process forked during
    // a batch would inherit the batch's held lock.)
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    pid_t reader = Spawn([&] {
        char byte = 0;
        std::string seen;
        return ::read(go[0], &byte, 1) == 1 &&
               RegGetStringValue(HKEY_CURRENT_USER, "B\\Inner", "v", &seen) == ERROR_SUCCESS &&
               seen == "2";
    });
    {
        kw::registry::Batch outer(HKEY_CURRENT_USER);
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "B\\Inner", KEY_ALL_ACCESS, &key),
                  ERROR_SUCCESS);
        {
            kw::registry::Batch inner(key); // any handle into the hive
            EXPECT_EQ(RegSetStringValue(key, "", "v", "2"), ERROR_SUCCESS);
            EXPECT_EQ(inner.Commit(), ERROR_SUCCESS);
        }
        RegCloseKey(key);
        std::string value;
        EXPECT_EQ(RegGetStringValue(HKEY_CURRENT_USER, "B\\Inner", "v", &value), ERROR_SUCCESS)
            << "the batch sees its own changes";
        EXPECT_EQ(ReadBytes(HivePath()), before) << "nothing written before the end";
        ASSERT_EQ(::write(go[1], "x", 1), 1);
        ::usleep(20000);
        EXPECT_EQ(outer.Commit(), ERROR_SUCCESS);
    }
    EXPECT_TRUE(Succeeded(reader));
    ::close(go[0]);
    ::close(go[1]);
    EXPECT_NE(ReadBytes(HivePath()).find("[HKEY_CURRENT_USER\\B\\Inner]\n\"v\"=\"2\""),
              std::string::npos);

    // Without Commit, the destructor commits.
    {
        kw::registry::Batch batch(HKEY_CURRENT_USER);
        ASSERT_EQ(RegSetStringValue(HKEY_CURRENT_USER, "B", "after", "3"), ERROR_SUCCESS);
    }
    EXPECT_NE(ReadBytes(HivePath()).find("\"after\"=\"3\""), std::string::npos);
}

TEST_F(RegistryTest, ProcessesSeeEachOthersChanges) {
    ASSERT_EQ(RegSetStringValue(HKEY_CURRENT_USER, "P", "v", "parent"), ERROR_SUCCESS);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "P", KEY_READ, &key), ERROR_SUCCESS);
    // Two same-sized changes in a row, so that only the change counter tells
    // the versions apart when the file system reuses inode and time.
    ASSERT_TRUE(Succeeded(Spawn([] {
        std::string seen;
        return RegGetStringValue(HKEY_CURRENT_USER, "P", "v", &seen) == ERROR_SUCCESS &&
               seen == "parent" &&
               RegSetStringValue(HKEY_CURRENT_USER, "P", "v", "child1") == ERROR_SUCCESS &&
               RegSetStringValue(HKEY_CURRENT_USER, "P", "v", "child2") == ERROR_SUCCESS;
    })));
    std::string value;
    EXPECT_EQ(RegGetStringValue(key, "", "v", &value), ERROR_SUCCESS);
    EXPECT_EQ(value, "child2");
    ASSERT_TRUE(Succeeded(Spawn([] { return RegDeleteTreeA(HKEY_CURRENT_USER, "P") == 0; })));
    EXPECT_EQ(RegGetStringValue(key, "", "v", &value), ERROR_KEY_DELETED);
    RegCloseKey(key);

    // Read-modify-write in batches from two processes at once loses nothing.
    constexpr int kRounds = 25;
    auto increment = [] {
        for (int i = 0; i < kRounds; ++i) {
            kw::registry::Batch batch(HKEY_CURRENT_USER);
            DWORD value = ReadCounter() + 1;
            if (RegSetValueExA(HKEY_CURRENT_USER, "counter", REG_DWORD,
                               reinterpret_cast<BYTE*>(&value), sizeof value) != ERROR_SUCCESS ||
                batch.Commit() != ERROR_SUCCESS)
                return false;
        }
        return true;
    };
    pid_t child = Spawn(increment);
    EXPECT_TRUE(increment());
    EXPECT_TRUE(Succeeded(child));
    EXPECT_EQ(ReadCounter(), static_cast<DWORD>(2 * kRounds));
}

TEST_F(RegistryTest, AWriterKilledAtAnyMomentLeavesOldOrNew) {
    // Two versions of the hive, large enough that a rewrite takes a while.
    Bytes first(12000), second(9000);
    for (std::size_t i = 0; i < first.size(); ++i)
        first[i] = static_cast<BYTE>(i * 13);
    for (std::size_t i = 0; i < second.size(); ++i)
        second[i] = static_cast<BYTE>(i * 7 + 1);
    auto put = [](const Bytes& data) {
        return RegSetValueExA(HKEY_CURRENT_USER, "data", REG_BINARY, data.data(),
                              static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
    };
    ASSERT_TRUE(put(second));
    const std::string secondFile = ReadBytes(HivePath());
    ASSERT_TRUE(put(first));
    const std::string firstFile = ReadBytes(HivePath());
    // Kills are spread over about three rewrites, however fast they are here.
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(put(i % 2 ? first : second));
    auto rewrite = std::chrono::duration_cast<std::chrono::microseconds>(
                       std::chrono::steady_clock::now() - start) /
                   4;

    std::mt19937 random(12345);
    constexpr int kKills = 200;
    int sawFirst = 0, sawSecond = 0, leftovers = 0;
    for (int round = 0; round < kKills; ++round) {
        // The writer says when its first rewrite is done, so that a slow
        // start (a loaded machine, a sanitised fork) does not eat the window.
        int started[2];
        ASSERT_EQ(::pipe(started), 0);
        pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            ::close(started[0]);
            for (unsigned n = 0;; ++n) {
                if (!put(n % 2 ? first : second))
                    ::_exit(1);
                if (n == 0 && ::write(started[1], "x", 1) != 1)
                    ::_exit(1);
            }
        }
        ::close(started[1]);
        char ready = 0;
        ASSERT_EQ(::read(started[0], &ready, 1), 1);
        ::close(started[0]);
        std::this_thread::sleep_for(rewrite * 3 * (random() % 1000) / 1000);
        ::kill(writer, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(writer, &status, 0), writer);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: " << status;

        std::string file = ReadBytes(HivePath());
        if (file == firstFile) {
            ++sawFirst;
        } else {
            ASSERT_EQ(file, secondFile) << "round " << round << ": a mixed or partial hive";
            ++sawSecond;
        }
        DWORD type = 0;
        Bytes data;
        ASSERT_EQ(Get("", "data", &type, &data), ERROR_SUCCESS);
        EXPECT_EQ(data, file == firstFile ? first : second);
        for (const std::string& name : FolderEntries()) {
            if (name.starts_with("HKEY_CURRENT_USER.reg.tmp-")) {
                ++leftovers;
                continue;
            }
            ASSERT_TRUE(name == "HKEY_CURRENT_USER.reg" || name == "HKEY_CURRENT_USER.reg.lock")
                << name;
        }
    }
    std::printf("[          ] %d kills within 3 x %lld us: %d times the first version, %d times "
                "the second, %d temporary files left behind\n",
                kKills, static_cast<long long>(rewrite.count()), sawFirst, sawSecond, leftovers);
    EXPECT_GT(sawFirst, 0);
    EXPECT_GT(sawSecond, 0);

    // The next rewrite clears what the killed writers left (one of the two
    // calls changes the hive).
    ASSERT_TRUE(put(first));
    ASSERT_TRUE(put(second));
    EXPECT_EQ(FolderEntries(),
              (std::vector<std::string>{"HKEY_CURRENT_USER.reg", "HKEY_CURRENT_USER.reg.lock"}));
}

} // namespace
} // namespace kw::registry::test

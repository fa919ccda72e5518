// Starting programs: the arguments a child receives, its working directory,
// environment and descriptors, failures, and no zombies left behind, also
// beside a host that waits for children of its own.
#include "platform/shell/Process.h"
#include "platform/shell/CommandLine.h"
#include "tests/platform/shell/ArgvRecord.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <random>

extern char** environ;

namespace {

using shell_test::ReadArgvRecord;
using shell_test::TempDir;
using shell_test::WaitForRecords;
namespace fs = std::filesystem;

// Every child of this process that is a zombie now.
std::vector<int> ZombieChildren() {
    std::vector<int> zombies;
    const std::string self = std::to_string(::getpid());
    for (const auto& e : fs::directory_iterator("/proc")) {
        const std::string name = e.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream stat(e.path() / "stat");
        std::string line;
        std::getline(stat, line);
        // pid (comm) state ppid ...; comm may hold blanks.
        const std::size_t close = line.rfind(')');
        if (close == std::string::npos)
            continue;
        std::istringstream rest(line.substr(close + 1));
        std::string state, ppid;
        rest >> state >> ppid;
        if (ppid == self && state == "Z")
            zombies.push_back(std::stoi(name));
    }
    return zombies;
}

void WaitUntilReaped() {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (kw::shell::ChildrenNotYetReaped() > 0 && std::chrono::steady_clock::now() < give_up)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

class ProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("KW_ARGV_DIR", m_out.Path().c_str(), 1);
        ::setenv("KW_ARGV_PROBE", "Werkzeug \xB0 ok", 1);
    }
    void TearDown() override {
        WaitUntilReaped();
        ::unsetenv("KW_ARGV_DIR");
        ::unsetenv("KW_ARGV_PROBE");
    }
    // Starts `program` with "program args" as the launcher builds it.
    bool Start(const std::string& program, const std::string& args, const char* dir = nullptr,
               PROCESS_INFORMATION* info = nullptr) {
        std::string line = program + " " + args;
        STARTUPINFOA startup{};
        startup.cb = 68;
        PROCESS_INFORMATION local{};
        return CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE,
                              CREATE_DEFAULT_ERROR_MODE | NORMAL_PRIORITY_CLASS, nullptr, dir,
                              &startup, info ? info : &local) != FALSE;
    }
    shell_test::ArgvRecord OnlyRecord() {
        const auto files = WaitForRecords(m_out.Path(), 1);
        EXPECT_EQ(files.size(), 1u);
        shell_test::ArgvRecord record =
            files.empty() ? shell_test::ArgvRecord{} : ReadArgvRecord(files[0]);
        for (const auto& f : files)
            fs::remove(f);
        return record;
    }

    TempDir m_out;
    const std::string m_writer = KW_ARGV_WRITER;
};

} // namespace

TEST_F(ProcessTest, TheProgramPathIsTheFirstArgumentWholeAndTheRestIsSplit) {
    // A program whose folder and name hold blanks.
    TempDir tools;
    const fs::path program = tools.Path() / "cam tools" / "argv writer";
    fs::create_directories(program.parent_path());
    fs::copy_file(m_writer, program);
    ASSERT_TRUE(Start(program.string(), R"(-o "out file.nc" ; rm -rf / | cat & $(id) `id` *)"));
    const auto record = OnlyRecord();
    EXPECT_EQ(record.args,
              (std::vector<std::string>{program.string(), "-o", "out file.nc", ";", "rm", "-rf",
                                        "/", "|", "cat", "&", "$(id)", "`id`", "*"}));
    EXPECT_EQ(record.probe, "Werkzeug \xB0 ok") << "the host's environment";
}

TEST_F(ProcessTest, AnEmptyArgumentTextAddsNoArgument) {
    ASSERT_TRUE(Start(m_writer, ""));
    EXPECT_EQ(OnlyRecord().args, std::vector<std::string>{m_writer});
}

TEST_F(ProcessTest, TheChildStartsInItsWorkingDirectory) {
    TempDir work;
    const fs::path dir = work.Path() / "job 12";
    fs::create_directory(dir);
    ASSERT_TRUE(Start(m_writer, "x", dir.c_str()));
    EXPECT_EQ(fs::path(OnlyRecord().cwd), fs::canonical(dir));
    // A relative program is the caller's, not the working directory's.
    const fs::path here = fs::current_path();
    fs::current_path(fs::path(m_writer).parent_path());
    const bool started = Start("./" + fs::path(m_writer).filename().string(), "y", dir.c_str());
    fs::current_path(here);
    ASSERT_TRUE(started);
    EXPECT_EQ(OnlyRecord().args.at(1), "y");
}

TEST_F(ProcessTest, AProgramThatDoesNotStartIsAFailureWithItsReason) {
    EXPECT_FALSE(Start("/nonexistent/program", "a"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(Start(m_writer, "a", "/nonexistent/folder"));
    EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
    TempDir plain;
    const fs::path text = plain.Path() / "notes.txt";
    std::ofstream(text) << "not a program\n";
    EXPECT_FALSE(Start(text.string(), ""));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    // An executable text without an interpreter line is not given to a
    // shell to run.
    const fs::path script = plain.Path() / "script";
    const fs::path proof = plain.Path() / "ran";
    std::ofstream(script) << "touch '" << proof.string() << "'\n";
    fs::permissions(script, fs::perms::owner_all);
    EXPECT_FALSE(Start(script.string(), ""));
    EXPECT_EQ(GetLastError(), ERROR_BAD_EXE_FORMAT);
    EXPECT_FALSE(fs::exists(proof));
    EXPECT_TRUE(ZombieChildren().empty());
}

TEST_F(ProcessTest, TwoHundredStartsLeaveNoZombieAndLeakNoDescriptor) {
    // Descriptors the host holds open without close-on-exec.
    const int inheritable = ::open("/dev/null", O_RDONLY);
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    ASSERT_GE(inheritable, 0);
    std::mt19937 random(200);
    static const std::string alphabet = "ab \"\\;|&$`*<>'";
    std::uniform_int_distribution<int> length(0, 16), pick(0, int(alphabet.size()) - 1);
    std::map<pid_t, std::string> started;
    for (int i = 0; i < 200; ++i) {
        std::string args;
        const int n = length(random);
        for (int k = 0; k < n; ++k)
            args += alphabet[std::size_t(pick(random))];
        PROCESS_INFORMATION info{};
        ASSERT_TRUE(Start(m_writer, args, nullptr, &info)) << i;
        started[pid_t(info.dwProcessId)] = args;
    }
    const auto files = WaitForRecords(m_out.Path(), 200);
    ASSERT_EQ(files.size(), 200u);
    for (const auto& file : files) {
        const pid_t pid = std::stoi(file.stem().string());
        ASSERT_TRUE(started.contains(pid));
        const auto record = ReadArgvRecord(file);
        std::vector<std::string> expected{m_writer};
        for (std::string& arg : kw::shell::SplitCommandLine(started[pid]))
            expected.push_back(std::move(arg));
        EXPECT_EQ(record.args, expected) << started[pid];
        EXPECT_TRUE(record.fds.empty()) << "a descriptor reached " << pid;
    }
    WaitUntilReaped();
    EXPECT_EQ(kw::shell::ChildrenNotYetReaped(), 0u);
    EXPECT_TRUE(ZombieChildren().empty());
    ::close(inheritable);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
}

TEST_F(ProcessTest, AHostThatWaitsForItsOwnChildrenStillGetsThem) {
    // The host's own child, waited for by its id, beside launched ones.
    pid_t own = 0;
    char* argv[] = {const_cast<char*>("/bin/sh"), const_cast<char*>("-c"),
                    const_cast<char*>("exit 7"), nullptr};
    ASSERT_EQ(::posix_spawn(&own, "/bin/sh", nullptr, nullptr, argv, environ), 0);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(Start(m_writer, "x"));
    int status = 0;
    ASSERT_EQ(::waitpid(own, &status, 0), own) << "the reaper took the host's child";
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 7);
    WaitForRecords(m_out.Path(), 5);

    // A host that reaps every child leaves the reaper nothing, without harm.
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(Start(m_writer, "y"));
    WaitForRecords(m_out.Path(), 10);
    while (::waitpid(-1, nullptr, 0) > 0) {
    }
    WaitUntilReaped();
    EXPECT_EQ(kw::shell::ChildrenNotYetReaped(), 0u);
    EXPECT_TRUE(ZombieChildren().empty());
}

#include "platform/shell/Process.h"

#include "platform/shell/CommandLine.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

thread_local DWORD t_lastError = 0;

// [SECTION] The reaper

// One thread, started with the first child, collects every child this
// process started, each by its own id. It lives as long as the process.
class Reaper {
public:
    static Reaper& Instance() {
        static Reaper* reaper = new Reaper; // never destroyed: its thread outlives exit
        return *reaper;
    }

    void Watch(pid_t pid) {
        std::lock_guard lock(m_mutex);
        m_children.push_back(pid);
        if (!m_started) {
            m_started = true;
            std::thread([this] { Run(); }).detach();
        }
        m_wake.notify_one();
    }

    std::size_t Pending() {
        std::lock_guard lock(m_mutex);
        return m_children.size();
    }

private:
    void Run() {
        std::unique_lock lock(m_mutex);
        while (true) {
            m_wake.wait(lock, [this] { return !m_children.empty(); });
            for (std::size_t i = 0; i < m_children.size();) {
                const pid_t got = ::waitpid(m_children[i], nullptr, WNOHANG);
                // ECHILD: a host that reaps every child took this one.
                if (got == m_children[i] || (got < 0 && errno == ECHILD)) {
                    m_children[i] = m_children.back();
                    m_children.pop_back();
                } else {
                    ++i;
                }
            }
            if (!m_children.empty())
                m_wake.wait_for(lock, std::chrono::milliseconds(10));
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<pid_t> m_children;
    bool m_started{false};
};

DWORD ErrorFromErrno(int error) {
    switch (error) {
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
        return ERROR_ACCESS_DENIED;
    case ENOEXEC:
        return ERROR_BAD_EXE_FORMAT; // never handed to a shell instead
    default:
        return ERROR_INVALID_PARAMETER;
    }
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::vector<std::string> ArgumentsOf(const std::string& program, const char* commandLine) {
    if (!commandLine || !*commandLine)
        return {program};
    const std::string_view line = commandLine;
    if (!program.empty() && line.starts_with(program) &&
        (line.size() == program.size() || IsBlank(line[program.size()]))) {
        std::vector<std::string> args{program};
        for (std::string& arg : kw::shell::SplitCommandLine(line.substr(program.size())))
            args.push_back(std::move(arg));
        return args;
    }
    std::vector<std::string> args = kw::shell::SplitCommandLine(line);
    if (args.empty())
        args.push_back(program);
    return args;
}

std::string Absolute(const std::string& path) {
    if (path.empty() || path[0] == '/')
        return path;
    char cwd[PATH_MAX];
    if (!::getcwd(cwd, sizeof cwd))
        return path;
    return std::string(cwd) + "/" + path;
}

} // namespace

DWORD GetLastError() {
    return t_lastError;
}

BOOL CreateProcessA(const char* applicationName, char* commandLine, SECURITY_ATTRIBUTES*,
                    SECURITY_ATTRIBUTES*, BOOL, DWORD, void* environment,
                    const char* currentDirectory, STARTUPINFOA*,
                    PROCESS_INFORMATION* processInformation) {
    std::string program;
    if (applicationName && *applicationName)
        program = applicationName;
    else if (commandLine) {
        const std::vector<std::string> words = kw::shell::SplitCommandLine(commandLine);
        if (!words.empty())
            program = words[0];
    }
    if (program.empty()) {
        t_lastError = ERROR_INVALID_PARAMETER;
        return FALSE;
    }
    const std::vector<std::string> args = ArgumentsOf(program, commandLine);
    if (currentDirectory && *currentDirectory) {
        struct stat st {};
        if (::stat(currentDirectory, &st) != 0 || !S_ISDIR(st.st_mode)) {
            t_lastError = ERROR_DIRECTORY;
            return FALSE;
        }
    }
    // The working directory changes before the program is looked up.
    const std::string path = Absolute(program);

    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    if (environment) {
        for (char* p = static_cast<char*>(environment); *p; p += std::strlen(p) + 1)
            envp.push_back(p);
        envp.push_back(nullptr);
    }

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    if (currentDirectory && *currentDirectory)
        posix_spawn_file_actions_addchdir_np(&actions, currentDirectory);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, path.c_str(), &actions, &attributes, argv.data(),
                                    environment ? envp.data() : environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        t_lastError = ErrorFromErrno(error);
        return FALSE;
    }
    Reaper::Instance().Watch(pid);
    if (processInformation) {
        *processInformation = PROCESS_INFORMATION{};
        processInformation->dwProcessId = DWORD(pid);
        processInformation->dwThreadId = DWORD(pid);
    }
    t_lastError = 0;
    return TRUE;
}

namespace kw::shell {

std::size_t ChildrenNotYetReaped() {
    return Reaper::Instance().Pending();
}

} // namespace kw::shell

#pragma once
// A private Xvfb server for one test: started on a display number it picks
// itself (-displayfd), so that tests running at the same time never meet,
// and ended with the test. Tests always use their own server, even when
// $DISPLAY is set, so that they never move a developer's pointer.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kw::test {

class XvfbServer {
public:
    XvfbServer() { Start(); }
    ~XvfbServer() { Stop(SIGTERM); }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    bool IsRunning() const { return m_pid > 0; }
    // ":N", empty when the server did not start.
    const std::string& Name() const { return m_name; }
    const std::string& Error() const { return m_error; }

    // Ends the server at once, as a crash or a kill would.
    void Kill() { Stop(SIGKILL); }

private:
    void Start() {
        int fds[2];
        if (pipe(fds) != 0) {
            m_error = "pipe failed";
            return;
        }
        fcntl(fds[0], F_SETFD, FD_CLOEXEC);
        const std::string fd = std::to_string(fds[1]);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const char* argv[] = {"Xvfb",        "-displayfd", fd.c_str(), "-screen", "0",
                              "1024x768x24", "-nolisten",  "tcp",      nullptr};
        const int rc = posix_spawnp(&m_pid, "Xvfb", &actions, nullptr,
                                    const_cast<char* const*>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        if (rc != 0) {
            m_pid = 0;
            m_error = "Xvfb cannot be started (is the xvfb package installed?)";
            close(fds[0]);
            return;
        }
        // The server writes its display number once it accepts clients.
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        char c = 0;
        while (poll(&p, 1, 15000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (number.empty()) {
            m_error = "Xvfb did not report a display";
            Stop(SIGKILL);
            return;
        }
        m_name = ":" + number;
    }

    void Stop(int signal) {
        if (m_pid <= 0)
            return;
        kill(m_pid, signal);
        int status = 0;
        while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        m_pid = 0;
    }

    pid_t m_pid{0};
    std::string m_name;
    std::string m_error;
};

} // namespace kw::test

#pragma once
// Starting programs, as the launcher needs it, over posix_spawn:
// - the application name is executed directly, never through a shell; a
//   relative name is taken from the caller's current directory;
// - when the command line starts with the application name and a blank,
//   the name is the first argument whole (blanks in it included) and the
//   rest of the line is split by the platform's command-line rules
//   (CommandLine.h); otherwise the whole line is split by those rules;
// - the child inherits no descriptor above standard error, starts in the
//   given working directory (the caller's when none is given), with the
//   given environment (the caller's when none), default signal handling and
//   an empty signal mask;
// - nobody waits for the child, yet none is left a zombie: a reaper collects
//   each child this process started, by its own id, so a host that waits for
//   its own children is not disturbed (and one that reaps every child
//   leaves the reaper nothing to do).
#include "platform/user/UserTypes.h"

#include <cstddef>

using HANDLE = void*;

struct SECURITY_ATTRIBUTES;

struct STARTUPINFOA {
    DWORD cb{0};
    char* lpReserved{nullptr};
    char* lpDesktop{nullptr};
    char* lpTitle{nullptr};
    DWORD dwX{0}, dwY{0}, dwXSize{0}, dwYSize{0};
    DWORD dwXCountChars{0}, dwYCountChars{0};
    DWORD dwFillAttribute{0};
    DWORD dwFlags{0};
    WORD wShowWindow{0};
    WORD cbReserved2{0};
    BYTE* lpReserved2{nullptr};
    HANDLE hStdInput{nullptr};
    HANDLE hStdOutput{nullptr};
    HANDLE hStdError{nullptr};
};

// No handles are handed out: the reaper owns the child. The ids are the
// child's process id.
struct PROCESS_INFORMATION {
    HANDLE hProcess{nullptr};
    HANDLE hThread{nullptr};
    DWORD dwProcessId{0};
    DWORD dwThreadId{0};
};

constexpr DWORD NORMAL_PRIORITY_CLASS = 0x00000020;
constexpr DWORD CREATE_DEFAULT_ERROR_MODE = 0x04000000;

constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_BAD_EXE_FORMAT = 193;
constexpr DWORD ERROR_DIRECTORY = 267;

// `environment` is a block of "NAME=value" strings, each ended by a zero
// and the block by a second zero, or null for the caller's environment.
// Security attributes, inherit-handles and the creation flags are accepted
// and have no effect here: nothing is ever inherited. FALSE with the
// reason in GetLastError when the program did not start.
BOOL CreateProcessA(const char* applicationName, char* commandLine,
                    SECURITY_ATTRIBUTES* processAttributes, SECURITY_ATTRIBUTES* threadAttributes,
                    BOOL inheritHandles, DWORD creationFlags, void* environment,
                    const char* currentDirectory, STARTUPINFOA* startupInfo,
                    PROCESS_INFORMATION* processInformation);

DWORD GetLastError();

namespace kw::shell {

// Children started here that the reaper has not collected yet.
std::size_t ChildrenNotYetReaped();

} // namespace kw::shell

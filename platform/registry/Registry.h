#pragma once
// The registry: the Reg* subset the system needs, over two hives
// (HKEY_CLASSES_ROOT and HKEY_CURRENT_USER) kept as REGEDIT4 text files under
// one root folder. Names and values follow the platform's ANSI interface:
// key and value names are matched without regard to letter case, strings are
// the caller's 8-bit text, and every call answers with a Win32 error code.
//
// Every call that changes a hive is durable when it returns: the hive file is
// rewritten atomically (temporary file, fsync, rename, fsync of the folder)
// under a lock shared with every other process. A hive file that cannot be
// parsed is reported as ERROR_REGISTRY_CORRUPT and left exactly as it is
// (RegEdit4.h says what the file may hold); so is a file that cannot be read
// (ERROR_CANTREAD). While a hive is in that state no change is made to it.
//
// A handle names a hive and a key path. Every call checks it first: a null,
// closed or unknown handle gives ERROR_INVALID_HANDLE and is never followed
// (only a closed handle whose address a newer handle has since received
// names that newer handle's key).
// When the key a handle names has been deleted (through another handle or by
// another process), calls through it give ERROR_KEY_DELETED until a key of
// that path exists again. Key paths are backslash-separated names of 1..255
// bytes without control characters, at most 512 deep; value names are up to
// 16383 bytes without control characters. Other paths and names give
// ERROR_INVALID_PARAMETER, as do missing output pointers.
//
// Access is checked as the platform does: a handle answers only the rights
// it was opened with (the predefined roots have all of them). Querying a
// value or enumerating values needs KEY_QUERY_VALUE, enumerating subkeys
// KEY_ENUMERATE_SUB_KEYS, setting or deleting a value KEY_SET_VALUE,
// creating a subkey KEY_CREATE_SUB_KEY, deleting keys any of the write
// rights; otherwise ERROR_ACCESS_DENIED. Opening a key does not depend on the
// rights of the handle it is opened from.
//
// The hive files cannot be opened or created: ERROR_CANTOPEN; the new file
// cannot be written: ERROR_CANTWRITE, with the old one left in place.
#include "platform/base/WinTypes.h"

#include <string>
#include <string_view>

struct RegKeyObject;
using HKEY = RegKeyObject*;

// The two predefined roots. They are never closed and never null.
extern const HKEY HKEY_CLASSES_ROOT;
extern const HKEY HKEY_CURRENT_USER;

using REGSAM = DWORD;
constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;

constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_OUTOFMEMORY = 14;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_NO_MORE_ITEMS = 259;
constexpr LONG ERROR_CANTOPEN = 1011;
constexpr LONG ERROR_CANTREAD = 1012;
constexpr LONG ERROR_CANTWRITE = 1013;
constexpr LONG ERROR_REGISTRY_CORRUPT = 1015;
constexpr LONG ERROR_KEY_DELETED = 1018;
constexpr LONG ERROR_UNSUPPORTED_TYPE = 1630;

// Opens or creates `subKey` (backslash-separated path, empty = hKey itself),
// creating any missing key on the way. *phkResult is null after a failure.
LONG RegCreateKeyExA(HKEY hKey, std::string_view subKey, REGSAM samDesired, HKEY* phkResult,
                     DWORD* lpdwDisposition = nullptr);
// ERROR_FILE_NOT_FOUND when the key does not exist.
LONG RegOpenKeyExA(HKEY hKey, std::string_view subKey, REGSAM samDesired, HKEY* phkResult);
// Closing a predefined root does nothing and succeeds.
LONG RegCloseKey(HKEY hKey);

// Empty `valueName` is the key's default value. Any type code is kept with
// the bytes as given, except that REG_SZ and REG_EXPAND_SZ data not ending in
// a zero byte get one, so that they always read back terminated. lpData may
// be null only when cbData is 0.
LONG RegSetValueExA(HKEY hKey, std::string_view valueName, DWORD dwType, const BYTE* lpData,
                    DWORD cbData);
// As on the platform: `lpData` may be null to ask for the size; a buffer too
// small gives ERROR_MORE_DATA with *lpcbData set to the size needed. REG_SZ
// data come back with their terminating zero counted. lpData without
// lpcbData is ERROR_INVALID_PARAMETER; a missing value ERROR_FILE_NOT_FOUND.
LONG RegQueryValueExA(HKEY hKey, std::string_view valueName, DWORD* lpType, BYTE* lpData,
                      DWORD* lpcbData);
LONG RegDeleteValueA(HKEY hKey, std::string_view valueName);
// Deletes `subKey` with everything below it; `subKey` empty deletes the
// subkeys and values of hKey itself.
LONG RegDeleteTreeA(HKEY hKey, std::string_view subKey);
// Deletes a key that has no subkeys (ERROR_ACCESS_DENIED if it has some);
// `subKey` empty deletes hKey's own key. A predefined root is never deleted
// (ERROR_ACCESS_DENIED).
LONG RegDeleteKeyA(HKEY hKey, std::string_view subKey);

// Enumeration by index, ERROR_NO_MORE_ITEMS past the end. Subkeys come in
// case-insensitive name order; values in the order they were first set.
// `data` receives the value's bytes exactly as RegQueryValueExA gives them
// (REG_SZ with its terminating zero).
LONG RegEnumKeyExA(HKEY hKey, DWORD dwIndex, std::string* name);
LONG RegEnumValueA(HKEY hKey, DWORD dwIndex, std::string* name, DWORD* lpType = nullptr,
                   std::string* data = nullptr);

// Convenience for the common cases (our own, not the platform's).
// RegSetStringValue creates `subKey` when missing (empty: hKey itself) and
// sets a REG_SZ value, as one change of the hive file. RegGetStringValue
// reads a REG_SZ or REG_EXPAND_SZ value (not expanded) up to its first zero
// byte; another type gives ERROR_UNSUPPORTED_TYPE.
LONG RegSetStringValue(HKEY hKey, std::string_view subKey, std::string_view valueName,
                       std::string_view value);
LONG RegGetStringValue(HKEY hKey, std::string_view subKey, std::string_view valueName,
                       std::string* value);

namespace kw::registry {

// The folder holding the hive files: $KW_REGISTRY_DIR when set, otherwise
// $XDG_CONFIG_HOME/kestrowidge/registry when that is an absolute path,
// otherwise ~/.config/kestrowidge/registry ($HOME, or the home folder of the
// user's account). Read at each call, so a test may point it elsewhere. It is
// created (mode 0700) by the first change; reads never create it.
std::string RootDirectory();

// Holds the lock of a hive and defers its rewrite until the batch ends, so
// that many changes (a module's whole registration) cost one atomic write
// and are seen by other processes all at once. `root` is any handle into the
// hive. Nested batches join the outermost one. Failures inside a batch are
// reported by the calls themselves; Commit() reports a failure of the final
// write (or the hive's ERROR_REGISTRY_CORRUPT, or ERROR_INVALID_HANDLE for a
// bad `root`); an inner batch's Commit() writes nothing and succeeds. The
// destructor commits a batch that was not committed, since every call inside
// it has already reported success; a second Commit() does nothing.
//
// A batch belongs to the thread that made it: other threads' calls on the
// same hive wait until it ends, and other processes' calls wait too. A
// process forked while a batch is open must not use the registry before it
// calls exec (it inherits the batch's held lock). Inside a batch, use only
// the batch's hive: two processes each in a batch on a different hive and
// each calling into the other's hive would wait on each other for ever.
class Batch {
public:
    explicit Batch(HKEY root);
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;
    [[nodiscard]] LONG Commit();

private:
    HKEY m_root;
    bool m_done{false};
};

} // namespace kw::registry

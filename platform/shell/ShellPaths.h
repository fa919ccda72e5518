#pragma once
// Paths as the platform's C library and shell give them: the temporary
// directory and splitting a path into its parts and joining them again.
// On this system a path has no drive; "/" separates folders.
#include "platform/user/UserTypes.h"

constexpr int MAX_PATH = 260;
constexpr int _MAX_PATH = 260;
constexpr int _MAX_DRIVE = 3;
constexpr int _MAX_DIR = 256;
constexpr int _MAX_FNAME = 256;
constexpr int _MAX_EXT = 256;

// The temporary directory with its trailing separator: $TMPDIR, else /tmp.
// Writes at most `bufferLength` characters with the terminating zero and
// answers the length written; when the buffer is too small, the length
// needed (with the zero) and nothing written. 0 on failure.
DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer);

// Splits `path` into drive (always empty here), folder (up to and with the
// last separator), file name (without its extension) and extension (from
// the last dot of the last part, with the dot). Null outputs are skipped;
// each part is cut to its _MAX_ size.
void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext);
// Joins the parts: the folder gets a separator if it lacks one, the
// extension a dot. `path` holds _MAX_PATH characters; a longer result is cut.
void _makepath(char* path, const char* drive, const char* dir, const char* fname, const char* ext);

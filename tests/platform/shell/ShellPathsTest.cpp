// The temporary directory and splitting and joining paths.
#include "platform/shell/ShellPaths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Sets or clears TMPDIR for one test and puts the old value back.
class TmpDirScope {
public:
    explicit TmpDirScope(const char* value) {
        if (const char* old = std::getenv("TMPDIR"))
            m_old = old, m_had = true;
        if (value)
            ::setenv("TMPDIR", value, 1);
        else
            ::unsetenv("TMPDIR");
    }
    ~TmpDirScope() {
        if (m_had)
            ::setenv("TMPDIR", m_old.c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    }

private:
    std::string m_old;
    bool m_had{false};
};

std::string TempPath() {
    char buffer[MAX_PATH];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    const DWORD n = GetTempPathA(MAX_PATH, buffer);
    EXPECT_EQ(n, std::string(buffer).size());
    return buffer;
}

} // namespace

TEST(ShellPaths, TheTemporaryDirectoryEndsWithItsSeparator) {
    {
        TmpDirScope scope(nullptr);
        EXPECT_EQ(TempPath(), "/tmp/");
    }
    {
        TmpDirScope scope("/var/tmp/job 7");
        EXPECT_EQ(TempPath(), "/var/tmp/job 7/");
    }
    {
        TmpDirScope scope("/srv/t/");
        EXPECT_EQ(TempPath(), "/srv/t/");
    }
    {
        TmpDirScope scope("");
        EXPECT_EQ(TempPath(), "/tmp/");
    }
}

TEST(ShellPaths, ASmallBufferGetsTheLengthNeededAndNothingWritten) {
    TmpDirScope scope("/var/tmp");
    char buffer[5] = {'#', '#', '#', '#', '#'};
    EXPECT_EQ(GetTempPathA(5, buffer), 10u) << "/var/tmp/ and its zero";
    EXPECT_EQ(buffer[0], '#');
    char exact[10];
    EXPECT_EQ(GetTempPathA(9, exact), 10u) << "nine characters need ten bytes";
    EXPECT_EQ(GetTempPathA(10, exact), 9u);
    EXPECT_STREQ(exact, "/var/tmp/");
}

TEST(ShellPaths, SplittingAndJoiningGiveThePathBack) {
    struct Case {
        const char* path;
        const char* dir;
        const char* fname;
        const char* ext;
    };
    const Case cases[] = {
        {"/usr/bin/xterm", "/usr/bin/", "xterm", ""},
        {"/opt/cam tool/run me.sh", "/opt/cam tool/", "run me", ".sh"},
        {"prog", "", "prog", ""},
        {"./a.b/c", "./a.b/", "c", ""},
        {"/x/archive.tar.gz", "/x/", "archive.tar", ".gz"},
        {"/x/.hidden", "/x/", "", ".hidden"},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        char drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];
        _splitpath(c.path, drive, dir, fname, ext);
        EXPECT_STREQ(drive, "") << c.path;
        EXPECT_STREQ(dir, c.dir) << c.path;
        EXPECT_STREQ(fname, c.fname) << c.path;
        EXPECT_STREQ(ext, c.ext) << c.path;
        char joined[_MAX_PATH];
        _makepath(joined, drive, dir, fname, ext);
        EXPECT_STREQ(joined, c.path);
    }
}

TEST(ShellPaths, MakepathAddsTheSeparatorAndTheDot) {
    char joined[_MAX_PATH];
    _makepath(joined, nullptr, "/usr/bin", "env", "sh");
    EXPECT_STREQ(joined, "/usr/bin/env.sh");
    const std::string longName(400, 'n');
    _makepath(joined, nullptr, "/d/", longName.c_str(), nullptr);
    EXPECT_EQ(std::string(joined).size(), std::size_t(_MAX_PATH - 1)) << "cut, never overrun";
}

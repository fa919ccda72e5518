#pragma once
// Points the user's numeric locale at German for as long as it lives,
// compiling the locale into a folder of its own when the system does not have
// it. The C library's numeric locale stays "C"; what changes is the user's
// choice that a field switches to while it formats.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

class GermanNumericLocale {
public:
    GermanNumericLocale() {
        Save("LC_ALL", m_lcAll);
        Save("LC_NUMERIC", m_lcNumeric);
        Save("LOCPATH", m_locPath);
        ::unsetenv("LC_ALL");
        if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
            std::string pattern =
                (std::filesystem::temp_directory_path() / "kw-locale-XXXXXX").string();
            if (::mkdtemp(pattern.data()) == nullptr)
                return;
            m_folder = pattern;
            const std::string command =
                "localedef -i de_DE -f UTF-8 '" + m_folder + "/de_DE.UTF-8' >/dev/null 2>&1";
            m_localedefStatus = std::system(command.c_str());
            ::setenv("LOCPATH", m_folder.c_str(), 1);
            if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
                return;
        }
        std::setlocale(LC_NUMERIC, "C");
        ::setenv("LC_NUMERIC", "de_DE.UTF-8", 1);
        m_available = true;
    }
    ~GermanNumericLocale() {
        std::setlocale(LC_NUMERIC, "C");
        Restore("LC_ALL", m_lcAll);
        Restore("LC_NUMERIC", m_lcNumeric);
        Restore("LOCPATH", m_locPath);
        if (!m_folder.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(m_folder, ignored);
        }
    }
    GermanNumericLocale(const GermanNumericLocale&) = delete;
    GermanNumericLocale& operator=(const GermanNumericLocale&) = delete;

    bool Available() const { return m_available; }
    int LocaledefStatus() const { return m_localedefStatus; }

private:
    static void Save(const char* name, std::optional<std::string>& slot) {
        if (const char* value = std::getenv(name))
            slot = value;
    }
    static void Restore(const char* name, const std::optional<std::string>& slot) {
        if (slot)
            ::setenv(name, slot->c_str(), 1);
        else
            ::unsetenv(name);
    }

    std::optional<std::string> m_lcAll, m_lcNumeric, m_locPath;
    std::string m_folder;
    int m_localedefStatus{0};
    bool m_available{false};
};

// A test with the German numeric locale as the user's; skipped where the
// locale cannot be had.
class GermanUserLocale : public ::testing::Test {
protected:
    void SetUp() override {
        m_locale.emplace();
        if (!m_locale->Available())
            GTEST_SKIP() << "no German locale, localedef gave " << m_locale->LocaledefStatus();
    }
    void TearDown() override { m_locale.reset(); }

    std::optional<GermanNumericLocale> m_locale;
};

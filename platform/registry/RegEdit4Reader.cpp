#include "platform/registry/RegEdit4.h"

#include "platform/registry/Registry.h"

#include <optional>

namespace kw::registry {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads a file line by line and each line character by character.
class Reader {
public:
    Reader(std::string_view text, std::string_view rootName, HiveKey* hive)
        : m_text(text), m_rootName(rootName), m_root(hive) {}

    bool Run(ParseError* error);

private:
    bool NextLine();
    bool AtEnd() const { return m_col >= m_line.size(); }
    char Peek() const { return m_line[m_col]; }
    void SkipBlanks() {
        while (!AtEnd() && IsBlank(Peek()))
            ++m_col;
    }
    bool RestIsBlank() {
        SkipBlanks();
        return AtEnd();
    }
    bool Fail(std::string reason) {
        m_reason = std::move(reason);
        return false;
    }

    bool ReadSection();
    bool ReadValue();
    std::optional<std::string> ReadQuoted();
    bool ReadHexList(std::string* bytes);

    std::string_view m_text;
    std::string_view m_rootName;
    HiveKey* m_root;
    HiveKey* m_current{nullptr};
    std::size_t m_next{0};
    std::size_t m_lineNumber{0};
    std::string_view m_line;
    std::size_t m_col{0};
    std::string m_reason;
};

bool Reader::NextLine() {
    if (m_next >= m_text.size())
        return false;
    std::size_t end = m_text.find('\n', m_next);
    if (end == std::string_view::npos)
        end = m_text.size();
    m_line = m_text.substr(m_next, end - m_next);
    if (!m_line.empty() && m_line.back() == '\r')
        m_line.remove_suffix(1);
    m_next = end + 1;
    m_col = 0;
    ++m_lineNumber;
    return true;
}

bool Reader::Run(ParseError* error) {
    bool ok = [&] {
        if (!NextLine() || m_line != "REGEDIT4")
            return Fail("the file does not start with REGEDIT4");
        while (NextLine()) {
            SkipBlanks();
            if (AtEnd() || Peek() == ';')
                continue;
            if (Peek() == '[') {
                if (!ReadSection())
                    return false;
            } else if (Peek() == '"' || Peek() == '@') {
                if (!ReadValue())
                    return false;
            } else {
                return Fail("neither a section nor a value");
            }
        }
        return true;
    }();
    if (!ok && error) {
        error->line = m_lineNumber == 0 ? 1 : m_lineNumber; // an empty file fails on line 1
        error->reason = m_reason;
    }
    return ok;
}

bool Reader::ReadSection() {
    std::string_view line = m_line.substr(m_col);
    while (!line.empty() && IsBlank(line.back()))
        line.remove_suffix(1);
    if (line.size() < 2 || line.back() != ']')
        return Fail("a section without its closing ']'");
    std::string_view path = line.substr(1, line.size() - 2);
    if (!path.empty() && path.front() == '-')
        return Fail("a key deletion, which a hive file cannot hold");
    std::size_t slash = path.find('\\');
    std::string_view root = path.substr(0, slash);
    if (!NamesEqual(root, m_rootName))
        return Fail("a section outside " + std::string(m_rootName));
    HiveKey* key = m_root;
    if (slash != std::string_view::npos) {
        std::vector<std::string> names;
        std::string_view below = path.substr(slash + 1);
        if (below.empty() || !SplitKeyPath(below, &names))
            return Fail("a key path with an empty, overlong or invalid name, or too deep");
        for (const std::string& name : names) {
            bool created = false;
            key = &key->CreateSubKey(name, &created);
        }
    }
    m_current = key;
    return true;
}

std::optional<std::string> Reader::ReadQuoted() {
    // At the opening quote.
    ++m_col;
    std::string text;
    while (!AtEnd()) {
        char c = m_line[m_col++];
        if (c == '"')
            return text;
        if (c == '\\') {
            if (AtEnd() || (Peek() != '\\' && Peek() != '"')) {
                Fail("an escape other than \\\\ and \\\"");
                return std::nullopt;
            }
            c = m_line[m_col++];
        }
        text.push_back(c);
    }
    Fail("an unterminated string");
    return std::nullopt;
}

bool Reader::ReadHexList(std::string* bytes) {
    SkipBlanks();
    if (AtEnd())
        return true;
    while (true) {
        if (m_col + 1 >= m_line.size())
            return Fail("a hex byte that is not two hex digits");
        int high = HexDigit(m_line[m_col]);
        int low = HexDigit(m_line[m_col + 1]);
        if (high < 0 || low < 0)
            return Fail("a hex byte that is not two hex digits");
        bytes->push_back(static_cast<char>(high << 4 | low));
        m_col += 2;
        SkipBlanks();
        if (AtEnd())
            return true;
        if (Peek() != ',')
            return Fail("hex bytes not separated by commas");
        ++m_col;
        SkipBlanks();
        if (!AtEnd() && Peek() == '\\') {
            ++m_col;
            if (!RestIsBlank())
                return Fail("text after a line continuation");
            if (!NextLine())
                return Fail("a line continuation at the end of the file");
            SkipBlanks();
        }
    }
}

bool Reader::ReadValue() {
    if (!m_current)
        return Fail("a value before the first section");
    std::string name;
    if (Peek() == '@') {
        ++m_col;
    } else {
        auto quoted = ReadQuoted();
        if (!quoted)
            return false;
        name = std::move(*quoted);
        if (!IsValidValueName(name))
            return Fail("a value name that is too long or holds control characters");
    }
    SkipBlanks();
    if (AtEnd() || Peek() != '=')
        return Fail("a value name without '='");
    ++m_col;
    SkipBlanks();
    std::string_view rest = m_line.substr(m_col);

    DWORD type = REG_NONE;
    std::string data;
    if (rest.starts_with('"')) {
        auto quoted = ReadQuoted();
        if (!quoted)
            return false;
        type = REG_SZ;
        data = std::move(*quoted);
        data.push_back('\0');
    } else if (rest.starts_with("dword:")) {
        m_col += 6;
        if (m_line.size() - m_col < 8)
            return Fail("dword: without eight hex digits");
        DWORD number = 0;
        for (int i = 0; i < 8; ++i) {
            int digit = HexDigit(m_line[m_col++]);
            if (digit < 0)
                return Fail("dword: without eight hex digits");
            number = number << 4 | static_cast<DWORD>(digit);
        }
        type = REG_DWORD;
        for (int i = 0; i < 4; ++i)
            data.push_back(static_cast<char>(number >> (8 * i) & 0xFF));
    } else if (rest.starts_with("hex:")) {
        m_col += 4;
        type = REG_BINARY;
        if (!ReadHexList(&data))
            return false;
    } else if (rest.starts_with("hex(")) {
        m_col += 4;
        int digits = 0;
        while (!AtEnd() && HexDigit(Peek()) >= 0 && digits < 9) {
            type = type << 4 | static_cast<DWORD>(HexDigit(Peek()));
            ++m_col;
            ++digits;
        }
        if (digits == 0 || digits > 8 || m_line.substr(m_col, 2) != "):")
            return Fail("hex( without a type of one to eight hex digits and \"):\"");
        m_col += 2;
        if (!ReadHexList(&data))
            return false;
    } else if (rest.starts_with('-')) {
        return Fail("a value deletion, which a hive file cannot hold");
    } else {
        return Fail("value data of an unknown form");
    }
    if (!RestIsBlank())
        return Fail("text after the value data");
    m_current->SetValue(name, type, data);
    return true;
}

} // namespace

bool ParseRegEdit4(std::string_view text, std::string_view rootName, HiveKey* hive,
                   ParseError* error) {
    hive->Clear();
    Reader reader(text, rootName, hive);
    return reader.Run(error);
}

} // namespace kw::registry

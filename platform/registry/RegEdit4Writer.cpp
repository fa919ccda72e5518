#include "platform/registry/RegEdit4.h"

#include "platform/registry/Registry.h"

namespace kw::registry {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";
// Hex lists are broken so that no line, its trailing backslash included,
// is longer than this.
constexpr std::size_t kLineWidth = 80;

void AppendQuoted(std::string& out, std::string_view text) {
    out.push_back('"');
    for (char c : text) {
        if (c == '\\' || c == '"')
            out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
}

// True when REG_SZ data can be written as a quoted string and read back to
// the same bytes: printable bytes followed by exactly one terminating zero.
bool IsQuotableString(std::string_view data) {
    if (data.empty() || data.back() != '\0')
        return false;
    data.remove_suffix(1);
    for (char c : data) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return false;
    }
    return true;
}

void AppendHexList(std::string& out, std::size_t lineStart, std::string_view bytes) {
    std::size_t column = out.size() - lineStart;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) {
            out.push_back(',');
            ++column;
            // Room for two digits, a comma and the continuation backslash.
            if (column + 4 > kLineWidth) {
                out += "\\\n  ";
                column = 2;
            }
        }
        auto byte = static_cast<unsigned char>(bytes[i]);
        out.push_back(kHexDigits[byte >> 4]);
        out.push_back(kHexDigits[byte & 0x0F]);
        column += 2;
    }
}

void AppendValue(std::string& out, const HiveValue& value) {
    std::size_t lineStart = out.size();
    if (value.name.empty())
        out.push_back('@');
    else
        AppendQuoted(out, value.name);
    out.push_back('=');
    if (value.type == REG_SZ && IsQuotableString(value.data)) {
        AppendQuoted(out, std::string_view(value.data).substr(0, value.data.size() - 1));
    } else if (value.type == REG_DWORD && value.data.size() == 4) {
        DWORD number = 0;
        for (int i = 3; i >= 0; --i)
            number = number << 8 | static_cast<unsigned char>(value.data[i]);
        out += "dword:";
        for (int shift = 28; shift >= 0; shift -= 4)
            out.push_back(kHexDigits[number >> shift & 0x0F]);
    } else {
        if (value.type == REG_BINARY) {
            out += "hex:";
        } else {
            out += "hex(";
            bool started = false;
            for (int shift = 28; shift >= 0; shift -= 4) {
                unsigned digit = value.type >> shift & 0x0F;
                if (digit != 0 || started || shift == 0) {
                    out.push_back(kHexDigits[digit]);
                    started = true;
                }
            }
            out += "):";
        }
        AppendHexList(out, lineStart, value.data);
    }
    out.push_back('\n');
}

void AppendSection(std::string& out, std::string_view path, const HiveKey& key) {
    out.push_back('[');
    out += path;
    out += "]\n";
    for (const HiveValue& value : key.Values())
        AppendValue(out, value);
    out.push_back('\n');
}

void AppendSubKeys(std::string& out, std::string& path, const HiveKey& key) {
    for (const auto& [name, subKey] : key.SubKeys()) {
        std::size_t length = path.size();
        path.push_back('\\');
        path += name;
        AppendSection(out, path, *subKey);
        AppendSubKeys(out, path, *subKey);
        path.resize(length);
    }
}

} // namespace

std::string WriteRegEdit4(const HiveKey& hive, std::string_view rootName) {
    std::string out = "REGEDIT4\n\n";
    std::string path(rootName);
    if (!hive.Values().empty())
        AppendSection(out, path, hive);
    AppendSubKeys(out, path, hive);
    return out;
}

} // namespace kw::registry

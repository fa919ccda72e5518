#include "platform/registry/KeyName.h"

namespace kw::registry {

unsigned char FoldNameByte(unsigned char byte) {
    if (byte >= 'a' && byte <= 'z')
        return static_cast<unsigned char>(byte - 'a' + 'A');
    // à..þ except ÷ (0xF7) pair with À..Þ.
    if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7)
        return static_cast<unsigned char>(byte - 0x20);
    switch (byte) {
    case 0x9A: // š
        return 0x8A;
    case 0x9C: // œ
        return 0x8C;
    case 0x9E: // ž
        return 0x8E;
    case 0xFF: // ÿ
        return 0x9F;
    default:
        return byte;
    }
}

int CompareNames(std::string_view a, std::string_view b) {
    std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char ca = FoldNameByte(static_cast<unsigned char>(a[i]));
        unsigned char cb = FoldNameByte(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

namespace {

bool HasControlCharacter(std::string_view text) {
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return true;
    }
    return false;
}

} // namespace

bool IsValidKeyName(std::string_view name) {
    return !name.empty() && name.size() <= kMaxKeyNameLength &&
           name.find('\\') == std::string_view::npos && !HasControlCharacter(name);
}

bool IsValidValueName(std::string_view name) {
    return name.size() <= kMaxValueNameLength && !HasControlCharacter(name);
}

bool SplitKeyPath(std::string_view path, std::vector<std::string>* names) {
    names->clear();
    if (path.empty())
        return true;
    std::size_t start = 0;
    while (true) {
        std::size_t end = path.find('\\', start);
        std::string_view name = path.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!IsValidKeyName(name) || names->size() == kMaxKeyDepth)
            return false;
        names->emplace_back(name);
        if (end == std::string_view::npos)
            return true;
        start = end + 1;
    }
}

} // namespace kw::registry

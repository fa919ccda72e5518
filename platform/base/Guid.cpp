#include "platform/base/Guid.h"

#include <cstdio>

std::string StringFromGuid(const GUID& g) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1],
                  g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return text;
}

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads `digits` hex digits starting at `pos`.
std::optional<std::uint32_t> ReadHex(std::string_view text, std::size_t pos, int digits) {
    std::uint32_t value = 0;
    for (int i = 0; i < digits; ++i) {
        int v = HexValue(text[pos + i]);
        if (v < 0)
            return std::nullopt;
        value = value << 4 | static_cast<std::uint32_t>(v);
    }
    return value;
}

} // namespace

std::optional<GUID> GuidFromString(std::string_view text) {
    // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
    if (text.size() != 38 || text.front() != '{' || text.back() != '}' || text[9] != '-' ||
        text[14] != '-' || text[19] != '-' || text[24] != '-')
        return std::nullopt;
    GUID g;
    auto d1 = ReadHex(text, 1, 8);
    auto d2 = ReadHex(text, 10, 4);
    auto d3 = ReadHex(text, 15, 4);
    if (!d1 || !d2 || !d3)
        return std::nullopt;
    g.Data1 = *d1;
    g.Data2 = static_cast<std::uint16_t>(*d2);
    g.Data3 = static_cast<std::uint16_t>(*d3);
    static constexpr std::size_t bytePos[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) {
        auto b = ReadHex(text, bytePos[i], 2);
        if (!b)
            return std::nullopt;
        g.Data4[i] = static_cast<std::uint8_t>(*b);
    }
    return g;
}

std::size_t GuidHash::operator()(const GUID& g) const noexcept {
    std::size_t h = g.Data1;
    h = h * 1000003u ^ g.Data2;
    h = h * 1000003u ^ g.Data3;
    for (auto b : g.Data4)
        h = h * 1000003u ^ b;
    return h;
}

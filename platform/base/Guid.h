#pragma once
// Globally unique identifiers in the platform's layout and registry text form.
#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct GUID {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::array<std::uint8_t, 8> Data4{};

    auto operator<=>(const GUID&) const = default;
};

using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;
using REFGUID = const GUID&;

constexpr GUID GUID_NULL{};
#define IID_NULL GUID_NULL
#define CLSID_NULL GUID_NULL

// Builds a GUID from its numeric parts at compile time.
constexpr GUID MakeGuid(std::uint32_t d1, std::uint16_t d2, std::uint16_t d3, std::uint8_t b0,
                        std::uint8_t b1, std::uint8_t b2, std::uint8_t b3, std::uint8_t b4,
                        std::uint8_t b5, std::uint8_t b6, std::uint8_t b7) {
    return GUID{d1, d2, d3, {b0, b1, b2, b3, b4, b5, b6, b7}};
}

// "{00020400-0000-0000-C000-000000000046}": upper-case hex in braces, the
// form the registry uses.
std::string StringFromGuid(const GUID& guid);

// Parses the registry form. Braces are required, hex digits in either case;
// anything else (wrong length, stray characters) gives nothing.
std::optional<GUID> GuidFromString(std::string_view text);

struct GuidHash {
    std::size_t operator()(const GUID& guid) const noexcept;
};

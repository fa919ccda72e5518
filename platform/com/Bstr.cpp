#include "platform/com/Bstr.h"

#include "platform/base/Windows1252.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace {

// The byte count sits in the four bytes before the characters.
UINT* Header(BSTR bstr) {
    return reinterpret_cast<UINT*>(bstr) - 1;
}

} // namespace

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
    if (length > std::numeric_limits<UINT>::max() - sizeof(UINT) - 1)
        return nullptr;
    // malloc keeps the characters aligned for the length prefix.
    auto* block = static_cast<UINT*>(std::malloc(sizeof(UINT) + length + 1));
    if (!block)
        return nullptr;
    *block = length;
    auto* chars = reinterpret_cast<OLECHAR*>(block + 1);
    if (text)
        std::memcpy(chars, text, length);
    else
        std::memset(chars, 0, length);
    chars[length] = 0;
    return chars;
}

BSTR SysAllocString(const OLECHAR* text) {
    if (!text)
        return nullptr;
    return SysAllocStringLen(text, static_cast<UINT>(std::strlen(text)));
}

BSTR SysAllocStringView(std::string_view text) {
    return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

void SysFreeString(BSTR bstr) {
    if (bstr)
        std::free(Header(bstr));
}

UINT SysStringLen(BSTR bstr) {
    return bstr ? *Header(bstr) : 0;
}
UINT SysStringByteLen(BSTR bstr) {
    return SysStringLen(bstr);
}

BOOL SysReAllocString(BSTR* pbstr, const OLECHAR* text) {
    if (!pbstr)
        return FALSE;
    BSTR copy = text ? SysAllocString(text) : nullptr;
    if (text && !copy)
        return FALSE;
    SysFreeString(*pbstr);
    *pbstr = copy;
    return TRUE;
}

std::string_view BstrView(BSTR bstr) {
    return bstr ? std::string_view(bstr, SysStringLen(bstr)) : std::string_view();
}

BSTR BstrFromAnsi(std::string_view ansi) {
    return SysAllocStringView(AnsiToUtf8(ansi));
}

std::string AnsiFromBstr(BSTR bstr) {
    return Utf8ToAnsi(BstrView(bstr));
}

CComBSTR& CComBSTR::operator=(const CComBSTR& other) {
    if (this != &other) {
        SysFreeString(m_str);
        m_str = SysAllocStringView(other.View());
    }
    return *this;
}

BSTR CComBSTR::Detach() {
    BSTR s = m_str;
    m_str = nullptr;
    return s;
}

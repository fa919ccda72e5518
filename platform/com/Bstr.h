#pragma once
// BSTR: the component model's string. Here its characters are UTF-8 bytes;
// like the platform's, a BSTR is a pointer to the first character of a
// length-prefixed, zero-terminated block, may hold zero bytes, and a null
// BSTR is the empty string.
#include "platform/base/WinTypes.h"

#include <string>
#include <string_view>

using OLECHAR = char;
using BSTR = OLECHAR*;

BSTR SysAllocString(const OLECHAR* text);
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
BSTR SysAllocStringView(std::string_view text);
void SysFreeString(BSTR bstr);
// Length in bytes (the platform counts characters; UTF-8 has bytes).
UINT SysStringLen(BSTR bstr);
UINT SysStringByteLen(BSTR bstr);
// Replaces *pbstr with a copy of text; FALSE when out of memory.
BOOL SysReAllocString(BSTR* pbstr, const OLECHAR* text);

std::string_view BstrView(BSTR bstr);

// The controls' Windows-1252 text at the boundary.
BSTR BstrFromAnsi(std::string_view ansi);
std::string AnsiFromBstr(BSTR bstr);

// Owns one BSTR.
class CComBSTR {
public:
    CComBSTR() = default;
    explicit CComBSTR(std::string_view utf8) : m_str(SysAllocStringView(utf8)) {}
    CComBSTR(const CComBSTR& other) : m_str(SysAllocStringView(BstrView(other.m_str))) {}
    CComBSTR& operator=(const CComBSTR& other);
    ~CComBSTR() { SysFreeString(m_str); }
    BSTR* operator&() { return &m_str; }
    operator BSTR() const { return m_str; }
    BSTR Detach();
    std::string_view View() const { return BstrView(m_str); }

private:
    BSTR m_str = nullptr;
};

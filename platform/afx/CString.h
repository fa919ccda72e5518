#pragma once
// The framework's string: 8-bit Windows-1252 text, as the controls hold it.
// Comparisons and case changes treat bytes as the "C" locale does; Format
// follows the C library and so the numeric locale in force.
#include "platform/com/DispatchAdapters.h"

#include <cstdarg>
#include <string>
#include <string_view>

using LPCTSTR = const char*;
using LPTSTR = char*;
using TCHAR = char;

class CString {
public:
    CString() = default;
    CString(const char* text) : m_text(text ? text : "") {}
    CString(const char* text, int length) : m_text(text ? std::string(text, Clamp(length)) : "") {}
    CString(char ch, int repeat = 1) : m_text(Clamp(repeat), ch) {}
    CString(std::string text) : m_text(std::move(text)) {}
    CString(std::string_view text) : m_text(text) {}

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    // Out-of-range indexes read as NUL and write nothing, instead of
    // corrupting memory.
    char GetAt(int index) const;
    void SetAt(int index, char ch);
    char operator[](int index) const { return GetAt(index); }
    operator LPCTSTR() const { return m_text.c_str(); }
    LPCTSTR GetString() const { return m_text.c_str(); }
    const std::string& Str() const { return m_text; }

    CString& operator=(const char* text);
    CString& operator+=(const CString& other);
    CString& operator+=(const char* text);
    CString& operator+=(char ch);
    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const char* b);
    friend CString operator+(const char* a, const CString& b);
    friend CString operator+(const CString& a, char b);
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char* b) { return a.m_text == (b ? b : ""); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }

    int Compare(const char* other) const;
    int CompareNoCase(const char* other) const;

    // Substrings clamp their arguments to the text, as the framework does.
    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    // -1 when not found.
    int Find(char ch, int start = 0) const;
    int Find(const char* sub, int start = 0) const;
    int ReverseFind(char ch) const;
    // Number of replacements made.
    int Replace(char from, char to);
    int Replace(const char* from, const char* to);
    int Remove(char ch);
    int Insert(int index, const char* text);
    int Delete(int index, int count = 1);
    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim();
    CString& MakeUpper();
    CString& MakeLower();

    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* format, va_list args);
    void AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // A writable buffer of at least `minLength` characters; ReleaseBuffer
    // takes the text up to the first NUL (or `newLength` characters).
    char* GetBuffer(int minLength);
    void ReleaseBuffer(int newLength = -1);

private:
    static std::size_t Clamp(int n) { return n > 0 ? static_cast<std::size_t>(n) : 0; }
    std::string m_text;
};

// Strings cross the dispatch boundary as UTF-8 BSTRs.
template <> struct VariantTraits<CString> {
    static constexpr VARTYPE vt = VT_BSTR;
    static CString Read(const VARIANT& v) { return CString(AnsiFromBstr(v.bstrVal)); }
    static void Write(const CString& x, VARIANT* v) {
        v->vt = VT_BSTR;
        v->bstrVal = BstrFromAnsi(x.Str());
    }
};

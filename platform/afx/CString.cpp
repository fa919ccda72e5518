#include "platform/afx/CString.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

char ToLowerC(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
char ToUpperC(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

} // namespace

char CString::GetAt(int index) const {
    return index >= 0 && index < GetLength() ? m_text[static_cast<std::size_t>(index)] : '\0';
}

void CString::SetAt(int index, char ch) {
    if (index >= 0 && index < GetLength())
        m_text[static_cast<std::size_t>(index)] = ch;
}

CString& CString::operator=(const char* text) {
    m_text = text ? text : "";
    return *this;
}
CString& CString::operator+=(const CString& other) {
    m_text += other.m_text;
    return *this;
}
CString& CString::operator+=(const char* text) {
    if (text)
        m_text += text;
    return *this;
}
CString& CString::operator+=(char ch) {
    m_text += ch;
    return *this;
}
CString operator+(const CString& a, const CString& b) {
    return CString(a.m_text + b.m_text);
}
CString operator+(const CString& a, const char* b) {
    return CString(a.m_text + (b ? b : ""));
}
CString operator+(const char* a, const CString& b) {
    return CString((a ? a : "") + b.m_text);
}
CString operator+(const CString& a, char b) {
    return CString(a.m_text + b);
}

int CString::Compare(const char* other) const {
    return std::strcmp(m_text.c_str(), other ? other : "");
}

int CString::CompareNoCase(const char* other) const {
    const char* a = m_text.c_str();
    const char* b = other ? other : "";
    for (;; ++a, ++b) {
        unsigned char ca = static_cast<unsigned char>(ToLowerC(*a));
        unsigned char cb = static_cast<unsigned char>(ToLowerC(*b));
        if (ca != cb || ca == 0)
            return ca < cb ? -1 : (ca > cb ? 1 : 0);
    }
}

CString CString::Left(int count) const {
    return CString(m_text.substr(0, Clamp(count)));
}

CString CString::Right(int count) const {
    std::size_t n = std::min(Clamp(count), m_text.size());
    return CString(m_text.substr(m_text.size() - n));
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const {
    std::size_t start = std::min(Clamp(first), m_text.size());
    return CString(m_text.substr(start, Clamp(count)));
}

int CString::Find(char ch, int start) const {
    if (start < 0 || start > GetLength())
        return -1;
    auto pos = m_text.find(ch, static_cast<std::size_t>(start));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(const char* sub, int start) const {
    if (!sub || start < 0 || start > GetLength())
        return -1;
    auto pos = m_text.find(sub, static_cast<std::size_t>(start));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(char ch) const {
    auto pos = m_text.rfind(ch);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Replace(char from, char to) {
    int count = 0;
    for (char& c : m_text)
        if (c == from) {
            c = to;
            ++count;
        }
    return count;
}

int CString::Replace(const char* from, const char* to) {
    if (!from || !*from)
        return 0;
    std::string replacement = to ? to : "";
    std::size_t length = std::strlen(from);
    int count = 0;
    std::string out;
    std::size_t pos = 0;
    for (auto hit = m_text.find(from); hit != std::string::npos; hit = m_text.find(from, pos)) {
        out.append(m_text, pos, hit - pos);
        out += replacement;
        pos = hit + length;
        ++count;
    }
    out.append(m_text, pos);
    m_text = std::move(out);
    return count;
}

int CString::Remove(char ch) {
    auto end = std::remove(m_text.begin(), m_text.end(), ch);
    int count = static_cast<int>(m_text.end() - end);
    m_text.erase(end, m_text.end());
    return count;
}

int CString::Insert(int index, const char* text) {
    std::size_t at = std::min(Clamp(index), m_text.size());
    if (text)
        m_text.insert(at, text);
    return GetLength();
}

int CString::Delete(int index, int count) {
    if (index >= 0 && index < GetLength())
        m_text.erase(static_cast<std::size_t>(index), Clamp(count));
    return GetLength();
}

CString& CString::TrimLeft() {
    auto it = std::find_if_not(m_text.begin(), m_text.end(), IsSpace);
    m_text.erase(m_text.begin(), it);
    return *this;
}

CString& CString::TrimRight() {
    while (!m_text.empty() && IsSpace(m_text.back()))
        m_text.pop_back();
    return *this;
}

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}

CString& CString::MakeUpper() {
    std::transform(m_text.begin(), m_text.end(), m_text.begin(), ToUpperC);
    return *this;
}

CString& CString::MakeLower() {
    std::transform(m_text.begin(), m_text.end(), m_text.begin(), ToLowerC);
    return *this;
}

void CString::FormatV(const char* format, va_list args) {
    if (!format) {
        m_text.clear();
        return;
    }
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed < 0) {
        m_text.clear();
        return;
    }
    std::string out(static_cast<std::size_t>(needed) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<std::size_t>(needed));
    m_text = std::move(out);
}

void CString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(const char* format, ...) {
    CString more;
    va_list args;
    va_start(args, format);
    more.FormatV(format, args);
    va_end(args);
    m_text += more.m_text;
}

char* CString::GetBuffer(int minLength) {
    if (Clamp(minLength) > m_text.size())
        m_text.resize(Clamp(minLength));
    return m_text.data();
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0)
        m_text.resize(std::strlen(m_text.c_str()));
    else
        m_text.resize(std::min(Clamp(newLength), m_text.size()));
}

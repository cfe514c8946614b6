// The class library's string: a byte string in the multibyte (UTF-8) code page.
#pragma once

#include <cstdarg>
#include <string>

class CString
{
public:
    CString() = default;
    CString(const char* s) : m_s(s ? s : "") {}
    CString(const std::string& s) : m_s(s) {}
    CString(const char* s, int n) : m_s(s ? std::string(s, static_cast<std::size_t>(n)) : std::string()) {}

    operator const char*() const { return m_s.c_str(); }
    const char* GetString() const { return m_s.c_str(); }
    const std::string& str() const { return m_s; }

    int GetLength() const { return static_cast<int>(m_s.size()); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    char GetAt(int i) const { return m_s.at(static_cast<std::size_t>(i)); }

    CString& operator=(const char* s)
    {
        m_s = s ? s : "";
        return *this;
    }
    CString& operator+=(const char* s)
    {
        m_s += s ? s : "";
        return *this;
    }
    CString& operator+=(const CString& s)
    {
        m_s += s.m_s;
        return *this;
    }
    CString& operator+=(char c)
    {
        m_s += c;
        return *this;
    }
    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_s + b.m_s); }
    friend CString operator+(const CString& a, const char* b) { return CString(a.m_s + (b ? b : "")); }
    friend CString operator+(const char* a, const CString& b) { return CString((a ? a : "") + b.m_s); }
    bool operator==(const char* s) const { return m_s == (s ? s : ""); }
    bool operator==(const CString& s) const { return m_s == s.m_s; }
    bool operator!=(const char* s) const { return !(*this == s); }
    bool operator!=(const CString& s) const { return !(*this == s); }

    int Compare(const char* s) const { return m_s.compare(s ? s : ""); }
    int Find(const char* sub, int start = 0) const
    {
        auto pos = m_s.find(sub ? sub : "", static_cast<std::size_t>(start < 0 ? 0 : start));
        return pos == std::string::npos ? -1 : static_cast<int>(pos);
    }
    int ReverseFind(char c) const
    {
        auto pos = m_s.rfind(c);
        return pos == std::string::npos ? -1 : static_cast<int>(pos);
    }
    CString Left(int n) const { return CString(m_s.substr(0, static_cast<std::size_t>(n < 0 ? 0 : n))); }
    CString Mid(int first) const
    {
        return first >= GetLength() ? CString() : CString(m_s.substr(static_cast<std::size_t>(first)));
    }
    CString Mid(int first, int n) const
    {
        return first >= GetLength() ? CString()
                                    : CString(m_s.substr(static_cast<std::size_t>(first),
                                                         static_cast<std::size_t>(n < 0 ? 0 : n)));
    }
    CString Right(int n) const
    {
        return n >= GetLength() ? *this : CString(m_s.substr(m_s.size() - static_cast<std::size_t>(n)));
    }
    // ASCII-only case mapping: multibyte characters are left untouched.
    CString& MakeUpper();
    CString& MakeLower();
    CString& TrimLeft();
    CString& TrimRight();

    void Format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* fmt, va_list args);

    // Direct buffer access: GetBuffer(n) gives room for n characters plus the terminator;
    // ReleaseBuffer() takes the length up to the first NUL.
    char* GetBuffer(int minLength);
    void ReleaseBuffer(int newLength = -1);

private:
    std::string m_s;
};

// CString formatting and buffer access.
#include "platform/wnd/String.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

CString& CString::MakeUpper()
{
    for (auto& c : m_s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return *this;
}

CString& CString::MakeLower()
{
    for (auto& c : m_s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return *this;
}

CString& CString::TrimLeft()
{
    std::size_t i = 0;
    while (i < m_s.size() && std::isspace(static_cast<unsigned char>(m_s[i])))
        ++i;
    m_s.erase(0, i);
    return *this;
}

CString& CString::TrimRight()
{
    while (!m_s.empty() && std::isspace(static_cast<unsigned char>(m_s.back())))
        m_s.pop_back();
    return *this;
}

void CString::Format(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    FormatV(fmt, args);
    va_end(args);
}

void CString::FormatV(const char* fmt, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (n < 0) {
        m_s.clear();
        return;
    }
    std::vector<char> buf(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(buf.data(), buf.size(), fmt, args);
    m_s.assign(buf.data(), static_cast<std::size_t>(n));
}

char* CString::GetBuffer(int minLength)
{
    std::size_t want = static_cast<std::size_t>(minLength < 0 ? 0 : minLength);
    if (m_s.size() < want)
        m_s.resize(want, '\0');
    return m_s.data();
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0)
        m_s.resize(std::strlen(m_s.c_str()));
    else if (static_cast<std::size_t>(newLength) <= m_s.size())
        m_s.resize(static_cast<std::size_t>(newLength));
}

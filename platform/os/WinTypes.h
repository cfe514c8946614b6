// The basic Windows types and constants the system's code is written against, mapped onto
// fixed-width C++ types so every layer agrees on their sizes.
#pragma once

#include <cstddef>
#include <cstdint>

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using COLORREF = DWORD;
using LPCSTR = const char*;
using LPSTR = char*;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;

constexpr WORD LOWORD(DWORD v)
{
    return static_cast<WORD>(v & 0xFFFF);
}
constexpr WORD HIWORD(DWORD v)
{
    return static_cast<WORD>((v >> 16) & 0xFFFF);
}
constexpr DWORD MAKELONG(WORD lo, WORD hi)
{
    return static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16);
}
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi)
{
    return MAKELONG(lo, hi);
}
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi)
{
    return static_cast<LPARAM>(MAKELONG(lo, hi));
}
constexpr short GET_X_LPARAM(LPARAM lp)
{
    return static_cast<short>(LOWORD(static_cast<DWORD>(lp)));
}
constexpr short GET_Y_LPARAM(LPARAM lp)
{
    return static_cast<short>(HIWORD(static_cast<DWORD>(lp)));
}

struct POINT
{
    LONG x;
    LONG y;
};

struct SIZE
{
    LONG cx;
    LONG cy;
};

struct RECT
{
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

// Colours are 0x00BBGGRR, as GDI keeps them.
constexpr COLORREF RGB(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr BYTE GetRValue(COLORREF c)
{
    return static_cast<BYTE>(c & 0xFF);
}
constexpr BYTE GetGValue(COLORREF c)
{
    return static_cast<BYTE>((c >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF c)
{
    return static_cast<BYTE>((c >> 16) & 0xFF);
}

// Generic handle of a kernel object.
using HANDLE = void*;

using LPRECT = RECT*;
using LPCRECT = const RECT*;
using LPPOINT = POINT*;

// Window handles are opaque; the window layer maps them to its window objects.
struct HWND__;
using HWND = HWND__*;

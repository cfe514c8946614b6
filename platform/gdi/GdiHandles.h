// Opaque handles of the drawing layer. Each names one object of the layer; the layer's
// functions (DeleteObject, DestroyIcon, DeleteDC ...) free them.
#pragma once

#include <cstdint>

struct GdiObject; // pens, brushes, fonts, bitmaps, regions
struct GdiDc;     // a device context
struct GdiIcon;   // an icon

using HGDIOBJ = GdiObject*;
using HPEN = GdiObject*;
using HBRUSH = GdiObject*;
using HFONT = GdiObject*;
using HBITMAP = GdiObject*;
using HRGN = GdiObject*;
using HDC = GdiDc*;
using HICON = GdiIcon*;
using HCURSOR = GdiIcon*;

// Module handles only select where resources come from; this program has one module. LoadImageA
// returns a generic handle that the caller casts to HBITMAP or HICON.
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
using HANDLE = void*;

#ifndef MAKEINTRESOURCE
#define MAKEINTRESOURCEA(i)                                                                                  \
    (reinterpret_cast<char*>(static_cast<std::uintptr_t>(static_cast<std::uint16_t>(i))))
#define MAKEINTRESOURCE(i) MAKEINTRESOURCEA(i)
#define IS_INTRESOURCE(p) ((reinterpret_cast<std::uintptr_t>(p) >> 16) == 0)
#endif

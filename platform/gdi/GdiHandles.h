// Opaque handles of the drawing layer. Each names one object of the layer; the layer's
// functions (DeleteObject, DestroyIcon, DeleteDC ...) free them.
#pragma once

struct GdiObject;  // pens, brushes, fonts, bitmaps, regions
struct GdiDc;      // a device context
struct GdiIcon;    // an icon

using HGDIOBJ = GdiObject*;
using HPEN = GdiObject*;
using HBRUSH = GdiObject*;
using HFONT = GdiObject*;
using HBITMAP = GdiObject*;
using HRGN = GdiObject*;
using HDC = GdiDc*;
using HICON = GdiIcon*;

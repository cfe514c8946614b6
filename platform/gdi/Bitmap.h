// CBitmap: a bitmap object.
#pragma once

#include "platform/gdi/GdiObject.h"

class CDC;

class CBitmap : public CGdiObject
{
public:
    // From the program's resources; false when there is no such bitmap.
    BOOL LoadBitmap(UINT id) { return Attach(::LoadBitmapA(nullptr, MAKEINTRESOURCEA(id))); }
    BOOL LoadBitmap(LPCSTR name) { return Attach(::LoadBitmapA(nullptr, name)); }
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
    {
        return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
    }
    int GetBitmap(BITMAP* out) const { return ::GetObjectA(m_hObject, sizeof(BITMAP), out); }
    operator HBITMAP() const { return m_hObject; }
    static CBitmap* FromHandle(HBITMAP handle) { return FromHandleAs<CBitmap>(handle); }
};

// CBrush: a brush object.
#pragma once

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/GdiObject.h"

class CBrush : public CGdiObject
{
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    CBrush(int hatch, COLORREF color) { CreateHatchBrush(hatch, color); }

    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    BOOL CreateHatchBrush(int hatch, COLORREF color) { return Attach(::CreateHatchBrush(hatch, color)); }
    BOOL CreatePatternBrush(CBitmap* bitmap)
    {
        return bitmap ? Attach(::CreatePatternBrush(bitmap->m_hObject)) : FALSE;
    }
    // The shared brush of a system colour; deleting it later is harmless.
    BOOL CreateSysColorBrush(int index) { return Attach(::GetSysColorBrush(index)); }
    int GetLogBrush(LOGBRUSH* out) const { return ::GetObjectA(m_hObject, sizeof(LOGBRUSH), out); }
    operator HBRUSH() const { return m_hObject; }
    static CBrush* FromHandle(HBRUSH handle) { return FromHandleAs<CBrush>(handle); }
};

// CPen: a pen object.
#pragma once

#include "platform/gdi/GdiObject.h"

class CPen : public CGdiObject
{
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }

    BOOL CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
    int GetLogPen(LOGPEN* out) const { return ::GetObjectA(m_hObject, sizeof(LOGPEN), out); }
    operator HPEN() const { return m_hObject; }
    static CPen* FromHandle(HPEN handle) { return FromHandleAs<CPen>(handle); }
};

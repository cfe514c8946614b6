// CRgn: a region object.
#pragma once

#include "platform/gdi/GdiObject.h"

class CRgn : public CGdiObject
{
public:
    BOOL CreateRectRgn(int left, int top, int right, int bottom)
    {
        return Attach(::CreateRectRgn(left, top, right, bottom));
    }
    BOOL CreateRectRgnIndirect(LPCRECT rect) { return Attach(::CreateRectRgnIndirect(rect)); }
    BOOL CreateEllipticRgn(int left, int top, int right, int bottom)
    {
        return Attach(::CreateEllipticRgn(left, top, right, bottom));
    }
    int CombineRgn(const CRgn* a, const CRgn* b, int mode)
    {
        return ::CombineRgn(m_hObject, a ? a->m_hObject : nullptr, b ? b->m_hObject : nullptr, mode);
    }
    int CopyRgn(const CRgn* src) { return CombineRgn(src, nullptr, RGN_COPY); }
    BOOL EqualRgn(const CRgn* other) const { return other && ::EqualRgn(m_hObject, other->m_hObject); }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion(m_hObject, x, y); }
    BOOL PtInRegion(POINT p) const { return ::PtInRegion(m_hObject, p.x, p.y); }
    BOOL RectInRegion(LPCRECT rect) const { return ::RectInRegion(m_hObject, rect); }
    int OffsetRgn(int dx, int dy) { return ::OffsetRgn(m_hObject, dx, dy); }
    int OffsetRgn(POINT p) { return ::OffsetRgn(m_hObject, p.x, p.y); }
    int GetRgnBox(LPRECT rect) const { return ::GetRgnBox(m_hObject, rect); }
    void SetRectRgn(int left, int top, int right, int bottom)
    {
        ::SetRectRgn(m_hObject, left, top, right, bottom);
    }
    void SetRectRgn(LPCRECT r) { ::SetRectRgn(m_hObject, r->left, r->top, r->right, r->bottom); }
    operator HRGN() const { return m_hObject; }
    static CRgn* FromHandle(HRGN handle) { return FromHandleAs<CRgn>(handle); }
};

// CDC and the map from DC handles to the CDC objects that stand for them.
#include "platform/gdi/Dc.h"

#include "platform/gdi/GdiPrivate.h"

#include <unordered_map>

namespace {

struct Entry
{
    CDC* dc;
    bool owned;
};

std::unordered_map<HDC, Entry>& DcWrappers()
{
    static auto* m = new std::unordered_map<HDC, Entry>; // never destroyed, like the handle map
    return *m;
}

void DropDc(HDC hdc, const CDC* onlyIf)
{
    auto& m = DcWrappers();
    auto it = m.find(hdc);
    if (it == m.end() || (onlyIf && it->second.dc != onlyIf))
        return;
    Entry e = it->second;
    m.erase(it);
    if (e.owned) {
        e.dc->m_hDC = e.dc->m_hAttribDC = nullptr;
        delete e.dc;
    }
}

template <class T> T* Select(HDC hdc, CGdiObject* obj)
{
    if (!obj)
        return nullptr;
    HGDIOBJ old = ::SelectObject(hdc, obj->m_hObject);
    return old ? T::FromHandle(old) : nullptr;
}

} // namespace

namespace gdi::detail {
void ForgetDcWrapper(HDC hdc)
{
    DropDc(hdc, nullptr);
}
} // namespace gdi::detail

CDC::~CDC()
{
    if (m_hDC)
        ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC hdc)
{
    if (!hdc)
        return nullptr;
    auto& m = DcWrappers();
    auto it = m.find(hdc);
    if (it != m.end())
        return it->second.dc;
    CDC* w = new CDC;
    w->m_hDC = w->m_hAttribDC = hdc;
    m[hdc] = Entry{w, true};
    return w;
}

BOOL CDC::Attach(HDC hdc)
{
    if (!hdc || m_hDC)
        return FALSE;
    DropDc(hdc, nullptr);
    m_hDC = m_hAttribDC = hdc;
    DcWrappers()[hdc] = Entry{this, false};
    return TRUE;
}

HDC CDC::Detach()
{
    HDC h = m_hDC;
    if (h)
        DropDc(h, this);
    m_hDC = m_hAttribDC = nullptr;
    return h;
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

BOOL CDC::CreateCompatibleDC(CDC* dc)
{
    return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr));
}

CPen* CDC::SelectObject(CPen* pen)
{
    return Select<CPen>(m_hDC, pen);
}
CBrush* CDC::SelectObject(CBrush* brush)
{
    return Select<CBrush>(m_hDC, brush);
}
CFont* CDC::SelectObject(CFont* font)
{
    return Select<CFont>(m_hDC, font);
}
CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    return Select<CBitmap>(m_hDC, bitmap);
}
int CDC::SelectObject(CRgn* rgn)
{
    return ::SelectClipRgn(m_hDC, rgn ? rgn->m_hObject : nullptr);
}

CGdiObject* CDC::SelectObject(CGdiObject* obj)
{
    if (!obj)
        return nullptr;
    if (::GetObjectType(obj->m_hObject) == OBJ_REGION) {
        ::SelectClipRgn(m_hDC, obj->m_hObject);
        return nullptr;
    }
    return Select<CGdiObject>(m_hDC, obj);
}

CGdiObject* CDC::SelectStockObject(int index)
{
    HGDIOBJ stock = ::GetStockObject(index);
    if (!stock)
        return nullptr;
    HGDIOBJ old = ::SelectObject(m_hDC, stock);
    return old ? CGdiObject::FromHandle(old) : nullptr;
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    POINT old{0, 0};
    ::SetWindowOrgEx(m_hDC, x, y, &old);
    return old;
}

CPoint CDC::OffsetWindowOrg(int dx, int dy)
{
    POINT old{0, 0};
    ::OffsetWindowOrgEx(m_hDC, dx, dy, &old);
    return old;
}

CPoint CDC::GetWindowOrg() const
{
    POINT p{0, 0};
    ::GetWindowOrgEx(m_hDC, &p);
    return p;
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT old{0, 0};
    ::SetViewportOrgEx(m_hDC, x, y, &old);
    return old;
}

CPoint CDC::OffsetViewportOrg(int dx, int dy)
{
    POINT old{0, 0};
    ::OffsetViewportOrgEx(m_hDC, dx, dy, &old);
    return old;
}

CPoint CDC::GetViewportOrg() const
{
    POINT p{0, 0};
    ::GetViewportOrgEx(m_hDC, &p);
    return p;
}

CSize CDC::SetWindowExt(int cx, int cy)
{
    SIZE old{0, 0};
    ::SetWindowExtEx(m_hDC, cx, cy, &old);
    return old;
}

CSize CDC::GetWindowExt() const
{
    SIZE s{0, 0};
    ::GetWindowExtEx(m_hDC, &s);
    return s;
}

CSize CDC::SetViewportExt(int cx, int cy)
{
    SIZE old{0, 0};
    ::SetViewportExtEx(m_hDC, cx, cy, &old);
    return old;
}

CSize CDC::GetViewportExt() const
{
    SIZE s{0, 0};
    ::GetViewportExtEx(m_hDC, &s);
    return s;
}

// Sizes scale with the extents but ignore the origins.
void CDC::LPtoDP(LPSIZE size) const
{
    const CSize we = GetWindowExt(), ve = GetViewportExt();
    if (!size || we.cx == 0 || we.cy == 0)
        return;
    size->cx = static_cast<LONG>(qint64(size->cx) * ve.cx / we.cx);
    size->cy = static_cast<LONG>(qint64(size->cy) * ve.cy / we.cy);
}

void CDC::DPtoLP(LPSIZE size) const
{
    const CSize we = GetWindowExt(), ve = GetViewportExt();
    if (!size || ve.cx == 0 || ve.cy == 0)
        return;
    size->cx = static_cast<LONG>(qint64(size->cx) * we.cx / ve.cx);
    size->cy = static_cast<LONG>(qint64(size->cy) * we.cy / ve.cy);
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT old{0, 0};
    ::MoveToEx(m_hDC, x, y, &old);
    return old;
}

CPoint CDC::GetCurrentPosition() const
{
    POINT p{0, 0};
    ::GetCurrentPositionEx(m_hDC, &p);
    return p;
}

BOOL CDC::FillRgn(CRgn* rgn, CBrush* brush)
{
    return rgn && brush && ::FillRgn(m_hDC, rgn->m_hObject, brush->m_hObject);
}

BOOL CDC::FrameRgn(CRgn* rgn, CBrush* brush, int w, int h)
{
    return rgn && brush && ::FrameRgn(m_hDC, rgn->m_hObject, brush->m_hObject, w, h);
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color)
{
    if (!rect)
        return;
    CRect r(*rect);
    r.NormalizeRect();
    ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    const CRect r(x, y, x + cx, y + cy);
    FillSolidRect(&r, color);
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight)
{
    if (rect)
        Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, topLeft,
                   bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx, y, -1, cy, bottomRight);
    FillSolidRect(x, y + cy, cx, -1, bottomRight);
}

CSize CDC::GetTextExtent(LPCSTR text, int count) const
{
    SIZE s{0, 0};
    ::GetTextExtentPoint32A(m_hDC, text, count, &s);
    return s;
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON icon, UINT flags, HBRUSH brush)
{
    return ::DrawStateA(m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(icon), 0, pt.x, pt.y, size.cx,
                        size.cy, (flags & ~0x000Fu) | DST_ICON);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON icon, UINT flags, CBrush* brush)
{
    return DrawState(pt, size, icon, flags, brush ? brush->m_hObject : static_cast<HBRUSH>(nullptr));
}

BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP bitmap, UINT flags, HBRUSH brush)
{
    return ::DrawStateA(m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, pt.x, pt.y, size.cx,
                        size.cy, (flags & ~0x000Fu) | DST_BITMAP);
}

BOOL CDC::DrawState(CPoint pt, CSize size, CBitmap* bitmap, UINT flags, CBrush* brush)
{
    return bitmap && DrawState(pt, size, static_cast<HBITMAP>(bitmap->m_hObject), flags,
                               brush ? brush->m_hObject : static_cast<HBRUSH>(nullptr));
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCSTR text, UINT flags, BOOL prefixText, int count, CBrush* brush)
{
    return ::DrawStateA(m_hDC, brush ? brush->m_hObject : nullptr, nullptr, reinterpret_cast<LPARAM>(text),
                        WPARAM(count), pt.x, pt.y, size.cx, size.cy,
                        (flags & ~0x000Fu) | (prefixText ? DST_PREFIXTEXT : DST_TEXT));
}

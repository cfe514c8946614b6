// Static text and picture painting.
#include "platform/wnd/Static.h"

#include "platform/gdi/Gdi.h"
#include "platform/wnd/PaintDC.h"

BOOL CStatic::Create(const char* text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateEx(0, "Static", text, style, rect, parent, id);
}

HBITMAP CStatic::SetBitmap(HBITMAP bitmap)
{
    return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, 0, reinterpret_cast<LPARAM>(bitmap)));
}

void CStatic::Paint()
{
    CPaintDC dc(this);
    HDC hdc = dc.GetSafeHdc();
    CRect rc;
    GetClientRect(&rc);
    const DWORD type = GetStyle() & SS_TYPEMASK;
    if (type == SS_BITMAP) {
        if (!m_hBitmap)
            return;
        BITMAP bm{};
        if (!::GetObject(m_hBitmap, sizeof(bm), &bm))
            return;
        HDC mem = ::CreateCompatibleDC(hdc);
        HGDIOBJ old = ::SelectObject(mem, m_hBitmap);
        int x = 0, y = 0;
        if (GetStyle() & SS_CENTERIMAGE) {
            x = (rc.Width() - bm.bmWidth) / 2;
            y = (rc.Height() - bm.bmHeight) / 2;
        }
        ::BitBlt(hdc, x, y, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
        ::SelectObject(mem, old);
        ::DeleteDC(mem);
        return;
    }
    // Our font first: the parent's colour answer may select another one.
    if (HFONT font = GetFontHandle())
        ::SelectObject(hdc, font);
    HBRUSH brush = nullptr;
    if (CWnd* parent = GetParent())
        brush = reinterpret_cast<HBRUSH>(parent->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                                                             reinterpret_cast<LPARAM>(m_hWnd)));
    else
        brush = GetSysColorBrush(COLOR_BTNFACE);
    if (brush)
        ::FillRect(hdc, &rc, brush);
    CString text;
    GetWindowText(text);
    UINT format = DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK;
    if (type == SS_CENTER)
        format |= DT_CENTER;
    else if (type == SS_RIGHT)
        format |= DT_RIGHT;
    if (GetStyle() & SS_CENTERIMAGE)
        format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
    if (!IsWindowEnabled())
        ::SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    ::DrawTextA(hdc, text, -1, &rc, format);
}

LRESULT CStatic::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint fills with the colour brush the parent gives
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case STM_SETIMAGE: {
        HBITMAP old = m_hBitmap;
        m_hBitmap = reinterpret_cast<HBITMAP>(lParam);
        Invalidate();
        return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETIMAGE:
        return reinterpret_cast<LRESULT>(m_hBitmap);
    case WM_LBUTTONDOWN:
        if ((GetStyle() & SS_NOTIFY) && GetParent())
            GetParent()->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), STN_CLICKED),
                                     reinterpret_cast<LPARAM>(m_hWnd));
        return 0;
    default:
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
}

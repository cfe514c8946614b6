// Off-screen drawing for one paint.
#include "controls/MemDC.h"

#include "platform/gdi/Gdi.h"

CMemDC::CMemDC(CDC* pDC, const CRect* pRect, bool bCopyFirst) : m_pDC(pDC)
{
    HDC target = pDC ? pDC->GetSafeHdc() : nullptr;
    if (!target)
        return;
    if (pRect)
        m_rect = *pRect;
    else
        ::GetClipBox(target, &m_rect);

    // There is no printer device here, so a memory image is always wanted; when one cannot be
    // made the drawing falls back to the target itself rather than being lost.
    HDC mem = ::CreateCompatibleDC(target);
    if (mem) {
        CRect device = m_rect;
        ::LPtoDP(target, reinterpret_cast<LPPOINT>(&device), 2);
        m_hBitmap = ::CreateCompatibleBitmap(target, device.Width(), device.Height());
        if (m_hBitmap) {
            m_hOldBitmap = ::SelectObject(mem, m_hBitmap);
            ::SetMapMode(mem, ::GetMapMode(target));
            SIZE ext{};
            ::GetWindowExtEx(target, &ext);
            ::SetWindowExtEx(mem, ext.cx, ext.cy, nullptr);
            ::GetViewportExtEx(target, &ext);
            ::SetViewportExtEx(mem, ext.cx, ext.cy, nullptr);
            ::DPtoLP(target, reinterpret_cast<LPPOINT>(&device), 2);
            m_rect = device;
            ::SetWindowOrgEx(mem, m_rect.left, m_rect.top, nullptr);
            m_bMemDC = true;
        } else {
            ::DeleteDC(mem);
            mem = nullptr;
        }
    }
    Attach(m_bMemDC ? mem : target);

    HDC hdc = GetSafeHdc();
    if (bCopyFirst) {
        if (m_bMemDC)
            ::BitBlt(hdc, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), target, m_rect.left,
                     m_rect.top, SRCCOPY);
    } else if (HBRUSH brush = ::CreateSolidBrush(::GetBkColor(target))) {
        ::FillRect(hdc, &m_rect, brush);
        ::DeleteObject(brush);
    }
}

CMemDC::~CMemDC()
{
    HDC hdc = Detach();
    if (!m_bMemDC)
        return; // the target's own handle, only borrowed
    ::BitBlt(m_pDC->GetSafeHdc(), m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), hdc, m_rect.left,
             m_rect.top, SRCCOPY);
    ::SelectObject(hdc, m_hOldBitmap);
    ::DeleteObject(m_hBitmap);
    ::DeleteDC(hdc);
}

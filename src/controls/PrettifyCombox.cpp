// Skinned combo box: frame, arrow and the colours of its edit field and list.
#include "controls/PrettifyCombox.h"

#include "platform/gdi/Dc.h"
#include "platform/gdi/Gdi.h"
#include "platform/wnd/PaintDC.h"
#include "res/Resource.h"

CPrettifyCombox::CPrettifyCombox() : m_hBkBrush(::CreateSolidBrush(m_crBk)) {}

CPrettifyCombox::~CPrettifyCombox()
{
    if (m_hBkBrush)
        ::DeleteObject(m_hBkBrush);
    if (m_hArrow)
        ::DeleteObject(m_hArrow);
}

void CPrettifyCombox::SetBkColor(COLORREF colour)
{
    m_crBk = colour;
    if (m_hBkBrush)
        ::DeleteObject(m_hBkBrush);
    m_hBkBrush = ::CreateSolidBrush(m_crBk);
}

void CPrettifyCombox::LoadArrowBitmap()
{
    if (m_hArrow)
        ::DeleteObject(m_hArrow);
    m_hArrow = ::LoadBitmapA(nullptr, MAKEINTRESOURCEA(IDB_COMBO_ARROW));
}

HBRUSH CPrettifyCombox::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if ((nCtlColor == CTLCOLOR_EDIT || nCtlColor == CTLCOLOR_LISTBOX) && pDC && m_hBkBrush) {
        ::SetBkMode(pDC->GetSafeHdc(), TRANSPARENT);
        ::SetTextColor(pDC->GetSafeHdc(), m_crText);
        return m_hBkBrush;
    }
    return CComboBox::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CPrettifyCombox::OnPaint()
{
    CPaintDC dc(this);
    HDC hdc = dc.GetSafeHdc();
    CRect rc;
    GetClientRect(&rc);
    // The frame: top and left edges in the first colour, bottom and right in the second.
    HBRUSH topLeft = ::CreateSolidBrush(m_crFrameTopLeft);
    HBRUSH bottomRight = ::CreateSolidBrush(m_crFrameBottomRight);
    if (topLeft && bottomRight) {
        const RECT top{rc.left, rc.top, rc.right - 1, rc.top + 1};
        const RECT left{rc.left, rc.top, rc.left + 1, rc.bottom - 1};
        const RECT bottom{rc.left, rc.bottom - 1, rc.right, rc.bottom};
        const RECT right{rc.right - 1, rc.top, rc.right, rc.bottom};
        ::FillRect(hdc, &top, topLeft);
        ::FillRect(hdc, &left, topLeft);
        ::FillRect(hdc, &bottom, bottomRight);
        ::FillRect(hdc, &right, bottomRight);
    }
    if (topLeft)
        ::DeleteObject(topLeft);
    if (bottomRight)
        ::DeleteObject(bottomRight);

    BITMAP bm{};
    if (m_hArrow && ::GetObject(m_hArrow, sizeof(bm), &bm)) {
        HDC mem = ::CreateCompatibleDC(hdc);
        if (mem) {
            HGDIOBJ old = ::SelectObject(mem, m_hArrow);
            ::StretchBlt(hdc, rc.right - 20, rc.top + 2, 18, rc.Height() - 4, mem, 0, 0, bm.bmWidth,
                         bm.bmHeight, SRCCOPY);
            ::SelectObject(mem, old);
            ::DeleteDC(mem);
        }
    }
}

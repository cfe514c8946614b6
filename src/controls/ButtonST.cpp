// Icon button painting, hover tracking and the dialog manager's default-button handling.
#include "controls/ButtonST.h"

#include "platform/gdi/Gdi.h"
#include "platform/wnd/WndInternal.h"

CButtonST::CButtonST()
    : m_crBkIn(GetSysColor(COLOR_BTNFACE)), m_crBkOut(GetSysColor(COLOR_BTNFACE)),
      m_crBkFocus(GetSysColor(COLOR_BTNFACE))
{
}

CButtonST::~CButtonST()
{
    FreeIcons();
}

void CButtonST::FreeIcons()
{
    for (auto& icon : m_icons) {
        if (icon.hIcon)
            DestroyIcon(icon.hIcon);
        icon = IconEntry{};
    }
}

namespace {
// Width and height of an icon from its hot spot, which is the icon's centre.
bool ReadIconSize(HICON icon, DWORD& width, DWORD& height)
{
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return false;
    width = info.xHotspot * 2;
    height = info.yHotspot * 2;
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    return true;
}
} // namespace

int CButtonST::SetIcon(HICON hIconIn, HICON hIconOut)
{
    FreeIcons();
    if (hIconIn) {
        m_icons[0].hIcon = hIconIn;
        m_icons[1].hIcon = hIconOut;
        bool ok = ReadIconSize(hIconIn, m_icons[0].dwWidth, m_icons[0].dwHeight);
        if (ok && hIconOut)
            ok = ReadIconSize(hIconOut, m_icons[1].dwWidth, m_icons[1].dwHeight);
        if (!ok) {
            FreeIcons();
            return 1;
        }
    } else if (hIconOut) {
        DestroyIcon(hIconOut); // handed over but never shown without an "in" icon
    }
    Invalidate(TRUE);
    return 0;
}

int CButtonST::SetIcon(const char* fileIn, const char* fileOut)
{
    HICON in = static_cast<HICON>(LoadImageA(nullptr, fileIn, IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    HICON out = fileOut ? static_cast<HICON>(LoadImageA(nullptr, fileOut, IMAGE_ICON, 0, 0, LR_LOADFROMFILE))
                        : nullptr;
    return SetIcon(in, out);
}

void CButtonST::PreSubclassWindow()
{
    const DWORD type = GetStyle() & BS_TYPEMASK;
    if (type == BS_DEFPUSHBUTTON)
        m_bIsDefault = true;
    ModifyStyle(0x1F, BS_OWNERDRAW, SWP_FRAMECHANGED);
}

void CButtonST::PaintBackground(CDC* pDC, const CRect& rect)
{
    COLORREF colour = m_crBkOut;
    if (m_bMouseOnButton || m_bIsPressed)
        colour = m_crBkIn;
    else if (m_bIsFocused)
        colour = m_crBkFocus;
    pDC->FillSolidRect(&rect, colour);
}

void CButtonST::PaintBorder(CDC* pDC, const CRect& rect)
{
    if (m_bIsPressed)
        pDC->Draw3dRect(&rect, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    else if (m_bMouseOnButton)
        pDC->Draw3dRect(&rect, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
}

void CButtonST::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (!lpDIS)
        return;
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    m_bIsPressed = (lpDIS->itemState & ODS_SELECTED) != 0;
    m_bIsFocused = (lpDIS->itemState & ODS_FOCUS) != 0;
    m_bIsDisabled = (lpDIS->itemState & ODS_DISABLED) != 0;
    const CRect item(lpDIS->rcItem);

    pDC->SetBkMode(TRANSPARENT);
    PaintBackground(pDC, item);
    PaintBorder(pDC, item);

    if (!m_icons[0].hIcon)
        return;
    int index = 0;
    if (!m_bIsPressed && !m_bMouseOnButton && m_icons[1].hIcon)
        index = 1;
    const IconEntry& icon = m_icons[index];
    int x = item.left + (item.Width() - static_cast<int>(icon.dwWidth)) / 2;
    int y = item.top + (item.Height() - static_cast<int>(icon.dwHeight)) / 2;
    if (m_bIsPressed) {
        ++x;
        ++y;
    }
    DrawStateA(pDC->GetSafeHdc(), nullptr, nullptr, reinterpret_cast<LPARAM>(icon.hIcon), 0, x, y,
               static_cast<int>(icon.dwWidth), static_cast<int>(icon.dwHeight),
               DST_ICON | (m_bIsDisabled ? DSS_DISABLED : DSS_NORMAL));
}

void CButtonST::OnMouseMove(UINT nFlags, CPoint point)
{
    CButton::OnMouseMove(nFlags, point);
    CPoint screen = point;
    ClientToScreen(&screen);
    CWnd* under = CWnd::FromHandle(WindowFromPoint(screen));
    // A drag that began elsewhere does not light the button.
    if ((nFlags & MK_LBUTTON) && !m_bMouseOnButton)
        return;
    if (under == this) {
        if (!m_bMouseOnButton) {
            m_bMouseOnButton = true;
            Invalidate();
            TRACKMOUSEEVENT tme{sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, 0};
            TrackMouseEvent(&tme);
        }
        return;
    }
    CancelHover();
}

void CButtonST::CancelHover()
{
    if (m_bMouseOnButton) {
        m_bMouseOnButton = false;
        Invalidate();
    }
}

LRESULT CButtonST::OnMouseLeave(WPARAM, LPARAM)
{
    CancelHover();
    return 0;
}

void CButtonST::OnKillFocus(CWnd* pNewWnd)
{
    CButton::OnKillFocus(pNewWnd);
    CancelHover();
}

void CButtonST::OnCancelMode()
{
    CButton::OnCancelMode();
    CancelHover();
}

void CButtonST::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CButton::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE)
        CancelHover();
}

void CButtonST::OnEnable(BOOL bEnable)
{
    CButton::OnEnable(bEnable);
    if (bEnable)
        return;
    // A disabled button hands the keyboard focus on, whether or not it had it.
    if (CWnd* parent = GetParent()) {
        CWnd* next = parent->GetNextDlgTabItem(this, FALSE);
        if (next && next != this)
            next->SetFocus();
        else
            parent->SetFocus();
    }
    CancelHover();
}

UINT CButtonST::OnGetDlgCode()
{
    UINT code = CButton::OnGetDlgCode();
    code &= ~(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
    code |= m_bIsDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
    return code;
}

HBRUSH CButtonST::CtlColor(CDC*, UINT)
{
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

BOOL CButtonST::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND && HIWORD(static_cast<DWORD>(wParam)) == BN_CLICKED) {
        // The clicked button takes the focus; the parent still handles the click.
        SetFocus();
        return FALSE;
    }
    return CButton::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT CButtonST::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == BM_SETSTYLE) {
        // The dialog manager moves the default button; the style stays owner-drawn.
        const DWORD requested = static_cast<DWORD>(wParam) & BS_TYPEMASK;
        if (requested == BS_DEFPUSHBUTTON)
            m_bIsDefault = true;
        else if (requested == BS_PUSHBUTTON)
            m_bIsDefault = false;
        return CButton::WindowProc(message, (wParam & ~static_cast<WPARAM>(0x14)) | BS_OWNERDRAW, lParam);
    }
    return CButton::WindowProc(message, wParam, lParam);
}

LRESULT CButtonST::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // A quick second click is a second click, not a double click.
    if (message == WM_LBUTTONDBLCLK)
        message = WM_LBUTTONDOWN;
    return CButton::DefWindowProc(message, wParam, lParam);
}

// Push-button behaviour and painting.
#include "platform/wnd/Button.h"

#include "platform/gdi/Gdi.h"
#include "platform/wnd/PaintDC.h"

BOOL CButton::Create(const char* caption, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateEx(0, "Button", caption, style, rect, parent, id);
}

UINT CButton::GetState() const
{
    UINT state = static_cast<UINT>(m_nCheck);
    if (m_bPushed)
        state |= BST_PUSHED;
    if (GetFocus() == this)
        state |= BST_FOCUS;
    return state;
}

void CButton::SetState(BOOL highlight)
{
    const_cast<CButton*>(this)->SendMessage(BM_SETSTATE, highlight, 0);
}

void CButton::SetCheck(int check)
{
    SendMessage(BM_SETCHECK, static_cast<WPARAM>(check), 0);
}

void CButton::SetButtonStyle(UINT style, BOOL redraw)
{
    SendMessage(BM_SETSTYLE, style, redraw);
}

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

void CButton::TakeOverState(CWnd* previous)
{
    // A check box keeps its check through subclassing.
    if (auto* button = dynamic_cast<CButton*>(previous))
        m_nCheck = button->m_nCheck;
}

BOOL CButton::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        if (pResult)
            *pResult = TRUE;
        return TRUE;
    }
    return FALSE;
}

void CButton::NotifyParent(WORD code)
{
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), code),
                            reinterpret_cast<LPARAM>(m_hWnd));
}

void CButton::Click()
{
    const UINT type = GetButtonStyle();
    if (type == BS_AUTOCHECKBOX)
        SetCheck(m_nCheck == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    NotifyParent(BN_CLICKED);
}

void CButton::Paint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    if (GetButtonStyle() == BS_OWNERDRAW) {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_BUTTON;
        dis.CtlID = static_cast<UINT>(GetDlgCtrlID());
        dis.itemAction = ODA_DRAWENTIRE;
        if (m_bPushed)
            dis.itemState |= ODS_SELECTED;
        if (GetFocus() == this)
            dis.itemState |= ODS_FOCUS;
        if (!IsWindowEnabled())
            dis.itemState |= ODS_DISABLED;
        dis.hwndItem = m_hWnd;
        dis.hDC = dc.GetSafeHdc();
        dis.rcItem = rc;
        if (CWnd* parent = GetParent())
            parent->SendMessage(WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        else
            DrawItem(&dis);
        return;
    }
    // A plain classic button: face, frame and centred caption.
    HBRUSH brush = nullptr;
    if (CWnd* parent = GetParent())
        brush = reinterpret_cast<HBRUSH>(parent->SendMessage(
            WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), reinterpret_cast<LPARAM>(m_hWnd)));
    ::FillRect(dc.GetSafeHdc(), &rc, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
    if (m_bPushed)
        dc.Draw3dRect(&rc, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    else
        dc.Draw3dRect(&rc, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_3DDKSHADOW));
    if (HFONT font = GetFontHandle())
        ::SelectObject(dc.GetSafeHdc(), font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor(IsWindowEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    CString text;
    GetWindowText(text);
    CRect textRc = rc;
    if (m_bPushed)
        textRc.OffsetRect(1, 1);
    dc.DrawText(text, &textRc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (GetFocus() == this) {
        CRect focus = rc;
        focus.DeflateRect(3, 3);
        dc.DrawFocusRect(&focus);
    }
}

LRESULT CButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers the whole button, or leaves the parent's skin showing
    case WM_LBUTTONDBLCLK:
        // Owner-drawn buttons report the double click; the others take it as a second press.
        if (GetButtonStyle() == BS_OWNERDRAW) {
            NotifyParent(BN_DOUBLECLICKED);
            return 0;
        }
        [[fallthrough]];
    case WM_LBUTTONDOWN:
        m_bTracking = true;
        SetCapture();
        if (GetFocus() != this)
            SetFocus();
        SendMessage(BM_SETSTATE, TRUE, 0);
        return 0;
    case WM_MOUSEMOVE:
        if (m_bTracking) {
            CRect rc;
            GetClientRect(&rc);
            const bool inside = rc.PtInRect(CPoint(lParam));
            if (inside != m_bPushed)
                SendMessage(BM_SETSTATE, inside, 0);
        }
        return 0;
    case WM_LBUTTONUP: {
        if (!m_bTracking)
            return 0;
        m_bTracking = false;
        const bool wasPushed = m_bPushed;
        if (GetCapture() == this)
            ReleaseCapture();
        SendMessage(BM_SETSTATE, FALSE, 0);
        CRect rc;
        GetClientRect(&rc);
        if (wasPushed && rc.PtInRect(CPoint(lParam)))
            Click();
        return 0;
    }
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        if (m_bTracking) {
            m_bTracking = false;
            SendMessage(BM_SETSTATE, FALSE, 0);
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && !m_bSpaceDown) {
            m_bSpaceDown = true;
            SendMessage(BM_SETSTATE, TRUE, 0);
        }
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && m_bSpaceDown) {
            m_bSpaceDown = false;
            SendMessage(BM_SETSTATE, FALSE, 0);
            Click();
        }
        return 0;
    case WM_KILLFOCUS:
        m_bSpaceDown = false;
        if (m_bPushed && !m_bTracking)
            SendMessage(BM_SETSTATE, FALSE, 0);
        Invalidate();
        return 0;
    case WM_SETFOCUS:
    case WM_ENABLE:
        Invalidate();
        return 0;
    case WM_GETDLGCODE: {
        const UINT type = GetButtonStyle();
        if (type == BS_DEFPUSHBUTTON)
            return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        if (type == BS_PUSHBUTTON || type == BS_OWNERDRAW)
            return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        return DLGC_BUTTON;
    }
    case BM_GETSTATE:
        return GetState();
    case BM_SETSTATE:
        if (m_bPushed != (wParam != 0)) {
            m_bPushed = wParam != 0;
            Invalidate();
            UpdateWindow();
        }
        return 0;
    case BM_GETCHECK:
        return m_nCheck;
    case BM_SETCHECK:
        m_nCheck = static_cast<int>(wParam);
        Invalidate();
        return 0;
    case BM_SETSTYLE:
        ModifyStyle(BS_TYPEMASK, static_cast<DWORD>(wParam) & BS_TYPEMASK);
        if (lParam)
            Invalidate();
        return 0;
    case BM_CLICK:
        Click();
        return 0;
    default:
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
}

// Combo box behaviour: items, selection, the edit field, the pop-up list, mouse and keys, painting.
#include "platform/wnd/ComboBox.h"

#include "platform/gdi/Dc.h"
#include "platform/gdi/Gdi.h"
#include "platform/wnd/PaintDC.h"

#include <QGuiApplication>
#include <QWidget>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace {

// Width of the first `count` characters of `text` in the font selected into `hdc`.
int TextWidth(HDC hdc, const CString& text, int count)
{
    if (count <= 0)
        return 0;
    SIZE size{0, 0};
    ::GetTextExtentPoint32A(hdc, text.GetString(), count, &size);
    return size.cx;
}

bool IsEditKey(UINT vk)
{
    return vk == VK_LEFT || vk == VK_RIGHT || vk == VK_HOME || vk == VK_END || vk == VK_BACK ||
           vk == VK_DELETE;
}

} // namespace

// The edit field of a CBS_DROPDOWN combo box: a one-line text field with a caret and a selection.
// It finds its combo box through its parent handle, so it keeps working after the combo box's
// window has been subclassed by another object.
class ComboEdit : public CWnd
{
public:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SETTEXT:
            // New text (a selection from the list, or the program's): all of it selected, as a
            // user who goes on typing replaces it.
            CWnd::DefWindowProc(message, wParam, lParam);
            m_nAnchor = 0;
            m_nCaret = GetWindowTextLength();
            return TRUE;
        case WM_SETFOCUS:
            m_nAnchor = 0;
            m_nCaret = GetWindowTextLength();
            Invalidate();
            return 0;
        case WM_KILLFOCUS:
            Invalidate();
            if (CComboBox* combo = Combo())
                combo->FocusLeft(reinterpret_cast<HWND>(wParam));
            return 0;
        case WM_LBUTTONDOWN: {
            CComboBox* combo = Combo();
            if (combo && combo->GetDroppedState()) {
                combo->Drop(false);
                return 0;
            }
            if (GetFocus() != this)
                SetFocus();
            m_nAnchor = m_nCaret = CharAt(GET_X_LPARAM(lParam));
            Invalidate();
            return 0;
        }
        case WM_KEYDOWN: {
            const UINT vk = static_cast<UINT>(wParam);
            if (IsEditKey(vk))
                EditKey(vk);
            else if (CComboBox* combo = Combo())
                combo->KeyDown(vk);
            return 0;
        }
        case WM_CHAR:
            // Printable ASCII only: control characters arrive as their keys, and a lone byte of a
            // multibyte character would leave the text invalid.
            if (wParam >= 0x20 && wParam < 0x7F) {
                const char ch[2] = {static_cast<char>(wParam), '\0'};
                Replace(ch);
            }
            return 0;
        case WM_GETDLGCODE: {
            CComboBox* combo = Combo();
            return (combo ? combo->DlgCode(lParam) : DLGC_WANTARROWS | DLGC_WANTCHARS) | DLGC_HASSETSEL;
        }
        default:
            return CWnd::DefWindowProc(message, wParam, lParam);
        }
    }

    DWORD GetSel() const
    {
        return MAKELONG(static_cast<WORD>(std::min(m_nAnchor, m_nCaret)),
                        static_cast<WORD>(std::max(m_nAnchor, m_nCaret)));
    }
    void SetSel(int start, int end)
    {
        const int len = GetWindowTextLength();
        // -1 as the start removes the selection; -1 as the end means the end of the text.
        if (start < 0) {
            m_nAnchor = m_nCaret = std::clamp(m_nCaret, 0, len);
        } else {
            m_nAnchor = std::min(start, len);
            m_nCaret = end < 0 ? len : std::min(end, len);
        }
        Invalidate();
    }

private:
    CComboBox* Combo() const { return dynamic_cast<CComboBox*>(GetParent()); }

    int SelStart() const { return std::min(m_nAnchor, m_nCaret); }
    int SelEnd() const { return std::max(m_nAnchor, m_nCaret); }

    void EditKey(UINT vk)
    {
        const int len = GetWindowTextLength();
        const bool extend = GetKeyState(VK_SHIFT) < 0;
        int caret = m_nCaret;
        switch (vk) {
        case VK_LEFT:
            caret = (!extend && SelStart() != SelEnd()) ? SelStart() : std::max(0, m_nCaret - 1);
            break;
        case VK_RIGHT:
            caret = (!extend && SelStart() != SelEnd()) ? SelEnd() : std::min(len, m_nCaret + 1);
            break;
        case VK_HOME:
            caret = 0;
            break;
        case VK_END:
            caret = len;
            break;
        case VK_BACK:
        case VK_DELETE:
            if (SelStart() == SelEnd()) {
                if (vk == VK_BACK && m_nCaret == 0)
                    return;
                if (vk == VK_DELETE && m_nCaret == len)
                    return;
                m_nAnchor = vk == VK_BACK ? m_nCaret - 1 : m_nCaret + 1;
            }
            Replace("");
            return;
        default:
            return;
        }
        m_nCaret = caret;
        if (!extend)
            m_nAnchor = caret;
        Invalidate();
    }

    // Replaces the selection by `with`; the caret follows the inserted text.
    void Replace(const char* with)
    {
        CString text;
        GetWindowText(text);
        const std::string old = text.GetString();
        const int lo = std::clamp(SelStart(), 0, static_cast<int>(old.size()));
        const int hi = std::clamp(SelEnd(), lo, static_cast<int>(old.size()));
        const std::string now =
            old.substr(0, static_cast<size_t>(lo)) + with + old.substr(static_cast<size_t>(hi));
        CWnd::DefWindowProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(now.c_str()));
        m_nAnchor = m_nCaret = lo + static_cast<int>(std::strlen(with));
        Invalidate();
        if (CComboBox* combo = Combo()) {
            GetWindowText(text);
            combo->EditChanged(text);
        }
    }

    // The caret position nearest to a client x coordinate.
    int CharAt(int x)
    {
        CString text;
        GetWindowText(text);
        CDC* dc = GetDC();
        HDC hdc = dc->GetSafeHdc();
        if (CComboBox* combo = Combo())
            if (HFONT font = combo->GetFontHandle())
                ::SelectObject(hdc, font);
        int best = 0, bestDistance = 1 << 30;
        for (int i = 0; i <= text.GetLength(); ++i) {
            const int distance = std::abs(kTextLeft + TextWidth(hdc, text, i) - m_nScroll - x);
            if (distance < bestDistance)
                best = i, bestDistance = distance;
        }
        ReleaseDC(dc);
        return best;
    }

    void Paint()
    {
        CComboBox* combo = Combo();
        CPaintDC dc(this);
        HDC hdc = dc.GetSafeHdc();
        CRect rc;
        GetClientRect(&rc);
        if (combo)
            if (HFONT font = combo->GetFontHandle())
                ::SelectObject(hdc, font);
        HBRUSH brush =
            combo ? reinterpret_cast<HBRUSH>(combo->SendMessage(
                        WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(m_hWnd)))
                  : nullptr;
        ::FillRect(hdc, &rc, brush ? brush : GetSysColorBrush(COLOR_WINDOW));
        if (!IsWindowEnabled())
            ::SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
        CString text;
        GetWindowText(text);
        const bool focused = GetFocus() == this;
        const int len = text.GetLength();
        const int caretX = TextWidth(hdc, text, std::clamp(m_nCaret, 0, len));
        // Scroll just enough to keep the caret inside the field.
        const int room = std::max(1, rc.Width() - 2 * kTextLeft);
        if (caretX - m_nScroll > room)
            m_nScroll = caretX - room;
        if (caretX < m_nScroll)
            m_nScroll = caretX;
        if (TextWidth(hdc, text, len) <= room)
            m_nScroll = 0;

        CRect textRc = rc;
        textRc.left += kTextLeft - m_nScroll;
        const UINT format = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
        ::DrawTextA(hdc, text.GetString(), -1, &textRc, format);
        if (!focused)
            return;
        const int lo = std::clamp(SelStart(), 0, len), hi = std::clamp(SelEnd(), 0, len);
        if (lo != hi) {
            CRect sel(textRc.left + TextWidth(hdc, text, lo), rc.top + 1,
                      textRc.left + TextWidth(hdc, text, hi), rc.bottom - 1);
            ::FillRect(hdc, &sel, GetSysColorBrush(COLOR_HIGHLIGHT));
            ::SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
            ::SetBkMode(hdc, TRANSPARENT);
            CRect selText(sel.left, rc.top, rc.right, rc.bottom);
            ::DrawTextA(hdc, text.GetString() + lo, hi - lo, &selText, format);
        } else {
            SIZE size{0, 0};
            ::GetTextExtentPoint32A(hdc, "|", 1, &size);
            const int h = std::min<int>(rc.Height() - 2, std::max<int>(size.cy, 1));
            const int top = (rc.Height() - h) / 2;
            HBRUSH caret = ::CreateSolidBrush(::GetTextColor(hdc));
            const RECT line{textRc.left + caretX, top, textRc.left + caretX + 1, top + h};
            ::FillRect(hdc, &line, caret);
            ::DeleteObject(caret);
        }
    }

    static constexpr int kTextLeft = 1;
    int m_nAnchor = 0; // the selection runs from the anchor to the caret
    int m_nCaret = 0;
    int m_nScroll = 0; // pixels of text scrolled out at the left
};

// The pop-up list: one row per item inside a one-pixel frame, the highlighted one in the
// selection colours; the pointer highlights, a release on a row selects it and closes the list.
class ComboList : public CWnd
{
public:
    explicit ComboList(HWND combo) : m_hCombo(combo) {}

    static constexpr int kFrame = 1;

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        CComboBox* combo = Combo();
        switch (message) {
        case WM_PAINT:
            Paint(combo);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN: {
            const int row = RowAt(combo, GET_Y_LPARAM(lParam));
            if (combo && row != CB_ERR && row != combo->m_nHot) {
                combo->m_nHot = row;
                Invalidate();
            }
            return 0;
        }
        case WM_LBUTTONUP: {
            if (!combo)
                return 0;
            const int row = RowAt(combo, GET_Y_LPARAM(lParam));
            if (row != CB_ERR && row != combo->m_nCurSel)
                combo->Select(row, true);
            combo->Drop(false);
            return 0;
        }
        case WM_KEYDOWN:
            if (combo)
                combo->KeyDown(static_cast<UINT>(wParam));
            return 0;
        default:
            return CWnd::DefWindowProc(message, wParam, lParam);
        }
    }

private:
    CComboBox* Combo() const { return dynamic_cast<CComboBox*>(FromHandle(m_hCombo)); }

    static int RowAt(const CComboBox* combo, int y)
    {
        if (!combo || y < kFrame)
            return CB_ERR;
        const int row = (y - kFrame) / CComboBox::kItemHeight;
        return row < combo->GetCount() ? row : CB_ERR;
    }

    void Paint(CComboBox* combo)
    {
        CPaintDC dc(this);
        if (!combo)
            return;
        HDC hdc = dc.GetSafeHdc();
        CRect rc;
        GetClientRect(&rc);
        if (HFONT font = combo->GetFontHandle())
            ::SelectObject(hdc, font);
        HBRUSH brush = reinterpret_cast<HBRUSH>(combo->SendMessage(
            WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(m_hWnd)));
        ::FillRect(hdc, &rc, brush ? brush : GetSysColorBrush(COLOR_WINDOW));
        ::FrameRect(hdc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
        const COLORREF text = ::GetTextColor(hdc);
        ::SetBkMode(hdc, TRANSPARENT);
        for (int i = 0; i < combo->GetCount(); ++i) {
            CRect line(kFrame, kFrame + i * CComboBox::kItemHeight, rc.right - kFrame,
                       kFrame + (i + 1) * CComboBox::kItemHeight);
            if (i == combo->m_nHot) {
                ::FillRect(hdc, &line, GetSysColorBrush(COLOR_HIGHLIGHT));
                ::SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
            } else {
                ::SetTextColor(hdc, text);
            }
            line.left += 2;
            ::DrawTextA(hdc, combo->m_items[static_cast<size_t>(i)].c_str(), -1, &line,
                        DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
    }

    HWND m_hCombo;
};

CComboBox::CComboBox() = default;

CComboBox::~CComboBox()
{
    // Destroyed here, while this class still handles the window's messages (its list goes too).
    if (m_hWnd)
        DestroyWindow();
    if (m_pList && m_pList->m_hWnd)
        m_pList->DestroyWindow();
}

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateEx(0, "ComboBox", "", style, rect, parent, id);
}

void CComboBox::OnNativeCreated()
{
    if ((GetStyle() & 0x3) == CBS_DROPDOWNLIST)
        return; // a plain drop-down list paints its selection itself
    m_pEdit = std::make_unique<ComboEdit>();
    CRect rc;
    GetClientRect(&rc);
    m_pEdit->CreateEx(0, "Edit", "", WS_CHILD | WS_VISIBLE | (GetStyle() & WS_DISABLED), rc, this, 1001);
    LayoutEdit();
}

void CComboBox::TakeOverState(CWnd* previous)
{
    auto* from = dynamic_cast<CComboBox*>(previous);
    if (!from)
        return;
    m_items = std::move(from->m_items);
    m_nCurSel = from->m_nCurSel;
    m_nHot = from->m_nHot;
    m_pEdit = std::move(from->m_pEdit);
    m_pList = std::move(from->m_pList);
    from->m_items.clear();
    from->m_nCurSel = from->m_nHot = CB_ERR;
}

void CComboBox::LayoutEdit()
{
    if (!m_pEdit || !m_pEdit->m_hWnd)
        return;
    CRect rc;
    GetClientRect(&rc);
    // Inside the frame, left of the drop button.
    m_pEdit->MoveWindow(3, 3, std::max(0, rc.Width() - 6 - kButtonWidth), std::max(0, rc.Height() - 6));
}

CWnd* CComboBox::GetEditWnd() const
{
    return m_pEdit && m_pEdit->m_hWnd ? m_pEdit.get() : nullptr;
}

CWnd* CComboBox::GetListWnd() const
{
    return m_pList && m_pList->m_hWnd ? m_pList.get() : nullptr;
}

int CComboBox::AddString(const char* text)
{
    return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}
int CComboBox::DeleteString(int index)
{
    return static_cast<int>(SendMessage(CB_DELETESTRING, static_cast<WPARAM>(index), 0));
}
void CComboBox::ResetContent()
{
    SendMessage(CB_RESETCONTENT, 0, 0);
}
int CComboBox::GetCount() const
{
    return static_cast<int>(m_items.size());
}
int CComboBox::GetCurSel() const
{
    return m_nCurSel;
}
int CComboBox::SetCurSel(int index)
{
    return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index), 0));
}
int CComboBox::GetLBTextLen(int index) const
{
    if (index < 0 || index >= GetCount())
        return CB_ERR;
    return static_cast<int>(m_items[static_cast<size_t>(index)].size());
}
int CComboBox::GetLBText(int index, CString& text) const
{
    if (index < 0 || index >= GetCount())
        return CB_ERR;
    text = m_items[static_cast<size_t>(index)].c_str();
    return text.GetLength();
}
void CComboBox::ShowDropDown(BOOL show)
{
    SendMessage(CB_SHOWDROPDOWN, show, 0);
}
BOOL CComboBox::GetDroppedState() const
{
    return GetListWnd() && GetListWnd()->IsWindowVisible();
}
DWORD CComboBox::GetEditSel() const
{
    auto* edit = dynamic_cast<ComboEdit*>(GetEditWnd());
    return edit ? edit->GetSel() : static_cast<DWORD>(CB_ERR);
}
BOOL CComboBox::SetEditSel(int start, int end)
{
    return static_cast<BOOL>(
        SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(static_cast<WORD>(start), static_cast<WORD>(end))));
}

void CComboBox::Notify(WORD code)
{
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), code),
                            reinterpret_cast<LPARAM>(m_hWnd));
}

void CComboBox::Select(int index, bool notify)
{
    m_nCurSel = (index >= 0 && index < GetCount()) ? index : CB_ERR;
    m_nHot = m_nCurSel;
    const char* text = m_nCurSel == CB_ERR ? "" : m_items[static_cast<size_t>(m_nCurSel)].c_str();
    if (CWnd* edit = GetEditWnd())
        edit->SetWindowText(text);
    CWnd::DefWindowProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    if (CWnd* list = GetListWnd())
        list->Invalidate();
    Invalidate();
    if (notify)
        Notify(CBN_SELCHANGE);
}

void CComboBox::EditChanged(const CString& text)
{
    CWnd::DefWindowProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.GetString()));
    // Typed text selects nothing while the list is closed; an open list follows with the first
    // item the text begins.
    int match = CB_ERR;
    if (GetDroppedState() && !text.IsEmpty()) {
        for (int i = 0; i < GetCount() && match == CB_ERR; ++i)
            if (strncasecmp(m_items[static_cast<size_t>(i)].c_str(), text.GetString(),
                            static_cast<size_t>(text.GetLength())) == 0)
                match = i;
    }
    m_nCurSel = m_nHot = match;
    if (CWnd* list = GetListWnd())
        list->Invalidate();
    Notify(CBN_EDITCHANGE);
}

bool CComboBox::HasFocusWithin() const
{
    CWnd* focus = GetFocus();
    return focus && (focus == this || focus == GetEditWnd());
}

void CComboBox::FocusLeft(HWND newFocus)
{
    if (newFocus && (newFocus == m_hWnd || (GetEditWnd() && newFocus == GetEditWnd()->m_hWnd)))
        return;
    Drop(false);
}

void CComboBox::Drop(bool show)
{
    if (show == (GetDroppedState() != FALSE))
        return;
    if (!show) {
        // Hidden first: losing the capture below closes the list too.
        m_pList->ShowWindow(SW_HIDE);
        m_nHot = m_nCurSel;
        if (GetCapture() == this)
            ReleaseCapture();
        Notify(CBN_CLOSEUP);
        return;
    }
    if (!m_hWnd || !IsWindowVisible() || !IsWindowEnabled())
        return;
    Notify(CBN_DROPDOWN);
    CRect wr; // the combo box in screen coordinates; the list, a top-level window, goes below it
    GetWindowRect(&wr);
    const int rows = std::max(1, GetCount());
    const CRect listRect(wr.left, wr.bottom, wr.right,
                         wr.bottom + rows * kItemHeight + 2 * ComboList::kFrame);
    if (!m_pList) {
        m_pList = std::make_unique<ComboList>(m_hWnd);
        if (!m_pList->CreateEx(WS_EX_TOOLWINDOW, "ComboLBox", "", WS_POPUP, listRect, this, 0)) {
            m_pList.reset();
            return;
        }
        // Placed exactly, above the dialog, and never taking the keyboard from it (a window
        // manager's matter: the offscreen platform has none and would complain).
        QWidget* w = m_pList->GetNativeWidget();
        if (w && QGuiApplication::platformName() != "offscreen") {
            w->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
            w->setAttribute(Qt::WA_ShowWithoutActivating);
            w->setFocusPolicy(Qt::NoFocus);
        }
    }
    m_pList->MoveWindow(&listRect);
    m_nHot = m_nCurSel;
    m_pList->ShowWindow(SW_SHOWNOACTIVATE);
    m_pList->Invalidate();
    // The combo box takes the pointer of its window: a press anywhere but on the list closes it.
    SetCapture();
}

void CComboBox::KeyDown(UINT vk)
{
    const bool noEdit = GetEditWnd() == nullptr;
    switch (vk) {
    case VK_DOWN:
    case VK_UP: {
        if (GetCount() == 0)
            return;
        int next = m_nCurSel == CB_ERR ? 0 : m_nCurSel + (vk == VK_DOWN ? 1 : -1);
        next = std::clamp(next, 0, GetCount() - 1);
        if (next != m_nCurSel)
            Select(next, true);
        return;
    }
    case VK_LEFT:
    case VK_RIGHT:
    case VK_HOME:
    case VK_END:
        // Without an edit field these move through the items as well.
        if (noEdit && GetCount() > 0) {
            int next = vk == VK_HOME ? 0 : vk == VK_END ? GetCount() - 1 : m_nCurSel;
            if (vk == VK_LEFT || vk == VK_RIGHT)
                next = std::clamp(m_nCurSel == CB_ERR ? 0 : m_nCurSel + (vk == VK_RIGHT ? 1 : -1), 0,
                                  GetCount() - 1);
            if (next != m_nCurSel)
                Select(next, true);
        }
        return;
    case VK_F4:
        Drop(!GetDroppedState());
        return;
    case VK_RETURN:
    case VK_ESCAPE:
        Drop(false);
        return;
    default:
        return;
    }
}

UINT CComboBox::DlgCode(LPARAM msgParam) const
{
    UINT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    // An open list takes Enter and Escape for itself; closed, they belong to the dialog.
    const MSG* msg = reinterpret_cast<const MSG*>(msgParam);
    if (msg && msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) &&
        GetDroppedState())
        code |= DLGC_WANTALLKEYS;
    return code;
}

void CComboBox::Paint()
{
    CPaintDC dc(this);
    HDC hdc = dc.GetSafeHdc();
    CRect rc;
    GetClientRect(&rc);
    ::FillRect(hdc, &rc, GetSysColorBrush(COLOR_WINDOW));
    ::DrawEdge(hdc, &rc, EDGE_SUNKEN, BF_RECT);
    CRect button(rc.right - 2 - kButtonWidth, 2, rc.right - 2, rc.bottom - 2);
    ::FillRect(hdc, &button, GetSysColorBrush(COLOR_BTNFACE));
    ::DrawEdge(hdc, &button, EDGE_RAISED, BF_RECT);
    // The arrow: a small downward triangle in the middle of the button.
    const int cx = (button.left + button.right) / 2, cy = (button.top + button.bottom) / 2 - 1;
    for (int i = 0; i < 4; ++i) {
        RECT row{cx - 3 + i, cy + i, cx + 4 - i, cy + i + 1};
        ::FillRect(hdc, &row, GetSysColorBrush(COLOR_BTNTEXT));
    }
    if (!GetEditWnd()) {
        CString text;
        GetWindowText(text);
        CRect field(3, 3, button.left, rc.bottom - 3);
        HBRUSH brush = reinterpret_cast<HBRUSH>(
            SendMessage(WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(m_hWnd)));
        ::FillRect(hdc, &field, brush ? brush : GetSysColorBrush(COLOR_WINDOW));
        if (HFONT font = GetFontHandle())
            ::SelectObject(hdc, font);
        ::DrawTextA(hdc, text.GetString(), -1, &field, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

LRESULT CComboBox::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        LayoutEdit();
        return 0;
    case WM_SETTEXT:
        // The text of a combo box with an edit field is the field's.
        if (CWnd* edit = GetEditWnd())
            edit->SetWindowText(reinterpret_cast<const char*>(lParam));
        return CWnd::DefWindowProc(message, wParam, lParam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        // The children's colour requests go to the parent in the combo box's name.
        if (CWnd* parent = GetParent())
            return parent->SendMessage(message, wParam, reinterpret_cast<LPARAM>(m_hWnd));
        return CWnd::DefWindowProc(message, wParam, lParam);
    case CB_ADDSTRING:
        m_items.emplace_back(lParam ? reinterpret_cast<const char*>(lParam) : "");
        if (CWnd* list = GetListWnd())
            list->Invalidate();
        return static_cast<LRESULT>(m_items.size() - 1);
    case CB_DELETESTRING: {
        const int index = static_cast<int>(wParam);
        if (index < 0 || index >= GetCount())
            return CB_ERR;
        m_items.erase(m_items.begin() + index);
        if (m_nCurSel == index)
            Select(CB_ERR, false);
        else if (m_nCurSel > index)
            m_nHot = --m_nCurSel;
        if (CWnd* list = GetListWnd())
            list->Invalidate();
        return GetCount();
    }
    case CB_RESETCONTENT:
        m_items.clear();
        Select(CB_ERR, false);
        return 0;
    case CB_GETCOUNT:
        return GetCount();
    case CB_GETCURSEL:
        return m_nCurSel;
    case CB_SETCURSEL: {
        const int index = static_cast<int>(wParam);
        Select(index, false);
        return (index >= 0 && index < GetCount()) ? index : CB_ERR;
    }
    case CB_GETLBTEXTLEN:
        return GetLBTextLen(static_cast<int>(wParam));
    case CB_GETLBTEXT: {
        const int index = static_cast<int>(wParam);
        char* out = reinterpret_cast<char*>(lParam);
        if (index < 0 || index >= GetCount() || !out)
            return CB_ERR;
        const std::string& item = m_items[static_cast<size_t>(index)];
        std::memcpy(out, item.c_str(), item.size() + 1);
        return static_cast<LRESULT>(item.size());
    }
    case CB_SHOWDROPDOWN:
        Drop(wParam != 0);
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return GetDroppedState();
    case CB_GETEDITSEL:
        return static_cast<LRESULT>(GetEditSel());
    case CB_SETEDITSEL: {
        auto* edit = dynamic_cast<ComboEdit*>(GetEditWnd());
        if (!edit)
            return CB_ERR;
        edit->SetSel(static_cast<short>(LOWORD(static_cast<DWORD>(lParam))),
                     static_cast<short>(HIWORD(static_cast<DWORD>(lParam))));
        return TRUE;
    }
    case WM_LBUTTONDOWN: {
        // While the list is open the combo box holds the capture: any press here closes it.
        if (GetDroppedState()) {
            Drop(false);
            return 0;
        }
        if (!HasFocusWithin())
            SetFocus();
        Drop(true);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != m_hWnd)
            Drop(false);
        return 0;
    case WM_KEYDOWN:
        KeyDown(static_cast<UINT>(wParam));
        return 0;
    case WM_CHAR: {
        // Without an edit field a letter selects the next item it begins.
        if (GetEditWnd() || GetCount() == 0 || wParam < 0x20 || wParam >= 0x7F)
            return 0;
        const int c = std::tolower(static_cast<int>(wParam));
        for (int step = 1; step <= GetCount(); ++step) {
            const int i = ((m_nCurSel == CB_ERR ? -1 : m_nCurSel) + step) % GetCount();
            const std::string& item = m_items[static_cast<size_t>(i)];
            if (!item.empty() && std::tolower(static_cast<unsigned char>(item[0])) == c) {
                if (i != m_nCurSel)
                    Select(i, true);
                break;
            }
        }
        return 0;
    }
    case WM_GETDLGCODE:
        return DlgCode(lParam);
    case WM_SETFOCUS:
        // The edit field takes the keyboard of a combo box that has one.
        if (CWnd* edit = GetEditWnd())
            edit->SetFocus();
        return 0;
    case WM_KILLFOCUS:
        FocusLeft(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_ENABLE:
        if (!wParam)
            Drop(false);
        if (CWnd* edit = GetEditWnd())
            edit->EnableWindow(static_cast<BOOL>(wParam));
        return 0;
    case WM_SHOWWINDOW:
        if (!wParam)
            Drop(false);
        return 0;
    case WM_DESTROY:
        // Quietly: the parent may be going as well, so it is told nothing.
        if (m_pList && m_pList->m_hWnd)
            m_pList->DestroyWindow();
        if (GetCapture() == this)
            ReleaseCapture();
        return CWnd::DefWindowProc(message, wParam, lParam);
    default:
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
}

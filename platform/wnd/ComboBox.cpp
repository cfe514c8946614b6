// Combo box behaviour: items, selection, the edit field, the pop-up list and painting.
#include "platform/wnd/ComboBox.h"

#include "platform/gdi/Dc.h"
#include "platform/gdi/Gdi.h"
#include "platform/wnd/PaintDC.h"

#include <algorithm>
#include <cstring>

namespace {

// Paints one line of text in the colours its window is given by the combo box.
void PaintField(CWnd* wnd, CComboBox* combo, UINT ctlColorMessage, const char* text)
{
    CPaintDC dc(wnd);
    HDC hdc = dc.GetSafeHdc();
    CRect rc;
    wnd->GetClientRect(&rc);
    if (HFONT font = combo->GetFontHandle())
        ::SelectObject(hdc, font);
    HBRUSH brush = reinterpret_cast<HBRUSH>(combo->SendMessage(ctlColorMessage, reinterpret_cast<WPARAM>(hdc),
                                                               reinterpret_cast<LPARAM>(wnd->m_hWnd)));
    ::FillRect(hdc, &rc, brush ? brush : GetSysColorBrush(COLOR_WINDOW));
    CRect textRc = rc;
    textRc.left += 1;
    ::DrawTextA(hdc, text, -1, &textRc, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

} // namespace

// The edit field: shows the selected item's text.
class ComboEdit : public CWnd
{
public:
    explicit ComboEdit(CComboBox* combo) : m_pCombo(combo) {}
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_PAINT: {
            CString text;
            GetWindowText(text);
            PaintField(this, Combo(), WM_CTLCOLOREDIT, text.GetString());
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
            // A press on the field opens the list like a press on the button.
            if (CComboBox* combo = Combo())
                combo->SendMessage(WM_LBUTTONDOWN, wParam, lParam);
            return 0;
        default:
            return CWnd::DefWindowProc(message, wParam, lParam);
        }
    }

private:
    // After the combo box was subclassed its object changed; its window did not.
    CComboBox* Combo() const
    {
        return dynamic_cast<CComboBox*>(GetParent() ? GetParent() : static_cast<CWnd*>(m_pCombo));
    }
    CComboBox* m_pCombo;
};

// The pop-up list: one line per item, the selected one highlighted; a click selects and closes.
class ComboList : public CWnd
{
public:
    explicit ComboList(CComboBox* combo) : m_pCombo(combo) {}
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_PAINT: {
            CPaintDC dc(this);
            HDC hdc = dc.GetSafeHdc();
            CRect rc;
            GetClientRect(&rc);
            if (HFONT font = m_pCombo->GetFontHandle())
                ::SelectObject(hdc, font);
            HBRUSH brush = reinterpret_cast<HBRUSH>(m_pCombo->SendMessage(
                WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(m_hWnd)));
            ::FillRect(hdc, &rc, brush ? brush : GetSysColorBrush(COLOR_WINDOW));
            const COLORREF text = ::GetTextColor(hdc);
            for (int i = 0; i < static_cast<int>(m_pCombo->m_items.size()); ++i) {
                CRect line(0, i * CComboBox::kItemHeight, rc.right, (i + 1) * CComboBox::kItemHeight);
                if (i == m_pCombo->m_nCurSel) {
                    ::FillRect(hdc, &line, GetSysColorBrush(COLOR_HIGHLIGHT));
                    ::SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
                } else {
                    ::SetTextColor(hdc, text);
                }
                ::SetBkMode(hdc, TRANSPARENT);
                line.left += 2;
                ::DrawTextA(hdc, m_pCombo->m_items[static_cast<size_t>(i)].c_str(), -1, &line,
                            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            }
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONUP: {
            const int index = GET_Y_LPARAM(lParam) / CComboBox::kItemHeight;
            CComboBox* combo = m_pCombo;
            if (index >= 0 && index < combo->GetCount())
                combo->Select(index, true);
            combo->Drop(false);
            return 0;
        }
        default:
            return CWnd::DefWindowProc(message, wParam, lParam);
        }
    }

private:
    CComboBox* m_pCombo;
};

CComboBox::CComboBox() = default;

CComboBox::~CComboBox()
{
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
    m_pEdit = std::make_unique<ComboEdit>(this);
    CRect rc;
    GetClientRect(&rc);
    m_pEdit->CreateEx(0, "Edit", "", WS_CHILD | WS_VISIBLE, rc, this, 1001);
    LayoutEdit();
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
    // The field may belong to the object this window had before it was subclassed.
    for (CWnd* child : GetChildren())
        if (dynamic_cast<ComboEdit*>(child))
            return child;
    return nullptr;
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

void CComboBox::Notify(WORD code)
{
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), code),
                            reinterpret_cast<LPARAM>(m_hWnd));
}

void CComboBox::Select(int index, bool notify)
{
    m_nCurSel = (index >= 0 && index < GetCount()) ? index : CB_ERR;
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

void CComboBox::Drop(bool show)
{
    if (show == (GetDroppedState() != FALSE))
        return;
    if (!show) {
        m_pList->ShowWindow(SW_HIDE);
        if (GetCapture() == m_pList.get())
            ReleaseCapture();
        Notify(CBN_CLOSEUP);
        return;
    }
    Notify(CBN_DROPDOWN);
    CRect wr;
    GetWindowRect(&wr);
    if (CWnd* parent = GetParent()) {
        // Children keep their parent's client coordinates; the list is a top-level window.
        CPoint origin(wr.left, wr.top);
        parent->ClientToScreen(&origin);
        wr.OffsetRect(origin.x - wr.left, origin.y - wr.top);
    }
    const int rows = std::max(1, GetCount());
    const CRect listRect(wr.left, wr.bottom, wr.right, wr.bottom + rows * kItemHeight + 2);
    if (!m_pList) {
        m_pList = std::make_unique<ComboList>(this);
        if (!m_pList->CreateEx(WS_EX_TOOLWINDOW, "ComboLBox", "", WS_POPUP, listRect, this, 0)) {
            m_pList.reset();
            return;
        }
    } else {
        m_pList->MoveWindow(&listRect);
    }
    m_pList->ShowWindow(SW_SHOWNOACTIVATE);
    m_pList->Invalidate();
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
            --m_nCurSel;
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
    case WM_LBUTTONDOWN:
        if (GetFocus() != this)
            SetFocus();
        Drop(!GetDroppedState());
        return 0;
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_DOWN:
        case VK_RIGHT:
            if (m_nCurSel + 1 < GetCount())
                Select(m_nCurSel + 1, true);
            return 0;
        case VK_UP:
        case VK_LEFT:
            if (m_nCurSel > 0)
                Select(m_nCurSel - 1, true);
            return 0;
        case VK_F4:
            Drop(!GetDroppedState());
            return 0;
        case VK_RETURN:
        case VK_ESCAPE:
            Drop(false);
            return 0;
        default:
            return 0;
        }
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KILLFOCUS:
        Drop(false);
        return 0;
    case WM_DESTROY:
        if (m_pList && m_pList->m_hWnd)
            m_pList->DestroyWindow();
        return CWnd::DefWindowProc(message, wParam, lParam);
    default:
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
}

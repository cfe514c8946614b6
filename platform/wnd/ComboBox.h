// CComboBox: a drop-down combo box with an edit field showing the selection and a pop-up list of
// items. The edit field and the list ask for their colours (WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX)
// through the combo box, which passes the requests to its parent in its own name, so a class
// derived from the combo box can answer them (reflection).
#pragma once

#include "platform/wnd/Wnd.h"

#include <memory>
#include <string>
#include <vector>

// Messages, notifications, styles and results of the combo box
constexpr UINT CB_GETEDITSEL = 0x0140;
constexpr UINT CB_SETEDITSEL = 0x0142;
constexpr UINT CB_ADDSTRING = 0x0143;
constexpr UINT CB_DELETESTRING = 0x0144;
constexpr UINT CB_GETCOUNT = 0x0146;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_GETLBTEXT = 0x0148;
constexpr UINT CB_GETLBTEXTLEN = 0x0149;
constexpr UINT CB_RESETCONTENT = 0x014B;
constexpr UINT CB_SETCURSEL = 0x014E;
constexpr UINT CB_SHOWDROPDOWN = 0x014F;
constexpr UINT CB_GETDROPPEDSTATE = 0x0157;
constexpr int CB_ERR = -1;
constexpr WORD CBN_SELCHANGE = 1;
constexpr WORD CBN_EDITCHANGE = 5;
constexpr WORD CBN_DROPDOWN = 7;
constexpr WORD CBN_CLOSEUP = 8;
constexpr DWORD CBS_SIMPLE = 0x1;
constexpr DWORD CBS_DROPDOWN = 0x2;
constexpr DWORD CBS_DROPDOWNLIST = 0x3;

class CComboBox : public CWnd
{
public:
    CComboBox();
    ~CComboBox() override;

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    int AddString(const char* text);
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    int GetLBText(int index, CString& text) const;
    int GetLBTextLen(int index) const;
    void ShowDropDown(BOOL show = TRUE);
    BOOL GetDroppedState() const;
    // The selected characters of the edit field: start in the low word, end in the high word.
    DWORD GetEditSel() const;
    BOOL SetEditSel(int start, int end);

    // The child windows (for tests and for painting): the edit field (CBS_DROPDOWN and
    // CBS_SIMPLE only) and, once the list has been dropped, the pop-up list.
    CWnd* GetEditWnd() const;
    CWnd* GetListWnd() const;

    // Width of the drop button at the right end of the client area.
    static constexpr int kButtonWidth = 18;
    static constexpr int kItemHeight = 16;

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnNativeCreated() override;
    // Items, selection, the edit field and the list belong to the window, not to the object:
    // a dialog's default combo box hands them to the member that subclasses it.
    void TakeOverState(CWnd* previous) override;

private:
    friend class ComboEdit;
    friend class ComboList;
    void Paint();
    void Notify(WORD code);
    void Select(int index, bool notify);
    void Drop(bool show);
    void LayoutEdit();
    bool HasFocusWithin() const;
    void FocusLeft(HWND newFocus);
    void KeyDown(UINT vk);
    UINT DlgCode(LPARAM msgParam) const;
    void EditChanged(const CString& text);

    std::vector<std::string> m_items;
    int m_nCurSel = CB_ERR;
    int m_nHot = CB_ERR; // the list's highlighted row: under the pointer, or the selection
    std::unique_ptr<CWnd> m_pEdit;
    std::unique_ptr<CWnd> m_pList;
};

// CButton: a push button (or check box) that reports BN_CLICKED to its parent; owner-drawn
// buttons paint through DrawItem.
#pragma once

#include "platform/wnd/Wnd.h"

struct DRAWITEMSTRUCT
{
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem;
    HDC hDC;
    RECT rcItem;
    UINT_PTR itemData;
};
using LPDRAWITEMSTRUCT = DRAWITEMSTRUCT*;

class CButton : public CWnd
{
public:
    BOOL Create(const char* caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);

    UINT GetState() const;
    void SetState(BOOL highlight);
    int GetCheck() const { return m_nCheck; }
    void SetCheck(int check);
    UINT GetButtonStyle() const { return GetStyle() & BS_TYPEMASK; }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE);

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void TakeOverState(CWnd* previous) override;

private:
    void Paint();
    void Click();
    void NotifyParent(WORD code);

    bool m_bPushed = false;   // drawn pressed
    bool m_bTracking = false; // the left button went down on us and is still held
    bool m_bSpaceDown = false;
    int m_nCheck = BST_UNCHECKED;
};

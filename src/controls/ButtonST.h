// CButtonST: the flat owner-drawn icon button of every window. It shows one icon while the
// pointer is over it or it is pressed and another at rest, a one-pixel raised frame under the
// pointer and a sunken one while pressed; its caption is never drawn.
#pragma once

#include "platform/gdi/Dc.h"
#include "platform/wnd/Button.h"

class CButtonST : public CButton
{
public:
    CButtonST();
    ~CButtonST() override;

    // "in" shows while the pointer is over the button or it is pressed, "out" (may be null)
    // otherwise. The button owns both from now on. 0 on success, 1 when an icon's information
    // cannot be read (the button is then left without icons).
    int SetIcon(HICON hIconIn, HICON hIconOut);
    // Loads each file as an icon at its own size; a file that cannot be loaded is absent.
    int SetIcon(const char* fileIn, const char* fileOut);

    bool IsPointerOver() const { return m_bMouseOnButton; }
    HICON GetIconIn() const { return m_icons[0].hIcon; }
    HICON GetIconOut() const { return m_icons[1].hIcon; }

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    void PreSubclassWindow() override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) override;

protected:
    virtual void PaintBackground(CDC* pDC, const CRect& rect);
    virtual void PaintBorder(CDC* pDC, const CRect& rect);

    void OnMouseMove(UINT nFlags, CPoint point) override;
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam) override;
    void OnKillFocus(CWnd* pNewWnd) override;
    void OnCancelMode() override;
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) override;
    void OnEnable(BOOL bEnable) override;
    UINT OnGetDlgCode() override;

private:
    struct IconEntry
    {
        HICON hIcon = nullptr;
        DWORD dwWidth = 0;
        DWORD dwHeight = 0;
    };

    void FreeIcons();
    void CancelHover();

    bool m_bMouseOnButton = false;
    bool m_bIsPressed = false;
    bool m_bIsFocused = false;
    bool m_bIsDisabled = false;
    bool m_bIsDefault = false;
    COLORREF m_crBkIn;
    COLORREF m_crBkOut;
    COLORREF m_crBkFocus;
    IconEntry m_icons[2];
};

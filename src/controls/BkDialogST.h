// CBkDialogST: the base of every window of the program. Paints its background from a bitmap,
// takes its shape from the bitmap's non-key pixels, moves when dragged by any point of the
// background, and lets static controls show the skin through their background.
#pragma once

#include "platform/gdi/Dc.h"
#include "platform/wnd/Dialog.h"

class CBkDialogST : public CDialog
{
public:
    explicit CBkDialogST(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CBkDialogST() override;

    // Takes ownership of the bitmap; a null handle removes the background. 0 on success, 1 when
    // the bitmap's size cannot be read (the dialog is then left without background).
    int SetBitmap(HBITMAP hBitmap);
    // Cuts the window to the pixels of the bitmap resource that are not pure blue.
    void CreateRegionFromBitmap(UINT nBitmapId);

    bool m_bDragAnywhere = false;
    bool m_bTransparentStatics = true;

protected:
    // The skin set-up every window runs in its initialisation: size to the bitmap, background,
    // shape, drag by any point.
    void ApplySkin(UINT nBitmapId);

    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override;

    HBITMAP m_hBkBitmap = nullptr;
    int m_nBkWidth = 0;
    int m_nBkHeight = 0;
    HBRUSH m_hNullBrush;
};

// The colour outside a shaped window's outline.
constexpr COLORREF kSkinKeyColour = RGB(0, 0, 255);

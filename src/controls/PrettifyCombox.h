// CPrettifyCombox: the skinned combo box. A one-pixel coloured frame and an arrow bitmap replace
// the combo box's own frame and drop button; the edit field and the list get the skin's text and
// background colours.
#pragma once

#include "platform/wnd/ComboBox.h"

class CPrettifyCombox : public CComboBox
{
public:
    CPrettifyCombox();
    ~CPrettifyCombox() override;

    void SetTextColor(COLORREF colour) { m_crText = colour; }
    void SetBkColor(COLORREF colour);
    // Loads the 14 x 13 arrow bitmap drawn, stretched, as the drop button.
    void LoadArrowBitmap();
    bool HasArrowBitmap() const { return m_hArrow != nullptr; }

protected:
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override;
    void OnPaint() override;

private:
    COLORREF m_crFrameTopLeft = RGB(115, 72, 25);
    COLORREF m_crFrameBottomRight = RGB(115, 72, 25);
    COLORREF m_crText = RGB(0, 0, 0);
    COLORREF m_crBk = RGB(255, 255, 255);
    HBRUSH m_hBkBrush = nullptr;
    HBITMAP m_hArrow = nullptr;
};

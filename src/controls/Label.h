// CLabel: a static text with its own font and text colour, drawn transparently over the skin.
#pragma once

#include "platform/gdi/Dc.h"
#include "platform/gdi/Gdi.h"
#include "platform/wnd/Static.h"

class CLabel : public CStatic
{
public:
    CLabel();
    ~CLabel() override;

    // Each rebuilds or restyles at once and repaints the label.
    CLabel& SetFontName(const char* name); // cut to 31 characters
    CLabel& SetFontSize(int size);         // character height in pixels
    CLabel& SetTextColor(COLORREF colour);

    const LOGFONTA& GetLogFont() const { return m_lf; }
    COLORREF GetTextColor() const { return m_crText; }

    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) override;

private:
    void ReconstructFont();
    void RedrawNow();

    COLORREF m_crText;
    HBRUSH m_hBackBrush;
    LOGFONTA m_lf{};
    CFont m_font;
};

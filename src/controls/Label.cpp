// Label fonts and colours.
#include "controls/Label.h"

#include <cstring>

CLabel::CLabel()
    : m_crText(GetSysColor(COLOR_WINDOWTEXT)), m_hBackBrush(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)))
{
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(m_lf), &m_lf);
    m_font.CreateFontIndirect(&m_lf);
}

CLabel::~CLabel()
{
    m_font.DeleteObject();
    DeleteObject(m_hBackBrush);
}

void CLabel::ReconstructFont()
{
    // The description is the one source of the font: size and face may be set in any order.
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&m_lf);
}

void CLabel::RedrawNow()
{
    if (m_hWnd)
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

CLabel& CLabel::SetFontName(const char* name)
{
    std::memset(m_lf.lfFaceName, 0, sizeof(m_lf.lfFaceName));
    if (name)
        std::strncpy(m_lf.lfFaceName, name, LF_FACESIZE - 1);
    ReconstructFont();
    RedrawNow();
    return *this;
}

CLabel& CLabel::SetFontSize(int size)
{
    m_lf.lfHeight = -size;
    ReconstructFont();
    RedrawNow();
    return *this;
}

CLabel& CLabel::SetTextColor(COLORREF colour)
{
    m_crText = colour;
    RedrawNow();
    return *this;
}

HBRUSH CLabel::CtlColor(CDC* pDC, UINT nCtlColor)
{
    if (nCtlColor == CTLCOLOR_STATIC && pDC) {
        pDC->SelectObject(&m_font);
        pDC->SetTextColor(m_crText);
        pDC->SetBkMode(TRANSPARENT);
    }
    return m_hBackBrush;
}

// Main window: the five adjustment rows.
#include "panel/KorvaxDlg.h"

#include "res/Resource.h"

void CKorvaxDlg::SetupSliders()
{
    const int values[5] = {m_nRow1, m_nRow2, m_nRow3, m_nRow4, m_nRow5};
    const int lower[5] = {m_nRow1Min, m_nRow2Min, m_nRow3Min, m_nRow4Min, m_nRow5Min};
    const int upper[5] = {m_nRow1Max, m_nRow2Max, m_nRow3Max, m_nRow4Max, m_nRow5Max};
    for (int i = 0; i < 5; ++i) {
        CBitmapSlider& slider = m_slider[i];
        slider.LoadChannelBitmaps(IDB_SLIDER_CHANNEL, IDB_SLIDER_ACTIVE);
        slider.SetFocusRectDrawing(false);
        slider.SetRange(lower[i], upper[i]);
        slider.SetPos(values[i]);
        slider.SetMargin(2, 3, 2, 0);
        slider.Enable(m_bRowEnabled[i] != 0);
    }
}

// Main window: the two clock graphs.
#include "panel/KorvaxDlg.h"

#include "res/Resource.h"

namespace {
constexpr char kCoreSeries[] = "Engine Clock MHz";
constexpr char kMemSeries[] = "Memory Clock MHz";
constexpr COLORREF kGraphBlendBase = RGB(0, 50, 0);
constexpr UINT_PTR kPlotScrollTimer = 1;
constexpr UINT kNeverMs = 0xFFFFFFFF; // the longest timer period: the grid stands still
} // namespace

void CKorvaxDlg::SetupPlots()
{
    struct Graph
    {
        rlcuv::CPlot* plot;
        int id;
        const char* series;
        int upper, lower;
    };
    const Graph graphs[] = {{&m_plotCore, IDC_PLOT_CORE, kCoreSeries, m_nPlot1Max, m_nPlot1Min},
                            {&m_plotMem, IDC_PLOT_MEM, kMemSeries, m_nPlot2Max, m_nPlot2Min}};
    for (const Graph& g : graphs) {
        g.plot->SubclassDlgItem(static_cast<UINT>(g.id), this);
        g.plot->ModifyStyle(WS_BORDER, WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 0);
        g.plot->m_fBlend = 1.0f;
        g.plot->m_bShowGrid = true;
        g.plot->m_crBlendBase = kGraphBlendBase;
        g.plot->m_nPenStyle = 0;
        g.plot->Invalidate();
        g.plot->m_nScrollPeriod = -1;
        g.plot->SetTimer(kPlotScrollTimer, kNeverMs, nullptr);
        g.plot->Invalidate();
        g.plot->ResetSeriesStyle(g.series);
        g.plot->AddSeries(g.upper, g.series, g.lower);
    }
}

// rlcuv::CPlot: an owner-drawn static that draws curves over a dark grid. Each series is a row of
// sample slots, about one per pixel column; a new sample shifts the row one slot left and lands
// in the rightmost slot. Samples are percentages of the series' range, 0 at the bottom and 100 at
// the top. Paints are double-buffered and serialised with sampling by one lock per plot.
#pragma once

#include "platform/os/CriticalSection.h"
#include "platform/wnd/Button.h" // DRAWITEMSTRUCT
#include "platform/wnd/Static.h"

#include <memory>
#include <string>
#include <vector>

namespace rlcuv {

struct PlotPoint
{
    int y = 0;         // pixel row of the slot, written by each paint
    int x = 0;         // pixel column of the slot, written by each paint
    int percent = -1;  // position in the series' range; -1 marks an empty slot
    int value = 0;     // the raw sample, shown by the hover readout
    std::string label; // its last 8 characters are shown under the readout
};

struct PlotSeries
{
    const char* name = nullptr; // the caller's text (a literal), not copied
    COLORREF colour = RGB(0, 255, 0);
    int nPenStyle = 0;
    int nPenWidth = 0;
    int nLower = 0;
    int nUpper = 0;
    std::unique_ptr<PlotPoint[]> points;
    int count = 0;
};

struct PlotArea
{
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
    int width = 0;
    int height = 0;
};

class CPlot : public CStatic
{
public:
    CPlot();
    ~CPlot() override;

    // Owner settings; a change shows at the next paint.
    COLORREF m_crBackground = RGB(0, 0, 0);
    COLORREF m_crBlendBase = RGB(64, 96, 64);
    bool m_bShowGrid = true;
    bool m_bShowAxes = false; // also lifts the curves by 15 pixels
    bool m_bShowMajorTicks = false;
    bool m_bShowMinorTicks = false;
    float m_fBlend = 0.0f; // weight of the series colour against m_crBlendBase
    int m_nPenStyle = 0;   // grid, axis and tick pens
    int m_nGridPhase = -2;
    int m_nScrollPeriod = 1000; // ms; -1: the grid never scrolls
    int m_nMajorDivisions = 10;
    int m_nMinorDivisions = 5;
    HFONT m_font = nullptr;
    bool m_bAlignBuffers = true;
    std::vector<PlotSeries> m_lstSeries;
    std::unique_ptr<CDC> m_pMemDC;
    PlotArea m_rcPlot;

    void ResetSeriesStyle(const char* name);
    bool AddSeries(int nUpper, const char* name, int nLower);
    void AddPoint(const char* name, int percent, int value, const char* label, bool redraw);
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnSize(UINT nType, int cx, int cy) override;
    BOOL OnEraseBkgnd(CDC* pDC) override;

protected:
    void OnPaint() override;
    // Fits every series to a new width, keeping the newest samples at the right. False when an
    // allocation failed: that series is left with no slots and the later ones keep theirs.
    bool ResizeBuffers(int cx);
    bool DrawBackground(HDC hdc, int w, int h);
    bool DrawSeries(HDC hdc);
    // Slot storage; nullptr when it cannot be had.
    virtual PlotPoint* AllocatePoints(int n);

private:
    CRITICAL_SECTION m_lock;
};

} // namespace rlcuv

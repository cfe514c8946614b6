// Line plot: series storage, sampling, painting, grid scrolling and resizing.
#include "controls/Plot.h"

#include "platform/gdi/Dc.h"
#include "platform/gdi/Gdi.h"
#include "platform/wnd/PaintDC.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <new>
#include <strings.h>

namespace rlcuv {

namespace {

constexpr UINT_PTR kScrollTimer = 1;
constexpr int kAxisLift = 15;        // curves sit this much higher when the axes are drawn
constexpr int kTickLabelMargin = 30; // the percent labels take this much of the width
constexpr size_t kLabelTail = 8;

bool SameName(const char* a, const char* b)
{
    return a && b && strcasecmp(a, b) == 0;
}

// One channel of the blend, cut to 8 bits the way a byte store would.
int BlendChannel(float blend, int base, int series)
{
    const double c = (1.0 - static_cast<double>(blend)) * base + static_cast<double>(blend) * series;
    if (!std::isfinite(c))
        return 0;
    const long long v = static_cast<long long>(std::clamp(c, -1e15, 1e15));
    return static_cast<int>(v & 0xFF);
}

int ClampToInt(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

// The pixel row of a percentage in the plot area; above 100 stops at the top, below -1 is left
// below the bottom.
int RowOf(const PlotArea& area, int percent)
{
    int y = ClampToInt(area.bottom - (static_cast<long long>(percent) * area.height) / 101 - 1);
    return y < area.top ? area.top : y;
}

void Line(HDC hdc, int x1, int y1, int x2, int y2)
{
    ::MoveToEx(hdc, x1, y1, nullptr);
    ::LineTo(hdc, x2, y2);
}

} // namespace

CPlot::CPlot() : m_pMemDC(std::make_unique<CDC>())
{
    // "微软雅黑" (Microsoft YaHei); the drawing layer substitutes an installed CJK face.
    m_font = ::CreateFontA(-10, 0, 0, 0, 100, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH,
                           "\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91");
    ::InitializeCriticalSection(&m_lock);
}

CPlot::~CPlot()
{
    m_lstSeries.clear();
    m_pMemDC.reset();
    if (m_font)
        ::DeleteObject(m_font);
    ::DeleteCriticalSection(&m_lock);
}

PlotPoint* CPlot::AllocatePoints(int n)
{
    return new (std::nothrow) PlotPoint[static_cast<size_t>(std::max(0, n))];
}

void CPlot::ResetSeriesStyle(const char* name)
{
    for (PlotSeries& s : m_lstSeries) {
        if (SameName(s.name, name)) {
            s.colour = RGB(0, 220, 0);
            s.nPenStyle = 0;
            s.nPenWidth = 0;
        }
    }
    Invalidate();
}

bool CPlot::AddSeries(int nUpper, const char* name, int nLower)
{
    CRect rc;
    GetClientRect(&rc);
    const int w = rc.Width();
    const int h = rc.Height();
    m_rcPlot.left = 0;
    m_rcPlot.top = 0;
    m_rcPlot.right = m_rcPlot.width = (w / 5) * 5 + 1;
    m_rcPlot.bottom = m_rcPlot.height = (h / 5) * 5 + 1;
    const int n = m_bAlignBuffers ? m_rcPlot.width : w;
    PlotPoint* points = AllocatePoints(n);
    if (!points)
        return false;
    PlotSeries s;
    s.name = name;
    s.nLower = nLower;
    s.nUpper = nUpper;
    s.points.reset(points);
    s.count = std::max(0, n);
    m_lstSeries.push_back(std::move(s));
    Invalidate();
    return true;
}

void CPlot::AddPoint(const char* name, int percent, int value, const char* label, bool redraw)
{
    os::CriticalSectionLock lock(&m_lock);
    for (PlotSeries& s : m_lstSeries) {
        if (s.count < 1 || !SameName(s.name, name))
            continue;
        PlotPoint* p = s.points.get();
        // The oldest slot falls off; moving keeps the shift free of label copies.
        std::move(p + 1, p + s.count, p);
        PlotPoint& last = p[s.count - 1];
        last.percent = percent;
        last.value = value;
        last.label = label ? label : "";
    }
    if (redraw)
        Invalidate();
}

void CPlot::OnPaint()
{
    if ((GetStyle() & SS_TYPEMASK) != SS_OWNERDRAW) {
        CStatic::OnPaint();
        return;
    }
    // An owner-drawn static asks its parent, which hands the request back to us (reflection).
    CPaintDC dc(this);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_STATIC;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID());
    dis.itemAction = ODA_DRAWENTIRE;
    dis.hwndItem = m_hWnd;
    dis.hDC = dc.GetSafeHdc();
    GetClientRect(&dis.rcItem);
    CWnd* parent = GetParent();
    if (!parent || !parent->SendMessage(WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis)))
        DrawItem(&dis);
}

BOOL CPlot::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return CStatic::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}

BOOL CPlot::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CPlot::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    os::CriticalSectionLock lock(&m_lock);
    if (!lpDrawItemStruct || !IsWindowVisible())
        return;
    HDC target = lpDrawItemStruct->hDC;
    CRect rc;
    GetClientRect(&rc);
    HDC mem = target ? ::CreateCompatibleDC(target) : nullptr;
    if (!mem)
        return;
    HBITMAP bitmap = ::CreateCompatibleBitmap(target, rc.Width(), rc.Height());
    if (!bitmap) {
        ::DeleteDC(mem);
        return;
    }
    HGDIOBJ old = ::SelectObject(mem, bitmap);
    m_pMemDC->Attach(mem);
    if (DrawBackground(mem, rc.Width(), rc.Height()) && DrawSeries(mem))
        ::BitBlt(target, 0, 0, rc.Width(), rc.Height(), mem, 0, 0, SRCCOPY);
    m_pMemDC->Detach();
    ::SelectObject(mem, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(mem);
}

bool CPlot::DrawBackground(HDC hdc, int w, int h)
{
    HBRUSH brush = ::CreateSolidBrush(m_crBackground);
    HRGN rgn = ::CreateRectRgn(0, 0, w, h);
    const bool filled = brush && rgn && ::FillRgn(hdc, rgn, brush);
    if (brush)
        ::DeleteObject(brush);
    if (rgn)
        ::DeleteObject(rgn);
    if (!filled)
        return false;

    const int gridW = (w / 5) * 5 + 1;
    const int gridH = (h / 5) * 5 + 1;
    if (m_bShowGrid) {
        HPEN pen = ::CreatePen(m_nPenStyle, 1, RGB(90, 90, 90));
        if (!pen)
            return false;
        HGDIOBJ old = ::SelectObject(hdc, pen);
        for (int k = 0; k < gridW; k += 5)
            Line(hdc, m_nGridPhase + k, 0, m_nGridPhase + k, gridH);
        for (int k = 0; k < gridH; k += 5)
            Line(hdc, -1, k, (w / 5) * 5 - 1, k);
        ::SelectObject(hdc, old);
        ::DeleteObject(pen);
    }

    const bool ticks = m_bShowMajorTicks || m_bShowMinorTicks;
    if (!m_bShowAxes && !ticks)
        return true;
    HPEN pen = ::CreatePen(m_nPenStyle, 1, RGB(255, 255, 0));
    if (!pen)
        return false;
    HGDIOBJ oldPen = ::SelectObject(hdc, pen);
    const PlotArea& a = m_rcPlot;
    if (m_bShowAxes) {
        Line(hdc, a.left - 1, a.bottom - 1, a.right - 2, a.bottom - 1);
        Line(hdc, a.left - 1, a.bottom - 1, a.left - 1, a.top - 1);
    }
    if (ticks) {
        const int R = w;
        const int hh = m_bShowAxes ? h - kAxisLift : h;
        const int major = m_nMajorDivisions != 0 ? hh / m_nMajorDivisions : 0;
        const int minor = m_nMinorDivisions != 0 ? major / m_nMinorDivisions : 0;
        int prev = 0;
        for (int t = hh; t >= 0 && major > 0; t -= major) {
            if (m_bShowMajorTicks) {
                Line(hdc, 28, t, 33, t);
                Line(hdc, R, t, R - 4, t);
            }
            if (m_bShowMinorTicks) {
                // Minor ticks of the interval just passed: from the previous major tick upwards,
                // while more than one minor step of the interval remains.
                if (prev >= t) {
                    int gap = prev - t;
                    int y = prev;
                    while (t >= 0 && minor > 0) {
                        if (gap > minor) {
                            Line(hdc, 29, y, 32, y);
                            Line(hdc, R, y, R - 3, y);
                        }
                        gap -= minor;
                        y -= minor;
                        if (y < t)
                            break;
                    }
                }
                prev = t;
            }
        }
        const COLORREF oldText = ::SetTextColor(hdc, RGB(255, 255, 0));
        const int oldMode = ::SetBkMode(hdc, TRANSPARENT);
        HGDIOBJ oldFont = ::SelectObject(hdc, m_font);
        ::TextOutA(hdc, 0, 0, "100%", 4);
        ::TextOutA(hdc, 0, hh / 2 - 10, " 50%", 4);
        ::TextOutA(hdc, 0, hh - 10, "  0%", 4);
        ::SetTextColor(hdc, oldText);
        ::SetBkMode(hdc, oldMode);
        ::SelectObject(hdc, oldFont);
    }
    ::SelectObject(hdc, oldPen);
    ::DeleteObject(pen);
    return true;
}

bool CPlot::DrawSeries(HDC hdc)
{
    const PlotArea& a = m_rcPlot;
    const int lift = m_bShowAxes ? kAxisLift : 0;

    // Where the pointer is, for the readout of the sample in its column.
    POINT screen{};
    const bool haveCursor = ::GetCursorPos(&screen) != 0;
    POINT client = screen;
    ScreenToClient(&client);
    CRect parentRect;
    bool overParent = false;
    if (CWnd* parent = GetParent()) {
        parent->GetWindowRect(&parentRect);
        overParent = haveCursor && screen.y >= parentRect.top && screen.y <= parentRect.bottom;
    }

    for (PlotSeries& s : m_lstSeries) {
        const COLORREF colour = RGB(BlendChannel(m_fBlend, GetRValue(m_crBlendBase), GetRValue(s.colour)),
                                    BlendChannel(m_fBlend, GetGValue(m_crBlendBase), GetGValue(s.colour)),
                                    BlendChannel(m_fBlend, GetBValue(m_crBlendBase), GetBValue(s.colour)));
        HPEN pen = ::CreatePen(s.nPenStyle, s.nPenWidth, colour);
        if (!pen)
            return false;
        HGDIOBJ oldPen = ::SelectObject(hdc, pen);
        PlotPoint* p = s.points.get();
        for (int i = 0; i + 1 < s.count; ++i) {
            if (p[i].percent == -1)
                continue;
            const int y1 = RowOf(a, p[i].percent);
            const int y2 = RowOf(a, p[i + 1].percent);
            const int x1 = a.left + i - 1;
            const int x2 = a.left + i;
            p[i].y = y1;
            p[i].x = x1;
            p[i + 1].y = y2;
            p[i + 1].x = x2;
            Line(hdc, x1, ClampToInt(static_cast<long long>(y1) - lift), x2,
                 ClampToInt(static_cast<long long>(y2) - lift));
            if (overParent && client.x == x1) {
                const COLORREF oldText = ::SetTextColor(hdc, RGB(222, 222, 222));
                const int oldMode = ::SetBkMode(hdc, TRANSPARENT);
                HGDIOBJ oldFont = ::SelectObject(hdc, m_font);
                char text[16];
                const int len = std::snprintf(text, sizeof(text), "%d", p[i].value);
                ::TextOutA(hdc, x1, y1 - 15, text, len);
                const std::string& label = p[i].label;
                const size_t from = label.size() > kLabelTail ? label.size() - kLabelTail : 0;
                ::TextOutA(hdc, x1, a.bottom, label.c_str() + from, static_cast<int>(label.size() - from));
                ::SetTextColor(hdc, oldText);
                ::SetBkMode(hdc, oldMode);
                ::SelectObject(hdc, oldFont);
            }
        }
        ::SelectObject(hdc, oldPen);
        ::DeleteObject(pen);
    }
    return true;
}

void CPlot::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kScrollTimer) {
        KillTimer(kScrollTimer);
        if (IsWindowVisible() && m_nScrollPeriod != -1 && m_bShowGrid) {
            m_nGridPhase -= 2;
            if (m_nGridPhase > 5)
                m_nGridPhase = 0;
            if (m_nGridPhase < 0)
                m_nGridPhase = 5;
            Invalidate();
        }
        SetTimer(kScrollTimer, static_cast<UINT>(m_nScrollPeriod));
    }
    Default();
}

void CPlot::OnSize(UINT nType, int cx, int cy)
{
    CStatic::OnSize(nType, cx, cy);
    if (!IsWindowVisible() || cx <= 0 || cy <= 0)
        return;
    os::CriticalSectionLock lock(&m_lock);
    if (ResizeBuffers(cx))
        Invalidate();
}

bool CPlot::ResizeBuffers(int cx)
{
    const int n = std::max(0, (m_bShowMajorTicks || m_bShowMinorTicks) ? cx - kTickLabelMargin : cx);
    for (PlotSeries& s : m_lstSeries) {
        PlotPoint* fresh = AllocatePoints(n);
        if (!fresh) {
            s.points.reset();
            s.count = 0;
            return false;
        }
        for (int k = 0; k < n; ++k)
            fresh[k].percent = s.nLower;
        for (int k = n - 1, j = s.count - 1; k >= 0 && j >= 0; --k, --j)
            fresh[k].percent = s.points[j].percent;
        s.points.reset(fresh);
        s.count = n;
    }
    return true;
}

} // namespace rlcuv

// The main window's plot: one paint of a 170 x 67 plot whose one series is full, and one sample
// added to it (headless Qt).
#include "controls/Plot.h"
#include "platform/gdi/QtBridge.h"
#include "platform/wnd/Dialog.h"
#include "platform/wnd/DialogTemplate.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

constexpr UINT kTemplate = 9300;
constexpr UINT kPlotId = 1025;
constexpr const char* kSeries = "Engine Clock MHz";

class PlotWindow : public CDialog
{
public:
    PlotWindow() : CDialog(kTemplate)
    {
        DialogTemplate t;
        t.id = kTemplate;
        t.style = WS_POPUP;
        t.rect = CRect(0, 0, 200, 100);
        t.controls = {{"Static", "", kPlotId, WS_CHILD | WS_VISIBLE, CRect(10, 10, 180, 77)}};
        wnd::RegisterDialogTemplate(t);
        Create(kTemplate);
        ShowWindow(SW_SHOW);
        plot.SubclassDlgItem(kPlotId, this);
        plot.ModifyStyle(WS_BORDER, WS_CHILD | WS_VISIBLE | SS_OWNERDRAW);
        plot.m_fBlend = 1.0f;
        plot.m_crBlendBase = RGB(0, 50, 0);
        plot.m_nScrollPeriod = -1;
        plot.ResetSeriesStyle(kSeries);
        plot.AddSeries(2000, kSeries, 100);
        for (int i = 0; i < 171; ++i)
            plot.AddPoint(kSeries, (i * 7) % 101, 1000 + i, "", false);
    }
    rlcuv::CPlot plot;
};

void BM_PlotPaint(benchmark::State& state)
{
    PlotWindow wnd;
    QImage screen(170, 67, QImage::Format_RGB32);
    HDC hdc = gdi::CreateDCOnImage(&screen);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_STATIC;
    dis.CtlID = kPlotId;
    dis.hwndItem = wnd.plot.m_hWnd;
    dis.hDC = hdc;
    dis.rcItem = RECT{0, 0, 170, 67};
    for (auto _ : state)
        wnd.plot.DrawItem(&dis);
    DeleteDC(hdc);
}
BENCHMARK(BM_PlotPaint)->Unit(benchmark::kMicrosecond);

void BM_PlotAddPoint(benchmark::State& state)
{
    PlotWindow wnd;
    int i = 0;
    for (auto _ : state) {
        wnd.plot.AddPoint(kSeries, i % 101, i, "", false);
        ++i;
    }
}
BENCHMARK(BM_PlotAddPoint)->Unit(benchmark::kNanosecond);

} // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

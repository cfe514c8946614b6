// Building the main window's shape from its skin bitmap (one pixel read per bitmap pixel).
#include "controls/BkDialogST.h"
#include "res/DialogTemplates.h"
#include "res/Resource.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

class ShapedWindow : public CBkDialogST
{
public:
    ShapedWindow() : CBkDialogST(IDD_DLG_MSG) {}
    void BuildShape() { CreateRegionFromBitmap(IDB_MAIN_SKIN); }
};

void BM_MainWindowRegion(benchmark::State& state)
{
    res::RegisterDialogTemplates();
    ShapedWindow wnd;
    wnd.Create(IDD_DLG_MSG);
    for (auto _ : state)
        wnd.BuildShape();
}
BENCHMARK(BM_MainWindowRegion)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

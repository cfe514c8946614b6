// Line plots as the user sees them: the grid, the rows a percentage lands on, the curve colour,
// axes and ticks, the hover readout, grid scrolling, and resizing that keeps the newest samples.
#include "controls/Plot.h"
#include "platform/wnd/Dialog.h"
#include "platform/wnd/DialogTemplate.h"
#include "tests/support/WndHarness.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kPlotTemplate = 9210;
constexpr UINT kPlotId = 1025;
constexpr const char* kSeries = "Engine Clock MHz";
const QRgb kBlack = qRgb(0, 0, 0) & 0xFFFFFF;
const QRgb kGrid = qRgb(90, 90, 90) & 0xFFFFFF;
const QRgb kGreen = qRgb(0, 255, 0) & 0xFFFFFF;
const QRgb kYellow = qRgb(255, 255, 0) & 0xFFFFFF;

// A plot whose slot allocations can be made to fail.
class FailingPlot : public rlcuv::CPlot
{
public:
    int failAfter = -1; // allocations left before they fail; -1 never
    using rlcuv::CPlot::ResizeBuffers;

protected:
    rlcuv::PlotPoint* AllocatePoints(int n) override
    {
        if (failAfter == 0)
            return nullptr;
        if (failAfter > 0)
            --failAfter;
        return rlcuv::CPlot::AllocatePoints(n);
    }
};

class PlotWindow : public CDialog
{
public:
    PlotWindow() : CDialog(kPlotTemplate)
    {
        DialogTemplate t;
        t.id = kPlotTemplate;
        t.style = WS_POPUP;
        t.rect = CRect(50, 50, 300, 150);
        t.controls = {{"Static", "", kPlotId, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 10, 180, 77)}};
        wnd::RegisterDialogTemplate(t);
    }
    FailingPlot plot;
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        // As the main window attaches its two plots.
        plot.SubclassDlgItem(kPlotId, this);
        plot.ModifyStyle(WS_BORDER, WS_CHILD | WS_VISIBLE | SS_OWNERDRAW);
        plot.m_fBlend = 1.0f;
        plot.m_bShowGrid = true;
        plot.m_crBlendBase = RGB(0, 50, 0);
        plot.m_nPenStyle = 0;
        plot.m_nScrollPeriod = -1;
        return TRUE;
    }
};

struct Plot : ::testing::Test
{
    PlotWindow wnd;
    rlcuv::CPlot& plot = wnd.plot;
    void SetUp() override
    {
        ASSERT_TRUE(wnd.Create(kPlotTemplate));
        wnd.ShowWindow(SW_SHOW);
    }
    void AddSeries() { ASSERT_TRUE(plot.AddSeries(2000, kSeries, 100)); }
    QImage Shown() { return test::Render(&plot); }
    static int CountColour(const QImage& image, QRgb colour)
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += test::PixelAt(image, x, y) == colour;
        return n;
    }
};

TEST_F(Plot, AreaAndSlotsFollowTheFivePixelGrid)
{
    AddSeries();
    EXPECT_EQ(plot.m_rcPlot.width, 171);
    EXPECT_EQ(plot.m_rcPlot.right, 171);
    EXPECT_EQ(plot.m_rcPlot.height, 66);
    EXPECT_EQ(plot.m_rcPlot.bottom, 66);
    ASSERT_EQ(plot.m_lstSeries.size(), 1u);
    EXPECT_EQ(plot.m_lstSeries[0].count, 171);
    for (int i = 0; i < 171; ++i)
        ASSERT_EQ(plot.m_lstSeries[0].points[i].percent, -1);
    plot.m_bAlignBuffers = false;
    ASSERT_TRUE(plot.AddSeries(10, "other", 0));
    EXPECT_EQ(plot.m_lstSeries[1].count, 170) << "the client width";
}

TEST_F(Plot, WithoutSeriesOnlyTheGridIsDrawn)
{
    const QImage shown = Shown();
    ASSERT_EQ(shown.size(), QSize(170, 67));
    // Vertical lines at the phase -2 plus multiples of 5, horizontal ones every 5 rows.
    EXPECT_EQ(test::PixelAt(shown, 3, 2), kGrid);
    EXPECT_EQ(test::PixelAt(shown, 168, 64), kGrid);
    EXPECT_EQ(test::PixelAt(shown, 1, 5), kGrid);
    EXPECT_EQ(test::PixelAt(shown, 1, 65), kGrid);
    EXPECT_EQ(test::PixelAt(shown, 4, 2), kBlack);
    EXPECT_EQ(test::PixelAt(shown, 169, 5), kBlack) << "horizontal lines end before the last column";
    EXPECT_EQ(test::PixelAt(shown, 4, 66), kBlack) << "nor below the grid";
    EXPECT_EQ(CountColour(shown, kGreen), 0);
}

TEST_F(Plot, TheFirstSampleDrawsNothingAndTheSecondJoinsTheRightmostColumns)
{
    AddSeries();
    plot.AddPoint(kSeries, 50, 900, "", true);
    EXPECT_EQ(CountColour(Shown(), kGreen), 0);
    plot.AddPoint(kSeries, 50, 950, "", true);
    const QImage shown = Shown();
    EXPECT_EQ(test::PixelAt(shown, 168, 33), kGreen);
    EXPECT_EQ(CountColour(shown, kGreen), 1) << "LineTo leaves out the segment's end";
    EXPECT_EQ(plot.m_lstSeries[0].points[170].value, 950);
    EXPECT_EQ(plot.m_lstSeries[0].points[169].value, 900);
}

TEST_F(Plot, PercentLandsOnItsRow)
{
    AddSeries();
    const struct
    {
        int percent, row;
    } cases[] = {{100, 0}, {0, 65}, {50, 33}, {150, 0}, {-2, 66}};
    for (const auto& c : cases) {
        plot.AddPoint(kSeries, c.percent, 0, "", true);
        plot.AddPoint(kSeries, c.percent, 0, "", true);
        const QImage shown = Shown();
        EXPECT_EQ(test::PixelAt(shown, 168, c.row), kGreen) << "percent " << c.percent;
        EXPECT_EQ(plot.m_lstSeries[0].points[169].y, c.row);
    }
    // Far below -1 the row is below the control: nothing is seen.
    plot.AddPoint(kSeries, -50, 0, "", true);
    plot.AddPoint(kSeries, -50, 0, "", true);
    const QImage shown = Shown();
    for (int y = 0; y < 67; ++y)
        EXPECT_NE(test::PixelAt(shown, 168, y), kGreen) << y;
}

TEST_F(Plot, AValueFollowedByAnEmptySlotFallsToTheBottom)
{
    AddSeries();
    plot.AddPoint(kSeries, 100, 0, "", true);
    plot.AddPoint(kSeries, -1, 0, "", true);
    const QImage shown = Shown();
    EXPECT_EQ(test::PixelAt(shown, 168, 0), kGreen);
    EXPECT_EQ(test::PixelAt(shown, 169, 64), kGreen);
    EXPECT_EQ(plot.m_lstSeries[0].points[170].y, 65);
}

TEST_F(Plot, SamplesReachEverySeriesOfTheNameInAnyCase)
{
    AddSeries();
    ASSERT_TRUE(plot.AddSeries(10, "ENGINE CLOCK MHZ", 0));
    ASSERT_TRUE(plot.AddSeries(10, "Memory Clock MHz", 0));
    plot.AddPoint("engine clock mhz", 42, 1234, "label", false);
    EXPECT_EQ(plot.m_lstSeries[0].points[170].percent, 42);
    EXPECT_EQ(plot.m_lstSeries[1].points[170].value, 1234);
    EXPECT_EQ(plot.m_lstSeries[2].points[170].percent, -1);
    plot.AddPoint("Fan", 10, 10, "", true);
    plot.AddPoint(nullptr, 10, 10, nullptr, true);
    EXPECT_EQ(plot.m_lstSeries[0].points[170].percent, 42) << "an unknown name changes nothing";
    EXPECT_EQ(plot.m_lstSeries[0].points[169].percent, -1);
    EXPECT_EQ(plot.m_lstSeries[0].points[170].label, "label");
}

TEST_F(Plot, CurveColourIsTheBlendOfTheSeriesAndTheBase)
{
    AddSeries();
    plot.AddPoint(kSeries, 50, 0, "", false);
    plot.AddPoint(kSeries, 50, 0, "", false);
    const struct
    {
        float blend;
        QRgb colour;
    } cases[] = {{1.0f, qRgb(0, 255, 0)},
                 {0.0f, qRgb(64, 96, 64)},
                 {0.5f, qRgb(32, 175, 32)},
                 {2.0f, qRgb(192, 158, 192)}};
    plot.m_crBlendBase = RGB(64, 96, 64);
    for (const auto& c : cases) {
        plot.m_fBlend = c.blend;
        plot.Invalidate();
        EXPECT_EQ(test::PixelAt(Shown(), 168, 33), c.colour & 0xFFFFFF) << "blend " << c.blend;
    }
    plot.m_fBlend = 1.0f;
    plot.m_lstSeries[0].colour = RGB(200, 10, 10);
    plot.ResetSeriesStyle("ENGINE clock MHz");
    EXPECT_EQ(test::PixelAt(Shown(), 168, 33), qRgb(0, 220, 0) & 0xFFFFFF);
}

TEST_F(Plot, AxesLiftTheCurvesBy15Pixels)
{
    AddSeries();
    plot.AddPoint(kSeries, 0, 0, "", false);
    plot.AddPoint(kSeries, 0, 0, "", false);
    plot.m_bShowAxes = true;
    const QImage shown = Shown();
    EXPECT_EQ(test::PixelAt(shown, 168, 50), kGreen);
    EXPECT_NE(test::PixelAt(shown, 168, 65), kGreen);
    EXPECT_EQ(test::PixelAt(shown, 100, 65), kYellow) << "the horizontal axis along the area's last row";
    EXPECT_EQ(test::PixelAt(shown, 169, 65), kBlack);
    EXPECT_EQ(plot.m_lstSeries[0].points[169].y, 65) << "stored rows are not lifted";
}

TEST_F(Plot, MajorAndMinorTicksOnTheRightEdge)
{
    // 67 rows: major ticks every 6 rows from the bottom (67, 61, ... 1), minor ones every row.
    plot.m_bShowMajorTicks = true;
    QImage shown = Shown();
    for (int t = 61; t >= 1; t -= 6) {
        EXPECT_EQ(test::PixelAt(shown, 167, t), kYellow) << "major at " << t;
        EXPECT_EQ(test::PixelAt(shown, 30, t), kYellow) << "major at " << t;
    }
    EXPECT_NE(test::PixelAt(shown, 167, 60), kYellow);
    EXPECT_NE(test::PixelAt(shown, 169, 64), kYellow);

    plot.m_bShowMajorTicks = false;
    plot.m_bShowMinorTicks = true;
    shown = Shown();
    // Between the majors at 67 and 61, the minors sit at 66 .. 63; at 62 one step is all that is left.
    for (int y : {66, 65, 64, 63})
        EXPECT_EQ(test::PixelAt(shown, 169, y), kYellow) << "minor at " << y;
    EXPECT_NE(test::PixelAt(shown, 169, 62), kYellow);
    EXPECT_NE(test::PixelAt(shown, 167, 64), kYellow) << "minors are shorter than majors";
}

TEST_F(Plot, HoverShowsTheReadoutOnlyWhileThePointerIsOverACurveColumn)
{
    AddSeries();
    for (int i = 0; i < 171; ++i)
        plot.AddPoint(kSeries, 20, 1500, "", false);
    // Text may be smoothed: any light grey pixel counts (the grid is darker, the curve green).
    const auto isReadout = [](QRgb p) {
        const QColor c = QColor::fromRgb(p);
        return c.red() > 120 && c.red() == c.green() && c.green() == c.blue();
    };
    const auto countReadout = [&](const QImage& image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += isReadout(test::PixelAt(image, x, y));
        return n;
    };
    test::MouseMove(&wnd, 230, 40); // right of the plot
    EXPECT_EQ(countReadout(Shown()), 0);
    test::MouseMove(&plot, 100, 30);
    const QImage shown = Shown();
    // The value is written from 15 rows above the sample in the pointer's column, rightwards.
    const int row = plot.m_lstSeries[0].points[101].y;
    int near = 0, elsewhere = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const bool inBox = x >= 100 && x < 140 && y >= row - 15 && y < row;
            (inBox ? near : elsewhere) += isReadout(test::PixelAt(shown, x, y));
        }
    EXPECT_GT(near, 0);
    EXPECT_EQ(elsewhere, 0);
}

TEST_F(Plot, ScrollTimerMovesTheGridTwoPixelsLeftPerTick)
{
    plot.m_nScrollPeriod = 1000;
    plot.SetTimer(1, 1000);
    for (int phase : {5, 3, 1, 5, 3}) {
        test::Advance(1000);
        EXPECT_EQ(plot.m_nGridPhase, phase);
    }
    EXPECT_EQ(test::PixelAt(Shown(), 3, 2), kGrid);
    EXPECT_EQ(test::PixelAt(Shown(), 5, 2), kBlack);
    plot.m_nScrollPeriod = -1;
    test::Advance(1000);
    test::Advance(100000);
    EXPECT_EQ(plot.m_nGridPhase, 3) << "the main window's plots never scroll";
}

TEST_F(Plot, ResizeKeepsTheNewestSamplesAtTheRight)
{
    AddSeries();
    for (int i = 0; i < 171; ++i)
        plot.AddPoint(kSeries, i % 100, i, "", false);
    plot.MoveWindow(10, 10, 200, 67);
    ASSERT_EQ(plot.m_lstSeries[0].count, 200);
    EXPECT_EQ(plot.m_lstSeries[0].points[199].percent, 70);
    EXPECT_EQ(plot.m_lstSeries[0].points[29].percent, 0);
    EXPECT_EQ(plot.m_lstSeries[0].points[28].percent, 100) << "new slots take the lower bound";
    EXPECT_EQ(plot.m_lstSeries[0].points[199].value, 0) << "values are not kept";

    plot.m_bShowMajorTicks = true;
    plot.MoveWindow(10, 10, 100, 67);
    ASSERT_EQ(plot.m_lstSeries[0].count, 70) << "room for the percent labels";
    EXPECT_EQ(plot.m_lstSeries[0].points[69].percent, 70);
    EXPECT_EQ(plot.m_lstSeries[0].points[0].percent, 1);
    Shown();
}

TEST_F(Plot, FailedAllocationsLeaveWhatCanBeDrawn)
{
    wnd.plot.failAfter = 0;
    EXPECT_FALSE(plot.AddSeries(10, kSeries, 0));
    EXPECT_TRUE(plot.m_lstSeries.empty());

    wnd.plot.failAfter = -1;
    AddSeries();
    ASSERT_TRUE(plot.AddSeries(10, "second", 0));
    wnd.plot.failAfter = 0;
    EXPECT_FALSE(wnd.plot.ResizeBuffers(120));
    EXPECT_EQ(plot.m_lstSeries[0].count, 0);
    EXPECT_EQ(plot.m_lstSeries[1].count, 171) << "not reached";
    plot.AddPoint(kSeries, 50, 1, "", true);
    plot.AddPoint("second", 50, 1, "", true);
    Shown();
}

TEST(PlotEdges, ZeroSizedControlPaintsWithoutHarm)
{
    PlotWindow wnd;
    ASSERT_TRUE(wnd.Create(kPlotTemplate));
    wnd.ShowWindow(SW_SHOW);
    wnd.plot.MoveWindow(10, 10, 0, 0);
    ASSERT_TRUE(wnd.plot.AddSeries(10, kSeries, 0));
    EXPECT_EQ(wnd.plot.m_lstSeries[0].count, 1);
    wnd.plot.m_bShowMajorTicks = wnd.plot.m_bShowMinorTicks = wnd.plot.m_bShowAxes = true;
    wnd.plot.AddPoint(kSeries, 50, 1, "", true);
    wnd.plot.AddPoint(kSeries, 50, 1, "", true);
    test::Render(&wnd);
}

} // namespace

// Bitmap sliders as the user sees and drives them: which columns show the active channel, what a
// press, a drag, a release and each key do to the position, and what the parent is told, when.
#include "controls/BitmapSlider.h"
#include "platform/wnd/Dialog.h"
#include "platform/wnd/DialogTemplate.h"
#include "res/Resource.h"
#include "tests/support/WndHarness.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr UINT kSliderTemplate = 9200;
constexpr UINT kSliderId = 300;
constexpr UINT kNextButton = 301;

struct Posted
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    int posWhenHandled;
};

class SliderWindow : public CDialog
{
public:
    SliderWindow() : CDialog(kSliderTemplate)
    {
        DialogTemplate t;
        t.id = kSliderTemplate;
        t.style = WS_POPUP;
        t.rect = CRect(50, 50, 350, 150);
        t.controls = {
            {"Static", "", kSliderId, WS_CHILD | WS_VISIBLE | WS_TABSTOP | SS_NOTIFY, CRect(20, 20, 60, 30)},
            {"Button", "Next", kNextButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
             CRect(20, 50, 80, 70)},
        };
        wnd::RegisterDialogTemplate(t);
    }
    CBitmapSlider slider;
    std::vector<Posted> log;

    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, kSliderId, slider); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SLIDER_MOVING || message == WM_SLIDER_MOVED ||
            (message == WM_COMMAND && LOWORD(static_cast<DWORD>(wParam)) == kSliderId))
            log.push_back({message, wParam, lParam, slider.GetPos()});
        return CDialog::WindowProc(message, wParam, lParam);
    }
};

QImage Bitmap(UINT id)
{
    return QImage(QString(":/korvax/bitmaps/%1.png").arg(id)).convertToFormat(QImage::Format_RGB32);
}

// The main window's configuration of each row's slider.
struct BitmapSlider : ::testing::Test
{
    SliderWindow wnd;
    void SetUp() override
    {
        ASSERT_TRUE(wnd.Create(kSliderTemplate));
        wnd.ShowWindow(SW_SHOW);
        ASSERT_TRUE(wnd.slider.LoadChannelBitmaps(IDB_SLIDER_CHANNEL, IDB_SLIDER_ACTIVE));
        wnd.slider.SetFocusRectDrawing(false);
        wnd.slider.SetRange(0, 100);
        wnd.slider.SetPos(0);
        wnd.slider.SetMargin(2, 3, 2, 0);
        wnd.slider.Enable(true);
        test::Pump();
        wnd.log.clear();
    }
    // Columns [0, p) show the active bitmap and [p, 96) the normal one, on every row.
    void ExpectActiveUpTo(int p)
    {
        const QImage shown = test::Render(&wnd.slider);
        const QImage normal = Bitmap(IDB_SLIDER_CHANNEL), active = Bitmap(IDB_SLIDER_ACTIVE);
        ASSERT_EQ(shown.width(), 96);
        ASSERT_EQ(shown.height(), 6);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 96; ++x)
                ASSERT_EQ(test::PixelAt(shown, x, y), test::PixelAt(x < p ? active : normal, x, y))
                    << "column " << x << " row " << y << " with the active look up to " << p;
    }
    std::vector<UINT> Messages() const
    {
        std::vector<UINT> m;
        for (const Posted& p : wnd.log)
            m.push_back(p.message);
        return m;
    }
};

TEST_F(BitmapSlider, TakesTheChannelBitmapsSize)
{
    CRect rc;
    wnd.slider.GetWindowRect(&rc);
    EXPECT_EQ(rc.Width(), 96);
    EXPECT_EQ(rc.Height(), 6);
    const QImage normal = Bitmap(IDB_SLIDER_CHANNEL), active = Bitmap(IDB_SLIDER_ACTIVE);
    ASSERT_EQ(normal.size(), QSize(96, 6));
    EXPECT_NE(test::PixelAt(normal, 40, 3), test::PixelAt(active, 40, 3)) << "the two looks differ";
}

TEST_F(BitmapSlider, ActiveLookRunsFromTheLeftEndToThePositionsPixel)
{
    const struct
    {
        int min, max, pos, pixel;
    } cases[] = {
        {0, 100, 0, 2},
        {0, 100, 50, 48},
        {0, 100, 100, 94},
        {0, 100, 33, 32},
        // Positions closer than a pixel share it: 0 .. 10 of 0 .. 1000 all stop at the margin.
        {0, 1000, 0, 2},
        {0, 1000, 10, 2},
        {0, 1000, 11, 3},
        {-500, 500, 0, 48},
    };
    for (const auto& c : cases) {
        wnd.slider.SetRange(c.min, c.max);
        wnd.slider.SetPos(c.pos);
        EXPECT_EQ(wnd.slider.PosToPixel(c.pos), c.pixel) << c.min << ".." << c.max << " at " << c.pos;
        ExpectActiveUpTo(c.pixel);
    }
}

TEST_F(BitmapSlider, PixelMapsBackToItsPosition)
{
    EXPECT_EQ(wnd.slider.PixelToPos(48), 50);
    EXPECT_EQ(wnd.slider.PixelToPos(2), 0);
    EXPECT_EQ(wnd.slider.PixelToPos(94), 100);
}

TEST_F(BitmapSlider, SetPosKeepsThePositionInsideTheRange)
{
    wnd.slider.SetPos(500);
    EXPECT_EQ(wnd.slider.GetPos(), 100);
    wnd.slider.SetPos(-5);
    EXPECT_EQ(wnd.slider.GetPos(), 0);
}

TEST_F(BitmapSlider, DisabledShowsOnlyTheNormalLook)
{
    wnd.slider.SetPos(80);
    wnd.slider.Enable(false);
    ExpectActiveUpTo(0);
    wnd.slider.Enable(true);
    ExpectActiveUpTo(wnd.slider.PosToPixel(80));
}

TEST_F(BitmapSlider, PressJumpsToThePressedPixel)
{
    const struct
    {
        int x, pos;
    } cases[] = {{0, 0}, {1, 0}, {2, 0}, {48, 50}, {94, 100}, {95, 100}};
    for (const auto& c : cases) {
        wnd.slider.SetPos(c.pos == 0 ? 100 : 0);
        wnd.log.clear();
        test::MouseDown(&wnd.slider, c.x, 3);
        EXPECT_EQ(wnd.slider.GetPos(), c.pos) << "press at " << c.x;
        ASSERT_EQ(wnd.log.size(), 2u);
        // The parent's own click notification is sent during the press; the slider's change is
        // posted, so it arrives afterwards, with the position it had when posted.
        EXPECT_EQ(wnd.log[0].message, static_cast<UINT>(WM_COMMAND));
        EXPECT_EQ(wnd.log[1].message, WM_SLIDER_MOVING);
        EXPECT_EQ(wnd.log[1].wParam, kSliderId);
        EXPECT_EQ(wnd.log[1].lParam, c.pos);
        test::MouseUp(&wnd.slider, c.x, 3);
        ASSERT_EQ(wnd.log.size(), 3u);
        EXPECT_EQ(wnd.log[2].message, WM_SLIDER_MOVED);
        EXPECT_EQ(wnd.log[2].lParam, c.pos);
    }
}

TEST_F(BitmapSlider, PressOnTheCurrentPixelPostsOnlyTheRelease)
{
    wnd.slider.SetPos(50);
    test::MouseDown(&wnd.slider, 48, 3);
    test::MouseUp(&wnd.slider, 48, 3);
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_COMMAND, WM_SLIDER_MOVED}));
    EXPECT_EQ(wnd.log.back().lParam, 50);
}

TEST_F(BitmapSlider, DragFollowsThePointerBeyondTheControlWhileCaptured)
{
    test::MouseDown(&wnd.slider, 10, 3);
    EXPECT_TRUE(wnd.slider.IsDragging());
    EXPECT_EQ(GetCapture(), wnd.slider.m_hWnd);
    EXPECT_EQ(GetFocus(), wnd.slider.m_hWnd);
    test::MouseMove(&wnd.slider, 200, 40); // far right, below the track
    EXPECT_EQ(wnd.slider.GetPos(), 100);
    test::MouseMove(&wnd.slider, -30, 3);
    EXPECT_EQ(wnd.slider.GetPos(), 0);
    test::MouseUp(&wnd.slider, -30, 3);
    EXPECT_FALSE(wnd.slider.IsDragging());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_COMMAND, WM_SLIDER_MOVING, WM_SLIDER_MOVING, WM_SLIDER_MOVING,
                                             WM_SLIDER_MOVED}));
}

TEST_F(BitmapSlider, EachNotificationCarriesThePositionAtPostingTime)
{
    test::MouseDown(&wnd.slider, 2, 3);
    wnd.log.clear();
    // Two moves before the parent gets to run: both wait in the queue.
    wnd.slider.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(48, 3));
    wnd.slider.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(94, 3));
    EXPECT_TRUE(wnd.log.empty()) << "posted, not sent";
    test::Pump();
    ASSERT_EQ(wnd.log.size(), 2u);
    EXPECT_EQ(wnd.log[0].lParam, 50);
    EXPECT_EQ(wnd.log[1].lParam, 100);
    EXPECT_EQ(wnd.log[0].posWhenHandled, 100);
    test::MouseUp(&wnd.slider, 94, 3);
}

TEST_F(BitmapSlider, KeysStepThePositionAndEachPostsMoved)
{
    const struct
    {
        UINT vk;
        int from, to;
    } cases[] = {
        {VK_HOME, 0, 0},   {VK_HOME, 40, 0},   {VK_END, 40, 100},    {VK_PRIOR, 50, 30}, {VK_PRIOR, 10, 0},
        {VK_NEXT, 50, 70}, {VK_NEXT, 95, 100}, {VK_LEFT, 50, 49},    {VK_UP, 50, 49},    {VK_RIGHT, 50, 51},
        {VK_DOWN, 50, 51}, {VK_LEFT, 0, 0},    {VK_RIGHT, 100, 100},
    };
    wnd.slider.SetFocus();
    for (const auto& c : cases) {
        wnd.slider.SetPos(c.from);
        wnd.log.clear();
        test::Key(&wnd.slider, c.vk);
        EXPECT_EQ(wnd.slider.GetPos(), c.to) << "key " << c.vk << " from " << c.from;
        ASSERT_EQ(Messages(), (std::vector<UINT>{WM_SLIDER_MOVED})) << "key " << c.vk << " from " << c.from;
        EXPECT_EQ(wnd.log[0].lParam, c.to);
        EXPECT_EQ(wnd.log[0].wParam, kSliderId);
    }
    wnd.log.clear();
    test::Key(&wnd.slider, VK_SPACE);
    test::Key(&wnd.slider, VK_RETURN);
    EXPECT_TRUE(wnd.log.empty()) << "other keys are not the slider's";
    EXPECT_EQ(GetFocus(), wnd.slider.m_hWnd);
}

TEST_F(BitmapSlider, TabMovesTheFocusOn)
{
    wnd.slider.SetFocus();
    EXPECT_EQ(wnd.slider.SendMessage(WM_GETDLGCODE), static_cast<LRESULT>(DLGC_WANTALLKEYS));
    test::Key(&wnd.slider, VK_TAB);
    EXPECT_EQ(GetFocus(), wnd.GetDlgItem(kNextButton)->m_hWnd);
    EXPECT_TRUE(wnd.log.empty());
}

TEST_F(BitmapSlider, DisabledIgnoresMouseAndKeys)
{
    wnd.slider.SetPos(50);
    wnd.slider.Enable(false);
    wnd.slider.SetFocus();
    test::MouseDown(&wnd.slider, 90, 3);
    test::MouseMove(&wnd.slider, 10, 3);
    test::MouseUp(&wnd.slider, 10, 3);
    test::Key(&wnd.slider, VK_END);
    EXPECT_EQ(wnd.slider.GetPos(), 50);
    EXPECT_TRUE(wnd.log.empty());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(BitmapSlider, DisablingDuringADragEndsIt)
{
    test::MouseDown(&wnd.slider, 20, 3);
    ASSERT_EQ(GetCapture(), wnd.slider.m_hWnd);
    wnd.slider.Enable(false);
    EXPECT_FALSE(wnd.slider.IsDragging());
    EXPECT_EQ(GetCapture(), nullptr);
    wnd.log.clear();
    test::MouseMove(&wnd.slider, 80, 3);
    test::MouseUp(&wnd.slider, 80, 3);
    EXPECT_TRUE(wnd.log.empty());
    EXPECT_EQ(wnd.slider.GetPos(), wnd.slider.PixelToPos(20));
}

TEST_F(BitmapSlider, FocusRectangleOnlyWhenAskedFor)
{
    wnd.slider.SetPos(50);
    wnd.slider.SetFocus();
    ExpectActiveUpTo(48); // the main window's sliders draw none
    wnd.slider.SetFocusRectDrawing(true);
    wnd.slider.Invalidate();
    const QImage focused = test::Render(&wnd.slider);
    const QImage normal = Bitmap(IDB_SLIDER_CHANNEL);
    int changed = 0;
    for (int x = 48; x < 96; ++x)
        changed += test::PixelAt(focused, x, 0) != test::PixelAt(normal, x, 0);
    EXPECT_GT(changed, 10) << "a dotted frame along the top edge";
    EXPECT_EQ(test::PixelAt(focused, 60, 3), test::PixelAt(normal, 60, 3)) << "inside stays the channel";
    wnd.GetDlgItem(kNextButton)->SetFocus();
    ExpectActiveUpTo(48);
}

TEST_F(BitmapSlider, EmptyRangeStaysAtItsOnlyPosition)
{
    wnd.slider.SetRange(5, 5);
    wnd.slider.SetPos(0);
    EXPECT_EQ(wnd.slider.GetPos(), 5);
    ExpectActiveUpTo(2);
    test::MouseDown(&wnd.slider, 60, 3);
    test::MouseUp(&wnd.slider, 60, 3);
    EXPECT_EQ(wnd.slider.GetPos(), 5);
    test::Key(&wnd.slider, VK_END);
    EXPECT_EQ(wnd.slider.GetPos(), 5);
}

TEST(BitmapSliderLoad, MissingBitmapLeavesTheSliderWithoutChannel)
{
    SliderWindow wnd;
    ASSERT_TRUE(wnd.Create(kSliderTemplate));
    EXPECT_FALSE(wnd.slider.LoadChannelBitmaps(IDB_SLIDER_CHANNEL, 9999));
    EXPECT_FALSE(wnd.slider.LoadChannelBitmaps(9999, IDB_SLIDER_ACTIVE));
    CRect rc;
    wnd.slider.GetWindowRect(&rc);
    EXPECT_EQ(rc.Width(), 40) << "the control keeps its template size";
    wnd.ShowWindow(SW_SHOW);
    test::Render(&wnd.slider); // paints without a channel
}

} // namespace

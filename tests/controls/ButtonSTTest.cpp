// Icon buttons as the user sees them: which icon, where, which frame, and what a click does.
#include "controls/ButtonST.h"
#include "platform/gdi/Gdi.h"
#include "tests/controls/ControlsFixture.h"
#include "tests/support/WndHarness.h"

#include <QImageWriter>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

QRgb Sys(int index)
{
    const COLORREF c = GetSysColor(index);
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)) & 0xFFFFFF;
}

class ButtonWindow : public CBkDialogST
{
public:
    ButtonWindow() : CBkDialogST(test::kSkinTestTemplate) { test::RegisterSkinTestTemplate(); }
    CButtonST a, b;
    int clicksA = 0;

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, test::kButtonA, a);
        DDX_Control(pDX, test::kButtonB, b);
    }
    BOOL OnCmdMsg(UINT id, int code) override
    {
        if (id == test::kButtonA && code == BN_CLICKED) {
            ++clicksA;
            return TRUE;
        }
        return CBkDialogST::OnCmdMsg(id, code);
    }
};

struct ButtonST : ::testing::Test
{
    test::TempDir dir;
    ButtonWindow wnd;
    std::string red, green;
    void SetUp() override
    {
        red = test::WriteIcon(dir, "in.ico", Qt::red);
        green = test::WriteIcon(dir, "out.ico", Qt::green);
        ASSERT_TRUE(wnd.Create(test::kSkinTestTemplate));
        wnd.ShowWindow(SW_SHOW);
        ASSERT_EQ(wnd.a.SetIcon(red.c_str(), green.c_str()), 0);
    }
    QImage Button() { return test::Render(&wnd.a); }
};

// The 40 x 30 button centres a 10 x 10 icon at (15, 10).
TEST_F(ButtonST, ShowsTheOutIconCentredAtRestAndTheInIconUnderThePointer)
{
    QImage rest = Button();
    EXPECT_EQ(test::PixelAt(rest, 15, 10), qRgb(0, 255, 0) & 0xFFFFFF);
    EXPECT_EQ(test::PixelAt(rest, 24, 19), qRgb(0, 255, 0) & 0xFFFFFF);
    EXPECT_NE(test::PixelAt(rest, 14, 10), qRgb(0, 255, 0) & 0xFFFFFF);

    test::MouseMove(&wnd.a, 5, 5);
    EXPECT_TRUE(wnd.a.IsPointerOver());
    QImage lit = Button();
    EXPECT_EQ(test::PixelAt(lit, 15, 10), qRgb(255, 0, 0) & 0xFFFFFF);
    // Raised frame: light top-left, dark bottom-right.
    EXPECT_EQ(test::PixelAt(lit, 0, 0), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(test::PixelAt(lit, 39, 29), Sys(COLOR_BTNSHADOW));

    test::MouseMove(&wnd, 200, 150);
    EXPECT_FALSE(wnd.a.IsPointerOver());
    EXPECT_EQ(test::PixelAt(Button(), 15, 10), qRgb(0, 255, 0) & 0xFFFFFF);
}

TEST_F(ButtonST, PressedShowsTheSunkenFrameAndMovesTheIconOnePixel)
{
    test::MouseMove(&wnd.a, 5, 5);
    test::MouseDown(&wnd.a, 5, 5);
    QImage pressed = Button();
    EXPECT_EQ(test::PixelAt(pressed, 16, 11), qRgb(255, 0, 0) & 0xFFFFFF);
    EXPECT_NE(test::PixelAt(pressed, 15, 10), qRgb(255, 0, 0) & 0xFFFFFF);
    EXPECT_EQ(test::PixelAt(pressed, 0, 0), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(test::PixelAt(pressed, 39, 29), Sys(COLOR_BTNHIGHLIGHT));
    test::MouseUp(&wnd.a, 5, 5);
    EXPECT_EQ(wnd.clicksA, 1);
}

TEST_F(ButtonST, WithOnlyTheInIconItShowsAlways)
{
    ASSERT_EQ(wnd.a.SetIcon(red.c_str(), nullptr), 0);
    EXPECT_EQ(test::PixelAt(Button(), 15, 10), qRgb(255, 0, 0) & 0xFFFFFF);
}

TEST_F(ButtonST, AMissingIconFileLeavesTheButtonWithoutIconButWorking)
{
    ASSERT_EQ(wnd.a.SetIcon(dir.file("missing.ico").c_str(), dir.file("missing2.ico").c_str()), 0);
    EXPECT_EQ(wnd.a.GetIconIn(), nullptr);
    test::Click(&wnd.a, 5, 5);
    EXPECT_EQ(wnd.clicksA, 1);
}

TEST_F(ButtonST, ADragThatStartedElsewhereDoesNotLightIt)
{
    test::MouseDown(&wnd, 200, 150);
    test::MouseMove(&wnd.a, 5, 5);
    EXPECT_FALSE(wnd.a.IsPointerOver());
    test::MouseUp(&wnd.a, 5, 5);
    EXPECT_EQ(wnd.clicksA, 0);
}

TEST_F(ButtonST, ADoubleClickIsTwoClicks)
{
    test::DoubleClick(&wnd.a, 5, 5);
    EXPECT_EQ(wnd.clicksA, 2);
}

TEST_F(ButtonST, ClickingTakesTheFocusAndDisablingHandsItOn)
{
    test::Click(&wnd.a, 5, 5);
    EXPECT_EQ(CWnd::GetFocus(), &wnd.a);
    wnd.a.EnableWindow(FALSE);
    EXPECT_EQ(CWnd::GetFocus(), &wnd.b);
}

TEST_F(ButtonST, ADisabledButtonDrawsItsIconEmbossedNotInColour)
{
    // A green block on a transparent ground: the disabled look keeps its shape, without colour.
    QImage shape(10, 10, QImage::Format_ARGB32);
    shape.fill(Qt::transparent);
    for (int y = 3; y < 7; ++y)
        for (int x = 3; x < 7; ++x)
            shape.setPixel(x, y, qRgb(0, 255, 0));
    const std::string path = dir.file("shape.ico");
    QImageWriter(QString::fromStdString(path), "ico").write(shape);
    ASSERT_EQ(wnd.a.SetIcon(path.c_str(), path.c_str()), 0);

    const QImage enabled = Button();
    wnd.a.EnableWindow(FALSE);
    const QImage disabled = Button();
    EXPECT_NE(test::PixelAt(disabled, 19, 14), test::PixelAt(enabled, 19, 14))
        << "the icon is drawn differently";
    EXPECT_NE(test::PixelAt(disabled, 19, 14), test::PixelAt(disabled, 2, 2)) << "and its shape still shows";
    for (int y = 0; y < disabled.height(); ++y)
        for (int x = 0; x < disabled.width(); ++x) {
            const QRgb p = test::PixelAt(disabled, x, y);
            ASSERT_LE(std::abs(qGreen(p) - qRed(p)), 8) << "grey, not green, at " << x << "," << y;
        }
}

TEST_F(ButtonST, TheCaptionIsNeverDrawnAndTheStyleBecomesOwnerDraw)
{
    EXPECT_EQ(wnd.a.GetStyle() & BS_TYPEMASK, BS_OWNERDRAW);
    ASSERT_EQ(wnd.a.SetIcon(static_cast<HICON>(nullptr), nullptr), 0);
    QImage plain = Button();
    const QRgb face = test::PixelAt(plain, 1, 1);
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            ASSERT_EQ(test::PixelAt(plain, x, y), face) << "at " << x << "," << y;
}

} // namespace

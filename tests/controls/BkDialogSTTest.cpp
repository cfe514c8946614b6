// Skinned windows: background, shape from the key colour, drag by any point, transparent statics.
#include "controls/BkDialogST.h"
#include "res/DialogTemplates.h"
#include "res/Resource.h"
#include "tests/controls/ControlsFixture.h"
#include "tests/support/WndHarness.h"

#include <gtest/gtest.h>

namespace {

class SkinnedWindow : public CBkDialogST
{
public:
    explicit SkinnedWindow(UINT bitmap) : CBkDialogST(test::kSkinTestTemplate), m_bitmap(bitmap)
    {
        test::RegisterSkinTestTemplate();
    }
    BOOL OnInitDialog() override
    {
        CBkDialogST::OnInitDialog();
        ApplySkin(m_bitmap);
        return TRUE;
    }
    UINT m_bitmap;
};

QImage SkinBitmap(UINT id)
{
    return QImage(QString(":/korvax/bitmaps/%1.png").arg(id)).convertToFormat(QImage::Format_RGB32);
}

TEST(BkDialogST, TakesTheBitmapsSizeAndShowsIt)
{
    SkinnedWindow wnd(IDB_MAIN_SKIN);
    ASSERT_TRUE(wnd.Create(test::kSkinTestTemplate));
    wnd.ShowWindow(SW_SHOW);
    CRect rc;
    wnd.GetClientRect(&rc);
    EXPECT_EQ(rc, CRect(0, 0, 649, 413));
    const QImage skin = SkinBitmap(IDB_MAIN_SKIN);
    const QImage shown = test::Render(&wnd);
    // Away from the controls, the window shows the skin pixel for pixel.
    for (QPoint p : {QPoint(300, 380), QPoint(10, 200), QPoint(640, 300)})
        EXPECT_EQ(test::PixelAt(shown, p.x(), p.y()), test::PixelAt(skin, p.x(), p.y()))
            << p.x() << "," << p.y();
}

TEST(BkDialogST, PureBluePixelsAreOutsideTheWindow)
{
    SkinnedWindow wnd(IDB_MAIN_SKIN);
    ASSERT_TRUE(wnd.Create(test::kSkinTestTemplate));
    wnd.ShowWindow(SW_SHOW);
    const QImage skin = SkinBitmap(IDB_MAIN_SKIN);
    ASSERT_EQ(test::PixelAt(skin, 0, 0), qRgb(0, 0, 255) & 0xFFFFFF) << "the skin's corner is key colour";
    CRect wr;
    wnd.GetWindowRect(&wr);
    EXPECT_NE(WindowFromPoint(POINT{wr.left, wr.top}), wnd.m_hWnd)
        << "a click on the blue corner falls through";
    EXPECT_EQ(WindowFromPoint(POINT{wr.left + 300, wr.top + 380}), wnd.m_hWnd);
}

TEST(BkDialogST, WithoutKeyColourTheWindowStaysRectangular)
{
    SkinnedWindow wnd(IDB_MSG_SKIN);
    ASSERT_TRUE(wnd.Create(test::kSkinTestTemplate));
    wnd.ShowWindow(SW_SHOW);
    CRect wr;
    wnd.GetWindowRect(&wr);
    EXPECT_EQ(wr.Width(), 351);
    for (POINT p : {POINT{wr.left, wr.top}, POINT{wr.right - 1, wr.bottom - 1}})
        EXPECT_EQ(WindowFromPoint(p), wnd.m_hWnd);
}

TEST(BkDialogST, DraggingAnyPointOfTheSkinOrAPlainLabelMovesTheWindow)
{
    SkinnedWindow wnd(IDB_MSG_SKIN);
    ASSERT_TRUE(wnd.Create(test::kSkinTestTemplate));
    wnd.ShowWindow(SW_SHOW);
    CRect before;
    wnd.GetWindowRect(&before);
    test::MouseDown(&wnd, 200, 110);
    test::MouseMove(&wnd, 230, 130);
    test::MouseUp(&wnd, 230, 130);
    CRect after;
    wnd.GetWindowRect(&after);
    EXPECT_EQ(after.TopLeft(), before.TopLeft() + CPoint(30, 20));

    // The label lets the press through to the window beneath it.
    CWnd* label = wnd.GetDlgItem(test::kLabelId);
    test::MouseDown(label, 5, 5);
    test::MouseMove(label, 15, 5);
    test::MouseUp(label, 15, 5);
    CRect again;
    wnd.GetWindowRect(&again);
    EXPECT_EQ(again.TopLeft(), after.TopLeft() + CPoint(10, 0));

    // A button keeps its presses.
    test::MouseDown(wnd.GetDlgItem(test::kButtonA), 5, 5);
    test::MouseMove(wnd.GetDlgItem(test::kButtonA), 25, 5);
    test::MouseUp(wnd.GetDlgItem(test::kButtonA), 25, 5);
    CRect still;
    wnd.GetWindowRect(&still);
    EXPECT_EQ(still.TopLeft(), again.TopLeft());
}

TEST(BkDialogST, ANullBitmapRemovesTheBackground)
{
    SkinnedWindow wnd(IDB_MSG_SKIN);
    ASSERT_TRUE(wnd.Create(test::kSkinTestTemplate));
    wnd.ShowWindow(SW_SHOW);
    EXPECT_EQ(wnd.SetBitmap(nullptr), 0);
    const QImage shown = test::Render(&wnd);
    EXPECT_EQ(test::PixelAt(shown, 300, 120), test::PixelAt(shown, 5, 5)) << "a plain dialog background";
}

TEST(BkDialogST, AWindowLargerThanItsBitmapRepeatsIt)
{
    SkinnedWindow wnd(IDB_MSG_SKIN);
    ASSERT_TRUE(wnd.Create(test::kSkinTestTemplate));
    wnd.SetWindowRgn(nullptr, FALSE);
    wnd.SetWindowPos(nullptr, 0, 0, 351 * 2, 127, SWP_NOMOVE | SWP_NOZORDER);
    wnd.ShowWindow(SW_SHOW);
    const QImage shown = test::Render(&wnd);
    const QImage skin = SkinBitmap(IDB_MSG_SKIN);
    EXPECT_EQ(test::PixelAt(shown, 351 + 10, 120), test::PixelAt(skin, 10, 120));
}

} // namespace

// Text labels: the one font description, and drawing over the skin.
#include "controls/Label.h"
#include "tests/controls/ControlsFixture.h"
#include "tests/support/WndHarness.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

TEST(Label, SizeAndFaceActOnOneDescriptionInAnyOrder)
{
    CLabel sizeFirst, faceFirst;
    sizeFirst.SetFontSize(9).SetFontName("DejaVu Sans");
    faceFirst.SetFontName("DejaVu Sans").SetFontSize(9);
    EXPECT_EQ(sizeFirst.GetLogFont().lfHeight, -9);
    EXPECT_EQ(faceFirst.GetLogFont().lfHeight, -9);
    EXPECT_STREQ(sizeFirst.GetLogFont().lfFaceName, faceFirst.GetLogFont().lfFaceName);
}

TEST(Label, AFaceNameIsCutTo31Characters)
{
    CLabel label;
    const std::string longName(40, 'x');
    label.SetFontName(longName.c_str());
    EXPECT_EQ(std::strlen(label.GetLogFont().lfFaceName), 31u);
}

class LabelWindow : public CBkDialogST
{
public:
    LabelWindow() : CBkDialogST(test::kSkinTestTemplate) { test::RegisterSkinTestTemplate(); }
    CLabel label;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, test::kLabelId, label); }
};

TEST(Label, DrawsItsLettersInItsColourAndLeavesTheBackgroundShowing)
{
    LabelWindow wnd;
    ASSERT_TRUE(wnd.Create(test::kSkinTestTemplate));
    wnd.ShowWindow(SW_SHOW);
    wnd.label.SetWindowText("");
    const QImage empty = test::Render(&wnd);
    wnd.label.SetFontSize(18).SetTextColor(RGB(255, 0, 0));
    wnd.label.SetWindowText("WWWW");
    const QImage text = test::Render(&wnd);
    int red = 0, changedOther = 0;
    for (int y = 80; y < 100; ++y)
        for (int x = 20; x < 200; ++x) {
            const QRgb p = test::PixelAt(text, x, y);
            const QRgb before = test::PixelAt(empty, x, y);
            if (p == before)
                continue;
            if (qRed(p) > 150 && qGreen(p) < 100 && qBlue(p) < 100)
                ++red;
            // Red letters blended over the background only ever add red.
            else if (qRed(p) < qRed(before) || qGreen(p) > qGreen(before) + 2 || qBlue(p) > qBlue(before) + 2)
                ++changedOther;
        }
    EXPECT_GT(red, 20) << "the letters are drawn in the label's colour";
    EXPECT_EQ(changedOther, 0) << "nothing but the letters changes";
}

} // namespace

// Text: background modes, measuring and placement, without asserting on glyph pixels.
#include "tests/platform/gdi/GdiCanvas.h"

using namespace test;

namespace {

CFont* YaHei(int px)
{
    static CFont fonts[32];
    CFont& f = fonts[px];
    if (!f.m_hObject) {
        LOGFONTA lf{};
        lf.lfHeight = -px;
        std::strcpy(lf.lfFaceName, "微软雅黑");
        f.CreateFontIndirect(&lf);
    }
    return &f;
}

} // namespace

TEST(Text, TransparentModeLeavesTheBackgroundAndOpaqueFillsTheTextBox)
{
    // Letters in the background's own colour: whatever the glyphs, every pixel keeps that colour
    // unless the mode fills the box.
    GdiCanvas canvas(80, 20);
    CDC* dc = CDC::FromHandle(canvas.dc);
    dc->SelectObject(YaHei(12));
    dc->SetTextColor(kWhite);
    dc->SetBkColor(kRed);
    dc->SetBkMode(TRANSPARENT);
    dc->TextOut(2, 2, "GPU 1080 MHz");
    CRect r(0, 0, 80, 20);
    dc->DrawText("GPU", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EXPECT_EQ(canvas.Count(kWhite), 80 * 20);

    dc->SetBkMode(OPAQUE);
    dc->TextOut(2, 2, "GPU");
    const CSize ext = dc->GetTextExtent("GPU");
    EXPECT_GT(ext.cx, 0);
    EXPECT_GE(ext.cy, 12);
    EXPECT_EQ(canvas.At(2, 2), kRed);
    EXPECT_EQ(canvas.At(2 + ext.cx - 1, 2 + ext.cy - 1), kRed);
    EXPECT_EQ(canvas.At(2 + ext.cx, 2), kWhite);
    EXPECT_EQ(canvas.At(1, 2), kWhite);
}

TEST(Text, CalcRectMeasuresWithoutDrawing)
{
    GdiCanvas canvas(100, 40);
    CDC* dc = CDC::FromHandle(canvas.dc);
    dc->SelectObject(YaHei(12));
    CRect r(10, 10, 10, 10);
    const int h = dc->DrawText("1234 MHz", -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    const CSize ext = dc->GetTextExtent("1234 MHz");
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.Width(), ext.cx);
    EXPECT_EQ(r.Height(), h);
    EXPECT_EQ(h, ext.cy);
    EXPECT_EQ(canvas.Count(kWhite), 100 * 40);

    // Word breaking keeps the width and grows the height.
    CRect wrap(0, 0, ext.cx / 2, 0);
    const int wrapped = dc->DrawText("1234 MHz 1234 MHz", -1, &wrap, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_GT(wrapped, h);
}

TEST(Text, CentredTextStaysInsideItsRectangleWithAnOpaqueBox)
{
    GdiCanvas canvas(100, 30);
    CDC* dc = CDC::FromHandle(canvas.dc);
    dc->SelectObject(YaHei(12));
    dc->SetTextColor(kBlack);
    dc->SetBkColor(kRed);
    CRect r(20, 5, 80, 25);
    dc->DrawText("Hi", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    // The opaque box is the text's own box, centred: nothing left of it or below it is touched.
    const CSize ext = dc->GetTextExtent("Hi");
    const int left = 20 + (60 - ext.cx) / 2;
    EXPECT_EQ(canvas.At(left - 2, 15), kWhite);
    EXPECT_EQ(canvas.At(20 + 60 - (60 - ext.cx) / 2 + 1, 15), kWhite);
    EXPECT_EQ(canvas.At(50, 6), kWhite);
    EXPECT_NE(canvas.Count(kRed), 0);
}

TEST(Text, EllipsisShortensTextThatDoesNotFit)
{
    GdiCanvas canvas(200, 20);
    CDC* dc = CDC::FromHandle(canvas.dc);
    dc->SelectObject(YaHei(12));
    dc->SetBkColor(kRed);
    CRect r(0, 0, 30, 20);
    dc->DrawText("NVIDIA GeForce Simulated Card", -1, &r, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS);
    for (int x = 30; x < 200; ++x)
        ASSERT_EQ(canvas.At(x, 5), kWhite) << x;
}

TEST(Text, PrefixCharactersAreHiddenUnlessNoPrefixIsAsked)
{
    GdiCanvas canvas(10, 10);
    CDC* dc = CDC::FromHandle(canvas.dc);
    dc->SelectObject(YaHei(12));
    auto width = [&](const char* s, UINT fmt) {
        CRect r(0, 0, 0, 0);
        dc->DrawText(s, -1, &r, fmt | DT_CALCRECT | DT_SINGLELINE);
        return r.Width();
    };
    EXPECT_EQ(width("&Open", 0), dc->GetTextExtent("Open").cx);
    EXPECT_EQ(width("A&&B", 0), dc->GetTextExtent("A&B").cx);
    EXPECT_EQ(width("&Open", DT_NOPREFIX), dc->GetTextExtent("&Open").cx);
}

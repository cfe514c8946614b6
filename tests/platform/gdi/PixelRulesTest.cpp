// GDI's pixel rules: lines leave out their end point, rectangles their right and bottom edges,
// fills cover [left, right) x [top, bottom), null pens and brushes draw nothing of their part.
#include "tests/platform/gdi/GdiCanvas.h"

using namespace test;

TEST(PixelRules, LineToLeavesOutItsEndPointInEveryDirection)
{
    struct Case
    {
        POINT from, to;
        std::vector<POINT> drawn;
    };
    const Case cases[] = {
        {{2, 5}, {6, 5}, {{2, 5}, {3, 5}, {4, 5}, {5, 5}}}, // right
        {{6, 5}, {2, 5}, {{6, 5}, {5, 5}, {4, 5}, {3, 5}}}, // left
        {{5, 1}, {5, 4}, {{5, 1}, {5, 2}, {5, 3}}},         // down
        {{5, 4}, {5, 1}, {{5, 4}, {5, 3}, {5, 2}}},         // up
        {{1, 1}, {4, 4}, {{1, 1}, {2, 2}, {3, 3}}},         // diagonal
        {{3, 3}, {3, 3}, {}},                               // zero length draws nothing
    };
    for (const Case& c : cases) {
        GdiCanvas canvas(10, 10);
        HPEN pen = CreatePen(PS_SOLID, 1, kRed);
        HGDIOBJ old = SelectObject(canvas.dc, pen);
        MoveToEx(canvas.dc, c.from.x, c.from.y, nullptr);
        LineTo(canvas.dc, c.to.x, c.to.y);
        POINT cp{};
        GetCurrentPositionEx(canvas.dc, &cp);
        EXPECT_EQ(cp.x, c.to.x);
        EXPECT_EQ(cp.y, c.to.y);
        for (const POINT& p : c.drawn)
            EXPECT_EQ(canvas.At(p.x, p.y), kRed)
                << c.from.x << "," << c.from.y << " -> " << p.x << "," << p.y;
        EXPECT_EQ(canvas.Count(kRed), int(c.drawn.size())) << c.from.x << "," << c.from.y;
        SelectObject(canvas.dc, old);
        DeleteObject(pen);
    }
}

TEST(PixelRules, PolylineJoinsSegmentsWithoutTheLastPoint)
{
    GdiCanvas canvas(10, 10);
    SelectObject(canvas.dc, GetStockObject(BLACK_PEN));
    const POINT pts[] = {{1, 1}, {5, 1}, {5, 4}};
    Polyline(canvas.dc, pts, 3);
    EXPECT_EQ(canvas.Row(1, 0, 6, kBlack), ".ooooo.");
    EXPECT_EQ(canvas.Column(5, 0, 5, kBlack), ".ooo..");
}

TEST(PixelRules, RectangleOutlinesInsideRightAndBottomAndFillsTheInterior)
{
    GdiCanvas canvas(12, 12);
    CDC* dc = CDC::FromHandle(canvas.dc);
    CPen pen(PS_SOLID, 1, kRed);
    CBrush brush(kGreen);
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&brush);
    dc->Rectangle(2, 2, 8, 6); // outline columns 2..7, rows 2..5
    EXPECT_EQ(canvas.Row(2, 0, 9, kRed), "..oooooo..");
    EXPECT_EQ(canvas.Row(5, 0, 9, kRed), "..oooooo..");
    EXPECT_EQ(canvas.Column(2, 0, 7, kRed), "..oooo..");
    EXPECT_EQ(canvas.Column(7, 0, 7, kRed), "..oooo..");
    EXPECT_EQ(canvas.Row(3, 0, 9, kGreen), "...oooo...");
    EXPECT_EQ(canvas.Row(4, 0, 9, kGreen), "...oooo...");
    EXPECT_EQ(canvas.At(8, 3), kWhite);
    EXPECT_EQ(canvas.At(3, 6), kWhite);
    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);
}

TEST(PixelRules, NullPenFillsOnePixelLessAndNullBrushLeavesTheInterior)
{
    {
        GdiCanvas canvas(10, 10);
        SelectObject(canvas.dc, GetStockObject(NULL_PEN));
        SelectObject(canvas.dc, GetStockObject(BLACK_BRUSH));
        Rectangle(canvas.dc, 1, 1, 5, 4);
        EXPECT_EQ(canvas.Row(1, 0, 5, kBlack), ".ooo..");
        EXPECT_EQ(canvas.Column(1, 0, 4, kBlack), ".oo..");
        EXPECT_EQ(canvas.Count(kBlack), 6);
    }
    {
        GdiCanvas canvas(10, 10);
        SelectObject(canvas.dc, GetStockObject(BLACK_PEN));
        SelectObject(canvas.dc, GetStockObject(NULL_BRUSH));
        Rectangle(canvas.dc, 1, 1, 6, 6);
        EXPECT_EQ(canvas.Row(3, 0, 6, kBlack), ".o...o.");
        EXPECT_EQ(canvas.Count(kBlack), 16);
    }
    {
        GdiCanvas canvas(10, 10);
        SelectObject(canvas.dc, GetStockObject(NULL_PEN));
        SelectObject(canvas.dc, GetStockObject(NULL_BRUSH));
        Rectangle(canvas.dc, 1, 1, 6, 6);
        MoveToEx(canvas.dc, 0, 0, nullptr);
        LineTo(canvas.dc, 9, 9);
        EXPECT_EQ(canvas.Count(kWhite), 100);
    }
}

TEST(PixelRules, FillRectCoversLeftTopInclusiveRightBottomExclusive)
{
    GdiCanvas canvas(10, 10);
    HBRUSH brush = CreateSolidBrush(kBlue);
    const RECT r{2, 3, 5, 7};
    EXPECT_EQ(FillRect(canvas.dc, &r, brush), 1);
    EXPECT_EQ(canvas.Row(3, 0, 6, kBlue), "..ooo..");
    EXPECT_EQ(canvas.Column(2, 0, 8, kBlue), "...oooo..");
    EXPECT_EQ(canvas.Count(kBlue), 12);
    DeleteObject(brush);

    // A system colour index plus one stands for that colour's brush.
    const RECT all{0, 0, 10, 10};
    FillRect(canvas.dc, &all, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    EXPECT_EQ(canvas.At(9, 9), GetSysColor(COLOR_BTNFACE));
}

TEST(PixelRules, FrameRectAndThreeDRectDrawOnePixelInsideTheRectangle)
{
    GdiCanvas canvas(10, 10);
    CDC* dc = CDC::FromHandle(canvas.dc);
    CBrush red(kRed);
    const CRect r(1, 1, 6, 5);
    dc->FrameRect(&r, &red);
    EXPECT_EQ(canvas.Row(1, 0, 6, kRed), ".ooooo.");
    EXPECT_EQ(canvas.Row(2, 0, 6, kRed), ".o...o.");
    EXPECT_EQ(canvas.Row(4, 0, 6, kRed), ".ooooo.");
    EXPECT_EQ(canvas.At(1, 5), kWhite);

    GdiCanvas c3(10, 10);
    CDC* d3 = CDC::FromHandle(c3.dc);
    d3->Draw3dRect(CRect(1, 1, 6, 5), kRed, kBlue);
    EXPECT_EQ(c3.Row(1, 0, 6, kRed), ".oooo..");  // top: left to right - 2
    EXPECT_EQ(c3.Row(1, 0, 6, kBlue), ".....o."); // the top-right corner belongs to the right edge
    EXPECT_EQ(c3.Row(4, 0, 6, kBlue), ".ooooo.");
    EXPECT_EQ(c3.Column(1, 0, 5, kRed), ".ooo..");
    EXPECT_EQ(c3.Column(5, 0, 5, kBlue), ".oooo.");
    // FillSolidRect works through the background colour and leaves it set.
    EXPECT_EQ(d3->GetBkColor(), kBlue);
}

TEST(PixelRules, DrawFocusRectInvertsEveryOtherPixelAndASecondCallRestores)
{
    GdiCanvas canvas(10, 10);
    const RECT r{0, 0, 6, 4};
    DrawFocusRect(canvas.dc, &r);
    EXPECT_EQ(canvas.Row(0, 0, 6, kBlack), "o.o.o..");
    EXPECT_EQ(canvas.Row(3, 0, 6, kBlack), ".o.o.o.");
    EXPECT_EQ(canvas.Row(1, 0, 6, kBlack), ".....o.");
    DrawFocusRect(canvas.dc, &r);
    EXPECT_EQ(canvas.Count(kWhite), 100);
}

TEST(PixelRules, DrawEdgeRaisedAndSunkenUseTheThreeDColours)
{
    GdiCanvas canvas(10, 10, kBlack);
    RECT r{0, 0, 8, 8};
    DrawEdge(canvas.dc, &r, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
    EXPECT_EQ(canvas.At(0, 0), GetSysColor(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(canvas.At(7, 7), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(r.left, 1);
    EXPECT_EQ(r.bottom, 7);
    r = RECT{0, 0, 8, 8};
    DrawEdge(canvas.dc, &r, BDR_SUNKENOUTER, BF_RECT);
    EXPECT_EQ(canvas.At(0, 3), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(canvas.At(7, 3), GetSysColor(COLOR_3DHIGHLIGHT));
}

TEST(PixelRules, WindowOriginAndClippingApplyToDrawing)
{
    GdiCanvas canvas(10, 10);
    SetWindowOrgEx(canvas.dc, 10, 20, nullptr); // logical (10, 20) is device (0, 0)
    const RECT r{12, 22, 14, 23};
    FillRect(canvas.dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(canvas.Row(2, 0, 4, kBlack), "..oo.");
    POINT p{12, 22};
    LPtoDP(canvas.dc, &p, 1);
    EXPECT_EQ(p.x, 2);
    EXPECT_EQ(p.y, 2);
    DPtoLP(canvas.dc, &p, 1);
    EXPECT_EQ(p.x, 12);

    SetWindowOrgEx(canvas.dc, 0, 0, nullptr);
    IntersectClipRect(canvas.dc, 5, 5, 7, 7);
    RECT box{};
    EXPECT_EQ(GetClipBox(canvas.dc, &box), SIMPLEREGION);
    EXPECT_EQ(CRect(box), CRect(5, 5, 7, 7));
    const RECT all{0, 0, 10, 10};
    FillRect(canvas.dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(canvas.Count(kBlack), 2 + 4);
    EXPECT_EQ(GetPixel(canvas.dc, 0, 0), CLR_INVALID); // outside the clip
    EXPECT_EQ(GetPixel(canvas.dc, 5, 5), kBlack);
}

TEST(PixelRules, SaveDcRestoresObjectsColoursOriginAndClip)
{
    GdiCanvas canvas(10, 10);
    CDC* dc = CDC::FromHandle(canvas.dc);
    CPen red(PS_SOLID, 1, kRed);
    const int saved = dc->SaveDC();
    EXPECT_EQ(saved, 1);
    dc->SelectObject(&red);
    dc->SetTextColor(kBlue);
    dc->SetWindowOrg(3, 3);
    dc->IntersectClipRect(0, 0, 2, 2);
    EXPECT_TRUE(dc->RestoreDC(-1));
    EXPECT_EQ(dc->GetCurrentPen()->m_hObject, GetStockObject(BLACK_PEN));
    EXPECT_EQ(dc->GetTextColor(), kBlack);
    EXPECT_EQ(dc->GetWindowOrg(), CPoint(0, 0));
    CRect box;
    dc->GetClipBox(&box);
    EXPECT_EQ(box, CRect(0, 0, 10, 10));
    EXPECT_FALSE(dc->RestoreDC(-1)); // nothing left to restore
}

TEST(PixelRules, DottedPenAlternatesRunsAndTransparentModeLeavesTheGaps)
{
    GdiCanvas canvas(20, 3);
    HPEN dot = CreatePen(PS_DOT, 1, kBlack);
    SelectObject(canvas.dc, dot);
    SetBkMode(canvas.dc, TRANSPARENT);
    MoveToEx(canvas.dc, 0, 1, nullptr);
    LineTo(canvas.dc, 12, 1);
    EXPECT_EQ(canvas.Row(1, 0, 12, kBlack), "ooo...ooo....");
    EXPECT_EQ(canvas.Row(1, 0, 12, kWhite), "...ooo...oooo");
    SelectObject(canvas.dc, GetStockObject(BLACK_PEN));
    DeleteObject(dot);
}

TEST(PixelRules, EllipseStaysInsideItsBoundingRectangle)
{
    GdiCanvas canvas(12, 12);
    SelectObject(canvas.dc, GetStockObject(BLACK_PEN));
    SelectObject(canvas.dc, GetStockObject(BLACK_BRUSH));
    Ellipse(canvas.dc, 2, 2, 10, 8);
    EXPECT_EQ(canvas.At(6, 5), kBlack);
    EXPECT_EQ(canvas.At(2, 2), kWhite) << "corners stay outside";
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(canvas.At(i, 1), kWhite);
        EXPECT_EQ(canvas.At(i, 8), kWhite);
        EXPECT_EQ(canvas.At(1, i), kWhite);
        EXPECT_EQ(canvas.At(10, i), kWhite);
    }
}

TEST(PixelRules, InsideFramePenKeepsAWideOutlineWithinTheRectangle)
{
    GdiCanvas canvas(12, 12);
    HPEN pen = CreatePen(PS_INSIDEFRAME, 3, kRed);
    SelectObject(canvas.dc, pen);
    SelectObject(canvas.dc, GetStockObject(NULL_BRUSH));
    Rectangle(canvas.dc, 1, 1, 11, 11);
    EXPECT_EQ(canvas.Row(5, 0, 11, kRed), ".ooo....ooo.");
    EXPECT_EQ(canvas.Column(5, 0, 11, kRed), ".ooo....ooo.");
    SelectObject(canvas.dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
}

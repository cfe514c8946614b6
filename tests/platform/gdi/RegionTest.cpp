// Regions: combining, hit-testing and the run-by-run shape building of a skinned window.
#include "tests/platform/gdi/GdiCanvas.h"

using namespace test;

TEST(Region, UnionDifferenceAndIntersectionAnswerPtInRegion)
{
    CRgn a, b, r;
    a.CreateRectRgn(0, 0, 10, 10);
    b.CreateRectRgn(5, 5, 15, 15);
    r.CreateRectRgn(0, 0, 0, 0);
    struct Case
    {
        int mode, type;
        std::vector<std::pair<POINT, bool>> points;
    };
    const Case cases[] = {
        {RGN_OR, COMPLEXREGION, {{{0, 0}, true}, {{14, 14}, true}, {{12, 2}, false}, {{15, 15}, false}}},
        {RGN_AND, SIMPLEREGION, {{{5, 5}, true}, {{9, 9}, true}, {{10, 10}, false}, {{4, 4}, false}}},
        {RGN_DIFF, COMPLEXREGION, {{{0, 0}, true}, {{6, 6}, false}, {{9, 4}, true}}},
        {RGN_COPY, SIMPLEREGION, {{{9, 9}, true}, {{10, 9}, false}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(r.CombineRgn(&a, &b, c.mode), c.type) << c.mode;
        for (const auto& [p, in] : c.points)
            EXPECT_EQ(bool(r.PtInRegion(p)), in) << c.mode << " at " << p.x << "," << p.y;
    }
    EXPECT_EQ(CombineRgn(r, a, nullptr, RGN_OR), ERROR);
}

TEST(Region, OffsetBoxAndSetRect)
{
    HRGN r = CreateRectRgn(1, 2, 4, 6);
    RECT box{};
    EXPECT_EQ(OffsetRgn(r, 10, 20), SIMPLEREGION);
    GetRgnBox(r, &box);
    EXPECT_EQ(CRect(box), CRect(11, 22, 14, 26));
    SetRectRgn(r, 0, 0, 0, 0);
    EXPECT_EQ(GetRgnBox(r, &box), NULLREGION);
    EXPECT_FALSE(PtInRegion(r, 0, 0));
    DeleteObject(r);
}

TEST(Region, RunsOfNonKeyPixelsBuildTheWindowShape)
{
    // A 6 x 3 skin with pure blue corners and a blue hole in the middle row.
    GdiCanvas skin(6, 3, kRed);
    for (POINT p : {POINT{0, 0}, POINT{5, 0}, POINT{0, 2}, POINT{5, 2}, POINT{3, 1}})
        SetPixel(skin.dc, p.x, p.y, kBlue);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 6;) {
            while (x < 6 && GetPixel(skin.dc, x, y) == kBlue)
                ++x;
            const int x0 = x;
            while (x < 6 && GetPixel(skin.dc, x, y) != kBlue)
                ++x;
            if (x > x0) {
                HRGN run = CreateRectRgn(x0, y, x, y + 1);
                CombineRgn(shape, shape, run, RGN_OR);
                DeleteObject(run);
            }
        }
    }
    EXPECT_FALSE(PtInRegion(shape, 0, 0)) << "a blue corner is not part of the window";
    EXPECT_TRUE(PtInRegion(shape, 1, 0));
    EXPECT_FALSE(PtInRegion(shape, 3, 1));
    EXPECT_TRUE(PtInRegion(shape, 0, 1));
    EXPECT_TRUE(PtInRegion(shape, 5, 1));
    EXPECT_EQ(gdi::RegionOf(shape).boundingRect(), QRect(0, 0, 6, 3));
    DeleteObject(shape);
}

TEST(Region, SelectedClipRegionLimitsDrawing)
{
    GdiCanvas canvas(6, 6);
    CRgn clip;
    clip.CreateRectRgn(1, 1, 3, 3);
    CDC* dc = CDC::FromHandle(canvas.dc);
    EXPECT_EQ(dc->SelectClipRgn(&clip), SIMPLEREGION);
    const CRect all(0, 0, 6, 6);
    dc->FillSolidRect(&all, kBlack);
    EXPECT_EQ(canvas.Count(kBlack), 4);
    dc->SelectClipRgn(nullptr);
    dc->FillSolidRect(&all, kBlack);
    EXPECT_EQ(canvas.Count(kBlack), 36);
}

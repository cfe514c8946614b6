// Block transfers between DCs, and DCs drawing through a borrowed painter or on an image.
#include "tests/platform/gdi/GdiCanvas.h"

#include <QPainter>

using namespace test;

namespace {

// A 4 x 2 source: red, green, blue, white in row 0; black in row 1.
void PaintSource(GdiCanvas& src)
{
    const COLORREF row0[] = {kRed, kGreen, kBlue, kWhite};
    for (int x = 0; x < 4; ++x) {
        SetPixel(src.dc, x, 0, row0[x]);
        SetPixel(src.dc, x, 1, kBlack);
    }
}

} // namespace

TEST(Blit, BitBltCopiesTheBlockAtTheGivenOffsets)
{
    GdiCanvas src(4, 2), dst(8, 4, kBlue);
    PaintSource(src);
    ASSERT_TRUE(BitBlt(dst.dc, 3, 1, 3, 2, src.dc, 1, 0, SRCCOPY));
    EXPECT_EQ(dst.At(3, 1), kGreen);
    EXPECT_EQ(dst.At(4, 1), kBlue);
    EXPECT_EQ(dst.At(5, 1), kWhite);
    EXPECT_EQ(dst.Row(2, 2, 6, kBlack), ".ooo.");
    EXPECT_EQ(dst.At(6, 1), kBlue);
    EXPECT_EQ(dst.Count(kBlue), 32 - 6 + 1); // the copied blue pixel counts too
}

TEST(Blit, StretchBltScalesAndMirrorsWithNegativeExtents)
{
    GdiCanvas src(4, 2), dst(8, 4);
    PaintSource(src);
    ASSERT_TRUE(StretchBlt(dst.dc, 0, 0, 8, 4, src.dc, 0, 0, 4, 2, SRCCOPY));
    EXPECT_EQ(dst.Row(0, 0, 7, kRed), "oo......");
    EXPECT_EQ(dst.Row(1, 0, 7, kGreen), "..oo....");
    EXPECT_EQ(dst.Row(3, 0, 7, kBlack), "oooooooo");

    GdiCanvas mirrored(4, 1);
    ASSERT_TRUE(StretchBlt(mirrored.dc, 3, 0, -4, 1, src.dc, 0, 0, 4, 1, SRCCOPY));
    EXPECT_EQ(mirrored.At(0, 0), kWhite);
    EXPECT_EQ(mirrored.At(3, 0), kRed);
}

TEST(Blit, StretchBltShrinksTheComboArrowIntoItsButton)
{
    // The 14 x 13 arrow bitmap stretched onto an 18 x 16 drop button keeps its colours at the corners.
    GdiCanvas arrow(14, 13, kRed), target(40, 20);
    SetPixel(arrow.dc, 13, 12, kGreen);
    ASSERT_TRUE(StretchBlt(target.dc, 20, 2, 18, 16, arrow.dc, 0, 0, 14, 13, SRCCOPY));
    EXPECT_EQ(target.At(20, 2), kRed);
    EXPECT_EQ(target.At(37, 17), kGreen);
    EXPECT_EQ(target.At(19, 2), kWhite);
    EXPECT_EQ(target.At(38, 17), kWhite);
    EXPECT_EQ(target.At(20, 18), kWhite);
}

TEST(Blit, PatBltAndDstInvert)
{
    GdiCanvas canvas(4, 4);
    SelectObject(canvas.dc, GetStockObject(BLACK_BRUSH));
    PatBlt(canvas.dc, 0, 0, 2, 2, PATCOPY);
    EXPECT_EQ(canvas.Count(kBlack), 4);
    PatBlt(canvas.dc, 0, 0, 4, 4, DSTINVERT);
    EXPECT_EQ(canvas.Count(kWhite), 4);
    EXPECT_EQ(canvas.Count(kBlack), 12);
}

TEST(Blit, AnOffScreenImageWithAWindowOriginLandsAtItsRectangle)
{
    // Double buffering: the buffer covers target rectangle (10, 5)-(14, 8); drawing in target
    // coordinates on the buffer, then one copy back.
    GdiCanvas target(20, 10);
    CDC* dc = CDC::FromHandle(target.dc);
    CDC mem;
    mem.CreateCompatibleDC(dc);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(dc, 4, 3);
    CBitmap* old = mem.SelectObject(&bmp);
    mem.SetWindowOrg(10, 5);
    mem.FillSolidRect(10, 5, 4, 3, kGreen);
    mem.SetPixel(13, 7, kRed);
    dc->BitBlt(10, 5, 4, 3, &mem, 10, 5, SRCCOPY);
    mem.SelectObject(old);
    EXPECT_EQ(target.At(10, 5), kGreen);
    EXPECT_EQ(target.At(13, 7), kRed);
    EXPECT_EQ(target.At(14, 7), kWhite);
    EXPECT_EQ(target.Count(kGreen), 11);
}

TEST(Blit, DcOnAPainterDrawsInsideItsClipBoxAndRestoresThePainter)
{
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::magenta);
    HDC dc = gdi::CreateDCOnPainter(&painter, QRect(2, 2, 5, 5));
    ASSERT_NE(dc, nullptr);
    RECT box{};
    GetClipBox(dc, &box);
    EXPECT_EQ(CRect(box), CRect(2, 2, 7, 7));
    const RECT all{0, 0, 10, 10};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(GetPixel(dc, 3, 3), kBlack) << "the painter's own image is readable";
    DeleteDC(dc);
    EXPECT_EQ(painter.pen().color(), QColor(Qt::magenta));
    painter.end();
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(6, 6), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(7, 7), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::white));
}

TEST(Blit, DcOnAnImageOwnsOnlyItsPainter)
{
    QImage image(4, 4, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    HDC dc = gdi::CreateDCOnImage(&image);
    SetPixel(dc, 1, 1, kRed);
    EXPECT_EQ(GetPixel(dc, 1, 1), kRed);
    DeleteDC(dc);
    EXPECT_FALSE(image.paintingActive());
    EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::red));
}

TEST(Blit, ADcOnAShiftedPainterReadsBackFromTheRightPlace)
{
    // A child window drawn into its parent's image: the painter is translated to the child.
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixelColor(12, 13, Qt::red);
    QPainter painter(&image);
    painter.translate(10, 10);
    HDC dc = gdi::CreateDCOnPainter(&painter, QRect(0, 0, 8, 8));
    EXPECT_EQ(GetPixel(dc, 2, 3), kRed);
    EXPECT_EQ(GetPixel(dc, 9, 0), CLR_INVALID) << "outside the DC's area";
    GdiCanvas copy(8, 8);
    ASSERT_TRUE(BitBlt(copy.dc, 0, 0, 8, 8, dc, 0, 0, SRCCOPY));
    EXPECT_EQ(copy.At(2, 3), kRed);
    EXPECT_EQ(copy.Count(kWhite), 63);
    SetPixel(dc, 0, 0, kBlue);
    DeleteDC(dc);
    painter.end();
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::blue));
}

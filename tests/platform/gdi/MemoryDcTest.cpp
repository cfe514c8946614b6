// Memory DCs and drawing objects: selecting and deselecting bitmaps, deferred deletion, stock
// objects, fonts, and the class-library wrappers returned by SelectObject and FromHandle.
#include "tests/platform/gdi/GdiCanvas.h"

#include <QPainter>

using namespace test;

TEST(MemoryDc, DrawsOnTheSelectedBitmapAndReselectingEndsThePainterCleanly)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP a = CreateCompatibleBitmap(dc, 4, 4);
    HBITMAP b = CreateCompatibleBitmap(dc, 4, 4);
    BITMAP bm{};
    ASSERT_EQ(GetObject(a, sizeof bm, &bm), int(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 4);
    EXPECT_EQ(bm.bmHeight, 4);
    EXPECT_EQ(GetPixel(dc, 0, 0), kBlack) << "a new DC holds a 1 x 1 black bitmap";
    EXPECT_EQ(GetPixel(dc, 1, 0), CLR_INVALID);

    HGDIOBJ original = SelectObject(dc, a);
    ASSERT_NE(original, nullptr);
    SetPixel(dc, 1, 1, kRed);
    EXPECT_EQ(SelectObject(dc, b), a);
    SetPixel(dc, 2, 2, kGreen);
    EXPECT_EQ(SelectObject(dc, a), b); // back to a: b's painter has ended, a's pixels are intact
    EXPECT_EQ(GetPixel(dc, 1, 1), kRed);
    EXPECT_EQ(GetPixel(dc, 2, 2), kBlack);
    EXPECT_EQ(gdi::BitmapImage(b)->pixelColor(2, 2), QColor(0, 255, 0));

    // The caller may paint on the pixels itself: the DC's own painter is out of the way.
    QImage* img = gdi::BitmapImage(a);
    {
        QPainter p(img);
        p.fillRect(0, 0, 1, 1, Qt::blue);
    }
    EXPECT_EQ(GetPixel(dc, 0, 0), kBlue);
    SetPixel(dc, 3, 3, kWhite); // and the DC draws again afterwards
    EXPECT_EQ(GetPixel(dc, 3, 3), kWhite);

    SelectObject(dc, original);
    DeleteDC(dc);
    EXPECT_EQ(gdi::BitmapImage(a)->pixelColor(3, 3), QColor(255, 255, 255));
    EXPECT_TRUE(DeleteObject(a));
    EXPECT_TRUE(DeleteObject(b));
    EXPECT_FALSE(DeleteObject(a)) << "a freed handle is refused, not freed twice";
}

TEST(MemoryDc, ABitmapSelectedInOneDcIsRefusedByAnother)
{
    HDC one = CreateCompatibleDC(nullptr);
    HDC two = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(one, 2, 2);
    HGDIOBJ old = SelectObject(one, bmp);
    EXPECT_EQ(SelectObject(two, bmp), nullptr);
    SelectObject(one, old);
    EXPECT_NE(SelectObject(two, bmp), nullptr);
    DeleteDC(two); // deleting the DC releases the bitmap
    EXPECT_NE(SelectObject(one, bmp), nullptr);
    DeleteDC(one);
    DeleteObject(bmp);
}

TEST(MemoryDc, DeletingASelectedObjectWaitsUntilItIsDeselected)
{
    GdiCanvas canvas(4, 4);
    HPEN pen = CreatePen(PS_SOLID, 1, kRed);
    HGDIOBJ old = SelectObject(canvas.dc, pen);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ(GetObjectType(pen), OBJ_PEN) << "still selected, still alive";
    MoveToEx(canvas.dc, 0, 0, nullptr);
    LineTo(canvas.dc, 3, 0);
    EXPECT_EQ(canvas.At(1, 0), kRed);
    EXPECT_EQ(SelectObject(canvas.dc, old), nullptr) << "the deselected pen is gone";
    EXPECT_EQ(GetObjectType(pen), 0u);
}

TEST(MemoryDc, StockObjectsSurviveDeleteObject)
{
    for (int index :
         {WHITE_BRUSH, BLACK_BRUSH, NULL_BRUSH, NULL_PEN, BLACK_PEN, DEFAULT_GUI_FONT, SYSTEM_FONT}) {
        HGDIOBJ stock = GetStockObject(index);
        ASSERT_NE(stock, nullptr) << index;
        DeleteObject(stock);
        EXPECT_NE(GetObjectType(stock), 0u) << index;
        EXPECT_EQ(GetStockObject(index), stock) << index;
    }
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    DeleteObject(face);
    LOGBRUSH lb{};
    ASSERT_EQ(GetObject(face, sizeof lb, &lb), int(sizeof lb));
    EXPECT_EQ(lb.lbColor, GetSysColor(COLOR_BTNFACE));
    {
        CBrush owned;
        owned.CreateSysColorBrush(COLOR_WINDOW); // the wrapper deletes it when it goes
    }
    EXPECT_NE(GetObjectType(GetSysColorBrush(COLOR_WINDOW)), 0u);
}

TEST(MemoryDc, SystemColoursAreClassicWithTheSkinsDarkButtonFaces)
{
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(30, 31, 34));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), RGB(14, 15, 17));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), RGB(96, 98, 104));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), RGB(0, 0, 0));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), RGB(0, 0, 0));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(10, 36, 106));
}

TEST(MemoryDc, SelectObjectReturnsThePreviousObjectAsItsOwnClass)
{
    GdiCanvas canvas(4, 4);
    CDC* dc = CDC::FromHandle(canvas.dc);
    EXPECT_EQ(CDC::FromHandle(canvas.dc), dc) << "one wrapper per handle";
    CPen red(PS_SOLID, 1, kRed);
    CPen* stock = dc->SelectObject(&red);
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(stock->m_hObject, GetStockObject(BLACK_PEN));
    EXPECT_EQ(dc->SelectObject(stock), &red) << "an attached object answers for its own handle";
    CGdiObject* oldFont = dc->SelectStockObject(DEFAULT_GUI_FONT);
    ASSERT_NE(oldFont, nullptr);
    EXPECT_EQ(oldFont->m_hObject, GetStockObject(SYSTEM_FONT));

    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateCompatibleBitmap(dc, 3, 2));
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(dc));
    CBitmap* oldBmp = mem.SelectObject(&bmp);
    ASSERT_NE(oldBmp, nullptr);
    BITMAP bm{};
    bmp.GetBitmap(&bm);
    EXPECT_EQ(bm.bmWidth, 3);
    mem.SelectObject(oldBmp);
}

TEST(MemoryDc, FontsSubstituteTheInstalledFacesAndTakeNegativeHeightsAsPixels)
{
    LOGFONTA lf{};
    ASSERT_EQ(GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf), int(sizeof lf));
    EXPECT_STREQ(lf.lfFaceName, "MS Shell Dlg");
    EXPECT_EQ(lf.lfHeight, -11);

    std::strcpy(lf.lfFaceName, "微软雅黑");
    lf.lfHeight = -12;
    CFont yahei;
    ASSERT_TRUE(yahei.CreateFontIndirect(&lf));
    const QFont q = gdi::FontOf(yahei);
    EXPECT_EQ(q.family(), QStringLiteral("WenQuanYi Micro Hei"));
    EXPECT_EQ(q.pixelSize(), 12);
    LOGFONTA back{};
    yahei.GetLogFont(&back);
    EXPECT_STREQ(back.lfFaceName, "微软雅黑");

    CFont point;
    ASSERT_TRUE(point.CreatePointFont(90, "Arial"));
    point.GetLogFont(&back);
    EXPECT_EQ(back.lfHeight, -12); // 9 pt at 96 pixels per inch

    lf.lfHeight = 20; // a cell height: the characters are smaller
    CFont cell;
    cell.CreateFontIndirect(&lf);
    EXPECT_LT(gdi::FontOf(cell).pixelSize(), 20);
    EXPECT_GT(gdi::FontOf(cell).pixelSize(), 10);
}

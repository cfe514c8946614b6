// Icons and images: loading from files and resources, icon information, drawing and the disabled look.
#include "tests/platform/gdi/GdiCanvas.h"
#include "tests/support/TempDir.h"

#include <QImageWriter>

using namespace test;

namespace {

// A 16 x 12 icon: transparent with an opaque dark-red block at (4, 3)-(11, 8).
QImage IconArt()
{
    QImage img(16, 12, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    for (int y = 3; y < 9; ++y)
        for (int x = 4; x < 12; ++x)
            img.setPixelColor(x, y, QColor(128, 0, 0));
    return img;
}

std::string WriteIco(const TempDir& dir, const char* name, const QImage& img)
{
    const std::string path = dir.file(name);
    QImageWriter writer(QString::fromStdString(path), "ico");
    EXPECT_TRUE(writer.write(img)) << writer.errorString().toStdString();
    return path;
}

} // namespace

TEST(Icon, IcoFileRoundTripGivesTheCentreAsHotSpot)
{
    TempDir dir;
    const std::string path = WriteIco(dir, "Apply.ico", IconArt());
    HICON icon = static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_EQ(info.xHotspot, 8u);
    EXPECT_EQ(info.yHotspot, 6u);
    BITMAP bm{};
    GetObject(info.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 16);
    EXPECT_EQ(bm.bmHeight, 12);
    EXPECT_EQ(gdi::BitmapImage(info.hbmMask)->pixelColor(0, 0), QColor(Qt::white)); // transparent
    EXPECT_EQ(gdi::BitmapImage(info.hbmMask)->pixelColor(5, 5), QColor(Qt::black)); // covered
    EXPECT_TRUE(DeleteObject(info.hbmColor));
    EXPECT_TRUE(DeleteObject(info.hbmMask));

    HICON copy = CopyIcon(icon);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, icon);
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_EQ(gdi::IconImage(copy).size(), QSize(16, 12));
    EXPECT_TRUE(DestroyIcon(copy));
    EXPECT_FALSE(DestroyIcon(copy));
}

TEST(Icon, MissingOrUnreadableFilesAndResourcesGiveNoHandle)
{
    TempDir dir;
    TempDir::Write(dir.file("Broken.ico"), "not an icon");
    const std::string missing = dir.file("Missing.ico"), broken = dir.file("Broken.ico");
    EXPECT_EQ(LoadImageA(nullptr, missing.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, broken.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, missing.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, MAKEINTRESOURCE(65000), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR), nullptr);
    EXPECT_EQ(LoadIcon(nullptr, MAKEINTRESOURCE(65000)), nullptr);
    CBitmap bmp;
    EXPECT_FALSE(bmp.LoadBitmap(65000));
    EXPECT_EQ(bmp.m_hObject, nullptr);
}

TEST(Icon, BitmapFilesLoadAsColourBitmaps)
{
    TempDir dir;
    QImage art(5, 3, QImage::Format_RGB32);
    art.fill(QColor(0, 0, 255));
    art.setPixelColor(2, 1, QColor(10, 20, 30));
    const std::string path = dir.file("skin.png");
    ASSERT_TRUE(art.save(QString::fromStdString(path)));
    HBITMAP bmp =
        static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(bmp, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc, 2, 1), RGB(10, 20, 30));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bmp);
}

TEST(Icon, DrawIconBlendsAndTheDisabledLookIsEmbossedGrey)
{
    HICON icon = gdi::CreateIconFromImage(IconArt());
    GdiCanvas normal(20, 16), disabled(20, 16);
    CDC* n = CDC::FromHandle(normal.dc);
    CDC* d = CDC::FromHandle(disabled.dc);
    // Centred in a 20 x 16 button the way the button does it: (20 - 16) / 2, (16 - 12) / 2.
    const CPoint at((20 - 16) / 2, (16 - 12) / 2);
    n->DrawState(at, CSize(16, 12), icon, DSS_NORMAL, (CBrush*)nullptr);
    d->DrawState(at, CSize(16, 12), icon, DSS_DISABLED, (CBrush*)nullptr);

    EXPECT_EQ(normal.At(2 + 4, 2 + 3), RGB(128, 0, 0));
    EXPECT_EQ(normal.At(2 + 3, 2 + 3), kWhite) << "transparent pixels leave the background";
    EXPECT_EQ(normal.Count(RGB(128, 0, 0)), 48);
    // Disabled: the shape in the shadow colour, with a highlight one pixel right and down.
    EXPECT_EQ(disabled.Count(RGB(128, 0, 0)), 0);
    EXPECT_EQ(disabled.At(6, 5), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(disabled.At(13, 10), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(disabled.At(14, 11), GetSysColor(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(disabled.At(5, 5), kWhite);
    DestroyIcon(icon);
}

TEST(Icon, DrawIconExScalesToTheAskedSize)
{
    HICON icon = gdi::CreateIconFromImage(IconArt());
    GdiCanvas canvas(40, 40);
    DrawIconEx(canvas.dc, 0, 0, icon, 32, 24, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(canvas.At(12, 9), RGB(128, 0, 0));
    EXPECT_EQ(canvas.At(2, 2), kWhite);
    DestroyIcon(icon);
}

TEST(Icon, DisabledLookOfAnIconOnAPlateKeepsTheCaptionNotThePlate)
{
    // A dark opaque plate with a light 4 x 2 caption: the embossed shape is the caption alone.
    QImage art(12, 8, QImage::Format_ARGB32);
    art.fill(QColor(40, 40, 44));
    for (int y = 3; y < 5; ++y)
        for (int x = 4; x < 8; ++x)
            art.setPixelColor(x, y, QColor(200, 200, 200));
    HICON icon = gdi::CreateIconFromImage(art);
    GdiCanvas canvas(14, 10, kBlack);
    DrawStateA(canvas.dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, 0, 0, 0, 0,
               DST_ICON | DSS_DISABLED);
    EXPECT_EQ(canvas.Count(GetSysColor(COLOR_3DSHADOW)), 8);
    EXPECT_EQ(canvas.At(4, 3), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(canvas.At(8, 5), GetSysColor(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(canvas.At(0, 0), kBlack);
    DestroyIcon(icon);
}

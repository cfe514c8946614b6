// The rendered skin: every bitmap embedded at its size with the key-colour rules that window shapes
// rely on, and every icon file the windows load present in Resource/ and readable.
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QString>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr QRgb kKeyBlue = 0xFF0000FFu;

struct BitmapCase
{
    int id;
    int width;
    int height;
    bool shaped; // pure blue marks the outside of the window's outline
};

const BitmapCase kBitmaps[] = {
    {129, 649, 413, true}, {131, 305, 238, true}, {133, 224, 139, true}, {134, 178, 132, true},
    {136, 14, 13, false},  {141, 199, 32, false}, {142, 161, 33, false}, {144, 351, 127, false},
    {147, 17, 13, false},  {148, 10, 28, false},  {149, 54, 14, false},  {150, 96, 6, false},
    {151, 96, 6, false},
};

QImage loadBitmap(int id)
{
    return QImage(QStringLiteral(":/korvax/bitmaps/%1.png").arg(id)).convertToFormat(QImage::Format_RGB32);
}

int countKeyPixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            n += (row[x] | 0xFF000000u) == kKeyBlue;
    }
    return n;
}

TEST(SkinBitmaps, EachHasItsSizeAndKeyColourRule)
{
    for (const BitmapCase& c : kBitmaps) {
        SCOPED_TRACE(c.id);
        const QImage image = loadBitmap(c.id);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), c.width);
        EXPECT_EQ(image.height(), c.height);
        const int keyPixels = countKeyPixels(image);
        if (c.shaped) {
            // Corners lie outside the outline; the window itself keeps most of its area.
            for (const QPoint p : {QPoint(0, 0), QPoint(c.width - 1, 0), QPoint(0, c.height - 1),
                                   QPoint(c.width - 1, c.height - 1)})
                EXPECT_EQ(image.pixel(p), kKeyBlue) << p.x() << "," << p.y();
            EXPECT_GT(keyPixels, 0);
            EXPECT_LT(keyPixels, c.width * c.height / 4);
        } else {
            EXPECT_EQ(keyPixels, 0);
        }
    }
}

TEST(SkinBitmaps, ShapedSkinsAreSolidWhereControlsSit)
{
    // A key-blue pixel under a control would punch a hole through the window there.
    struct Controls
    {
        int id;
        std::vector<QRect> rects;
    };
    const Controls windows[] = {
        {129,
         {{590, 42, 24, 22},
          {618, 42, 24, 22},
          {57, 76, 56, 32},
          {58, 270, 56, 56},
          {168, 64, 170, 67},
          {383, 64, 170, 67},
          {68, 186, 35, 26},
          {270, 318, 324, 14},
          {152, 180, 168, 82},
          {329, 187, 280, 99},
          {143, 311, 92, 26}}},
        {131, {{217, 207, 52, 24}, {272, 10, 20, 20}, {110, 27, 180, 179}, {20, 203, 200, 30}}},
        {133, {{190, 10, 20, 20}, {10, 19, 22, 60}, {80, 99, 22, 20}, {13, 99, 60, 20}}},
        {134, {{22, 30, 106, 60}, {24, 100, 130, 22}, {148, 10, 20, 20}}},
    };
    for (const Controls& w : windows) {
        const QImage skin = loadBitmap(w.id);
        ASSERT_FALSE(skin.isNull()) << w.id;
        for (const QRect& r : w.rects)
            EXPECT_EQ(countKeyPixels(skin.copy(r)), 0) << w.id << " at " << r.x() << "," << r.y();
    }
}

TEST(SkinIcons, ApplicationIconIsEmbedded)
{
    QImageReader reader(QStringLiteral(":/korvax/icons/128.ico"));
    const QImage icon = reader.read();
    ASSERT_FALSE(icon.isNull()) << qPrintable(reader.errorString());
    EXPECT_GE(icon.width(), 32);
    EXPECT_EQ(icon.width(), icon.height());
}

struct IconCase
{
    const char* file;
    int width;
    int height;
};

// File names exactly as the windows ask for them, case included; sizes are the buttons' rectangles.
const IconCase kIcons[] = {
    {"Min.ICO", 24, 22},
    {"MinH.ICO", 24, 22},
    {"Close.ICO", 24, 22},
    {"CloseH.ICO", 24, 22},
    {"EasyMode.ICO", 168, 40},
    {"EasyModeH.ICO", 168, 40},
    {"AdvanceMode.ICO", 168, 40},
    {"AdvanceModeH.ICO", 168, 40},
    {"UpdateBios.ICO", 92, 26},
    {"UpdateBiosH.ICO", 92, 26},
    {"Info.ICO", 56, 32},
    {"InfoH.ICO", 56, 32},
    {"Setting.ICO", 54, 24},
    {"SettingH.ICO", 54, 24},
    {"Apply.ICO", 56, 30},
    {"ApplyH.ICO", 56, 30},
    {"Reset.ICO", 56, 24},
    {"ResetH.ICO", 56, 24},
    {"Reduce.ICO", 14, 14},
    {"ReduceH.ICO", 14, 14},
    {"Add.ICO", 14, 14},
    {"AddH.ICO", 14, 14},
    {"Save.ICO", 20, 14},
    {"SaveH.ICO", 20, 14},
    {"Load.ICO", 26, 14},
    {"LoadH.ICO", 26, 14},
    {"2.ICO", 86, 70},
    {"2H.ICO", 86, 70},
    {"5.ICO", 84, 72},
    {"5H.ICO", 84, 72},
    {"10.ICO", 86, 72},
    {"10H.ICO", 86, 72},
    {"P1.ICO", 16, 14},
    {"P1H.ICO", 16, 14},
    {"P2.ICO", 16, 14},
    {"P2H.ICO", 16, 14},
    {"P3.ICO", 18, 14},
    {"P3H.ICO", 18, 14},
    {"Lock.ICO", 10, 12},
    {"LockH.ICO", 10, 12},
    {"OK.ICO", 52, 24},
    {"OKH.ICO", 52, 24},
    {"Exit.ICO", 20, 20},
    {"ExitH.ICO", 20, 20},
    {"Check.ICO", 22, 20},
    {"CheckH.ICO", 22, 20},
    {"SaveBios.ICO", 104, 28},
    {"SaveBiosH.ICO", 104, 28},
    {"FlashBios.ICO", 106, 30},
    {"FlashBiosH.ICO", 106, 30},
    {"Yes.ICO", 44, 22},
    {"YesH.ICO", 44, 22},
    {"No.ICO", 70, 22},
    {"NoH.ICO", 70, 22},
    {"WarningYes.ico", 72, 26},
    {"WarningYesH.ico", 72, 26},
    {"WarningNo.ico", 72, 26},
    {"WarningNoH.ico", 72, 26},
};

TEST(SkinIcons, EveryIconFileIsInResourceAndReadable)
{
    const char* bin = std::getenv("KORVAX_BIN_DIR");
    ASSERT_NE(bin, nullptr);
    const QString dir = QString::fromLocal8Bit(bin) + QStringLiteral("/Resource/");
    for (const IconCase& c : kIcons) {
        SCOPED_TRACE(c.file);
        const QString path = dir + QLatin1String(c.file);
        ASSERT_TRUE(QFile::exists(path));
        QImageReader reader(path, "ico");
        const QImage icon = reader.read();
        ASSERT_FALSE(icon.isNull()) << qPrintable(reader.errorString());
        // Buttons size an icon as twice its centre: odd sizes would lose a pixel.
        EXPECT_EQ(icon.width(), c.width);
        EXPECT_EQ(icon.height(), c.height);
        EXPECT_EQ(icon.width() % 2, 0);
        EXPECT_EQ(icon.height() % 2, 0);
    }
}

TEST(SkinIcons, LitVariantDiffersFromNormal)
{
    const char* bin = std::getenv("KORVAX_BIN_DIR");
    ASSERT_NE(bin, nullptr);
    const QString dir = QString::fromLocal8Bit(bin) + QStringLiteral("/Resource/");
    for (const IconCase& c : kIcons) {
        const QString name = QLatin1String(c.file);
        const int dot = name.lastIndexOf(QLatin1Char('.'));
        if (name.at(dot - 1) == QLatin1Char('H'))
            continue;
        const QString lit = name.left(dot) + QLatin1Char('H') + name.mid(dot);
        SCOPED_TRACE(qPrintable(lit));
        const QImage a = QImageReader(dir + name, "ico").read();
        const QImage b = QImageReader(dir + lit, "ico").read();
        ASSERT_FALSE(a.isNull());
        ASSERT_FALSE(b.isNull());
        EXPECT_NE(a, b);
    }
}

} // namespace

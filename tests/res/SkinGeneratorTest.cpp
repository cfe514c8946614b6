// The skin generator's pixel rules and manifest checks, on small artwork written by each test.
#include "Manifest.h"
#include "SkinRenderer.h"
#include "tests/support/TempDir.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kKeyBlue = 0xFF0000FFu;

class SkinGenerator : public ::testing::Test
{
protected:
    // Four columns of 4 x 4 pixels: transparent, 45 % red, 55 % red, opaque pure blue.
    void SetUp() override
    {
        test::TempDir::Write(
            dir.file("cells.svg"),
            R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="4" viewBox="0 0 16 4">
  <rect x="4" y="0" width="4" height="4" fill="#ff0000" fill-opacity="0.45"/>
  <rect x="8" y="0" width="4" height="4" fill="#ff0000" fill-opacity="0.55"/>
  <rect x="12" y="0" width="4" height="4" fill="#0000ff"/>
</svg>
)");
    }

    QImage render(const QByteArray& manifestText, const QString& name, QString& error)
    {
        test::TempDir::Write(dir.file("skin.manifest"), manifestText.toStdString());
        if (!manifest.load(QString::fromStdString(dir.file("skin.manifest")), error))
            return QImage();
        skingen::SkinRenderer renderer(manifest, QString::fromStdString(dir.path()));
        return renderer.render(*manifest.find(name), error);
    }

    test::TempDir dir;
    skingen::Manifest manifest;
};

TEST_F(SkinGenerator, ShapedBitmapIsKeyBlueOutsideAndNeverInside)
{
    QString error;
    const QImage img = render("bitmap 200 cells.svg 16 4 shaped\n", "200", error);
    ASSERT_FALSE(img.isNull()) << qPrintable(error);
    EXPECT_EQ(img.pixel(1, 1), kKeyBlue);         // transparent
    EXPECT_EQ(img.pixel(5, 1), kKeyBlue);         // less than half covered
    EXPECT_EQ(qAlpha(img.pixel(9, 1)), 255);      // more than half: opaque,
    EXPECT_GE(qRed(img.pixel(9, 1)), 250);        // in its own colour, not darkened
    EXPECT_EQ(img.pixel(13, 1), qRgb(0, 0, 254)); // artwork in pure blue is nudged off the key
}

TEST_F(SkinGenerator, PlainBitmapIsFlattenedOnBlackWithoutKeyBlue)
{
    QString error;
    const QImage img = render("bitmap 201 cells.svg 16 4\n", "201", error);
    ASSERT_FALSE(img.isNull()) << qPrintable(error);
    EXPECT_EQ(img.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(qAlpha(img.pixel(5, 1)), 255);
    EXPECT_EQ(img.pixel(13, 1), qRgb(0, 0, 254));
}

TEST_F(SkinGenerator, IconOverABitmapTakesItsPixels)
{
    test::TempDir::Write(
        dir.file("clear.svg"),
        R"(<svg xmlns="http://www.w3.org/2000/svg" width="4" height="4" viewBox="0 0 4 4"/>)");
    QString error;
    const QImage icon =
        render("bitmap 202 cells.svg 16 4\nicon A.ICO clear.svg 4 4 over=202:8,0\n", "A.ICO", error);
    ASSERT_FALSE(icon.isNull()) << qPrintable(error);
    EXPECT_EQ(qAlpha(icon.pixel(1, 1)), 255);
    EXPECT_GE(qRed(icon.pixel(1, 1)), 130);
}

TEST_F(SkinGenerator, ArtworkOfAnotherSizeIsRefused)
{
    QString error;
    EXPECT_TRUE(render("bitmap 203 cells.svg 32 8\n", "203", error).isNull());
    EXPECT_TRUE(error.contains(QLatin1String("viewBox"))) << qPrintable(error);
}

TEST_F(SkinGenerator, ManifestErrorsNameTheLine)
{
    struct Case
    {
        QByteArray text;
        const char* line;
    };
    const Case cases[] = {
        {"bitmap 1 cells.svg 16\n", ":1:"},                                         // size missing
        {"# c\nbitmap 1 cells.svg 16 4 round\n", ":2:"},                            // unknown option
        {"bitmap 1 cells.svg 16 4\nbitmap 1 cells.svg 16 4\n", ":2:"},              // listed twice
        {"bitmap 1 cells.svg 16 4\nicon A.ICO cells.svg 16 4 over=1:4,0\n", ":2:"}, // outside backdrop
        {"icon A.ICO cells.svg 16 4 over=9:0,0\n", ":1:"},                          // no such backdrop
        {"frame 1 cells.svg 16 4\n", ":1:"},                                        // unknown kind
    };
    for (const Case& c : cases) {
        test::TempDir::Write(dir.file("bad.manifest"), c.text.toStdString());
        QString error;
        EXPECT_FALSE(manifest.load(QString::fromStdString(dir.file("bad.manifest")), error))
            << c.text.constData();
        EXPECT_TRUE(error.contains(QLatin1String(c.line))) << qPrintable(error);
    }
}

} // namespace

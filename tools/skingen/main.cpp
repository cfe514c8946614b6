// skingen: renders the skin's SVG artwork to the bitmaps embedded in the program and to the icon
// files of the Resource folder, and draws the contact sheet of the whole skin.
//
//   skingen --manifest FILE --art DIR [--resources DIR] [--icons DIR] [--sheet FILE.png]
//
// --resources writes bitmaps as DIR/bitmaps/<id>.png and the application icon as DIR/icons/<id>.ico;
// --icons writes the Resource folder's .ICO files into DIR.
#include "ContactSheet.h"
#include "Manifest.h"
#include "SkinRenderer.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>
#include <cstdlib>

namespace {

// Writes only when the bytes differ, so an unchanged skin leaves timestamps alone.
bool writeIfChanged(const QString& path, const QByteArray& bytes)
{
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
        return true;
    existing.close();
    QFile out(path);
    return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(bytes) == bytes.size() &&
           out.flush();
}

quint32 readLe(const QByteArray& b, int at, int size)
{
    quint32 v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = (v << 8) | static_cast<quint8>(b[at + i]);
    return v;
}

// Qt's ICO writer copies the AND mask's row padding from uninitialised memory; clearing the bits past
// each row's width makes the files byte-for-byte reproducible without changing what they show.
void clearIcoMaskPadding(QByteArray& ico)
{
    if (ico.size() < 6)
        return;
    const int count = static_cast<int>(readLe(ico, 4, 2));
    for (int n = 0; n < count; ++n) {
        const int entry = 6 + 16 * n;
        if (entry + 16 > ico.size())
            return;
        const int at = static_cast<int>(readLe(ico, entry + 12, 4));
        if (at < 0 || at + 40 > ico.size())
            return;
        const int width = static_cast<int>(readLe(ico, at + 4, 4));
        const int height = static_cast<int>(readLe(ico, at + 8, 4)) / 2; // XOR and AND halves
        const int bpp = static_cast<int>(readLe(ico, at + 14, 2));
        const int colours = static_cast<int>(readLe(ico, at + 32, 4));
        if (width <= 0 || height <= 0 || bpp <= 0 || bpp > 32)
            return;
        const int palette = bpp <= 8 ? 4 * (colours ? colours : (1 << bpp)) : 0;
        const int xorRow = ((width * bpp + 31) / 32) * 4;
        const int andRow = ((width + 31) / 32) * 4;
        const int mask = at + static_cast<int>(readLe(ico, at, 4)) + palette + xorRow * height;
        if (mask + andRow * height > ico.size())
            return;
        for (int y = 0; y < height; ++y) {
            char* row = ico.data() + mask + y * andRow;
            for (int x = width; x < andRow * 8; ++x)
                row[x / 8] = static_cast<char>(row[x / 8] & ~(0x80 >> (x % 8)));
        }
    }
}

bool encode(const QImage& image, const char* format, QByteArray& bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image))
        return false;
    buffer.close();
    if (qstrcmp(format, "ico") == 0)
        clearIcoMaskPadding(bytes);
    return true;
}

bool writeImage(const QString& path, const QImage& image, const char* format)
{
    QByteArray bytes;
    if (!encode(image, format, bytes)) {
        std::fprintf(stderr, "skingen: cannot encode %s\n", qPrintable(path));
        return false;
    }
    if (!writeIfChanged(path, bytes)) {
        std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// The offscreen platform warns about a missing runtime folder, which rendering never uses.
void quietHandler(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (message.startsWith(QLatin1String("QStandardPaths:")))
        return;
    std::fprintf(stderr, "%s%s\n", type == QtDebugMsg ? "" : "skingen: ", qPrintable(message));
}

int usage()
{
    std::fprintf(stderr,
                 "usage: skingen --manifest FILE --art DIR [--resources DIR] [--icons DIR] [--sheet FILE]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    // Rendering needs fonts but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietHandler);
    QGuiApplication app(argc, argv);

    QString manifestPath, artDir, resourcesDir, iconsDir, sheetPath;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (i + 1 >= args.size())
            return usage();
        const QString& v = args[++i];
        if (a == QLatin1String("--manifest"))
            manifestPath = v;
        else if (a == QLatin1String("--art"))
            artDir = v;
        else if (a == QLatin1String("--resources"))
            resourcesDir = v;
        else if (a == QLatin1String("--icons"))
            iconsDir = v;
        else if (a == QLatin1String("--sheet"))
            sheetPath = v;
        else
            return usage();
    }
    if (manifestPath.isEmpty() || artDir.isEmpty())
        return usage();

    skingen::Manifest manifest;
    QString error;
    if (!manifest.load(manifestPath, error)) {
        std::fprintf(stderr, "skingen: %s\n", qPrintable(error));
        return 1;
    }
    skingen::SkinRenderer renderer(manifest, artDir);

    if (!resourcesDir.isEmpty()) {
        QDir().mkpath(resourcesDir + QStringLiteral("/bitmaps"));
        QDir().mkpath(resourcesDir + QStringLiteral("/icons"));
    }
    if (!iconsDir.isEmpty())
        QDir().mkpath(iconsDir);

    for (const skingen::Entry& e : manifest.entries()) {
        QString path;
        const char* format = "png";
        if (e.kind == skingen::EntryKind::Bitmap && !resourcesDir.isEmpty()) {
            path = QStringLiteral("%1/bitmaps/%2.png").arg(resourcesDir, e.name);
        } else if (e.kind == skingen::EntryKind::AppIcon && !resourcesDir.isEmpty()) {
            path = QStringLiteral("%1/icons/%2.ico").arg(resourcesDir, e.name);
            format = "ico";
        } else if (e.kind == skingen::EntryKind::Icon && !iconsDir.isEmpty()) {
            path = QDir(iconsDir).filePath(e.name);
            format = "ico";
        } else {
            continue;
        }
        const QImage image = renderer.render(e, error);
        if (image.isNull()) {
            std::fprintf(stderr, "skingen: %s\n", qPrintable(error));
            return 1;
        }
        if (!writeImage(path, image, format))
            return 1;
    }

    if (!sheetPath.isEmpty()) {
        skingen::ContactSheet sheet(manifest, renderer);
        const QImage image = sheet.draw(error);
        if (image.isNull()) {
            std::fprintf(stderr, "skingen: %s\n", qPrintable(error));
            return 1;
        }
        if (!writeImage(sheetPath, image, "png"))
            return 1;
    }
    return 0;
}

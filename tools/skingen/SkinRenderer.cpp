// Pixel rules: shaped bitmaps become pure key blue wherever the artwork is less than half covered and
// fully opaque elsewhere, never hitting the key colour by accident; other bitmaps are flattened onto
// black and kept off the key colour; icons stay transparent unless they sit on a known skin bitmap,
// in which case they carry that bitmap's pixels so the button blends into the window.
#include "SkinRenderer.h"

#include <QDir>
#include <QPainter>
#include <QSvgRenderer>

namespace skingen {

namespace {

// The nearest colour that is not the key colour; only the blue channel moves, by one step.
QRgb avoidKey(QRgb c)
{
    return (c | 0xFF000000u) == SkinRenderer::kKeyColour ? qRgb(0, 0, 254) : c;
}

} // namespace

SkinRenderer::SkinRenderer(const Manifest& manifest, const QString& artDir)
    : m_manifest(manifest), m_artDir(artDir)
{
}

QImage SkinRenderer::rasterise(const Entry& entry, QString& error) const
{
    const QString path = QDir(m_artDir).filePath(entry.source);
    QSvgRenderer svg(path);
    if (!svg.isValid()) {
        error = path + QStringLiteral(": not a readable SVG");
        return QImage();
    }
    // The artwork is drawn 1:1 in pixels: a viewBox of another size would be scaled and blurred.
    if (svg.viewBox().size() != entry.size) {
        error = QStringLiteral("%1: viewBox is %2 x %3, the manifest says %4 x %5")
                    .arg(path)
                    .arg(svg.viewBox().width())
                    .arg(svg.viewBox().height())
                    .arg(entry.size.width())
                    .arg(entry.size.height());
        return QImage();
    }
    QImage image(entry.size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    svg.render(&p, QRectF(QPointF(0, 0), QSizeF(entry.size)));
    p.end();
    return image;
}

void SkinRenderer::finishShaped(QImage& image)
{
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = row[x];
            // Un-premultiplied colour made opaque: edge pixels keep their hue instead of darkening.
            row[x] = qAlpha(c) < 128 ? kKeyColour : avoidKey(c | 0xFF000000u);
        }
    }
    image = image.convertToFormat(QImage::Format_RGB32);
}

void SkinRenderer::finishOpaque(QImage& image)
{
    // Premultiplied pixels are already composited over black.
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] = avoidKey(row[x] | 0xFF000000u);
    }
    image = image.convertToFormat(QImage::Format_RGB32);
}

QImage SkinRenderer::render(const Entry& entry, QString& error)
{
    const auto cached = m_done.constFind(entry.name);
    if (cached != m_done.constEnd())
        return *cached;

    QImage image = rasterise(entry, error);
    if (image.isNull())
        return image;

    if (!entry.backdrop.isEmpty()) {
        // The manifest guarantees the backdrop has none of its own, so this recursion is one deep.
        const Entry* base = m_manifest.find(entry.backdrop);
        const QImage backdrop = render(*base, error);
        if (backdrop.isNull())
            return backdrop;
        QImage composed = backdrop.copy(QRect(entry.backdropAt, entry.size))
                              .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QPainter p(&composed);
        p.drawImage(0, 0, image);
        p.end();
        image = composed;
    }
    if (entry.kind == EntryKind::Bitmap) {
        if (entry.shaped)
            finishShaped(image);
        else
            finishOpaque(image);
    } else {
        image = image.convertToFormat(QImage::Format_ARGB32);
    }
    m_done.insert(entry.name, image);
    return image;
}

} // namespace skingen

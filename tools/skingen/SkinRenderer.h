// Renders manifest entries from their SVG sources to final pixels, caching each result so that
// icons composited onto a skin bitmap render that bitmap only once.
#pragma once

#include "Manifest.h"

#include <QHash>
#include <QImage>
#include <QString>

namespace skingen {

class SkinRenderer
{
public:
    SkinRenderer(const Manifest& manifest, const QString& artDir);

    // The finished image of an entry, or a null image with error set.
    QImage render(const Entry& entry, QString& error);

    // Key colour of shaped windows: everything of this exact colour lies outside the outline.
    static constexpr QRgb kKeyColour = 0xFF0000FFu;

private:
    QImage rasterise(const Entry& entry, QString& error) const;
    static void finishShaped(QImage& image);
    static void finishOpaque(QImage& image);

    const Manifest& m_manifest;
    QString m_artDir;
    QHash<QString, QImage> m_done;
};

} // namespace skingen

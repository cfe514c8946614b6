// The contact sheet: every window previewed with its buttons in place, then every bitmap and every
// icon pair (normal and lit) with its name and size, on one image for review.
#pragma once

#include "Manifest.h"
#include "SkinRenderer.h"

#include <QImage>
#include <QString>
#include <QVector>

namespace skingen {

class ContactSheet
{
public:
    ContactSheet(const Manifest& manifest, SkinRenderer& renderer);

    QImage draw(QString& error);

private:
    struct Tile
    {
        QImage image;
        QString caption;
    };

    bool buildPreviews(QVector<Tile>& tiles, QString& error);
    bool buildBitmaps(QVector<Tile>& tiles, QString& error);
    bool buildIcons(QVector<Tile>& tiles, QString& error);

    const Manifest& m_manifest;
    SkinRenderer& m_renderer;
};

} // namespace skingen

// The skin manifest: every bitmap and icon file the build renders, with its artwork source, its
// pixel size and how its pixels are finished.
#pragma once

#include <QColor>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QVector>

namespace skingen {

enum class EntryKind
{
    Bitmap,  // embedded as a resource PNG
    AppIcon, // embedded as a resource ICO
    Icon     // an ICO file in the Resource folder
};

struct Entry
{
    EntryKind kind = EntryKind::Bitmap;
    QString name;   // bitmap id ("129") or icon file name ("MinH.ICO")
    QString source; // SVG path relative to the art folder
    QSize size;     // final pixel size; the SVG's viewBox must match it
    bool shaped = false;
    QString backdrop; // bitmap this one is composited onto; empty: drawn on transparent
    QPoint backdropAt;
    int line = 0;
};

// One thing placed on a preview of a whole window in the contact sheet: a bitmap or icon of the
// manifest, a sample of the text the program writes there, or a stand-in for a plot it draws.
struct Placement
{
    enum class What
    {
        Item,
        Text,
        Plot
    };
    What what = What::Item;
    QString sheet; // preview name, e.g. "easy"
    QString item;  // Item: bitmap id or icon file name; Text: the text
    QPoint at;
    QSize size; // Plot only
    int textSize = 0;
    QColor textColour;
};

class Manifest
{
public:
    // Reads the manifest; on failure returns false and sets error to "file:line: reason".
    bool load(const QString& path, QString& error);

    const QVector<Entry>& entries() const { return m_entries; }
    const QVector<Placement>& placements() const { return m_placements; }
    const Entry* find(const QString& name) const;

private:
    QVector<Entry> m_entries;
    QVector<Placement> m_placements;
};

} // namespace skingen

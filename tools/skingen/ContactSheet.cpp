// Contact sheet layout: sections of tiles flowed left to right; small images are enlarged with
// nearest-neighbour scaling so single pixels stay visible.
#include "ContactSheet.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

namespace skingen {

namespace {

constexpr int kSheetWidth = 1400;
constexpr int kMargin = 24;
constexpr int kGap = 18;
const QColor kSheetColour(58, 60, 64);
const QColor kCaptionColour(220, 220, 220);

QImage zoom(const QImage& image, int factor)
{
    return factor == 1 ? image
                       : image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// The window as the user sees it: key-blue pixels show what lies behind the window.
QImage cutOut(const QImage& bitmap)
{
    QImage out = bitmap.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if (row[x] == SkinRenderer::kKeyColour)
                row[x] = 0;
        }
    }
    return out;
}

QFont captionFont()
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(11);
    return f;
}

// A label's text as the program draws it: top-left aligned in the label's rectangle, in the CJK
// sans-serif face the program substitutes for its requested one.
void drawSampleText(QPainter& painter, const Placement& p)
{
    QFont f(QStringLiteral("WenQuanYi Micro Hei"));
    f.setPixelSize(p.textSize);
    painter.save();
    painter.setFont(f);
    painter.setPen(p.textColour);
    painter.drawText(QPoint(p.at.x(), p.at.y() + QFontMetrics(f).ascent()), p.item);
    painter.restore();
}

// Stand-in for a live graph: the black area with its dark green grid and a green trace.
void drawSamplePlot(QPainter& painter, const QRect& r)
{
    painter.save();
    painter.fillRect(r, Qt::black);
    painter.setPen(QColor(0, 70, 0));
    for (int x = r.left() + 10; x < r.right(); x += 10)
        painter.drawLine(x, r.top(), x, r.bottom());
    for (int y = r.top() + 10; y < r.bottom(); y += 10)
        painter.drawLine(r.left(), y, r.right(), y);
    painter.setPen(QColor(40, 230, 60));
    QPoint last;
    for (int i = 0; i <= r.width() - 1; i += 2) {
        // A deterministic load pattern: idle, a boost plateau, idle again.
        const int level = (i > r.width() / 4 && i < r.width() * 3 / 4) ? 14 : r.height() - 14;
        const QPoint pt(r.left() + i, r.top() + level + ((i * 7) % 5) - 2);
        if (i > 0)
            painter.drawLine(last, pt);
        last = pt;
    }
    painter.restore();
}

} // namespace

ContactSheet::ContactSheet(const Manifest& manifest, SkinRenderer& renderer)
    : m_manifest(manifest), m_renderer(renderer)
{
}

bool ContactSheet::buildPreviews(QVector<Tile>& tiles, QString& error)
{
    QStringList sheets;
    for (const Placement& p : m_manifest.placements()) {
        if (!sheets.contains(p.sheet))
            sheets << p.sheet;
    }
    for (const QString& sheet : sheets) {
        QImage canvas;
        QPainter painter;
        for (const Placement& p : m_manifest.placements()) {
            if (p.sheet != sheet)
                continue;
            if (p.what == Placement::What::Item) {
                const Entry* e = m_manifest.find(p.item);
                if (!e) {
                    error = QStringLiteral("preview '%1' names unknown item '%2'").arg(sheet, p.item);
                    return false;
                }
                QImage image = m_renderer.render(*e, error);
                if (image.isNull())
                    return false;
                if (canvas.isNull()) {
                    // The first item of a preview is the window's skin.
                    canvas = cutOut(image);
                    painter.begin(&canvas);
                    continue;
                }
                painter.drawImage(p.at, image);
            } else if (canvas.isNull()) {
                error = QStringLiteral("preview '%1' must start with its skin").arg(sheet);
                return false;
            } else if (p.what == Placement::What::Text) {
                drawSampleText(painter, p);
            } else {
                drawSamplePlot(painter, QRect(p.at, p.size));
            }
        }
        painter.end();
        tiles.push_back({canvas, QStringLiteral("preview: %1").arg(sheet)});
    }
    return true;
}

bool ContactSheet::buildBitmaps(QVector<Tile>& tiles, QString& error)
{
    for (const Entry& e : m_manifest.entries()) {
        if (e.kind == EntryKind::Icon)
            continue;
        const QImage image = m_renderer.render(e, error);
        if (image.isNull())
            return false;
        const int factor = image.width() >= 120 || image.height() >= 120 ? 1 : (image.width() <= 40 ? 6 : 3);
        QString caption =
            QStringLiteral("%1%2  %3 x %4")
                .arg(e.kind == EntryKind::AppIcon ? QStringLiteral("icon ") : QStringLiteral("bitmap "),
                     e.name)
                .arg(e.size.width())
                .arg(e.size.height());
        if (factor > 1)
            caption += QStringLiteral("  (x%1)").arg(factor);
        tiles.push_back({zoom(image, factor), caption});
    }
    return true;
}

bool ContactSheet::buildIcons(QVector<Tile>& tiles, QString& error)
{
    QStringList shown;
    for (const Entry& e : m_manifest.entries()) {
        if (e.kind != EntryKind::Icon || shown.contains(e.name))
            continue;
        // The lit twin is the same name with "H" before the extension.
        const int dot = e.name.lastIndexOf(QLatin1Char('.'));
        const QString litName = e.name.left(dot) + QLatin1Char('H') + e.name.mid(dot);
        const Entry* lit = m_manifest.find(litName);
        const QImage normal = m_renderer.render(e, error);
        if (normal.isNull())
            return false;
        QImage pair;
        QString caption = e.name;
        if (lit) {
            const QImage litImage = m_renderer.render(*lit, error);
            if (litImage.isNull())
                return false;
            pair = QImage(normal.width() * 2 + 4, qMax(normal.height(), litImage.height()),
                          QImage::Format_ARGB32);
            pair.fill(Qt::transparent);
            QPainter p(&pair);
            p.drawImage(0, 0, normal);
            p.drawImage(normal.width() + 4, 0, litImage);
            p.end();
            caption += QStringLiteral(" | ") + litName;
            shown << litName;
        } else {
            pair = normal;
        }
        shown << e.name;
        // Small icons larger, so that single pixels can be judged.
        const int factor = e.size.width() <= 40 ? 4 : 2;
        caption += QStringLiteral("  %1 x %2  (x%3)").arg(e.size.width()).arg(e.size.height()).arg(factor);
        tiles.push_back({zoom(pair, factor), caption});
    }
    return true;
}

QImage ContactSheet::draw(QString& error)
{
    struct Section
    {
        QString title;
        QVector<Tile> tiles;
    };
    QVector<Section> sections(3);
    sections[0].title = QStringLiteral("Windows with their buttons in place");
    sections[1].title = QStringLiteral("Bitmaps (pure blue = outside the window's outline)");
    sections[2].title =
        QStringLiteral("Icon files: normal | lit under the pointer (or selected, for the state buttons)");
    if (!buildPreviews(sections[0].tiles, error) || !buildBitmaps(sections[1].tiles, error) ||
        !buildIcons(sections[2].tiles, error))
        return QImage();

    const QFont font = captionFont();
    QFont titleFont = font;
    titleFont.setPixelSize(16);
    titleFont.setBold(true);
    const QFontMetrics fm(font);
    const int captionHeight = fm.height() + 4;

    // First pass lays out, second pass paints.
    struct Placed
    {
        const Tile* tile;
        QPoint at;
    };
    QVector<Placed> placed;
    QVector<QPair<QString, int>> titles;
    int y = kMargin;
    for (const Section& s : sections) {
        titles.push_back({s.title, y});
        y += 28;
        int x = kMargin;
        int rowHeight = 0;
        for (const Tile& t : s.tiles) {
            const int w = qMax(t.image.width(), fm.horizontalAdvance(t.caption));
            const int h = t.image.height() + captionHeight;
            if (x > kMargin && x + w > kSheetWidth - kMargin) {
                x = kMargin;
                y += rowHeight + kGap;
                rowHeight = 0;
            }
            placed.push_back({&t, QPoint(x, y)});
            x += w + kGap;
            rowHeight = qMax(rowHeight, h);
        }
        y += rowHeight + kGap + 12;
    }

    QImage sheet(kSheetWidth, y + kMargin - kGap, QImage::Format_RGB32);
    sheet.fill(kSheetColour);
    QPainter p(&sheet);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(kCaptionColour);
    p.setFont(titleFont);
    for (const auto& t : titles)
        p.drawText(QPoint(kMargin, t.second + 18), t.first);
    p.setFont(font);
    for (const Placed& pl : placed) {
        p.drawImage(pl.at, pl.tile->image);
        p.drawText(QPoint(pl.at.x(), pl.at.y() + pl.tile->image.height() + fm.ascent() + 3),
                   pl.tile->caption);
    }
    p.end();
    return sheet;
}

} // namespace skingen

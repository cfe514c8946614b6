// Line-oriented manifest parser: "kind name source width height [options]" per line, lines starting with '#'
// are comments.
#include "Manifest.h"

#include <QFile>
#include <QRect>
#include <QRegularExpression>
#include <QTextStream>

namespace skingen {

namespace {

bool parseSize(const QString& w, const QString& h, QSize& size)
{
    bool okW = false;
    bool okH = false;
    size = QSize(w.toInt(&okW), h.toInt(&okH));
    return okW && okH && size.width() > 0 && size.height() > 0 && size.width() <= 4096 &&
           size.height() <= 4096;
}

// "over=129:590,42"
bool parseBackdrop(const QString& option, Entry& entry)
{
    static const QRegularExpression re(QStringLiteral("^over=(\\w+):(-?\\d+),(-?\\d+)$"));
    const QRegularExpressionMatch m = re.match(option);
    if (!m.hasMatch())
        return false;
    entry.backdrop = m.captured(1);
    entry.backdropAt = QPoint(m.captured(2).toInt(), m.captured(3).toInt());
    return true;
}

} // namespace

bool Manifest::load(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = path + QStringLiteral(": cannot read");
        return false;
    }
    m_entries.clear();
    m_placements.clear();
    QTextStream in(&file);
    int lineNo = 0;
    while (!in.atEnd()) {
        ++lineNo;
        const QString line = in.readLine();
        // Whole-line comments only: colours in preview lines start with '#'.
        if (line.trimmed().startsWith(QLatin1Char('#')))
            continue;
        const QStringList f = line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        if (f.isEmpty())
            continue;
        const auto fail = [&](const QString& why) {
            error = QStringLiteral("%1:%2: %3").arg(path).arg(lineNo).arg(why);
            return false;
        };
        if (f[0] == QLatin1String("preview")) {
            bool okX = false;
            bool okY = false;
            if (f.size() != 5)
                return fail(QStringLiteral("expected: preview <sheet> <item> <x> <y>"));
            Placement p;
            p.sheet = f[1];
            p.item = f[2];
            p.at = QPoint(f[3].toInt(&okX), f[4].toInt(&okY));
            if (!okX || !okY)
                return fail(QStringLiteral("bad position"));
            m_placements.push_back(p);
            continue;
        }
        if (f[0] == QLatin1String("previewtext")) {
            bool ok[3] = {};
            if (f.size() < 7)
                return fail(QStringLiteral("expected: previewtext <sheet> <x> <y> <size> <#rrggbb> <text>"));
            Placement p;
            p.what = Placement::What::Text;
            p.sheet = f[1];
            p.at = QPoint(f[2].toInt(&ok[0]), f[3].toInt(&ok[1]));
            p.textSize = f[4].toInt(&ok[2]);
            p.textColour = QColor(f[5]);
            p.item = f.mid(6).join(QLatin1Char(' '));
            if (!ok[0] || !ok[1] || !ok[2] || p.textSize <= 0 || !p.textColour.isValid())
                return fail(QStringLiteral("bad preview text"));
            m_placements.push_back(p);
            continue;
        }
        if (f[0] == QLatin1String("previewplot")) {
            bool ok[4] = {};
            if (f.size() != 6)
                return fail(QStringLiteral("expected: previewplot <sheet> <x> <y> <width> <height>"));
            Placement p;
            p.what = Placement::What::Plot;
            p.sheet = f[1];
            p.at = QPoint(f[2].toInt(&ok[0]), f[3].toInt(&ok[1]));
            p.size = QSize(f[4].toInt(&ok[2]), f[5].toInt(&ok[3]));
            if (!ok[0] || !ok[1] || !ok[2] || !ok[3] || p.size.isEmpty())
                return fail(QStringLiteral("bad preview plot"));
            m_placements.push_back(p);
            continue;
        }
        Entry e;
        e.line = lineNo;
        if (f[0] == QLatin1String("bitmap"))
            e.kind = EntryKind::Bitmap;
        else if (f[0] == QLatin1String("appicon"))
            e.kind = EntryKind::AppIcon;
        else if (f[0] == QLatin1String("icon"))
            e.kind = EntryKind::Icon;
        else
            return fail(QStringLiteral("unknown kind '%1'").arg(f[0]));
        if (f.size() < 5)
            return fail(QStringLiteral("expected: <kind> <name> <source> <width> <height> [options]"));
        e.name = f[1];
        e.source = f[2];
        if (!parseSize(f[3], f[4], e.size))
            return fail(QStringLiteral("bad size"));
        for (int i = 5; i < f.size(); ++i) {
            if (f[i] == QLatin1String("shaped") && e.kind == EntryKind::Bitmap)
                e.shaped = true;
            else if (e.kind != EntryKind::AppIcon && parseBackdrop(f[i], e))
                continue;
            else
                return fail(QStringLiteral("unknown option '%1'").arg(f[i]));
        }
        if (find(e.name))
            return fail(QStringLiteral("'%1' listed twice").arg(e.name));
        m_entries.push_back(e);
    }
    for (const Entry& e : m_entries) {
        if (e.backdrop.isEmpty())
            continue;
        if (e.shaped) {
            error = QStringLiteral("%1:%2: a shaped bitmap cannot sit on another").arg(path).arg(e.line);
            return false;
        }
        const Entry* b = find(e.backdrop);
        // A backdrop is a bitmap drawn on its own, which also rules out cycles.
        if (!b || b->kind != EntryKind::Bitmap || !b->backdrop.isEmpty()) {
            error = QStringLiteral("%1:%2: backdrop '%3' is not a stand-alone bitmap")
                        .arg(path)
                        .arg(e.line)
                        .arg(e.backdrop);
            return false;
        }
        if (!QRect(QPoint(0, 0), b->size).contains(QRect(e.backdropAt, e.size))) {
            error = QStringLiteral("%1:%2: '%3' lies outside its backdrop").arg(path).arg(e.line).arg(e.name);
            return false;
        }
    }
    return true;
}

const Entry* Manifest::find(const QString& name) const
{
    for (const Entry& e : m_entries) {
        if (e.name == name)
            return &e;
    }
    return nullptr;
}

} // namespace skingen

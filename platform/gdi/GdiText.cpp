// Text output and measurement on the DC's font, colours and background mode. Strings are UTF-8.
#include "platform/gdi/GdiPrivate.h"

#include <QFontMetrics>
#include <algorithm>
#include <climits>
#include <cstring>

using namespace gdi::detail;

namespace {

QString Text(LPCSTR text, int count)
{
    if (!text)
        return QString();
    return count < 0 ? QString::fromUtf8(text) : QString::fromUtf8(text, count);
}

int QtFlags(UINT format)
{
    int f = 0;
    if (format & DT_RIGHT)
        f |= Qt::AlignRight;
    else if (format & DT_CENTER)
        f |= Qt::AlignHCenter;
    else
        f |= Qt::AlignLeft;
    if (format & DT_SINGLELINE) {
        f |= Qt::TextSingleLine;
        if (format & DT_BOTTOM)
            f |= Qt::AlignBottom;
        else if (format & DT_VCENTER)
            f |= Qt::AlignVCenter;
        else
            f |= Qt::AlignTop;
    } else {
        f |= Qt::AlignTop;
        if (format & DT_WORDBREAK)
            f |= Qt::TextWordWrap;
    }
    if (format & DT_EXPANDTABS)
        f |= Qt::TextExpandTabs;
    if (format & DT_NOCLIP)
        f |= Qt::TextDontClip;
    if (!(format & DT_NOPREFIX))
        f |= (format & DT_HIDEPREFIX) ? Qt::TextHideMnemonic : Qt::TextShowMnemonic;
    return f;
}

// The text as shown: "&x" shows x (underlined by the drawing), "&&" shows one "&".
QString WithoutPrefixes(const QString& s, UINT format)
{
    if (format & DT_NOPREFIX)
        return s;
    QString out;
    out.reserve(s.size());
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('&') && i + 1 < s.size())
            ++i;
        else if (s[i] == QLatin1Char('&'))
            continue;
        out += s[i];
    }
    return out;
}

// Shortens a line that does not fit, with "...": at the end, or in the middle for paths.
QString Elide(const QFontMetrics& fm, const QString& s, UINT format, int width)
{
    if (!(format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)))
        return s;
    if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE))
        return s;
    const Qt::TextElideMode mode = (format & DT_PATH_ELLIPSIS) ? Qt::ElideMiddle : Qt::ElideRight;
    return fm.elidedText(s, mode, std::max(0, width));
}

// The text's top-left in device coordinates for a reference point and the DC's text alignment.
QPoint TextOrigin(HDC dc, const QFontMetrics& fm, const QString& s, int x, int y)
{
    const UINT align = dc->st.textAlign;
    const QPoint d = ToDevice(dc, x, y);
    const int w = fm.horizontalAdvance(s);
    int left = d.x();
    if ((align & TA_CENTER) == TA_CENTER)
        left -= w / 2;
    else if (align & TA_RIGHT)
        left -= w;
    int top = d.y();
    if ((align & TA_BASELINE) == TA_BASELINE)
        top -= fm.ascent();
    else if (align & TA_BOTTOM)
        top -= fm.height();
    return {left, top};
}

void DrawLine(HDC dc, QPainter* p, const QFont& font, const QPoint& topLeft, const QString& s, bool opaque)
{
    const QFontMetrics fm(font);
    if (opaque)
        p->fillRect(QRect(topLeft, QSize(fm.horizontalAdvance(s), fm.height())), Color(dc->st.bkColor));
    p->setFont(font);
    p->setPen(Color(dc->st.textColor));
    p->drawText(QPoint(topLeft.x(), topLeft.y() + fm.ascent()), s);
    p->setPen(Qt::NoPen);
}

} // namespace

int DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format)
{
    if (!IsDc(dc) || !text || !rect)
        return 0;
    const QFont& font = FontOfObject(dc->st.font);
    const QFontMetrics fm(font);
    const QRect dr = ToDevice(dc, *rect);
    const int flags = QtFlags(format);
    const QString s = Elide(fm, Text(text, count), format, dr.width());

    if (format & DT_CALCRECT) {
        const bool wrap = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE);
        QSize size;
        if (!wrap && ((format & DT_SINGLELINE) || !s.contains(QLatin1Char('\n')))) {
            // One line: the text's advance and the font's cell height, as GetTextExtentPoint32 measures.
            size = QSize(fm.horizontalAdvance(WithoutPrefixes(s, format)), fm.height());
        } else {
            const QRect probe(0, 0, wrap ? std::max(1, dr.width()) : INT_MAX / 4, INT_MAX / 4);
            const int align = Qt::AlignHCenter | Qt::AlignRight | Qt::AlignVCenter | Qt::AlignBottom;
            size = s.isEmpty() ? QSize(0, fm.height()) : fm.boundingRect(probe, flags & ~align, s).size();
        }
        const QPoint br = ToLogical(dc, dr.left() + size.width(), dr.top() + size.height());
        rect->right = br.x();
        rect->bottom = br.y();
        return rect->bottom - rect->top;
    }
    if (s.isEmpty())
        return 0;
    QPainter* p = Painter(dc);
    if (!p)
        return 0;
    p->setFont(font);
    const QRect br = p->boundingRect(dr, flags, s);
    if (dc->st.bkMode == OPAQUE)
        p->fillRect((format & DT_NOCLIP) ? br : br.intersected(dr), Color(dc->st.bkColor));
    p->setPen(Color(dc->st.textColor));
    p->drawText(dr, flags, s);
    p->setPen(Qt::NoPen);
    if (format & (DT_VCENTER | DT_BOTTOM))
        return br.top() + br.height() - dr.top();
    return br.height();
}

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count)
{
    if (!IsDc(dc) || !text)
        return FALSE;
    const QFont& font = FontOfObject(dc->st.font);
    const QFontMetrics fm(font);
    const QString s = Text(text, count);
    const bool updateCp = dc->st.textAlign & TA_UPDATECP;
    if (updateCp)
        x = dc->st.position.x(), y = dc->st.position.y();
    const QPoint tl = TextOrigin(dc, fm, s, x, y);
    if (updateCp)
        dc->st.position.rx() += fm.horizontalAdvance(s);
    if (s.isEmpty())
        return TRUE;
    if (QPainter* p = Painter(dc))
        DrawLine(dc, p, font, tl, s, dc->st.bkMode == OPAQUE);
    return TRUE;
}

BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, LPCRECT rect, LPCSTR text, UINT count, const int* dx)
{
    (void)dx; // per-character advances: the font's own are used
    if (!IsDc(dc))
        return FALSE;
    QPainter* p = Painter(dc);
    if (!p)
        return TRUE;
    QRect dr;
    if (rect)
        dr = ToDevice(dc, *rect);
    if ((options & ETO_OPAQUE) && rect && !dr.isEmpty())
        p->fillRect(dr, Color(dc->st.bkColor));
    if (!text || count == 0)
        return TRUE;
    const QFont& font = FontOfObject(dc->st.font);
    const QFontMetrics fm(font);
    const QString s = Text(text, int(count));
    const QPoint tl = TextOrigin(dc, fm, s, x, y);
    if ((options & ETO_CLIPPED) && rect)
        p->setClipRect(dr, Qt::IntersectClip);
    DrawLine(dc, p, font, tl, s, dc->st.bkMode == OPAQUE && !(options & ETO_OPAQUE));
    return TRUE;
}

BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, LPSIZE size)
{
    if (!IsDc(dc) || !size || (!text && count > 0))
        return FALSE;
    const QFontMetrics fm(FontOfObject(dc->st.font));
    const QString s = Text(text, count);
    *size = SIZE{fm.horizontalAdvance(s), fm.height()};
    return TRUE;
}

BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* tm)
{
    if (!IsDc(dc) || !tm)
        return FALSE;
    const QFont& font = FontOfObject(dc->st.font);
    const QFontMetrics fm(font);
    const auto* lf = &static_cast<GdiFont*>(dc->st.font)->lf;
    std::memset(tm, 0, sizeof *tm);
    tm->tmHeight = fm.height();
    tm->tmAscent = fm.ascent();
    tm->tmDescent = fm.descent();
    tm->tmInternalLeading = std::max(0, fm.height() - font.pixelSize());
    tm->tmExternalLeading = std::max(0, fm.leading());
    tm->tmAveCharWidth = fm.averageCharWidth();
    tm->tmMaxCharWidth = fm.maxWidth();
    tm->tmWeight = lf->lfWeight ? lf->lfWeight : FW_NORMAL;
    tm->tmDigitizedAspectX = 96;
    tm->tmDigitizedAspectY = 96;
    tm->tmFirstChar = ' ';
    tm->tmLastChar = '~';
    tm->tmDefaultChar = '?';
    tm->tmBreakChar = ' ';
    tm->tmItalic = lf->lfItalic;
    tm->tmUnderlined = lf->lfUnderline;
    tm->tmStruckOut = lf->lfStrikeOut;
    tm->tmPitchAndFamily = lf->lfPitchAndFamily;
    tm->tmCharSet = lf->lfCharSet;
    return TRUE;
}

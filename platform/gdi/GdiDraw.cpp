// Lines and shapes with GDI's pixel rules: a line leaves out its end point, a rectangle leaves out
// its right and bottom edges, a null pen or brush draws nothing of its part.
#include "platform/gdi/GdiPrivate.h"

#include <QPainterPath>
#include <algorithm>
#include <cstdlib>

using namespace gdi::detail;

namespace {

const GdiPen* PenOf(HDC dc)
{
    auto* p = static_cast<const GdiPen*>(dc->st.pen);
    if (!p || p->kind != GdiObject::Kind::Pen || p->style == PS_NULL || dc->st.rop2 == R2_NOP)
        return nullptr;
    return p;
}

// Sets the pen's mix mode on the painter and returns the colour to fill with.
QColor ApplyMix(QPainter* p, HDC dc, COLORREF color)
{
    switch (dc->st.rop2) {
    case R2_BLACK:
        return Qt::black;
    case R2_WHITE:
        return Qt::white;
    case R2_NOT:
        p->setCompositionMode(QPainter::RasterOp_NotDestination);
        return Qt::black;
    case R2_XORPEN:
        p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        return Color(color);
    default:
        return Color(color);
    }
}

// Dash patterns of the styled one-pixel pens, in pixels: on, off, on, off ...
const std::vector<int>& DashPattern(int style)
{
    static const std::vector<int> dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6}, dashDotDot{9, 3, 3, 3, 3, 3};
    static const std::vector<int> none;
    switch (style) {
    case PS_DASH:
        return dash;
    case PS_DOT:
        return dot;
    case PS_DASHDOT:
        return dashDot;
    case PS_DASHDOTDOT:
        return dashDotDot;
    default:
        return none;
    }
}

// One-pixel line from a to b in device coordinates, b left out (Bresenham). Runs along the major
// axis are merged so a straight line is one fill.
void PixelLine(HDC dc, QPainter* p, QPoint a, QPoint b, const GdiPen* pen)
{
    const int dx = std::abs(b.x() - a.x()), dy = std::abs(b.y() - a.y());
    const int n = std::max(dx, dy);
    if (n == 0)
        return;
    const QColor on = ApplyMix(p, dc, pen->color);
    const std::vector<int>& pattern = DashPattern(pen->style);
    const bool fillGaps = !pattern.empty() && dc->st.bkMode == OPAQUE;
    const QColor gap = Color(dc->st.bkColor);
    const int sx = b.x() > a.x() ? 1 : -1, sy = b.y() > a.y() ? 1 : -1;

    if (pattern.empty() && (dx == 0 || dy == 0)) {
        const QPoint last = b - QPoint(dx ? sx : 0, dy ? sy : 0);
        p->fillRect(QRect(QPoint(std::min(a.x(), last.x()), std::min(a.y(), last.y())),
                          QPoint(std::max(a.x(), last.x()), std::max(a.y(), last.y()))),
                    on);
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        return;
    }

    std::size_t seg = 0;
    int left = pattern.empty() ? 0 : pattern[0];
    int x = a.x(), y = a.y(), err = (dx > dy ? dx : -dy) / 2;
    for (int i = 0; i < n; ++i) {
        const bool isOn = pattern.empty() || seg % 2 == 0;
        if (isOn)
            p->fillRect(QRect(x, y, 1, 1), on);
        else if (fillGaps)
            p->fillRect(QRect(x, y, 1, 1), gap);
        if (!pattern.empty() && --left == 0) {
            seg = (seg + 1) % pattern.size();
            left = pattern[seg];
        }
        const int e2 = err;
        if (e2 > -dx) {
            err -= dy;
            x += sx;
        }
        if (e2 < dy) {
            err += dx;
            y += sy;
        }
    }
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// A pen wider than one pixel: round ends, centred on the path.
void WideLine(HDC dc, QPainter* p, QPoint a, QPoint b, const GdiPen* pen)
{
    const QColor c = ApplyMix(p, dc, pen->color);
    QPen qpen(c, pen->width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p->setPen(qpen);
    p->setBrush(Qt::NoBrush);
    p->drawLine(QPointF(a) + QPointF(0.5, 0.5), QPointF(b) + QPointF(0.5, 0.5));
    p->setPen(Qt::NoPen);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void DeviceLine(HDC dc, QPainter* p, QPoint a, QPoint b)
{
    const GdiPen* pen = PenOf(dc);
    if (!pen)
        return;
    if (pen->width <= 1)
        PixelLine(dc, p, a, b, pen);
    else
        WideLine(dc, p, a, b, pen);
}

// The outline of a closed polygon through device points.
void DeviceOutline(HDC dc, QPainter* p, const QVector<QPoint>& pts)
{
    for (int i = 0; i < pts.size(); ++i)
        DeviceLine(dc, p, pts[i], pts[(i + 1) % pts.size()]);
}

QBrush CurrentBrush(HDC dc)
{
    return QtBrush(dc, dc->st.brush);
}

} // namespace

BOOL MoveToEx(HDC dc, int x, int y, LPPOINT old)
{
    if (!IsDc(dc))
        return FALSE;
    if (old)
        *old = POINT{dc->st.position.x(), dc->st.position.y()};
    dc->st.position = QPoint(x, y);
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC dc, LPPOINT p)
{
    if (!IsDc(dc) || !p)
        return FALSE;
    *p = POINT{dc->st.position.x(), dc->st.position.y()};
    return TRUE;
}

BOOL LineTo(HDC dc, int x, int y)
{
    if (!IsDc(dc))
        return FALSE;
    const QPoint from = dc->st.position;
    dc->st.position = QPoint(x, y);
    if (QPainter* p = Painter(dc))
        DeviceLine(dc, p, ToDevice(dc, from.x(), from.y()), ToDevice(dc, x, y));
    return TRUE;
}

BOOL Polyline(HDC dc, const POINT* pts, int count)
{
    if (!IsDc(dc) || !pts || count < 2)
        return FALSE;
    if (QPainter* p = Painter(dc))
        for (int i = 0; i + 1 < count; ++i)
            DeviceLine(dc, p, ToDevice(dc, pts[i].x, pts[i].y), ToDevice(dc, pts[i + 1].x, pts[i + 1].y));
    return TRUE;
}

BOOL Polygon(HDC dc, const POINT* pts, int count)
{
    if (!IsDc(dc) || !pts || count < 2)
        return FALSE;
    QPainter* p = Painter(dc);
    if (!p)
        return TRUE;
    QVector<QPoint> dev;
    for (int i = 0; i < count; ++i)
        dev.push_back(ToDevice(dc, pts[i].x, pts[i].y));
    const QBrush brush = CurrentBrush(dc);
    if (brush.style() != Qt::NoBrush) {
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        path.addPolygon(QPolygonF(QPolygon(dev)));
        p->fillPath(path, brush);
    }
    DeviceOutline(dc, p, dev);
    return TRUE;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom)
{
    if (!IsDc(dc))
        return FALSE;
    QRect r = ToDevice(dc, RECT{left, top, right, bottom});
    if (r.width() < 1 || r.height() < 1)
        return TRUE;
    const GdiPen* pen = PenOf(dc);
    const QBrush brush = CurrentBrush(dc);
    if (!pen) {
        // Without a pen the filled area is one pixel smaller in each direction.
        FillDeviceRect(dc, r.adjusted(0, 0, -1, -1), brush);
        return TRUE;
    }
    const int w = std::max(1, pen->width);
    if (pen->style == PS_INSIDEFRAME || w == 1) {
        // The outline lies inside [left, right - 1] x [top, bottom - 1].
        FillDeviceRect(dc, r.adjusted(w, w, -w, -w), brush);
        QPainter* p = Painter(dc);
        if (!p)
            return TRUE;
        if (w == 1) {
            const QPoint tl = r.topLeft(), tr(r.left() + r.width() - 1, r.top()),
                         br(r.left() + r.width() - 1, r.top() + r.height() - 1), bl(r.left(), br.y());
            if (r.width() == 1 || r.height() == 1) {
                const QColor c = ApplyMix(p, dc, pen->color);
                p->fillRect(r, c);
                p->setCompositionMode(QPainter::CompositionMode_SourceOver);
            } else {
                DeviceOutline(dc, p, {tl, tr, br, bl});
            }
        } else {
            const QColor c = ApplyMix(p, dc, pen->color);
            for (const QRect& part : QRegion(r).subtracted(QRegion(r.adjusted(w, w, -w, -w))))
                p->fillRect(part, c);
            p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
        return TRUE;
    }
    // A wide pen is centred on the outline path [left, right - 1] x [top, bottom - 1].
    const int lo = (w - 1) / 2;
    const QRect path = r.adjusted(0, 0, -1, -1);
    const QRect outer(path.left() - lo, path.top() - lo, path.width() + w, path.height() + w);
    const QRect inner = outer.adjusted(w, w, -w, -w);
    FillDeviceRect(dc, r.adjusted(1, 1, -1, -1).intersected(inner), brush);
    QPainter* p = Painter(dc);
    if (!p)
        return TRUE;
    const QColor c = ApplyMix(p, dc, pen->color);
    for (const QRect& part : QRegion(outer).subtracted(QRegion(inner)))
        p->fillRect(part, c);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    return TRUE;
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom)
{
    if (!IsDc(dc))
        return FALSE;
    const QRect r = ToDevice(dc, RECT{left, top, right, bottom});
    if (r.width() < 2 || r.height() < 2)
        return TRUE;
    QPainter* p = Painter(dc);
    if (!p)
        return TRUE;
    const GdiPen* pen = PenOf(dc);
    const QBrush brush = CurrentBrush(dc);
    if (brush.style() != Qt::NoBrush) {
        p->setPen(Qt::NoPen);
        p->setBrush(brush);
        p->drawEllipse(QRectF(r.adjusted(0, 0, -1, -1)).translated(0.5, 0.5));
    }
    if (pen) {
        const QColor c = ApplyMix(p, dc, pen->color);
        QPen qpen(c, std::max(1, pen->width));
        if (pen->width <= 1)
            qpen.setCosmetic(true);
        p->setPen(qpen);
        p->setBrush(Qt::NoBrush);
        p->drawEllipse(QRectF(r.adjusted(0, 0, -1, -1)).translated(0.5, 0.5));
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    p->setPen(Qt::NoPen);
    p->setBrush(Qt::NoBrush);
    return TRUE;
}

namespace {

// A brush handle may also be a system colour index plus one, as window classes give them.
GdiObject* ResolveBrush(HBRUSH brush)
{
    const auto v = reinterpret_cast<std::uintptr_t>(brush);
    if (v >= 1 && v <= 25)
        return GetSysColorBrush(int(v) - 1);
    return IsObject(brush) && brush->kind == GdiObject::Kind::Brush ? brush : nullptr;
}

} // namespace

int FillRect(HDC dc, LPCRECT rect, HBRUSH brush)
{
    GdiObject* b = ResolveBrush(brush);
    if (!IsDc(dc) || !rect || !b)
        return 0;
    FillDeviceRect(dc, ToDevice(dc, *rect), QtBrush(dc, b));
    return 1;
}

int FrameRect(HDC dc, LPCRECT rect, HBRUSH brush)
{
    GdiObject* b = ResolveBrush(brush);
    if (!IsDc(dc) || !rect || !b)
        return 0;
    const QRect r = ToDevice(dc, *rect);
    if (r.isEmpty())
        return 1;
    const QRegion frame = QRegion(r).subtracted(QRegion(r.adjusted(1, 1, -1, -1)));
    FillDeviceRegion(dc, frame, QtBrush(dc, b));
    return 1;
}

BOOL InvertRect(HDC dc, LPCRECT rect)
{
    if (!IsDc(dc) || !rect)
        return FALSE;
    const QRect r = ToDevice(dc, *rect);
    if (!r.isEmpty())
        InvertDeviceRects(dc, {r});
    return TRUE;
}

BOOL DrawFocusRect(HDC dc, LPCRECT rect)
{
    if (!IsDc(dc) || !rect)
        return FALSE;
    const QRect r = ToDevice(dc, *rect);
    if (r.isEmpty())
        return TRUE;
    // Every other pixel of the one-pixel frame, on the device's checkerboard, inverted.
    QVector<QRect> dots;
    const int l = r.left(), t = r.top(), rr = r.left() + r.width() - 1, b = r.top() + r.height() - 1;
    auto dot = [&](int x, int y) {
        if (((x + y) & 1) == 0)
            dots.push_back(QRect(x, y, 1, 1));
    };
    for (int x = l; x <= rr; ++x) {
        dot(x, t);
        if (b != t)
            dot(x, b);
    }
    for (int y = t + 1; y < b; ++y) {
        dot(l, y);
        if (rr != l)
            dot(rr, y);
    }
    InvertDeviceRects(dc, dots);
    return TRUE;
}

BOOL DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags)
{
    if (!IsDc(dc) || !rect)
        return FALSE;
    RECT r = *rect;
    struct Layer
    {
        UINT raised, sunken;
        int raisedTl, raisedBr, sunkenTl, sunkenBr;
    };
    const Layer layers[] = {
        {BDR_RAISEDOUTER, BDR_SUNKENOUTER, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_3DSHADOW,
         COLOR_3DHIGHLIGHT},
        {BDR_RAISEDINNER, BDR_SUNKENINNER, COLOR_3DHIGHLIGHT, COLOR_3DSHADOW, COLOR_3DDKSHADOW,
         COLOR_3DLIGHT},
    };
    for (const Layer& layer : layers) {
        const bool raised = edge & layer.raised, sunken = edge & layer.sunken;
        if (!raised && !sunken)
            continue;
        int tl = raised ? layer.raisedTl : layer.sunkenTl, br = raised ? layer.raisedBr : layer.sunkenBr;
        if (flags & BF_MONO)
            tl = br = COLOR_WINDOWFRAME;
        else if (flags & BF_FLAT)
            tl = br = COLOR_3DSHADOW;
        const int w = r.right - r.left, h = r.bottom - r.top;
        if (w <= 0 || h <= 0)
            break;
        HBRUSH tlb = GetSysColorBrush(tl), brb = GetSysColorBrush(br);
        RECT s;
        if (flags & BF_TOP)
            s = RECT{r.left, r.top, r.right - 1, r.top + 1}, FillRect(dc, &s, tlb);
        if (flags & BF_LEFT)
            s = RECT{r.left, r.top, r.left + 1, r.bottom - 1}, FillRect(dc, &s, tlb);
        if (flags & BF_BOTTOM)
            s = RECT{r.left, r.bottom - 1, r.right, r.bottom}, FillRect(dc, &s, brb);
        if (flags & BF_RIGHT)
            s = RECT{r.right - 1, r.top, r.right, r.bottom}, FillRect(dc, &s, brb);
        if (flags & BF_LEFT)
            ++r.left;
        if (flags & BF_TOP)
            ++r.top;
        if (flags & BF_RIGHT)
            --r.right;
        if (flags & BF_BOTTOM)
            --r.bottom;
    }
    if ((flags & BF_MIDDLE) && r.right > r.left && r.bottom > r.top)
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (flags & BF_ADJUST)
        *rect = r;
    return TRUE;
}

BOOL FillRgn(HDC dc, HRGN rgn, HBRUSH brush)
{
    auto* r = As<GdiRegion>(rgn, GdiObject::Kind::Region);
    GdiObject* b = ResolveBrush(brush);
    if (!IsDc(dc) || !r || !b)
        return FALSE;
    FillDeviceRegion(dc, r->Region(), QtBrush(dc, b));
    return TRUE;
}

BOOL FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, int w, int h)
{
    auto* r = As<GdiRegion>(rgn, GdiObject::Kind::Region);
    GdiObject* b = ResolveBrush(brush);
    if (!IsDc(dc) || !r || !b || w < 0 || h < 0)
        return FALSE;
    const QRegion& g = r->Region();
    const QRegion inner = g.intersected(g.translated(w, 0))
                              .intersected(g.translated(-w, 0))
                              .intersected(g.translated(0, h))
                              .intersected(g.translated(0, -h));
    FillDeviceRegion(dc, g.subtracted(inner), QtBrush(dc, b));
    return TRUE;
}

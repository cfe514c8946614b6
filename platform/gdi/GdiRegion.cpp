// Regions: sets of pixels in device coordinates, for window shapes and clipping.
#include "platform/gdi/GdiPrivate.h"

using namespace gdi::detail;

namespace {

int TypeOf(const QRegion& r) { return r.isEmpty() ? NULLREGION : r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION; }

QRect Rect(int left, int top, int right, int bottom)
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    return QRect(left, top, right - left, bottom - top);
}

GdiRegion* Rgn(HRGN h) { return As<GdiRegion>(h, GdiObject::Kind::Region); }

HRGN NewRegion(const QRegion& r)
{
    auto* g = new GdiRegion;
    g->region = r;
    Register(g);
    return g;
}

} // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom)
{
    const QRect r = Rect(left, top, right, bottom);
    return NewRegion(r.isEmpty() ? QRegion() : QRegion(r));
}

HRGN CreateRectRgnIndirect(LPCRECT rect)
{
    return rect ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom)
{
    const QRect r = Rect(left, top, right, bottom);
    return NewRegion(r.isEmpty() ? QRegion() : QRegion(r, QRegion::Ellipse));
}

int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode)
{
    GdiRegion* d = Rgn(dst);
    GdiRegion* a = Rgn(src1);
    GdiRegion* b = mode == RGN_COPY ? nullptr : Rgn(src2);
    if (!d || !a || (mode != RGN_COPY && !b))
        return ERROR;
    switch (mode) {
    case RGN_AND: d->region = a->region.intersected(b->region); break;
    case RGN_OR:
        // Growing a region in place (dst == src1) is how window shapes are built, run by run.
        if (d == a)
            d->region += b->region;
        else
            d->region = a->region.united(b->region);
        break;
    case RGN_XOR: d->region = a->region.xored(b->region); break;
    case RGN_DIFF: d->region = a->region.subtracted(b->region); break;
    case RGN_COPY: d->region = a->region; break;
    default: return ERROR;
    }
    return TypeOf(d->region);
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom)
{
    GdiRegion* g = Rgn(rgn);
    if (!g)
        return FALSE;
    const QRect r = Rect(left, top, right, bottom);
    g->region = r.isEmpty() ? QRegion() : QRegion(r);
    return TRUE;
}

int OffsetRgn(HRGN rgn, int dx, int dy)
{
    GdiRegion* g = Rgn(rgn);
    if (!g)
        return ERROR;
    g->region.translate(dx, dy);
    return TypeOf(g->region);
}

int GetRgnBox(HRGN rgn, LPRECT rect)
{
    GdiRegion* g = Rgn(rgn);
    if (!g || !rect)
        return ERROR;
    const QRect b = g->region.boundingRect();
    *rect = g->region.isEmpty() ? RECT{0, 0, 0, 0} : RECT{b.left(), b.top(), b.left() + b.width(), b.top() + b.height()};
    return TypeOf(g->region);
}

BOOL PtInRegion(HRGN rgn, int x, int y)
{
    GdiRegion* g = Rgn(rgn);
    return g && g->region.contains(QPoint(x, y));
}

BOOL RectInRegion(HRGN rgn, LPCRECT rect)
{
    GdiRegion* g = Rgn(rgn);
    return g && rect && g->region.intersects(Rect(rect->left, rect->top, rect->right, rect->bottom));
}

BOOL EqualRgn(HRGN a, HRGN b)
{
    GdiRegion* ra = Rgn(a);
    GdiRegion* rb = Rgn(b);
    return ra && rb && ra->region == rb->region;
}

// Regions: sets of pixels in device coordinates, for window shapes and clipping.
#include "platform/gdi/GdiPrivate.h"

using namespace gdi::detail;

QRegion& GdiRegion::Region()
{
    if (m_pending.empty())
        return m_region;
    // Pairwise unions keep each merge small: n log n instead of n squared for n appended rectangles.
    std::vector<QRegion> level(m_pending.begin(), m_pending.end());
    m_pending.clear();
    while (level.size() > 1) {
        std::vector<QRegion> next;
        next.reserve(level.size() / 2 + 1);
        for (std::size_t i = 0; i + 1 < level.size(); i += 2)
            next.push_back(level[i].united(level[i + 1]));
        if (level.size() % 2)
            next.push_back(std::move(level.back()));
        level.swap(next);
    }
    m_region = m_region.united(level.front());
    return m_region;
}

int GdiRegion::AppendRect(const QRect& r)
{
    if (m_pending.empty())
        m_stack = m_region.isEmpty()          ? QRect()
                  : m_region.rectCount() == 1 ? m_region.boundingRect()
                                              : QRect(0, 0, -1, -1);
    const bool empty = m_pending.empty() && m_region.isEmpty();
    m_pending.push_back(r);
    if (empty) {
        m_stack = r;
    } else if (m_stack.isValid()) {
        if (m_stack.contains(r))
            ; // nothing new
        else if (r.left() == m_stack.left() && r.right() == m_stack.right() &&
                 (r.top() == m_stack.bottom() + 1 || r.bottom() + 1 == m_stack.top()))
            m_stack = m_stack.united(r);
        else
            m_stack = QRect(0, 0, -1, -1);
    }
    return m_stack.isValid() ? SIMPLEREGION : COMPLEXREGION;
}

namespace {

int TypeOf(const QRegion& r)
{
    return r.isEmpty() ? NULLREGION : r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

QRect Rect(int left, int top, int right, int bottom)
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    return QRect(left, top, right - left, bottom - top);
}

GdiRegion* Rgn(HRGN h)
{
    return As<GdiRegion>(h, GdiObject::Kind::Region);
}

HRGN NewRegion(const QRegion& r)
{
    auto* g = new GdiRegion;
    g->Region() = r;
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
    case RGN_AND:
        d->Region() = a->Region().intersected(b->Region());
        break;
    case RGN_OR:
        // Growing a region in place (dst == src1) is how window shapes are built, run by run.
        if (d == a && b->Region().rectCount() == 1)
            return d->AppendRect(b->Region().boundingRect());
        if (d == a)
            d->Region() += b->Region();
        else
            d->Region() = a->Region().united(b->Region());
        break;
    case RGN_XOR:
        d->Region() = a->Region().xored(b->Region());
        break;
    case RGN_DIFF:
        d->Region() = a->Region().subtracted(b->Region());
        break;
    case RGN_COPY:
        d->Region() = a->Region();
        break;
    default:
        return ERROR;
    }
    return TypeOf(d->Region());
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom)
{
    GdiRegion* g = Rgn(rgn);
    if (!g)
        return FALSE;
    const QRect r = Rect(left, top, right, bottom);
    g->Region() = r.isEmpty() ? QRegion() : QRegion(r);
    return TRUE;
}

int OffsetRgn(HRGN rgn, int dx, int dy)
{
    GdiRegion* g = Rgn(rgn);
    if (!g)
        return ERROR;
    g->Region().translate(dx, dy);
    return TypeOf(g->Region());
}

int GetRgnBox(HRGN rgn, LPRECT rect)
{
    GdiRegion* g = Rgn(rgn);
    if (!g || !rect)
        return ERROR;
    const QRect b = g->Region().boundingRect();
    *rect = g->Region().isEmpty() ? RECT{0, 0, 0, 0}
                                  : RECT{b.left(), b.top(), b.left() + b.width(), b.top() + b.height()};
    return TypeOf(g->Region());
}

BOOL PtInRegion(HRGN rgn, int x, int y)
{
    GdiRegion* g = Rgn(rgn);
    return g && g->Region().contains(QPoint(x, y));
}

BOOL RectInRegion(HRGN rgn, LPCRECT rect)
{
    GdiRegion* g = Rgn(rgn);
    return g && rect && g->Region().intersects(Rect(rect->left, rect->top, rect->right, rect->bottom));
}

BOOL EqualRgn(HRGN a, HRGN b)
{
    GdiRegion* ra = Rgn(a);
    GdiRegion* rb = Rgn(b);
    return ra && rb && ra->Region() == rb->Region();
}

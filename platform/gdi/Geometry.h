// Points, sizes and rectangles with the class library's behaviour (right and bottom exclusive).
#pragma once

#include "platform/os/WinTypes.h"

#include <algorithm>

class CPoint : public POINT
{
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int x_, int y_) : POINT{x_, y_} {}
    CPoint(const POINT& p) : POINT(p) {}
    explicit CPoint(LPARAM lp) : POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)} {}
    void Offset(int dx, int dy) { x += dx, y += dy; }
    bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
    bool operator!=(const CPoint& o) const { return !(*this == o); }
    CPoint operator+(const CPoint& o) const { return {x + o.x, y + o.y}; }
    CPoint operator-(const CPoint& o) const { return {x - o.x, y - o.y}; }
};

class CSize : public SIZE
{
public:
    CSize() : SIZE{0, 0} {}
    CSize(int cx_, int cy_) : SIZE{cx_, cy_} {}
    CSize(const SIZE& s) : SIZE(s) {}
    bool operator==(const CSize& o) const { return cx == o.cx && cy == o.cy; }
};

class CRect : public RECT
{
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& r) : RECT(r) {}
    CRect(const POINT& tl, const SIZE& sz) : RECT{tl.x, tl.y, tl.x + sz.cx, tl.y + sz.cy} {}

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return {Width(), Height()}; }
    CPoint TopLeft() const { return {left, top}; }
    CPoint BottomRight() const { return {right, bottom}; }
    CPoint CenterPoint() const { return {(left + right) / 2, (top + bottom) / 2}; }
    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool PtInRect(const POINT& p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }

    void SetRect(int l, int t, int r, int b) { left = l, top = t, right = r, bottom = b; }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void OffsetRect(int dx, int dy) { left += dx, right += dx, top += dy, bottom += dy; }
    void OffsetRect(const POINT& p) { OffsetRect(p.x, p.y); }
    void MoveToXY(int x, int y) { OffsetRect(x - left, y - top); }
    void InflateRect(int dx, int dy) { left -= dx, top -= dy, right += dx, bottom += dy; }
    void InflateRect(int l, int t, int r, int b) { left -= l, top -= t, right += r, bottom += b; }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
    void NormalizeRect()
    {
        if (left > right)
            std::swap(left, right);
        if (top > bottom)
            std::swap(top, bottom);
    }
    // Returns false and an empty rectangle when the two do not overlap.
    bool IntersectRect(const RECT& a, const RECT& b)
    {
        SetRect(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom));
        if (IsRectEmpty()) {
            SetRectEmpty();
            return false;
        }
        return true;
    }
    bool UnionRect(const RECT& a, const RECT& b)
    {
        const CRect ra(a), rb(b);
        if (ra.IsRectEmpty()) {
            *this = rb;
        } else if (rb.IsRectEmpty()) {
            *this = ra;
        } else {
            SetRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                    std::max(a.bottom, b.bottom));
        }
        return !IsRectEmpty();
    }
    bool operator==(const RECT& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const RECT& o) const { return !(*this == o); }
    operator RECT*() { return this; }
    operator const RECT*() const { return this; }
};

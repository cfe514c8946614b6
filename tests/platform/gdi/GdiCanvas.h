// A memory DC on a fresh bitmap filled with one colour, and pixel helpers for the drawing tests.
#pragma once

#include "platform/gdi/Dc.h"
#include "platform/gdi/QtBridge.h"

#include <gtest/gtest.h>
#include <string>

namespace test {

class GdiCanvas
{
public:
    GdiCanvas(int w, int h, COLORREF fill = RGB(255, 255, 255))
    {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(dc, w, h);
        old = SelectObject(dc, bitmap);
        gdi::BitmapImage(bitmap)->fill(gdi::ToQColor(fill));
    }
    ~GdiCanvas()
    {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    // The bitmap's pixel, read from the image itself rather than through the DC.
    COLORREF At(int x, int y) const { return gdi::FromQColor(gdi::BitmapImage(bitmap)->pixelColor(x, y)); }

    // Row y from x0 to x1 inclusive as a string of 'o' (colour c) and '.' (anything else).
    std::string Row(int y, int x0, int x1, COLORREF c) const
    {
        std::string s;
        for (int x = x0; x <= x1; ++x)
            s += At(x, y) == c ? 'o' : '.';
        return s;
    }
    std::string Column(int x, int y0, int y1, COLORREF c) const
    {
        std::string s;
        for (int y = y0; y <= y1; ++y)
            s += At(x, y) == c ? 'o' : '.';
        return s;
    }
    int Count(COLORREF c) const
    {
        const QImage* img = gdi::BitmapImage(bitmap);
        int n = 0;
        for (int y = 0; y < img->height(); ++y)
            for (int x = 0; x < img->width(); ++x)
                n += At(x, y) == c;
        return n;
    }

    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
};

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

} // namespace test

// The bridge between the drawing layer and Qt, for the window layer and for tests: device
// contexts over painters and images, and the Qt values behind the layer's handles.
#pragma once

#include "platform/gdi/Gdi.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QRegion>

namespace gdi {

// A DC drawing through an existing, active painter (not owned), e.g. a widget's paint. Device
// coordinates are the painter's coordinates at this call; clipBox is the device area (the clip box
// and what GetClipBox reports). The painter's state is saved here and restored by DeleteDC, so
// delete the DC before the painter ends.
HDC CreateDCOnPainter(QPainter* painter, const QRect& clipBox);

// A DC drawing on an image it does not own; it opens its own painter on the image when it first
// draws and ends it at DeleteDC (or when BitmapImage asks for the pixels of a selected bitmap).
HDC CreateDCOnImage(QImage* image);

// The pixels of a bitmap (Format_RGB32, or Format_ARGB32 for images with alpha); nullptr when the
// handle is not a bitmap. A memory DC's painter on it is ended first, so the caller may paint on it.
QImage* BitmapImage(HBITMAP bitmap);
HBITMAP CreateBitmapFromImage(const QImage& image);

QImage IconImage(HICON icon); // Format_ARGB32; null for an invalid handle
HICON CreateIconFromImage(const QImage& image);

QRegion RegionOf(HRGN rgn);
HRGN CreateRegion(const QRegion& region);

inline QColor ToQColor(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}
inline COLORREF FromQColor(const QColor& c)
{
    return RGB(c.red(), c.green(), c.blue());
}

QFont FontOf(HFONT font); // the Qt font a text drawn with this font uses
HFONT CurrentFont(HDC dc);
COLORREF CurrentTextColor(HDC dc);
COLORREF CurrentBkColor(HDC dc);
int CurrentBkMode(HDC dc);

} // namespace gdi

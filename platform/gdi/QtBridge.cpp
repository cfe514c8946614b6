// The Qt side of the drawing layer's handles.
#include "platform/gdi/QtBridge.h"

#include "platform/gdi/GdiPrivate.h"

using namespace gdi::detail;

namespace gdi {

QImage* BitmapImage(HBITMAP bitmap)
{
    auto* b = As<GdiBitmap>(bitmap, GdiObject::Kind::Bitmap);
    if (!b)
        return nullptr;
    EndPainter(b);
    return &b->image;
}

HBITMAP CreateBitmapFromImage(const QImage& image)
{
    if (image.isNull())
        return nullptr;
    auto* b = new GdiBitmap;
    b->image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    Register(b);
    return b;
}

QImage IconImage(HICON icon)
{
    return IsIcon(icon) ? icon->image : QImage();
}

HICON CreateIconFromImage(const QImage& image)
{
    if (image.isNull())
        return nullptr;
    auto* i = new GdiIcon;
    i->image = image.convertToFormat(QImage::Format_ARGB32);
    Register(i);
    return i;
}

QRegion RegionOf(HRGN rgn)
{
    auto* r = As<GdiRegion>(rgn, GdiObject::Kind::Region);
    return r ? r->Region() : QRegion();
}

HRGN CreateRegion(const QRegion& region)
{
    auto* r = new GdiRegion;
    r->Region() = region;
    Register(r);
    return r;
}

QFont FontOf(HFONT font)
{
    return FontOfObject(As<GdiFont>(font, GdiObject::Kind::Font));
}
HFONT CurrentFont(HDC dc)
{
    return IsDc(dc) ? dc->st.font : nullptr;
}
COLORREF CurrentTextColor(HDC dc)
{
    return IsDc(dc) ? dc->st.textColor : CLR_INVALID;
}
COLORREF CurrentBkColor(HDC dc)
{
    return IsDc(dc) ? dc->st.bkColor : CLR_INVALID;
}
int CurrentBkMode(HDC dc)
{
    return IsDc(dc) ? dc->st.bkMode : 0;
}

} // namespace gdi

// Icons and images: loading from files and from the program's resources, icon information, and
// drawing icons and bitmaps, also in the embossed grey look of a disabled control.
#include "platform/gdi/GdiPrivate.h"
#include "platform/gdi/QtBridge.h"

#include <QFile>
#include <QImageReader>
#include <cstring>
#include <map>
#include <unordered_map>

using namespace gdi::detail;

namespace {

constexpr int kDefaultIconSize = 32;

QString ResourcePath(LPCSTR name, UINT type)
{
    const QString folder =
        type == IMAGE_BITMAP ? QStringLiteral(":/korvax/bitmaps/") : QStringLiteral(":/korvax/icons/");
    const QString ext = type == IMAGE_BITMAP ? QStringLiteral(".png") : QStringLiteral(".ico");
    if (IS_INTRESOURCE(name))
        return folder + QString::number(reinterpret_cast<std::uintptr_t>(name)) + ext;
    return folder + QString::fromUtf8(name) + ext;
}

// The image of an icon file: the one of the asked size when the file holds several, else the
// first, scaled when a size was asked for.
QImage ReadIcon(const QString& path, int cx, int cy, UINT flags)
{
    if ((cx == 0 || cy == 0) && (flags & LR_DEFAULTSIZE)) {
        cx = cx ? cx : kDefaultIconSize;
        cy = cy ? cy : kDefaultIconSize;
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QImage first, match;
    const int count = std::max(1, reader.imageCount());
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToNextImage())
            break;
        QImage img = reader.read();
        if (img.isNull())
            break;
        if (first.isNull())
            first = img;
        if (cx > 0 && cy > 0 && img.width() == cx && img.height() == cy) {
            match = img;
            break;
        }
        if (cx <= 0 || cy <= 0)
            break;
    }
    QImage img = !match.isNull() ? match : first;
    if (img.isNull())
        return img;
    if (cx > 0 && cy > 0 && img.size() != QSize(cx, cy))
        img = img.scaled(cx, cy, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return img.convertToFormat(QImage::Format_ARGB32);
}

QImage DecodeBitmap(const QString& path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QImage img = reader.read();
    // A loaded bitmap is a device bitmap: colour only, as GDI keeps it.
    return img.isNull() ? img : img.convertToFormat(QImage::Format_RGB32);
}

QImage ReadBitmap(const QString& path, int cx, int cy)
{
    // The program's own resources never change: each is decoded once (the skin is loaded for
    // its background and again for its shape). A shared QImage copies itself on first change.
    static std::map<QString, QImage> decodedResources;
    QImage img;
    if (path.startsWith(QLatin1String(":/"))) {
        auto it = decodedResources.find(path);
        if (it == decodedResources.end())
            it = decodedResources.emplace(path, DecodeBitmap(path)).first;
        img = it->second;
    } else {
        img = DecodeBitmap(path);
    }
    if (img.isNull())
        return img;
    if (cx > 0 || cy > 0)
        img = img.scaled(cx > 0 ? cx : img.width(), cy > 0 ? cy : img.height());
    return img;
}

GdiIcon* NewIcon(QImage img)
{
    auto* i = new GdiIcon;
    i->image = std::move(img);
    Register(i);
    return i;
}

} // namespace

HANDLE LoadImageA(HINSTANCE inst, LPCSTR name, UINT type, int cx, int cy, UINT flags)
{
    (void)inst; // one module: every resource is the program's own
    if (!name || (type != IMAGE_BITMAP && type != IMAGE_ICON && type != IMAGE_CURSOR))
        return nullptr;
    QString path;
    if (flags & LR_LOADFROMFILE) {
        if (IS_INTRESOURCE(name))
            return nullptr;
        path = QString::fromUtf8(name);
        if (!QFile::exists(path))
            return nullptr;
    } else {
        path = ResourcePath(name, type);
    }
    if (type == IMAGE_BITMAP) {
        QImage img = ReadBitmap(path, cx, cy);
        return img.isNull() ? nullptr : gdi::CreateBitmapFromImage(img);
    }
    QImage img = ReadIcon(path, cx, cy, flags);
    return img.isNull() ? nullptr : NewIcon(std::move(img));
}

HBITMAP LoadBitmapA(HINSTANCE inst, LPCSTR name)
{
    return static_cast<HBITMAP>(LoadImageA(inst, name, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}

HICON LoadIconA(HINSTANCE inst, LPCSTR name)
{
    return static_cast<HICON>(LoadImageA(inst, name, IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
}

BOOL DestroyIcon(HICON icon)
{
    if (!IsIcon(icon))
        return FALSE;
    Unregister(icon);
    delete icon;
    return TRUE;
}

HICON CopyIcon(HICON icon)
{
    return IsIcon(icon) ? NewIcon(icon->image.copy()) : nullptr;
}

BOOL GetIconInfo(HICON icon, ICONINFO* info)
{
    if (!IsIcon(icon) || !info)
        return FALSE;
    const QImage& img = icon->image;
    // The AND mask: white where the icon is transparent, black where it covers.
    QImage mask(img.size(), QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            out[x] = qAlpha(src[x]) < 128 ? 0xFFFFFFFFu : 0xFF000000u;
    }
    info->fIcon = TRUE;
    info->xHotspot = DWORD(img.width() / 2);
    info->yHotspot = DWORD(img.height() / 2);
    info->hbmMask = gdi::CreateBitmapFromImage(mask);
    info->hbmColor = gdi::CreateBitmapFromImage(img);
    return info->hbmMask && info->hbmColor;
}

HICON CreateIconIndirect(const ICONINFO* info)
{
    if (!info)
        return nullptr;
    const QImage* color = gdi::BitmapImage(info->hbmColor);
    const QImage* mask = gdi::BitmapImage(info->hbmMask);
    if (!color && !mask)
        return nullptr;
    QImage img = (color ? *color : *mask).convertToFormat(QImage::Format_ARGB32);
    if (mask && color && !color->hasAlphaChannel() && mask->size() == img.size()) {
        for (int y = 0; y < img.height(); ++y) {
            auto* px = reinterpret_cast<QRgb*>(img.scanLine(y));
            const auto* m = reinterpret_cast<const QRgb*>(mask->constScanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if (qRed(m[x]) >= 128)
                    px[x] = 0;
        }
    }
    return NewIcon(std::move(img));
}

namespace gdi::detail {

QImage MonoImage(const QImage& src, const QColor& color)
{
    // GDI's monochrome conversion: a pixel belongs to the shape when, drawn over the background,
    // it differs from the background. GDI's background is white; ours is the picture's commonest
    // colour over white, which is white for an icon on transparency and the plate's colour for an
    // icon drawn on a plate, whose caption then keeps its shape instead of the whole plate.
    const QImage img = src.convertToFormat(QImage::Format_ARGB32);
    QImage flat(img.size(), QImage::Format_RGB32);
    std::unordered_map<QRgb, int> counts;
    for (int y = 0; y < img.height(); ++y) {
        const auto* s = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        auto* f = reinterpret_cast<QRgb*>(flat.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int a = qAlpha(s[x]);
            auto over = [a](int c) { return (c * a + 255 * (255 - a)) / 255; };
            f[x] = qRgb(over(qRed(s[x])), over(qGreen(s[x])), over(qBlue(s[x])));
            ++counts[f[x]];
        }
    }
    QRgb background = qRgb(255, 255, 255);
    int best = 0;
    for (const auto& [c, n] : counts)
        if (n > best || (n == best && c == qRgb(255, 255, 255)))
            best = n, background = c;
    // Brightness apart from the background by this much belongs to the shape; gradients and
    // antialiased fringes of a plate stay below it.
    constexpr int kThreshold = 64;
    auto luma = [](QRgb c) { return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000; };
    const int backLuma = luma(background);
    QImage out(img.size(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    const QRgb on = color.rgb() | 0xFF000000u;
    for (int y = 0; y < img.height(); ++y) {
        const auto* f = reinterpret_cast<const QRgb*>(flat.constScanLine(y));
        auto* d = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int diff = std::abs(luma(f[x]) - backLuma);
            if (diff >= kThreshold)
                d[x] = on;
        }
    }
    return out;
}

QImage EmbossedImage(const QImage& src)
{
    QImage out(src.width() + 1, src.height() + 1, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.drawImage(1, 1, MonoImage(src, Color(GetSysColor(COLOR_3DHIGHLIGHT))));
    p.drawImage(0, 0, MonoImage(src, Color(GetSysColor(COLOR_3DSHADOW))));
    p.end();
    return out;
}

} // namespace gdi::detail

namespace {

// Draws an image with alpha at a device rectangle.
BOOL DrawImageAt(HDC dc, const QRect& target, const QImage& img, QPainter::CompositionMode mode)
{
    QPainter* p = Painter(dc);
    if (!p)
        return FALSE;
    p->setCompositionMode(mode);
    p->setRenderHint(QPainter::SmoothPixmapTransform, target.size() != img.size());
    p->drawImage(target, img);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->setRenderHint(QPainter::SmoothPixmapTransform, false);
    return TRUE;
}

} // namespace

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flicker, UINT flags)
{
    (void)step;
    if (!IsDc(dc) || !IsIcon(icon))
        return FALSE;
    const QImage& img = icon->image;
    if (cx == 0)
        cx = (flags & DI_DEFAULTSIZE) ? kDefaultIconSize : img.width();
    if (cy == 0)
        cy = (flags & DI_DEFAULTSIZE) ? kDefaultIconSize : img.height();
    const QPoint d = ToDevice(dc, x, y);
    const QRect target(d, QSize(cx, cy));
    if (flicker) {
        RECT r{x, y, x + cx, y + cy};
        FillRect(dc, &r, flicker);
    }
    if ((flags & DI_NORMAL) == DI_NORMAL || (flags & DI_NORMAL) == 0)
        return DrawImageAt(dc, target, img, QPainter::CompositionMode_SourceOver);
    if (flags & DI_IMAGE)
        return DrawImageAt(dc, target, img.convertToFormat(QImage::Format_RGB32),
                           QPainter::CompositionMode_Source);
    // DI_MASK: the AND mask, black where the icon covers.
    QImage mask(img.size(), QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        const auto* s = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        auto* m = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            m[x] = qAlpha(s[x]) < 128 ? 0xFFFFFFFFu : 0xFF000000u;
    }
    return DrawImageAt(dc, target, mask, QPainter::CompositionMode_Source);
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon)
{
    return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
}

BOOL DrawStateA(HDC dc, HBRUSH brush, DRAWSTATEPROC proc, LPARAM lData, WPARAM wData, int x, int y, int cx,
                int cy, UINT flags)
{
    if (!IsDc(dc))
        return FALSE;
    const UINT type = flags & 0x000F;
    QImage img;
    switch (type) {
    case DST_ICON: {
        auto icon = reinterpret_cast<HICON>(lData);
        if (!IsIcon(icon))
            return FALSE;
        img = icon->image;
        break;
    }
    case DST_BITMAP: {
        const QImage* b = gdi::BitmapImage(reinterpret_cast<HBITMAP>(lData));
        if (!b)
            return FALSE;
        img = b->convertToFormat(QImage::Format_ARGB32);
        break;
    }
    case DST_TEXT:
    case DST_PREFIXTEXT: {
        const auto* text = reinterpret_cast<LPCSTR>(lData);
        if (!text)
            return FALSE;
        const int len = wData ? int(wData) : int(std::strlen(text));
        SIZE ext{};
        GetTextExtentPoint32A(dc, text, len, &ext);
        img = QImage(cx ? cx : ext.cx, cy ? cy : ext.cy, QImage::Format_ARGB32);
        if (img.isNull())
            return TRUE;
        img.fill(Qt::transparent);
        HDC tmp = gdi::CreateDCOnImage(&img);
        SelectObject(tmp, dc->st.font);
        SetTextColor(tmp, dc->st.textColor);
        SetBkMode(tmp, TRANSPARENT);
        RECT r{0, 0, img.width(), img.height()};
        DrawTextA(tmp, text, len, &r,
                  DT_LEFT | DT_TOP | DT_SINGLELINE | (type == DST_TEXT ? DT_NOPREFIX : 0));
        DeleteDC(tmp);
        break;
    }
    case DST_COMPLEX: {
        if (!proc || cx <= 0 || cy <= 0)
            return FALSE;
        img = QImage(cx, cy, QImage::Format_ARGB32);
        img.fill(Qt::transparent);
        HDC tmp = gdi::CreateDCOnImage(&img);
        SelectObject(tmp, dc->st.font);
        SetTextColor(tmp, dc->st.textColor);
        SetBkMode(tmp, TRANSPARENT);
        const BOOL ok = proc(tmp, lData, wData, cx, cy);
        DeleteDC(tmp);
        if (!ok)
            return FALSE;
        break;
    }
    default:
        return FALSE;
    }
    if (img.isNull())
        return TRUE;
    if (cx == 0)
        cx = img.width();
    if (cy == 0)
        cy = img.height();
    if (img.size() != QSize(cx, cy))
        img = img.scaled(cx, cy, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QPoint d = ToDevice(dc, x, y);
    if (flags & DSS_DISABLED) {
        const QImage e = EmbossedImage(img);
        return DrawImageAt(dc, QRect(d, e.size()), e, QPainter::CompositionMode_SourceOver);
    }
    if (flags & DSS_MONO) {
        GdiObject* b = brush ? brush : dc->st.brush;
        const QColor c = b && b->kind == GdiObject::Kind::Brush ? Color(static_cast<GdiBrush*>(b)->color)
                                                                : Color(dc->st.textColor);
        return DrawImageAt(dc, QRect(d, img.size()), MonoImage(img, c), QPainter::CompositionMode_SourceOver);
    }
    if (flags & DSS_UNION) {
        // The selected look: the picture half covered by the highlight colour.
        QImage u = img;
        QPainter p(&u);
        p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        p.setOpacity(0.5);
        p.fillRect(u.rect(), Color(GetSysColor(COLOR_HIGHLIGHT)));
        p.end();
        img = u;
    }
    return DrawImageAt(dc, QRect(d, img.size()), img, QPainter::CompositionMode_SourceOver);
}

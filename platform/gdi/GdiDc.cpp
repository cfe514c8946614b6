// Device contexts: memory DCs on bitmaps, DCs on images and on borrowed painters, their state,
// coordinates and clipping, object selection, pixels and block transfers.
#include "platform/gdi/GdiPrivate.h"
#include "platform/gdi/QtBridge.h"

#include <QPaintDevice>
#include <algorithm>
#include <cmath>

namespace gdi::detail {

namespace {

// The 1 x 1 bitmap a new memory DC holds, shared by all of them like the system's stock bitmap.
GdiBitmap* StockBitmap()
{
    static GdiBitmap* b = [] {
        auto* bm = new GdiBitmap;
        bm->image = QImage(1, 1, QImage::Format_RGB32);
        bm->image.fill(Qt::black);
        bm->stock = true;
        Register(bm);
        return bm;
    }();
    return b;
}

GdiDc* NewDc(GdiDc::Kind kind)
{
    auto* dc = new GdiDc;
    dc->kind = kind;
    dc->st.pen = GetStockObject(BLACK_PEN);
    dc->st.brush = GetStockObject(WHITE_BRUSH);
    dc->st.font = GetStockObject(SYSTEM_FONT);
    AddRef(dc->st.pen);
    AddRef(dc->st.brush);
    AddRef(dc->st.font);
    if (kind == GdiDc::Kind::Memory) {
        dc->st.bitmap = StockBitmap();
        AddRef(dc->st.bitmap);
        dc->image = &StockBitmap()->image;
    }
    Register(dc);
    return dc;
}

void ReleaseState(DcState& s)
{
    Release(s.pen);
    Release(s.brush);
    Release(s.font);
    Release(s.bitmap);
    s.pen = s.brush = s.font = s.bitmap = nullptr;
}

void AddRefState(const DcState& s)
{
    AddRef(s.pen);
    AddRef(s.brush);
    AddRef(s.font);
    AddRef(s.bitmap);
}

int RoundDiv(qint64 num, qint64 den)
{
    if (den == 0)
        return 0;
    if (den < 0)
        num = -num, den = -den;
    return int(num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den));
}

int RegionType(const QRegion& r)
{
    return r.isEmpty() ? NULLREGION : r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

} // namespace

QRect DeviceBounds(HDC dc)
{
    switch (dc->kind) {
    case GdiDc::Kind::Painter:
        return dc->bounds;
    case GdiDc::Kind::Image:
    case GdiDc::Kind::Memory:
        return dc->image ? dc->image->rect() : QRect();
    }
    return {};
}

QRegion DeviceClip(HDC dc)
{
    const QRect b = DeviceBounds(dc);
    return dc->st.hasClip ? dc->st.clip.intersected(b) : QRegion(b);
}

QPoint ToDevice(HDC dc, int x, int y)
{
    const DcState& s = dc->st;
    if (s.mapMode == MM_TEXT)
        return {x - s.windowOrg.x() + s.viewportOrg.x(), y - s.windowOrg.y() + s.viewportOrg.y()};
    return {RoundDiv(qint64(x - s.windowOrg.x()) * s.viewportExt.width(), s.windowExt.width()) +
                s.viewportOrg.x(),
            RoundDiv(qint64(y - s.windowOrg.y()) * s.viewportExt.height(), s.windowExt.height()) +
                s.viewportOrg.y()};
}

QPoint ToLogical(HDC dc, int x, int y)
{
    const DcState& s = dc->st;
    if (s.mapMode == MM_TEXT)
        return {x - s.viewportOrg.x() + s.windowOrg.x(), y - s.viewportOrg.y() + s.windowOrg.y()};
    return {RoundDiv(qint64(x - s.viewportOrg.x()) * s.windowExt.width(), s.viewportExt.width()) +
                s.windowOrg.x(),
            RoundDiv(qint64(y - s.viewportOrg.y()) * s.windowExt.height(), s.viewportExt.height()) +
                s.windowOrg.y()};
}

QRect ToDevice(HDC dc, const RECT& r)
{
    const QPoint a = ToDevice(dc, r.left, r.top);
    const QPoint b = ToDevice(dc, r.right, r.bottom);
    const int l = std::min(a.x(), b.x()), rr = std::max(a.x(), b.x());
    const int t = std::min(a.y(), b.y()), bb = std::max(a.y(), b.y());
    return QRect(l, t, rr - l, bb - t);
}

QImage* DcImage(HDC dc, QPoint* offset)
{
    if (offset)
        *offset = QPoint(0, 0);
    if (dc->kind != GdiDc::Kind::Painter)
        return dc->image;
    // A borrowed painter on an image (a window rendered off screen) can be read back too, when
    // its coordinates are only shifted.
    QPaintDevice* dev = dc->extPainter ? dc->extPainter->device() : nullptr;
    if (!dev || dev->devType() != QInternal::Image || dc->baseTransform.type() > QTransform::TxTranslate)
        return nullptr;
    if (offset)
        *offset = QPoint(qRound(dc->baseTransform.dx()), qRound(dc->baseTransform.dy()));
    return static_cast<QImage*>(dev);
}

void EndPainter(HDC dc)
{
    if (dc && dc->ownPainter) {
        if (dc->ownPainter->isActive())
            dc->ownPainter->end();
        dc->ownPainter.reset();
    }
}

void EndPainter(GdiBitmap* bitmap)
{
    if (bitmap && bitmap->owner)
        EndPainter(bitmap->owner);
}

QPainter* Painter(HDC dc)
{
    QPainter* p = nullptr;
    if (dc->kind == GdiDc::Kind::Painter) {
        p = dc->extPainter;
        if (!p || !p->isActive())
            return nullptr;
        p->setWorldTransform(dc->baseTransform);
    } else {
        if (!dc->image || dc->image->isNull())
            return nullptr;
        if (dc->kind == GdiDc::Kind::Memory && dc->st.bitmap == StockBitmap())
            return nullptr; // nothing to draw on until a bitmap is selected
        if (!dc->ownPainter) {
            if (dc->image->paintingActive())
                return nullptr; // someone else paints on this image right now
            dc->ownPainter = std::make_unique<QPainter>();
            if (!dc->ownPainter->begin(dc->image)) {
                dc->ownPainter.reset();
                return nullptr;
            }
        }
        p = dc->ownPainter.get();
        p->resetTransform();
    }
    p->setRenderHint(QPainter::Antialiasing, false);
    p->setRenderHint(QPainter::SmoothPixmapTransform, false);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->setOpacity(1.0);
    p->setBrushOrigin(0, 0);
    p->setClipRegion(DeviceClip(dc));
    return p;
}

QBrush QtBrush(HDC dc, GdiObject* obj)
{
    (void)dc;
    if (!obj || obj->kind != GdiObject::Kind::Brush)
        return QBrush(Qt::NoBrush);
    auto* b = static_cast<GdiBrush*>(obj);
    switch (b->style) {
    case BS_SOLID:
        return QBrush(Color(b->color));
    case BS_HATCHED: {
        static const Qt::BrushStyle hatch[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                               Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(Color(b->color), hatch[std::clamp(b->hatch, 0, 5)]);
    }
    case BS_PATTERN:
        return QBrush(b->pattern);
    default:
        return QBrush(Qt::NoBrush);
    }
}

void FillDeviceRegion(HDC dc, const QRegion& r, const QBrush& brush)
{
    if (brush.style() == Qt::NoBrush || r.isEmpty())
        return;
    QPainter* p = Painter(dc);
    if (!p)
        return;
    const bool hatched = brush.style() >= Qt::HorPattern && brush.style() <= Qt::DiagCrossPattern;
    for (const QRect& rc : r) {
        if (hatched && dc->st.bkMode == OPAQUE)
            p->fillRect(rc, Color(dc->st.bkColor));
        p->fillRect(rc, brush);
    }
}

void FillDeviceRect(HDC dc, const QRect& r, const QBrush& brush)
{
    if (r.isEmpty())
        return;
    FillDeviceRegion(dc, QRegion(r), brush);
}

void InvertDeviceRects(HDC dc, const QVector<QRect>& rects)
{
    QPainter* p = Painter(dc);
    if (!p)
        return;
    p->setCompositionMode(QPainter::RasterOp_NotDestination);
    for (const QRect& r : rects)
        p->fillRect(r, Qt::black);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

} // namespace gdi::detail

using namespace gdi::detail;

// ---- Creation ------------------------------------------------------------------------------------

HDC CreateCompatibleDC(HDC)
{
    return NewDc(GdiDc::Kind::Memory);
}

BOOL DeleteDC(HDC dc)
{
    if (!IsDc(dc))
        return FALSE;
    EndPainter(dc);
    if (dc->st.bitmap && dc->st.bitmap->kind == GdiObject::Kind::Bitmap) {
        auto* bm = static_cast<GdiBitmap*>(dc->st.bitmap);
        if (bm->owner == dc)
            bm->owner = nullptr;
    }
    ReleaseState(dc->st);
    for (DcState& s : dc->saved)
        ReleaseState(s);
    if (dc->kind == GdiDc::Kind::Painter && dc->extPainter && dc->extPainter->isActive())
        dc->extPainter->restore();
    ForgetDcWrapper(dc);
    Unregister(dc);
    delete dc;
    return TRUE;
}

namespace gdi {

HDC CreateDCOnPainter(QPainter* painter, const QRect& clipBox)
{
    if (!painter || !painter->isActive())
        return nullptr;
    GdiDc* dc = NewDc(GdiDc::Kind::Painter);
    dc->extPainter = painter;
    painter->save();
    dc->baseTransform = painter->worldTransform();
    dc->bounds = clipBox.normalized();
    return dc;
}

HDC CreateDCOnImage(QImage* image)
{
    if (!image || image->isNull())
        return nullptr;
    GdiDc* dc = NewDc(GdiDc::Kind::Image);
    dc->image = image;
    return dc;
}

} // namespace gdi

// ---- Selection -----------------------------------------------------------------------------------

HGDIOBJ SelectObject(HDC dc, HGDIOBJ obj)
{
    if (!IsDc(dc) || !IsObject(obj))
        return nullptr;
    GdiObject** slot = nullptr;
    switch (obj->kind) {
    case GdiObject::Kind::Pen:
        slot = &dc->st.pen;
        break;
    case GdiObject::Kind::Brush:
        slot = &dc->st.brush;
        break;
    case GdiObject::Kind::Font:
        slot = &dc->st.font;
        break;
    case GdiObject::Kind::Region:
        return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(SelectClipRgn(dc, obj)));
    case GdiObject::Kind::Bitmap: {
        if (dc->kind != GdiDc::Kind::Memory)
            return nullptr;
        auto* bm = static_cast<GdiBitmap*>(obj);
        if (!bm->stock && bm->owner && bm->owner != dc)
            return nullptr; // a bitmap can be selected into one DC at a time
        GdiObject* old = dc->st.bitmap;
        if (old == obj)
            return old;
        EndPainter(dc);
        if (old && static_cast<GdiBitmap*>(old)->owner == dc)
            static_cast<GdiBitmap*>(old)->owner = nullptr;
        if (!bm->stock)
            bm->owner = dc;
        dc->image = &bm->image;
        AddRef(obj);
        dc->st.bitmap = obj;
        // The previous bitmap is handed back to the caller; a pending delete completes here.
        if (old && old->refs == 1 && old->deletePending) {
            Release(old);
            return nullptr;
        }
        Release(old);
        return old;
    }
    }
    GdiObject* old = *slot;
    if (old == obj)
        return old;
    AddRef(obj);
    *slot = obj;
    if (old && old->refs == 1 && old->deletePending) {
        Release(old);
        return nullptr;
    }
    Release(old);
    return old;
}

HGDIOBJ GetCurrentObject(HDC dc, UINT type)
{
    if (!IsDc(dc))
        return nullptr;
    switch (type) {
    case OBJ_PEN:
        return dc->st.pen;
    case OBJ_BRUSH:
        return dc->st.brush;
    case OBJ_FONT:
        return dc->st.font;
    case OBJ_BITMAP:
        return dc->st.bitmap;
    default:
        return nullptr;
    }
}

int SaveDC(HDC dc)
{
    if (!IsDc(dc))
        return 0;
    AddRefState(dc->st);
    dc->saved.push_back(dc->st);
    return int(dc->saved.size());
}

BOOL RestoreDC(HDC dc, int savedDc)
{
    if (!IsDc(dc))
        return FALSE;
    const int n = int(dc->saved.size());
    const int index = savedDc < 0 ? n + savedDc : savedDc - 1;
    if (index < 0 || index >= n)
        return FALSE;
    DcState restored = dc->saved[std::size_t(index)];
    for (int i = n - 1; i > index; --i)
        ReleaseState(dc->saved[std::size_t(i)]);
    dc->saved.resize(std::size_t(index));
    if (restored.bitmap != dc->st.bitmap) {
        EndPainter(dc);
        if (auto* cur = static_cast<GdiBitmap*>(dc->st.bitmap); cur && cur->owner == dc)
            cur->owner = nullptr;
        auto* bm = static_cast<GdiBitmap*>(restored.bitmap);
        if (bm && !bm->stock && !bm->owner)
            bm->owner = dc;
        dc->image = bm ? &bm->image : dc->image;
    }
    ReleaseState(dc->st); // the restored state keeps the references it took when saved
    dc->st = restored;
    return TRUE;
}

int GetDeviceCaps(HDC dc, int index)
{
    switch (index) {
    case TECHNOLOGY:
        return DT_RASDISPLAY;
    case HORZRES:
        return IsDc(dc) ? DeviceBounds(dc).width() : 0;
    case VERTRES:
        return IsDc(dc) ? DeviceBounds(dc).height() : 0;
    case BITSPIXEL:
        return 32;
    case PLANES:
        return 1;
    case LOGPIXELSX:
    case LOGPIXELSY:
        return 96;
    default:
        return 0;
    }
}

BOOL GdiFlush()
{
    return TRUE;
}

// ---- Attributes ----------------------------------------------------------------------------------

#define GDI_SETTER(Name, Type, field, invalid)                                                               \
    Type Set##Name(HDC dc, Type value)                                                                       \
    {                                                                                                        \
        if (!IsDc(dc))                                                                                       \
            return invalid;                                                                                  \
        const Type old = dc->st.field;                                                                       \
        dc->st.field = value;                                                                                \
        return old;                                                                                          \
    }                                                                                                        \
    Type Get##Name(HDC dc)                                                                                   \
    {                                                                                                        \
        return IsDc(dc) ? dc->st.field : invalid;                                                            \
    }

GDI_SETTER(TextColor, COLORREF, textColor, CLR_INVALID)
GDI_SETTER(BkColor, COLORREF, bkColor, CLR_INVALID)
GDI_SETTER(TextAlign, UINT, textAlign, GDI_ERROR)
#undef GDI_SETTER

int SetBkMode(HDC dc, int mode)
{
    if (!IsDc(dc) || (mode != TRANSPARENT && mode != OPAQUE))
        return 0;
    const int old = dc->st.bkMode;
    dc->st.bkMode = mode;
    return old;
}
int GetBkMode(HDC dc)
{
    return IsDc(dc) ? dc->st.bkMode : 0;
}

int SetROP2(HDC dc, int mode)
{
    if (!IsDc(dc) || mode < R2_BLACK || mode > R2_WHITE)
        return 0;
    const int old = dc->st.rop2;
    dc->st.rop2 = mode;
    return old;
}
int GetROP2(HDC dc)
{
    return IsDc(dc) ? dc->st.rop2 : 0;
}

int SetStretchBltMode(HDC dc, int mode)
{
    if (!IsDc(dc) || mode < BLACKONWHITE || mode > HALFTONE)
        return 0;
    const int old = dc->st.stretchMode;
    dc->st.stretchMode = mode;
    return old;
}
int GetStretchBltMode(HDC dc)
{
    return IsDc(dc) ? dc->st.stretchMode : 0;
}

// ---- Coordinates ---------------------------------------------------------------------------------

int SetMapMode(HDC dc, int mode)
{
    if (!IsDc(dc) || (mode != MM_TEXT && mode != MM_ISOTROPIC && mode != MM_ANISOTROPIC))
        return 0;
    const int old = dc->st.mapMode;
    dc->st.mapMode = mode;
    if (mode == MM_TEXT) {
        dc->st.windowExt = QSize(1, 1);
        dc->st.viewportExt = QSize(1, 1);
    }
    return old;
}
int GetMapMode(HDC dc)
{
    return IsDc(dc) ? dc->st.mapMode : 0;
}

namespace {

BOOL SetOrg(HDC dc, QPoint DcState::*field, int x, int y, LPPOINT old, bool offset)
{
    if (!IsDc(dc))
        return FALSE;
    QPoint& p = dc->st.*field;
    if (old)
        *old = POINT{p.x(), p.y()};
    p = offset ? p + QPoint(x, y) : QPoint(x, y);
    return TRUE;
}

BOOL GetPt(HDC dc, QPoint DcState::*field, LPPOINT out)
{
    if (!IsDc(dc) || !out)
        return FALSE;
    *out = POINT{(dc->st.*field).x(), (dc->st.*field).y()};
    return TRUE;
}

BOOL SetExt(HDC dc, QSize DcState::*field, int cx, int cy, LPSIZE old)
{
    if (!IsDc(dc))
        return FALSE;
    QSize& s = dc->st.*field;
    if (old)
        *old = SIZE{s.width(), s.height()};
    if (dc->st.mapMode == MM_TEXT)
        return TRUE; // extents are fixed at 1:1 in MM_TEXT
    if (cx == 0 || cy == 0)
        return FALSE;
    s = QSize(cx, cy);
    return TRUE;
}

BOOL GetExt(HDC dc, QSize DcState::*field, LPSIZE out)
{
    if (!IsDc(dc) || !out)
        return FALSE;
    *out = SIZE{(dc->st.*field).width(), (dc->st.*field).height()};
    return TRUE;
}

} // namespace

BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT old)
{
    return SetOrg(dc, &DcState::windowOrg, x, y, old, false);
}
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT old)
{
    return SetOrg(dc, &DcState::viewportOrg, x, y, old, false);
}
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, LPPOINT old)
{
    return SetOrg(dc, &DcState::windowOrg, dx, dy, old, true);
}
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT old)
{
    return SetOrg(dc, &DcState::viewportOrg, dx, dy, old, true);
}
BOOL GetWindowOrgEx(HDC dc, LPPOINT p)
{
    return GetPt(dc, &DcState::windowOrg, p);
}
BOOL GetViewportOrgEx(HDC dc, LPPOINT p)
{
    return GetPt(dc, &DcState::viewportOrg, p);
}
BOOL SetWindowExtEx(HDC dc, int cx, int cy, LPSIZE old)
{
    return SetExt(dc, &DcState::windowExt, cx, cy, old);
}
BOOL SetViewportExtEx(HDC dc, int cx, int cy, LPSIZE old)
{
    return SetExt(dc, &DcState::viewportExt, cx, cy, old);
}
BOOL GetWindowExtEx(HDC dc, LPSIZE s)
{
    return GetExt(dc, &DcState::windowExt, s);
}
BOOL GetViewportExtEx(HDC dc, LPSIZE s)
{
    return GetExt(dc, &DcState::viewportExt, s);
}

BOOL LPtoDP(HDC dc, LPPOINT pts, int count)
{
    if (!IsDc(dc) || (!pts && count > 0))
        return FALSE;
    for (int i = 0; i < count; ++i) {
        const QPoint d = ToDevice(dc, pts[i].x, pts[i].y);
        pts[i] = POINT{d.x(), d.y()};
    }
    return TRUE;
}

BOOL DPtoLP(HDC dc, LPPOINT pts, int count)
{
    if (!IsDc(dc) || (!pts && count > 0))
        return FALSE;
    for (int i = 0; i < count; ++i) {
        const QPoint l = ToLogical(dc, pts[i].x, pts[i].y);
        pts[i] = POINT{l.x(), l.y()};
    }
    return TRUE;
}

// ---- Clipping ------------------------------------------------------------------------------------

int GetClipBox(HDC dc, LPRECT rect)
{
    if (!IsDc(dc) || !rect)
        return ERROR;
    const QRegion clip = DeviceClip(dc);
    if (clip.isEmpty()) {
        *rect = RECT{0, 0, 0, 0};
        return NULLREGION;
    }
    const QRect b = clip.boundingRect();
    const QPoint a = ToLogical(dc, b.left(), b.top());
    const QPoint c = ToLogical(dc, b.left() + b.width(), b.top() + b.height());
    *rect =
        RECT{std::min(a.x(), c.x()), std::min(a.y(), c.y()), std::max(a.x(), c.x()), std::max(a.y(), c.y())};
    return RegionType(clip);
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom)
{
    if (!IsDc(dc))
        return ERROR;
    const QRect r = ToDevice(dc, RECT{left, top, right, bottom});
    const QRegion base = dc->st.hasClip ? dc->st.clip : QRegion(DeviceBounds(dc));
    dc->st.clip = base.intersected(r);
    dc->st.hasClip = true;
    return RegionType(DeviceClip(dc));
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom)
{
    if (!IsDc(dc))
        return ERROR;
    const QRect r = ToDevice(dc, RECT{left, top, right, bottom});
    const QRegion base = dc->st.hasClip ? dc->st.clip : QRegion(DeviceBounds(dc));
    dc->st.clip = base.subtracted(r);
    dc->st.hasClip = true;
    return RegionType(DeviceClip(dc));
}

int SelectClipRgn(HDC dc, HRGN rgn)
{
    if (!IsDc(dc))
        return ERROR;
    if (!rgn) {
        dc->st.hasClip = false;
        dc->st.clip = QRegion();
        return SIMPLEREGION;
    }
    auto* r = As<GdiRegion>(rgn, GdiObject::Kind::Region);
    if (!r)
        return ERROR;
    dc->st.clip = r->Region();
    dc->st.hasClip = true;
    return RegionType(DeviceClip(dc));
}

int GetClipRgn(HDC dc, HRGN rgn)
{
    auto* r = As<GdiRegion>(rgn, GdiObject::Kind::Region);
    if (!IsDc(dc) || !r)
        return -1;
    if (!dc->st.hasClip)
        return 0;
    r->Region() = dc->st.clip;
    return 1;
}

BOOL PtVisible(HDC dc, int x, int y)
{
    if (!IsDc(dc))
        return FALSE;
    return DeviceClip(dc).contains(ToDevice(dc, x, y));
}

BOOL RectVisible(HDC dc, LPCRECT rect)
{
    if (!IsDc(dc) || !rect)
        return FALSE;
    return DeviceClip(dc).intersects(ToDevice(dc, *rect));
}

// ---- Pixels --------------------------------------------------------------------------------------

// Reads straight from the image's scan lines: building a window region reads every pixel of a skin.
COLORREF GetPixel(HDC dc, int x, int y)
{
    if (!dc)
        return CLR_INVALID;
    QPoint shift;
    const QImage* img = dc->kind == GdiDc::Kind::Painter ? DcImage(dc, &shift) : dc->image;
    if (!img)
        return CLR_INVALID;
    const DcState& s = dc->st;
    QPoint d = s.mapMode == MM_TEXT
                   ? QPoint(x - s.windowOrg.x() + s.viewportOrg.x(), y - s.windowOrg.y() + s.viewportOrg.y())
                   : ToDevice(dc, x, y);
    if (dc->kind == GdiDc::Kind::Painter && !dc->bounds.contains(d))
        return CLR_INVALID;
    if (s.hasClip && !s.clip.contains(d))
        return CLR_INVALID;
    d += shift;
    if (d.x() < 0 || d.y() < 0 || d.x() >= img->width() || d.y() >= img->height())
        return CLR_INVALID;
    const QImage::Format f = img->format();
    const QRgb px = f == QImage::Format_RGB32 || f == QImage::Format_ARGB32
                        ? reinterpret_cast<const QRgb*>(img->constScanLine(d.y()))[d.x()]
                        : img->pixel(d);
    return RGB(qRed(px), qGreen(px), qBlue(px));
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color)
{
    if (!IsDc(dc))
        return CLR_INVALID;
    const QPoint d = ToDevice(dc, x, y);
    if (!DeviceClip(dc).contains(d))
        return CLR_INVALID;
    QPainter* p = Painter(dc);
    if (!p)
        return CLR_INVALID;
    p->fillRect(QRect(d, QSize(1, 1)), Color(color));
    return color & 0x00FFFFFF;
}

BOOL SetPixelV(HDC dc, int x, int y, COLORREF color)
{
    return SetPixel(dc, x, y, color) != CLR_INVALID;
}

// ---- Block transfers -----------------------------------------------------------------------------

namespace {

bool NeedsSource(DWORD rop)
{
    return rop != PATCOPY && rop != PATINVERT && rop != DSTINVERT && rop != BLACKNESS && rop != WHITENESS;
}

bool SourceMode(DWORD rop, QPainter::CompositionMode& mode)
{
    switch (rop) {
    case SRCCOPY:
        mode = QPainter::CompositionMode_Source;
        return true;
    case SRCPAINT:
        mode = QPainter::RasterOp_SourceOrDestination;
        return true;
    case SRCAND:
        mode = QPainter::RasterOp_SourceAndDestination;
        return true;
    case SRCINVERT:
        mode = QPainter::RasterOp_SourceXorDestination;
        return true;
    case NOTSRCCOPY:
        mode = QPainter::RasterOp_NotSource;
        return true;
    default:
        return false;
    }
}

BOOL PatternBlt(HDC dc, const QRect& r, DWORD rop)
{
    if (r.isEmpty())
        return TRUE;
    QPainter* p = Painter(dc);
    if (!p)
        return FALSE;
    switch (rop) {
    case BLACKNESS:
        p->fillRect(r, Qt::black);
        return TRUE;
    case WHITENESS:
        p->fillRect(r, Qt::white);
        return TRUE;
    case DSTINVERT:
        InvertDeviceRects(dc, {r});
        return TRUE;
    case PATCOPY:
        FillDeviceRect(dc, r, QtBrush(dc, dc->st.brush));
        return TRUE;
    case PATINVERT: {
        const QBrush b = QtBrush(dc, dc->st.brush);
        if (b.style() == Qt::NoBrush)
            return TRUE;
        p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p->fillRect(r, b);
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

} // namespace

BOOL PatBlt(HDC dc, int x, int y, int cx, int cy, DWORD rop)
{
    if (!IsDc(dc))
        return FALSE;
    return PatternBlt(dc, ToDevice(dc, RECT{x, y, x + cx, y + cy}), rop);
}

BOOL StretchBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int sx, int sy, int scx, int scy, DWORD rop)
{
    if (!IsDc(dst))
        return FALSE;
    if (!NeedsSource(rop))
        return PatBlt(dst, x, y, cx, cy, rop);
    QPainter::CompositionMode mode;
    if (!IsDc(src) || !SourceMode(rop, mode))
        return FALSE;
    QPoint shift;
    const QImage* srcImg = DcImage(src, &shift);
    if (!srcImg)
        return FALSE;
    // Negative extents mirror the picture, as GDI does: the span then runs leftwards (upwards)
    // from the start pixel, which it includes.
    auto span = [](int start, int extent, int& lo, int& len) {
        lo = extent >= 0 ? start : start + extent + 1;
        len = std::abs(extent);
    };
    const QPoint d0 = ToDevice(dst, x, y), d1 = ToDevice(dst, x + cx, y + cy);
    const QPoint s0 = ToDevice(src, sx, sy), s1 = ToDevice(src, sx + scx, sy + scy);
    int dl, dw, dt, dh, sl, sw, st, sh;
    span(d0.x(), d1.x() - d0.x(), dl, dw);
    span(d0.y(), d1.y() - d0.y(), dt, dh);
    span(s0.x(), s1.x() - s0.x(), sl, sw);
    span(s0.y(), s1.y() - s0.y(), st, sh);
    const bool flipX = (d1.x() < d0.x()) != (s1.x() < s0.x());
    const bool flipY = (d1.y() < d0.y()) != (s1.y() < s0.y());
    const QRect dr(dl, dt, dw, dh), sr(sl, st, sw, sh);
    if (dr.isEmpty() || sr.isEmpty())
        return TRUE;
    // Only the part of the source inside its bitmap is copied; the rest of the target stays.
    const QRect srcPart = sr.translated(shift).intersected(srcImg->rect()).translated(-shift);
    if (srcPart.isEmpty())
        return TRUE;
    const double fx = double(dr.width()) / sr.width(), fy = double(dr.height()) / sr.height();
    const QRectF target(dr.left() + (flipX ? sr.right() - srcPart.right() : srcPart.left() - sr.left()) * fx,
                        dr.top() + (flipY ? sr.bottom() - srcPart.bottom() : srcPart.top() - sr.top()) * fy,
                        srcPart.width() * fx, srcPart.height() * fy);
    QPainter* p = Painter(dst);
    if (!p)
        return FALSE;
    p->setCompositionMode(mode);
    p->setRenderHint(QPainter::SmoothPixmapTransform, dst->st.stretchMode == HALFTONE);
    if (flipX || flipY || srcImg == DcImage(dst)) {
        // A copy first: mirroring needs one, and so does a transfer within one image.
        p->drawImage(target, srcImg->copy(srcPart.translated(shift)).mirrored(flipX, flipY));
    } else {
        p->drawImage(target, *srcImg, QRectF(srcPart.translated(shift)));
    }
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->setRenderHint(QPainter::SmoothPixmapTransform, false);
    return TRUE;
}

BOOL BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int sx, int sy, DWORD rop)
{
    if (!NeedsSource(rop))
        return PatBlt(dst, x, y, cx, cy, rop);
    if (!IsDc(src) || !IsDc(dst))
        return FALSE;
    // The source extent is the target extent in the source's own units.
    const QPoint d0 = ToDevice(dst, x, y), d1 = ToDevice(dst, x + cx, y + cy);
    const QPoint s0 = ToLogical(src, ToDevice(src, sx, sy).x(), ToDevice(src, sx, sy).y());
    const QPoint s1 = ToLogical(src, ToDevice(src, sx, sy).x() + (d1.x() - d0.x()),
                                ToDevice(src, sx, sy).y() + (d1.y() - d0.y()));
    return StretchBlt(dst, x, y, cx, cy, src, s0.x(), s0.y(), s1.x() - s0.x(), s1.y() - s0.y(), rop);
}

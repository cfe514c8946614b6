// The drawing layer's objects behind the opaque handles, shared by the layer's sources only.
#pragma once

#include "platform/gdi/Gdi.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QTransform>
#include <memory>
#include <vector>

struct GdiObject
{
    enum class Kind
    {
        Pen,
        Brush,
        Font,
        Bitmap,
        Region
    };

    explicit GdiObject(Kind k) : kind(k) {}
    virtual ~GdiObject() = default;

    Kind kind;
    bool stock = false;         // stock objects are never freed
    int refs = 0;               // selections into DCs and saved DC states
    bool deletePending = false; // DeleteObject while selected: freed on the last deselection
};

struct GdiPen : GdiObject
{
    GdiPen() : GdiObject(Kind::Pen) {}
    int style = PS_SOLID;
    int width = 1;
    COLORREF color = 0;
};

struct GdiBrush : GdiObject
{
    GdiBrush() : GdiObject(Kind::Brush) {}
    UINT style = BS_SOLID;
    COLORREF color = 0;
    int hatch = 0;
    QImage pattern; // BS_PATTERN
};

struct GdiFont : GdiObject
{
    GdiFont() : GdiObject(Kind::Font) {}
    LOGFONTA lf{};
    bool built = false; // QFont needs the GUI application; built on first use
    QFont font;
};

struct GdiBitmap : GdiObject
{
    GdiBitmap() : GdiObject(Kind::Bitmap) {}
    QImage image;           // Format_RGB32 or Format_ARGB32
    GdiDc* owner = nullptr; // the memory DC it is selected into
};

struct GdiRegion : GdiObject
{
    GdiRegion() : GdiObject(Kind::Region) {}

    QRegion& Region(); // the whole region, with the appended rectangles merged in
    // Collects rectangles united into the region one at a time (a window shape is built from
    // hundreds of runs) and merges them together on the next read.
    // Returns the combined region's type without merging: SIMPLEREGION while everything so far
    // stacks into one rectangle, else COMPLEXREGION.
    int AppendRect(const QRect& r);

private:
    QRegion m_region;
    std::vector<QRect> m_pending;
    QRect m_stack; // the whole region while it is one rectangle, else null
};

struct GdiIcon
{
    QImage image; // Format_ARGB32
};

struct DcState
{
    GdiObject* pen = nullptr;
    GdiObject* brush = nullptr;
    GdiObject* font = nullptr;
    GdiObject* bitmap = nullptr; // memory DCs only
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    int stretchMode = BLACKONWHITE;
    UINT textAlign = TA_LEFT | TA_TOP;
    int mapMode = MM_TEXT;
    QPoint windowOrg, viewportOrg;
    QSize windowExt{1, 1}, viewportExt{1, 1};
    QPoint position; // current position (logical)
    bool hasClip = false;
    QRegion clip; // device coordinates, when hasClip
};

struct GdiDc
{
    enum class Kind
    {
        Memory,
        Image,
        Painter
    };

    Kind kind = Kind::Memory;
    DcState st;
    std::vector<DcState> saved;

    // Painter DCs draw through a painter they do not own, whose state is saved at creation and
    // restored at DeleteDC. Image and memory DCs open their own painter on first drawing.
    QPainter* extPainter = nullptr;
    QTransform baseTransform;
    QRect bounds; // device area of a painter DC

    QImage* image = nullptr; // image DCs: the image; memory DCs: the selected bitmap's image
    std::unique_ptr<QPainter> ownPainter;
    GdiBitmap* defaultBitmap = nullptr; // memory DCs: the 1 x 1 bitmap a new DC holds
};

namespace gdi::detail {

// Handle bookkeeping: every live object, DC and icon is known, so stale or foreign handles are refused.
bool IsObject(HGDIOBJ h);
bool IsDc(HDC h);
bool IsIcon(HICON h);
void Register(HGDIOBJ h);
void Register(HDC h);
void Register(HICON h);
void Unregister(HDC h);
void Unregister(HICON h);

template <class T> T* As(HGDIOBJ h, GdiObject::Kind k)
{
    return IsObject(h) && h->kind == k ? static_cast<T*>(h) : nullptr;
}

void AddRef(GdiObject* o);
void Release(GdiObject* o); // frees an object whose delete was pending once nothing holds it
void FreeObject(GdiObject* o);
void ForgetWrapper(void* handle); // the class-library wrapper map drops its entry for a freed handle
void ForgetDcWrapper(HDC hdc);

const QFont& FontOfObject(GdiObject* font);
QColor Color(COLORREF c);

// Drawing helpers on a DC.
QPainter* Painter(HDC dc);          // with the DC's clip applied, identity world transform over the device
void EndPainter(GdiBitmap* bitmap); // ends a memory DC's painter on this bitmap, if one is open
void EndPainter(HDC dc);
QRect DeviceBounds(HDC dc);
QRegion DeviceClip(HDC dc); // the clip intersected with the device bounds
QPoint ToDevice(HDC dc, int x, int y);
QPoint ToLogical(HDC dc, int x, int y);
QRect ToDevice(HDC dc, const RECT& r); // normalised, right and bottom exclusive
// The pixels behind a DC, when it has any; offset: where device (0, 0) lies in the image.
QImage* DcImage(HDC dc, QPoint* offset = nullptr);
QBrush QtBrush(HDC dc, GdiObject* brush);
void FillDeviceRect(HDC dc, const QRect& r, const QBrush& brush);
void FillDeviceRegion(HDC dc, const QRegion& r, const QBrush& brush);
void InvertDeviceRects(HDC dc, const QVector<QRect>& rects);
QImage EmbossedImage(const QImage& src); // the disabled look of an image
QImage MonoImage(const QImage& src, const QColor& color);

} // namespace gdi::detail

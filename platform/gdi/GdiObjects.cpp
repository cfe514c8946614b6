// Drawing objects: the handle registry, stock objects, pens, brushes, fonts, bitmaps and the
// classic system colours.
#include "platform/gdi/GdiPrivate.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <unordered_set>

namespace gdi::detail {

namespace {

// One set per kind of handle, so a handle of one kind is never taken for another.
enum class Set
{
    Object,
    Dc,
    Icon
};

struct Registry
{
    std::mutex mutex;
    std::unordered_set<const void*> live[3];
};

Registry& Reg()
{
    static Registry* r = new Registry; // outlives every static wrapper that may still free handles
    return *r;
}

bool Has(Set set, const void* p)
{
    if (!p)
        return false;
    Registry& r = Reg();
    std::lock_guard<std::mutex> lock(r.mutex);
    return r.live[int(set)].count(p) != 0;
}

void Add(Set set, const void* p)
{
    Registry& r = Reg();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.live[int(set)].insert(p);
}

void Remove(Set set, const void* p)
{
    Registry& r = Reg();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.live[int(set)].erase(p);
}

} // namespace

bool IsObject(HGDIOBJ h)
{
    return Has(Set::Object, h);
}
bool IsDc(HDC h)
{
    return Has(Set::Dc, h);
}
bool IsIcon(HICON h)
{
    return Has(Set::Icon, h);
}
void Register(HGDIOBJ h)
{
    Add(Set::Object, h);
}
void Register(HDC h)
{
    Add(Set::Dc, h);
}
void Register(HICON h)
{
    Add(Set::Icon, h);
}
void Unregister(HDC h)
{
    Remove(Set::Dc, h);
}
void Unregister(HICON h)
{
    Remove(Set::Icon, h);
}

void AddRef(GdiObject* o)
{
    if (o)
        ++o->refs;
}

void Release(GdiObject* o)
{
    if (!o)
        return;
    if (o->refs > 0)
        --o->refs;
    if (o->refs == 0 && o->deletePending && !o->stock)
        FreeObject(o);
}

void FreeObject(GdiObject* o)
{
    if (!o || o->stock)
        return;
    if (o->kind == GdiObject::Kind::Bitmap)
        EndPainter(static_cast<GdiBitmap*>(o));
    ForgetWrapper(o);
    Remove(Set::Object, o);
    delete o;
}

QColor Color(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

namespace {

// Windows face names the program asks for, and the installed faces that stand in for them.
QString SubstituteFace(const char* face)
{
    const QString name = QString::fromUtf8(face).trimmed();
    static const char* const cjk[] = {
        "微软雅黑", "Microsoft YaHei", "Microsoft YaHei UI", "宋体", "SimSun", "新宋体", "NSimSun",
        "黑体",     "SimHei"};
    static const char* const sans[] = {
        "",       "MS Shell Dlg", "MS Shell Dlg 2", "MS Sans Serif", "System",
        "Tahoma", "Segoe UI",     "Arial",          "Verdana",       "Microsoft Sans Serif"};
    static const char* const mono[] = {"Courier New", "Courier",  "Fixedsys",
                                       "Terminal",    "Consolas", "Lucida Console"};
    for (const char* n : cjk)
        if (name.compare(QString::fromUtf8(n), Qt::CaseInsensitive) == 0)
            return QStringLiteral("WenQuanYi Micro Hei");
    for (const char* n : sans)
        if (name.compare(QString::fromUtf8(n), Qt::CaseInsensitive) == 0)
            return QStringLiteral("DejaVu Sans");
    for (const char* n : mono)
        if (name.compare(QString::fromUtf8(n), Qt::CaseInsensitive) == 0)
            return QStringLiteral("DejaVu Sans Mono");
    return name;
}

constexpr int kDefaultCharHeight = 12; // pixels, for a height of 0

} // namespace

const QFont& FontOfObject(GdiObject* obj)
{
    static const QFont empty;
    if (!obj || obj->kind != GdiObject::Kind::Font)
        return empty;
    auto* f = static_cast<GdiFont*>(obj);
    if (f->built)
        return f->font;
    const LOGFONTA& lf = f->lf;
    QFont font(SubstituteFace(lf.lfFaceName));
    font.setStyleHint(QFont::SansSerif);
    if ((lf.lfPitchAndFamily & 0x3) == FIXED_PITCH)
        font.setFixedPitch(true);
    int px = kDefaultCharHeight;
    if (lf.lfHeight != 0)
        px = std::abs(lf.lfHeight);
    font.setPixelSize(std::max(1, px));
    if (lf.lfHeight > 0 && QGuiApplication::instance()) {
        // A positive height is the cell height (ascent plus descent): scale the character height to fit.
        const int cell = std::max(1, QFontMetrics(font).height());
        px = static_cast<int>(std::lround(double(lf.lfHeight) * lf.lfHeight / cell));
        font.setPixelSize(std::max(1, px));
    }
    if (lf.lfWeight > 0)
        font.setWeight(static_cast<QFont::Weight>(std::clamp<int>(lf.lfWeight, 1, 1000)));
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    if (lf.lfQuality == NONANTIALIASED_QUALITY)
        font.setStyleStrategy(QFont::NoAntialias);
    f->font = font;
    f->built = QGuiApplication::instance() != nullptr;
    return f->font;
}

} // namespace gdi::detail

using namespace gdi::detail;

// ---- Stock objects -------------------------------------------------------------------------------

namespace {

GdiObject* MakeStockPen(int style, COLORREF c)
{
    auto* p = new GdiPen;
    p->style = style;
    p->color = c;
    p->stock = true;
    return p;
}

GdiObject* MakeStockBrush(UINT style, COLORREF c)
{
    auto* b = new GdiBrush;
    b->style = style;
    b->color = c;
    b->stock = true;
    return b;
}

GdiObject* MakeStockFont(const char* face, int height, int weight, BYTE pitch)
{
    auto* f = new GdiFont;
    f->lf.lfHeight = height;
    f->lf.lfWeight = weight;
    f->lf.lfCharSet = DEFAULT_CHARSET;
    f->lf.lfPitchAndFamily = pitch;
    std::strncpy(f->lf.lfFaceName, face, LF_FACESIZE - 1);
    f->stock = true;
    return f;
}

struct StockObjects
{
    GdiObject* objects[18] = {};
    StockObjects()
    {
        objects[WHITE_BRUSH] = MakeStockBrush(BS_SOLID, RGB(255, 255, 255));
        objects[LTGRAY_BRUSH] = MakeStockBrush(BS_SOLID, RGB(192, 192, 192));
        objects[GRAY_BRUSH] = MakeStockBrush(BS_SOLID, RGB(128, 128, 128));
        objects[DKGRAY_BRUSH] = MakeStockBrush(BS_SOLID, RGB(64, 64, 64));
        objects[BLACK_BRUSH] = MakeStockBrush(BS_SOLID, RGB(0, 0, 0));
        objects[NULL_BRUSH] = MakeStockBrush(BS_NULL, 0);
        objects[WHITE_PEN] = MakeStockPen(PS_SOLID, RGB(255, 255, 255));
        objects[BLACK_PEN] = MakeStockPen(PS_SOLID, RGB(0, 0, 0));
        objects[NULL_PEN] = MakeStockPen(PS_NULL, 0);
        objects[OEM_FIXED_FONT] = MakeStockFont("Terminal", 12, FW_NORMAL, FIXED_PITCH);
        objects[ANSI_FIXED_FONT] = MakeStockFont("Courier", 13, FW_NORMAL, FIXED_PITCH);
        objects[ANSI_VAR_FONT] = MakeStockFont("MS Sans Serif", 13, FW_NORMAL, VARIABLE_PITCH);
        objects[SYSTEM_FONT] = MakeStockFont("System", 16, FW_BOLD, VARIABLE_PITCH);
        objects[DEVICE_DEFAULT_FONT] = MakeStockFont("System", 16, FW_BOLD, VARIABLE_PITCH);
        objects[SYSTEM_FIXED_FONT] = MakeStockFont("Fixedsys", 15, FW_NORMAL, FIXED_PITCH);
        objects[DEFAULT_GUI_FONT] = MakeStockFont("MS Shell Dlg", -11, FW_NORMAL, VARIABLE_PITCH);
        for (GdiObject* o : objects)
            if (o)
                Register(o);
    }
};

StockObjects& Stock()
{
    static StockObjects* s = new StockObjects; // never freed, like the system's own
    return *s;
}

// Fixed system colours: the classic Windows scheme, except the 3-D (button) colours, which follow
// the skin's dark charcoal so that what a control fills or frames with them sits on the skin
// (a pressed icon button shows its face colour along two edges).
constexpr COLORREF kSysColors[] = {
    RGB(212, 208, 200), // COLOR_SCROLLBAR
    RGB(58, 110, 165),  // COLOR_BACKGROUND
    RGB(10, 36, 106),   // COLOR_ACTIVECAPTION
    RGB(128, 128, 128), // COLOR_INACTIVECAPTION
    RGB(212, 208, 200), // COLOR_MENU
    RGB(255, 255, 255), // COLOR_WINDOW
    RGB(0, 0, 0),       // COLOR_WINDOWFRAME
    RGB(0, 0, 0),       // COLOR_MENUTEXT
    RGB(0, 0, 0),       // COLOR_WINDOWTEXT
    RGB(255, 255, 255), // COLOR_CAPTIONTEXT
    RGB(212, 208, 200), // COLOR_ACTIVEBORDER
    RGB(212, 208, 200), // COLOR_INACTIVEBORDER
    RGB(128, 128, 128), // COLOR_APPWORKSPACE
    RGB(10, 36, 106),   // COLOR_HIGHLIGHT
    RGB(255, 255, 255), // COLOR_HIGHLIGHTTEXT
    RGB(30, 31, 34),    // COLOR_BTNFACE
    RGB(14, 15, 17),    // COLOR_BTNSHADOW
    RGB(110, 110, 110), // COLOR_GRAYTEXT
    RGB(200, 200, 200), // COLOR_BTNTEXT
    RGB(212, 208, 200), // COLOR_INACTIVECAPTIONTEXT
    RGB(96, 98, 104),   // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),       // COLOR_3DDKSHADOW
    RGB(58, 60, 64),    // COLOR_3DLIGHT
    RGB(0, 0, 0),       // COLOR_INFOTEXT
    RGB(255, 255, 225), // COLOR_INFOBK
};
constexpr int kSysColorCount = int(sizeof(kSysColors) / sizeof(kSysColors[0]));

} // namespace

HGDIOBJ GetStockObject(int index)
{
    if (index < 0 || index >= 18)
        return nullptr;
    return Stock().objects[index];
}

COLORREF GetSysColor(int index)
{
    return index >= 0 && index < kSysColorCount ? kSysColors[index] : 0;
}

HBRUSH GetSysColorBrush(int index)
{
    if (index < 0 || index >= kSysColorCount)
        return nullptr;
    static GdiObject** brushes = [] {
        auto** b = new GdiObject*[kSysColorCount];
        for (int i = 0; i < kSysColorCount; ++i) {
            b[i] = MakeStockBrush(BS_SOLID, kSysColors[i]);
            Register(b[i]);
        }
        return b;
    }();
    return brushes[index];
}

// ---- Creation and deletion -----------------------------------------------------------------------

BOOL DeleteObject(HGDIOBJ obj)
{
    if (!IsObject(obj))
        return FALSE;
    if (obj->stock)
        return TRUE;
    if (obj->refs > 0) {
        obj->deletePending = true;
        return TRUE;
    }
    FreeObject(obj);
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ obj)
{
    if (IsDc(reinterpret_cast<HDC>(obj)))
        return reinterpret_cast<HDC>(obj)->kind == GdiDc::Kind::Memory ? OBJ_MEMDC : OBJ_DC;
    if (!IsObject(obj))
        return 0;
    switch (obj->kind) {
    case GdiObject::Kind::Pen:
        return OBJ_PEN;
    case GdiObject::Kind::Brush:
        return OBJ_BRUSH;
    case GdiObject::Kind::Font:
        return OBJ_FONT;
    case GdiObject::Kind::Bitmap:
        return OBJ_BITMAP;
    case GdiObject::Kind::Region:
        return OBJ_REGION;
    }
    return 0;
}

HPEN CreatePen(int style, int width, COLORREF color)
{
    const int s = style & PS_STYLE_MASK;
    if (s > PS_INSIDEFRAME)
        return nullptr;
    auto* p = new GdiPen;
    p->style = s;
    p->width = std::max(0, width);
    p->color = color & 0x00FFFFFF;
    Register(p);
    return p;
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    auto* b = new GdiBrush;
    b->color = color & 0x00FFFFFF;
    Register(b);
    return b;
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color)
{
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS)
        return nullptr;
    auto* b = new GdiBrush;
    b->style = BS_HATCHED;
    b->hatch = hatch;
    b->color = color & 0x00FFFFFF;
    Register(b);
    return b;
}

HBRUSH CreatePatternBrush(HBITMAP bitmap)
{
    auto* bm = As<GdiBitmap>(bitmap, GdiObject::Kind::Bitmap);
    if (!bm || bm->image.isNull())
        return nullptr;
    auto* b = new GdiBrush;
    b->style = BS_PATTERN;
    b->pattern = bm->image.copy();
    Register(b);
    return b;
}

HFONT CreateFontIndirectA(const LOGFONTA* lf)
{
    if (!lf)
        return nullptr;
    auto* f = new GdiFont;
    f->lf = *lf;
    f->lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    Register(f);
    return f;
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCSTR face)
{
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = BYTE(italic);
    lf.lfUnderline = BYTE(underline);
    lf.lfStrikeOut = BYTE(strikeOut);
    lf.lfCharSet = BYTE(charSet);
    lf.lfOutPrecision = BYTE(outPrecision);
    lf.lfClipPrecision = BYTE(clipPrecision);
    lf.lfQuality = BYTE(quality);
    lf.lfPitchAndFamily = BYTE(pitchAndFamily);
    if (face)
        std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}

HFONT CreatePointFontA(int pointSize10, LPCSTR face)
{
    LOGFONTA lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    // Tenths of a point at 96 pixels per inch, rounded as MulDiv rounds.
    lf.lfHeight = -static_cast<LONG>(std::lround(pointSize10 * 96.0 / 720.0));
    if (face)
        std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height)
{
    (void)hdc; // every bitmap is 32-bit colour, whatever the DC holds
    if (width < 0 || height < 0 || (qint64)width * height > (qint64)1 << 28)
        return nullptr;
    auto* b = new GdiBitmap;
    b->image = QImage(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
    if (b->image.isNull()) {
        delete b;
        return nullptr;
    }
    b->image.fill(Qt::black);
    if (width == 0 || height == 0)
        b->image = b->image.copy(0, 0, 1, 1); // GDI answers a zero size with a 1 x 1 bitmap
    Register(b);
    return b;
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    if (width <= 0 || height <= 0 || planes != 1 || (qint64)width * height > (qint64)1 << 28)
        return nullptr;
    if (bitsPerPixel != 1 && bitsPerPixel != 24 && bitsPerPixel != 32)
        return nullptr;
    auto* b = new GdiBitmap;
    b->image = QImage(width, height, QImage::Format_RGB32);
    if (b->image.isNull()) {
        delete b;
        return nullptr;
    }
    b->image.fill(Qt::black);
    if (bits) {
        const auto* src = static_cast<const unsigned char*>(bits);
        const int stride = ((width * int(bitsPerPixel) + 15) / 16) * 2;
        for (int y = 0; y < height; ++y) {
            const unsigned char* row = src + std::size_t(y) * stride;
            auto* out = reinterpret_cast<QRgb*>(b->image.scanLine(y));
            for (int x = 0; x < width; ++x) {
                if (bitsPerPixel == 1) {
                    const bool on = (row[x / 8] >> (7 - x % 8)) & 1;
                    out[x] = on ? 0xFFFFFFFFu : 0xFF000000u;
                } else {
                    const unsigned char* p = row + x * (bitsPerPixel / 8);
                    out[x] = qRgb(p[2], p[1], p[0]); // stored blue, green, red
                }
            }
        }
    }
    Register(b);
    return b;
}

// ---- Object descriptions -------------------------------------------------------------------------

int GetObjectA(HGDIOBJ obj, int size, LPVOID out)
{
    if (!IsObject(obj))
        return 0;
    auto put = [&](const void* data, int need) {
        if (!out)
            return need;
        const int n = std::min(size, need);
        if (n <= 0)
            return 0;
        std::memcpy(out, data, std::size_t(n));
        return n;
    };
    switch (obj->kind) {
    case GdiObject::Kind::Pen: {
        auto* p = static_cast<GdiPen*>(obj);
        LOGPEN lp{UINT(p->style), {p->width, 0}, p->color};
        return put(&lp, sizeof lp);
    }
    case GdiObject::Kind::Brush: {
        auto* b = static_cast<GdiBrush*>(obj);
        LOGBRUSH lb{b->style, b->color, std::uintptr_t(b->hatch)};
        return put(&lb, sizeof lb);
    }
    case GdiObject::Kind::Font:
        return put(&static_cast<GdiFont*>(obj)->lf, sizeof(LOGFONTA));
    case GdiObject::Kind::Bitmap: {
        auto* b = static_cast<GdiBitmap*>(obj);
        BITMAP bm{};
        bm.bmWidth = b->image.width();
        bm.bmHeight = b->image.height();
        bm.bmWidthBytes = b->image.width() * 4;
        bm.bmPlanes = 1;
        bm.bmBitsPixel = 32;
        return put(&bm, sizeof bm);
    }
    case GdiObject::Kind::Region:
        return 0;
    }
    return 0;
}

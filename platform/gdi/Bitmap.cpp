// CBitmap members that need a CDC.
#include "platform/gdi/Bitmap.h"

#include "platform/gdi/Dc.h"

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    return Attach(::CreateCompatibleBitmap(dc ? dc->m_hDC : nullptr, width, height));
}

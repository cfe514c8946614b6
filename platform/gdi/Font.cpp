// CFont's point-size constructors.
#include "platform/gdi/Font.h"

#include <cmath>

BOOL CFont::CreatePointFont(int pointSize10, LPCSTR face, CDC* dc)
{
    (void)dc;
    return Attach(::CreatePointFontA(pointSize10, face));
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTA* lf, CDC* dc)
{
    (void)dc;
    if (!lf)
        return FALSE;
    LOGFONTA copy = *lf;
    // lfHeight holds tenths of a point here.
    copy.lfHeight = -static_cast<LONG>(std::lround(std::abs(lf->lfHeight) * 96.0 / 720.0));
    return Attach(::CreateFontIndirectA(&copy));
}

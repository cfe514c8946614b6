// CFont: a font object.
#pragma once

#include "platform/gdi/GdiObject.h"

class CDC;

class CFont : public CGdiObject
{
public:
    BOOL CreateFontIndirect(const LOGFONTA* lf) { return Attach(::CreateFontIndirectA(lf)); }
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, LPCSTR face)
    {
        return Attach(::CreateFontA(height, width, escapement, orientation, weight, italic, underline,
                                    strikeOut, charSet, outPrecision, clipPrecision, quality, pitchAndFamily,
                                    face));
    }
    // pointSize10 in tenths of a point, at the screen's 96 pixels per inch (the DC plays no part
    // while every DC maps 1:1).
    BOOL CreatePointFont(int pointSize10, LPCSTR face, CDC* dc = nullptr);
    BOOL CreatePointFontIndirect(const LOGFONTA* lf, CDC* dc = nullptr);
    int GetLogFont(LOGFONTA* out) const { return ::GetObjectA(m_hObject, sizeof(LOGFONTA), out); }
    operator HFONT() const { return m_hObject; }
    static CFont* FromHandle(HFONT handle) { return FromHandleAs<CFont>(handle); }
};

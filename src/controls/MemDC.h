// CMemDC: double buffering for one paint. Drawing goes to an off-screen bitmap over a rectangle
// of the target; the destructor copies it to the target in one block, so nothing flickers.
#pragma once

#include "platform/gdi/Dc.h"
#include "platform/gdi/Geometry.h"

class CMemDC : public CDC
{
public:
    // pRect: the part of the target to buffer, in logical units (nullptr: the target's clip box).
    // bCopyFirst: start from the target's current image instead of its background colour.
    explicit CMemDC(CDC* pDC, const CRect* pRect = nullptr, bool bCopyFirst = false);
    ~CMemDC() override;
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    CMemDC* operator->() { return this; }
    operator CMemDC*() { return this; }

    // False when the off-screen bitmap could not be made and drawing goes to the target itself.
    bool IsBuffered() const { return m_bMemDC; }

private:
    CDC* m_pDC;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
    CRect m_rect;
    bool m_bMemDC = false;
};

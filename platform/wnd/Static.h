// CStatic: a text or picture. It asks its parent for colours (WM_CTLCOLORSTATIC) each paint and
// lets the mouse through to the window beneath unless it has SS_NOTIFY.
#pragma once

#include "platform/wnd/Wnd.h"

class CStatic : public CWnd
{
public:
    BOOL Create(const char* text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
    HBITMAP SetBitmap(HBITMAP bitmap);
    HBITMAP GetBitmap() const { return m_hBitmap; }

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();
    HBITMAP m_hBitmap = nullptr; // shown, not owned (SS_BITMAP)
};

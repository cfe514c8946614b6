// Device contexts of a window: the one of a paint (BeginPaint/EndPaint) and a client-area one
// for drawing outside a paint.
#pragma once

#include "platform/gdi/Dc.h"

#include <QImage>
#include <memory>

class CWnd;

struct PAINTSTRUCT
{
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
};

// Valid during WM_PAINT: draws on the window through the paint in progress. Erases first (with
// WM_ERASEBKGND) when the window's background still needs it.
class CPaintDC : public CDC
{
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

private:
    CWnd* m_pWnd;
    std::unique_ptr<QImage> m_scratch; // a WM_PAINT sent outside a paint draws nowhere visible
};

// Drawing outside a paint reaches an off-screen image of the client area; Qt windows show only
// what they draw in their paint handler.
class CClientDC : public CDC
{
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

private:
    QImage m_image;
};

using CWindowDC = CClientDC;

// Paint and client device contexts.
#include "platform/wnd/PaintDC.h"

#include "platform/gdi/QtBridge.h"
#include "platform/wnd/NativeWindow.h"
#include "platform/wnd/Wnd.h"
#include "platform/wnd/WndInternal.h"

CPaintDC::CPaintDC(CWnd* wnd) : m_pWnd(wnd)
{
    wnd::NativeWindow* native = wnd ? WndAccess::Native(wnd) : nullptr;
    QPainter* painter = native ? native->currentPainter() : nullptr;
    HDC hdc = nullptr;
    if (painter) {
        const QRect r = native->currentPaintRect();
        m_ps.rcPaint = RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
        hdc = gdi::CreateDCOnPainter(painter, QRect(0, 0, native->width(), native->height()));
    } else {
        const int w = native ? std::max(1, native->width()) : 1;
        const int h = native ? std::max(1, native->height()) : 1;
        m_scratch = std::make_unique<QImage>(w, h, QImage::Format_RGB32);
        hdc = gdi::CreateDCOnImage(m_scratch.get());
    }
    Attach(hdc);
    m_ps.hdc = hdc;
    if (native && native->erasePending()) {
        native->clearErasePending();
        m_ps.fErase = !wnd->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    }
}

CPaintDC::~CPaintDC()
{
    HDC hdc = Detach();
    if (hdc)
        ::DeleteDC(hdc);
}

CClientDC::CClientDC(CWnd* wnd)
{
    CRect rc;
    if (wnd)
        wnd->GetClientRect(&rc);
    m_image = QImage(std::max(1, rc.Width()), std::max(1, rc.Height()), QImage::Format_RGB32);
    m_image.fill(Qt::black);
    Attach(gdi::CreateDCOnImage(&m_image));
}

CClientDC::~CClientDC()
{
    HDC hdc = Detach();
    if (hdc)
        ::DeleteDC(hdc);
}

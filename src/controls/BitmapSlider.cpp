// Bitmap slider: mapping, painting, mouse, keys and focus.
#include "controls/BitmapSlider.h"

#include "controls/MemDC.h"
#include "platform/gdi/Gdi.h"
#include "platform/wnd/PaintDC.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// Truncation toward zero of a double that may lie outside int (huge ranges, odd margins).
int TruncToInt(double v)
{
    if (std::isnan(v))
        return 0;
    v = std::trunc(v);
    if (v <= static_cast<double>(INT_MIN))
        return INT_MIN;
    if (v >= static_cast<double>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(v);
}

} // namespace

CBitmapSlider::~CBitmapSlider()
{
    DeleteBitmaps();
}

void CBitmapSlider::DeleteBitmaps()
{
    if (m_hbmChannel)
        ::DeleteObject(m_hbmChannel);
    if (m_hbmChannelActive)
        ::DeleteObject(m_hbmChannelActive);
    m_hbmChannel = nullptr;
    m_hbmChannelActive = nullptr;
    m_bChannel = false;
    m_bChannelActive = false;
}

bool CBitmapSlider::LoadChannelBitmaps(UINT nChannelId, UINT nActiveId)
{
    if (m_hbmChannel)
        ::DeleteObject(m_hbmChannel);
    m_hbmChannel = ::LoadBitmapA(nullptr, MAKEINTRESOURCEA(nChannelId));
    BITMAP bm{};
    if (m_hbmChannel && !::GetObject(m_hbmChannel, sizeof(bm), &bm)) {
        ::DeleteObject(m_hbmChannel);
        m_hbmChannel = nullptr;
    }
    if (!m_hbmChannel) {
        DeleteBitmaps();
        return false;
    }
    if (m_hbmChannelActive)
        ::DeleteObject(m_hbmChannelActive);
    m_hbmChannelActive = ::LoadBitmapA(nullptr, MAKEINTRESOURCEA(nActiveId));
    if (!m_hbmChannelActive) {
        DeleteBitmaps();
        return false;
    }
    m_bChannelActive = true;
    m_nWidth = bm.bmWidth;
    m_nHeight = bm.bmHeight;
    SetWindowPos(nullptr, 0, 0, m_nWidth, m_nHeight, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(&m_rect);
    m_bChannel = true;
    return true;
}

void CBitmapSlider::SetRange(int nMin, int nMax)
{
    m_nMin = nMin;
    m_nMax = nMax;
}

void CBitmapSlider::SetPos(int nPos)
{
    m_nPos = nPos;
    if (m_nPos > m_nMax)
        m_nPos = m_nMax;
    if (m_nPos < m_nMin)
        m_nPos = m_nMin;
    Invalidate();
}

void CBitmapSlider::SetMargin(int nLeft, int nTop, int nRight, int nBottom)
{
    m_nMarginLeft = nLeft;
    m_nMarginTop = nTop;
    m_nMarginRight = nRight;
    m_nMarginBottom = nBottom;
}

void CBitmapSlider::Enable(bool bEnable)
{
    m_bEnable = bEnable;
    if (!m_bEnable && m_bLButtonDown) {
        m_bLButtonDown = false;
        if (GetCapture() == this)
            ::ReleaseCapture();
    }
    Invalidate();
}

int CBitmapSlider::PosToPixel(int nPos) const
{
    // An empty range has no extent to map: everything sits at the left end of the track.
    if (m_nMax == m_nMin)
        return m_nMarginLeft;
    const double span = static_cast<double>(m_nWidth) - m_nMarginRight - m_nMarginLeft;
    const double ratio = (static_cast<double>(nPos) - m_nMin) / (static_cast<double>(m_nMax) - m_nMin);
    return TruncToInt(TruncToInt(ratio * span) + static_cast<double>(m_nMarginLeft));
}

int CBitmapSlider::PixelToPos(int x) const
{
    const double span = static_cast<double>(m_nWidth) - m_nMarginRight - m_nMarginLeft;
    if (span <= 0.0)
        return m_nMin; // a track no wider than its margins has one position only
    return TruncToInt(
        (static_cast<double>(x) - m_nMarginLeft) / span * (static_cast<double>(m_nMax) - m_nMin) + m_nMin);
}

void CBitmapSlider::Notify(UINT message)
{
    if (CWnd* parent = GetParent())
        parent->PostMessage(message, static_cast<WPARAM>(GetDlgCtrlID()), static_cast<LPARAM>(m_nPos));
}

void CBitmapSlider::OnPaint()
{
    CPaintDC dc(this);
    CMemDC memDC(&dc, &m_rect);
    HDC hdc = memDC.GetSafeHdc();
    if (m_bChannel && hdc) {
        HDC src = ::CreateCompatibleDC(hdc);
        if (src) {
            HGDIOBJ old = ::SelectObject(src, m_hbmChannel);
            if (m_bChannelActive && m_bEnable) {
                const int p = std::clamp(PosToPixel(m_nPos), 0, m_nWidth);
                ::BitBlt(hdc, p, 0, m_nWidth - p, m_nHeight, src, p, 0, SRCCOPY);
                ::SelectObject(src, m_hbmChannelActive);
                ::BitBlt(hdc, 0, 0, p, m_nHeight, src, 0, 0, SRCCOPY);
            } else {
                ::BitBlt(hdc, 0, 0, m_nWidth, m_nHeight, src, 0, 0, SRCCOPY);
            }
            ::SelectObject(src, old);
            ::DeleteDC(src);
        }
    }
    if (m_bDrawFocusRect && m_bFocus && m_bEnable && hdc)
        ::DrawFocusRect(hdc, &m_rect);
}

BOOL CBitmapSlider::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CBitmapSlider::OnLButtonDown(UINT, CPoint point)
{
    if (!m_bEnable)
        return;
    SetCapture();
    SetFocus();
    m_bLButtonDown = true;
    TrackPointer(point);
    Invalidate();
    Default();
}

void CBitmapSlider::TrackPointer(CPoint point)
{
    int x = point.x;
    if (x < m_nMarginLeft)
        x = m_nMarginLeft;
    if (x > m_nWidth - m_nMarginRight)
        x = m_nWidth - m_nMarginRight;
    if (x == PosToPixel(m_nPos))
        return;
    m_nPos = PixelToPos(x);
    if (m_nPos > m_nMax)
        m_nPos = m_nMax;
    if (m_nPos < m_nMin)
        m_nPos = m_nMin;
    Invalidate();
    Notify(WM_SLIDER_MOVING);
}

void CBitmapSlider::OnMouseMove(UINT, CPoint point)
{
    if (!m_bLButtonDown || !m_bEnable)
        return;
    TrackPointer(point);
    Default();
}

void CBitmapSlider::OnLButtonUp(UINT, CPoint)
{
    if (!m_bEnable)
        return;
    if (GetCapture() == this)
        ::ReleaseCapture();
    m_bLButtonDown = false;
    Invalidate();
    Notify(WM_SLIDER_MOVED);
    Default();
}

void CBitmapSlider::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (!m_bEnable)
        return;
    // In 64 bits: a step past the int range stops at the range's end instead of wrapping.
    long long next = 0;
    switch (nChar) {
    case VK_PRIOR:
        next = static_cast<long long>(m_nPos) - m_nPage;
        break;
    case VK_NEXT:
        next = static_cast<long long>(m_nPos) + m_nPage;
        break;
    case VK_END:
        next = m_nMax;
        break;
    case VK_HOME:
        next = m_nMin;
        break;
    case VK_LEFT:
    case VK_UP:
        next = static_cast<long long>(m_nPos) - 1;
        break;
    case VK_RIGHT:
    case VK_DOWN:
        next = static_cast<long long>(m_nPos) + 1;
        break;
    default:
        Default();
        return;
    }
    SetPos(static_cast<int>(std::clamp<long long>(next, INT_MIN, INT_MAX)));
    Notify(WM_SLIDER_MOVED);
    Default();
}

UINT CBitmapSlider::OnGetDlgCode()
{
    // With Tab held the dialog gets its key, so Tab still moves the focus on.
    if (::GetKeyState(VK_TAB) < 0)
        return static_cast<UINT>(Default());
    return DLGC_WANTALLKEYS;
}

void CBitmapSlider::OnSetFocus(CWnd* pOldWnd)
{
    CStatic::OnSetFocus(pOldWnd);
    m_bFocus = true;
    Invalidate();
}

void CBitmapSlider::OnKillFocus(CWnd* pNewWnd)
{
    CStatic::OnKillFocus(pNewWnd);
    m_bFocus = false;
    Invalidate();
}

void CBitmapSlider::OnDestroy()
{
    CStatic::OnDestroy();
    DeleteBitmaps();
}

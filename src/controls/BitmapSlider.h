// CBitmapSlider: a horizontal slider drawn from two channel bitmaps of one size, the active one
// from the left end up to the position and the normal one after it; no thumb. It posts its
// changes to the parent as WM_SLIDER_MOVING (while the mouse moves it) and WM_SLIDER_MOVED (on
// release and on each handled key), with the control id and the position at posting time.
#pragma once

#include "platform/wnd/Static.h"

// Posted to the parent: WPARAM the slider's control id, LPARAM its position.
constexpr UINT WM_SLIDER_MOVING = 0x28D1;
constexpr UINT WM_SLIDER_MOVED = 0x28D2;

class CBitmapSlider : public CStatic
{
public:
    CBitmapSlider() = default;
    ~CBitmapSlider() override;

    // Loads the two channel bitmaps from the program's resources and sizes the control to them.
    bool LoadChannelBitmaps(UINT nChannelId, UINT nActiveId);
    void SetRange(int nMin, int nMax);
    void SetPos(int nPos);
    int GetPos() const { return m_nPos; }
    int GetRangeMin() const { return m_nMin; }
    int GetRangeMax() const { return m_nMax; }
    void SetPageSize(int nPage) { m_nPage = nPage; }
    void SetMargin(int nLeft, int nTop, int nRight, int nBottom);
    void Enable(bool bEnable = true);
    bool IsEnabled() const { return m_bEnable; }
    void SetFocusRectDrawing(bool bDraw) { m_bDrawFocusRect = bDraw; }
    bool IsDragging() const { return m_bLButtonDown; }

    // The column where the active look ends for a position, and the position of a column.
    int PosToPixel(int nPos) const;
    int PixelToPos(int x) const;

protected:
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    UINT OnGetDlgCode() override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnSetFocus(CWnd* pOldWnd) override;
    void OnKillFocus(CWnd* pNewWnd) override;
    void OnDestroy() override;

private:
    // The position follows the pointer's column; posts WM_SLIDER_MOVING when the column changed.
    void TrackPointer(CPoint point);
    void Notify(UINT message);
    void DeleteBitmaps();

    int m_nMax = 100;
    int m_nMin = 0;
    int m_nPos = 0;
    int m_nPage = 20;
    CRect m_rect;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nMarginLeft = 0;
    int m_nMarginRight = 0;
    int m_nMarginTop = 0;
    int m_nMarginBottom = 0;
    bool m_bChannelActive = false;
    bool m_bChannel = false;
    bool m_bLButtonDown = false;
    bool m_bFocus = false;
    bool m_bDrawFocusRect = true;
    bool m_bEnable = true;
    HBITMAP m_hbmChannel = nullptr;
    HBITMAP m_hbmChannelActive = nullptr;
};

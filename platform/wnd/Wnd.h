// CWnd: a window with a control id, messages sent (synchronous) or posted (queued), handlers as
// virtual functions, timers, painting, focus, capture and a shape. Each window is backed by a Qt
// widget that only forwards input and paint requests; all behaviour lives in the CWnd classes.
#pragma once

#include "platform/gdi/GdiHandles.h"
#include "platform/gdi/Geometry.h"
#include "platform/wnd/Messages.h"
#include "platform/wnd/String.h"

#include <vector>

class CDC;
class CFont;
class CRgn;
class QWidget;

namespace wnd {
class NativeWindow;
}

class CWnd
{
public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return this ? m_hWnd : nullptr; }
    operator HWND() const { return m_hWnd; }
    // The window object of a live handle, or nullptr.
    static CWnd* FromHandle(HWND hWnd);

    // Creation and destruction. The class name picks the default behaviour: "Button", "Static",
    // "ComboBox", "#32770" (dialog); any other name is a plain window.
    BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id);
    BOOL Create(const char* className, const char* windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT id);
    virtual BOOL DestroyWindow();
    // Takes over an existing window (its widget, id, style, text, font and children) so that this
    // object's handlers run for it from now on.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    virtual void PreSubclassWindow() {}
    virtual void PostNcDestroy() {}
    // The class name this window was created with.
    const char* GetWndClassName() const { return m_strClass.GetString(); }

    // Messages.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window class's own behaviour; what Default() runs.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default();
    const MSG* GetCurrentMessage() const;
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Commands: notifications are first offered to the sending control (reflection), then to
    // OnCmdMsg, where derived windows keep their small command tables.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCmdMsg(UINT id, int code);
    // A message reflected from the parent (WM_COMMAND, WM_DRAWITEM, WM_CTLCOLOR...). Returns TRUE
    // when handled, with the result in *pResult.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Reflected WM_CTLCOLOR: a brush when handled, nullptr to leave it to the parent's answer.
    virtual HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);

    // Handlers. Each default runs Default().
    virtual void OnDestroy();
    virtual void OnPaint();
    virtual BOOL OnEraseBkgnd(CDC* pDC);
    virtual void OnSize(UINT nType, int cx, int cy);
    virtual void OnMove(int x, int y);
    virtual void OnTimer(UINT_PTR nIDEvent);
    virtual void OnLButtonDown(UINT nFlags, CPoint point);
    virtual void OnLButtonUp(UINT nFlags, CPoint point);
    virtual void OnLButtonDblClk(UINT nFlags, CPoint point);
    virtual void OnRButtonDown(UINT nFlags, CPoint point);
    virtual void OnRButtonUp(UINT nFlags, CPoint point);
    virtual void OnMouseMove(UINT nFlags, CPoint point);
    virtual LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    virtual void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnSetFocus(CWnd* pOldWnd);
    virtual void OnKillFocus(CWnd* pNewWnd);
    virtual void OnEnable(BOOL bEnable);
    virtual void OnCancelMode();
    virtual void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    virtual void OnCaptureChanged(CWnd* pWnd);
    virtual HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    virtual UINT OnGetDlgCode();
    virtual BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    virtual void OnSysCommand(UINT nID, LPARAM lParam);
    virtual HICON OnQueryDragIcon();
    virtual void OnShowWindow(BOOL bShow, UINT nStatus);

    // Geometry. Top-level windows use screen coordinates, children their parent's client ones.
    void GetClientRect(LPRECT rect) const;
    void GetWindowRect(LPRECT rect) const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(const RECT* rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    void ClientToScreen(LPPOINT point) const;
    void ClientToScreen(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const;
    void ScreenToClient(LPRECT rect) const;

    // State.
    BOOL ShowWindow(int cmdShow);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsIconic() const;
    DWORD GetStyle() const { return m_dwStyle; }
    DWORD GetExStyle() const { return m_dwExStyle; }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    LONG GetWindowLong(int index) const;
    LONG SetWindowLong(int index, LONG value);
    int GetDlgCtrlID() const { return static_cast<int>(m_nID); }
    int SetDlgCtrlID(int id);
    CWnd* GetDlgItem(int id) const;
    CWnd* GetParent() const;
    CWnd* GetTopLevelParent() const;
    CWnd* GetNextDlgTabItem(CWnd* control, BOOL previous = FALSE) const;
    // Children in creation order (which is also their tab and hit-testing order).
    std::vector<CWnd*> GetChildren() const;

    // Text, font and icons.
    void SetWindowText(const char* text);
    void GetWindowText(CString& text) const;
    int GetWindowText(char* buffer, int maxCount) const;
    int GetWindowTextLength() const;
    void SetFont(CFont* font, BOOL redraw = TRUE);
    HFONT GetFontHandle() const { return m_hFont; }
    HICON SetIcon(HICON icon, BOOL bigIcon);
    HICON GetIcon(BOOL bigIcon) const;

    // Painting.
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(const RECT* rect, BOOL erase = TRUE);
    void UpdateWindow();
    BOOL RedrawWindow(const RECT* rect = nullptr, CRgn* rgn = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    // A device context for drawing outside a paint. Drawing through it reaches an off-screen copy
    // only; windows draw what they show in their paint handler.
    CDC* GetDC();
    int ReleaseDC(CDC* dc);
    int SetWindowRgn(HRGN rgn, BOOL redraw);
    // The region set by SetWindowRgn, or nullptr (the window's own copy).
    HRGN GetWindowRegion() const { return m_hRgn; }

    // Focus, capture, activation.
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetCapture();
    static CWnd* GetCapture();
    BOOL SetForegroundWindow();

    // Timers: WM_TIMER with the id every elapse milliseconds on the layer's clock.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, void* timerProc = nullptr);
    BOOL KillTimer(UINT_PTR id);

    // The Qt widget behind the window (for rendering in tests and for the shell layer).
    QWidget* GetNativeWidget() const;

protected:
    // Called by the layer when the widget is created, before WM_CREATE handling.
    virtual void OnNativeCreated() {}
    // Called on the object taking a window over (SubclassWindow, UnsubclassWindow) with the object
    // that handled it until then, before that one goes: a class with state of its own beyond
    // CWnd's (items, child objects) moves it here.
    virtual void TakeOverState(CWnd* previous) { (void)previous; }

private:
    friend class wnd::NativeWindow;
    friend struct WndAccess;

    void AttachNative(wnd::NativeWindow* native);
    void DetachNative();

    wnd::NativeWindow* m_native = nullptr;
    CString m_strClass;
    CString m_strText;
    DWORD m_dwStyle = 0;
    DWORD m_dwExStyle = 0;
    UINT m_nID = 0;
    HWND m_hParent = nullptr;
    std::vector<HWND> m_children;
    HFONT m_hFont = nullptr;
    HICON m_hIconBig = nullptr;
    HICON m_hIconSmall = nullptr;
    HRGN m_hRgn = nullptr;
    bool m_bLayerOwned = false; // created by the layer (a dialog's default control objects)
    bool m_bEnabled = true;
    CDC* m_pClientDC = nullptr;
};

// Windows-spelling functions of the layer.
BOOL IsWindow(HWND hWnd);
LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
HWND GetFocus();
HWND SetFocus(HWND hWnd);
HWND GetCapture();
BOOL ReleaseCapture();
HWND WindowFromPoint(POINT screenPoint);
BOOL GetCursorPos(LPPOINT point);
BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme);
int GetClassNameA(HWND hWnd, char* buffer, int maxCount);
DWORD GetWindowThreadProcessId(HWND hWnd, DWORD* processId);
LONG GetWindowLongA(HWND hWnd, int index);
BOOL ShowWindow(HWND hWnd, int cmdShow);
BOOL IsWindowVisible(HWND hWnd);
short GetKeyState(int vk);

// Layer-internal access to window objects: the handle table, the message stack and the private
// state the router, dialogs and controls of this layer share. Not for the system's code.
#pragma once

#include "platform/wnd/Wnd.h"

#include <QPoint>

namespace wnd {
class NativeWindow;
}

struct WndAccess
{
    static HWND Register(CWnd* wnd);
    static void Unregister(HWND hWnd);
    static void Rebind(HWND hWnd, CWnd* wnd);

    static wnd::NativeWindow* Native(const CWnd* w) { return w->m_native; }
    static void SetNative(CWnd* w, wnd::NativeWindow* n) { w->m_native = n; }
    static std::vector<HWND>& Children(CWnd* w) { return w->m_children; }
    static HWND Parent(const CWnd* w) { return w->m_hParent; }
    static CString& Text(CWnd* w) { return w->m_strText; }
    static bool& LayerOwned(CWnd* w) { return w->m_bLayerOwned; }
    static bool Enabled(const CWnd* w) { return w->m_bEnabled; }

    // Top-level windows, bottom first.
    static std::vector<HWND>& TopLevels();
    static void RaiseTopLevel(HWND hWnd);

    // Client-area origin of a window in its top-level window's client coordinates.
    static QPoint OriginInTop(const CWnd* w);
    // The deepest visible, enabled-or-not child of w containing the point (w's client coords),
    // skipping windows that let the mouse through (statics without SS_NOTIFY); w itself if none.
    static CWnd* ChildAt(CWnd* w, QPoint clientPoint);
    // Whether a top-level window's shape contains a point of its client area.
    static bool ShapeContains(const CWnd* top, QPoint clientPoint);
    static bool IsMouseTransparent(const CWnd* w);

    // Sets the focus without the messages having been asked for by a window (layer use).
    static void SetFocusWindow(CWnd* w);
    static void ForgetWindow(CWnd* w); // drop focus, capture, hover references to a dying window
};

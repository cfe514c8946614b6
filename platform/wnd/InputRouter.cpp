// Input routing for all windows of the layer.
#include "platform/wnd/InputRouter.h"

#include "platform/wnd/NativeWindow.h"
#include "platform/wnd/Wnd.h"
#include "platform/wnd/WndInternal.h"

#include <QGuiApplication>
#include <QWindow>
#include <set>

namespace wnd {
namespace {

CWnd* g_hover = nullptr;      // window under the pointer at the last move
std::set<CWnd*> g_trackLeave; // windows that asked for WM_MOUSELEAVE
POINT g_cursor{0, 0};
bool g_leftDown = false;
bool g_rightDown = false;
bool g_shift = false;
bool g_control = false;
std::set<UINT> g_keysDown; // keys pressed and not yet released, for GetKeyState

// Manual window move: for platforms whose window manager cannot take over (offscreen).
CWnd* g_moving = nullptr;
QPoint g_moveGrab; // pointer position in screen coordinates when the move began
QPoint g_moveOrigin;

void SendMouse(CWnd* target, UINT msg, QPoint topPoint, WPARAM keys)
{
    const QPoint local = topPoint - WndAccess::OriginInTop(target);
    target->SendMessage(msg, keys,
                        MAKELPARAM(static_cast<WORD>(static_cast<short>(local.x())),
                                   static_cast<WORD>(static_cast<short>(local.y()))));
}

void UpdateHover(CWnd* now)
{
    if (now == g_hover)
        return;
    CWnd* old = g_hover;
    g_hover = now;
    if (old && g_trackLeave.count(old)) {
        g_trackLeave.erase(old);
        old->SendMessage(WM_MOUSELEAVE, 0, 0);
    }
}

} // namespace

void InputRouter::Mouse(CWnd* top, Action action, Button button, QPoint p, WPARAM keys)
{
    if (!top || !top->m_hWnd)
        return;
    CRect wr;
    top->GetWindowRect(&wr);
    g_cursor = POINT{wr.left + p.x(), wr.top + p.y()};
    if (action == Action::Press || action == Action::DoubleClick)
        (button == Button::Left ? g_leftDown : g_rightDown) = true;
    if (action == Action::Release)
        (button == Button::Left ? g_leftDown : g_rightDown) = false;
    if (g_leftDown)
        keys |= MK_LBUTTON;
    else
        keys &= ~MK_LBUTTON;

    if (g_moving) {
        // The window follows the pointer's moves; the release only ends the move.
        if (action == Action::Release || !g_leftDown) {
            g_moving = nullptr;
            return;
        }
        if (g_moving->m_hWnd) {
            const QPoint to = g_moveOrigin + (QPoint(g_cursor.x, g_cursor.y) - g_moveGrab);
            g_moving->SetWindowPos(nullptr, to.x(), to.y(), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        }
        return;
    }

    CWnd* target = CWnd::GetCapture();
    if (!target || target->GetTopLevelParent() != top) {
        target = nullptr;
        const bool inside = p.x() >= 0 && p.y() >= 0 && p.x() < wr.Width() && p.y() < wr.Height();
        // Outside the window's shape the pointer belongs to whatever lies beneath.
        if (!inside || !WndAccess::ShapeContains(top, p)) {
            UpdateHover(nullptr);
            return;
        }
        target = WndAccess::ChildAt(top, p);
    }
    if (action == Action::Move)
        UpdateHover(target);
    if (!target->IsWindowEnabled())
        return; // a disabled window swallows the pointer's messages

    UINT msg = WM_MOUSEMOVE;
    switch (action) {
    case Action::Press:
        msg = button == Button::Left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
        break;
    case Action::Release:
        msg = button == Button::Left ? WM_LBUTTONUP : WM_RBUTTONUP;
        break;
    case Action::DoubleClick:
        msg = button == Button::Left ? WM_LBUTTONDBLCLK : WM_RBUTTONDBLCLK;
        break;
    case Action::Move:
        break;
    }
    SendMouse(target, msg, p, keys);
}

void InputRouter::PointerLeftTopLevel(CWnd* top)
{
    if (g_moving || CWnd::GetCapture())
        return;
    if (g_hover && g_hover->GetTopLevelParent() == top)
        UpdateHover(nullptr);
}

void InputRouter::Key(CWnd* top, UINT vk, bool down, const char* text)
{
    if (down)
        g_keysDown.insert(vk);
    else
        g_keysDown.erase(vk);
    if (!top || !top->m_hWnd)
        return;
    CWnd* target = CWnd::GetFocus();
    if (!target || target->GetTopLevelParent() != top)
        target = top;
    MSG msg{target->m_hWnd, down ? WM_KEYDOWN : WM_KEYUP, vk, 1};
    // The pre-translation walk: the focus window, then its parents up to the top-level window;
    // dialogs run their keyboard interface (Tab, Enter, Escape) there.
    for (CWnd* w = target; w; w = w->GetParent()) {
        if (w->PreTranslateMessage(&msg))
            return;
        if (!target->m_hWnd)
            return;
    }
    target->SendMessage(msg.message, msg.wParam, msg.lParam);
    if (down && text && *text && target->m_hWnd)
        target->SendMessage(WM_CHAR, static_cast<unsigned char>(text[0]), 1);
}

void InputRouter::BeginWindowMove(CWnd* top)
{
    if (!top || !top->m_hWnd)
        return;
    QWidget* widget = top->GetNativeWidget();
    // Where a window manager exists, it runs the move (with its own snapping and limits).
    if (widget && widget->windowHandle() && QGuiApplication::platformName() != "offscreen" &&
        widget->windowHandle()->startSystemMove()) {
        g_leftDown = false;
        return;
    }
    CRect wr;
    top->GetWindowRect(&wr);
    g_moving = top;
    g_moveGrab = QPoint(g_cursor.x, g_cursor.y);
    g_moveOrigin = QPoint(wr.left, wr.top);
}

bool InputRouter::InWindowMove()
{
    return g_moving != nullptr;
}

void InputRouter::TrackLeave(CWnd* w, bool track)
{
    if (!w)
        return;
    if (track)
        g_trackLeave.insert(w);
    else
        g_trackLeave.erase(w);
}

POINT InputRouter::CursorPos()
{
    return g_cursor;
}

short InputRouter::KeyState(int vk)
{
    if (vk == 0x01) // VK_LBUTTON
        return g_leftDown ? static_cast<short>(0x8000) : 0;
    if (vk == 0x02)
        return g_rightDown ? static_cast<short>(0x8000) : 0;
    if (vk == static_cast<int>(VK_SHIFT))
        return g_shift ? static_cast<short>(0x8000) : 0;
    if (vk == static_cast<int>(VK_CONTROL))
        return g_control ? static_cast<short>(0x8000) : 0;
    return g_keysDown.count(static_cast<UINT>(vk)) ? static_cast<short>(0x8000) : 0;
}

void InputRouter::SetModifiers(bool shift, bool control)
{
    g_shift = shift;
    g_control = control;
}

void InputRouter::Forget(CWnd* w)
{
    if (g_hover == w)
        g_hover = nullptr;
    if (g_moving == w)
        g_moving = nullptr;
    g_trackLeave.erase(w);
}

void InputRouter::Replace(CWnd* from, CWnd* to)
{
    if (g_hover == from)
        g_hover = to;
    if (g_moving == from)
        g_moving = to;
    if (g_trackLeave.erase(from))
        g_trackLeave.insert(to);
}

} // namespace wnd

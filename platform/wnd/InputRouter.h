// Routes mouse and keyboard input from a top-level window's widget to the window objects: hit
// testing against children and the window shape, capture, hover and leave tracking, the window
// move loop, and the dialog manager's keys through PreTranslateMessage.
#pragma once

#include "platform/os/WinTypes.h"

#include <QPoint>

class CWnd;

namespace wnd {

class InputRouter
{
public:
    enum class Button
    {
        Left,
        Right
    };
    enum class Action
    {
        Press,
        Release,
        DoubleClick,
        Move
    };

    // clientPoint is in the top-level window's client coordinates.
    static void Mouse(CWnd* top, Action action, Button button, QPoint clientPoint, WPARAM keyState);
    static void PointerLeftTopLevel(CWnd* top);
    static void Key(CWnd* top, UINT vk, bool down, const char* text);

    static void BeginWindowMove(CWnd* top);
    static bool InWindowMove();
    static void TrackLeave(CWnd* w, bool track);
    static POINT CursorPos();
    static short KeyState(int vk);
    static void SetModifiers(bool shift, bool control);

    static void Forget(CWnd* w);
    static void Replace(CWnd* from, CWnd* to);
};

} // namespace wnd

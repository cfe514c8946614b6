// Window timers on the layer's clock. In real time each timer is a Qt timer; with the manual
// clock they fire, in due order, only when the clock is advanced. Like Windows timers they do
// not pile up: a late timer fires once.
#pragma once

#include "platform/os/WinTypes.h"

namespace wnd {

class TimerQueue
{
public:
    static void Set(HWND hWnd, UINT_PTR id, UINT elapseMs);
    static bool Kill(HWND hWnd, UINT_PTR id);
    static void KillAll(HWND hWnd);
    static bool IsSet(HWND hWnd, UINT_PTR id);
    static UINT Interval(HWND hWnd, UINT_PTR id); // 0 when not set
};

} // namespace wnd

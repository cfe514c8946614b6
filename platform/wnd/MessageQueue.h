// Posted messages: queued in order and delivered from the event loop (also inside modal loops),
// dropped when their window is gone by then.
#pragma once

#include "platform/os/WinTypes.h"

namespace wnd {

class MessageQueue
{
public:
    static void Post(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Delivers every message posted so far (and those they post in turn).
    static void DeliverPosted();
};

} // namespace wnd

// The one clock behind every timer and wait of the program. In the program it is real time; tests
// switch it to a manual clock that moves only when the test advances it.
#pragma once

#include <cstdint>
#include <functional>

namespace os {

class Clock
{
public:
    // Milliseconds since an arbitrary start; monotonic.
    static std::uint64_t NowMs();

    // Manual mode: NowMs() stands still until Advance(); Sleep() advances it instead of blocking.
    static void UseManualTime(bool manual);
    static bool IsManual();

    // Moves manual time forward; the listener (the window layer's timers) then delivers what
    // became due, in order.
    static void Advance(std::uint64_t ms);

    // Called with the time before and after each Advance. One listener (the timer queue).
    static void SetAdvanceListener(std::function<void(std::uint64_t from, std::uint64_t to)> listener);
};

// Blocks the calling thread for the given time (or advances manual time).
void Sleep(std::uint32_t ms);

} // namespace os

// The program's code calls the Windows spelling.
inline void Sleep(std::uint32_t ms)
{
    os::Sleep(ms);
}

// Real or manual time for timers and waits.
#include "platform/os/Clock.h"

#include <chrono>
#include <thread>

namespace os {
namespace {

bool g_manual = false;
std::uint64_t g_manualNow = 0;
std::function<void(std::uint64_t, std::uint64_t)> g_listener;

std::uint64_t RealNowMs()
{
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace

std::uint64_t Clock::NowMs()
{
    return g_manual ? g_manualNow : RealNowMs();
}

void Clock::UseManualTime(bool manual)
{
    if (manual && !g_manual)
        g_manualNow = 1000000; // far from zero so "due at 0" never looks overdue by accident
    g_manual = manual;
}

bool Clock::IsManual()
{
    return g_manual;
}

void Clock::Advance(std::uint64_t ms)
{
    if (!g_manual)
        return;
    const std::uint64_t from = g_manualNow;
    g_manualNow += ms;
    if (g_listener)
        g_listener(from, g_manualNow);
}

void Clock::SetAdvanceListener(std::function<void(std::uint64_t, std::uint64_t)> listener)
{
    g_listener = std::move(listener);
}

void Sleep(std::uint32_t ms)
{
    if (g_manual) {
        // A wait blocks the thread: time passes but no timer message is dispatched during it.
        g_manualNow += ms;
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace os

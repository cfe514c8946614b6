// Timer bookkeeping for both clocks.
#include "platform/wnd/TimerQueue.h"

#include "platform/os/Clock.h"
#include "platform/wnd/MessageQueue.h"
#include "platform/wnd/Wnd.h"

#include <QTimer>
#include <algorithm>
#include <memory>
#include <vector>

namespace wnd {
namespace {

// A timer may be killed from its own timeout handler: Qt objects are freed from the event loop.
struct LaterDeleter
{
    void operator()(QTimer* t) const
    {
        t->stop();
        t->deleteLater();
    }
};

struct Timer
{
    HWND hWnd;
    UINT_PTR id;
    UINT interval;
    std::uint64_t due;
    std::uint64_t order; // creation order breaks ties between timers due at the same time
    std::unique_ptr<QTimer, LaterDeleter> qt;
};

std::vector<Timer>& Timers()
{
    static std::vector<Timer> timers;
    return timers;
}

std::uint64_t g_order = 0;
bool g_listening = false;
constexpr UINT kMinimumPeriodMs = 10;
constexpr UINT kMaximumPeriodMs = 0x7FFFFFFF;

void Fire(HWND hWnd, UINT_PTR id)
{
    if (CWnd* w = CWnd::FromHandle(hWnd))
        w->SendMessage(WM_TIMER, id, 0);
}

// Fires everything due up to `now`, earliest first, as if time had passed step by step; a
// handler may set or kill timers meanwhile.
void OnManualAdvance(std::uint64_t from, std::uint64_t now)
{
    // Periods that went by while the thread was blocked in a wait give one message each timer,
    // as a late Windows timer does.
    for (auto& t : Timers())
        if (t.due < from)
            t.due = from;
    for (;;) {
        Timer* next = nullptr;
        for (auto& t : Timers())
            if (t.due <= now && (!next || t.due < next->due || (t.due == next->due && t.order < next->order)))
                next = &t;
        if (!next)
            break;
        HWND h = next->hWnd;
        UINT_PTR id = next->id;
        next->due += next->interval;
        Fire(h, id);
        MessageQueue::DeliverPosted();
    }
}

} // namespace

void TimerQueue::Set(HWND hWnd, UINT_PTR id, UINT elapseMs)
{
    if (!g_listening) {
        os::Clock::SetAdvanceListener(OnManualAdvance);
        g_listening = true;
    }
    Kill(hWnd, id);
    // Windows keeps periods within 10 ms and about 24.8 days; a period of -1 asks for the longest.
    const UINT period = std::clamp<UINT>(elapseMs, kMinimumPeriodMs, kMaximumPeriodMs);
    Timer t{hWnd, id, period, os::Clock::NowMs() + period, ++g_order, nullptr};
    if (!os::Clock::IsManual()) {
        t.qt.reset(new QTimer);
        t.qt->setInterval(static_cast<int>(period));
        QObject::connect(t.qt.get(), &QTimer::timeout, [hWnd, id]() { Fire(hWnd, id); });
        t.qt->start();
    }
    Timers().push_back(std::move(t));
}

bool TimerQueue::Kill(HWND hWnd, UINT_PTR id)
{
    auto& timers = Timers();
    auto it = std::find_if(timers.begin(), timers.end(),
                           [&](const Timer& t) { return t.hWnd == hWnd && t.id == id; });
    if (it == timers.end())
        return false;
    timers.erase(it);
    return true;
}

void TimerQueue::KillAll(HWND hWnd)
{
    auto& timers = Timers();
    timers.erase(std::remove_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.hWnd == hWnd; }),
                 timers.end());
}

bool TimerQueue::IsSet(HWND hWnd, UINT_PTR id)
{
    return Interval(hWnd, id) != 0;
}

UINT TimerQueue::Interval(HWND hWnd, UINT_PTR id)
{
    for (auto& t : Timers())
        if (t.hWnd == hWnd && t.id == id)
            return t.interval;
    return 0;
}

} // namespace wnd

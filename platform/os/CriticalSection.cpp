// Critical sections over a recursive mutex.
#include "platform/os/CriticalSection.h"

void InitializeCriticalSection(LPCRITICAL_SECTION cs)
{
    if (cs)
        cs->nRecursion = 0;
}

void DeleteCriticalSection(LPCRITICAL_SECTION cs)
{
    if (cs)
        cs->nRecursion = 0;
}

void EnterCriticalSection(LPCRITICAL_SECTION cs)
{
    if (!cs)
        return;
    cs->mutex.lock();
    cs->owner.store(std::this_thread::get_id());
    ++cs->nRecursion;
}

void LeaveCriticalSection(LPCRITICAL_SECTION cs)
{
    // Leaving a section this thread does not hold is a caller fault; the count keeps it from
    // unlocking a mutex that was never locked here.
    if (!cs || cs->owner.load() != std::this_thread::get_id() || cs->nRecursion <= 0)
        return;
    if (--cs->nRecursion == 0)
        cs->owner.store(std::thread::id());
    cs->mutex.unlock();
}

int TryEnterCriticalSection(LPCRITICAL_SECTION cs)
{
    if (!cs || !cs->mutex.try_lock())
        return 0;
    cs->owner.store(std::this_thread::get_id());
    ++cs->nRecursion;
    return 1;
}

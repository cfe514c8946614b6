// Critical sections: a lock that the thread holding it may take again (recursive), as the
// Windows object behaves. Initialise before the first use, delete after the last.
#pragma once

#include <atomic>
#include <mutex>
#include <thread>

struct CRITICAL_SECTION
{
    std::recursive_mutex mutex;
    std::atomic<std::thread::id> owner{};
    int nRecursion = 0; // how many times the owner holds it; touched only by the owner
};
using LPCRITICAL_SECTION = CRITICAL_SECTION*;

void InitializeCriticalSection(LPCRITICAL_SECTION cs);
void DeleteCriticalSection(LPCRITICAL_SECTION cs);
void EnterCriticalSection(LPCRITICAL_SECTION cs);
void LeaveCriticalSection(LPCRITICAL_SECTION cs);
// Nonzero when the lock was taken (or already held by this thread).
int TryEnterCriticalSection(LPCRITICAL_SECTION cs);

namespace os {
// Holds a critical section for a scope.
class CriticalSectionLock
{
public:
    explicit CriticalSectionLock(LPCRITICAL_SECTION cs) : m_cs(cs) { EnterCriticalSection(m_cs); }
    ~CriticalSectionLock() { LeaveCriticalSection(m_cs); }
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

private:
    LPCRITICAL_SECTION m_cs;
};
} // namespace os

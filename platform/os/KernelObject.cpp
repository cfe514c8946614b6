// Handle closing and the thread's last error.
#include "platform/os/KernelObject.h"

namespace {
thread_local DWORD g_lastError = 0;
}

DWORD GetLastError()
{
    return g_lastError;
}
void SetLastError(DWORD error)
{
    g_lastError = error;
}

BOOL CloseHandle(HANDLE handle)
{
    auto* object = static_cast<os::KernelObject*>(handle);
    if (!object)
        return FALSE;
    delete object;
    return TRUE;
}

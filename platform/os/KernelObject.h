// Kernel objects behind HANDLE values (the named mutex, an opened process); CloseHandle frees any.
#pragma once

#include "platform/os/WinTypes.h"

namespace os {
struct KernelObject
{
    virtual ~KernelObject() = default;
};
} // namespace os

BOOL CloseHandle(HANDLE handle);
DWORD GetLastError();
void SetLastError(DWORD error);

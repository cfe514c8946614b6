// Opening a process to read the path of its executable.
#pragma once

#include "platform/os/KernelObject.h"

constexpr DWORD PROCESS_QUERY_INFORMATION = 0x0400;
constexpr DWORD PROCESS_VM_READ = 0x0010;

HANDLE OpenProcess(DWORD access, BOOL inheritHandle, DWORD processId);
// The executable's path of the opened process (the module argument is ignored: one module per
// process here), NUL-terminated and cut to size; the number of characters, 0 on failure.
DWORD GetModuleFileNameExA(HANDLE process, void* module, char* buffer, DWORD size);

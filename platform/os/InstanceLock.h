// The named single-instance marker: an exclusive flock on a lock file named after the mutex in
// the user's runtime folder, held for the life of the process.
#pragma once

#include "platform/os/WinTypes.h"

#include <string>

// Opaque handle of a named mutex; never waited on, released only at process end.
struct MutexHandle;
using HANDLE = MutexHandle*;

// Creates (opens) the named marker. Returns nullptr when the lock file cannot be created; then
// GetLastError() tells why. When another process holds it, a valid handle is returned and
// GetLastError() is ERROR_ALREADY_EXISTS, as with a Windows named mutex.
HANDLE CreateMutexA(void* securityAttributes, BOOL initialOwner, const char* name);
void CloseHandle(HANDLE h);
DWORD GetLastError();
void SetLastError(DWORD error);

namespace os {
// Folder holding the lock files: $XDG_RUNTIME_DIR, else /tmp.
std::string LockFolder();
} // namespace os

// The named single-instance marker: an exclusive flock on a lock file named after the mutex in
// the user's runtime folder, held for the life of the process.
#pragma once

#include "platform/os/KernelObject.h"

#include <string>

// Creates (opens) the named marker; the handle is never waited on and lives until CloseHandle
// or the end of the process. Returns nullptr when the lock file cannot be created; then
// GetLastError() tells why. When another process holds it, a valid handle is returned and
// GetLastError() is ERROR_ALREADY_EXISTS, as with a Windows named mutex.
HANDLE CreateMutexA(void* securityAttributes, BOOL initialOwner, const char* name);

namespace os {
// Folder holding the lock files: $XDG_RUNTIME_DIR, else /tmp.
std::string LockFolder();
} // namespace os

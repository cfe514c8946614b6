// Where the running executable lives, and the multibyte-aware path cutting its callers use.
#pragma once

#include "platform/os/WinTypes.h"

#include <string>

namespace os {

// Full path of the running executable (from /proc/self/exe); empty if it cannot be read.
// Tests may override it to run the program's code as if it lived elsewhere.
std::string ExecutablePath();
void OverrideExecutablePath(const std::string& path); // empty restores the real one

// The last path separator of a multibyte (UTF-8) string, or nullptr. A lead or continuation byte
// of a multibyte character is never taken for a separator.
const char* FindLastSeparator(const char* path);

// Copies a path into a caller's buffer as the Windows path functions do: NUL-terminated, cut to
// the buffer; the number of characters copied, 0 for an empty path.
DWORD CopyPathToBuffer(const std::string& path, char* buffer, DWORD size);

} // namespace os

// Windows spelling: copies the executable's path into the buffer (NUL-terminated, cut to size);
// returns the number of characters copied, 0 on failure. The module argument is ignored: the
// program has a single module.
DWORD GetModuleFileNameA(void* hModule, char* buffer, DWORD size);

constexpr char kPathSeparator = '/';

// The Windows private-profile functions on plain INI files. Reads take a snapshot of the file;
// writes hold an advisory lock on it for the whole read-modify-write and replace it atomically
// (a temporary file beside it, renamed over it), so a killed writer leaves the old or the new
// file and two processes writing one file keep each other's keys.
#pragma once

#include "platform/os/WinTypes.h"

// Copies the value of `key` in `section` of `file` into `out` (at most size - 1 bytes, always
// NUL-terminated) or, when the key or the file is missing, `def` without its trailing blanks.
// Returns the number of bytes copied. Listing sections or keys (a null section or key) is not
// offered: it gives an empty string.
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR def, LPSTR out, DWORD size, LPCSTR file);

// Sets `key` of `section` to `value`, creating the file, section or key as needed; a null value
// deletes the key, a null key the whole section. Returns FALSE when nothing could be written
// (no rights, or a name or value that cannot be stored on one line).
BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file);

namespace os {

// Several keys of one section written as one read-modify-write: the same text as writing them one by
// one with WritePrivateProfileStringA in this order (and then appending a line break when asked),
// but the file is replaced once, so a killed writer leaves all of them or none. Returns FALSE when
// any key could not be stored (the others still are) or the file could not be written.
struct ProfileEntry
{
    LPCSTR key;
    LPCSTR value;
};
BOOL WritePrivateProfileEntries(LPCSTR section, const ProfileEntry* entries, int count, bool appendBreak,
                                LPCSTR file);

// Appends one line break (the file's own kind) at the end of the file, under the same lock and
// atomic replacement as the profile writes. Creates the file when it is missing.
BOOL AppendPrivateProfileLineBreak(LPCSTR file);

// Files larger than this are treated as unreadable: reads give the defaults, writes fail.
constexpr long long kMaxProfileFileBytes = 512LL * 1024 * 1024;

} // namespace os

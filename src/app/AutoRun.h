// Start with the desktop session: a machine-wide XDG autostart entry
// "QuillmarkStartUpAutoRun.desktop" in "autostart" under the first folder of $XDG_CONFIG_DIRS
// (default /etc/xdg). Like the machine-wide Run key it stands for, writing it needs administrator
// rights.
#pragma once

#include <string>

constexpr int kAutoRunPathSize = 256; // the caller's buffer for QueryAutoRun, NUL included

// Copies the executable path the entry starts into `buffer` (kAutoRunPathSize bytes). Returns 0
// when the entry exists, 1 when the autostart folder cannot be read, 2 when the entry is missing,
// hidden, has no Exec= line or a path that does not fit the buffer.
int QueryAutoRun(char* buffer);

// Writes the entry (atomically, creating the autostart folder if needed) with Exec= the running
// executable's path. Returns 0 on success, else the reason (ERROR_ACCESS_DENIED without the rights).
int RegisterAutoRun();

// Deletes the entry. Returns 0 on success, ERROR_FILE_NOT_FOUND when there was none.
int UnregisterAutoRun();

namespace autorun {

// Full path of the entry for the current environment.
std::string EntryPath();

// Exec= value that starts `program` with no arguments, quoted and escaped as desktop entries
// require; and the program such a value starts (empty when it cannot be parsed).
std::string ExecValueFor(const std::string& program);
std::string ProgramOfExecValue(const std::string& value);

} // namespace autorun

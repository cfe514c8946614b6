// Executable folder lookup for windows.
#include "app/AppDir.h"

#include "platform/os/ModulePath.h"
#include "platform/os/ProcessInfo.h"
#include "platform/wnd/Wnd.h"

#include <cstring>
#include <unistd.h>

void GetWindowAppDir(HWND hWnd, char* pszDir)
{
    if (!pszDir)
        return;
    DWORD processId = 0;
    GetWindowThreadProcessId(hWnd, &processId);
    DWORD length = 0;
    if (HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId)) {
        length = GetModuleFileNameExA(process, nullptr, pszDir, kAppDirBufferSize);
        CloseHandle(process);
    }
    if (length == 0) // no such window or process: our own executable
        length = GetModuleFileNameA(nullptr, pszDir, kAppDirBufferSize);

    if (char* last = const_cast<char*>(os::FindLastSeparator(pszDir))) {
        // A file directly in the root keeps the root itself.
        if (last == pszDir)
            last[1] = '\0';
        else
            *last = '\0';
        return;
    }
    // No separator: the path is unusable; work from the current folder.
    if (!::getcwd(pszDir, kAppDirBufferSize))
        std::strcpy(pszDir, ".");
}

// The folder of the executable that owns a window.
#pragma once

#include "platform/os/WinTypes.h"

// Fills pszDir (a caller's 512-byte buffer, zero-filled by the caller) with the folder of the
// executable owning hWnd, without a trailing separator. When that path cannot be read, the
// running executable's folder is used; when it holds no separator at all, the current folder.
void GetWindowAppDir(HWND hWnd, char* pszDir);

constexpr int kAppDirBufferSize = 512;

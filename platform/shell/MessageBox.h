// The standard message box.
#pragma once

#include "platform/os/WinTypes.h"

constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_ICONERROR = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONWARNING = 0x30;
constexpr UINT MB_ICONINFORMATION = 0x40;

// Shows the text in a modal standard message box with the application's title and returns the
// button that closed it (IDOK, IDCANCEL, IDYES, IDNO).
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);

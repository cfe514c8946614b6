// The application object: one per program, whose InitInstance runs the program.
#pragma once

#include "platform/wnd/Wnd.h"

class CWinApp
{
public:
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // The key name applications once kept their settings under; only remembered here.
    void SetRegistryKey(const char* key);

    CWnd* m_pMainWnd = nullptr;
    CString m_strAppName;
    CString m_strRegistryKey;
};

CWinApp* AfxGetApp();
// Runs the application object: InitInstance, and ExitInstance when it returns FALSE. The
// result is the process exit code. A Qt application object must exist.
int AfxWinMain();
void AfxEnableControlContainer();

struct INITCOMMONCONTROLSEX
{
    DWORD dwSize;
    DWORD dwICC;
};
// The layer's controls need no registration; kept so the program's start reads as designed.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* icc);

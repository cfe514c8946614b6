// The application object.
#include "platform/wnd/WinApp.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp(const char* appName) : m_strAppName(appName ? appName : "")
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

void CWinApp::SetRegistryKey(const char* key)
{
    m_strRegistryKey = key ? key : "";
}

CWinApp* AfxGetApp()
{
    return g_app;
}

int AfxWinMain()
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    if (!app->InitInstance())
        return app->ExitInstance();
    // No program here keeps a message loop of its own beyond its modal main window.
    return app->ExitInstance();
}

void AfxEnableControlContainer() {}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* icc)
{
    return icc != nullptr;
}

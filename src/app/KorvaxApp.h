// CKorvaxApp: starts the program, guards against a second running copy and runs the main window
// as a modal dialog; when it closes, the program ends.
#pragma once

#include "platform/wnd/WinApp.h"

#include <string>

class CKorvaxApp : public CWinApp
{
public:
    CKorvaxApp();
    ~CKorvaxApp() override;

    // A scripted run: after start-up, write the main window as a PNG to this path and end.
    // Every modal dialog is then answered with its default button and its text goes to stderr.
    void SetScreenshotPath(const std::string& path) { m_strScreenshotPath = path; }
    // Report the wall-clock time of the main window's first paint on stderr (benchmarks).
    void SetReportFirstPaint(bool report) { m_bReportFirstPaint = report; }
    bool ScreenshotFailed() const { return m_bScreenshotFailed; }

    BOOL InitInstance() override;

private:
    // Asks the message dialog; true for Yes.
    static bool Ask(const char* text);
    void InstallScriptedAnswers(CWnd* mainWnd);

    // The single-instance marker, held for as long as the application object lives (the whole
    // process for the program's one object).
    HANDLE m_hInstanceMutex = nullptr;
    std::string m_strScreenshotPath;
    bool m_bReportFirstPaint = false;
    bool m_bScreenshotFailed = false;
};

// Name of the single-instance marker shared by all running copies.
constexpr const char* kInstanceMutexName = "Korvax mutex";

// Program start: the single-instance guard and the main window's modal run.
#include "app/KorvaxApp.h"

#include "dialogs/DlgMsg.h"
#include "panel/KorvaxDlg.h"
#include "platform/os/InstanceLock.h"
#include "platform/wnd/ModalHook.h"
#include "res/DialogTemplates.h"

#include <QDateTime>
#include <QEvent>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

// Prints the wall-clock time of a widget's first paint, once.
class FirstPaintProbe : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && !m_reported) {
            m_reported = true;
            std::fprintf(stderr, "first-paint-epoch-ms=%lld\n",
                         static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
        }
        return QObject::eventFilter(watched, e);
    }

private:
    bool m_reported = false;
};

} // namespace

CKorvaxApp::CKorvaxApp() : CWinApp("Korvax") {}

CKorvaxApp::~CKorvaxApp()
{
    if (m_hInstanceMutex)
        CloseHandle(m_hInstanceMutex);
}

bool CKorvaxApp::Ask(const char* text)
{
    CDlgMsg dlg;
    dlg.SetMessage(text);
    return dlg.DoModal() == IDOK;
}

BOOL CKorvaxApp::InitInstance()
{
    res::RegisterDialogTemplates();
    INITCOMMONCONTROLSEX icc{8, 0xFF};
    InitCommonControlsEx(&icc);
    CWinApp::InitInstance();
    AfxEnableControlContainer();

    CKorvaxDlg dlg;
    if (!m_strScreenshotPath.empty() || m_bReportFirstPaint)
        InstallScriptedAnswers(&dlg);

    // Presence marker only: never waited on, held until the process ends.
    if (m_hInstanceMutex)
        CloseHandle(m_hInstanceMutex);
    m_hInstanceMutex = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    if (!m_hInstanceMutex) {
        Ask("Initialize Mutex  failed!");
        wnd::SetModalHook(nullptr);
        return FALSE;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS &&
        !Ask("One of the program routine is already  running! Will you continue?")) {
        wnd::SetModalHook(nullptr);
        return FALSE;
    }

    SetRegistryKey("应用程序向导生成的本地应用程序");
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    wnd::SetModalHook(nullptr);
    return FALSE;
}

void CKorvaxApp::InstallScriptedAnswers(CWnd* mainWnd)
{
    const bool screenshot = !m_strScreenshotPath.empty();
    wnd::SetModalHook([this, mainWnd, screenshot](const wnd::ModalRequest& rq) -> int {
        if (rq.window != mainWnd) {
            if (!screenshot)
                return wnd::kRunInteractively;
            std::string text = rq.text;
            for (char& c : text)
                if (c == '\n')
                    c = ' ';
            std::fprintf(stderr, "%s\n", text.c_str());
            std::fflush(stderr);
            return rq.defaultResult;
        }
        // The main window: watch its first paint, and in a screenshot run take the picture as
        // soon as its modal loop runs, then close it.
        QWidget* widget = mainWnd->GetNativeWidget();
        if (m_bReportFirstPaint && widget)
            widget->installEventFilter(new FirstPaintProbe(widget));
        if (screenshot) {
            QTimer::singleShot(0, widget, [this, mainWnd, widget]() {
                const QImage image = widget->grab().toImage();
                if (!image.save(QString::fromStdString(m_strScreenshotPath), "PNG")) {
                    std::fprintf(stderr, "korvax: cannot write the screenshot to %s\n",
                                 m_strScreenshotPath.c_str());
                    m_bScreenshotFailed = true;
                }
                static_cast<CDialog*>(mainWnd)->EndDialog(IDCANCEL);
            });
        }
        return wnd::kRunInteractively;
    });
}

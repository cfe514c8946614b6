// The standard message box on QMessageBox, answered by the modal hook when one is installed.
#include "platform/shell/MessageBox.h"

#include "platform/wnd/Messages.h"
#include "platform/wnd/ModalHook.h"
#include "platform/wnd/WinApp.h"

#include <QApplication>
#include <QMessageBox>

int MessageBoxA(HWND, const char* text, const char* caption, UINT type)
{
    const UINT buttons = type & 0xF;
    const int defaultResult = buttons == MB_YESNO ? IDYES : IDOK;
    const int answer = wnd::AnswerModal(wnd::ModalRequest{nullptr, text ? text : "", true, defaultResult});
    if (answer != wnd::kRunInteractively)
        return answer;
    if (!QApplication::instance())
        return defaultResult;

    QMessageBox box;
    box.setWindowTitle(QString::fromUtf8(caption ? caption : ""));
    box.setText(QString::fromUtf8(text ? text : ""));
    switch (type & 0xF0) {
    case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    if (buttons == MB_YESNO) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else if (buttons == MB_OKCANCEL) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Cancel:
        return IDCANCEL;
    default:
        return IDOK;
    }
}

int AfxMessageBox(const char* text, UINT type, UINT)
{
    CWinApp* app = AfxGetApp();
    const char* caption = app && !app->m_strAppName.IsEmpty() ? app->m_strAppName.GetString() : "Korvax";
    return MessageBoxA(nullptr, text, caption, type);
}

// Dialog creation from templates, modal loops and the dialog manager's keys.
#include "platform/wnd/Dialog.h"

#include "platform/gdi/Dc.h"
#include "platform/gdi/Gdi.h"
#include "platform/wnd/DialogTemplate.h"
#include "platform/wnd/ModalHook.h"
#include "platform/wnd/NativeWindow.h"
#include "platform/wnd/Static.h"
#include "platform/wnd/WndFactory.h"
#include "platform/wnd/WndInternal.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <cstring>
#include <map>

namespace wnd {
namespace {
std::map<UINT, DialogTemplate>& Templates()
{
    static std::map<UINT, DialogTemplate> templates;
    return templates;
}
} // namespace

void RegisterDialogTemplate(const DialogTemplate& tmpl)
{
    Templates()[tmpl.id] = tmpl;
}

const DialogTemplate* FindDialogTemplate(UINT id)
{
    auto it = Templates().find(id);
    return it == Templates().end() ? nullptr : &it->second;
}
} // namespace wnd

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog()
{
    if (m_hWnd)
        DestroyWindow();
    DestroyDialogFont();
}

void CDialog::DestroyDialogFont()
{
    if (m_hDialogFont) {
        DeleteObject(m_hDialogFont);
        m_hDialogFont = nullptr;
    }
}

BOOL CDialog::CreateFromTemplate(CWnd* parent)
{
    const DialogTemplate* tmpl = wnd::FindDialogTemplate(m_nIDTemplate);
    if (!tmpl || m_hWnd)
        return FALSE;
    m_nDefId = IDOK;
    if (!CreateEx(tmpl->exStyle, "#32770", tmpl->caption.c_str(), tmpl->style & ~WS_VISIBLE & ~WS_CHILD,
                  tmpl->rect, parent, 0))
        return FALSE;

    DestroyDialogFont();
    LOGFONTA lf{};
    lf.lfHeight = -((tmpl->fontPoints * 96 + 36) / 72); // points to pixels at 96 per inch, rounded
    std::strncpy(lf.lfFaceName, tmpl->fontFace.c_str(), LF_FACESIZE - 1);
    m_hDialogFont = CreateFontIndirectA(&lf);
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_hDialogFont), FALSE);

    for (const ControlTemplate& ct : tmpl->controls) {
        CWnd* ctl = wnd::CreateDefaultObject(ct.className.c_str());
        WndAccess::LayerOwned(ctl) = true;
        ctl->CreateEx(0, ct.className.c_str(), ct.text.c_str(), ct.style | WS_CHILD, ct.rect, this, ct.id);
        ctl->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_hDialogFont), FALSE);
        if (ct.imageId && (ct.style & SS_TYPEMASK) == SS_BITMAP)
            ctl->SendMessage(STM_SETIMAGE, 0,
                             reinterpret_cast<LPARAM>(LoadBitmapA(nullptr, MAKEINTRESOURCEA(ct.imageId))));
        if (std::strcmp(ct.className.c_str(), "Button") == 0 && (ct.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            m_nDefId = ct.id;
    }

    if (tmpl->style & DS_CENTER) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
        SetWindowPos(nullptr, area.x() + (area.width() - tmpl->rect.Width()) / 2,
                     area.y() + (area.height() - tmpl->rect.Height()) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    if (SendMessage(WM_INITDIALOG, 0, 0)) {
        // The dialog manager gives the focus to the first tab stop.
        if (CWnd* first = GetNextDlgTabItem(nullptr))
            first->SetFocus();
        else
            SetFocus();
    }
    return m_hWnd != nullptr;
}

INT_PTR CDialog::DoModal()
{
    m_bEndRequested = false;
    m_nModalResult = -1;
    if (!CreateFromTemplate(m_pParentWnd))
        return -1;
    if (!m_bEndRequested) {
        std::string text;
        for (CWnd* c : GetChildren()) {
            if (std::strcmp(c->GetWndClassName(), "Static") == 0 && c->GetWindowTextLength() > 0) {
                CString t;
                c->GetWindowText(t);
                if (!text.empty())
                    text += "\n";
                text += t.GetString();
            }
        }
        const int answer =
            wnd::AnswerModal(wnd::ModalRequest{this, text, false, static_cast<int>(LOWORD(GetDefID()))});
        if (answer != wnd::kRunInteractively)
            EndDialog(answer);
    }
    if (!m_bEndRequested && m_hWnd) {
        WndAccess::Native(this)->setWindowModality(Qt::ApplicationModal);
        ShowWindow(SW_SHOW);
        SetForegroundWindow();
        QEventLoop loop;
        m_pLoop = &loop;
        loop.exec();
        m_pLoop = nullptr;
    }
    const int result = m_nModalResult;
    if (m_hWnd)
        DestroyWindow();
    return result;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    const DialogTemplate* tmpl = wnd::FindDialogTemplate(nIDTemplate);
    if (!CreateFromTemplate(pParentWnd))
        return FALSE;
    if (tmpl && (tmpl->style & WS_VISIBLE))
        ShowWindow(SW_SHOW);
    return TRUE;
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    m_bEndRequested = true;
    if (m_pLoop)
        m_pLoop->exit(0);
    else if (m_hWnd)
        ShowWindow(SW_HIDE);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

BOOL CDialog::OnCmdMsg(UINT id, int code)
{
    if (code != BN_CLICKED)
        return FALSE;
    if (id == IDOK) {
        OnOK();
        return TRUE;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return TRUE;
    }
    return FALSE;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnInitDialog();
    return CWnd::WindowProc(message, wParam, lParam);
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: {
        CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
        HBRUSH brush =
            reinterpret_cast<HBRUSH>(SendMessage(WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(m_hWnd)));
        CRect rc;
        GetClientRect(&rc);
        if (dc && brush)
            ::FillRect(dc->GetSafeHdc(), &rc, brush);
        return 1;
    }
    case WM_CLOSE:
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return 0;
    case DM_GETDEFID:
        return MAKELONG(static_cast<WORD>(m_nDefId), DC_HASDEFID);
    case DM_SETDEFID:
        m_nDefId = static_cast<UINT>(wParam);
        return TRUE;
    default:
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
}

void CDialog::SetDefID(UINT id)
{
    SendMessage(DM_SETDEFID, id, 0);
}

DWORD CDialog::GetDefID() const
{
    return MAKELONG(static_cast<WORD>(m_nDefId), DC_HASDEFID);
}

void CDialog::NextDlgCtrl()
{
    GotoDlgCtrl(GetNextDlgTabItem(GetFocus(), FALSE));
}

void CDialog::PrevDlgCtrl()
{
    GotoDlgCtrl(GetNextDlgTabItem(GetFocus(), TRUE));
}

void CDialog::GotoDlgCtrl(CWnd* ctl)
{
    if (ctl)
        ctl->SetFocus();
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    return IsDialogMessage(msg);
}

BOOL CDialog::IsDialogMessage(MSG* msg)
{
    if (!msg || msg->message != WM_KEYDOWN || !m_hWnd)
        return FALSE;
    CWnd* target = CWnd::FromHandle(msg->hwnd);
    if (!target || (target != this && target->GetTopLevelParent() != this))
        return FALSE;
    const UINT code =
        static_cast<UINT>(target->SendMessage(WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg)));
    if (code & DLGC_WANTALLKEYS)
        return FALSE;
    switch (msg->wParam) {
    case VK_TAB:
        if (code & DLGC_WANTTAB)
            return FALSE;
        if (GetKeyState(VK_SHIFT) < 0)
            PrevDlgCtrl();
        else
            NextDlgCtrl();
        return TRUE;
    case VK_RETURN: {
        // A focused push button answers Enter itself; otherwise the default button does.
        UINT id = LOWORD(GetDefID());
        HWND from = nullptr;
        if (target != this && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)))
            id = static_cast<UINT>(target->GetDlgCtrlID());
        if (CWnd* button = GetDlgItem(static_cast<int>(id))) {
            if (!button->IsWindowEnabled())
                return TRUE;
            from = button->m_hWnd;
        }
        SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                    reinterpret_cast<LPARAM>(from));
        return TRUE;
    }
    case VK_ESCAPE: {
        CWnd* cancel = GetDlgItem(IDCANCEL);
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                    reinterpret_cast<LPARAM>(cancel ? cancel->m_hWnd : nullptr));
        return TRUE;
    }
    default:
        return FALSE;
    }
}

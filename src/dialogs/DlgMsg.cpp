// The skinned message dialog.
#include "dialogs/DlgMsg.h"

#include "app/AppDir.h"
#include "res/Resource.h"
#include "res/SkinText.h"

#include <cstring>

namespace {
constexpr int kWidth = 351;
constexpr int kHeight = 127;
// The message area holds four lines of this height, which fits the longest notice.
constexpr int kMessageFontPixels = 12;
} // namespace

CDlgMsg::CDlgMsg(CWnd* pParent) : CBkDialogST(IDD_DLG_MSG, pParent) {}

CDlgMsg::~CDlgMsg() = default;

void CDlgMsg::DoDataExchange(CDataExchange* pDX)
{
    CBkDialogST::DoDataExchange(pDX);
    DDX_Control(pDX, IDOK, m_btnYes);
    DDX_Control(pDX, IDCANCEL, m_btnNo);
    DDX_Text(pDX, IDC_MSG_TEXT, m_strMessage);
}

BOOL CDlgMsg::OnInitDialog()
{
    CBkDialogST::OnInitDialog();
    SetWindowPos(nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER);

    char dir[kAppDirBufferSize] = {};
    GetWindowAppDir(m_hWnd, dir);
    m_strAppDir = dir;
    m_strResourceDir = m_strAppDir + "/Resource/";

    ApplySkin(IDB_MSG_SKIN);

    m_btnYes.MoveWindow(94, 83, 72, 26, TRUE);
    m_btnNo.MoveWindow(212, 83, 72, 26, TRUE);
    if (CWnd* text = GetDlgItem(IDC_MSG_TEXT))
        text->MoveWindow(93, 17, 242, 65, TRUE);

    m_btnYes.SetIcon(m_strResourceDir + "WarningYesH.ico", m_strResourceDir + "WarningYes.ico");
    m_btnNo.SetIcon(m_strResourceDir + "WarningNoH.ico", m_strResourceDir + "WarningNo.ico");

    // The font lives as long as the dialog, so the message keeps it for every paint.
    LOGFONTA lf{};
    lf.lfHeight = -kMessageFontPixels;
    std::strncpy(lf.lfFaceName, kSkinFontFace, LF_FACESIZE - 1);
    m_fontMessage.DeleteObject();
    m_fontMessage.CreateFontIndirect(&lf);
    if (CWnd* text = GetDlgItem(IDC_MSG_TEXT))
        text->SetFont(&m_fontMessage);
    return TRUE;
}

HBRUSH CDlgMsg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH brush = CBkDialogST::OnCtlColor(pDC, pWnd, nCtlColor);
    if (pWnd && pWnd->GetDlgCtrlID() == IDC_MSG_TEXT)
        pDC->SetTextColor(RGB(200, 200, 200));
    return brush;
}

// Main window: construction, control binding and command routing.
#include "panel/KorvaxDlg.h"

#include "res/Resource.h"

CKorvaxDlg::CKorvaxDlg(CWnd* pParent)
    : CBkDialogST(IDD_KORVAX_DIALOG, pParent), m_hIcon(LoadIconA(nullptr, MAKEINTRESOURCEA(IDR_MAINFRAME)))
{
}

CKorvaxDlg::~CKorvaxDlg()
{
    // The controls go before the window they sit on; the icon is ours.
    if (m_hWnd)
        DestroyWindow();
    if (m_hIcon)
        DestroyIcon(m_hIcon);
}

void CKorvaxDlg::DoDataExchange(CDataExchange* pDX)
{
    CBkDialogST::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BTN_MIN, m_btnMin);
    DDX_Control(pDX, IDC_BTN_CLOSE, m_btnClose);
    DDX_Control(pDX, IDC_BTN_STEP2, m_btnStep2);
    DDX_Control(pDX, IDC_BTN_STEP5, m_btnStep5);
    DDX_Control(pDX, IDC_BTN_STEP10, m_btnStep10);
    DDX_Control(pDX, IDC_BTN_EASY, m_btnEasy);
    DDX_Control(pDX, IDC_BTN_ADVANCE, m_btnAdvance);
    DDX_Control(pDX, IDC_BTN_BIOS, m_btnBios);
    DDX_Control(pDX, IDC_BTN_INFO, m_btnInfo);
    DDX_Control(pDX, IDC_BTN_SET, m_btnSet);
    DDX_Control(pDX, IDC_BTN_APPLY, m_btnApply);
    DDX_Control(pDX, IDC_BTN_RESET, m_btnReset);
    DDX_Control(pDX, IDC_LBL_PLOT1_MAX, m_lblPlot1Max);
    DDX_Control(pDX, IDC_LBL_PLOT1_MIN, m_lblPlot1Min);
    DDX_Control(pDX, IDC_LBL_CORE_CLOCK, m_lblCoreClock);
    DDX_Control(pDX, IDC_LBL_PLOT2_MAX, m_lblPlot2Max);
    DDX_Control(pDX, IDC_LBL_PLOT2_MIN, m_lblPlot2Min);
    DDX_Control(pDX, IDC_LBL_MEM_CLOCK, m_lblMemClock);
    for (int i = 0; i < 5; ++i) {
        DDX_Control(pDX, IDC_BTN_REDUCE1 + i, m_btnReduce[i]);
        DDX_Control(pDX, IDC_BTN_ADD1 + i, m_btnAdd[i]);
    }
    for (int i = 0; i < 5; ++i)
        DDX_Control(pDX, IDC_SLIDER1 + i, m_slider[i]);
    for (int i = 0; i < 3; ++i)
        DDX_Control(pDX, IDC_BTN_PROFILE1 + i, m_btnProfile[i]);
    DDX_Control(pDX, IDC_BTN_SAVE, m_btnSave);
    DDX_Control(pDX, IDC_BTN_LOAD, m_btnLoad);
    DDX_Control(pDX, IDC_LBL_PROFILES, m_lblProfiles);
    DDX_Control(pDX, IDC_BTN_LOCK, m_btnLock);
    DDX_Control(pDX, IDC_BTN_FAN_MODE, m_btnFanMode);
    for (int i = 0; i < 5; ++i) {
        DDX_Control(pDX, IDC_LBL_ROW_NAME1 + i, m_lblRowName[i]);
        DDX_Control(pDX, IDC_LBL_ROW_VALUE1 + 2 * i, m_lblRowValue[i]);
        DDX_Control(pDX, IDC_LBL_ROW_UNIT1 + 2 * i, m_lblRowUnit[i]);
    }
    DDX_Control(pDX, IDC_LBL_TEMP, m_lblTemp);
    DDX_Control(pDX, IDC_LBL_CARD_INFO, m_lblCardInfo);

    DDX_Text(pDX, IDC_LBL_PLOT1_MAX, m_nPlot1Max);
    DDX_Text(pDX, IDC_LBL_PLOT1_MIN, m_nPlot1Min);
    DDX_Text(pDX, IDC_LBL_CORE_CLOCK, m_nCoreClock);
    DDX_Text(pDX, IDC_LBL_PLOT2_MAX, m_nPlot2Max);
    DDX_Text(pDX, IDC_LBL_PLOT2_MIN, m_nPlot2Min);
    DDX_Text(pDX, IDC_LBL_MEM_CLOCK, m_nMemClock);
}

BOOL CKorvaxDlg::OnCmdMsg(UINT id, int code)
{
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_BTN_CLOSE:
            OnCancel();
            return TRUE;
        case IDC_BTN_EASY:
            OnEasyMode();
            return TRUE;
        case IDC_BTN_ADVANCE:
            OnAdvanceMode();
            return TRUE;
        case IDC_BTN_STEP2:
        case IDC_BTN_STEP5:
        case IDC_BTN_STEP10:
            m_nStep = static_cast<int>(id - IDC_BTN_STEP2) + 1;
            UpdateStepIcons();
            return TRUE;
        default:
            break;
        }
    }
    return CBkDialogST::OnCmdMsg(id, code);
}

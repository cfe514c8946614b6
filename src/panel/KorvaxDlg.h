// CKorvaxDlg: the main window and the owner of everything the program holds while it runs: the
// driver access object, the skinned controls of the panel, the monitoring values, the five
// adjustment rows and the options loaded from the configuration file.
#pragma once

#include "controls/BitmapSlider.h"
#include "controls/BkDialogST.h"
#include "controls/ButtonST.h"
#include "controls/Label.h"
#include "controls/Plot.h"
#include "gpu/GpuControl.h"

class CKorvaxDlg : public CBkDialogST
{
public:
    explicit CKorvaxDlg(CWnd* pParent = nullptr);
    ~CKorvaxDlg() override;

    // Card families.
    static constexpr int kFamilyOffset = 1; // PCI device 0x1180 or 0x1189: offsets, power and frame target
    static constexpr int kFamilyClock = 2;  // every other card: absolute clocks and core voltage

    // Panel modes.
    static constexpr int kModeEasy = 1;
    static constexpr int kModeAdvance = 2;

    // Window timers.
    static constexpr UINT_PTR kTimerClocks = 1;
    static constexpr UINT_PTR kTimerFan = 2;
    static constexpr UINT_PTR kTimerTemperature = 3;
    static constexpr UINT_PTR kTimerStartMinimized = 4;

    void ShowEasyControls(BOOL bShow);
    void ShowAdvanceControls(BOOL bShow);
    void LoadButtonIcons();
    void LayoutControls();
    void SetupLabels();
    void SetupPlots();
    void SetupSliders();
    void UpdateStepIcons();

    // The card's name, a tab and its memory ("2048 MB   GDDR5"; nothing when the size is 0).
    CString BuildCardLine();

    // The configuration file: loaded at start, or created on the first start; the card's own
    // values stored once the rows hold them.
    void InitConfigOffset();
    void InitConfigClock();
    void SaveDefaultsOffset();
    void SaveDefaultsClock();

    HICON m_hIcon;
    CString m_strAppDir;
    CString m_strResourceDir;
    CString m_strCfgFile;

    CButtonST m_btnMin, m_btnClose, m_btnStep2, m_btnStep5, m_btnStep10, m_btnEasy, m_btnAdvance, m_btnBios,
        m_btnInfo, m_btnSet, m_btnApply, m_btnReset;
    CButtonST m_btnReduce[5];
    CButtonST m_btnAdd[5];
    CButtonST m_btnProfile[3], m_btnSave, m_btnLoad, m_btnLock, m_btnFanMode;

    int m_nPlot1Max = 0, m_nPlot1Min = 0, m_nCoreClock = 0, m_nCoreClockKHz = 0;
    int m_nPlot2Max = 0, m_nPlot2Min = 0, m_nMemClock = 0, m_nMemClockKHz = 0;
    int m_nShownCoreClock = 0, m_nShownMemClock = 0;
    int m_nTemperature = 0, m_nShownTemperature = 0;
    int m_nBoostCoreClock = 0, m_nBoostMemClock = 0;

    rlcuv::CPlot m_plotCore, m_plotMem;

    int m_nMode = kModeEasy;
    int m_nFamily = kFamilyClock;
    int m_nStep = 1;
    int m_nProfile = 1;
    int m_bLock = 1;
    int m_bLockGpu[4] = {1, 1, 1, 1};
    int m_bFanAuto = 1;
    int m_bFanAutoGpu[4] = {1, 1, 1, 1};
    int m_bCfgInitialized = 0;
    int m_bAutoOverClock = 0;
    int m_bStartupMinimize = 0;
    int m_bSynchronize = 1;

    CLabel m_lblPlot1Max, m_lblPlot1Min, m_lblCoreClock, m_lblPlot2Max, m_lblPlot2Min, m_lblMemClock,
        m_lblProfiles;
    CLabel m_lblRowName[5];
    CLabel m_lblRowValue[5];
    CLabel m_lblRowUnit[5];
    CLabel m_lblTemp, m_lblCardInfo;

    int m_nRow1 = 0, m_nRow1Max = 100, m_nRow1Min = 0;
    int m_nRow2 = 0, m_nRow2Max = 100, m_nRow2Min = 0;
    int m_nRow3 = 0, m_nRow3Max = 100, m_nRow3Min = 0;
    int m_nRow4 = 0, m_nRow4Max = 100, m_nRow4Min = 0;
    int m_nDefaultPower = 0;
    int m_nRow5 = 0, m_nRow5Max = 100, m_nRow5Min = 0;
    int m_nFanReading = 0;
    int m_bRowEnabled[5] = {1, 1, 1, 1, 1};
    float m_fShaderRatio = 0.0f;

    CBitmapSlider m_slider[5];

    GpuControl m_gpu;
    int m_bResaveStartOC = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnCmdMsg(UINT id, int code) override;

    void OnEasyMode();
    void OnAdvanceMode();
};

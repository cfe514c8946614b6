// Main window: the start-up sequence and the card line.
#include "panel/KorvaxDlg.h"

#include "app/AppDir.h"
#include "config/ConfigFile.h"
#include "dialogs/DlgMsg.h"
#include "res/Resource.h"

#include <cstdio>
#include <cstring>

namespace {
constexpr int kWindowWidth = 649;
constexpr int kWindowHeight = 413;
constexpr UINT kClocksPeriodMs = 500;
constexpr UINT kFanPeriodMs = 500;
constexpr UINT kTemperaturePeriodMs = 200;
constexpr UINT kStartMinimizedPeriodMs = 10;
} // namespace

BOOL CKorvaxDlg::OnInitDialog()
{
    CBkDialogST::OnInitDialog();
    SetWindowPos(nullptr, 0, 0, kWindowWidth, kWindowHeight, SWP_NOMOVE | SWP_NOZORDER);
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    char dir[kAppDirBufferSize] = {};
    GetWindowAppDir(m_hWnd, dir);
    m_strAppDir = dir;
    m_strResourceDir = m_strAppDir + "/Resource/";

    ApplySkin(IDB_MAIN_SKIN);

    CDlgMsg dlgMsg;
    const int init = m_gpu.Initialize();
    if (init == 1) {
        dlgMsg.SetMessage("Initial nvapi fail!");
        dlgMsg.DoModal();
        dlgMsg.SetMessage("Application will not work normally!");
        dlgMsg.DoModal();
    } else if (init == 2) {
        dlgMsg.SetMessage("NvAPI_EnumPhysicalGPUs failed");
        dlgMsg.DoModal();
        dlgMsg.SetMessage("Application will not work normally!");
        dlgMsg.DoModal();
    }

    m_strCfgFile = config::CfgFileName(m_gpu.m_wDeviceId);

    WORD vendor = 0, device = 0, subVendor = 0, subSystem = 0;
    m_gpu.GetPciIds(-1, vendor, device, subVendor, subSystem);
    char deviceText[8] = {};
    std::snprintf(deviceText, sizeof(deviceText), "%04x", device);
    m_nFamily = (std::strcmp(deviceText, "1180") == 0 || std::strcmp(deviceText, "1189") == 0) ? kFamilyOffset
                                                                                               : kFamilyClock;

    m_lblCardInfo.SetWindowText(BuildCardLine());

    if (m_nFamily == kFamilyOffset) {
        InitConfigOffset();
        if (!m_bCfgInitialized)
            SaveDefaultsOffset();
    } else {
        InitConfigClock();
        if (!m_bCfgInitialized)
            SaveDefaultsClock();
    }

    if (m_nMode == kModeEasy) {
        ShowEasyControls(TRUE);
        ShowAdvanceControls(FALSE);
    } else {
        ShowEasyControls(FALSE);
        ShowAdvanceControls(TRUE);
    }
    LoadButtonIcons();
    LayoutControls();
    SetupPlots();
    SetupLabels();
    SetupSliders();

    SetTimer(kTimerClocks, kClocksPeriodMs, nullptr);
    SetTimer(kTimerFan, kFanPeriodMs, nullptr);
    SetTimer(kTimerTemperature, kTemperaturePeriodMs, nullptr);
    SetTimer(kTimerStartMinimized, kStartMinimizedPeriodMs, nullptr);
    return TRUE;
}

CString CKorvaxDlg::BuildCardLine()
{
    NvPhysicalGpuHandle gpu = m_gpu.Handle(-1);
    char name[NVAPI_SHORT_STRING_MAX] = {};
    m_gpu.m_nStatus = m_gpu.Driver().NvAPI_GPU_GetFullName(gpu, name);
    if (m_gpu.m_nStatus != 0)
        name[0] = '\0';
    name[sizeof(name) - 1] = '\0';

    NvU32 kilobytes = 0;
    m_gpu.m_nStatus = m_gpu.Driver().NvAPI_GPU_GetPhysicalFrameBufferSize(gpu, &kilobytes);
    const int megabytes = static_cast<int>(kilobytes >> 10);

    CString memory;
    if (megabytes != 0) {
        std::string type;
        m_gpu.GetRamTypeName(-1, type);
        memory.Format("%d MB   %s", megabytes, type.c_str());
    }
    return CString(name) + "\t" + memory;
}

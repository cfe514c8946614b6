// Main window: loading the configuration file at start, or creating it on a first start and
// storing the card's own values once the rows hold them.
#include "panel/KorvaxDlg.h"

#include "app/AutoRun.h"
#include "config/ConfigFile.h"
#include "dialogs/DlgMsg.h"

namespace {

config::StartupHooks StartupHooks(CWnd* parent)
{
    config::StartupHooks hooks;
    hooks.registerAutoRun = [] { return RegisterAutoRun(); };
    hooks.showMessage = [parent](const char* text) {
        CDlgMsg dlg(parent);
        dlg.SetMessage(text);
        dlg.DoModal();
    };
    return hooks;
}

} // namespace

void CKorvaxDlg::InitConfigOffset()
{
    config::StartupOptions options{m_bCfgInitialized, m_bAutoOverClock, m_bStartupMinimize, m_bSynchronize};
    config::InitConfigOffset(m_strCfgFile, m_gpu.m_wDeviceId, options, StartupHooks(this));
    m_bCfgInitialized = options.bCfgInitialized;
    m_bAutoOverClock = options.bAutoOverClock;
    m_bStartupMinimize = options.bStartupMinimize;
    m_bSynchronize = options.bSynchronize;
}

void CKorvaxDlg::InitConfigClock()
{
    config::StartupOptions options{m_bCfgInitialized, m_bAutoOverClock, m_bStartupMinimize, m_bSynchronize};
    config::InitConfigClock(m_strCfgFile, m_gpu.m_wDeviceId, options, StartupHooks(this));
    m_bCfgInitialized = options.bCfgInitialized;
    m_bAutoOverClock = options.bAutoOverClock;
    m_bStartupMinimize = options.bStartupMinimize;
    m_bSynchronize = options.bSynchronize;
}

void CKorvaxDlg::SaveDefaultsOffset()
{
    config::DefaultRows rows{m_nRow1, m_nRow2, m_nRow3, m_nRow4, m_nRow5, m_bFanAuto};
    config::SaveDefaultsOffset(m_strCfgFile, rows);
}

void CKorvaxDlg::SaveDefaultsClock()
{
    config::DefaultRows rows{m_nRow1, m_nRow2, m_nRow3, m_nRow4, m_nRow5, m_bFanAuto};
    config::SaveDefaultsClock(m_strCfgFile, rows);
}

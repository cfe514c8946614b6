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

// The start-up options travel to the configuration routines and back.
template <typename Routine> void RunInitConfig(CKorvaxDlg& dlg, Routine routine)
{
    config::StartupOptions options{dlg.m_bCfgInitialized, dlg.m_bAutoOverClock, dlg.m_bStartupMinimize,
                                   dlg.m_bSynchronize};
    routine(dlg.m_strCfgFile, dlg.m_gpu.m_wDeviceId, options, StartupHooks(&dlg));
    dlg.m_bCfgInitialized = options.bCfgInitialized;
    dlg.m_bAutoOverClock = options.bAutoOverClock;
    dlg.m_bStartupMinimize = options.bStartupMinimize;
    dlg.m_bSynchronize = options.bSynchronize;
}

config::DefaultRows RowsOf(const CKorvaxDlg& dlg)
{
    return config::DefaultRows{dlg.m_nRow1, dlg.m_nRow2, dlg.m_nRow3,
                               dlg.m_nRow4, dlg.m_nRow5, dlg.m_bFanAuto};
}

} // namespace

void CKorvaxDlg::InitConfigOffset()
{
    RunInitConfig(*this, config::InitConfigOffset);
}

void CKorvaxDlg::InitConfigClock()
{
    RunInitConfig(*this, config::InitConfigClock);
}

void CKorvaxDlg::SaveDefaultsOffset()
{
    config::SaveDefaultsOffset(m_strCfgFile, RowsOf(*this));
}

void CKorvaxDlg::SaveDefaultsClock()
{
    config::SaveDefaultsClock(m_strCfgFile, RowsOf(*this));
}

// The main window on the simulated driver: a chosen scenario, the executable's folder in a
// temporary place (configuration files land there), and every dialog answered and recorded.
#pragma once

#include "panel/KorvaxDlg.h"
#include "platform/os/ModulePath.h"
#include "platform/wnd/ModalHook.h"
#include "res/DialogTemplates.h"
#include "tests/driver/SimLibrary.h"
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace test {

struct Shown
{
    std::string text;
    bool standardBox;
};

class PanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        res::RegisterDialogTemplates();
        // The program's default driver is the simulated one beside the real executable.
        ::setenv("KORVAX_NVAPI", SimLibraryPath().c_str(), 1);
        std::filesystem::copy(BinDir() + "/Resource", appDir.file("Resource"));
        os::OverrideExecutablePath(appDir.file("korvax"));
        wnd::SetModalHook([this](const wnd::ModalRequest& r) {
            shown.push_back({r.text, r.standardMessageBox});
            return r.defaultResult;
        });
    }
    void TearDown() override
    {
        dlg.reset();
        wnd::SetModalHook(nullptr);
        os::OverrideExecutablePath("");
    }

    // Starts the driver on the scenario and opens the main window (modeless, so the test can
    // look at it while it runs).
    void Open(const std::string& scenario)
    {
        ASSERT_EQ(sim.Start(scenario), NVAPI_OK);
        dlg = std::make_unique<CKorvaxDlg>();
        ASSERT_TRUE(dlg->Create(IDD_KORVAX_DIALOG));
        dlg->ShowWindow(SW_SHOW);
    }

    std::string Scenario(const std::string& text)
    {
        const std::string path = appDir.file("scenario.txt");
        TempDir::Write(path, text);
        return path;
    }

    TempDir appDir;
    SimLibrary sim;
    std::unique_ptr<CKorvaxDlg> dlg;
    std::vector<Shown> shown;
};

} // namespace test

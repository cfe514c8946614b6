// GpuControl on the simulated driver: one loader for the test process, scenario selection, the
// message boxes Initialize shows, and stdout capture for the trace lines.
#pragma once

#include "gpu/GpuControl.h"
#include "platform/wnd/Messages.h"
#include "platform/wnd/ModalHook.h"
#include "tests/driver/SimLibrary.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace test {

inline NvApiLoader& SimLoader()
{
    static NvApiLoader loader(SimLibraryPath());
    return loader;
}

class GpuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        wnd::SetModalHook([this](const wnd::ModalRequest& r) {
            boxes.push_back(r.text);
            return r.defaultResult;
        });
    }
    void TearDown() override { wnd::SetModalHook(nullptr); }

    // Selects the scenario, starts the driver afresh and initialises a new GpuControl on it.
    void Start(const std::string& scenario, int expected = 0)
    {
        ASSERT_EQ(sim.Start(scenario), NVAPI_OK);
        ASSERT_EQ(SimLoader().Load(), NVAPI_OK);
        ctl = sim.Control();
        gpu = std::make_unique<GpuControl>(SimLoader());
        ASSERT_EQ(gpu->Initialize(), expected);
        ctl->clearWriteLog();
    }

    static void BeginCapture() { testing::internal::CaptureStdout(); }
    static std::string EndCapture()
    {
        std::fflush(stdout);
        return testing::internal::GetCapturedStdout();
    }

    SimLibrary sim;
    const SimControlApi* ctl = nullptr;
    std::unique_ptr<GpuControl> gpu;
    std::vector<std::string> boxes;
};

} // namespace test

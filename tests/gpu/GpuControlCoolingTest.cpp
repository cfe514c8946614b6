// Temperature, fan, power target and frame-rate target: version-word fallbacks and retries driven by
// fault injection, asserted on the write log and the trace lines.
#include "platform/os/Clock.h"
#include "tests/gpu/GpuTestSupport.h"
#include "tests/support/TempDir.h"

#include <algorithm>

namespace {

using GpuCooling = test::GpuTest;

TEST_F(GpuCooling, TemperatureOnTheSecondVersionWordAfterOneTraceLine)
{
    Start("offset");
    ctl->injectFault(nvid::GPU_GetThermalSettings, kSimFaultVersionWord, NV_GPU_THERMAL_SETTINGS_VER_2, 0);
    int temp = -1;
    BeginCapture();
    EXPECT_EQ(gpu->GetTemperature(temp, -1), 0);
    EXPECT_EQ(EndCapture(), "Get current state  NVAPI_INCOMPATIBLE_STRUCT_VERSION\n");
    EXPECT_GT(temp, 20);
    EXPECT_EQ(gpu->m_nTemperature, temp);

    ctl->clearFaults();
    ctl->injectFault(nvid::GPU_GetThermalSettings, kSimFaultAlways, 0, 0);
    BeginCapture();
    EXPECT_EQ(gpu->GetTemperature(temp, -1), 1);
    EXPECT_EQ(EndCapture(), "Get current state  NVAPI_ERROR\nGet current state  NVAPI_ERROR\n");
    EXPECT_EQ(temp, 0);
    EXPECT_EQ(gpu->m_nTemperature, 0);
}

TEST_F(GpuCooling, CoolerSettingsTryThreeVersionWords)
{
    Start("offset");
    // Accepted only in its smallest form: two refusals first.
    ctl->injectFault(nvid::GPU_GetCoolerSettings, kSimFaultVersionWord, NV_GPU_COOLER_SETTINGS_VER_3, 0);
    ctl->injectFault(nvid::GPU_GetCoolerSettings, kSimFaultVersionWord, NV_GPU_COOLER_SETTINGS_VER_1, 0);
    NV_GPU_COOLER_SETTINGS rec = {};
    BeginCapture();
    EXPECT_EQ(gpu->GetCoolerSettings(&rec, 0), 0);
    EXPECT_EQ(EndCapture(), "Get current state  NVAPI_INCOMPATIBLE_STRUCT_VERSION\n"
                            "Get current state  NVAPI_INCOMPATIBLE_STRUCT_VERSION\n");
    EXPECT_EQ(rec.version, NV_GPU_COOLER_SETTINGS_VER_1_BIG);
    EXPECT_EQ(rec.cooler0.defaultMinLevel, 30u);

    // None accepted: level 0 within 0-100 and three trace lines.
    ctl->injectFault(nvid::GPU_GetCoolerSettings, kSimFaultAlways, 0, 0);
    rec.cooler0.currentLevel = 55;
    BeginCapture();
    EXPECT_EQ(gpu->GetCoolerSettings(&rec, 0), 1);
    std::string trace = EndCapture();
    EXPECT_EQ(std::count(trace.begin(), trace.end(), '\n'), 3);
    EXPECT_EQ(rec.cooler0.currentLevel, 0u);
    EXPECT_EQ(rec.cooler0.defaultMinLevel, 0u);
    EXPECT_EQ(rec.cooler0.defaultMaxLevel, 100u);
}

TEST_F(GpuCooling, FailedFanReadReturnsZeroAndKeepsTheLastLevel)
{
    Start("offset");
    ctl->setLoad(0, 0);
    int level = gpu->GetFanLevel();
    EXPECT_GE(level, 30);
    EXPECT_EQ(gpu->m_nFanLevel, level);
    ctl->injectFault(nvid::GPU_GetCoolerSettings, kSimFaultAlways, 0, 0);
    BeginCapture();
    EXPECT_EQ(gpu->GetFanLevel(), 0);
    EndCapture();
    EXPECT_EQ(gpu->m_nFanLevel, level);
}

TEST_F(GpuCooling, FanLevelRetriesSendTheSameLevel)
{
    Start("offset");
    ctl->injectFault(nvid::GPU_SetCoolerLevels, kSimFaultVersionWord, NV_GPU_COOLER_LEVELS_VER_BIG, 0);
    EXPECT_EQ(gpu->SetFanLevel(NVAPI_COOLER_POLICY_MANUAL, 55, 0), 0);
    EXPECT_EQ(gpu->m_nFanLevel, 55);
    EXPECT_EQ(sim.WriteLog(), (std::vector<std::string>{
                                  "SetCoolerLevels gpu=0 ver=0x100A4 level=55 policy=1 -> -9",
                                  "SetCoolerLevels gpu=0 ver=0x1001C level=55 policy=1 -> 0",
                              }));
    ctl->clearWriteLog();
    ctl->injectFault(nvid::GPU_SetCoolerLevels, kSimFaultAlways, 0, 0);
    EXPECT_EQ(gpu->SetFanLevel(NVAPI_COOLER_POLICY_MANUAL, 65, 0), 1);
    EXPECT_EQ(gpu->m_nFanLevel, 55);
    auto log = sim.WriteLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[2], "SetCoolerLevels gpu=0 ver=0x1001C level=65 policy=1 -> -1");
}

TEST_F(GpuCooling, FanSelfTestOfTheRowsPassesOnAWorkingFanOnly)
{
    Start("offset");
    ctl->setTimeSource(&os::Clock::NowMs); // the card's time is the program's (test) clock
    ctl->setLoad(0, 0);
    int current = gpu->GetFanLevel();
    ASSERT_EQ(gpu->SetFanLevel(NVAPI_COOLER_POLICY_MANUAL, current + 5, -1), 0);
    Sleep(1200);
    EXPECT_EQ(gpu->GetFanLevel(), current + 5);
    ASSERT_EQ(gpu->SetFanLevel(NVAPI_COOLER_POLICY_AUTO, current, -1), 0);

    ctl->setFanStuck(0, 1);
    Sleep(5000);
    current = gpu->GetFanLevel();
    ASSERT_EQ(gpu->SetFanLevel(NVAPI_COOLER_POLICY_MANUAL, current + 5, -1), 0);
    Sleep(1200);
    EXPECT_EQ(gpu->GetFanLevel(), current);
    ctl->setTimeSource(nullptr);
}

TEST_F(GpuCooling, PowerTargetReadAndWrite)
{
    Start("offset");
    GpuPerfInfo info = {};
    EXPECT_EQ(gpu->GetPowerTarget(&info), 0);
    EXPECT_EQ(info.nPowerMin, 50000u);
    EXPECT_EQ(info.nPowerDefault, 100000u);
    EXPECT_EQ(info.nPowerMax, 132000u);
    EXPECT_EQ(info.nPowerTarget, 100000u);
    info.nPowerTarget = 120000;
    EXPECT_EQ(gpu->SetPowerTarget(info, -1), 0);
    info.nPowerTarget = 200000;
    EXPECT_EQ(gpu->SetPowerTarget(info, -1), 1);
    GpuPerfInfo back = {};
    EXPECT_EQ(gpu->GetPowerTarget(&back), 0);
    EXPECT_EQ(back.nPowerTarget, 120000u);

    // No power policy on the clock family.
    Start("clock");
    back = {};
    back.nPowerMax = 77;
    EXPECT_EQ(gpu->GetPowerTarget(&back), 1);
    EXPECT_EQ(back.nPowerMax, 77u);
}

TEST_F(GpuCooling, InvalidPowerInfoStopsBothOperationsBeforeAnyStatusCall)
{
    test::TempDir dir;
    test::TempDir::Write(dir.file("p.scenario"), "[card]\nfamily = offset\npower-info-valid = no\n");
    Start(dir.file("p.scenario"));
    ctl->injectFault(nvid::GPU_ClientPowerPoliciesGetStatus, kSimFaultAlways, 0, 0);
    GpuPerfInfo info = {};
    info.nPowerTarget = 110000;
    EXPECT_EQ(gpu->SetPowerTarget(info, 0), 1);
    EXPECT_EQ(gpu->GetPowerTarget(&info), 1);
    EXPECT_EQ(info.nPowerTarget, 110000u);
    EXPECT_TRUE(sim.WriteLog().empty());
}

TEST_F(GpuCooling, FrameRateTargetIsStoredWithTheEnableBits)
{
    Start("offset");
    const struct
    {
        unsigned rate;
        const char* value;
    } cases[] = {{40, "0xF0000028"}, {60, "0xF000003C"}, {255, "0xF00000FF"}, {0x10000000, "0x0"}};
    for (const auto& c : cases) {
        ctl->clearWriteLog();
        EXPECT_EQ(gpu->SetFrameRateTarget(c.rate), 0);
        EXPECT_EQ(sim.WriteLog(),
                  (std::vector<std::string>{"DRS_SetSetting ver=0x13020 setting=0x10834FEE type=0 "
                                            "value=" +
                                                std::string(c.value) + " -> 0",
                                            "DRS_SaveSettings -> 0"}));
    }
}

TEST_F(GpuCooling, FailedFrameRateStepStillClosesItsSession)
{
    Start("offset");
    ctl->injectFault(nvid::DRS_SaveSettings, kSimFaultAlways, 0, 0);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(gpu->SetFrameRateTarget(60), 1);
    ctl->clearFaults();
    EXPECT_EQ(gpu->SetFrameRateTarget(60), 0); // no session was left open
    ctl->injectFault(nvid::DRS_CreateSession, kSimFaultAlways, 0, 0);
    EXPECT_EQ(gpu->SetFrameRateTarget(60), 1);
}

} // namespace

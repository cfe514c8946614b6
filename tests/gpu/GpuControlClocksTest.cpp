// Clock and voltage reads and writes of both card families, asserted on what the driver saw.
#include "tests/gpu/GpuTestSupport.h"
#include "tests/support/TempDir.h"

#include <cmath>

namespace {

class GpuClocks : public test::GpuTest
{
protected:
    std::string Scenario(const std::string& text)
    {
        std::string path = dir.file("s" + std::to_string(++m_files) + ".scenario");
        test::TempDir::Write(path, text);
        return path;
    }
    test::TempDir dir;

private:
    int m_files = 0;
};

TEST_F(GpuClocks, CurrentBaseAndBoostClocks)
{
    Start("offset");
    ctl->setLoad(0, 100);
    GpuPerfInfo info = {};
    EXPECT_EQ(gpu->GetCurrentClocks(-1, &info), 0);
    EXPECT_EQ(info.nGfxClock, 1058000u);
    EXPECT_EQ(info.nMemClock, 3004000u);
    EXPECT_EQ(info.nProcClock, 0u);
    EXPECT_EQ(gpu->GetBaseBoostClocks(0, &info), 0);
    EXPECT_EQ(info.nGfxBase, 1006000u);
    EXPECT_EQ(info.nGfxBoost, 1058000u);

    // A driver without base and boost clocks: both stay 0, and the call still succeeds.
    ctl->injectFault(nvid::GPU_GetAllClockFrequencies, kSimFaultAlways, 0, 0);
    info.nGfxClock = 7;
    EXPECT_EQ(gpu->GetBaseBoostClocks(0, &info), 0);
    EXPECT_EQ(info.nGfxBase, 0u);
    EXPECT_EQ(info.nGfxBoost, 0u);
    EXPECT_EQ(gpu->GetCurrentClocks(0, &info), 1);
    EXPECT_EQ(info.nGfxClock, 7u);
}

TEST_F(GpuClocks, PerfClocksTraceTheirEntriesAndAlwaysReadTheFirstGpu)
{
    Start("clock");
    ctl->setLoad(0, 100);
    GpuPerfInfo info = {};
    BeginCapture();
    EXPECT_EQ(gpu->GetPerfClocks(&info), 0);
    EXPECT_EQ(EndCapture(), "Clock Memory = 2004000 \nClock graphic = 772000 \nClock processer = 1544000 \n");
    EXPECT_EQ(info.nGfxClock, 772000u);
    EXPECT_EQ(info.nGfxDefault, 51000u); // level 0 is the slowest
    EXPECT_EQ(info.nGfxMax, 1158000u);
    EXPECT_EQ(info.nProcDefault, 101000u);
    EXPECT_EQ(info.nMemMin, 67500u);

    GpuPerfInfo top = {};
    EXPECT_EQ(gpu->GetTopPerfClocks(0, &top), 0);
    EXPECT_EQ(top.nGfxDefault, 772000u); // the top level is P0

    // After a failed call: the trace lines of the record as it was, zero clocks, 1.
    ctl->injectFault(nvid::GPU_GetPerfClocks, kSimFaultAlways, 0, 0);
    info.nMemClock = info.nGfxClock = info.nProcClock = 1;
    BeginCapture();
    EXPECT_EQ(gpu->GetPerfClocks(&info), 1);
    EXPECT_EQ(EndCapture(), "Clock Memory = 2004000 \nClock graphic = 772000 \nClock processer = 1544000 \n");
    EXPECT_EQ(info.nMemClock + info.nGfxClock + info.nProcClock, 0u);
    BeginCapture();
    EXPECT_EQ(gpu->GetTopPerfClocks(0, &info), 1);
    EXPECT_EQ(EndCapture(), ""); // a failed top read writes nothing

    // On a rig the first GPU is an offset card without perf clocks, whichever GPU is selected.
    Start("rig");
    gpu->m_nCurGpu = 1;
    BeginCapture();
    EXPECT_EQ(gpu->GetPerfClocks(&info), 1);
    EndCapture();
    EXPECT_EQ(gpu->GetTopPerfClocks(-1, &info), 0);
}

TEST_F(GpuClocks, TopPerfClocksOnACardWithOneLevel)
{
    Start(Scenario("[card]\nfamily = clock\nperf-levels = 1\n"));
    GpuPerfInfo info = {};
    BeginCapture();
    EXPECT_EQ(gpu->GetTopPerfClocks(0, &info), 0);
    EndCapture();
    EXPECT_EQ(info.nGfxDefault, 772000u);
    EXPECT_EQ(gpu->m_perfClocks.numLevels, 1u);
}

TEST_F(GpuClocks, PstateClocksOfTheCurrentOrAGivenPstate)
{
    Start("clock");
    ctl->setLoad(0, 0);
    GpuPerfInfo info = {};
    EXPECT_EQ(gpu->GetPstateClocks(&info, -1, 16), 0);
    EXPECT_EQ(gpu->m_nPstate, 12u); // idle
    EXPECT_EQ(info.nGfxClock, 51000u);
    EXPECT_EQ(info.nCoreVoltage, 875u);
    EXPECT_EQ(info.nGfxMax, 1158000u); // limits from the perf clocks
    EXPECT_EQ(info.nGfxClock, gpu->m_nLastGfxClock);

    info = {};
    EXPECT_EQ(gpu->GetPstateClocks(&info, 0, 0), 0);
    EXPECT_EQ(gpu->m_nPstate, 0u);
    EXPECT_EQ(info.nProcClock, 1544000u);
    EXPECT_FLOAT_EQ(info.fShaderRatio, 2.0f);
    EXPECT_EQ(gpu->m_nLastVoltage, 1000u);
    EXPECT_STREQ(gpu->m_szError, "NVAPI_OK");

    // A pstate the table does not list: 0, nothing read.
    info = {};
    EXPECT_EQ(gpu->GetPstateClocks(&info, 0, 5), 0);
    EXPECT_EQ(info.nGfxClock, 0u);
}

TEST_F(GpuClocks, PstateWithoutProcessorClockKeepsTheEarlierOne)
{
    Start(Scenario("[card]\nfamily = clock\npstate = 0 700 1800 1400 1000\npstate = 8 300 300 0 900\n"));
    GpuPerfInfo info = {};
    ASSERT_EQ(gpu->GetPstateClocks(&info, 0, 0), 0);
    info = {};
    ASSERT_EQ(gpu->GetPstateClocks(&info, 0, 8), 0);
    EXPECT_EQ(info.nGfxClock, 300000u);
    EXPECT_EQ(info.nProcClock, 1400000u); // from the P0 read
    EXPECT_FLOAT_EQ(info.fShaderRatio, 1400000.0f / 300000.0f);
}

TEST_F(GpuClocks, ZeroGraphicsClockGivesANonFiniteRatio)
{
    Start(Scenario("[card]\nfamily = clock\npstate = 0 0 1800 1400 1000\n"));
    GpuPerfInfo info = {};
    EXPECT_EQ(gpu->GetPstateClocks(&info, 0, 0), 0);
    EXPECT_FALSE(std::isfinite(info.fShaderRatio));
    Start(Scenario("[card]\nfamily = clock\npstate = 0 0 1800 0 1000\n"));
    info = {};
    EXPECT_EQ(gpu->GetPstateClocks(&info, 0, 0), 0);
    EXPECT_FALSE(std::isfinite(info.fShaderRatio));
}

TEST_F(GpuClocks, PstatesTableFallsBackToTheOlderVersionWord)
{
    Start("clock");
    ctl->injectFault(nvid::GPU_GetPstatesInfo, kSimFaultVersionWord, NV_GPU_PERF_PSTATES_INFO_VER2, 0);
    GpuPerfInfo info = {};
    info.nCoreVoltage = 4242;
    EXPECT_EQ(gpu->GetPstateClocks(&info, 0, 0), 0);
    EXPECT_EQ(info.nGfxClock, 772000u); // read with the version-1 layout
    EXPECT_EQ(info.nProcClock, 1544000u);
    EXPECT_EQ(info.nCoreVoltage, 4242u); // that layout has no voltages
    ctl->injectFault(nvid::GPU_GetPstatesInfo, kSimFaultAlways, 0, NVAPI_NOT_SUPPORTED);
    EXPECT_EQ(gpu->GetPstateClocks(&info, 0, 0), 1);
    EXPECT_EQ(gpu->m_nStatus, NVAPI_NOT_SUPPORTED);
    EXPECT_STREQ(gpu->m_szError, "NVAPI_NOT_SUPPORTED");
}

TEST_F(GpuClocks, SetP0ClocksEditsOnlyWantedDomainsOfP0)
{
    Start("clock");
    GpuPerfInfo info = {};
    info.nMemClock = 2100000;
    info.nProcClock = 1600000; // graphics 0: keep the driver's value
    BeginCapture();
    EXPECT_EQ(gpu->SetP0Clocks(info, -1), 0);
    EXPECT_EQ(EndCapture(), "02 Will set the P0 state voltage = 1000 mv\nSet pState Info(0) NVAPI_OK\n");
    EXPECT_EQ(sim.WriteLog(),
              std::vector<std::string>{
                  "SetPstates gpu=0 ver=0x22494 P0:0=772000,4=2100000,7=1600000,v0=1000 "
                  "P8:0=405000,4=324000,7=810000,v0=925 P12:0=51000,4=135000,7=101000,v0=875 -> 0"});

    // Refused by the driver: 2, with the status recorded.
    info.nGfxClock = 5000000;
    BeginCapture();
    EXPECT_EQ(gpu->SetP0Clocks(info, 0), 2);
    EXPECT_EQ(EndCapture(), "02 Will set the P0 state voltage = 1000 mv\n");
    EXPECT_EQ(gpu->m_nStatus, NVAPI_INVALID_ARGUMENT);
}

TEST_F(GpuClocks, SetP0ClocksWritesTheGpuArgumentWithTheSelectedGpusTable)
{
    Start("rig"); // GPUs 1 and 3 are clock cards with different tables
    gpu->m_nCurGpu = 1;
    GpuPerfInfo info = {};
    info.nGfxClock = 800000;
    BeginCapture();
    EXPECT_EQ(gpu->SetP0Clocks(info, 3), 0);
    EndCapture();
    auto log = sim.WriteLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("SetPstates gpu=3 ver=0x22494 P0:0=800000,4=2004000,7=1544000,v0=1000 ", 0), 0u)
        << log[0];
}

TEST_F(GpuClocks, TableWithoutP0IsNotEditedOutsideItsEntries)
{
    Start(Scenario("[card]\nfamily = clock\npstate = 8 405 324 810 925\npstate = 12 51 135 101 875\n"));
    GpuPerfInfo info = {};
    info.nGfxClock = 500000;
    BeginCapture();
    EXPECT_EQ(gpu->SetP0Clocks(info, 0), 1);
    EXPECT_EQ(EndCapture(), "");
    EXPECT_TRUE(sim.WriteLog().empty());
}

TEST_F(GpuClocks, SetP0VoltageChangesTheFirstVoltageEntry)
{
    Start("clock");
    BeginCapture();
    EXPECT_EQ(gpu->SetP0Voltage(-1, 1050), 0);
    EXPECT_EQ(EndCapture(), "02 Will set the P0 state voltage = 1050 mv\nSet pState Info(0) NVAPI_OK\n");
    EXPECT_EQ(gpu->m_nLastVoltage, 1050u);
    SimCardSnapshot snap = {};
    ASSERT_EQ(ctl->cardSnapshot(0, &snap), 0);
    EXPECT_EQ(snap.p0MilliVolt, 1050u);

    ctl->injectFault(nvid::GPU_GetPstatesInfo, kSimFaultNextCalls, 1, 0);
    EXPECT_EQ(gpu->SetP0Voltage(0, 1100), 1);
    EXPECT_EQ(gpu->m_nLastVoltage, 1100u); // remembered even when the table could not be read
    EXPECT_EQ(gpu->SetP0Voltage(0, 2000), 2);
}

TEST_F(GpuClocks, Pstates20ReadsP0OffsetsRangesAndEditableBits)
{
    Start("offset");
    GpuPerfInfo info = {};
    EXPECT_EQ(gpu->GetPstates20(-1, &info), 0);
    EXPECT_EQ(gpu->m_nPstate, 0u);
    EXPECT_EQ(info.nGfxDelta, 0);
    EXPECT_EQ(info.nGfxDeltaMin, -200000);
    EXPECT_EQ(info.nGfxDeltaMax, 500000);
    EXPECT_EQ(info.nMemDeltaMin, -500000);
    EXPECT_EQ(info.nVoltDeltaMax, 100000);
    EXPECT_EQ(info.bGfxDeltaEditable + info.bMemDeltaEditable + info.bVoltDeltaEditable, 3);
    EXPECT_EQ(info.nGfxClock, 1006000u);
    EXPECT_EQ(info.nMemClock, 3004000u);
    EXPECT_EQ(info.nMemDefault, 3004000u);

    Start(Scenario("[card]\nfamily = offset\ngfx-entry = range\noffsets-editable = no\n"));
    info = {};
    EXPECT_EQ(gpu->GetPstates20(0, &info), 0);
    EXPECT_EQ(info.nGfxClock, 0u);
    EXPECT_EQ(info.nGfxMin, 1006000u);
    EXPECT_EQ(info.nGfxMax, 1058000u);
    EXPECT_EQ(info.bGfxDeltaEditable, 0);
    info.nGfxDelta = 10000;
    EXPECT_EQ(gpu->SetPstates20(info, 0), 1);
}

TEST_F(GpuClocks, OffsetFamilyApplyOrderOnSynchronisedGpus)
{
    Start(Scenario("[card]\nfamily = offset\n[card]\nfamily = offset\ndevice-id = 0x1189\n"));
    GpuPerfInfo info = {};
    info.nGfxDelta = 100000;
    info.nMemDelta = -50000;
    info.nPowerTarget = 110000;
    for (int g = 0; g < 2; ++g) {
        EXPECT_EQ(gpu->SetPstates20(info, g), 0);
        EXPECT_EQ(gpu->SetPowerTarget(info, g), 0);
        EXPECT_EQ(gpu->SetFanLevel(NVAPI_COOLER_POLICY_AUTO, 40, g), 0);
    }
    GpuPerfInfo back = {};
    EXPECT_EQ(gpu->GetPstates20(-1, &back), 0);
    EXPECT_EQ(gpu->GetPowerTarget(&back), 0);
    EXPECT_EQ(back.nGfxDelta, 100000);
    EXPECT_EQ(back.nMemDelta, -50000);
    EXPECT_EQ(back.nPowerTarget, 110000u);
    std::vector<std::string> expected;
    for (int g = 0; g < 2; ++g) {
        std::string n = std::to_string(g);
        expected.push_back("SetPstates20 gpu=" + n + " ver=0x11C94 P0:0=100000,4=-50000,v0=0 -> 0");
        expected.push_back("ClientPowerPoliciesSetStatus gpu=" + n +
                           " ver=0x10048 policy=0 target=110000 -> 0");
        expected.push_back("SetCoolerLevels gpu=" + n + " ver=0x100A4 level=40 policy=32 -> 0");
    }
    EXPECT_EQ(sim.WriteLog(), expected);
}

TEST_F(GpuClocks, ClockFamilyApplyOrderOnOneGpu)
{
    Start("clock");
    GpuPerfInfo info = {};
    info.nCoreVoltage = 1050;
    info.nGfxClock = 800000;
    info.nProcClock = 1600000;
    info.nMemClock = 2100000;
    BeginCapture();
    EXPECT_EQ(gpu->SetP0Voltage(-1, info.nCoreVoltage), 0);
    EXPECT_EQ(gpu->SetP0Clocks(info, -1), 0);
    EXPECT_EQ(gpu->SetFanLevel(NVAPI_COOLER_POLICY_MANUAL, 60, -1), 0);
    EndCapture();
    GpuPerfInfo back = {};
    EXPECT_EQ(gpu->GetPstateClocks(&back, -1, 0), 0);
    EXPECT_EQ(back.nGfxClock, 800000u);
    EXPECT_EQ(back.nCoreVoltage, 1050u);
    const std::string rest =
        " P8:0=405000,4=324000,7=810000,v0=925 P12:0=51000,4=135000,7=101000,v0=875 -> 0";
    EXPECT_EQ(sim.WriteLog(),
              (std::vector<std::string>{
                  "SetPstates gpu=0 ver=0x22494 P0:0=772000,4=2004000,7=1544000,v0=1050" + rest,
                  "SetPstates gpu=0 ver=0x22494 P0:0=800000,4=2100000,7=1600000,v0=1050" + rest,
                  "SetCoolerLevels gpu=0 ver=0x100A4 level=60 policy=1 -> 0",
              }));
}

} // namespace

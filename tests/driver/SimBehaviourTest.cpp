// The simulated card behaves like a card: load moves clocks between idle and boost, offsets and the
// power target shape the boost, the fan ramps, the temperature follows power and fan.
#include "tests/driver/SimLibrary.h"

#include <gtest/gtest.h>

namespace {

class SimBehaviour : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(sim.Start("rig"), NVAPI_OK);
        gpus = sim.Gpus();
        ctl = sim.Control();
    }
    SimCardSnapshot Snap(int gpu)
    {
        SimCardSnapshot s = {};
        EXPECT_EQ(ctl->cardSnapshot(gpu, &s), 0);
        return s;
    }
    NV_GPU_CLOCK_FREQUENCIES Clocks(int gpu)
    {
        NV_GPU_CLOCK_FREQUENCIES c = {};
        c.version = NV_GPU_CLOCK_FREQUENCIES_VER;
        EXPECT_EQ(
            sim.Get<NvAPI_GPU_GetAllClockFrequencies_t>(nvid::GPU_GetAllClockFrequencies)(gpus[gpu], &c), 0);
        return c;
    }
    NvU32 Fan(int gpu)
    {
        NV_GPU_COOLER_SETTINGS c = {};
        c.version = NV_GPU_COOLER_SETTINGS_VER_1;
        EXPECT_EQ(sim.Get<NvAPI_GPU_GetCoolerSettings_t>(nvid::GPU_GetCoolerSettings)(gpus[gpu], 7, &c), 0);
        return c.cooler0.currentLevel;
    }
    NvAPI_Status SetFan(int gpu, NvU32 level, NvU32 policy)
    {
        NV_GPU_COOLER_LEVELS rec = {};
        rec.version = NV_GPU_COOLER_LEVELS_VER_BIG;
        rec.cooler[0] = {level, policy};
        return sim.Get<NvAPI_GPU_SetCoolerLevels_t>(nvid::GPU_SetCoolerLevels)(gpus[gpu], 7, &rec);
    }
    NvAPI_Status SetPower(int gpu, NvU32 pcm)
    {
        NV_GPU_POWER_POLICIES_STATUS st = {};
        st.version = NV_GPU_POWER_POLICIES_STATUS_VER;
        st.count = 1;
        st.entries[0].power = pcm;
        return sim.Get<NvAPI_GPU_ClientPowerPoliciesSetStatus_t>(nvid::GPU_ClientPowerPoliciesSetStatus)(
            gpus[gpu], &st);
    }

    test::SimLibrary sim;
    std::vector<NvPhysicalGpuHandle> gpus;
    const SimControlApi* ctl = nullptr;
};

TEST_F(SimBehaviour, LoadMovesClocksBetweenIdleAndBoost)
{
    ctl->setLoad(0, 0);
    EXPECT_EQ(Clocks(0).domain[NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS].frequency, 324000u);
    EXPECT_EQ(Snap(0).pstate, 8u);
    ctl->setLoad(0, 100);
    NV_GPU_CLOCK_FREQUENCIES busy = Clocks(0);
    EXPECT_EQ(busy.domain[NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS].frequency, 1058000u); // full boost
    EXPECT_EQ(busy.domain[NVAPI_GPU_PUBLIC_CLOCK_MEMORY].frequency, 3004000u);
    EXPECT_EQ(busy.domain[NVAPI_GPU_PUBLIC_CLOCK_PROCESSOR].bIsPresent, 0u); // this card has no shader clock

    // The clock card runs its pstates; its processor clock is twice the graphics clock.
    ctl->setLoad(1, 100);
    NV_GPU_CLOCK_FREQUENCIES fermi = Clocks(1);
    EXPECT_EQ(fermi.domain[NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS].frequency, 772000u);
    EXPECT_EQ(fermi.domain[NVAPI_GPU_PUBLIC_CLOCK_PROCESSOR].frequency, 1544000u);

    // Without a fixed load the pattern takes the card from idle to full load and back.
    ctl->setLoad(-1, -1);
    ctl->advanceMs(1000);
    EXPECT_LT(Snap(0).loadPercent, 10);
    ctl->advanceMs(14000);
    EXPECT_EQ(Snap(0).loadPercent, 100);
}

TEST_F(SimBehaviour, PowerTargetCapsBoostAndOffsetsShiftClocks)
{
    ctl->setLoad(0, 100);
    ASSERT_EQ(SetPower(0, 50000), NVAPI_OK);
    NvU32 capped = Clocks(0).domain[NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS].frequency;
    EXPECT_GE(capped, 1006000u);
    EXPECT_LT(capped, 1058000u);
    EXPECT_EQ(SetPower(0, 20000), NVAPI_INVALID_ARGUMENT); // below the policy's minimum
    ASSERT_EQ(SetPower(0, 100000), NVAPI_OK);

    NV_GPU_PERF_PSTATES20_INFO rec = {};
    rec.version = NV_GPU_PERF_PSTATES20_INFO_VER;
    rec.numPstates = 1;
    rec.numClocks = 2;
    rec.pstates[0].clocks[0] = {NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS, 0, 0, {100000, 0, 0}, {}};
    rec.pstates[0].clocks[1] = {NVAPI_GPU_PUBLIC_CLOCK_MEMORY, 0, 0, {-200000, 0, 0}, {}};
    ASSERT_EQ(sim.Get<NvAPI_GPU_SetPstates20_t>(nvid::GPU_SetPstates20)(gpus[0], &rec), NVAPI_OK);
    NV_GPU_CLOCK_FREQUENCIES c = Clocks(0);
    EXPECT_EQ(c.domain[NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS].frequency, 1158000u);
    EXPECT_EQ(c.domain[NVAPI_GPU_PUBLIC_CLOCK_MEMORY].frequency, 2804000u);
}

TEST_F(SimBehaviour, ManualFanRampsWithinASecondAndAutomaticFollowsTemperature)
{
    ctl->setLoad(0, 0);
    ctl->advanceMs(60000);
    NvU32 start = Fan(0);
    int coolTemp = Snap(0).temperatureC;
    ASSERT_EQ(SetFan(0, start + 40, NVAPI_COOLER_POLICY_MANUAL), NVAPI_OK);
    ctl->advanceMs(300);
    NvU32 midway = Fan(0);
    EXPECT_GT(midway, start);
    EXPECT_LT(midway, start + 40);
    ctl->advanceMs(900);
    EXPECT_EQ(Fan(0), start + 40);

    // Back on automatic under full load: hotter, and the fan follows.
    ASSERT_EQ(SetFan(0, 0, NVAPI_COOLER_POLICY_AUTO), NVAPI_OK);
    ctl->setLoad(0, 100);
    ctl->advanceMs(60000);
    EXPECT_GT(Snap(0).temperatureC, coolTemp + 15);
    EXPECT_GT(Fan(0), start);

    // A fan that ignores commands accepts them and keeps its own course.
    ctl->setFanStuck(0, 1);
    NvU32 before = Fan(0);
    ASSERT_EQ(SetFan(0, 100, NVAPI_COOLER_POLICY_MANUAL), NVAPI_OK);
    ctl->advanceMs(1200);
    EXPECT_EQ(Fan(0), before);
}

TEST_F(SimBehaviour, MoreFanMeansACoolerCard)
{
    ctl->setLoad(0, 100);
    ctl->setLoad(2, 100);
    ASSERT_EQ(SetFan(0, 30, NVAPI_COOLER_POLICY_MANUAL), NVAPI_OK);
    ASSERT_EQ(SetFan(2, 100, NVAPI_COOLER_POLICY_MANUAL), NVAPI_OK);
    ctl->advanceMs(60000);
    EXPECT_GT(Snap(0).temperatureC, Snap(2).temperatureC + 10);
}

TEST_F(SimBehaviour, TheProgramsOwnClockCanDriveTime)
{
    static std::uint64_t now = 0;
    ctl->setTimeSource([] { return now; });
    ASSERT_EQ(SetFan(0, 80, NVAPI_COOLER_POLICY_MANUAL), NVAPI_OK);
    now += 1200;
    EXPECT_EQ(Fan(0), 80u);
    ctl->setTimeSource(nullptr);
}

} // namespace

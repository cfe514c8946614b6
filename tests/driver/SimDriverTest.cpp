// The simulated driver as a driver: version words, handles, faults, the write log, the session's
// card state and the base profile that outlive a process.
#include "tests/driver/SimLibrary.h"
#include "tests/support/TempDir.h"

#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

class SimDriver : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.Loaded());
        ASSERT_EQ(sim.Start("rig"), NVAPI_OK);
        gpus = sim.Gpus();
        ASSERT_EQ(gpus.size(), 4u);
    }
    NvAPI_Status SetFan(int gpu, NvU32 level, NvU32 policy = NVAPI_COOLER_POLICY_MANUAL,
                        NvU32 version = NV_GPU_COOLER_LEVELS_VER_BIG)
    {
        NV_GPU_COOLER_LEVELS rec = {};
        rec.version = version;
        rec.cooler[0] = {level, policy};
        return sim.Get<NvAPI_GPU_SetCoolerLevels_t>(nvid::GPU_SetCoolerLevels)(gpus[gpu],
                                                                               NVAPI_COOLER_TARGET_ALL, &rec);
    }
    NvAPI_Status SetOffsets(int gpu, NvS32 gfx, NvS32 mem)
    {
        auto rec = std::make_unique<NV_GPU_PERF_PSTATES20_INFO>();
        std::memset(rec.get(), 0, sizeof(*rec));
        rec->version = NV_GPU_PERF_PSTATES20_INFO_VER;
        rec->numPstates = 1;
        rec->numClocks = 2;
        rec->pstates[0].clocks[0].domainId = NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS;
        rec->pstates[0].clocks[0].freqDelta_kHz.value = gfx;
        rec->pstates[0].clocks[1].domainId = NVAPI_GPU_PUBLIC_CLOCK_MEMORY;
        rec->pstates[0].clocks[1].freqDelta_kHz.value = mem;
        return sim.Get<NvAPI_GPU_SetPstates20_t>(nvid::GPU_SetPstates20)(gpus[gpu], rec.get());
    }

    test::SimLibrary sim;
    std::vector<NvPhysicalGpuHandle> gpus;
};

// Every record-taking read, called with a given version word on an offset card (0) or a clock card (1).
struct VersionCase
{
    const char* name;
    int gpu;
    std::vector<NvU32> accepted;
    std::function<NvAPI_Status(const test::SimLibrary&, NvPhysicalGpuHandle, NvU32)> call;
};

template <typename Rec, typename Fn, typename... Args>
NvAPI_Status CallWith(const test::SimLibrary& sim, NvU32 id, NvU32 version, Args... args)
{
    auto rec = std::make_unique<Rec>();
    std::memset(rec.get(), 0, sizeof(Rec));
    rec->version = version;
    return sim.Get<Fn>(id)(args..., rec.get());
}

TEST_F(SimDriver, RefusesVersionWordsItDoesNotKnow)
{
    using S = const test::SimLibrary&;
    using H = NvPhysicalGpuHandle;
    const VersionCase cases[] = {
        {"clock frequencies",
         0,
         {0x20108},
         [](S s, H h, NvU32 v) {
             return CallWith<NV_GPU_CLOCK_FREQUENCIES, NvAPI_GPU_GetAllClockFrequencies_t>(
                 s, nvid::GPU_GetAllClockFrequencies, v, h);
         }},
        {"perf clocks",
         1,
         {0x12A74},
         [](S s, H h, NvU32 v) {
             return CallWith<NV_GPU_PERF_CLOCKS, NvAPI_GPU_GetPerfClocks_t>(s, nvid::GPU_GetPerfClocks, v, h,
                                                                            0u);
         }},
        {"pstates",
         1,
         {0x22494, 0x11890},
         [](S s, H h, NvU32 v) {
             return CallWith<NV_GPU_PERF_PSTATES_INFO_V2, NvAPI_GPU_GetPstatesInfo_t>(
                 s, nvid::GPU_GetPstatesInfo, v, h);
         }},
        {"pstates 2.0",
         0,
         {0x11C94},
         [](S s, H h, NvU32 v) {
             return CallWith<NV_GPU_PERF_PSTATES20_INFO, NvAPI_GPU_GetPstates20_t>(s, nvid::GPU_GetPstates20,
                                                                                   v, h);
         }},
        {"thermal",
         0,
         {0x20044, 0x10044},
         [](S s, H h, NvU32 v) {
             return CallWith<NV_GPU_THERMAL_SETTINGS, NvAPI_GPU_GetThermalSettings_t>(
                 s, nvid::GPU_GetThermalSettings, v, h, NVAPI_THERMAL_TARGET_ALL);
         }},
        {"cooler settings",
         0,
         {0x30508, 0x10098, 0x103C8},
         [](S s, H h, NvU32 v) {
             return CallWith<NV_GPU_COOLER_SETTINGS, NvAPI_GPU_GetCoolerSettings_t>(
                 s, nvid::GPU_GetCoolerSettings, v, h, NVAPI_COOLER_TARGET_ALL);
         }},
        {"power info",
         0,
         {0x100B8},
         [](S s, H h, NvU32 v) {
             return CallWith<NV_GPU_POWER_POLICIES_INFO, NvAPI_GPU_ClientPowerPoliciesGetInfo_t>(
                 s, nvid::GPU_ClientPowerPoliciesGetInfo, v, h);
         }},
        {"power status",
         0,
         {0x10048},
         [](S s, H h, NvU32 v) {
             return CallWith<NV_GPU_POWER_POLICIES_STATUS, NvAPI_GPU_ClientPowerPoliciesGetStatus_t>(
                 s, nvid::GPU_ClientPowerPoliciesGetStatus, v, h);
         }},
    };
    const NvU32 foreign[] = {0,       0x10108, 0x30108, 0x22495, 0x21C94,
                             0x30044, 0x20508, 0x200B8, 0x20048, 0xFFFFFFFF};
    for (const VersionCase& c : cases) {
        for (NvU32 v : c.accepted)
            EXPECT_EQ(c.call(sim, gpus[c.gpu], v), NVAPI_OK) << c.name << " " << std::hex << v;
        for (NvU32 v : foreign) {
            if (std::find(c.accepted.begin(), c.accepted.end(), v) == c.accepted.end()) {
                EXPECT_EQ(c.call(sim, gpus[c.gpu], v), NVAPI_INCOMPATIBLE_STRUCT_VERSION)
                    << c.name << " " << v;
            }
        }
    }
    EXPECT_EQ(SetFan(0, 50, NVAPI_COOLER_POLICY_MANUAL, 0x1001C), NVAPI_OK);
    EXPECT_EQ(SetFan(0, 50, NVAPI_COOLER_POLICY_MANUAL, 0x200A4), NVAPI_INCOMPATIBLE_STRUCT_VERSION);
}

TEST_F(SimDriver, FamiliesAnswerOnlyTheirOwnInterfaces)
{
    // Offset card: no legacy pstates or perf clocks; clock card: no pstates 2.0 or power policies.
    EXPECT_EQ((CallWith<NV_GPU_PERF_PSTATES_INFO_V2, NvAPI_GPU_GetPstatesInfo_t>(
                  sim, nvid::GPU_GetPstatesInfo, 0x22494, gpus[0])),
              NVAPI_NOT_SUPPORTED);
    EXPECT_EQ((CallWith<NV_GPU_PERF_PSTATES20_INFO, NvAPI_GPU_GetPstates20_t>(sim, nvid::GPU_GetPstates20,
                                                                              0x11C94, gpus[1])),
              NVAPI_NOT_SUPPORTED);
    EXPECT_EQ((CallWith<NV_GPU_POWER_POLICIES_INFO, NvAPI_GPU_ClientPowerPoliciesGetInfo_t>(
                  sim, nvid::GPU_ClientPowerPoliciesGetInfo, 0x100B8, gpus[1])),
              NVAPI_NOT_SUPPORTED);
    // Handles the driver never gave out are refused.
    NvAPI_ShortString name = {};
    auto getName = sim.Get<NvAPI_GPU_GetFullName_t>(nvid::GPU_GetFullName);
    EXPECT_EQ(getName(nullptr, name), NVAPI_EXPECTED_PHYSICAL_GPU_HANDLE);
    EXPECT_EQ(getName(reinterpret_cast<NvPhysicalGpuHandle>(name), name), NVAPI_EXPECTED_PHYSICAL_GPU_HANDLE);
    EXPECT_EQ(sim.Get<void*>(0x12345678), nullptr);
}

TEST_F(SimDriver, WriteLogKeepsEveryWriteInOrderWithItsStatus)
{
    EXPECT_EQ(SetOffsets(0, 100000, -50000), NVAPI_OK);
    EXPECT_EQ(SetOffsets(2, 900000, 0), NVAPI_INVALID_ARGUMENT); // beyond the card's range
    EXPECT_EQ(SetFan(1, 60), NVAPI_OK);
    EXPECT_EQ(SetFan(1, 5), NVAPI_INVALID_ARGUMENT); // below the fan's minimum
    EXPECT_EQ(sim.WriteLog(), (std::vector<std::string>{
                                  "SetPstates20 gpu=0 ver=0x11C94 P0:0=100000,4=-50000 -> 0",
                                  "SetPstates20 gpu=2 ver=0x11C94 P0:0=900000,4=0 -> -5",
                                  "SetCoolerLevels gpu=1 ver=0x100A4 level=60 policy=1 -> 0",
                                  "SetCoolerLevels gpu=1 ver=0x100A4 level=5 policy=1 -> -5",
                              }));
    SimCardSnapshot snap = {};
    ASSERT_EQ(sim.Control()->cardSnapshot(2, &snap), 0);
    EXPECT_EQ(snap.gfxDeltaKHz, 0); // a refused write changes nothing
    ASSERT_EQ(sim.Control()->cardSnapshot(0, &snap), 0);
    EXPECT_EQ(snap.gfxDeltaKHz, 100000);
    EXPECT_EQ(snap.memDeltaKHz, -50000);
}

TEST_F(SimDriver, FaultsFailAlwaysForTheNextCallsOrForOneVersionWord)
{
    const SimControlApi* ctl = sim.Control();
    ctl->injectFault(nvid::GPU_SetCoolerLevels, kSimFaultNextCalls, 2, 0);
    EXPECT_EQ(SetFan(0, 50), NVAPI_ERROR);
    EXPECT_EQ(SetFan(0, 50), NVAPI_ERROR);
    EXPECT_EQ(SetFan(0, 50), NVAPI_OK);

    ctl->injectFault(nvid::GPU_SetCoolerLevels, kSimFaultVersionWord, NV_GPU_COOLER_LEVELS_VER_BIG, 0);
    EXPECT_EQ(SetFan(0, 50), NVAPI_INCOMPATIBLE_STRUCT_VERSION);
    EXPECT_EQ(SetFan(0, 50, NVAPI_COOLER_POLICY_MANUAL, NV_GPU_COOLER_LEVELS_VER_SMALL), NVAPI_OK);

    ctl->injectFault(nvid::GPU_GetFullName, kSimFaultAlways, 0, NVAPI_NOT_SUPPORTED);
    NvAPI_ShortString name = {};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(sim.Get<NvAPI_GPU_GetFullName_t>(nvid::GPU_GetFullName)(gpus[0], name),
                  NVAPI_NOT_SUPPORTED);
    ctl->clearFaults();
    EXPECT_EQ(sim.Get<NvAPI_GPU_GetFullName_t>(nvid::GPU_GetFullName)(gpus[0], name), NVAPI_OK);
    // A faulted write is still a write the program made.
    EXPECT_EQ(sim.WriteLog().front(), "SetCoolerLevels gpu=0 ver=0x100A4 level=50 policy=1 -> -1");
}

TEST_F(SimDriver, SessionCommandsReachEveryProcessOfTheSession)
{
    char error[256] = {};
    const SimControlApi* ctl = sim.Control();
    EXPECT_EQ(ctl->sessionCommand("load 1 80", error), 0) << error;
    EXPECT_EQ(ctl->sessionCommand("fault SetCoolerLevels always -104", error), 0) << error;
    EXPECT_EQ(ctl->sessionCommand("load 9 101", error), 1);
    EXPECT_NE(std::string(error).find("0 to 100"), std::string::npos);
    EXPECT_EQ(ctl->sessionCommand("fault NoSuchThing always", error), 1);

    SimCardSnapshot snap = {};
    ASSERT_EQ(ctl->cardSnapshot(1, &snap), 0);
    EXPECT_EQ(snap.loadFixed, 80);
    EXPECT_EQ(SetFan(0, 50), NVAPI_NOT_SUPPORTED);

    std::string commands = test::TempDir::Read(std::string(ctl->sessionDir()) + "/commands");
    EXPECT_NE(commands.find("load 1 80\n"), std::string::npos);
    EXPECT_NE(commands.find("fault GPU_SetCoolerLevels always -104\n"), std::string::npos);
    EXPECT_EQ(ctl->sessionCommand("clear", error), 0);
    EXPECT_EQ(SetFan(0, 50), NVAPI_OK);
}

// A second copy of the library is a second "process" of the same driver session.
class SecondProcess
{
public:
    explicit SecondProcess(const test::TempDir& dir)
    {
        m_path = dir.file("libkorvax-simgpu-copy.so");
        std::filesystem::copy_file(test::SimLibraryPath(), m_path,
                                   std::filesystem::copy_options::overwrite_existing);
        lib = std::make_unique<test::SimLibrary>(m_path);
    }
    std::unique_ptr<test::SimLibrary> lib;

private:
    std::string m_path;
};

TEST_F(SimDriver, CardStateLivesForTheSessionAndTheFrameTargetInTheBaseProfile)
{
    ASSERT_EQ(SetOffsets(0, 120000, 300000), NVAPI_OK);
    ASSERT_EQ(SetFan(0, 70), NVAPI_OK);

    // Frame target through the driver settings.
    NvDRSSessionHandle session = nullptr;
    NvDRSProfileHandle profile = nullptr;
    ASSERT_EQ(sim.Get<NvAPI_DRS_CreateSession_t>(nvid::DRS_CreateSession)(&session), 0);
    ASSERT_EQ(sim.Get<NvAPI_DRS_LoadSettings_t>(nvid::DRS_LoadSettings)(session), 0);
    ASSERT_EQ(sim.Get<NvAPI_DRS_GetBaseProfile_t>(nvid::DRS_GetBaseProfile)(session, &profile), 0);
    auto setting = std::make_unique<NVDRS_SETTING>();
    std::memset(setting.get(), 0, sizeof(*setting));
    setting->version = NVDRS_SETTING_VER;
    setting->settingId = NVDRS_FRAME_RATE_LIMIT_ID;
    setting->currentValue.u32Value = 0xF000003C;
    ASSERT_EQ(sim.Get<NvAPI_DRS_SetSetting_t>(nvid::DRS_SetSetting)(session, profile, setting.get()), 0);
    ASSERT_EQ(sim.Get<NvAPI_DRS_SaveSettings_t>(nvid::DRS_SaveSettings)(session), 0);
    ASSERT_EQ(sim.Get<NvAPI_DRS_DestroySession_t>(nvid::DRS_DestroySession)(session), 0);
    EXPECT_EQ(sim.Get<NvAPI_DRS_DestroySession_t>(nvid::DRS_DestroySession)(session), NVAPI_INVALID_HANDLE);
    const char* config = std::getenv("XDG_CONFIG_HOME");
    ASSERT_NE(config, nullptr);
    EXPECT_NE(test::TempDir::Read(std::string(config) + "/korvax-simgpu/base-profile")
                  .find("0x10834FEE = 0xF000003C"),
              std::string::npos);

    test::TempDir dir;
    SecondProcess second(dir);
    ASSERT_TRUE(second.lib->Loaded());
    ASSERT_EQ(second.lib->Get<NvAPI_Initialize_t>(nvid::Initialize)(), NVAPI_OK);
    SimCardSnapshot snap = {};
    ASSERT_EQ(second.lib->Control()->cardSnapshot(0, &snap), 0);
    EXPECT_EQ(snap.gfxDeltaKHz, 120000);
    EXPECT_EQ(snap.memDeltaKHz, 300000);
    EXPECT_EQ(snap.fanPolicy, static_cast<int>(NVAPI_COOLER_POLICY_MANUAL));
    EXPECT_EQ(snap.fanTarget, 70);
    EXPECT_EQ(second.lib->WriteLog().size(), 0u); // the in-memory log belongs to its process
    EXPECT_NE(test::TempDir::Read(std::string(sim.Control()->sessionDir()) + "/writes.log")
                  .find("DRS_SetSetting ver=0x13020 setting=0x10834FEE type=0 value=0xF000003C -> 0"),
              std::string::npos);
}

TEST_F(SimDriver, DriverSettingsRefuseBadHandlesAndOrder)
{
    auto create = sim.Get<NvAPI_DRS_CreateSession_t>(nvid::DRS_CreateSession);
    auto base = sim.Get<NvAPI_DRS_GetBaseProfile_t>(nvid::DRS_GetBaseProfile);
    NvDRSSessionHandle session = nullptr;
    NvDRSProfileHandle profile = nullptr;
    ASSERT_EQ(create(&session), 0);
    EXPECT_EQ(base(session, &profile), NVAPI_ERROR); // settings not loaded yet
    EXPECT_EQ(base(nullptr, &profile), NVAPI_INVALID_HANDLE);
    auto setting = std::make_unique<NVDRS_SETTING>();
    std::memset(setting.get(), 0, sizeof(*setting));
    setting->version = 0x23020;
    ASSERT_EQ(sim.Get<NvAPI_DRS_LoadSettings_t>(nvid::DRS_LoadSettings)(session), 0);
    ASSERT_EQ(base(session, &profile), 0);
    EXPECT_EQ(sim.Get<NvAPI_DRS_SetSetting_t>(nvid::DRS_SetSetting)(session, profile, setting.get()),
              NVAPI_INCOMPATIBLE_STRUCT_VERSION);
}

} // namespace

// Scenario presets and files: what cards a driver client sees, and one clear line for a bad file.
#include "tests/driver/SimLibrary.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

struct Identity
{
    std::string name;
    NvU32 deviceWord, subSystem, extDevice;
};

Identity Read(const test::SimLibrary& sim, NvPhysicalGpuHandle h)
{
    Identity id;
    NvAPI_ShortString name = {};
    EXPECT_EQ(sim.Get<NvAPI_GPU_GetFullName_t>(nvid::GPU_GetFullName)(h, name), NVAPI_OK);
    id.name = name;
    NvU32 rev = 0;
    EXPECT_EQ(sim.Get<NvAPI_GPU_GetPCIIdentifiers_t>(nvid::GPU_GetPCIIdentifiers)(
                  h, &id.deviceWord, &id.subSystem, &rev, &id.extDevice),
              NVAPI_OK);
    return id;
}

TEST(SimScenario, PresetsShowPlainlySimulatedCards)
{
    test::SimLibrary sim;
    ASSERT_TRUE(sim.Loaded());

    ASSERT_EQ(sim.Start("offset"), NVAPI_OK);
    auto gpus = sim.Gpus();
    ASSERT_EQ(gpus.size(), 1u);
    Identity card = Read(sim, gpus[0]);
    EXPECT_EQ(card.name, "Simulated GeForce GTX 680");
    EXPECT_EQ(card.extDevice & 0xFFFF, 0x1180u);
    EXPECT_EQ(card.deviceWord & 0xFFFF, 0x10DEu);

    ASSERT_EQ(sim.Start("rig"), NVAPI_OK);
    gpus = sim.Gpus();
    ASSERT_EQ(gpus.size(), 4u);
    std::vector<NvU32> devices;
    for (auto h : gpus) {
        Identity id = Read(sim, h);
        EXPECT_EQ(id.name.rfind("Simulated ", 0), 0u) << id.name;
        devices.push_back(id.extDevice & 0xFFFF);
    }
    EXPECT_EQ(devices, (std::vector<NvU32>{0x1180, 0x1080, 0x1189, 0x06C0}));

    ASSERT_EQ(sim.Start("clock"), NVAPI_OK);
    EXPECT_EQ(Read(sim, sim.Gpus().at(0)).extDevice, 0x1080u);

    // No card: the driver starts, but enumeration fails and there is no display.
    ASSERT_EQ(sim.Start("none"), NVAPI_OK);
    NvPhysicalGpuHandle h[NVAPI_MAX_PHYSICAL_GPUS] = {};
    NvU32 n = 99;
    EXPECT_EQ(sim.Get<NvAPI_EnumPhysicalGPUs_t>(nvid::EnumPhysicalGPUs)(h, &n),
              NVAPI_NVIDIA_DEVICE_NOT_FOUND);
    NvDisplayHandle d = nullptr;
    EXPECT_EQ(sim.Get<NvAPI_EnumNvidiaDisplayHandle_t>(nvid::EnumNvidiaDisplayHandle)(0, &d),
              NVAPI_END_ENUMERATION);
}

TEST(SimScenario, FileDescribesEveryIdentityValue)
{
    test::TempDir dir;
    std::string path = dir.file("two.scenario");
    test::TempDir::Write(path, "# two cards\n"
                               "displays = 3\n"
                               "driver-version = 31078\n"
                               "[card]\n"
                               "family = offset\n"
                               "name = Simulated Test Card\n"
                               "device-id = 0x1189\n"
                               "subsystem-vendor-id = 0x1043\n"
                               "subsystem-id = 0x8343\n"
                               "memory-mb = 4096\n"
                               "ram-type = 7\n"
                               "bus-width = 128\n"
                               "cores = 960   # trailing comment\n"
                               "bios = 80.04.4b.00.70\n"
                               "[card]\n"
                               "family = clock\n"
                               "pstate = 0 700 1800 1400 1000\n"
                               "pstate = 8 300 300 0 900\n");
    test::SimLibrary sim;
    ASSERT_EQ(sim.Start(path), NVAPI_OK);
    auto gpus = sim.Gpus();
    ASSERT_EQ(gpus.size(), 2u);
    Identity id = Read(sim, gpus[0]);
    EXPECT_EQ(id.name, "Simulated Test Card");
    EXPECT_EQ(id.subSystem, 0x83431043u);
    NvU32 kb = 0, type = 0, width = 0, loc = 0, cores = 0;
    EXPECT_EQ(
        sim.Get<NvAPI_GPU_GetPhysicalFrameBufferSize_t>(nvid::GPU_GetPhysicalFrameBufferSize)(gpus[0], &kb),
        0);
    EXPECT_EQ(sim.Get<NvAPI_GPU_GetRamType_t>(nvid::GPU_GetRamType)(gpus[0], &type), 0);
    EXPECT_EQ(
        sim.Get<NvAPI_GPU_GetFBWidthAndLocation_t>(nvid::GPU_GetFBWidthAndLocation)(gpus[0], &width, &loc),
        0);
    EXPECT_EQ(sim.Get<NvAPI_GPU_GetGpuCoreCount_t>(nvid::GPU_GetGpuCoreCount)(gpus[0], &cores), 0);
    EXPECT_EQ(kb, 4096u * 1024);
    EXPECT_EQ(type, 7u);
    EXPECT_EQ(width, 128u);
    EXPECT_EQ(cores, 960u);
    NvAPI_ShortString bios = {};
    EXPECT_EQ(sim.Get<NvAPI_GPU_GetVbiosVersionString_t>(nvid::GPU_GetVbiosVersionString)(gpus[0], bios), 0);
    EXPECT_STREQ(bios, "80.04.4b.00.70");

    NvDisplayHandle displays[4] = {};
    auto enumDisplay = sim.Get<NvAPI_EnumNvidiaDisplayHandle_t>(nvid::EnumNvidiaDisplayHandle);
    for (NvU32 i = 0; i < 3; ++i)
        EXPECT_EQ(enumDisplay(i, &displays[i]), NVAPI_OK);
    EXPECT_EQ(enumDisplay(3, &displays[3]), NVAPI_END_ENUMERATION);
    NV_DISPLAY_DRIVER_VERSION ver = {};
    ver.version = NV_DISPLAY_DRIVER_VERSION_VER;
    EXPECT_EQ(sim.Get<NvAPI_GetDisplayDriverVersion_t>(nvid::GetDisplayDriverVersion)(displays[0], &ver), 0);
    EXPECT_EQ(ver.drvVersion, 31078u);
}

TEST(SimScenario, BadFileFailsInitialiseWithOneLineNamingFileAndLine)
{
    const struct
    {
        const char* text;
        int line;
        const char* reason;
    } cases[] = {
        {"[card]\nname = x\n", 2, "starts with"},
        {"[card]\nfamily = offset\nram-type = 16\n", 3, "ram-type"},
        {"[card]\nfamily = offset\n\n# gap\nfan = 80 20\n", 5, "fan"},
        {"[card]\nfamily = offset\ngfx-offset = 100 200\n", 1, "include 0"},
        {"[card]\nfamily = clock\npstate = 0 700 1800 1400 1000\npstate = 0 1 1 0 900\n", 4, "twice"},
        {"[card]\nfamily = clock\nbase-clock = 900\n", 3, "offset-family"},
        {"displays = 200\n", 1, "displays"},
        {"colour = red\n", 1, "unknown key"},
        {"[card]\nfamily = offset\nmemory-mb = -1\n", 3, "memory-mb"},
        {"[card]\nfamily = offset\njust words\n", 3, "key = value"},
    };
    test::TempDir dir;
    test::SimLibrary sim;
    for (const auto& c : cases) {
        std::string path = dir.file("bad.scenario");
        test::TempDir::Write(path, c.text);
        testing::internal::CaptureStderr();
        EXPECT_EQ(sim.Start(path), NVAPI_ERROR) << c.text;
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(err.find("korvax-simgpu: " + path + ":" + std::to_string(c.line) + ": "), 0u) << err;
        EXPECT_NE(err.find(c.reason), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        // A driver that failed to start answers nothing.
        NvPhysicalGpuHandle h[NVAPI_MAX_PHYSICAL_GPUS] = {};
        NvU32 n = 0;
        EXPECT_EQ(sim.Get<NvAPI_EnumPhysicalGPUs_t>(nvid::EnumPhysicalGPUs)(h, &n),
                  NVAPI_API_NOT_INITIALIZED);
    }

    // 65 cards are more than the driver interface can hand out.
    std::string many;
    for (int i = 0; i < 65; ++i)
        many += "[card]\nfamily = offset\n";
    test::TempDir::Write(dir.file("many.scenario"), many);
    testing::internal::CaptureStderr();
    EXPECT_EQ(sim.Start(dir.file("many.scenario")), NVAPI_ERROR);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(":129: more than 64 cards"), std::string::npos);

    testing::internal::CaptureStderr();
    EXPECT_EQ(sim.Start(dir.file("missing.scenario")), NVAPI_ERROR);
    EXPECT_EQ(testing::internal::GetCapturedStderr().find("korvax-simgpu: " + dir.file("missing.scenario") +
                                                          ":0: "),
              0u);
}

} // namespace

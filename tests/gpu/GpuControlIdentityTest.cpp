// The driver loader's statuses, GpuControl's start and its identification reads.
#include "tests/gpu/GpuTestSupport.h"
#include "tests/support/TempDir.h"

#include <cmath>
#include <cstring>

namespace {

using test::GpuTest;

struct LoaderCase
{
    const char* what;
    std::string path;
    NvAPI_Status status;
};

TEST(NvApiLoader, LibraryThatIsMissingOrNotADriverGivesMinusTwoEverywhere)
{
    test::TempDir dir;
    test::TempDir::Write(dir.file("text.so"), "this is not a shared library\n");
    const LoaderCase cases[] = {
        {"missing", dir.file("nothing-here.so"), NVAPI_LIBRARY_NOT_FOUND},
        {"not a shared library", dir.file("text.so"), NVAPI_LIBRARY_NOT_FOUND},
        {"no export", test::BinDir() + "/tests/libkorvax-test-noexport.so", NVAPI_LIBRARY_NOT_FOUND},
    };
    for (const LoaderCase& c : cases) {
        NvApiLoader loader(c.path);
        EXPECT_EQ(loader.NvAPI_Initialize(), c.status) << c.what;
        NvAPI_ShortString name = {};
        EXPECT_EQ(loader.NvAPI_GPU_GetFullName(nullptr, name), c.status) << c.what;
        NvDRSSessionHandle s = nullptr;
        EXPECT_EQ(loader.NvAPI_DRS_CreateSession(&s), c.status) << c.what;
        EXPECT_EQ(loader.QueryInterface(nvid::Initialize), nullptr);
    }
}

TEST(NvApiLoader, UnknownIdGivesMinusThreeAndEachEntryIsLookedUpOnce)
{
    NvApiLoader loader(test::BinDir() + "/tests/libkorvax-test-minidriver.so");
    ASSERT_EQ(loader.Load(), NVAPI_OK);
    NvPhysicalGpuHandle handles[NVAPI_MAX_PHYSICAL_GPUS] = {};
    NvU32 count = 0;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(loader.NvAPI_EnumPhysicalGPUs(handles, &count), NVAPI_NO_IMPLEMENTATION);
    EXPECT_EQ(loader.NvAPI_Initialize(), NVAPI_OK);
    EXPECT_EQ(loader.NvAPI_Initialize(), NVAPI_OK);
    auto queries = reinterpret_cast<int (*)(unsigned)>(loader.QueryInterface(0x7E570001));
    ASSERT_NE(queries, nullptr);
    EXPECT_EQ(queries(nvid::EnumPhysicalGPUs), 1);
    EXPECT_EQ(queries(nvid::Initialize), 2); // once at load, once as the table's entry
}

TEST(NvApiLoader, DriverThatFailsToInitialiseIsReleasedWithMinusOne)
{
    test::SimLibrary sim;
    ASSERT_EQ(sim.Start("offset"), NVAPI_OK);
    sim.Control()->injectFault(nvid::Initialize, kSimFaultNextCalls, 1, 0);
    NvApiLoader loader(test::SimLibraryPath());
    EXPECT_EQ(loader.NvAPI_Initialize(), NVAPI_ERROR);
    NvU32 count = 0;
    NvPhysicalGpuHandle handles[NVAPI_MAX_PHYSICAL_GPUS] = {};
    EXPECT_EQ(loader.NvAPI_EnumPhysicalGPUs(handles, &count), NVAPI_ERROR); // the first try's result sticks
}

TEST(NvApiLoader, DefaultPathComesFromTheEnvironment)
{
    // The default loader is the program's; a fresh one resolves KORVAX_NVAPI the same way.
    test::TempDir dir;
    ::setenv("KORVAX_NVAPI", dir.file("absent.so").c_str(), 1);
    NvApiLoader loader;
    EXPECT_EQ(loader.Load(), NVAPI_LIBRARY_NOT_FOUND);
    EXPECT_EQ(loader.LibraryPath(), dir.file("absent.so"));
    ::unsetenv("KORVAX_NVAPI");
    NvApiLoader beside;
    beside.Load();
    EXPECT_EQ(beside.LibraryPath().substr(beside.LibraryPath().rfind('/') + 1), "libkorvax-simgpu.so");
}

class GpuIdentity : public GpuTest
{
};

TEST_F(GpuIdentity, InitializeReadsHandlesDisplaysAndTheSelectedCardsIds)
{
    Start("offset");
    EXPECT_EQ(gpu->m_nGpuCount, 1u);
    EXPECT_NE(gpu->m_hGpus[0], nullptr);
    EXPECT_EQ(gpu->m_nDisplayCount, 1u);
    EXPECT_EQ(gpu->m_wVendorId, 0x10DE);
    EXPECT_EQ(gpu->m_wDeviceId, 0x1180);
    EXPECT_EQ(gpu->m_wSubVendorId, 0x10DE);
    EXPECT_EQ(gpu->m_wSubSystemId, 0x0969);
    EXPECT_EQ(gpu->m_nStatus, 0);
    EXPECT_TRUE(boxes.empty());

    // The card line's reads, straight through the driver table.
    NvAPI_ShortString name = {};
    EXPECT_EQ(gpu->Driver().NvAPI_GPU_GetFullName(gpu->m_hGpus[gpu->m_nCurGpu], name), 0);
    EXPECT_STREQ(name, "Simulated GeForce GTX 680");
    NvU32 kb = 0;
    EXPECT_EQ(gpu->Driver().NvAPI_GPU_GetPhysicalFrameBufferSize(gpu->m_hGpus[0], &kb), 0);
    EXPECT_EQ(kb >> 10, 2048u);
    NV_DISPLAY_DRIVER_VERSION ver = {};
    ver.version = NV_DISPLAY_DRIVER_VERSION_VER;
    EXPECT_EQ(gpu->Driver().NvAPI_GetDisplayDriverVersion(gpu->m_hDisplays[0], &ver), 0);
    EXPECT_EQ(ver.drvVersion, 30142u);
}

TEST_F(GpuIdentity, StartFailuresShowTheStandardMessageBox)
{
    Start("none", 2);
    EXPECT_EQ(boxes, std::vector<std::string>{"NvAPI_EnumPhysicalGPUs failed"});
    EXPECT_EQ(gpu->m_wDeviceId, 0);
    EXPECT_STREQ(gpu->m_szError, "NVAPI_NVIDIA_DEVICE_NOT_FOUND");

    boxes.clear();
    test::TempDir dir;
    NvApiLoader missing(dir.file("missing.so"));
    GpuControl broken(missing);
    EXPECT_EQ(broken.Initialize(), 1);
    EXPECT_EQ(boxes, std::vector<std::string>{"Initial nvAPI fail!"});
    EXPECT_EQ(broken.m_nStatus, NVAPI_LIBRARY_NOT_FOUND);
    EXPECT_STREQ(broken.m_szError, "NVAPI_LIBRARY_NOT_FOUND");
    // Every later operation fails cleanly.
    GpuPerfInfo info = {};
    int temp = 5;
    EXPECT_EQ(broken.GetTemperature(temp, -1), 1);
    EXPECT_EQ(temp, 0);
    EXPECT_EQ(broken.GetPstates20(-1, &info), 1);
    EXPECT_EQ(broken.SetFrameRateTarget(60), 1);
}

TEST_F(GpuIdentity, FourDisplaysAreCountedAndTheIdentityReadEndsTheStatus)
{
    test::TempDir dir;
    std::string path = dir.file("four.scenario");
    test::TempDir::Write(path, "displays = 4\n[card]\nfamily = offset\ndevice-id = 0x1189\n");
    ASSERT_EQ(sim.Start(path), NVAPI_OK);
    sim.Control()->injectFault(nvid::GPU_GetPCIIdentifiers, kSimFaultAlways, 0, NVAPI_NOT_SUPPORTED);
    GpuControl control(test::SimLoader());
    EXPECT_EQ(control.Initialize(), 0); // a failed identity read does not fail the start
    EXPECT_EQ(control.m_nDisplayCount, 4u);
    EXPECT_EQ(control.m_nStatus, NVAPI_NOT_SUPPORTED);
    EXPECT_EQ(control.m_wDeviceId, 0);

    sim.Control()->clearFaults();
    GpuControl again(test::SimLoader());
    EXPECT_EQ(again.Initialize(), 0);
    EXPECT_EQ(again.m_wDeviceId, 0x1189);
    EXPECT_EQ(again.m_nStatus, 0);
}

TEST_F(GpuIdentity, GpuMinusOneAddressesTheSelectedGpu)
{
    Start("rig");
    WORD v = 0, d = 0, sv = 0, ss = 0;
    gpu->m_nCurGpu = 1;
    EXPECT_EQ(gpu->GetPciIds(-1, v, d, sv, ss), 0);
    EXPECT_EQ(d, 0x1080);
    EXPECT_EQ(gpu->GetPciIds(2, v, d, sv, ss), 0);
    EXPECT_EQ(d, 0x1189);
    EXPECT_EQ(v, 0x10DE);
    // Indexes beyond the handle table address no card; the outputs stay as they were.
    for (int index : {4, 63, 64, 1000, -2}) {
        d = 0xBEEF;
        EXPECT_EQ(gpu->GetPciIds(index, v, d, sv, ss), 1) << index;
        EXPECT_EQ(d, 0xBEEF);
    }
    gpu->m_nCurGpu = 200;
    EXPECT_EQ(gpu->GetPciIds(-1, v, d, sv, ss), 1);
}

TEST_F(GpuIdentity, RamTypeNames)
{
    const struct
    {
        int type;
        const char* text;
    } cases[] = {{0, "UNKNOWN"}, {1, "SDRAM"}, {2, "DDR1"},  {3, "DDR2"},   {4, "GDDR2"},  {5, "GDDR3"},
                 {6, "GDDR4"},   {7, "DDR3"},  {8, "GDDR5"}, {9, "before"}, {15, "before"}};
    test::TempDir dir;
    for (const auto& c : cases) {
        std::string path = dir.file("ram.scenario");
        test::TempDir::Write(path, "[card]\nfamily = offset\nram-type = " + std::to_string(c.type) + "\n");
        Start(path);
        std::string text = "before";
        EXPECT_EQ(gpu->GetRamTypeName(0, text), 0) << c.type;
        EXPECT_EQ(text, c.text) << c.type;
    }
    // A failed read still names type 0 and reports the failure.
    ctl->injectFault(nvid::GPU_GetRamType, kSimFaultAlways, 0, 0);
    std::string text = "before";
    EXPECT_EQ(gpu->GetRamTypeName(0, text), 1);
    EXPECT_EQ(text, "UNKNOWN");
    EXPECT_EQ(gpu->m_nStatus, NVAPI_ERROR);
}

TEST_F(GpuIdentity, SixtyFourCardsFillTheTable)
{
    test::TempDir dir;
    std::string text;
    for (int i = 0; i < 64; ++i)
        text += "[card]\nfamily = " + std::string(i % 2 ? "clock" : "offset") + "\n";
    test::TempDir::Write(dir.file("64.scenario"), text);
    Start(dir.file("64.scenario"));
    EXPECT_EQ(gpu->m_nGpuCount, 64u);
    WORD v = 0, d = 0, sv = 0, ss = 0;
    EXPECT_EQ(gpu->GetPciIds(63, v, d, sv, ss), 0);
    EXPECT_EQ(d, 0x1080);
}

} // namespace

namespace {

// Regression: counts from the driver beyond a record's capacity must never be followed outside it.
TEST_F(GpuIdentity, ExtremeDriverAnswersStayInsideTheRecords)
{
    NvApiLoader hostile(test::BinDir() + "/tests/libkorvax-test-hostiledriver.so");
    GpuControl control(hostile);
    ASSERT_EQ(control.Initialize(), 0);
    EXPECT_EQ(control.m_nGpuCount, 64u);
    EXPECT_EQ(control.m_nDisplayCount, 128u);
    EXPECT_EQ(control.m_szError[NVAPI_SHORT_STRING_MAX - 1], '\0');

    GpuPerfInfo info = {};
    BeginCapture();
    EXPECT_EQ(control.GetCurrentClocks(-1, &info), 0);
    EXPECT_EQ(control.GetPerfClocks(&info), 0);
    EXPECT_EQ(control.GetTopPerfClocks(-1, &info), 0);
    EXPECT_EQ(control.GetPstateClocks(&info, -1, 16), 0);
    EXPECT_FALSE(std::isfinite(info.fShaderRatio)); // all clocks 0
    EXPECT_EQ(control.SetP0Voltage(-1, 1000), 0);
    EXPECT_EQ(control.SetP0Clocks(info, 63), 0);
    EXPECT_EQ(control.GetPstates20(-1, &info), 0);
    EXPECT_EQ(control.SetPstates20(info, -1), 0);
    int temp = 0;
    EXPECT_EQ(control.GetTemperature(temp, -1), 0);
    EXPECT_EQ(temp, -273);
    EXPECT_EQ(control.GetFanLevel(), -1);
    EXPECT_EQ(control.SetFanLevel(1, 50, -1), 0);
    EXPECT_EQ(control.GetPowerTarget(&info), 0);
    EXPECT_EQ(control.SetPowerTarget(info, -1), 0);
    EXPECT_EQ(control.SetFrameRateTarget(60), 0);
    EndCapture();
}

} // namespace

// The per-card configuration file over a start: the exact file a first start leaves for each card
// family, a second start that writes nothing, damaged files and a folder without write rights.
#include "config/ConfigFile.h"
#include "platform/os/ModulePath.h"
#include "tests/platform/os/Unprivileged.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

using test::TempDir;

// A value section as a first start writes it before the card's values are stored.
std::string OffsetSection(const char* name, int core = 0, int mem = 0, int power = 0, int fan = 0,
                          int mode = 0)
{
    return std::string("[") + name + "]\nCoreOffset=" + std::to_string(core) +
           "\nMemOffset=" + std::to_string(mem) + "\nPower=" + std::to_string(power) +
           "\nFanSpeed=" + std::to_string(fan) + "\nFanMode=" + std::to_string(mode) + "\nFrame=0\n";
}

std::string ClockSection(const char* name, int engine = 0, int shader = 0, int memory = 0, int fan = 0,
                         int mode = 0, int nvvdd = 0, int lock = 0)
{
    return std::string("[") + name + "]\nEngineClock=" + std::to_string(engine) +
           "\nShaderClock=" + std::to_string(shader) + "\nMemoryClock=" + std::to_string(memory) +
           "\nFanSpeed=" + std::to_string(fan) + "\nFanMode=" + std::to_string(mode) +
           "\nNVVDD=" + std::to_string(nvvdd) + "\nEngineShaderLock=" + std::to_string(lock) + "\n";
}

std::string KorvSection(const char* gpudid, int autoRun)
{
    return std::string("[Korv]\nGPUDID=") + gpudid +
           "\nInitialized=1\nSynchronize=1\nAutoOverClock=0\nStartupMinimize=0\n[Windows Startup]\nAutoRun=" +
           std::to_string(autoRun) + "\n\n";
}

class ConfigFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        os::OverrideExecutablePath(m_dir.file("korvax"));
        m_hooks.registerAutoRun = [this] {
            ++m_registered;
            return m_registerResult;
        };
        m_hooks.showMessage = [this](const char* text) { m_messages.push_back(text); };
    }
    void TearDown() override { os::OverrideExecutablePath(""); }
    std::string Text(const char* name) const { return TempDir::Read(m_dir.file(name)); }

    TempDir m_dir;
    config::StartupHooks m_hooks;
    config::StartupOptions m_options;
    int m_registerResult = 0;
    int m_registered = 0;
    std::vector<std::string> m_messages;
};

TEST_F(ConfigFileTest, FirstStartOfAnOffsetFamilyCard)
{
    EXPECT_EQ(config::CfgFileName(0x1180), "Korv_DID1180.cfg");
    config::InitConfigOffset("Korv_DID1180.cfg", 0x1180, m_options, m_hooks);
    EXPECT_EQ(m_options.bCfgInitialized, 0);
    EXPECT_EQ(m_options.bAutoOverClock, 0);
    EXPECT_EQ(m_options.bStartupMinimize, 0);
    EXPECT_EQ(m_options.bSynchronize, 1);
    EXPECT_EQ(m_registered, 1);
    EXPECT_TRUE(m_messages.empty());

    config::DefaultRows rows;
    rows.nRow1 = 135; // the card's own offsets, power target and fan as the rows read them
    rows.nRow2 = -200;
    rows.nRow3 = 60;
    rows.nRow4 = 100;
    rows.nRow5 = 40;
    rows.bFanAuto = 1;
    config::SaveDefaultsOffset("Korv_DID1180.cfg", rows);

    EXPECT_EQ(Text("Korv_DID1180.cfg"),
              KorvSection("1180", 1) + OffsetSection("Default", 135, -200, 100, 40) + "\n" +
                  OffsetSection("Start_OC", 135, -200, 100, 40) + "\n" + OffsetSection("Profile1") + "\n" +
                  OffsetSection("Profile2") + "\n" + OffsetSection("Profile3") + "\n\n");
}

TEST_F(ConfigFileTest, FirstStartOfAClockFamilyCard)
{
    config::InitConfigClock("Korv_DID0FC6.cfg", 0x0FC6, m_options, m_hooks);
    config::DefaultRows rows;
    rows.nRow1 = 1006;
    rows.nRow2 = 2012;
    rows.nRow3 = 3004;
    rows.nRow4 = 1162;
    rows.nRow5 = 30;
    rows.bFanAuto = 0; // manual fan: FanMode 1
    config::SaveDefaultsClock("Korv_DID0FC6.cfg", rows);

    EXPECT_EQ(Text("Korv_DID0FC6.cfg"),
              KorvSection("0FC6", 1) + ClockSection("Default", 1006, 2012, 3004, 30, 1, 1162, 1) + "\n" +
                  ClockSection("Start_OC", 1006, 2012, 3004, 30, 1, 1162, 1) + "\n" +
                  ClockSection("Profile1") + "\n" + ClockSection("Profile2") + "\n" +
                  ClockSection("Profile3") + "\n");
}

TEST_F(ConfigFileTest, SecondStartReadsTheOptionsAndWritesNothing)
{
    struct
    {
        const char* korv;
        int autoOverClock, startupMinimize, synchronize;
    } cases[] = {
        {"Initialized=1\nSynchronize=1\nAutoOverClock=0\nStartupMinimize=0\n", 0, 0, 1},
        {"Initialized=1\nSynchronize=0\nAutoOverClock=1\nStartupMinimize=1\n", 1, 1, 0},
        {"Initialized=1\nSynchronize=2\nAutoOverClock=2\nStartupMinimize=-1\n", 0, 0, 0}, // only 1 is on
        {"Initialized=1\n", 0, 0, 0}, // missing keys read as 99
        {"initialized = 1 \nautooverclock=\"1\"\n", 1, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.korv);
        const std::string text = std::string("[Korv]\r\n") + c.korv + "[Profile1]\nFrame=75\n";
        TempDir::Write(m_dir.file("Korv_DID1189.cfg"), text);
        struct stat before, after;
        ::stat(m_dir.file("Korv_DID1189.cfg").c_str(), &before);
        m_registered = 0;
        config::StartupOptions options;
        config::InitConfigOffset("Korv_DID1189.cfg", 0x1189, options, m_hooks);
        EXPECT_EQ(options.bCfgInitialized, 1);
        EXPECT_EQ(options.bAutoOverClock, c.autoOverClock);
        EXPECT_EQ(options.bStartupMinimize, c.startupMinimize);
        EXPECT_EQ(options.bSynchronize, c.synchronize);
        EXPECT_EQ(m_registered, 0);
        EXPECT_EQ(Text("Korv_DID1189.cfg"), text);
        ::stat(m_dir.file("Korv_DID1189.cfg").c_str(), &after);
        EXPECT_EQ(before.st_ino, after.st_ino) << "the file was not even replaced";
    }
}

TEST_F(ConfigFileTest, DamagedFileIsCreatedAgainAndLosesItsProfiles)
{
    const std::string user = "; my notes\n[Korv]\nGPUDID=1180\nSynchronize=0\nAutoOverClock=1\n"
                             "[Profile1]\nCoreOffset=150\nMemOffset=300\nPower=110\nFanSpeed=70\nFanMode=1\n"
                             "Frame=90\nNote=keep\n";
    for (const char* initialized : {"", "Initialized=2\n", "Initialized=yes\n"}) {
        SCOPED_TRACE(initialized);
        std::string text = user;
        text.insert(text.find("Synchronize"), initialized);
        TempDir::Write(m_dir.file("Korv_DID1180.cfg"), text);
        m_registered = 0;
        config::StartupOptions options;
        options.bAutoOverClock = options.bStartupMinimize = 1;
        config::InitConfigOffset("Korv_DID1180.cfg", 0x1180, options, m_hooks);
        EXPECT_EQ(options.bCfgInitialized, 0);
        EXPECT_EQ(options.bAutoOverClock, 0);
        EXPECT_EQ(options.bStartupMinimize, 0);
        EXPECT_EQ(m_registered, 1) << "registers again for start with the session";

        const std::string after = Text("Korv_DID1180.cfg");
        EXPECT_EQ(after.rfind("; my notes\n[Korv]\nGPUDID=1180\n", 0), 0u);
        for (const char* line :
             {"\nInitialized=1\n", "\nSynchronize=1\n", "\nAutoOverClock=0\n", "\nStartupMinimize=0\n"})
            EXPECT_NE(after.find(line), std::string::npos) << line;
        EXPECT_NE(
            after.find("[Profile1]\nCoreOffset=0\nMemOffset=0\nPower=0\nFanSpeed=0\nFanMode=0\nFrame=0\n"
                       "Note=keep\n"),
            std::string::npos);
    }
}

TEST_F(ConfigFileTest, FailedRegistrationIsShownAndStoredAsOff)
{
    m_registerResult = 5;
    config::InitConfigClock("Korv_DID0000.cfg", 0, m_options, m_hooks);
    EXPECT_EQ(m_messages, std::vector<std::string>{"Set Windows StartUp Korv Auto Run Fail!"});
    EXPECT_EQ(Text("Korv_DID0000.cfg").rfind(KorvSection("0000", 0), 0), 0u);
}

TEST_F(ConfigFileTest, FolderWithoutWriteRightsShowsTheNotices)
{
    ::chmod(m_dir.path().c_str(), 0555);
    for (int registerResult : {0, 5}) {
        int rc = test::RunUnprivileged([&] {
            std::vector<std::string> messages;
            config::StartupHooks hooks;
            hooks.registerAutoRun = [&] { return registerResult; };
            hooks.showMessage = [&](const char* text) { messages.push_back(text); };
            config::StartupOptions options;
            config::InitConfigOffset("Korv_DID1180.cfg", 0x1180, options, hooks);
            config::SaveDefaultsOffset("Korv_DID1180.cfg", config::DefaultRows());
            std::vector<std::string> expected;
            if (registerResult != 0)
                expected.push_back("Set Windows StartUp Korv Auto Run Fail!");
            expected.push_back("Save configuration of auto run to file fail!");
            return (messages == expected ? 0 : 1) | (options.bCfgInitialized == 0 ? 0 : 2);
        });
        EXPECT_EQ(rc, 0) << registerResult;
    }
    ::chmod(m_dir.path().c_str(), 0755);
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("Korv_DID1180.cfg")));
}

TEST_F(ConfigFileTest, TwoCardModelsKeepTheirOwnFiles)
{
    config::InitConfigOffset("Korv_DID1180.cfg", 0x1180, m_options, m_hooks);
    const std::string first = Text("Korv_DID1180.cfg");
    config::StartupOptions other;
    config::InitConfigClock("Korv_DID1080.cfg", 0x1080, other, m_hooks);
    EXPECT_EQ(Text("Korv_DID1180.cfg"), first);
    EXPECT_NE(Text("Korv_DID1080.cfg").find("[Profile3]\nEngineClock=0"), std::string::npos);
    EXPECT_NE(first.find("[Profile3]\nCoreOffset=0"), std::string::npos);
}

} // namespace

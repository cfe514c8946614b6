// IniFile as its callers use it: records in, file text out, and back.
#include "config/IniFile.h"
#include "platform/os/ModulePath.h"
#include "tests/platform/os/Unprivileged.h"
#include "tests/support/TempDir.h"

#include <climits>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using test::TempDir;

IniKey Key(const char* section, const char* key, int value = 0, const char* text = "")
{
    IniKey k;
    std::memset(&k, 0, sizeof k);
    std::strncpy(k.szSection, section, sizeof k.szSection - 1);
    std::strncpy(k.szKey, key, sizeof k.szKey - 1);
    std::strncpy(k.szValue, text, sizeof k.szValue - 1);
    k.nValue = value;
    return k;
}

IniSection Section(const char* name, std::initializer_list<std::pair<int, const char*>> slots)
{
    IniSection s;
    std::memset(&s, 0, sizeof s);
    std::strncpy(s.szSection, name, sizeof s.szSection - 1);
    for (auto& [slot, key] : slots)
        std::strncpy(s.szKey[slot], key, sizeof s.szKey[slot] - 1);
    return s;
}

class IniFileTest : public ::testing::Test
{
protected:
    void SetUp() override { os::OverrideExecutablePath(m_dir.file("korvax")); }
    void TearDown() override { os::OverrideExecutablePath(""); }
    std::string Text() const { return TempDir::Read(m_dir.file("k.cfg")); }
    void SetText(const std::string& text) const { TempDir::Write(m_dir.file("k.cfg"), text); }

    TempDir m_dir;
    IniFile m_ini{"k.cfg"};
};

TEST_F(IniFileTest, FreshFolderReadFailsThenWriteCreatesTheFile)
{
    IniKey k = Key("Korv", "Initialized", 7, "seven");
    EXPECT_EQ(m_ini.ReadKey(k), 1);
    EXPECT_STREQ(k.szValue, "seven") << "a failed read leaves the record";
    EXPECT_EQ(k.nValue, 7);
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("k.cfg"))) << "reads never create the file";

    EXPECT_EQ(m_ini.WriteKey(Key("Korv", "Initialized", 1), 10, false), 0);
    EXPECT_EQ(Text(), "[Korv]\nInitialized=1\n");
    EXPECT_EQ(m_ini.ReadKey(k), 0);
    EXPECT_EQ(k.nValue, 1);
}

TEST_F(IniFileTest, MissingKeysReadAsTheirDefaults)
{
    SetText("[Korv]\nGPUDID=1180\n");
    IniKey k = Key("Korv", "Initialized");
    EXPECT_EQ(m_ini.ReadKey(k), 0);
    EXPECT_STREQ(k.szValue, "99");
    EXPECT_EQ(k.nValue, 99);

    IniSection s = Section("Profile1", {{10, "CoreOffset"},
                                        {11, "MemOffset"},
                                        {13, "Power"},
                                        {3, "FanSpeed"},
                                        {4, "FanMode"},
                                        {14, "Frame"}});
    for (int slot : {3, 4, 10, 11, 13, 14}) {
        std::strcpy(s.szValue[slot], "x");
        s.nValue[slot] = 5;
    }
    s.nValue[0] = 42; // not an offset-family slot
    EXPECT_EQ(m_ini.ReadOffsetSection(s), 0);
    for (int slot : {3, 4, 10, 11, 13, 14}) {
        EXPECT_STREQ(s.szValue[slot], "0") << slot;
        EXPECT_EQ(s.nValue[slot], 0) << slot;
    }
    EXPECT_EQ(s.nValue[0], 42);
}

TEST_F(IniFileTest, WriteKeyRadixes)
{
    struct
    {
        int radix;
        int value;
        const char* text;
        const char* written;
    } cases[] = {
        {16, 0x1180, "", "1180"}, {16, 0x0FC6, "", "0FC6"}, {16, 0, "", "0000"},
        {10, -135, "", "-135"},   {10, 1, "x", "1"},        {7, 123, "as filled", "as filled"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        SetText("");
        EXPECT_EQ(m_ini.WriteKey(Key("Korv", "GPUDID", c.value, c.text), c.radix, false), 0);
        EXPECT_EQ(Text(), std::string("[Korv]\nGPUDID=") + c.written + "\n");
    }
    IniKey k = Key("Korv", "GPUDID");
    m_ini.ReadKey(k);
    EXPECT_EQ(k.nValue, 0) << "atoi of a text that starts with no digit";
    SetText("[Korv]\nGPUDID=1180\n");
    m_ini.ReadKey(k);
    EXPECT_EQ(k.nValue, 1180) << "hexadecimal text reads back as the decimal number";
}

TEST_F(IniFileTest, ClockSectionKeyOrderAndRoundTrip)
{
    IniSection s = Section("Default", {{0, "ShaderClock"},
                                       {1, "EngineClock"},
                                       {2, "MemoryClock"},
                                       {3, "FanSpeed"},
                                       {4, "FanMode"},
                                       {5, "EngineShaderLock"},
                                       {6, "NVVDD"},
                                       {7, "Slot7"}});
    const int values[] = {1200, 600, 1800, 45, 1, 1, -135, 77};
    for (int i = 0; i < 8; ++i)
        s.nValue[i] = values[i];
    std::strcpy(s.szValue[0], "kept");

    EXPECT_EQ(m_ini.WriteClockSection(s, false), 0);
    EXPECT_EQ(Text(), "[Default]\nEngineClock=600\nShaderClock=1200\nMemoryClock=1800\nFanSpeed=45\n"
                      "FanMode=1\nNVVDD=-135\nEngineShaderLock=1\n");
    EXPECT_STREQ(s.szValue[0], "kept") << "a write takes the record by value";

    IniSection r = Section("default", {{0, "shaderclock"},
                                       {1, "EngineClock"},
                                       {2, "MemoryClock"},
                                       {3, "FanSpeed"},
                                       {4, "FanMode"},
                                       {5, "EngineShaderLock"},
                                       {6, "NVVDD"},
                                       {7, "Slot7"}});
    EXPECT_EQ(m_ini.ReadClockSection(r), 0);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(r.nValue[i], values[i]) << i;
    EXPECT_STREQ(r.szValue[7], "0") << "slot 7 is read but never written";
    EXPECT_EQ(r.nValue[7], 0);
}

TEST_F(IniFileTest, OffsetSectionKeyOrderAndLineBreak)
{
    IniSection s = Section("Start_OC", {{10, "CoreOffset"},
                                        {11, "MemOffset"},
                                        {13, "Power"},
                                        {3, "FanSpeed"},
                                        {4, "FanMode"},
                                        {14, "Frame"},
                                        {0, "NotOffset"}});
    s.nValue[10] = 135;
    s.nValue[11] = -200;
    s.nValue[13] = 110;
    s.nValue[3] = 60;
    s.nValue[4] = 1;
    s.nValue[14] = 0;
    EXPECT_EQ(m_ini.WriteOffsetSection(s, true), 0);
    const std::string first =
        "[Start_OC]\nCoreOffset=135\nMemOffset=-200\nPower=110\nFanSpeed=60\nFanMode=1\nFrame=0\n";
    EXPECT_EQ(Text(), first + "\n") << "appendBreak leaves an empty line at the end";

    std::strcpy(s.szSection, "Profile1");
    EXPECT_EQ(m_ini.WriteOffsetSection(s, false), 0);
    EXPECT_EQ(Text(), first + "\n" +
                          "[Profile1]\nCoreOffset=135\nMemOffset=-200\nPower=110\nFanSpeed=60\n"
                          "FanMode=1\nFrame=0\n");
}

TEST_F(IniFileTest, ValueTextsAndNumbersAsTheCRuntimeReadsThem)
{
    struct
    {
        const char* inFile;
        const char* text;
        int number;
    } cases[] = {
        {"12abc", "12abc", 12},
        {"+5", "+5", 5},
        {"-7 x", "-7 x", -7},
        {"0x1F", "0x1F", 0},
        {"abc", "abc", 0},
        {"99999999999", "99999999999", INT_MAX},
        {"-99999999999", "-99999999999", INT_MIN},
        {"1234567890123456789012345678901234567890", "1234567890123456789012345678901", INT_MAX},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.inFile);
        SetText(std::string("[Korv]\nInitialized=") + c.inFile + "\n");
        IniKey k = Key("Korv", "Initialized");
        EXPECT_EQ(m_ini.ReadKey(k), 0);
        EXPECT_STREQ(k.szValue, c.text);
        EXPECT_EQ(k.nValue, c.number);
    }
}

// Regression: names filled to the last byte of their field were read past its end.
TEST_F(IniFileTest, UnterminatedNamesStayInsideTheirFields)
{
    IniKey k;
    std::memset(&k, 'k', sizeof k);
    k.nValue = 3;
    EXPECT_EQ(m_ini.WriteKey(k, 10, false), 0);
    const std::string name(31, 'k');
    EXPECT_EQ(Text(), "[" + name + "]\n" + name + "=3\n");
}

TEST_F(IniFileTest, PathThatCannotBeFormedTouchesNothing)
{
    os::OverrideExecutablePath("korvax"); // no folder
    IniKey k = Key("Korv", "Initialized", 5, "five");
    EXPECT_EQ(m_ini.ReadKey(k), 1);
    EXPECT_EQ(m_ini.WriteKey(k, 10, true), 1);
    EXPECT_FALSE(std::filesystem::exists("k.cfg"));

    // The full path may have 255 characters, not 256.
    std::string folder = m_dir.path();
    while (folder.size() + 41 <= 230)
        folder += "/" + std::string(40, 'd');
    std::filesystem::create_directories(folder);
    os::OverrideExecutablePath(folder + "/korvax");
    const std::string fits(255 - folder.size() - 1, 'f');
    IniFile ok(fits.c_str());
    EXPECT_EQ(ok.WriteKey(k, 10, false), 0);
    EXPECT_TRUE(std::filesystem::exists(folder + "/" + fits));
    IniFile tooLong((fits + "g").c_str());
    EXPECT_EQ(tooLong.WriteKey(k, 10, false), 1);
    EXPECT_EQ(tooLong.ReadKey(k), 1);
    EXPECT_FALSE(std::filesystem::exists(folder + "/" + fits + "g"));
}

TEST_F(IniFileTest, FolderWithoutWriteRightsFailsTheWrites)
{
    SetText("[Korv]\nInitialized=1\n");
    ::chmod(m_dir.path().c_str(), 0555);
    ::chmod(m_dir.file("k.cfg").c_str(), 0666);
    int rc = test::RunUnprivileged([&] {
        IniFile ini("k.cfg");
        IniFile fresh("new.cfg");
        IniSection s = Section("Default", {{1, "EngineClock"}});
        int bad = 0;
        bad |= ini.WriteKey(Key("Korv", "Initialized", 0), 10, false) != 1 ? 1 : 0;
        bad |= ini.WriteClockSection(s, true) != 1 ? 2 : 0;
        bad |= fresh.WriteKey(Key("Korv", "Initialized", 0), 10, false) != 1 ? 4 : 0;
        IniKey k = Key("Korv", "Initialized");
        bad |= ini.ReadKey(k) != 0 || k.nValue != 1 ? 8 : 0;
        return bad;
    });
    ::chmod(m_dir.path().c_str(), 0755);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(Text(), "[Korv]\nInitialized=1\n");
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("new.cfg")));
}

} // namespace

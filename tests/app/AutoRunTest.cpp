// Start with the desktop session, against a private XDG_CONFIG_DIRS: the entry's text, the three
// results, quoting of unusual paths, and a user without the rights to write the entry.
#include "app/AutoRun.h"
#include "platform/os/ModulePath.h"
#include "platform/os/WinTypes.h"
#include "tests/platform/os/Unprivileged.h"
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using test::TempDir;

class AutoRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* old = std::getenv("XDG_CONFIG_DIRS");
        m_oldDirs = old ? old : "";
        ::chmod(m_dir.path().c_str(), 0755);
        std::filesystem::create_directory(m_dir.file("xdg"));
        ::setenv("XDG_CONFIG_DIRS", (m_dir.file("xdg") + ":" + m_dir.file("second")).c_str(), 1);
        os::OverrideExecutablePath("/opt/korvax/korvax");
    }
    void TearDown() override
    {
        ::setenv("XDG_CONFIG_DIRS", m_oldDirs.c_str(), 1);
        os::OverrideExecutablePath("");
    }
    std::string Entry() const { return m_dir.file("xdg/autostart/QuillmarkStartUpAutoRun.desktop"); }

    TempDir m_dir;
    std::string m_oldDirs;
};

TEST_F(AutoRunTest, RegisterQueryUnregister)
{
    char buf[kAutoRunPathSize] = "untouched";
    EXPECT_EQ(QueryAutoRun(buf), 1) << "no autostart folder yet";

    EXPECT_EQ(RegisterAutoRun(), 0);
    EXPECT_EQ(TempDir::Read(Entry()),
              "[Desktop Entry]\nType=Application\nName=Korvax\nExec=/opt/korvax/korvax\n");
    struct stat st;
    ASSERT_EQ(::stat(Entry().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    EXPECT_EQ(QueryAutoRun(buf), 0);
    EXPECT_STREQ(buf, "/opt/korvax/korvax");

    os::OverrideExecutablePath("/usr/local/bin/korvax"); // the program moved and registers again
    EXPECT_EQ(RegisterAutoRun(), 0);
    EXPECT_EQ(QueryAutoRun(buf), 0);
    EXPECT_STREQ(buf, "/usr/local/bin/korvax");

    EXPECT_EQ(UnregisterAutoRun(), 0);
    EXPECT_EQ(QueryAutoRun(buf), 2);
    EXPECT_NE(UnregisterAutoRun(), 0) << "deleting a missing entry reports it";
    EXPECT_EQ(QueryAutoRun(buf), 2);
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("second"))) << "only the first folder is used";
}

TEST_F(AutoRunTest, ExecLineIsQuotedAsDesktopEntriesRequire)
{
    struct
    {
        const char* program;
        const char* exec;
    } cases[] = {
        {"/opt/korvax/korvax", "/opt/korvax/korvax"},
        {"/home/me/My Programs/korvax", "\"/home/me/My Programs/korvax\""},
        {"/opt/100%/korvax", "/opt/100%%/korvax"},
        {"/opt/a$b\"c`d/korvax", "\"/opt/a\\\\$b\\\\\"c\\\\`d/korvax\""},
        {"/opt/back\\slash/korvax", "\"/opt/back\\\\\\\\slash/korvax\""},
        {"/opt/tab\there/korvax", "\"/opt/tab\\there/korvax\""},
        {"/opt/it's (new)/korvax", "\"/opt/it's (new)/korvax\""},
        {"/opt/\xE4\xB8\xAD\xE6\x96\x87/korvax", "/opt/\xE4\xB8\xAD\xE6\x96\x87/korvax"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program);
        EXPECT_EQ(autorun::ExecValueFor(c.program), c.exec);
        os::OverrideExecutablePath(c.program);
        ASSERT_EQ(RegisterAutoRun(), 0);
        EXPECT_NE(TempDir::Read(Entry()).find(std::string("\nExec=") + c.exec + "\n"), std::string::npos);
        char buf[kAutoRunPathSize] = {};
        EXPECT_EQ(QueryAutoRun(buf), 0);
        EXPECT_STREQ(buf, c.program);
    }
}

TEST_F(AutoRunTest, EntriesThatDoNotStartTheProgramReadAsMissing)
{
    std::filesystem::create_directories(m_dir.file("xdg/autostart"));
    const std::string longPath = "/" + std::string(300, 'p') + "/korvax";
    const std::string entries[] = {
        "[Desktop Entry]\nType=Application\nName=Korvax\nExec=/opt/korvax/korvax\nHidden=true\n",
        "[Desktop Entry]\nType=Application\nName=Korvax\n",
        "[Other]\nExec=/opt/korvax/korvax\n",
        "[Desktop Entry]\nExec=\"/opt/unclosed\n",
        "[Desktop Entry]\nExec=" + longPath + "\n",
    };
    for (const std::string& text : entries) {
        SCOPED_TRACE(text);
        TempDir::Write(Entry(), text);
        char buf[kAutoRunPathSize];
        EXPECT_EQ(QueryAutoRun(buf), 2);
    }
    TempDir::Write(Entry(), "[Desktop Entry]\r\nExec = /opt/korvax/korvax --flag\r\n");
    char buf[kAutoRunPathSize];
    EXPECT_EQ(QueryAutoRun(buf), 0);
    EXPECT_STREQ(buf, "/opt/korvax/korvax");
}

TEST_F(AutoRunTest, WithoutAdministratorRightsRegisterFails)
{
    std::filesystem::create_directories(m_dir.file("xdg/autostart"));
    ::chmod(m_dir.file("xdg").c_str(), 0755);
    ::chmod(m_dir.file("xdg/autostart").c_str(), 0755);
    ASSERT_EQ(RegisterAutoRun(), 0);
    const std::string before = TempDir::Read(Entry());

    os::OverrideExecutablePath("/home/user/korvax");
    EXPECT_EQ(test::RunUnprivileged([] { return RegisterAutoRun(); }), static_cast<int>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(test::RunUnprivileged([] { return UnregisterAutoRun(); }),
              static_cast<int>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(test::RunUnprivileged([] {
                  char buf[kAutoRunPathSize];
                  return QueryAutoRun(buf);
              }),
              0)
        << "anyone may read the entry";
    EXPECT_EQ(TempDir::Read(Entry()), before);

    std::filesystem::remove(Entry());
    EXPECT_EQ(test::RunUnprivileged([] { return RegisterAutoRun(); }), static_cast<int>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(std::filesystem::exists(Entry()));
}

TEST(AutoRunFolder, FirstAbsoluteFolderOfTheListElseEtcXdg)
{
    const char* old = std::getenv("XDG_CONFIG_DIRS");
    const std::string saved = old ? old : "";
    struct
    {
        const char* dirs; // nullptr: unset
        const char* path;
    } cases[] = {
        {nullptr, "/etc/xdg/autostart/QuillmarkStartUpAutoRun.desktop"},
        {"", "/etc/xdg/autostart/QuillmarkStartUpAutoRun.desktop"},
        {"/a:/b", "/a/autostart/QuillmarkStartUpAutoRun.desktop"},
        {"relative:/b", "/b/autostart/QuillmarkStartUpAutoRun.desktop"},
        {":/c", "/c/autostart/QuillmarkStartUpAutoRun.desktop"},
    };
    for (const auto& c : cases) {
        if (c.dirs)
            ::setenv("XDG_CONFIG_DIRS", c.dirs, 1);
        else
            ::unsetenv("XDG_CONFIG_DIRS");
        EXPECT_EQ(autorun::EntryPath(), c.path) << (c.dirs ? c.dirs : "(unset)");
    }
    ::setenv("XDG_CONFIG_DIRS", saved.c_str(), 1);
}

} // namespace

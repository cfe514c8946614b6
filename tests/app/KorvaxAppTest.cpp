// Program start: the single-instance guard and its question, and the executable's folder.
#include "app/KorvaxApp.h"
#include "app/AppDir.h"
#include "panel/KorvaxDlg.h"
#include "platform/os/InstanceLock.h"
#include "platform/os/ModulePath.h"
#include "platform/wnd/ModalHook.h"
#include "tests/driver/SimLibrary.h"
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Runs InitInstance with every dialog answered; records texts and whether the main window ran.
struct StartRun
{
    std::vector<std::string> texts;
    bool mainWindowRan = false;
    BOOL result = TRUE;
};

StartRun Start(int answer)
{
    StartRun run;
    wnd::SetModalHook([&run, answer](const wnd::ModalRequest& r) {
        if (dynamic_cast<CKorvaxDlg*>(r.window)) {
            run.mainWindowRan = true;
            return IDCANCEL;
        }
        run.texts.push_back(r.text);
        return answer;
    });
    CKorvaxApp app;
    run.result = app.InitInstance();
    wnd::SetModalHook(nullptr);
    return run;
}

struct KorvaxAppTest : ::testing::Test
{
    test::TempDir runtime, appDir;
    std::string savedRuntime = std::getenv("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR") : "";
    void SetUp() override
    {
        ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
        ::setenv("KORVAX_NVAPI", test::SimLibraryPath().c_str(), 1);
        os::OverrideExecutablePath(appDir.file("korvax"));
    }
    void TearDown() override
    {
        ::setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
        os::OverrideExecutablePath("");
    }
};

TEST_F(KorvaxAppTest, TheFirstCopyOpensTheMainWindowWithoutAQuestion)
{
    StartRun run = Start(IDOK);
    EXPECT_TRUE(run.texts.empty());
    EXPECT_TRUE(run.mainWindowRan);
    EXPECT_FALSE(run.result) << "the application always ends when its window does";
}

TEST_F(KorvaxAppTest, ASecondCopyAsksAndEndsOnNoOrGoesOnOnYes)
{
    HANDLE first = CreateMutexA(nullptr, FALSE, kInstanceMutexName); // a copy already running
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(GetLastError(), ERROR_SUCCESS);

    StartRun no = Start(IDCANCEL);
    EXPECT_EQ(no.texts,
              std::vector<std::string>{"One of the program routine is already  running! Will you continue?"});
    EXPECT_FALSE(no.mainWindowRan);

    StartRun yes = Start(IDOK);
    EXPECT_EQ(yes.texts.size(), 1u);
    EXPECT_TRUE(yes.mainWindowRan);
    CloseHandle(first);
}

TEST_F(KorvaxAppTest, TheMarkerLastsWhileAnyCopyHoldsIt)
{
    HANDLE first = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    HANDLE second = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    ASSERT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    CloseHandle(first); // the first copy ends; the second still runs
    HANDLE third = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    CloseHandle(second);
    CloseHandle(third);
    HANDLE alone = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    CloseHandle(alone);
}

TEST_F(KorvaxAppTest, AnUnusableLockFolderEndsTheStartWithItsNotice)
{
    ::setenv("XDG_RUNTIME_DIR", runtime.file("missing/folder").c_str(), 1);
    StartRun run = Start(IDOK);
    EXPECT_EQ(run.texts, std::vector<std::string>{"Initialize Mutex  failed!"});
    EXPECT_FALSE(run.mainWindowRan);
}

TEST(AppDir, IsTheExecutablesFolderWithoutTrailingSeparator)
{
    struct Case
    {
        const char* exe;
        const char* dir;
    } cases[] = {
        {"/opt/tools/card/korvax", "/opt/tools/card"},
        {"/korvax", "/"},
        {"/opt/显卡工具/korvax", "/opt/显卡工具"},
    };
    for (const Case& c : cases) {
        os::OverrideExecutablePath(c.exe);
        char dir[kAppDirBufferSize] = {};
        GetWindowAppDir(nullptr, dir);
        EXPECT_STREQ(dir, c.dir) << c.exe;
    }
    os::OverrideExecutablePath("");
}

TEST(AppDir, APathWithoutSeparatorFallsBackToTheCurrentFolder)
{
    os::OverrideExecutablePath("korvax");
    char dir[kAppDirBufferSize] = {};
    GetWindowAppDir(nullptr, dir);
    char cwd[kAppDirBufferSize] = {};
    ASSERT_NE(::getcwd(cwd, sizeof(cwd)), nullptr);
    EXPECT_STREQ(dir, cwd);
    os::OverrideExecutablePath("");
}

TEST(AppDir, ASeparatorByteInsideAMultibyteCharacterIsNoSeparator)
{
    // A lead byte claims the following bytes, so the '/' after it belongs to that character.
    const char path[] = "/dir/a\xE5/b";
    EXPECT_EQ(os::FindLastSeparator(path), path + 4);
}

} // namespace

// Test entry point: headless Qt, no scaling, a private runtime folder, home and configuration
// folders (nothing touches the real ones), and the manual clock.
#include "platform/os/Clock.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    test::TempDir sandbox;
    for (const char* sub : {"runtime", "home", "config", "xdg"})
        std::filesystem::create_directories(sandbox.file(sub));
    std::filesystem::permissions(sandbox.file("runtime"), std::filesystem::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", sandbox.file("runtime").c_str(), 1);
    ::setenv("HOME", sandbox.file("home").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", sandbox.file("config").c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", sandbox.file("xdg").c_str(), 1);

    os::Clock::UseManualTime(true);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

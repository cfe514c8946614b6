// Whole-program runs: the real korvax executable, started headless with --screenshot, on the
// simulated cards and without a driver; checks its standard error lines and the PNG it writes.
#include "tests/support/TempDir.h"

#include <QImage>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

struct RunResult
{
    int exitCode = -1;
    QStringList stderrLines;
    QImage image;
};

// A private copy of the program's folder, so the configuration files a run leaves beside the
// executable never reach the build's own folder or another test.
QString InstallCopy(const test::TempDir& dir)
{
    const std::filesystem::path bin = qEnvironmentVariable("KORVAX_BIN_DIR").toStdString();
    const std::filesystem::path to = dir.file("app");
    std::filesystem::create_directories(to);
    for (const char* item : {"korvax", "libkorvax-simgpu.so", "Resource"})
        std::filesystem::copy(bin / item, to / item, std::filesystem::copy_options::recursive);
    return QString::fromStdString(to.string());
}

RunResult RunKorvax(const QMap<QString, QString>& env, const test::TempDir& dir)
{
    const QString bin = InstallCopy(dir);
    QProcess process;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.remove("DISPLAY");
    e.remove("WAYLAND_DISPLAY");
    e.remove("QT_QPA_PLATFORM"); // the program must pick the offscreen platform by itself
    e.remove("KORVAX_NVAPI");
    e.remove("KORVAX_SIM_SCENARIO");
    e.insert("XDG_RUNTIME_DIR", QString::fromStdString(dir.path()));
    for (auto it = env.begin(); it != env.end(); ++it)
        e.insert(it.key(), it.value());
    process.setProcessEnvironment(e);
    const QString png = QString::fromStdString(dir.file("shot.png"));
    process.start(bin + "/korvax", {"--screenshot", png});
    RunResult r;
    if (!process.waitForFinished(60000)) {
        process.kill();
        return r;
    }
    r.exitCode = process.exitCode();
    const QString err = QString::fromUtf8(process.readAllStandardError());
    for (const QString& line : err.split('\n', Qt::SkipEmptyParts))
        if (!line.startsWith("QStandardPaths")) // Qt's own notices about the runtime folder
            r.stderrLines << line;
    r.image.load(png);
    return r;
}

TEST(ScreenshotRun, OffsetCardStartsWithoutAnyMessage)
{
    test::TempDir dir;
    RunResult r = RunKorvax({{"KORVAX_SIM_SCENARIO", "offset"}}, dir);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.stderrLines, QStringList{});
    EXPECT_EQ(r.image.size(), QSize(649, 413));
}

TEST(ScreenshotRun, NoCardGivesTheEnumerationMessagesAndGoesOn)
{
    test::TempDir dir;
    RunResult r = RunKorvax({{"KORVAX_SIM_SCENARIO", "none"}}, dir);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.stderrLines, (QStringList{"NvAPI_EnumPhysicalGPUs failed", "NvAPI_EnumPhysicalGPUs failed",
                                          "Application will not work normally!"}));
    EXPECT_EQ(r.image.size(), QSize(649, 413));
}

TEST(ScreenshotRun, MissingDriverLibraryGivesTheInitialisationMessagesAndGoesOn)
{
    test::TempDir dir;
    RunResult r = RunKorvax({{"KORVAX_NVAPI", "/nonexistent/libnvapi.so"}}, dir);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.stderrLines, (QStringList{"Initial nvAPI fail!", "Initial nvapi fail!",
                                          "Application will not work normally!"}));
    EXPECT_EQ(r.image.size(), QSize(649, 413));
}

TEST(ScreenshotRun, ASecondCopyIsAskedAboutAndContinuesOnYes)
{
    test::TempDir dir;
    // Hold the single-instance marker as a running copy does.
    const int fd = ::open(dir.file("Korvax mutex.lock").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    RunResult r = RunKorvax({}, dir);
    ::close(fd);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.stderrLines,
              QStringList{"One of the program routine is already  running! Will you continue?"});
    EXPECT_EQ(r.image.size(), QSize(649, 413));
}

TEST(ScreenshotRun, WithoutADisplayAPlainStartSaysSoAndFails)
{
    const QString bin = qEnvironmentVariable("KORVAX_BIN_DIR");
    QProcess process;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (const char* var : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        e.remove(var);
    process.setProcessEnvironment(e);
    process.start(bin + "/korvax", {});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_NE(process.exitCode(), 0);
    const QStringList lines =
        QString::fromUtf8(process.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].contains("no display")) << lines[0].toStdString();
}

} // namespace

// Program entry point: command-line options, the display check, then the application object.
#include "app/KorvaxApp.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

CKorvaxApp theApp;

void PrintUsage()
{
    std::printf("Usage: korvax [OPTION]\n"
                "Monitor and overclock an NVIDIA graphics card.\n\n"
                "  --screenshot FILE  start normally, write the main window to FILE as a PNG and exit;\n"
                "                     every dialog is answered with its default button and its text\n"
                "                     is written to standard error\n"
                "  --help             show this help and exit\n"
                "  --version          show the version and exit\n\n"
                "Environment:\n"
                "  KORVAX_NVAPI         path of the driver library (default: the simulated driver\n"
                "                       libkorvax-simgpu.so beside the executable)\n"
                "  KORVAX_SIM_SCENARIO  simulated cards: offset (default), clock, rig, none, or a\n"
                "                       scenario file\n");
}

bool HasDisplay()
{
    for (const char* var : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* v = std::getenv(var);
        if (v && *v)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    std::string screenshot;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            PrintUsage();
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("korvax %s\n", KORVAX_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--screenshot") == 0) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "korvax: --screenshot needs a file name\n");
                return 2;
            }
            screenshot = argv[++i];
            continue;
        }
        std::fprintf(stderr, "korvax: unknown option '%s' (try --help)\n", argv[i]);
        return 2;
    }

    if (!HasDisplay()) {
        if (screenshot.empty()) {
            std::fprintf(stderr, "korvax: no display found (DISPLAY and WAYLAND_DISPLAY are unset); "
                                 "start it from a desktop session or under xvfb-run\n");
            return 1;
        }
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1); // a screenshot needs no screen
    }
    // The skin is drawn 1:1 in pixels.
    ::setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);

    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    theApp.SetScreenshotPath(screenshot);
    theApp.SetReportFirstPaint(std::getenv("KORVAX_REPORT_FIRST_PAINT") != nullptr);
    const int rc = AfxWinMain();
    return theApp.ScreenshotFailed() ? 1 : rc;
}

// korvax-simctl: watch and steer the simulated driver of this session while the program runs.
// It loads the simulated driver itself (beside this tool, or $KORVAX_NVAPI), so it sees the card
// state the program applied; commands go to the session's command file, which every process using
// the simulated driver picks up within a fraction of a second.
#include "driver/api/NvApiRecords.h"
#include "driver/api/SimControl.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <dlfcn.h>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

const char* kUsage =
    "usage: korvax-simctl COMMAND\n"
    "  status                          the simulated cards now: load, clocks, temperature, fan, settings\n"
    "  log [N]                         the last N (default 20) driver writes of this session\n"
    "  load GPU|all PERCENT|pattern    fix a card's load, or let it follow the built-in pattern\n"
    "  fan-stuck GPU|all on|off        a fan that ignores every command\n"
    "  fault OP always [STATUS]        make an operation fail (OP e.g. SetCoolerLevels)\n"
    "  fault OP next N [STATUS]        ... for its next N calls in each process\n"
    "  fault OP version WORD [STATUS]  ... whenever its record carries that version word\n"
    "  fault clear                     remove every fault\n"
    "  clear                           remove every command\n"
    "  reset                           forget the session: card state, commands, write log, base profile\n";

std::string LibraryPath()
{
    if (const char* env = std::getenv("KORVAX_NVAPI"); env && *env)
        return env;
    char exe[4096] = {};
    ssize_t n = ::readlink("/proc/self/exe", exe, sizeof(exe) - 1);
    std::string path = n > 0 ? std::string(exe, static_cast<size_t>(n)) : std::string();
    size_t slash = path.rfind('/');
    return (slash == std::string::npos ? std::string(".") : path.substr(0, slash)) + "/libkorvax-simgpu.so";
}

void PrintStatus(const SimControlApi* ctl)
{
    int n = ctl->cardCount();
    if (n == 0)
        std::printf("no simulated card (scenario \"none\")\n");
    for (int i = 0; i < n; ++i) {
        SimCardSnapshot s = {};
        if (ctl->cardSnapshot(i, &s) != 0)
            continue;
        std::printf("GPU %d  %s  (device %04X, %s family)\n", i, s.name, s.deviceId,
                    s.offsetFamily ? "offset" : "clock");
        std::printf("  load %3d %%%s   P%u   graphics %u MHz   memory %u MHz", s.loadPercent,
                    s.loadFixed < 0 ? " (pattern)" : " (fixed)  ", s.pstate, s.gfxKHz / 1000,
                    s.memKHz / 1000);
        if (s.procKHz)
            std::printf("   processor %u MHz", s.procKHz / 1000);
        std::printf("\n  temperature %d C   fan %d %% -> %d %% (%s%s)\n", s.temperatureC, s.fanLevel,
                    s.fanTarget,
                    s.fanPolicy == static_cast<int>(NVAPI_COOLER_POLICY_MANUAL) ? "manual" : "automatic",
                    s.fanStuck ? ", ignores commands" : "");
        if (s.offsetFamily)
            std::printf("  offsets graphics %+d MHz, memory %+d MHz, voltage %+d mV   power target %u %%\n",
                        s.gfxDeltaKHz / 1000, s.memDeltaKHz / 1000, s.voltDeltaUV / 1000,
                        s.powerTarget / 1000);
        else
            std::printf("  P0 graphics %u MHz, memory %u MHz, processor %u MHz, %u mV\n", s.p0GfxKHz / 1000,
                        s.p0MemKHz / 1000, s.p0ProcKHz / 1000, s.p0MilliVolt);
    }
}

int PrintLog(const SimControlApi* ctl, size_t count)
{
    std::deque<std::string> lines;
    for (const char* name : {"/writes.log.1", "/writes.log"}) {
        std::ifstream in(std::string(ctl->sessionDir()) + name);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
            if (lines.size() > count)
                lines.pop_front();
        }
    }
    if (lines.empty())
        std::printf("no driver writes in this session\n");
    for (const std::string& line : lines)
        std::printf("%s\n", line.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    std::string path = LibraryPath();
    void* lib = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    auto query =
        lib ? reinterpret_cast<NvAPI_QueryInterface_t>(::dlsym(lib, kNvApiQueryInterfaceExport)) : nullptr;
    const auto* ctl = query ? static_cast<const SimControlApi*>(query(kSimControlInterfaceId)) : nullptr;
    if (!ctl || ctl->version != kSimControlApiVersion) {
        std::fprintf(stderr, "korvax-simctl: %s is not the simulated driver\n", path.c_str());
        return 1;
    }
    std::string command = argv[1];
    if (command == "reset") {
        NvAPI_Status status = ctl->reset();
        std::printf("session reset (%s)\n", ctl->sessionDir());
        return status == NVAPI_OK ? 0 : 1;
    }
    auto init = reinterpret_cast<NvAPI_Initialize_t>(query(nvid::Initialize));
    if (init() != NVAPI_OK)
        return 1; // the driver already said why on stderr
    if (command == "status" && argc == 2) {
        PrintStatus(ctl);
        return 0;
    }
    if (command == "log" && argc <= 3) {
        long n = argc == 3 ? std::strtol(argv[2], nullptr, 10) : 20;
        return PrintLog(ctl, n > 0 ? static_cast<size_t>(n) : 20);
    }
    std::string line;
    for (int i = 1; i < argc; ++i)
        line += (i > 1 ? " " : "") + std::string(argv[i]);
    char error[256] = {};
    if (ctl->sessionCommand(line.c_str(), error) != 0) {
        std::fprintf(stderr, "korvax-simctl: %s\n%s", error, kUsage);
        return 2;
    }
    return 0;
}

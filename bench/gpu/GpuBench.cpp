// GpuControl on the simulated driver: one monitoring tick's driver work, and an apply of each card
// family to 1, 4 and 64 GPUs (writes, the driver's session state and write log included).
#include "driver/api/SimControl.h"
#include "gpu/GpuControl.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

std::string g_dir;

std::string ScenarioFile(const char* family, int cards)
{
    std::string path = g_dir + "/" + family + std::to_string(cards) + ".scenario";
    std::ofstream out(path);
    for (int i = 0; i < cards; ++i)
        out << "[card]\nfamily = " << family << "\n";
    return path;
}

NvApiLoader& Loader()
{
    static NvApiLoader loader;
    return loader;
}

// Starts the simulated driver on `cards` cards of a family; returns an initialised GpuControl.
bool Start(benchmark::State& state, GpuControl& gpu, const char* family, int cards)
{
    ::setenv("KORVAX_SIM_SCENARIO", ScenarioFile(family, cards).c_str(), 1);
    const auto* ctl = static_cast<const SimControlApi*>(Loader().QueryInterface(kSimControlInterfaceId));
    if (!ctl || ctl->reset() != NVAPI_OK || gpu.Initialize() != 0 ||
        gpu.m_nGpuCount != static_cast<NvU32>(cards)) {
        state.SkipWithError("simulated driver not available");
        return false;
    }
    return true;
}

// Trace lines of the clock family's writes go to /dev/null while timing.
class QuietStdout
{
public:
    QuietStdout()
    {
        std::fflush(stdout);
        m_saved = ::dup(1);
        int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::close(null);
    }
    ~QuietStdout()
    {
        std::fflush(stdout);
        ::dup2(m_saved, 1);
        ::close(m_saved);
    }

private:
    int m_saved;
};

void BM_MonitorTick(benchmark::State& state, const char* family)
{
    GpuControl gpu(Loader());
    if (!Start(state, gpu, family, 1))
        return;
    for (auto _ : state) {
        GpuPerfInfo info = {};
        int temperature = 0;
        gpu.GetCurrentClocks(-1, &info);
        int fan = gpu.GetFanLevel();
        gpu.GetTemperature(temperature, -1);
        benchmark::DoNotOptimize(info.nGfxClock + fan + temperature);
    }
}
BENCHMARK_CAPTURE(BM_MonitorTick, offset, "offset");
BENCHMARK_CAPTURE(BM_MonitorTick, clock, "clock");

void BM_ApplyOffset(benchmark::State& state)
{
    int cards = static_cast<int>(state.range(0));
    GpuControl gpu(Loader());
    if (!Start(state, gpu, "offset", cards))
        return;
    int step = 0;
    for (auto _ : state) {
        GpuPerfInfo info = {};
        info.nGfxDelta = (step % 2) * 50000;
        info.nMemDelta = (step % 3) * 100000;
        info.nPowerTarget = 100000 + (step % 2) * 10000;
        ++step;
        for (int g = 0; g < cards; ++g) {
            gpu.SetPstates20(info, g);
            gpu.SetPowerTarget(info, g);
            gpu.SetFanLevel(NVAPI_COOLER_POLICY_MANUAL, 60, g);
        }
        GpuPerfInfo back = {};
        gpu.GetPstates20(-1, &back);
        gpu.GetPowerTarget(&back);
        benchmark::DoNotOptimize(back.nGfxDelta);
    }
    state.SetComplexityN(cards);
}
BENCHMARK(BM_ApplyOffset)->Arg(1)->Arg(4)->Arg(64)->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oN);

void BM_ApplyClock(benchmark::State& state)
{
    int cards = static_cast<int>(state.range(0));
    GpuControl gpu(Loader());
    if (!Start(state, gpu, "clock", cards))
        return;
    QuietStdout quiet;
    int step = 0;
    for (auto _ : state) {
        GpuPerfInfo info = {};
        info.nCoreVoltage = 1000 + (step % 2) * 25;
        info.nGfxClock = 772000 + (step % 2) * 20000;
        info.nProcClock = info.nGfxClock * 2;
        info.nMemClock = 2004000;
        ++step;
        for (int g = 0; g < cards; ++g) {
            gpu.SetP0Voltage(g, info.nCoreVoltage);
            gpu.SetP0Clocks(info, g);
            gpu.SetFanLevel(NVAPI_COOLER_POLICY_MANUAL, 60, g);
        }
        GpuPerfInfo back = {};
        gpu.GetPstateClocks(&back, -1, 0);
        benchmark::DoNotOptimize(back.nGfxClock);
    }
    state.SetComplexityN(cards);
}
BENCHMARK(BM_ApplyClock)->Arg(1)->Arg(4)->Arg(64)->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oN);

} // namespace

int main(int argc, char** argv)
{
    // A private session and configuration folder: the benchmark never touches the user's.
    char templ[] = "/tmp/korvax-bench-XXXXXX";
    if (!::mkdtemp(templ))
        return 1;
    g_dir = templ;
    ::setenv("XDG_RUNTIME_DIR", g_dir.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", g_dir.c_str(), 1);
    if (!std::getenv("KORVAX_NVAPI")) {
        // The benchmark lives in bin/bench/, the simulated driver in bin/.
        char exe[4096] = {};
        ssize_t n = ::readlink("/proc/self/exe", exe, sizeof(exe) - 1);
        std::string path(exe, n > 0 ? static_cast<size_t>(n) : 0);
        path = path.substr(0, path.rfind('/'));
        path = path.substr(0, path.rfind('/')) + "/libkorvax-simgpu.so";
        ::setenv("KORVAX_NVAPI", path.c_str(), 1);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(g_dir, ec);
    return 0;
}

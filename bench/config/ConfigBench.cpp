// Configuration file figures: the first-start creation of the whole file (every write a first
// start makes, registration stubbed) and a ReadKey on the file that start leaves.
#include "config/ConfigFile.h"
#include "config/IniFile.h"
#include "platform/os/ModulePath.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

// A private folder the code under measurement takes for the executable's.
class BenchFolder
{
public:
    BenchFolder()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "korvax-bench-XXXXXX").string();
        m_path = ::mkdtemp(tmpl.data()) ? tmpl : std::string();
        os::OverrideExecutablePath(m_path + "/korvax");
    }
    ~BenchFolder()
    {
        os::OverrideExecutablePath("");
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    std::string file(const char* name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

config::StartupHooks Hooks()
{
    config::StartupHooks hooks;
    hooks.registerAutoRun = [] { return 0; };
    hooks.showMessage = [](const char*) {};
    return hooks;
}

config::DefaultRows Rows()
{
    config::DefaultRows rows;
    rows.nRow1 = 1006;
    rows.nRow2 = 2012;
    rows.nRow3 = 3004;
    rows.nRow4 = 1162;
    rows.nRow5 = 30;
    return rows;
}

void CreateFile(bool offsetFamily, const char* name)
{
    config::StartupOptions options;
    if (offsetFamily) {
        config::InitConfigOffset(name, 0x1180, options, Hooks());
        config::SaveDefaultsOffset(name, Rows());
    } else {
        config::InitConfigClock(name, 0x1080, options, Hooks());
        config::SaveDefaultsClock(name, Rows());
    }
}

void BM_FirstStartCreation(benchmark::State& state)
{
    BenchFolder folder;
    const bool offset = state.range(0) == 1;
    const char* name = offset ? "Korv_DID1180.cfg" : "Korv_DID1080.cfg";
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(folder.file(name));
        state.ResumeTiming();
        CreateFile(offset, name);
    }
    state.SetLabel(offset ? "offset family" : "clock family");
}
BENCHMARK(BM_FirstStartCreation)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_ReadKey(benchmark::State& state)
{
    BenchFolder folder;
    CreateFile(true, "Korv_DID1180.cfg");
    IniFile ini("Korv_DID1180.cfg");
    // The first key of the file, and one in its last section.
    const bool last = state.range(0) == 1;
    for (auto _ : state) {
        std::memset(&ini.m_key, 0, sizeof ini.m_key);
        std::strcpy(ini.m_key.szSection, last ? "Profile3" : "Korv");
        std::strcpy(ini.m_key.szKey, last ? "Frame" : "Initialized");
        benchmark::DoNotOptimize(ini.ReadKey(ini.m_key));
        benchmark::DoNotOptimize(ini.m_key.nValue);
    }
    state.SetLabel(last ? "Profile3/Frame" : "Korv/Initialized");
}
BENCHMARK(BM_ReadKey)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_WriteKeyExisting(benchmark::State& state)
{
    BenchFolder folder;
    CreateFile(true, "Korv_DID1180.cfg");
    IniFile ini("Korv_DID1180.cfg");
    int value = 0;
    for (auto _ : state) {
        std::memset(&ini.m_key, 0, sizeof ini.m_key);
        std::strcpy(ini.m_key.szSection, "Korv");
        std::strcpy(ini.m_key.szKey, "AutoOverClock");
        ini.m_key.nValue = value ^= 1; // a real change every time
        benchmark::DoNotOptimize(ini.WriteKey(ini.m_key, 10, false));
    }
}
BENCHMARK(BM_WriteKeyExisting)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

// The simulated driver's process-wide state and the files it shares with other processes of the
// same session: card state, the write log and korvax-simctl's commands in $XDG_RUNTIME_DIR, and the
// base profile of the driver settings in $XDG_CONFIG_HOME.
#include "driver/sim/SimDriver.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace sim {
namespace {

constexpr size_t kMaxLogEntries = 10000;
constexpr off_t kMaxLogFileBytes = 1 << 20;
constexpr std::uint64_t kCommandCheckMs = 200;

std::uint64_t RealMs()
{
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000 + static_cast<std::uint64_t>(ts.tv_nsec) / 1000000;
}

void MakeDirs(const std::string& path)
{
    for (size_t pos = 1; pos != std::string::npos;) {
        pos = path.find('/', pos + 1);
        ::mkdir(path.substr(0, pos).c_str(), 0700);
    }
}

bool WriteFileAtomically(const std::string& path, const std::string& text)
{
    std::string tmp = path + ".tmp" + std::to_string(::getpid());
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}

bool ReadFile(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::stringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
}

struct NamedId
{
    NvU32 id;
    const char* name;
};
constexpr NamedId kInterfaces[] = {
    {nvid::Initialize, "Initialize"},
    {nvid::GetErrorMessage, "GetErrorMessage"},
    {nvid::EnumPhysicalGPUs, "EnumPhysicalGPUs"},
    {nvid::EnumNvidiaDisplayHandle, "EnumNvidiaDisplayHandle"},
    {nvid::GetDisplayDriverVersion, "GetDisplayDriverVersion"},
    {nvid::GPU_GetFullName, "GPU_GetFullName"},
    {nvid::GPU_GetPCIIdentifiers, "GPU_GetPCIIdentifiers"},
    {nvid::GPU_GetVbiosVersionString, "GPU_GetVbiosVersionString"},
    {nvid::GPU_GetPhysicalFrameBufferSize, "GPU_GetPhysicalFrameBufferSize"},
    {nvid::GPU_GetRamType, "GPU_GetRamType"},
    {nvid::GPU_GetFBWidthAndLocation, "GPU_GetFBWidthAndLocation"},
    {nvid::GPU_GetGpuCoreCount, "GPU_GetGpuCoreCount"},
    {nvid::GPU_GetAllClockFrequencies, "GPU_GetAllClockFrequencies"},
    {nvid::GPU_GetPerfClocks, "GPU_GetPerfClocks"},
    {nvid::GPU_GetCurrentPstate, "GPU_GetCurrentPstate"},
    {nvid::GPU_GetPstatesInfo, "GPU_GetPstatesInfo"},
    {nvid::GPU_SetPstates, "GPU_SetPstates"},
    {nvid::GPU_GetPstates20, "GPU_GetPstates20"},
    {nvid::GPU_SetPstates20, "GPU_SetPstates20"},
    {nvid::GPU_GetThermalSettings, "GPU_GetThermalSettings"},
    {nvid::GPU_GetCoolerSettings, "GPU_GetCoolerSettings"},
    {nvid::GPU_SetCoolerLevels, "GPU_SetCoolerLevels"},
    {nvid::GPU_ClientPowerPoliciesGetInfo, "GPU_ClientPowerPoliciesGetInfo"},
    {nvid::GPU_ClientPowerPoliciesGetStatus, "GPU_ClientPowerPoliciesGetStatus"},
    {nvid::GPU_ClientPowerPoliciesSetStatus, "GPU_ClientPowerPoliciesSetStatus"},
    {nvid::DRS_CreateSession, "DRS_CreateSession"},
    {nvid::DRS_LoadSettings, "DRS_LoadSettings"},
    {nvid::DRS_GetBaseProfile, "DRS_GetBaseProfile"},
    {nvid::DRS_SetSetting, "DRS_SetSetting"},
    {nvid::DRS_SaveSettings, "DRS_SaveSettings"},
    {nvid::DRS_DestroySession, "DRS_DestroySession"},
};

bool ParseNumber(const std::string& text, long long min, long long max, long long& out)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(text.c_str(), &end, 0);
    if (errno || *end || v < min || v > max)
        return false;
    out = v;
    return true;
}

bool ParseGpu(const std::string& text, int& gpu)
{
    long long v = 0;
    if (text == "all")
        return gpu = -1, true;
    if (!ParseNumber(text, 0, NVAPI_MAX_PHYSICAL_GPUS - 1, v))
        return false;
    gpu = static_cast<int>(v);
    return true;
}

std::string Hex(NvU32 v)
{
    char buf[16];
    std::snprintf(buf, sizeof(buf), "0x%X", v);
    return buf;
}

} // namespace

const char* InterfaceName(NvU32 id)
{
    for (const NamedId& n : kInterfaces)
        if (n.id == id)
            return n.name;
    return nullptr;
}

bool InterfaceIdByName(const std::string& name, NvU32& id)
{
    std::string n = name;
    if (n.rfind("NvAPI_", 0) == 0)
        n = n.substr(6);
    for (const NamedId& e : kInterfaces) {
        std::string full = e.name;
        if (n == full || (full.rfind("GPU_", 0) == 0 && n == full.substr(4))) {
            id = e.id;
            return true;
        }
    }
    long long v = 0;
    if (n.rfind("0x", 0) == 0 && ParseNumber(n, 0, 0xFFFFFFFFLL, v)) {
        id = static_cast<NvU32>(v);
        return true;
    }
    return false;
}

bool ApplyCommand(const std::string& line, SessionCommands& commands, std::string& error)
{
    std::istringstream in(line);
    std::vector<std::string> w;
    for (std::string s; in >> s;)
        w.push_back(s);
    if (w.empty())
        return true;
    int gpu = 0;
    long long v = 0;
    if (w[0] == "clear" && w.size() == 1) {
        commands = SessionCommands{};
        return true;
    }
    if (w[0] == "load" && w.size() == 3 && ParseGpu(w[1], gpu)) {
        if (w[2] == "pattern")
            v = -1;
        else if (!ParseNumber(w[2], 0, 100, v))
            return error = "load takes a per cent from 0 to 100 or \"pattern\"", false;
        if (gpu == -1)
            commands.load.clear();
        commands.load[gpu] = static_cast<int>(v);
        return true;
    }
    if (w[0] == "fan-stuck" && w.size() == 3 && ParseGpu(w[1], gpu) && (w[2] == "on" || w[2] == "off")) {
        if (gpu == -1)
            commands.fanStuck.clear();
        commands.fanStuck[gpu] = w[2] == "on" ? 1 : 0;
        return true;
    }
    if (w[0] == "fault" && w.size() == 2 && w[1] == "clear") {
        commands.faults.clear();
        return true;
    }
    if (w[0] == "fault" && w.size() >= 3) {
        Fault f;
        if (!InterfaceIdByName(w[1], f.interfaceId))
            return error = "unknown operation \"" + w[1] + "\"", false;
        size_t next = 3;
        if (w[2] == "always") {
            f.mode = kSimFaultAlways;
        } else if ((w[2] == "next" || w[2] == "version") && w.size() >= 4 &&
                   ParseNumber(w[3], 0, 0xFFFFFFFFLL, v)) {
            f.mode = w[2] == "next" ? kSimFaultNextCalls : kSimFaultVersionWord;
            f.param = static_cast<NvU32>(v);
            f.remaining = f.param;
            next = 4;
        } else {
            return error = "fault takes: OPERATION always | next N | version WORD [STATUS]", false;
        }
        if (w.size() == next + 1) {
            if (!ParseNumber(w[next], -1000, -1, v))
                return error = "a fault status is a negative number", false;
            f.status = static_cast<NvAPI_Status>(v);
        } else if (w.size() > next + 1) {
            return error = "too many words", false;
        }
        commands.faults.push_back(f);
        return true;
    }
    error = "unknown command; use: load GPU|all PERCENT|pattern, fan-stuck GPU|all on|off, "
            "fault OPERATION always|next N|version WORD [STATUS], fault clear, clear";
    return false;
}

std::string FormatCommands(const SessionCommands& commands)
{
    std::string out = "# korvax-simctl commands for this session\n";
    auto gpuText = [](int gpu) { return gpu < 0 ? std::string("all") : std::to_string(gpu); };
    for (const auto& [gpu, v] : commands.load)
        out += "load " + gpuText(gpu) + " " + (v < 0 ? std::string("pattern") : std::to_string(v)) + "\n";
    for (const auto& [gpu, v] : commands.fanStuck)
        out += "fan-stuck " + gpuText(gpu) + (v ? " on\n" : " off\n");
    for (const Fault& f : commands.faults) {
        const char* name = InterfaceName(f.interfaceId);
        out += "fault " + (name ? std::string(name) : Hex(f.interfaceId));
        if (f.mode == kSimFaultAlways)
            out += " always";
        else
            out += f.mode == kSimFaultNextCalls ? " next " + std::to_string(f.param)
                                                : " version " + Hex(f.param);
        if (f.status)
            out += " " + std::to_string(f.status);
        out += "\n";
    }
    return out;
}

Driver& Driver::Instance()
{
    static Driver driver; // lives as long as the library is mapped
    return driver;
}

Driver::~Driver()
{
    if (m_logFd >= 0)
        ::close(m_logFd);
}

std::uint64_t Driver::NowMs() const
{
    if (timeSource)
        return timeSource();
    if (manualTime)
        return manualMs;
    return RealMs();
}

const std::string& Driver::SessionDir()
{
    if (m_sessionDir.empty()) {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (runtime && *runtime)
            m_sessionDir = std::string(runtime) + "/korvax-simgpu";
        else
            m_sessionDir = "/tmp/korvax-simgpu-" + std::to_string(::getuid());
        MakeDirs(m_sessionDir);
    }
    return m_sessionDir;
}

std::string Driver::BaseProfilePath() const
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string dir;
    if (config && *config)
        dir = config;
    else if (const char* home = std::getenv("HOME"))
        dir = std::string(home) + "/.config";
    else
        dir = "/tmp";
    return dir + "/korvax-simgpu/base-profile";
}

bool Driver::LoadBaseProfile(std::map<NvU32, NvU32>& values) const
{
    values.clear();
    std::string text;
    if (!ReadFile(BaseProfilePath(), text))
        return true; // no file yet: an empty base profile
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        unsigned id = 0, value = 0;
        if (std::sscanf(line.c_str(), " %x = %x", &id, &value) == 2)
            values[id] = value;
    }
    return true;
}

bool Driver::SaveBaseProfile(const std::map<NvU32, NvU32>& values) const
{
    std::string path = BaseProfilePath();
    MakeDirs(path.substr(0, path.rfind('/')));
    std::string text = "# Base profile of the simulated driver's settings: SETTING-ID = DWORD\n";
    for (const auto& [id, value] : values) {
        char line[64];
        std::snprintf(line, sizeof(line), "0x%08X = 0x%08X\n", id, value);
        text += line;
    }
    return WriteFileAtomically(path, text);
}

NvAPI_Status Driver::Initialize()
{
    if (m_bInitialized)
        return NVAPI_OK;
    std::string error;
    Scenario scenario;
    if (!LoadScenario(std::getenv("KORVAX_SIM_SCENARIO"), scenario, error)) {
        std::fprintf(stderr, "korvax-simgpu: %s\n", error.c_str());
        return NVAPI_ERROR;
    }
    m_scenario = std::move(scenario);
    m_cards.clear();
    for (size_t i = 0; i < m_scenario.cards.size(); ++i)
        m_cards.emplace_back(m_scenario.cards[i], static_cast<int>(i));
    LoadState();
    ReadCommandsIfChanged(true);
    ApplyOverrides();
    m_bInitialized = true;
    return NVAPI_OK;
}

NvAPI_Status Driver::Reset()
{
    faults.clear();
    writeLog.clear();
    loadOverride.clear();
    fanStuckOverride.clear();
    manualMs = 0;
    for (DrsSession& s : drs)
        s = DrsSession{};
    if (m_logFd >= 0)
        ::close(m_logFd);
    m_logFd = -1;
    m_sessionDir.clear();
    const std::string& dir = SessionDir();
    for (const char* name : {"/commands", "/writes.log", "/writes.log.1"})
        std::remove((dir + name).c_str());
    for (size_t i = 0; i < NVAPI_MAX_PHYSICAL_GPUS; ++i)
        std::remove(StatePath(i).c_str());
    std::remove(BaseProfilePath().c_str());
    m_commands = SessionCommands{};
    m_sessionFaults.clear();
    m_commandsStamp = -1;
    m_bInitialized = false;
    m_cards.clear();
    return Initialize();
}

void Driver::ApplyOverrides()
{
    auto pick = [](const std::map<int, int>& first, const std::map<int, int>& second, int gpu, int fallback) {
        for (const std::map<int, int>* m : {&first, &second}) {
            auto it = m->find(gpu);
            if (it != m->end())
                return it->second;
            it = m->find(-1);
            if (it != m->end())
                return it->second;
        }
        return fallback;
    };
    for (size_t i = 0; i < m_cards.size(); ++i) {
        int gpu = static_cast<int>(i);
        m_cards[i].fixedLoad = pick(loadOverride, m_commands.load, gpu, -1);
        m_cards[i].fanStuck = pick(fanStuckOverride, m_commands.fanStuck, gpu, -1);
    }
}

void Driver::ReadCommandsIfChanged(bool force)
{
    std::uint64_t now = RealMs();
    if (!force && m_bCommandsChecked && now - m_lastCommandCheckMs < kCommandCheckMs)
        return;
    m_bCommandsChecked = true;
    m_lastCommandCheckMs = now;
    std::string path = SessionDir() + "/commands";
    struct stat st
    {
    };
    std::int64_t stamp = 0;
    if (::stat(path.c_str(), &st) == 0)
        stamp = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec + st.st_size;
    if (stamp == m_commandsStamp)
        return;
    m_commandsStamp = stamp;
    m_commands = SessionCommands{};
    std::string text;
    if (stamp != 0 && ReadFile(path, text)) {
        std::istringstream in(text);
        std::string error;
        for (std::string line; std::getline(in, line);)
            if (line.empty() || line[0] != '#')
                ApplyCommand(line, m_commands, error); // a line we cannot read is skipped
    }
    m_sessionFaults = m_commands.faults;
    ApplyOverrides();
}

int Driver::SessionCommand(const std::string& line, std::string& error)
{
    ReadCommandsIfChanged(true);
    SessionCommands commands = m_commands;
    if (!ApplyCommand(line, commands, error))
        return 1;
    if (!WriteFileAtomically(SessionDir() + "/commands", FormatCommands(commands))) {
        error = "cannot write " + SessionDir() + "/commands";
        return 1;
    }
    ReadCommandsIfChanged(true);
    return 0;
}

void Driver::Tick(SimCard* card)
{
    ReadCommandsIfChanged(false);
    if (card)
        card->AdvanceTo(NowMs());
}

NvAPI_Status Driver::Fault(NvU32 interfaceId, NvU32 versionWord)
{
    for (std::vector<sim::Fault>* list : {&faults, &m_sessionFaults}) {
        for (sim::Fault& f : *list) {
            if (f.interfaceId != interfaceId)
                continue;
            switch (f.mode) {
            case kSimFaultAlways:
                return f.status ? f.status : NVAPI_ERROR;
            case kSimFaultNextCalls:
                if (f.remaining > 0) {
                    --f.remaining;
                    return f.status ? f.status : NVAPI_ERROR;
                }
                break;
            case kSimFaultVersionWord:
                if (versionWord == f.param)
                    return f.status ? f.status : NVAPI_INCOMPATIBLE_STRUCT_VERSION;
                break;
            default:
                break;
            }
        }
    }
    return NVAPI_OK;
}

void Driver::LogWrite(NvU32 interfaceId, int gpu, NvAPI_Status status, const std::string& text)
{
    SimWriteEntry entry{};
    entry.interfaceId = interfaceId;
    entry.gpu = gpu;
    entry.status = status;
    std::string line = text + " -> " + std::to_string(status);
    std::snprintf(entry.text, sizeof(entry.text), "%s", line.c_str());
    if (writeLog.size() >= kMaxLogEntries)
        writeLog.pop_front();
    writeLog.push_back(entry);

    // The session's log file, for korvax-simctl; kept to about a megabyte.
    std::string path = SessionDir() + "/writes.log";
    if (m_logFd >= 0) {
        struct stat st
        {
        };
        if (::fstat(m_logFd, &st) == 0 && st.st_size > kMaxLogFileBytes) {
            ::close(m_logFd);
            m_logFd = -1;
            std::rename(path.c_str(), (path + ".1").c_str());
        }
    }
    if (m_logFd < 0)
        m_logFd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (m_logFd >= 0) {
        std::string fileLine = "[" + std::to_string(::getpid()) + "] " + line + "\n";
        ssize_t written = ::write(m_logFd, fileLine.data(), fileLine.size());
        (void)written; // a full disk only loses log lines
    }
}

// One file per card, so a write costs the same whatever the number of cards.
std::string Driver::StatePath(size_t index)
{
    return SessionDir() + "/card" + std::to_string(index) + ".state";
}

void Driver::SaveState(int gpu)
{
    if (gpu < 0 || static_cast<size_t>(gpu) >= m_cards.size())
        return;
    size_t i = static_cast<size_t>(gpu);
    const CardSettings& s = m_cards[i].Settings();
    std::ostringstream out;
    out << "korvax-simgpu state 1\n";
    out << "scenario " << m_scenario.key << "\n";
    out << "card " << s.gfxDelta << " " << s.memDelta << " " << s.voltDelta << " " << s.powerTarget << " "
        << s.fanPolicy << " " << s.fanManualLevel << "\n";
    for (const PstateModel& p : s.pstates)
        out << "pstate " << p.id << " " << p.gfxKHz << " " << p.memKHz << " " << p.procKHz << " "
            << p.milliVolt << "\n";
    WriteFileAtomically(StatePath(i), out.str());
}

void Driver::LoadState()
{
    for (size_t i = 0; i < m_cards.size(); ++i) {
        std::string text;
        if (!ReadFile(StatePath(i), text))
            continue;
        std::istringstream in(text);
        std::string line;
        if (!std::getline(in, line) || line != "korvax-simgpu state 1")
            continue;
        if (!std::getline(in, line) || line != "scenario " + m_scenario.key)
            continue; // saved for another scenario
        CardSettings s;
        bool card = false, damaged = false;
        while (!damaged && std::getline(in, line)) {
            std::istringstream w(line);
            std::string tag;
            w >> tag;
            if (tag == "card") {
                w >> s.gfxDelta >> s.memDelta >> s.voltDelta >> s.powerTarget >> s.fanPolicy >>
                    s.fanManualLevel;
                card = true;
            } else if (tag == "pstate") {
                PstateModel p;
                w >> p.id >> p.gfxKHz >> p.memKHz >> p.procKHz >> p.milliVolt;
                s.pstates.push_back(p);
            }
            damaged = !w;
        }
        // A damaged file, or one whose table does not fit the card, leaves the card's defaults.
        if (card && !damaged && s.pstates.size() == m_cards[i].Model().pstates.size())
            m_cards[i].Settings() = s;
    }
}

} // namespace sim

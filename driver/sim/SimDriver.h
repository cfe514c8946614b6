// The simulated driver's one process-wide instance: scenario, cards, faults, write log, time, driver
// settings sessions, and the session files that outlive the process.
#pragma once

#include "driver/api/SimControl.h"
#include "driver/sim/SimCard.h"

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

namespace sim {

struct Fault
{
    NvU32 interfaceId = 0;
    int mode = kSimFaultAlways;
    NvU32 param = 0;
    NvAPI_Status status = 0;
    NvU32 remaining = 0; // next-calls mode
};

// The commands of korvax-simctl, as kept in the session's command file.
struct SessionCommands
{
    std::map<int, int> load;     // gpu (-1 all) -> percent (-1 pattern)
    std::map<int, int> fanStuck; // gpu (-1 all) -> 0/1
    std::vector<Fault> faults;
};

// Parses one command line into `commands`; false with a reason.
bool ApplyCommand(const std::string& line, SessionCommands& commands, std::string& error);
std::string FormatCommands(const SessionCommands& commands);
// Interface id of an operation name ("SetCoolerLevels", "NvAPI_GPU_SetCoolerLevels", "0x891FA0AE").
bool InterfaceIdByName(const std::string& name, NvU32& id);
const char* InterfaceName(NvU32 id);

class Driver
{
public:
    static Driver& Instance();

    // Initialise: loads the scenario on first use. 0, or NVAPI_ERROR for a bad scenario file (one
    // line on stderr).
    NvAPI_Status Initialize();
    NvAPI_Status Reset();
    bool Initialized() const { return m_bInitialized; }

    std::uint64_t NowMs() const;
    // Picks up new session commands and brings the card (if any) to the current time.
    void Tick(SimCard* card);
    SimCard* Card(NvPhysicalGpuHandle handle, int* index = nullptr);
    std::vector<SimCard>& Cards() { return m_cards; }
    const Scenario& CurrentScenario() const { return m_scenario; }

    // 0, or the status an injected fault makes the call return.
    NvAPI_Status Fault(NvU32 interfaceId, NvU32 versionWord);
    void LogWrite(NvU32 interfaceId, int gpu, NvAPI_Status status, const std::string& text);
    void SaveState(int gpu);
    std::string StatePath(size_t index);

    // Time and overrides (control interface).
    bool manualTime = false;
    std::uint64_t manualMs = 0;
    std::uint64_t (*timeSource)() = nullptr;
    std::vector<sim::Fault> faults;
    std::deque<SimWriteEntry> writeLog;
    std::map<int, int> loadOverride; // from the control interface; wins over session commands
    std::map<int, int> fanStuckOverride;

    // Driver settings: the base profile, as kept in its file.
    struct DrsSession
    {
        bool open = false;
        bool loaded = false;
        std::map<NvU32, NvU32> values;
    };
    static constexpr int kMaxDrsSessions = 16;
    DrsSession drs[kMaxDrsSessions];
    std::string BaseProfilePath() const;
    bool LoadBaseProfile(std::map<NvU32, NvU32>& values) const;
    bool SaveBaseProfile(const std::map<NvU32, NvU32>& values) const;

    const std::string& SessionDir();
    int SessionCommand(const std::string& line, std::string& error);

    void ApplyOverrides();

private:
    Driver() = default;
    ~Driver();
    void LoadState();
    void ReadCommandsIfChanged(bool force);

    bool m_bLoaded = false;
    bool m_bInitialized = false;
    Scenario m_scenario;
    std::vector<SimCard> m_cards;
    SessionCommands m_commands;
    std::vector<sim::Fault> m_sessionFaults;
    std::string m_sessionDir;
    std::int64_t m_commandsStamp = -1;
    std::uint64_t m_lastCommandCheckMs = 0;
    bool m_bCommandsChecked = false;
    int m_logFd = -1;
};

} // namespace sim

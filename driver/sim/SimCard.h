// One simulated card: its applied settings and how its clocks, temperature and fan move over time.
#pragma once

#include "driver/sim/Scenario.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// What the program applied; kept for the driver session.
struct CardSettings
{
    NvS32 gfxDelta = 0, memDelta = 0, voltDelta = 0; // kHz, kHz, microvolts
    NvU32 powerTarget = 0;                           // per-cent-mille
    NvU32 fanPolicy = NVAPI_COOLER_POLICY_AUTO;
    NvU32 fanManualLevel = 0;
    std::vector<PstateModel> pstates; // the clock family's table as last written
};

struct ClockReading
{
    NvU32 pstate = 0;
    NvU32 gfxKHz = 0, memKHz = 0, procKHz = 0;
};

class SimCard
{
public:
    SimCard(const CardModel& model, int index);

    const CardModel& Model() const { return m_model; }
    CardSettings& Settings() { return m_settings; }
    const CardSettings& Settings() const { return m_settings; }
    void ResetSettings();

    // Moves the model to `nowMs` (time never runs backwards here).
    void AdvanceTo(std::uint64_t nowMs);

    // Load 0..1 at the last advanced time: the fixed load if set, else the built-in pattern.
    double Load() const;
    int fixedLoad = -1; // -1 follows the pattern
    int fanStuck = -1;  // -1 as the scenario says, 0 obeys, 1 ignores commands

    bool FanIgnoresCommands() const { return fanStuck == -1 ? m_model.fanStuck : fanStuck == 1; }
    ClockReading Current() const;
    int TemperatureC() const;
    NvU32 FanLevel() const;
    NvU32 FanTarget() const;

    // Limits the clock family's SetPstates must respect.
    NvU32 DomainMin(NvU32 domain) const;
    NvU32 DomainMax(NvU32 domain) const;
    NvU32 PstateClock(const PstateModel& p, NvU32 domain) const;
    // Index into the pstate table for a perf level (level 0 slowest, the top level P0).
    size_t PstateForLevel(NvU32 level) const;

private:
    double PowerPercent(double load) const;
    double AutoFanTarget() const;
    void Step(double dtMs);

    CardModel m_model;
    int m_index;
    CardSettings m_settings;
    bool m_bStarted = false;
    std::uint64_t m_nowMs = 0;
    double m_temperature = 0;
    double m_fanLevel = 0;
};

} // namespace sim

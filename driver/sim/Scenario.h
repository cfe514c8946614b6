// What cards the simulated driver shows: the built-in presets and scenario files.
#pragma once

#include "driver/api/NvApiTypes.h"

#include <string>
#include <vector>

namespace sim {

struct PstateModel
{
    NvU32 id = 0;
    NvU32 gfxKHz = 0, memKHz = 0, procKHz = 0; // procKHz 0: the pstate lists no processor clock
    NvU32 milliVolt = 0;
};

struct CardModel
{
    std::string name;
    bool offsetFamily = true; // pstates 2.0 offsets and a power policy; else a legacy pstates table
    NvU32 vendorId = 0x10DE, deviceId = 0, subVendorId = 0x10DE, subSystemId = 0, revision = 0xA1;
    NvU32 memoryKb = 0, ramType = 0, busWidth = 0, cores = 0;
    std::string bios;

    // Offset family (kHz, microvolts, per-cent-mille).
    NvU32 baseKHz = 0, boostKHz = 0, memKHz = 0, idleGfxKHz = 0, idleMemKHz = 0;
    NvS32 gfxDeltaMin = 0, gfxDeltaMax = 0, memDeltaMin = 0, memDeltaMax = 0, voltDeltaMin = 0,
          voltDeltaMax = 0;
    bool offsetsEditable = true;
    bool gfxRangeEntry = false; // P0's graphics clock listed as a range instead of a single frequency
    NvU32 powerMin = 0, powerDefault = 0, powerMax = 0;
    bool powerInfoValid = true; // a driver whose power-policies answer carries a valid flag of 0

    // Clock family: pstates from the fastest (P0) down; perf levels run from slowest to fastest.
    std::vector<PstateModel> pstates;
    NvU32 perfLevels = 1;

    // Both families.
    NvU32 fanMin = 30, fanMax = 100;
    bool fanStuck = false;
    int ambientC = 30;
};

struct Scenario
{
    std::string key; // preset name or file path; card state saved for another scenario is not reused
    std::vector<CardModel> cards;
    NvU32 displays = 1;
    NvU32 driverVersion = 30142;
};

// The scenario named by KORVAX_SIM_SCENARIO ("offset" when unset). Returns false with one line of
// explanation ("FILE:LINE: what is wrong") in `error`.
bool LoadScenario(const char* name, Scenario& out, std::string& error);

// The presets by name; false for an unknown name.
bool PresetScenario(const std::string& name, Scenario& out);

// Parses scenario text; `origin` names the file in errors.
bool ParseScenario(const std::string& text, const std::string& origin, Scenario& out, std::string& error);

} // namespace sim

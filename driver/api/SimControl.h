// The simulated driver's control interface, for tests, benchmarks and korvax-simctl. It is reached
// through nvapi_QueryInterface(kSimControlInterfaceId), which returns a pointer to a SimControlApi
// table (a real driver simply has no entry for that id).
#pragma once

#include "driver/api/NvApiTypes.h"

#include <cstddef>

constexpr NvU32 kSimControlInterfaceId = 0x4B53494D; // "KSIM"
constexpr NvU32 kSimControlApiVersion = 1;

// How an injected fault picks the calls it fails.
enum SimFaultMode : int
{
    kSimFaultAlways = 0,      // every call of the operation
    kSimFaultNextCalls = 1,   // the next `param` calls, then the operation works again
    kSimFaultVersionWord = 2, // every call whose record carries version word `param`
};

// One write call the program made, in call order. `text` is the canonical one-line form tests assert
// on, e.g. "SetCoolerLevels gpu=0 ver=0x100A4 level=60 policy=1 -> 0" (the status the call returned
// comes last).
struct SimWriteEntry
{
    NvU32 interfaceId;
    NvS32 gpu; // index of the addressed card, -1 for a bad handle or a driver-wide call
    NvAPI_Status status;
    char text[512];
};

// A snapshot of one simulated card, for korvax-simctl and tests.
struct SimCardSnapshot
{
    char name[NVAPI_SHORT_STRING_MAX];
    NvU32 deviceId;
    int offsetFamily; // 1 offset family (pstates 2.0), 0 clock family (legacy pstates)
    int loadPercent;  // current load 0-100
    int loadFixed;    // -1 follows the load pattern, else the fixed load
    NvU32 pstate;     // current performance state
    NvU32 gfxKHz, memKHz, procKHz;
    int temperatureC;
    int fanLevel, fanTarget, fanPolicy, fanStuck;
    NvS32 gfxDeltaKHz, memDeltaKHz, voltDeltaUV;
    NvU32 powerTarget; // per-cent-mille
    NvU32 p0GfxKHz, p0MemKHz, p0ProcKHz, p0MilliVolt;
};

struct SimControlApi
{
    NvU32 version; // kSimControlApiVersion

    // Forgets everything: write log, faults, overrides, the session's card state and base-profile
    // file, then reloads the scenario named by KORVAX_SIM_SCENARIO. Returns 0, or the status the next
    // initialise would give (a bad scenario file).
    NvAPI_Status (*reset)();

    // Time. Manual mode freezes the card's time at 0 until advanceMs(). A time source replaces both
    // (pass nullptr to go back to real time); tests hand the program's own clock here.
    void (*setManualTime)(int manual);
    void (*advanceMs)(NvU32 ms);
    void (*setTimeSource)(std::uint64_t (*nowMs)());

    // Load: -1 follows the built-in pattern, 0-100 fixes it. gpu -1 means every card.
    void (*setLoad)(int gpu, int percent);
    // A fan that ignores every command (gpu -1 = every card).
    void (*setFanStuck)(int gpu, int stuck);

    // Faults: make `interfaceId` fail with `status` (0 picks the usual status for the mode).
    void (*injectFault)(NvU32 interfaceId, int mode, NvU32 param, NvAPI_Status status);
    void (*clearFaults)();

    // The write log.
    size_t (*writeLogSize)();
    int (*writeLogEntry)(size_t index, SimWriteEntry* out); // 0, or 1 past the end
    void (*clearWriteLog)();

    // State of the cards.
    int (*cardCount)();
    int (*cardSnapshot)(int gpu, SimCardSnapshot* out); // 0, or 1 for no such card

    // A korvax-simctl command for every process using the simulated driver in this session
    // ("load 0 80", "load all pattern", "fault SetCoolerLevels next 3", "fan-stuck 1 on",
    // "fault clear", "clear"). Returns 0, or 1 with a reason in `error` (up to 256 chars).
    int (*sessionCommand)(const char* line, char* error);
    // Folder of the session files (state, write log, commands).
    const char* (*sessionDir)();
};

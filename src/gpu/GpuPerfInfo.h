// The plain record of clocks, offsets, voltage and power values passed between GpuControl and the
// main window. Clocks are unsigned kHz, offsets signed kHz (voltage offsets microvolts), the core
// voltage millivolts, power values per-cent-mille (100000 = 100 %). Users zero it before each fill.
#pragma once

#include <cstdint>

struct GpuPerfInfo
{
    float fShaderRatio; // processor clock / graphics clock
    std::uint32_t nCoreVoltage;

    std::uint32_t nMemClock, nMemBase, nMemBoost, nMemMin, nMemMax, nMemDefault;
    std::uint32_t nProcClock, nProcBase, nProcBoost, nProcMin, nProcMax, nProcDefault;
    std::uint32_t nGfxClock, nGfxBase, nGfxBoost, nGfxMin, nGfxMax, nGfxDefault;

    std::int32_t nVoltDelta, nVoltDeltaMin, nVoltDeltaMax;
    std::int32_t nGfxDelta, nGfxDeltaMin, nGfxDeltaMax;
    std::int32_t nMemDelta, nMemDeltaMin, nMemDeltaMax;

    std::int32_t bGfxDeltaEditable, bMemDeltaEditable, bVoltDeltaEditable;

    std::uint32_t nPowerTarget, nPowerMin, nPowerMax, nPowerDefault;
};

static_assert(sizeof(GpuPerfInfo) == 36 * 4, "a plain record of 32-bit fields");

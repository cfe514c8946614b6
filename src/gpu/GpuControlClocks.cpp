// GpuControl: clock and voltage reads and the two families' overclock writes.
#include "gpu/GpuControl.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

namespace {

template <typename T> NvU32 Clamp(NvU32 count, T max)
{
    return count > static_cast<NvU32>(max) ? static_cast<NvU32>(max) : count;
}

// Processor over graphics clock. A zero graphics clock gives a non-finite ratio, as the panel
// expects, without dividing by zero.
float ShaderRatio(NvU32 proc, NvU32 gfx)
{
    if (gfx == 0)
        return proc == 0 ? std::numeric_limits<float>::quiet_NaN() : std::numeric_limits<float>::infinity();
    return static_cast<float>(proc) / static_cast<float>(gfx);
}

void TraceSetPstate(const char* text)
{
    std::printf("Set pState Info(%d) %s\n", 0, text);
}

} // namespace

int GpuControl::GetCurrentClocks(int gpu, GpuPerfInfo* info)
{
    NV_GPU_CLOCK_FREQUENCIES clocks = {};
    clocks.version = NV_GPU_CLOCK_FREQUENCIES_VER;
    clocks.ClockType = NV_GPU_CLOCK_FREQUENCIES_CURRENT_FREQ;
    if (m_pDriver->NvAPI_GPU_GetAllClockFrequencies(Handle(gpu), &clocks) != NVAPI_OK)
        return 1;
    info->nGfxClock = clocks.domain[NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS].frequency;
    info->nProcClock = clocks.domain[NVAPI_GPU_PUBLIC_CLOCK_PROCESSOR].frequency;
    info->nMemClock = clocks.domain[NVAPI_GPU_PUBLIC_CLOCK_MEMORY].frequency;
    return 0;
}

int GpuControl::GetBaseBoostClocks(int gpu, GpuPerfInfo* info)
{
    info->nGfxBase = info->nGfxBoost = 0;
    info->nProcBase = info->nProcBoost = 0;
    info->nMemBase = info->nMemBoost = 0;

    NV_GPU_CLOCK_FREQUENCIES clocks = {};
    clocks.version = NV_GPU_CLOCK_FREQUENCIES_VER;
    clocks.ClockType = NV_GPU_CLOCK_FREQUENCIES_BASE_CLOCK;
    if (m_pDriver->NvAPI_GPU_GetAllClockFrequencies(Handle(gpu), &clocks) == NVAPI_OK) {
        info->nGfxBase = clocks.domain[NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS].frequency;
        info->nProcBase = clocks.domain[NVAPI_GPU_PUBLIC_CLOCK_PROCESSOR].frequency;
        info->nMemBase = clocks.domain[NVAPI_GPU_PUBLIC_CLOCK_MEMORY].frequency;
    }
    clocks = {};
    clocks.version = NV_GPU_CLOCK_FREQUENCIES_VER;
    clocks.ClockType = NV_GPU_CLOCK_FREQUENCIES_BOOST_CLOCK;
    if (m_pDriver->NvAPI_GPU_GetAllClockFrequencies(Handle(gpu), &clocks) == NVAPI_OK) {
        info->nGfxBoost = clocks.domain[NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS].frequency;
        info->nProcBoost = clocks.domain[NVAPI_GPU_PUBLIC_CLOCK_PROCESSOR].frequency;
        info->nMemBoost = clocks.domain[NVAPI_GPU_PUBLIC_CLOCK_MEMORY].frequency;
    }
    return 0;
}

int GpuControl::ReadPerfClocksLevel(NvPhysicalGpuHandle gpu, NvU32 level)
{
    m_perfClocks.version = NV_GPU_PERF_CLOCKS_VER;
    return m_pDriver->NvAPI_GPU_GetPerfClocks(gpu, level, &m_perfClocks);
}

void GpuControl::TracePerfClocks() const
{
    std::printf("Clock Memory = %06d \n", static_cast<int>(m_perfClocks.clocks[0].currentFreq));
    std::printf("Clock graphic = %06d \n", static_cast<int>(m_perfClocks.clocks[1].currentFreq));
    std::printf("Clock processer = %06d \n", static_cast<int>(m_perfClocks.clocks[2].currentFreq));
}

void GpuControl::CopyPerfClockEntries(GpuPerfInfo* info, bool withCurrent) const
{
    NvU32 count = Clamp(m_perfClocks.numClocks, NV_PERF_CLOCKS_MAX_ENTRIES);
    for (NvU32 i = 0; i < count; ++i) {
        const NV_GPU_PERF_CLOCKS_ENTRY& e = m_perfClocks.clocks[i];
        NvU32 *clock, *def, *min, *max;
        switch (e.domainId) {
        case NVAPI_GPU_PUBLIC_CLOCK_MEMORY:
            clock = &info->nMemClock, def = &info->nMemDefault, min = &info->nMemMin, max = &info->nMemMax;
            break;
        case NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS:
            clock = &info->nGfxClock, def = &info->nGfxDefault, min = &info->nGfxMin, max = &info->nGfxMax;
            break;
        case NVAPI_GPU_PUBLIC_CLOCK_PROCESSOR:
            clock = &info->nProcClock, def = &info->nProcDefault, min = &info->nProcMin,
            max = &info->nProcMax;
            break;
        default:
            continue;
        }
        if (withCurrent)
            *clock = e.currentFreq;
        *def = e.defaultFreq;
        *min = e.minFreq;
        *max = e.maxFreq;
    }
}

int GpuControl::GetPerfClocks(GpuPerfInfo* info)
{
    // Always the first GPU, whichever is selected.
    NvAPI_Status status = ReadPerfClocksLevel(m_hGpus[0], 0);
    TracePerfClocks();
    info->nMemClock = info->nProcClock = info->nGfxClock = 0;
    if (status != NVAPI_OK)
        return 1;
    CopyPerfClockEntries(info, true);
    return 0;
}

int GpuControl::GetTopPerfClocks(int gpu, GpuPerfInfo* info)
{
    NvPhysicalGpuHandle h = Handle(gpu);
    if (ReadPerfClocksLevel(h, 0) != NVAPI_OK)
        return 1;
    // A driver reporting no levels at all is read at level 0 rather than at level "-1".
    NvU32 levels = m_perfClocks.numLevels;
    if (ReadPerfClocksLevel(h, levels > 0 ? levels - 1 : 0) != NVAPI_OK)
        return 1;
    TracePerfClocks();
    info->nMemClock = info->nProcClock = info->nGfxClock = 0;
    CopyPerfClockEntries(info, true);
    return 0;
}

int GpuControl::GetPstateClocks(GpuPerfInfo* info, int gpu, unsigned int pstate)
{
    NvPhysicalGpuHandle h = Handle(gpu);
    NvU32 current = 0;
    Record(m_pDriver->NvAPI_GPU_GetCurrentPstate(h, &current));
    if (m_nStatus == NVAPI_OK)
        m_nPstate = current;
    if (pstate != 16)
        m_nPstate = pstate;

    Record(ReadPerfClocksLevel(h, 0));
    if (m_nStatus == NVAPI_OK)
        CopyPerfClockEntries(info, false);

    // The newer layout first; an older driver only knows version 1, which has no voltage entries.
    auto table = std::make_unique<NV_GPU_PERF_PSTATES_INFO_V2>();
    std::memset(table.get(), 0, sizeof(*table));
    table->version = NV_GPU_PERF_PSTATES_INFO_VER2;
    RecordWithText(m_pDriver->NvAPI_GPU_GetPstatesInfo(h, table.get()));
    bool v1 = false;
    if (m_nStatus != NVAPI_OK) {
        std::memset(table.get(), 0, sizeof(*table));
        table->version = NV_GPU_PERF_PSTATES_INFO_VER1;
        RecordWithText(m_pDriver->NvAPI_GPU_GetPstatesInfo(h, table.get()));
        if (m_nStatus != NVAPI_OK)
            return 1;
        v1 = true;
    }

    const NV_GPU_PSTATE_CLOCK* clocks = nullptr;
    const NV_GPU_PSTATE_VOLTAGE* voltages = nullptr;
    NvU32 numClocks = Clamp(table->numClocks, NVAPI_MAX_GPU_PERF_CLOCKS);
    NvU32 numVoltages = 0;
    if (v1) {
        const auto* t1 = reinterpret_cast<const NV_GPU_PERF_PSTATES_INFO_V1*>(table.get());
        NvU32 n = Clamp(t1->numPstates, NVAPI_MAX_GPU_PERF_PSTATES);
        for (NvU32 i = 0; i < n && !clocks; ++i)
            if (t1->pstates[i].pstateId == m_nPstate)
                clocks = t1->pstates[i].clocks;
    } else {
        NvU32 n = Clamp(table->numPstates, NVAPI_MAX_GPU_PERF_PSTATES);
        for (NvU32 i = 0; i < n && !clocks; ++i)
            if (table->pstates[i].pstateId == m_nPstate) {
                clocks = table->pstates[i].clocks;
                voltages = table->pstates[i].voltages;
                numVoltages = Clamp(table->numVoltages, NVAPI_MAX_GPU_PERF_VOLTAGES);
            }
    }
    if (!clocks)
        return 0;

    if (numVoltages > 0)
        m_nLastVoltage = voltages[0].mvolt;
    for (NvU32 i = 0; i < numClocks; ++i) {
        switch (clocks[i].domainId) {
        case NVAPI_GPU_PUBLIC_CLOCK_MEMORY:
            m_nLastMemClock = clocks[i].freq;
            break;
        case NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS:
            m_nLastGfxClock = clocks[i].freq;
            break;
        case NVAPI_GPU_PUBLIC_CLOCK_PROCESSOR:
            m_nLastProcClock = clocks[i].freq;
            break;
        default:
            break;
        }
        // A domain this pstate does not list keeps the value of an earlier call.
        info->nMemClock = m_nLastMemClock;
        info->nGfxClock = m_nLastGfxClock;
        info->nProcClock = m_nLastProcClock;
    }
    for (NvU32 i = 0; i < numVoltages; ++i) {
        if (voltages[i].domainId == NVAPI_GPU_PERF_VOLTAGE_INFO_DOMAIN_CORE)
            m_nLastVoltage = voltages[i].mvolt;
        info->nCoreVoltage = m_nLastVoltage;
    }
    info->fShaderRatio = ShaderRatio(info->nProcClock, info->nGfxClock);
    return 0;
}

int GpuControl::SetP0Voltage(int gpu, unsigned int voltage)
{
    m_nLastVoltage = voltage;
    NvPhysicalGpuHandle h = Handle(gpu);
    auto table = std::make_unique<NV_GPU_PERF_PSTATES_INFO_V2>();
    std::memset(table.get(), 0, sizeof(*table));
    table->version = NV_GPU_PERF_PSTATES_INFO_VER2;
    Record(m_pDriver->NvAPI_GPU_GetPstatesInfo(h, table.get()));
    if (m_nStatus != NVAPI_OK)
        return 1;
    // The edit goes into the first listed pstate's first voltage entry; a table without one has
    // nothing to edit, and nothing is sent.
    if (table->numPstates == 0 || table->numVoltages == 0)
        return 1;
    table->pstates[0].voltages[0].mvolt = voltage;
    std::printf("02 Will set the P0 state voltage = %d mv\n", static_cast<int>(voltage));

    RecordWithText(m_pDriver->NvAPI_GPU_SetPstates(h, table.get()));
    if (m_nStatus != NVAPI_OK)
        return 2;
    TraceSetPstate(m_szError);
    return 0;
}

int GpuControl::SetP0Clocks(GpuPerfInfo info, int gpu)
{
    // The table comes from the selected GPU and is written to the GPU argument: with synchronised
    // GPUs every card gets the selected card's table with the wanted clocks.
    auto table = std::make_unique<NV_GPU_PERF_PSTATES_INFO_V2>();
    std::memset(table.get(), 0, sizeof(*table));
    table->version = NV_GPU_PERF_PSTATES_INFO_VER2;
    Record(m_pDriver->NvAPI_GPU_GetPstatesInfo(Handle(-1), table.get()));
    if (m_nStatus != NVAPI_OK)
        return 1;

    NvU32 numPstates = Clamp(table->numPstates, NVAPI_MAX_GPU_PERF_PSTATES);
    NvU32 numClocks = Clamp(table->numClocks, NVAPI_MAX_GPU_PERF_CLOCKS);
    auto* p0 = static_cast<decltype(&table->pstates[0])>(nullptr);
    for (NvU32 i = 0; i < numPstates && !p0; ++i)
        if (table->pstates[i].pstateId == 0)
            p0 = &table->pstates[i];
    if (!p0)
        return 1; // no P0 listed: nothing to edit, nothing sent

    const struct
    {
        NvU32 domain;
        NvU32 wanted;
    } edits[] = {{NVAPI_GPU_PUBLIC_CLOCK_MEMORY, info.nMemClock},
                 {NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS, info.nGfxClock},
                 {NVAPI_GPU_PUBLIC_CLOCK_PROCESSOR, info.nProcClock}};
    for (const auto& edit : edits) {
        if (edit.wanted == 0)
            continue; // zero keeps the driver's value
        for (NvU32 i = 0; i < numClocks; ++i)
            if (p0->clocks[i].domainId == edit.domain) {
                p0->clocks[i].freq = edit.wanted;
                break;
            }
    }
    NvU32 p0Voltage = table->numVoltages > 0 ? p0->voltages[0].mvolt : 0;
    std::printf("02 Will set the P0 state voltage = %d mv\n", static_cast<int>(p0Voltage));

    RecordWithText(m_pDriver->NvAPI_GPU_SetPstates(Handle(gpu), table.get()));
    if (m_nStatus != NVAPI_OK)
        return 2;
    TraceSetPstate(m_szError);
    return 0;
}

int GpuControl::GetPstates20(int gpu, GpuPerfInfo* info)
{
    NvPhysicalGpuHandle h = Handle(gpu);
    NvU32 current = 0;
    Record(m_pDriver->NvAPI_GPU_GetCurrentPstate(h, &current));
    if (m_nStatus == NVAPI_OK)
        m_nPstate = current;
    m_nPstate = 0;

    auto table = std::make_unique<NV_GPU_PERF_PSTATES20_INFO>();
    std::memset(table.get(), 0, sizeof(*table));
    table->version = NV_GPU_PERF_PSTATES20_INFO_VER;
    Record(m_pDriver->NvAPI_GPU_GetPstates20(h, table.get()));
    if (m_nStatus != NVAPI_OK)
        return 1;

    NvU32 numPstates = Clamp(table->numPstates, NVAPI_MAX_GPU_PSTATE20_PSTATES);
    NvU32 numClocks = Clamp(table->numClocks, NVAPI_MAX_GPU_PSTATE20_CLOCKS);
    NvU32 numVoltages = Clamp(table->numBaseVoltages, NVAPI_MAX_GPU_PSTATE20_BASE_VOLTAGES);
    for (NvU32 p = 0; p < numPstates; ++p) {
        const auto& ps = table->pstates[p];
        if (ps.pstateId != 0)
            continue;
        for (NvU32 i = 0; i < numClocks; ++i) {
            const NV_GPU_PSTATE20_CLOCK_ENTRY& c = ps.clocks[i];
            bool single = c.typeId == NVAPI_GPU_PERF_PSTATE20_CLOCK_TYPE_SINGLE;
            bool range = c.typeId == NVAPI_GPU_PERF_PSTATE20_CLOCK_TYPE_RANGE;
            switch (c.domainId) {
            case NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS:
                info->nGfxDelta = c.freqDelta_kHz.value;
                info->nGfxDeltaMin = c.freqDelta_kHz.min;
                info->nGfxDeltaMax = c.freqDelta_kHz.max;
                info->bGfxDeltaEditable = c.bIsEditable & 1;
                if (single)
                    info->nGfxClock = c.data.single.freq_kHz;
                else if (range)
                    info->nGfxMin = c.data.range.minFreq_kHz, info->nGfxMax = c.data.range.maxFreq_kHz;
                break;
            case NVAPI_GPU_PUBLIC_CLOCK_MEMORY:
                info->nMemDelta = c.freqDelta_kHz.value;
                info->nMemDeltaMin = c.freqDelta_kHz.min;
                info->nMemDeltaMax = c.freqDelta_kHz.max;
                info->bMemDeltaEditable = c.bIsEditable & 1;
                if (single)
                    info->nMemClock = info->nMemDefault = c.data.single.freq_kHz;
                else if (range)
                    info->nMemMin = c.data.range.minFreq_kHz, info->nMemMax = c.data.range.maxFreq_kHz;
                break;
            case NVAPI_GPU_PUBLIC_CLOCK_PROCESSOR:
                if (single)
                    info->nProcClock = c.data.single.freq_kHz;
                else if (range)
                    info->nProcMin = c.data.range.minFreq_kHz, info->nProcMax = c.data.range.maxFreq_kHz;
                break;
            default:
                break;
            }
        }
        for (NvU32 i = 0; i < numVoltages; ++i) {
            const NV_GPU_PSTATE20_BASE_VOLTAGE_ENTRY& v = ps.baseVoltages[i];
            if (v.domainId != NVAPI_GPU_PERF_VOLTAGE_INFO_DOMAIN_CORE)
                continue;
            info->nVoltDelta = v.voltDelta_uV.value;
            info->nVoltDeltaMin = v.voltDelta_uV.min;
            info->nVoltDeltaMax = v.voltDelta_uV.max;
            info->bVoltDeltaEditable = v.bIsEditable & 1;
        }
    }
    return 0;
}

int GpuControl::SetPstates20(GpuPerfInfo info, int gpu)
{
    auto table = std::make_unique<NV_GPU_PERF_PSTATES20_INFO>();
    std::memset(table.get(), 0, sizeof(*table));
    table->version = NV_GPU_PERF_PSTATES20_INFO_VER;
    table->numPstates = 1;
    table->numClocks = 2;
    table->numBaseVoltages = 1;
    auto& p0 = table->pstates[0];
    p0.pstateId = 0;
    p0.clocks[0].domainId = NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS;
    p0.clocks[0].typeId = NVAPI_GPU_PERF_PSTATE20_CLOCK_TYPE_SINGLE;
    p0.clocks[0].freqDelta_kHz.value = info.nGfxDelta;
    p0.clocks[1].domainId = NVAPI_GPU_PUBLIC_CLOCK_MEMORY;
    p0.clocks[1].typeId = NVAPI_GPU_PERF_PSTATE20_CLOCK_TYPE_SINGLE;
    p0.clocks[1].freqDelta_kHz.value = info.nMemDelta;
    p0.baseVoltages[0].domainId = NVAPI_GPU_PERF_VOLTAGE_INFO_DOMAIN_CORE;
    p0.baseVoltages[0].voltDelta_uV.value = info.nVoltDelta;
    return m_pDriver->NvAPI_GPU_SetPstates20(Handle(gpu), table.get()) == NVAPI_OK ? 0 : 1;
}

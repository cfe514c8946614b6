// The simulated driver's entries: every interface id the program uses, each checking its handle and
// version word as a real driver does, plus the control interface for tests and korvax-simctl.
#include "driver/sim/SimDriver.h"

#include "driver/api/NvApiRecords.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace sim {
namespace {

// Handles are addresses inside these arrays: unique, never null, and easy to check.
char g_gpuTokens[NVAPI_MAX_PHYSICAL_GPUS];
char g_displayTokens[NVAPI_MAX_DISPLAYS];
char g_sessionTokens[Driver::kMaxDrsSessions];
char g_profileTokens[Driver::kMaxDrsSessions];

template <size_t N> int TokenIndex(const void* handle, const char (&tokens)[N])
{
    const char* p = static_cast<const char*>(handle);
    if (p < tokens || p >= tokens + N)
        return -1;
    return static_cast<int>(p - tokens);
}

void CopyText(char* out, const std::string& text)
{
    std::snprintf(out, NVAPI_SHORT_STRING_MAX, "%s", text.c_str());
}

std::string Hex(NvU32 v)
{
    char buf[16];
    std::snprintf(buf, sizeof(buf), "0x%X", v);
    return buf;
}

bool HasProcessorClock(const std::vector<PstateModel>& table)
{
    return std::any_of(table.begin(), table.end(), [](const PstateModel& p) { return p.procKHz != 0; });
}

NvU32 Clamp(NvU32 v, int max)
{
    return v > static_cast<NvU32>(max) ? static_cast<NvU32>(max) : v;
}

// Common start of a GPU operation: initialised, not faulted, a known card brought up to date.
struct GpuCall
{
    Driver& d = Driver::Instance();
    SimCard* card = nullptr;
    int index = -1;
    NvAPI_Status status = NVAPI_OK;

    GpuCall(NvU32 id, NvPhysicalGpuHandle gpu, NvU32 versionWord)
    {
        if (!d.Initialized()) {
            status = NVAPI_API_NOT_INITIALIZED;
            return;
        }
        card = d.Card(gpu, &index);
        if ((status = d.Fault(id, versionWord)) != NVAPI_OK)
            return;
        if (!card) {
            status = NVAPI_EXPECTED_PHYSICAL_GPU_HANDLE;
            return;
        }
        d.Tick(card);
    }
    bool Failed() const { return status != NVAPI_OK; }
};

const char* StatusName(NvAPI_Status status)
{
    switch (status) {
    case NVAPI_OK:
        return "NVAPI_OK";
    case NVAPI_ERROR:
        return "NVAPI_ERROR";
    case NVAPI_LIBRARY_NOT_FOUND:
        return "NVAPI_LIBRARY_NOT_FOUND";
    case NVAPI_NO_IMPLEMENTATION:
        return "NVAPI_NO_IMPLEMENTATION";
    case NVAPI_API_NOT_INITIALIZED:
        return "NVAPI_API_NOT_INITIALIZED";
    case NVAPI_INVALID_ARGUMENT:
        return "NVAPI_INVALID_ARGUMENT";
    case NVAPI_NVIDIA_DEVICE_NOT_FOUND:
        return "NVAPI_NVIDIA_DEVICE_NOT_FOUND";
    case NVAPI_END_ENUMERATION:
        return "NVAPI_END_ENUMERATION";
    case NVAPI_INVALID_HANDLE:
        return "NVAPI_INVALID_HANDLE";
    case NVAPI_INCOMPATIBLE_STRUCT_VERSION:
        return "NVAPI_INCOMPATIBLE_STRUCT_VERSION";
    case NVAPI_INVALID_POINTER:
        return "NVAPI_INVALID_POINTER";
    case NVAPI_EXPECTED_PHYSICAL_GPU_HANDLE:
        return "NVAPI_EXPECTED_PHYSICAL_GPU_HANDLE";
    case NVAPI_NOT_SUPPORTED:
        return "NVAPI_NOT_SUPPORTED";
    default:
        return nullptr;
    }
}

// ---- Identification ------------------------------------------------------------------------------

NvAPI_Status SimInitialize()
{
    Driver& d = Driver::Instance();
    if (NvAPI_Status f = d.Fault(nvid::Initialize, 0))
        return f;
    return d.Initialize();
}

NvAPI_Status SimGetErrorMessage(NvAPI_Status status, NvAPI_ShortString text)
{
    if (NvAPI_Status f = Driver::Instance().Fault(nvid::GetErrorMessage, 0))
        return f;
    if (!text)
        return NVAPI_INVALID_ARGUMENT;
    const char* name = StatusName(status);
    if (name)
        CopyText(text, name);
    else
        std::snprintf(text, NVAPI_SHORT_STRING_MAX, "NVAPI status %d", status);
    return NVAPI_OK;
}

NvAPI_Status SimEnumPhysicalGPUs(NvPhysicalGpuHandle handles[NVAPI_MAX_PHYSICAL_GPUS], NvU32* count)
{
    Driver& d = Driver::Instance();
    if (!d.Initialized())
        return NVAPI_API_NOT_INITIALIZED;
    if (NvAPI_Status f = d.Fault(nvid::EnumPhysicalGPUs, 0))
        return f;
    if (!handles || !count)
        return NVAPI_INVALID_ARGUMENT;
    size_t n = std::min<size_t>(d.Cards().size(), NVAPI_MAX_PHYSICAL_GPUS);
    if (n == 0)
        return NVAPI_NVIDIA_DEVICE_NOT_FOUND;
    for (size_t i = 0; i < n; ++i)
        handles[i] = reinterpret_cast<NvPhysicalGpuHandle>(&g_gpuTokens[i]);
    *count = static_cast<NvU32>(n);
    return NVAPI_OK;
}

NvAPI_Status SimEnumNvidiaDisplayHandle(NvU32 index, NvDisplayHandle* handle)
{
    Driver& d = Driver::Instance();
    if (!d.Initialized())
        return NVAPI_API_NOT_INITIALIZED;
    if (NvAPI_Status f = d.Fault(nvid::EnumNvidiaDisplayHandle, 0))
        return f;
    if (!handle)
        return NVAPI_INVALID_ARGUMENT;
    if (index >= d.CurrentScenario().displays || index >= NVAPI_MAX_DISPLAYS)
        return NVAPI_END_ENUMERATION;
    *handle = reinterpret_cast<NvDisplayHandle>(&g_displayTokens[index]);
    return NVAPI_OK;
}

NvAPI_Status SimGetDisplayDriverVersion(NvDisplayHandle display, NV_DISPLAY_DRIVER_VERSION* version)
{
    Driver& d = Driver::Instance();
    if (!d.Initialized())
        return NVAPI_API_NOT_INITIALIZED;
    if (NvAPI_Status f = d.Fault(nvid::GetDisplayDriverVersion, version ? version->version : 0))
        return f;
    if (!version)
        return NVAPI_INVALID_ARGUMENT;
    int index = TokenIndex(display, g_displayTokens);
    if (index < 0 || static_cast<NvU32>(index) >= d.CurrentScenario().displays)
        return NVAPI_INVALID_HANDLE;
    if (version->version != NV_DISPLAY_DRIVER_VERSION_VER)
        return NVAPI_INCOMPATIBLE_STRUCT_VERSION;
    NvU32 word = version->version;
    std::memset(version, 0, sizeof(*version));
    version->version = word;
    version->drvVersion = d.CurrentScenario().driverVersion;
    version->bldChangeListNum = 0;
    CopyText(version->szBuildBranchString,
             "r" + std::to_string(d.CurrentScenario().driverVersion / 100) + "_00");
    CopyText(version->szAdapterString, d.Cards().empty() ? std::string() : d.Cards()[0].Model().name);
    return NVAPI_OK;
}

NvAPI_Status SimGetFullName(NvPhysicalGpuHandle gpu, NvAPI_ShortString name)
{
    GpuCall c(nvid::GPU_GetFullName, gpu, 0);
    if (c.Failed())
        return c.status;
    if (!name)
        return NVAPI_INVALID_ARGUMENT;
    CopyText(name, c.card->Model().name);
    return NVAPI_OK;
}

NvAPI_Status SimGetPCIIdentifiers(NvPhysicalGpuHandle gpu, NvU32* deviceId, NvU32* subSystemId,
                                  NvU32* revisionId, NvU32* extDeviceId)
{
    GpuCall c(nvid::GPU_GetPCIIdentifiers, gpu, 0);
    if (c.Failed())
        return c.status;
    if (!deviceId || !subSystemId || !revisionId || !extDeviceId)
        return NVAPI_INVALID_ARGUMENT;
    const CardModel& s = c.card->Model();
    // The internal device id word: vendor in the low half, device in the high half.
    *deviceId = (s.deviceId << 16) | s.vendorId;
    *subSystemId = (s.subSystemId << 16) | s.subVendorId;
    *revisionId = s.revision;
    *extDeviceId = s.deviceId;
    return NVAPI_OK;
}

NvAPI_Status SimGetVbiosVersionString(NvPhysicalGpuHandle gpu, NvAPI_ShortString text)
{
    GpuCall c(nvid::GPU_GetVbiosVersionString, gpu, 0);
    if (c.Failed())
        return c.status;
    if (!text)
        return NVAPI_INVALID_ARGUMENT;
    CopyText(text, c.card->Model().bios);
    return NVAPI_OK;
}

template <NvU32 Id, NvU32 CardModel::*Field> NvAPI_Status SimReadWord(NvPhysicalGpuHandle gpu, NvU32* out)
{
    GpuCall c(Id, gpu, 0);
    if (c.Failed())
        return c.status;
    if (!out)
        return NVAPI_INVALID_ARGUMENT;
    *out = c.card->Model().*Field;
    return NVAPI_OK;
}

NvAPI_Status SimGetFBWidthAndLocation(NvPhysicalGpuHandle gpu, NvU32* width, NvU32* location)
{
    GpuCall c(nvid::GPU_GetFBWidthAndLocation, gpu, 0);
    if (c.Failed())
        return c.status;
    if (!width)
        return NVAPI_INVALID_ARGUMENT;
    *width = c.card->Model().busWidth;
    if (location)
        *location = 1; // on the card
    return NVAPI_OK;
}

// ---- Clocks --------------------------------------------------------------------------------------

NvAPI_Status SimGetAllClockFrequencies(NvPhysicalGpuHandle gpu, NV_GPU_CLOCK_FREQUENCIES* clocks)
{
    GpuCall c(nvid::GPU_GetAllClockFrequencies, gpu, clocks ? clocks->version : 0);
    if (c.Failed())
        return c.status;
    if (!clocks)
        return NVAPI_INVALID_ARGUMENT;
    if (clocks->version != NV_GPU_CLOCK_FREQUENCIES_VER)
        return NVAPI_INCOMPATIBLE_STRUCT_VERSION;
    NvU32 type = clocks->ClockType & 3;
    if (type > NV_GPU_CLOCK_FREQUENCIES_BOOST_CLOCK)
        return NVAPI_INVALID_ARGUMENT;
    const CardModel& s = c.card->Model();
    const CardSettings& set = c.card->Settings();
    NvU32 gfx = 0, mem = 0, proc = 0;
    if (type == NV_GPU_CLOCK_FREQUENCIES_CURRENT_FREQ) {
        ClockReading r = c.card->Current();
        gfx = r.gfxKHz, mem = r.memKHz, proc = r.procKHz;
    } else if (s.offsetFamily) {
        long long g =
            (type == NV_GPU_CLOCK_FREQUENCIES_BASE_CLOCK ? s.baseKHz : s.boostKHz) + 0LL + set.gfxDelta;
        gfx = static_cast<NvU32>(std::max(0LL, g));
        mem = static_cast<NvU32>(std::max(0LL, static_cast<long long>(s.memKHz) + set.memDelta));
    } else if (!set.pstates.empty()) {
        gfx = set.pstates[0].gfxKHz, mem = set.pstates[0].memKHz, proc = set.pstates[0].procKHz;
    }
    std::memset(clocks->domain, 0, sizeof(clocks->domain));
    auto put = [&](NvU32 domain, NvU32 f) {
        if (f) {
            clocks->domain[domain].bIsPresent = 1;
            clocks->domain[domain].frequency = f;
        }
    };
    put(NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS, gfx);
    put(NVAPI_GPU_PUBLIC_CLOCK_MEMORY, mem);
    put(NVAPI_GPU_PUBLIC_CLOCK_PROCESSOR, proc);
    return NVAPI_OK;
}

NvAPI_Status SimGetPerfClocks(NvPhysicalGpuHandle gpu, NvU32 level, NV_GPU_PERF_CLOCKS* clocks)
{
    GpuCall c(nvid::GPU_GetPerfClocks, gpu, clocks ? clocks->version : 0);
    if (c.Failed())
        return c.status;
    if (!clocks)
        return NVAPI_INVALID_ARGUMENT;
    if (clocks->version != NV_GPU_PERF_CLOCKS_VER)
        return NVAPI_INCOMPATIBLE_STRUCT_VERSION;
    const CardModel& s = c.card->Model();
    if (s.offsetFamily)
        return NVAPI_NOT_SUPPORTED;
    if (level >= s.perfLevels)
        return NVAPI_INVALID_ARGUMENT;
    const std::vector<PstateModel>& table = c.card->Settings().pstates;
    std::memset(clocks, 0, sizeof(*clocks));
    clocks->version = NV_GPU_PERF_CLOCKS_VER;
    clocks->numLevels = s.perfLevels;
    ClockReading now = c.card->Current();
    // Memory, graphics, processor: the order the program's trace lines name them.
    const NvU32 domains[] = {NVAPI_GPU_PUBLIC_CLOCK_MEMORY, NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS,
                             NVAPI_GPU_PUBLIC_CLOCK_PROCESSOR};
    const NvU32 current[] = {now.memKHz, now.gfxKHz, now.procKHz};
    NvU32 n = HasProcessorClock(s.pstates) ? 3 : 2;
    const PstateModel* p = table.empty() ? nullptr : &table[c.card->PstateForLevel(level)];
    for (NvU32 i = 0; i < n; ++i) {
        NV_GPU_PERF_CLOCKS_ENTRY& e = clocks->clocks[i];
        e.domainId = domains[i];
        e.currentFreq = current[i];
        e.defaultFreq = p ? c.card->PstateClock(*p, domains[i]) : 0;
        e.minFreq = c.card->DomainMin(domains[i]);
        e.maxFreq = c.card->DomainMax(domains[i]);
    }
    clocks->numClocks = n;
    return NVAPI_OK;
}

NvAPI_Status SimGetCurrentPstate(NvPhysicalGpuHandle gpu, NvU32* pstate)
{
    GpuCall c(nvid::GPU_GetCurrentPstate, gpu, 0);
    if (c.Failed())
        return c.status;
    if (!pstate)
        return NVAPI_INVALID_ARGUMENT;
    *pstate = c.card->Current().pstate;
    return NVAPI_OK;
}

NvAPI_Status SimGetPstatesInfo(NvPhysicalGpuHandle gpu, NV_GPU_PERF_PSTATES_INFO_V2* info)
{
    GpuCall c(nvid::GPU_GetPstatesInfo, gpu, info ? info->version : 0);
    if (c.Failed())
        return c.status;
    if (!info)
        return NVAPI_INVALID_ARGUMENT;
    NvU32 word = info->version;
    if (word != NV_GPU_PERF_PSTATES_INFO_VER2 && word != NV_GPU_PERF_PSTATES_INFO_VER1)
        return NVAPI_INCOMPATIBLE_STRUCT_VERSION;
    if (c.card->Model().offsetFamily)
        return NVAPI_NOT_SUPPORTED;
    const std::vector<PstateModel>& table = c.card->Settings().pstates;
    NvU32 numClocks = HasProcessorClock(table) ? 3 : 2;
    auto fillClocks = [&](NV_GPU_PSTATE_CLOCK* out, const PstateModel& p) {
        out[0] = {NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS, 0, p.gfxKHz};
        out[1] = {NVAPI_GPU_PUBLIC_CLOCK_MEMORY, 0, p.memKHz};
        if (numClocks == 3) // a pstate without a processor clock lists the video clock (domain 8) instead
            out[2] = p.procKHz ? NV_GPU_PSTATE_CLOCK{NVAPI_GPU_PUBLIC_CLOCK_PROCESSOR, 0, p.procKHz}
                               : NV_GPU_PSTATE_CLOCK{8, 0, 0};
    };
    NvU32 n = Clamp(static_cast<NvU32>(table.size()), NVAPI_MAX_GPU_PERF_PSTATES);
    if (word == NV_GPU_PERF_PSTATES_INFO_VER1) {
        auto* v1 = reinterpret_cast<NV_GPU_PERF_PSTATES_INFO_V1*>(info);
        std::memset(v1, 0, sizeof(*v1));
        v1->version = word;
        v1->numPstates = n;
        v1->numClocks = numClocks;
        for (NvU32 i = 0; i < n; ++i) {
            v1->pstates[i].pstateId = table[i].id;
            v1->pstates[i].flags = table[i].id == 0 ? 1 : 0;
            fillClocks(v1->pstates[i].clocks, table[i]);
        }
        return NVAPI_OK;
    }
    std::memset(info, 0, sizeof(*info));
    info->version = word;
    info->numPstates = n;
    info->numClocks = numClocks;
    info->numVoltages = 1;
    for (NvU32 i = 0; i < n; ++i) {
        info->pstates[i].pstateId = table[i].id;
        info->pstates[i].flags = table[i].id == 0 ? 1 : 0; // only P0 is editable
        fillClocks(info->pstates[i].clocks, table[i]);
        info->pstates[i].voltages[0] = {NVAPI_GPU_PERF_VOLTAGE_INFO_DOMAIN_CORE, 0, table[i].milliVolt};
    }
    return NVAPI_OK;
}

NvAPI_Status SimSetPstates(NvPhysicalGpuHandle gpu, NV_GPU_PERF_PSTATES_INFO_V2* info)
{
    GpuCall c(nvid::GPU_SetPstates, gpu, info ? info->version : 0);
    Driver& d = c.d;
    std::string text = "SetPstates gpu=" + std::to_string(c.index);
    NvAPI_Status status = c.status;
    if (info) {
        text += " ver=" + Hex(info->version);
        NvU32 np = Clamp(info->numPstates, NVAPI_MAX_GPU_PERF_PSTATES);
        NvU32 nc = Clamp(info->numClocks, NVAPI_MAX_GPU_PERF_CLOCKS);
        NvU32 nv = Clamp(info->numVoltages, NVAPI_MAX_GPU_PERF_VOLTAGES);
        if (info->version == NV_GPU_PERF_PSTATES_INFO_VER2) {
            for (NvU32 i = 0; i < np; ++i) {
                text += " P" + std::to_string(info->pstates[i].pstateId) + ":";
                for (NvU32 j = 0; j < nc; ++j)
                    text += (j ? "," : "") + std::to_string(info->pstates[i].clocks[j].domainId) + "=" +
                            std::to_string(info->pstates[i].clocks[j].freq);
                for (NvU32 j = 0; j < nv; ++j)
                    text += ",v" + std::to_string(info->pstates[i].voltages[j].domainId) + "=" +
                            std::to_string(info->pstates[i].voltages[j].mvolt);
            }
        }
    } else if (status == NVAPI_OK) {
        status = NVAPI_INVALID_ARGUMENT;
    }
    if (status == NVAPI_OK && info->version != NV_GPU_PERF_PSTATES_INFO_VER2)
        status = NVAPI_INCOMPATIBLE_STRUCT_VERSION;
    if (status == NVAPI_OK && c.card->Model().offsetFamily)
        status = NVAPI_NOT_SUPPORTED;
    if (status == NVAPI_OK &&
        (info->numPstates > NVAPI_MAX_GPU_PERF_PSTATES || info->numClocks > NVAPI_MAX_GPU_PERF_CLOCKS ||
         info->numVoltages > NVAPI_MAX_GPU_PERF_VOLTAGES))
        status = NVAPI_INVALID_ARGUMENT;
    if (status == NVAPI_OK) {
        SimCard& card = *c.card;
        std::vector<PstateModel> table = card.Settings().pstates;
        NvU32 lowMv = 1500, highMv = 0;
        for (const PstateModel& p : card.Model().pstates)
            lowMv = std::min(lowMv, p.milliVolt), highMv = std::max(highMv, p.milliVolt);
        for (NvU32 i = 0; i < info->numPstates && status == NVAPI_OK; ++i) {
            auto it = std::find_if(table.begin(), table.end(),
                                   [&](const PstateModel& p) { return p.id == info->pstates[i].pstateId; });
            if (it == table.end()) {
                status = NVAPI_INVALID_ARGUMENT;
                break;
            }
            for (NvU32 j = 0; j < info->numClocks && status == NVAPI_OK; ++j) {
                const NV_GPU_PSTATE_CLOCK& clk = info->pstates[i].clocks[j];
                NvU32* field = clk.domainId == NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS ? &it->gfxKHz
                               : clk.domainId == NVAPI_GPU_PUBLIC_CLOCK_MEMORY ? &it->memKHz
                               : clk.domainId == NVAPI_GPU_PUBLIC_CLOCK_PROCESSOR && it->procKHz
                                   ? &it->procKHz
                                   : nullptr;
                if (!field)
                    continue;
                if (clk.freq < card.DomainMin(clk.domainId) || clk.freq > card.DomainMax(clk.domainId))
                    status = NVAPI_INVALID_ARGUMENT;
                else
                    *field = clk.freq;
            }
            for (NvU32 j = 0; j < info->numVoltages && status == NVAPI_OK; ++j) {
                const NV_GPU_PSTATE_VOLTAGE& v = info->pstates[i].voltages[j];
                if (v.domainId != NVAPI_GPU_PERF_VOLTAGE_INFO_DOMAIN_CORE)
                    continue;
                if (v.mvolt + 100 < lowMv || v.mvolt > highMv + 200)
                    status = NVAPI_INVALID_ARGUMENT;
                else
                    it->milliVolt = v.mvolt;
            }
        }
        if (status == NVAPI_OK) {
            card.Settings().pstates = table;
            d.SaveState(c.index);
        }
    }
    d.LogWrite(nvid::GPU_SetPstates, c.index, status, text);
    return status;
}

NvAPI_Status SimGetPstates20(NvPhysicalGpuHandle gpu, NV_GPU_PERF_PSTATES20_INFO* info)
{
    GpuCall c(nvid::GPU_GetPstates20, gpu, info ? info->version : 0);
    if (c.Failed())
        return c.status;
    if (!info)
        return NVAPI_INVALID_ARGUMENT;
    if (info->version != NV_GPU_PERF_PSTATES20_INFO_VER)
        return NVAPI_INCOMPATIBLE_STRUCT_VERSION;
    const CardModel& s = c.card->Model();
    if (!s.offsetFamily)
        return NVAPI_NOT_SUPPORTED;
    const CardSettings& set = c.card->Settings();
    std::memset(info, 0, sizeof(*info));
    info->version = NV_GPU_PERF_PSTATES20_INFO_VER;
    info->bIsEditable = s.offsetsEditable ? 1 : 0;
    info->numPstates = 2;
    info->numClocks = 2;
    info->numBaseVoltages = 1;
    NvU32 editable = s.offsetsEditable ? 1 : 0;

    auto& p0 = info->pstates[0];
    p0.pstateId = 0;
    p0.bIsEditable = editable;
    NV_GPU_PSTATE20_CLOCK_ENTRY& gfx = p0.clocks[0];
    gfx.domainId = NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS;
    gfx.bIsEditable = editable;
    gfx.freqDelta_kHz = {set.gfxDelta, s.gfxDeltaMin, s.gfxDeltaMax};
    NvU32 base = static_cast<NvU32>(static_cast<long long>(s.baseKHz) + set.gfxDelta);
    if (s.gfxRangeEntry) {
        gfx.typeId = NVAPI_GPU_PERF_PSTATE20_CLOCK_TYPE_RANGE;
        gfx.data.range.minFreq_kHz = base;
        gfx.data.range.maxFreq_kHz = static_cast<NvU32>(static_cast<long long>(s.boostKHz) + set.gfxDelta);
        gfx.data.range.domainId = NVAPI_GPU_PERF_VOLTAGE_INFO_DOMAIN_CORE;
        gfx.data.range.minVoltage_uV = 850000;
        gfx.data.range.maxVoltage_uV = 1175000;
    } else {
        gfx.typeId = NVAPI_GPU_PERF_PSTATE20_CLOCK_TYPE_SINGLE;
        gfx.data.single.freq_kHz = base;
    }
    NV_GPU_PSTATE20_CLOCK_ENTRY& mem = p0.clocks[1];
    mem.domainId = NVAPI_GPU_PUBLIC_CLOCK_MEMORY;
    mem.typeId = NVAPI_GPU_PERF_PSTATE20_CLOCK_TYPE_SINGLE;
    mem.bIsEditable = editable;
    mem.freqDelta_kHz = {set.memDelta, s.memDeltaMin, s.memDeltaMax};
    mem.data.single.freq_kHz = static_cast<NvU32>(static_cast<long long>(s.memKHz) + set.memDelta);
    p0.baseVoltages[0].domainId = NVAPI_GPU_PERF_VOLTAGE_INFO_DOMAIN_CORE;
    p0.baseVoltages[0].bIsEditable = editable;
    p0.baseVoltages[0].volt_uV = static_cast<NvU32>(1000000 + set.voltDelta);
    p0.baseVoltages[0].voltDelta_uV = {set.voltDelta, s.voltDeltaMin, s.voltDeltaMax};

    auto& p8 = info->pstates[1];
    p8.pstateId = 8;
    p8.clocks[0].domainId = NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS;
    p8.clocks[0].data.single.freq_kHz = s.idleGfxKHz;
    p8.clocks[1].domainId = NVAPI_GPU_PUBLIC_CLOCK_MEMORY;
    p8.clocks[1].data.single.freq_kHz = s.idleMemKHz;
    p8.baseVoltages[0].domainId = NVAPI_GPU_PERF_VOLTAGE_INFO_DOMAIN_CORE;
    p8.baseVoltages[0].volt_uV = 850000;
    return NVAPI_OK;
}

NvAPI_Status SimSetPstates20(NvPhysicalGpuHandle gpu, NV_GPU_PERF_PSTATES20_INFO* info)
{
    GpuCall c(nvid::GPU_SetPstates20, gpu, info ? info->version : 0);
    Driver& d = c.d;
    std::string text = "SetPstates20 gpu=" + std::to_string(c.index);
    NvAPI_Status status = c.status;
    if (info) {
        text += " ver=" + Hex(info->version);
        if (info->version == NV_GPU_PERF_PSTATES20_INFO_VER) {
            NvU32 np = Clamp(info->numPstates, NVAPI_MAX_GPU_PSTATE20_PSTATES);
            NvU32 nc = Clamp(info->numClocks, NVAPI_MAX_GPU_PSTATE20_CLOCKS);
            NvU32 nv = Clamp(info->numBaseVoltages, NVAPI_MAX_GPU_PSTATE20_BASE_VOLTAGES);
            for (NvU32 i = 0; i < np; ++i) {
                text += " P" + std::to_string(info->pstates[i].pstateId) + ":";
                for (NvU32 j = 0; j < nc; ++j)
                    text += (j ? "," : "") + std::to_string(info->pstates[i].clocks[j].domainId) + "=" +
                            std::to_string(info->pstates[i].clocks[j].freqDelta_kHz.value);
                for (NvU32 j = 0; j < nv; ++j)
                    text += ",v" + std::to_string(info->pstates[i].baseVoltages[j].domainId) + "=" +
                            std::to_string(info->pstates[i].baseVoltages[j].voltDelta_uV.value);
            }
        }
    } else if (status == NVAPI_OK) {
        status = NVAPI_INVALID_ARGUMENT;
    }
    if (status == NVAPI_OK && info->version != NV_GPU_PERF_PSTATES20_INFO_VER)
        status = NVAPI_INCOMPATIBLE_STRUCT_VERSION;
    if (status == NVAPI_OK && !c.card->Model().offsetFamily)
        status = NVAPI_NOT_SUPPORTED;
    if (status == NVAPI_OK && !c.card->Model().offsetsEditable)
        status = NVAPI_NOT_SUPPORTED;
    if (status == NVAPI_OK && (info->numPstates == 0 || info->numPstates > NVAPI_MAX_GPU_PSTATE20_PSTATES ||
                               info->numClocks > NVAPI_MAX_GPU_PSTATE20_CLOCKS ||
                               info->numBaseVoltages > NVAPI_MAX_GPU_PSTATE20_BASE_VOLTAGES))
        status = NVAPI_INVALID_ARGUMENT;
    if (status == NVAPI_OK) {
        const CardModel& s = c.card->Model();
        CardSettings next = c.card->Settings();
        auto inRange = [](NvS32 v, NvS32 lo, NvS32 hi) { return v >= lo && v <= hi; };
        for (NvU32 i = 0; i < info->numPstates && status == NVAPI_OK; ++i) {
            const auto& ps = info->pstates[i];
            if (ps.pstateId != 0) { // only P0 takes offsets
                status = NVAPI_INVALID_ARGUMENT;
                break;
            }
            for (NvU32 j = 0; j < info->numClocks && status == NVAPI_OK; ++j) {
                const auto& clk = ps.clocks[j];
                NvS32 v = clk.freqDelta_kHz.value;
                if (clk.domainId == NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS &&
                    inRange(v, s.gfxDeltaMin, s.gfxDeltaMax))
                    next.gfxDelta = v;
                else if (clk.domainId == NVAPI_GPU_PUBLIC_CLOCK_MEMORY &&
                         inRange(v, s.memDeltaMin, s.memDeltaMax))
                    next.memDelta = v;
                else
                    status = NVAPI_INVALID_ARGUMENT;
            }
            for (NvU32 j = 0; j < info->numBaseVoltages && status == NVAPI_OK; ++j) {
                const auto& bv = ps.baseVoltages[j];
                NvS32 v = bv.voltDelta_uV.value;
                if (bv.domainId == NVAPI_GPU_PERF_VOLTAGE_INFO_DOMAIN_CORE &&
                    inRange(v, s.voltDeltaMin, s.voltDeltaMax))
                    next.voltDelta = v;
                else
                    status = NVAPI_INVALID_ARGUMENT;
            }
        }
        if (status == NVAPI_OK) {
            c.card->Settings() = next;
            d.SaveState(c.index);
        }
    }
    d.LogWrite(nvid::GPU_SetPstates20, c.index, status, text);
    return status;
}

// ---- Thermal and cooling -------------------------------------------------------------------------

NvAPI_Status SimGetThermalSettings(NvPhysicalGpuHandle gpu, NvU32 sensorIndex,
                                   NV_GPU_THERMAL_SETTINGS* settings)
{
    GpuCall c(nvid::GPU_GetThermalSettings, gpu, settings ? settings->version : 0);
    if (c.Failed())
        return c.status;
    if (!settings)
        return NVAPI_INVALID_ARGUMENT;
    if (settings->version != NV_GPU_THERMAL_SETTINGS_VER_1 &&
        settings->version != NV_GPU_THERMAL_SETTINGS_VER_2)
        return NVAPI_INCOMPATIBLE_STRUCT_VERSION;
    if (sensorIndex != 0 && sensorIndex != NVAPI_THERMAL_TARGET_ALL)
        return NVAPI_INVALID_ARGUMENT;
    NvU32 word = settings->version;
    std::memset(settings, 0, sizeof(*settings));
    settings->version = word;
    settings->count = 1;
    settings->sensor[0].controller = 1; // the GPU's internal sensor
    settings->sensor[0].defaultMinTemp = 0;
    settings->sensor[0].defaultMaxTemp = 127;
    settings->sensor[0].currentTemp = c.card->TemperatureC();
    settings->sensor[0].target = 1; // GPU
    return NVAPI_OK;
}

NvAPI_Status SimGetCoolerSettings(NvPhysicalGpuHandle gpu, NvU32 coolerIndex,
                                  NV_GPU_COOLER_SETTINGS* settings)
{
    GpuCall c(nvid::GPU_GetCoolerSettings, gpu, settings ? settings->version : 0);
    if (c.Failed())
        return c.status;
    if (!settings)
        return NVAPI_INVALID_ARGUMENT;
    NvU32 word = settings->version;
    if (word != NV_GPU_COOLER_SETTINGS_VER_3 && word != NV_GPU_COOLER_SETTINGS_VER_1 &&
        word != NV_GPU_COOLER_SETTINGS_VER_1_BIG)
        return NVAPI_INCOMPATIBLE_STRUCT_VERSION;
    if (coolerIndex != 0 && coolerIndex != NVAPI_COOLER_TARGET_ALL)
        return NVAPI_INVALID_ARGUMENT;
    // Only the size the version word gives is written.
    std::memset(reinterpret_cast<NvU8*>(settings) + 4, 0, (word & 0xFFFF) - 4);
    const CardModel& s = c.card->Model();
    settings->count = 1;
    auto& f = settings->cooler0;
    f.type = 1;       // fan
    f.controller = 2; // internal
    f.defaultMinLevel = f.currentMinLevel = s.fanMin;
    f.defaultMaxLevel = f.currentMaxLevel = s.fanMax;
    f.currentLevel = c.card->FanLevel();
    f.defaultPolicy = NVAPI_COOLER_POLICY_AUTO;
    f.currentPolicy = c.card->Settings().fanPolicy;
    f.target = 1; // GPU
    f.controlType = 1;
    f.active = 1;
    return NVAPI_OK;
}

NvAPI_Status SimSetCoolerLevels(NvPhysicalGpuHandle gpu, NvU32 coolerIndex, NV_GPU_COOLER_LEVELS* levels)
{
    GpuCall c(nvid::GPU_SetCoolerLevels, gpu, levels ? levels->version : 0);
    Driver& d = c.d;
    std::string text = "SetCoolerLevels gpu=" + std::to_string(c.index);
    NvAPI_Status status = c.status;
    if (levels)
        text += " ver=" + Hex(levels->version) + " level=" + std::to_string(levels->cooler[0].level) +
                " policy=" + std::to_string(levels->cooler[0].policy);
    else if (status == NVAPI_OK)
        status = NVAPI_INVALID_ARGUMENT;
    if (status == NVAPI_OK && levels->version != NV_GPU_COOLER_LEVELS_VER_BIG &&
        levels->version != NV_GPU_COOLER_LEVELS_VER_SMALL)
        status = NVAPI_INCOMPATIBLE_STRUCT_VERSION;
    if (status == NVAPI_OK && coolerIndex != 0 && coolerIndex != NVAPI_COOLER_TARGET_ALL)
        status = NVAPI_INVALID_ARGUMENT;
    if (status == NVAPI_OK) {
        NvU32 policy = levels->cooler[0].policy;
        NvU32 level = levels->cooler[0].level;
        const CardModel& s = c.card->Model();
        if (policy != NVAPI_COOLER_POLICY_MANUAL && policy != NVAPI_COOLER_POLICY_AUTO)
            status = NVAPI_INVALID_ARGUMENT;
        else if (policy == NVAPI_COOLER_POLICY_MANUAL && (level < s.fanMin || level > s.fanMax))
            status = NVAPI_INVALID_ARGUMENT;
        else if (!c.card->FanIgnoresCommands()) { // a broken fan takes the command and does nothing
            c.card->Settings().fanPolicy = policy;
            if (policy == NVAPI_COOLER_POLICY_MANUAL)
                c.card->Settings().fanManualLevel = level;
            d.SaveState(c.index);
        }
    }
    d.LogWrite(nvid::GPU_SetCoolerLevels, c.index, status, text);
    return status;
}

// ---- Power policies ------------------------------------------------------------------------------

NvAPI_Status SimPowerGetInfo(NvPhysicalGpuHandle gpu, NV_GPU_POWER_POLICIES_INFO* info)
{
    GpuCall c(nvid::GPU_ClientPowerPoliciesGetInfo, gpu, info ? info->version : 0);
    if (c.Failed())
        return c.status;
    if (!info)
        return NVAPI_INVALID_ARGUMENT;
    if (info->version != NV_GPU_POWER_POLICIES_INFO_VER)
        return NVAPI_INCOMPATIBLE_STRUCT_VERSION;
    const CardModel& s = c.card->Model();
    if (!s.offsetFamily)
        return NVAPI_NOT_SUPPORTED;
    std::memset(info, 0, sizeof(*info));
    info->version = NV_GPU_POWER_POLICIES_INFO_VER;
    info->valid = s.powerInfoValid ? 1 : 0;
    info->count = 1;
    info->entries[0].policyId = 0;
    info->entries[0].minPower = s.powerMin;
    info->entries[0].defaultPower = s.powerDefault;
    info->entries[0].maxPower = s.powerMax;
    return NVAPI_OK;
}

NvAPI_Status SimPowerGetStatus(NvPhysicalGpuHandle gpu, NV_GPU_POWER_POLICIES_STATUS* status)
{
    GpuCall c(nvid::GPU_ClientPowerPoliciesGetStatus, gpu, status ? status->version : 0);
    if (c.Failed())
        return c.status;
    if (!status)
        return NVAPI_INVALID_ARGUMENT;
    if (status->version != NV_GPU_POWER_POLICIES_STATUS_VER)
        return NVAPI_INCOMPATIBLE_STRUCT_VERSION;
    if (!c.card->Model().offsetFamily)
        return NVAPI_NOT_SUPPORTED;
    if (status->count > NV_POWER_POLICIES_MAX_ENTRIES)
        return NVAPI_INVALID_ARGUMENT;
    std::memset(status, 0, sizeof(*status));
    status->version = NV_GPU_POWER_POLICIES_STATUS_VER;
    status->count = 1;
    status->entries[0].policyId = 0;
    status->entries[0].power = c.card->Settings().powerTarget;
    return NVAPI_OK;
}

NvAPI_Status SimPowerSetStatus(NvPhysicalGpuHandle gpu, NV_GPU_POWER_POLICIES_STATUS* st)
{
    GpuCall c(nvid::GPU_ClientPowerPoliciesSetStatus, gpu, st ? st->version : 0);
    Driver& d = c.d;
    std::string text = "ClientPowerPoliciesSetStatus gpu=" + std::to_string(c.index);
    NvAPI_Status status = c.status;
    if (st) {
        text += " ver=" + Hex(st->version);
        NvU32 n = Clamp(st->count, NV_POWER_POLICIES_MAX_ENTRIES);
        for (NvU32 i = 0; i < n; ++i)
            text += " policy=" + std::to_string(st->entries[i].policyId) +
                    " target=" + std::to_string(st->entries[i].power);
    } else if (status == NVAPI_OK) {
        status = NVAPI_INVALID_ARGUMENT;
    }
    if (status == NVAPI_OK && st->version != NV_GPU_POWER_POLICIES_STATUS_VER)
        status = NVAPI_INCOMPATIBLE_STRUCT_VERSION;
    if (status == NVAPI_OK && !c.card->Model().offsetFamily)
        status = NVAPI_NOT_SUPPORTED;
    if (status == NVAPI_OK && (st->count == 0 || st->count > NV_POWER_POLICIES_MAX_ENTRIES))
        status = NVAPI_INVALID_ARGUMENT;
    if (status == NVAPI_OK) {
        const CardModel& s = c.card->Model();
        NvU32 target = c.card->Settings().powerTarget;
        for (NvU32 i = 0; i < st->count && status == NVAPI_OK; ++i) {
            NvU32 p = st->entries[i].power;
            if (st->entries[i].policyId != 0 || p < s.powerMin || p > s.powerMax)
                status = NVAPI_INVALID_ARGUMENT;
            else
                target = p;
        }
        if (status == NVAPI_OK) {
            c.card->Settings().powerTarget = target;
            d.SaveState(c.index);
        }
    }
    d.LogWrite(nvid::GPU_ClientPowerPoliciesSetStatus, c.index, status, text);
    return status;
}

// ---- Driver settings -----------------------------------------------------------------------------

Driver::DrsSession* Session(NvDRSSessionHandle handle, int* slot = nullptr)
{
    int i = TokenIndex(handle, g_sessionTokens);
    if (i < 0 || !Driver::Instance().drs[i].open)
        return nullptr;
    if (slot)
        *slot = i;
    return &Driver::Instance().drs[i];
}

NvAPI_Status DrsStart(NvU32 id, NvU32 versionWord = 0)
{
    Driver& d = Driver::Instance();
    if (!d.Initialized())
        return NVAPI_API_NOT_INITIALIZED;
    return d.Fault(id, versionWord);
}

NvAPI_Status SimDrsCreateSession(NvDRSSessionHandle* session)
{
    if (NvAPI_Status s = DrsStart(nvid::DRS_CreateSession))
        return s;
    if (!session)
        return NVAPI_INVALID_ARGUMENT;
    Driver& d = Driver::Instance();
    for (int i = 0; i < Driver::kMaxDrsSessions; ++i) {
        if (!d.drs[i].open) {
            d.drs[i] = Driver::DrsSession{};
            d.drs[i].open = true;
            *session = reinterpret_cast<NvDRSSessionHandle>(&g_sessionTokens[i]);
            return NVAPI_OK;
        }
    }
    return NVAPI_ERROR; // too many open sessions
}

NvAPI_Status SimDrsLoadSettings(NvDRSSessionHandle session)
{
    if (NvAPI_Status s = DrsStart(nvid::DRS_LoadSettings))
        return s;
    Driver::DrsSession* s = Session(session);
    if (!s)
        return NVAPI_INVALID_HANDLE;
    Driver::Instance().LoadBaseProfile(s->values);
    s->loaded = true;
    return NVAPI_OK;
}

NvAPI_Status SimDrsGetBaseProfile(NvDRSSessionHandle session, NvDRSProfileHandle* profile)
{
    if (NvAPI_Status s = DrsStart(nvid::DRS_GetBaseProfile))
        return s;
    int slot = -1;
    Driver::DrsSession* s = Session(session, &slot);
    if (!s)
        return NVAPI_INVALID_HANDLE;
    if (!profile)
        return NVAPI_INVALID_ARGUMENT;
    if (!s->loaded)
        return NVAPI_ERROR; // settings not loaded into this session
    *profile = reinterpret_cast<NvDRSProfileHandle>(&g_profileTokens[slot]);
    return NVAPI_OK;
}

NvAPI_Status SimDrsSetSetting(NvDRSSessionHandle session, NvDRSProfileHandle profile, NVDRS_SETTING* setting)
{
    Driver& d = Driver::Instance();
    NvAPI_Status status = DrsStart(nvid::DRS_SetSetting, setting ? setting->version : 0);
    std::string text = "DRS_SetSetting";
    if (setting)
        text += " ver=" + Hex(setting->version) + " setting=" + Hex(setting->settingId) +
                " type=" + std::to_string(setting->settingType) +
                " value=" + Hex(setting->currentValue.u32Value);
    int slot = -1;
    Driver::DrsSession* s = Session(session, &slot);
    if (status == NVAPI_OK && (!s || TokenIndex(profile, g_profileTokens) != slot))
        status = NVAPI_INVALID_HANDLE;
    if (status == NVAPI_OK && !setting)
        status = NVAPI_INVALID_ARGUMENT;
    if (status == NVAPI_OK && setting->version != NVDRS_SETTING_VER)
        status = NVAPI_INCOMPATIBLE_STRUCT_VERSION;
    if (status == NVAPI_OK && setting->settingType != NVDRS_DWORD_TYPE)
        status = NVAPI_NOT_SUPPORTED; // only DWORD settings are simulated
    if (status == NVAPI_OK)
        s->values[setting->settingId] = setting->currentValue.u32Value;
    if (d.Initialized())
        d.LogWrite(nvid::DRS_SetSetting, -1, status, text);
    return status;
}

NvAPI_Status SimDrsSaveSettings(NvDRSSessionHandle session)
{
    Driver& d = Driver::Instance();
    NvAPI_Status status = DrsStart(nvid::DRS_SaveSettings);
    Driver::DrsSession* s = Session(session);
    if (status == NVAPI_OK && !s)
        status = NVAPI_INVALID_HANDLE;
    if (status == NVAPI_OK && !s->loaded)
        status = NVAPI_ERROR;
    if (status == NVAPI_OK && !d.SaveBaseProfile(s->values))
        status = NVAPI_ERROR;
    if (d.Initialized())
        d.LogWrite(nvid::DRS_SaveSettings, -1, status, "DRS_SaveSettings");
    return status;
}

NvAPI_Status SimDrsDestroySession(NvDRSSessionHandle session)
{
    if (NvAPI_Status s = DrsStart(nvid::DRS_DestroySession))
        return s;
    Driver::DrsSession* s = Session(session);
    if (!s)
        return NVAPI_INVALID_HANDLE;
    *s = Driver::DrsSession{};
    return NVAPI_OK;
}

// ---- Control interface ---------------------------------------------------------------------------

NvAPI_Status CtlReset()
{
    return Driver::Instance().Reset();
}
void CtlSetManualTime(int manual)
{
    Driver::Instance().manualTime = manual != 0;
}
void CtlAdvanceMs(NvU32 ms)
{
    Driver::Instance().manualMs += ms;
}
void CtlSetTimeSource(std::uint64_t (*nowMs)())
{
    Driver::Instance().timeSource = nowMs;
}

void SetOverride(std::map<int, int>& overrides, int gpu, int value)
{
    if (gpu < 0)
        overrides.clear();
    overrides[gpu < 0 ? -1 : gpu] = value;
    Driver::Instance().ApplyOverrides();
}
void CtlSetLoad(int gpu, int percent)
{
    SetOverride(Driver::Instance().loadOverride, gpu, percent);
}
void CtlSetFanStuck(int gpu, int stuck)
{
    SetOverride(Driver::Instance().fanStuckOverride, gpu, stuck ? 1 : 0);
}

void CtlInjectFault(NvU32 interfaceId, int mode, NvU32 param, NvAPI_Status status)
{
    Fault f;
    f.interfaceId = interfaceId;
    f.mode = mode;
    f.param = param;
    f.remaining = param;
    f.status = status;
    Driver::Instance().faults.push_back(f);
}
void CtlClearFaults()
{
    Driver::Instance().faults.clear();
}
size_t CtlWriteLogSize()
{
    return Driver::Instance().writeLog.size();
}
int CtlWriteLogEntry(size_t index, SimWriteEntry* out)
{
    auto& log = Driver::Instance().writeLog;
    if (index >= log.size() || !out)
        return 1;
    *out = log[index];
    return 0;
}
void CtlClearWriteLog()
{
    Driver::Instance().writeLog.clear();
}
int CtlCardCount()
{
    return static_cast<int>(Driver::Instance().Cards().size());
}

int CtlCardSnapshot(int gpu, SimCardSnapshot* out)
{
    Driver& d = Driver::Instance();
    if (gpu < 0 || static_cast<size_t>(gpu) >= d.Cards().size() || !out)
        return 1;
    SimCard& card = d.Cards()[static_cast<size_t>(gpu)];
    d.Tick(&card);
    std::memset(out, 0, sizeof(*out));
    const CardModel& s = card.Model();
    const CardSettings& set = card.Settings();
    CopyText(out->name, s.name);
    out->deviceId = s.deviceId;
    out->offsetFamily = s.offsetFamily ? 1 : 0;
    out->loadPercent = static_cast<int>(card.Load() * 100 + 0.5);
    out->loadFixed = card.fixedLoad;
    ClockReading r = card.Current();
    out->pstate = r.pstate;
    out->gfxKHz = r.gfxKHz;
    out->memKHz = r.memKHz;
    out->procKHz = r.procKHz;
    out->temperatureC = card.TemperatureC();
    out->fanLevel = static_cast<int>(card.FanLevel());
    out->fanTarget = static_cast<int>(card.FanTarget());
    out->fanPolicy = static_cast<int>(set.fanPolicy);
    out->fanStuck = card.FanIgnoresCommands() ? 1 : 0;
    out->gfxDeltaKHz = set.gfxDelta;
    out->memDeltaKHz = set.memDelta;
    out->voltDeltaUV = set.voltDelta;
    out->powerTarget = set.powerTarget;
    if (!set.pstates.empty()) {
        out->p0GfxKHz = set.pstates[0].gfxKHz;
        out->p0MemKHz = set.pstates[0].memKHz;
        out->p0ProcKHz = set.pstates[0].procKHz;
        out->p0MilliVolt = set.pstates[0].milliVolt;
    }
    return 0;
}

int CtlSessionCommand(const char* line, char* error)
{
    std::string why;
    int result = Driver::Instance().SessionCommand(line ? line : "", why);
    if (result != 0 && error)
        std::snprintf(error, 256, "%s", why.c_str());
    return result;
}
const char* CtlSessionDir()
{
    return Driver::Instance().SessionDir().c_str();
}

const SimControlApi kControl = {
    kSimControlApiVersion, CtlReset,        CtlSetManualTime,  CtlAdvanceMs,
    CtlSetTimeSource,      CtlSetLoad,      CtlSetFanStuck,    CtlInjectFault,
    CtlClearFaults,        CtlWriteLogSize, CtlWriteLogEntry,  CtlClearWriteLog,
    CtlCardCount,          CtlCardSnapshot, CtlSessionCommand, CtlSessionDir,
};

template <typename F> void* Entry(F f)
{
    return reinterpret_cast<void*>(f);
}

} // namespace

SimCard* Driver::Card(NvPhysicalGpuHandle handle, int* index)
{
    int i = TokenIndex(handle, g_gpuTokens);
    if (index)
        *index = i >= 0 && static_cast<size_t>(i) < m_cards.size() ? i : -1;
    if (i < 0 || static_cast<size_t>(i) >= m_cards.size())
        return nullptr;
    return &m_cards[static_cast<size_t>(i)];
}

} // namespace sim

extern "C" __attribute__((visibility("default"))) void* nvapi_QueryInterface(unsigned int id)
{
    using namespace sim;
    switch (id) {
    case nvid::Initialize:
        return Entry(&SimInitialize);
    case nvid::GetErrorMessage:
        return Entry(&SimGetErrorMessage);
    case nvid::EnumPhysicalGPUs:
        return Entry(&SimEnumPhysicalGPUs);
    case nvid::EnumNvidiaDisplayHandle:
        return Entry(&SimEnumNvidiaDisplayHandle);
    case nvid::GetDisplayDriverVersion:
        return Entry(&SimGetDisplayDriverVersion);
    case nvid::GPU_GetFullName:
        return Entry(&SimGetFullName);
    case nvid::GPU_GetPCIIdentifiers:
        return Entry(&SimGetPCIIdentifiers);
    case nvid::GPU_GetVbiosVersionString:
        return Entry(&SimGetVbiosVersionString);
    case nvid::GPU_GetPhysicalFrameBufferSize:
        return Entry(&SimReadWord<nvid::GPU_GetPhysicalFrameBufferSize, &CardModel::memoryKb>);
    case nvid::GPU_GetRamType:
        return Entry(&SimReadWord<nvid::GPU_GetRamType, &CardModel::ramType>);
    case nvid::GPU_GetFBWidthAndLocation:
        return Entry(&SimGetFBWidthAndLocation);
    case nvid::GPU_GetGpuCoreCount:
        return Entry(&SimReadWord<nvid::GPU_GetGpuCoreCount, &CardModel::cores>);
    case nvid::GPU_GetAllClockFrequencies:
        return Entry(&SimGetAllClockFrequencies);
    case nvid::GPU_GetPerfClocks:
        return Entry(&SimGetPerfClocks);
    case nvid::GPU_GetCurrentPstate:
        return Entry(&SimGetCurrentPstate);
    case nvid::GPU_GetPstatesInfo:
        return Entry(&SimGetPstatesInfo);
    case nvid::GPU_SetPstates:
        return Entry(&SimSetPstates);
    case nvid::GPU_GetPstates20:
        return Entry(&SimGetPstates20);
    case nvid::GPU_SetPstates20:
        return Entry(&SimSetPstates20);
    case nvid::GPU_GetThermalSettings:
        return Entry(&SimGetThermalSettings);
    case nvid::GPU_GetCoolerSettings:
        return Entry(&SimGetCoolerSettings);
    case nvid::GPU_SetCoolerLevels:
        return Entry(&SimSetCoolerLevels);
    case nvid::GPU_ClientPowerPoliciesGetInfo:
        return Entry(&SimPowerGetInfo);
    case nvid::GPU_ClientPowerPoliciesGetStatus:
        return Entry(&SimPowerGetStatus);
    case nvid::GPU_ClientPowerPoliciesSetStatus:
        return Entry(&SimPowerSetStatus);
    case nvid::DRS_CreateSession:
        return Entry(&SimDrsCreateSession);
    case nvid::DRS_LoadSettings:
        return Entry(&SimDrsLoadSettings);
    case nvid::DRS_GetBaseProfile:
        return Entry(&SimDrsGetBaseProfile);
    case nvid::DRS_SetSetting:
        return Entry(&SimDrsSetSetting);
    case nvid::DRS_SaveSettings:
        return Entry(&SimDrsSaveSettings);
    case nvid::DRS_DestroySession:
        return Entry(&SimDrsDestroySession);
    case kSimControlInterfaceId:
        return const_cast<SimControlApi*>(&kControl);
    default:
        return nullptr;
    }
}

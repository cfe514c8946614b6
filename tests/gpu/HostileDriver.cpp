// A driver library that answers every call with the most extreme counts a record can carry, so
// tests can show GpuControl never reads or writes outside a record nor trusts a count blindly.
#include "driver/api/NvApiRecords.h"

#include <cstring>

namespace {

char g_gpu;
char g_session;
char g_profile;
constexpr NvU32 kHuge = 0xFFFFFFFF;

NvAPI_Status Ok()
{
    return NVAPI_OK;
}
NvAPI_Status ErrorMessage(NvAPI_Status, NvAPI_ShortString text)
{
    std::memset(text, 'x', NVAPI_SHORT_STRING_MAX); // no terminator: the caller must add one
    return NVAPI_OK;
}
NvAPI_Status EnumGpus(NvPhysicalGpuHandle h[NVAPI_MAX_PHYSICAL_GPUS], NvU32* count)
{
    for (int i = 0; i < NVAPI_MAX_PHYSICAL_GPUS; ++i)
        h[i] = reinterpret_cast<NvPhysicalGpuHandle>(&g_gpu);
    *count = 1000;
    return NVAPI_OK;
}
NvAPI_Status EnumDisplay(NvU32, NvDisplayHandle* h)
{
    *h = reinterpret_cast<NvDisplayHandle>(&g_gpu); // never ends
    return NVAPI_OK;
}
NvAPI_Status Pci(NvPhysicalGpuHandle, NvU32* d, NvU32* s, NvU32* r, NvU32* e)
{
    *d = *s = *r = *e = kHuge;
    return NVAPI_OK;
}
NvAPI_Status Word(NvPhysicalGpuHandle, NvU32* v)
{
    *v = kHuge;
    return NVAPI_OK;
}
NvAPI_Status Clocks(NvPhysicalGpuHandle, NV_GPU_CLOCK_FREQUENCIES* c)
{
    std::memset(&c->domain, 0, sizeof(c->domain)); // every clock 0
    return NVAPI_OK;
}
NvAPI_Status Perf(NvPhysicalGpuHandle, NvU32, NV_GPU_PERF_CLOCKS* p)
{
    p->numLevels = 0;
    p->numClocks = kHuge;
    return NVAPI_OK;
}
NvAPI_Status Pstate(NvPhysicalGpuHandle, NvU32* p)
{
    *p = 0;
    return NVAPI_OK;
}
NvAPI_Status Pstates(NvPhysicalGpuHandle, NV_GPU_PERF_PSTATES_INFO_V2* info)
{
    NvU32 version = info->version;
    std::memset(info, 0,
                version == NV_GPU_PERF_PSTATES_INFO_VER1 ? sizeof(NV_GPU_PERF_PSTATES_INFO_V1)
                                                         : sizeof(*info));
    info->version = version;
    info->numPstates = info->numClocks = kHuge;
    if (version == NV_GPU_PERF_PSTATES_INFO_VER2)
        info->numVoltages = kHuge;
    return NVAPI_OK;
}
NvAPI_Status SetPstates(NvPhysicalGpuHandle, NV_GPU_PERF_PSTATES_INFO_V2*)
{
    return NVAPI_OK;
}
NvAPI_Status Pstates20(NvPhysicalGpuHandle, NV_GPU_PERF_PSTATES20_INFO* info)
{
    std::memset(info, 0, sizeof(*info));
    info->numPstates = info->numClocks = info->numBaseVoltages = kHuge;
    return NVAPI_OK;
}
NvAPI_Status SetPstates20(NvPhysicalGpuHandle, NV_GPU_PERF_PSTATES20_INFO*)
{
    return NVAPI_OK;
}
NvAPI_Status Thermal(NvPhysicalGpuHandle, NvU32, NV_GPU_THERMAL_SETTINGS* t)
{
    t->count = kHuge;
    t->sensor[0].currentTemp = -273;
    return NVAPI_OK;
}
NvAPI_Status Cooler(NvPhysicalGpuHandle, NvU32, NV_GPU_COOLER_SETTINGS* c)
{
    c->count = kHuge;
    c->cooler0.currentLevel = kHuge;
    return NVAPI_OK;
}
NvAPI_Status SetCooler(NvPhysicalGpuHandle, NvU32, NV_GPU_COOLER_LEVELS*)
{
    return NVAPI_OK;
}
NvAPI_Status PowerInfo(NvPhysicalGpuHandle, NV_GPU_POWER_POLICIES_INFO* p)
{
    p->valid = 1;
    p->count = 255;
    return NVAPI_OK;
}
NvAPI_Status PowerStatus(NvPhysicalGpuHandle, NV_GPU_POWER_POLICIES_STATUS* s)
{
    s->count = 255;
    return NVAPI_OK;
}
NvAPI_Status Session(NvDRSSessionHandle* s)
{
    *s = reinterpret_cast<NvDRSSessionHandle>(&g_session);
    return NVAPI_OK;
}
NvAPI_Status SessionOnly(NvDRSSessionHandle)
{
    return NVAPI_OK;
}
NvAPI_Status Profile(NvDRSSessionHandle, NvDRSProfileHandle* p)
{
    *p = reinterpret_cast<NvDRSProfileHandle>(&g_profile);
    return NVAPI_OK;
}
NvAPI_Status Setting(NvDRSSessionHandle, NvDRSProfileHandle, NVDRS_SETTING*)
{
    return NVAPI_OK;
}

template <typename F> void* E(F f)
{
    return reinterpret_cast<void*>(f);
}

} // namespace

extern "C" __attribute__((visibility("default"))) void* nvapi_QueryInterface(unsigned id)
{
    switch (id) {
    case nvid::Initialize:
        return E(&Ok);
    case nvid::GetErrorMessage:
        return E(&ErrorMessage);
    case nvid::EnumPhysicalGPUs:
        return E(&EnumGpus);
    case nvid::EnumNvidiaDisplayHandle:
        return E(&EnumDisplay);
    case nvid::GPU_GetPCIIdentifiers:
        return E(&Pci);
    case nvid::GPU_GetRamType:
        return E(&Word);
    case nvid::GPU_GetAllClockFrequencies:
        return E(&Clocks);
    case nvid::GPU_GetPerfClocks:
        return E(&Perf);
    case nvid::GPU_GetCurrentPstate:
        return E(&Pstate);
    case nvid::GPU_GetPstatesInfo:
        return E(&Pstates);
    case nvid::GPU_SetPstates:
        return E(&SetPstates);
    case nvid::GPU_GetPstates20:
        return E(&Pstates20);
    case nvid::GPU_SetPstates20:
        return E(&SetPstates20);
    case nvid::GPU_GetThermalSettings:
        return E(&Thermal);
    case nvid::GPU_GetCoolerSettings:
        return E(&Cooler);
    case nvid::GPU_SetCoolerLevels:
        return E(&SetCooler);
    case nvid::GPU_ClientPowerPoliciesGetInfo:
        return E(&PowerInfo);
    case nvid::GPU_ClientPowerPoliciesGetStatus:
        return E(&PowerStatus);
    case nvid::GPU_ClientPowerPoliciesSetStatus:
        return E(&PowerStatus);
    case nvid::DRS_CreateSession:
        return E(&Session);
    case nvid::DRS_LoadSettings:
        return E(&SessionOnly);
    case nvid::DRS_GetBaseProfile:
        return E(&Profile);
    case nvid::DRS_SetSetting:
        return E(&Setting);
    case nvid::DRS_SaveSettings:
        return E(&SessionOnly);
    case nvid::DRS_DestroySession:
        return E(&SessionOnly);
    default:
        return nullptr;
    }
}

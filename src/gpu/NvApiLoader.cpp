// Opening the driver library and looking its entries up, once each.
#include "gpu/NvApiLoader.h"

#include "platform/os/ModulePath.h"

#include <cstdlib>
#include <dlfcn.h>

namespace {

constexpr const char* kDefaultLibraryName = "libkorvax-simgpu.so";

std::string ResolveLibraryPath()
{
    const char* env = std::getenv("KORVAX_NVAPI");
    if (env && *env)
        return env;
    std::string exe = os::ExecutablePath();
    const char* sep = os::FindLastSeparator(exe.c_str());
    if (!sep)
        return kDefaultLibraryName; // no folder known: let the loader's search path decide
    return exe.substr(0, static_cast<size_t>(sep - exe.c_str()) + 1) + kDefaultLibraryName;
}

} // namespace

enum NvApiLoader::Slot : int
{
    kInitialize,
    kGetErrorMessage,
    kEnumPhysicalGPUs,
    kEnumNvidiaDisplayHandle,
    kGetDisplayDriverVersion,
    kGetFullName,
    kGetPCIIdentifiers,
    kGetVbiosVersionString,
    kGetPhysicalFrameBufferSize,
    kGetRamType,
    kGetFBWidthAndLocation,
    kGetGpuCoreCount,
    kGetAllClockFrequencies,
    kGetPerfClocks,
    kGetCurrentPstate,
    kGetPstatesInfo,
    kSetPstates,
    kGetPstates20,
    kSetPstates20,
    kGetThermalSettings,
    kGetCoolerSettings,
    kSetCoolerLevels,
    kPowerPoliciesGetInfo,
    kPowerPoliciesGetStatus,
    kPowerPoliciesSetStatus,
    kDrsCreateSession,
    kDrsLoadSettings,
    kDrsGetBaseProfile,
    kDrsSetSetting,
    kDrsSaveSettings,
    kDrsDestroySession,
};

namespace {
// Interface id of each slot, in slot order.
constexpr NvU32 kSlotIds[] = {
    nvid::Initialize,
    nvid::GetErrorMessage,
    nvid::EnumPhysicalGPUs,
    nvid::EnumNvidiaDisplayHandle,
    nvid::GetDisplayDriverVersion,
    nvid::GPU_GetFullName,
    nvid::GPU_GetPCIIdentifiers,
    nvid::GPU_GetVbiosVersionString,
    nvid::GPU_GetPhysicalFrameBufferSize,
    nvid::GPU_GetRamType,
    nvid::GPU_GetFBWidthAndLocation,
    nvid::GPU_GetGpuCoreCount,
    nvid::GPU_GetAllClockFrequencies,
    nvid::GPU_GetPerfClocks,
    nvid::GPU_GetCurrentPstate,
    nvid::GPU_GetPstatesInfo,
    nvid::GPU_SetPstates,
    nvid::GPU_GetPstates20,
    nvid::GPU_SetPstates20,
    nvid::GPU_GetThermalSettings,
    nvid::GPU_GetCoolerSettings,
    nvid::GPU_SetCoolerLevels,
    nvid::GPU_ClientPowerPoliciesGetInfo,
    nvid::GPU_ClientPowerPoliciesGetStatus,
    nvid::GPU_ClientPowerPoliciesSetStatus,
    nvid::DRS_CreateSession,
    nvid::DRS_LoadSettings,
    nvid::DRS_GetBaseProfile,
    nvid::DRS_SetSetting,
    nvid::DRS_SaveSettings,
    nvid::DRS_DestroySession,
};
} // namespace

static_assert(sizeof(kSlotIds) / sizeof(kSlotIds[0]) == 31, "one interface id per slot");

NvApiLoader& NvApiLoader::Default()
{
    // Never destroyed: the driver library stays loaded until the process ends.
    static NvApiLoader* loader = new NvApiLoader();
    return *loader;
}

NvApiLoader::NvApiLoader(std::string path) : m_strPath(std::move(path)) {}

NvApiLoader::~NvApiLoader()
{
    if (m_hLibrary)
        ::dlclose(m_hLibrary);
}

NvAPI_Status NvApiLoader::Load()
{
    if (m_bTried)
        return m_nLoadStatus;
    m_bTried = true;
    if (m_strPath.empty())
        m_strPath = ResolveLibraryPath();

    m_hLibrary = ::dlopen(m_strPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_hLibrary)
        return m_nLoadStatus = NVAPI_LIBRARY_NOT_FOUND;
    m_pQueryInterface =
        reinterpret_cast<NvAPI_QueryInterface_t>(::dlsym(m_hLibrary, kNvApiQueryInterfaceExport));
    if (!m_pQueryInterface) {
        ::dlclose(m_hLibrary);
        m_hLibrary = nullptr;
        return m_nLoadStatus = NVAPI_LIBRARY_NOT_FOUND;
    }

    // The driver is initialised once when it is loaded; a driver that cannot start is let go.
    auto init = reinterpret_cast<NvAPI_Initialize_t>(m_pQueryInterface(nvid::Initialize));
    if (!init || init() != NVAPI_OK) {
        m_pQueryInterface = nullptr;
        ::dlclose(m_hLibrary);
        m_hLibrary = nullptr;
        return m_nLoadStatus = NVAPI_ERROR;
    }
    return m_nLoadStatus = NVAPI_OK;
}

void* NvApiLoader::QueryInterface(NvU32 id)
{
    if (Load() != NVAPI_OK)
        return nullptr;
    return m_pQueryInterface(id);
}

NvAPI_Status NvApiLoader::Resolve(Slot slot, void** fn)
{
    *fn = nullptr;
    NvAPI_Status status = Load();
    if (status != NVAPI_OK)
        return status;
    Entry& entry = m_entries[slot];
    if (!entry.bLookedUp) {
        entry.pFn = m_pQueryInterface(kSlotIds[slot]);
        entry.bLookedUp = true;
    }
    *fn = entry.pFn;
    return entry.pFn ? NVAPI_OK : NVAPI_NO_IMPLEMENTATION;
}

// Each operation: resolve its entry, then call it with the caller's arguments.
#define KORVAX_NVAPI_CALL(slot, type, ...)                                                                   \
    type fn = nullptr;                                                                                       \
    NvAPI_Status status = Get(slot, &fn);                                                                    \
    return status != NVAPI_OK ? status : fn(__VA_ARGS__)

NvAPI_Status NvApiLoader::NvAPI_Initialize()
{
    KORVAX_NVAPI_CALL(kInitialize, NvAPI_Initialize_t);
}
NvAPI_Status NvApiLoader::NvAPI_GetErrorMessage(NvAPI_Status s, NvAPI_ShortString text)
{
    KORVAX_NVAPI_CALL(kGetErrorMessage, NvAPI_GetErrorMessage_t, s, text);
}
NvAPI_Status NvApiLoader::NvAPI_EnumPhysicalGPUs(NvPhysicalGpuHandle handles[NVAPI_MAX_PHYSICAL_GPUS],
                                                 NvU32* count)
{
    KORVAX_NVAPI_CALL(kEnumPhysicalGPUs, NvAPI_EnumPhysicalGPUs_t, handles, count);
}
NvAPI_Status NvApiLoader::NvAPI_EnumNvidiaDisplayHandle(NvU32 index, NvDisplayHandle* handle)
{
    KORVAX_NVAPI_CALL(kEnumNvidiaDisplayHandle, NvAPI_EnumNvidiaDisplayHandle_t, index, handle);
}
NvAPI_Status NvApiLoader::NvAPI_GetDisplayDriverVersion(NvDisplayHandle display,
                                                        NV_DISPLAY_DRIVER_VERSION* version)
{
    KORVAX_NVAPI_CALL(kGetDisplayDriverVersion, NvAPI_GetDisplayDriverVersion_t, display, version);
}
NvAPI_Status NvApiLoader::NvAPI_GPU_GetFullName(NvPhysicalGpuHandle gpu, NvAPI_ShortString name)
{
    KORVAX_NVAPI_CALL(kGetFullName, NvAPI_GPU_GetFullName_t, gpu, name);
}
NvAPI_Status NvApiLoader::NvAPI_GPU_GetPCIIdentifiers(NvPhysicalGpuHandle gpu, NvU32* deviceId,
                                                      NvU32* subSystemId, NvU32* revisionId,
                                                      NvU32* extDeviceId)
{
    KORVAX_NVAPI_CALL(kGetPCIIdentifiers, NvAPI_GPU_GetPCIIdentifiers_t, gpu, deviceId, subSystemId,
                      revisionId, extDeviceId);
}
NvAPI_Status NvApiLoader::NvAPI_GPU_GetVbiosVersionString(NvPhysicalGpuHandle gpu, NvAPI_ShortString text)
{
    KORVAX_NVAPI_CALL(kGetVbiosVersionString, NvAPI_GPU_GetVbiosVersionString_t, gpu, text);
}
NvAPI_Status NvApiLoader::NvAPI_GPU_GetPhysicalFrameBufferSize(NvPhysicalGpuHandle gpu, NvU32* sizeKb)
{
    KORVAX_NVAPI_CALL(kGetPhysicalFrameBufferSize, NvAPI_GPU_GetPhysicalFrameBufferSize_t, gpu, sizeKb);
}
NvAPI_Status NvApiLoader::NvAPI_GPU_GetRamType(NvPhysicalGpuHandle gpu, NvU32* type)
{
    KORVAX_NVAPI_CALL(kGetRamType, NvAPI_GPU_GetRamType_t, gpu, type);
}
NvAPI_Status NvApiLoader::NvAPI_GPU_GetFBWidthAndLocation(NvPhysicalGpuHandle gpu, NvU32* width,
                                                          NvU32* location)
{
    KORVAX_NVAPI_CALL(kGetFBWidthAndLocation, NvAPI_GPU_GetFBWidthAndLocation_t, gpu, width, location);
}
NvAPI_Status NvApiLoader::NvAPI_GPU_GetGpuCoreCount(NvPhysicalGpuHandle gpu, NvU32* count)
{
    KORVAX_NVAPI_CALL(kGetGpuCoreCount, NvAPI_GPU_GetGpuCoreCount_t, gpu, count);
}
NvAPI_Status NvApiLoader::NvAPI_GPU_GetAllClockFrequencies(NvPhysicalGpuHandle gpu,
                                                           NV_GPU_CLOCK_FREQUENCIES* clocks)
{
    KORVAX_NVAPI_CALL(kGetAllClockFrequencies, NvAPI_GPU_GetAllClockFrequencies_t, gpu, clocks);
}
NvAPI_Status NvApiLoader::NvAPI_GPU_GetPerfClocks(NvPhysicalGpuHandle gpu, NvU32 level,
                                                  NV_GPU_PERF_CLOCKS* clocks)
{
    KORVAX_NVAPI_CALL(kGetPerfClocks, NvAPI_GPU_GetPerfClocks_t, gpu, level, clocks);
}
NvAPI_Status NvApiLoader::NvAPI_GPU_GetCurrentPstate(NvPhysicalGpuHandle gpu, NvU32* pstate)
{
    KORVAX_NVAPI_CALL(kGetCurrentPstate, NvAPI_GPU_GetCurrentPstate_t, gpu, pstate);
}
NvAPI_Status NvApiLoader::NvAPI_GPU_GetPstatesInfo(NvPhysicalGpuHandle gpu, NV_GPU_PERF_PSTATES_INFO_V2* info)
{
    KORVAX_NVAPI_CALL(kGetPstatesInfo, NvAPI_GPU_GetPstatesInfo_t, gpu, info);
}
NvAPI_Status NvApiLoader::NvAPI_GPU_SetPstates(NvPhysicalGpuHandle gpu, NV_GPU_PERF_PSTATES_INFO_V2* info)
{
    KORVAX_NVAPI_CALL(kSetPstates, NvAPI_GPU_SetPstates_t, gpu, info);
}
NvAPI_Status NvApiLoader::NvAPI_GPU_GetPstates20(NvPhysicalGpuHandle gpu, NV_GPU_PERF_PSTATES20_INFO* info)
{
    KORVAX_NVAPI_CALL(kGetPstates20, NvAPI_GPU_GetPstates20_t, gpu, info);
}
NvAPI_Status NvApiLoader::NvAPI_GPU_SetPstates20(NvPhysicalGpuHandle gpu, NV_GPU_PERF_PSTATES20_INFO* info)
{
    KORVAX_NVAPI_CALL(kSetPstates20, NvAPI_GPU_SetPstates20_t, gpu, info);
}
NvAPI_Status NvApiLoader::NvAPI_GPU_GetThermalSettings(NvPhysicalGpuHandle gpu, NvU32 sensorIndex,
                                                       NV_GPU_THERMAL_SETTINGS* settings)
{
    KORVAX_NVAPI_CALL(kGetThermalSettings, NvAPI_GPU_GetThermalSettings_t, gpu, sensorIndex, settings);
}
NvAPI_Status NvApiLoader::NvAPI_GPU_GetCoolerSettings(NvPhysicalGpuHandle gpu, NvU32 coolerIndex,
                                                      NV_GPU_COOLER_SETTINGS* settings)
{
    KORVAX_NVAPI_CALL(kGetCoolerSettings, NvAPI_GPU_GetCoolerSettings_t, gpu, coolerIndex, settings);
}
NvAPI_Status NvApiLoader::NvAPI_GPU_SetCoolerLevels(NvPhysicalGpuHandle gpu, NvU32 coolerIndex,
                                                    NV_GPU_COOLER_LEVELS* levels)
{
    KORVAX_NVAPI_CALL(kSetCoolerLevels, NvAPI_GPU_SetCoolerLevels_t, gpu, coolerIndex, levels);
}
NvAPI_Status NvApiLoader::NvAPI_GPU_ClientPowerPoliciesGetInfo(NvPhysicalGpuHandle gpu,
                                                               NV_GPU_POWER_POLICIES_INFO* info)
{
    KORVAX_NVAPI_CALL(kPowerPoliciesGetInfo, NvAPI_GPU_ClientPowerPoliciesGetInfo_t, gpu, info);
}
NvAPI_Status NvApiLoader::NvAPI_GPU_ClientPowerPoliciesGetStatus(NvPhysicalGpuHandle gpu,
                                                                 NV_GPU_POWER_POLICIES_STATUS* st)
{
    KORVAX_NVAPI_CALL(kPowerPoliciesGetStatus, NvAPI_GPU_ClientPowerPoliciesGetStatus_t, gpu, st);
}
NvAPI_Status NvApiLoader::NvAPI_GPU_ClientPowerPoliciesSetStatus(NvPhysicalGpuHandle gpu,
                                                                 NV_GPU_POWER_POLICIES_STATUS* st)
{
    KORVAX_NVAPI_CALL(kPowerPoliciesSetStatus, NvAPI_GPU_ClientPowerPoliciesSetStatus_t, gpu, st);
}
NvAPI_Status NvApiLoader::NvAPI_DRS_CreateSession(NvDRSSessionHandle* session)
{
    KORVAX_NVAPI_CALL(kDrsCreateSession, NvAPI_DRS_CreateSession_t, session);
}
NvAPI_Status NvApiLoader::NvAPI_DRS_LoadSettings(NvDRSSessionHandle session)
{
    KORVAX_NVAPI_CALL(kDrsLoadSettings, NvAPI_DRS_LoadSettings_t, session);
}
NvAPI_Status NvApiLoader::NvAPI_DRS_GetBaseProfile(NvDRSSessionHandle session, NvDRSProfileHandle* profile)
{
    KORVAX_NVAPI_CALL(kDrsGetBaseProfile, NvAPI_DRS_GetBaseProfile_t, session, profile);
}
NvAPI_Status NvApiLoader::NvAPI_DRS_SetSetting(NvDRSSessionHandle session, NvDRSProfileHandle profile,
                                               NVDRS_SETTING* setting)
{
    KORVAX_NVAPI_CALL(kDrsSetSetting, NvAPI_DRS_SetSetting_t, session, profile, setting);
}
NvAPI_Status NvApiLoader::NvAPI_DRS_SaveSettings(NvDRSSessionHandle session)
{
    KORVAX_NVAPI_CALL(kDrsSaveSettings, NvAPI_DRS_SaveSettings_t, session);
}
NvAPI_Status NvApiLoader::NvAPI_DRS_DestroySession(NvDRSSessionHandle session)
{
    KORVAX_NVAPI_CALL(kDrsDestroySession, NvAPI_DRS_DestroySession_t, session);
}

#undef KORVAX_NVAPI_CALL

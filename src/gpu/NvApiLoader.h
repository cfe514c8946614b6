// The driver library, opened on first use and kept until the process ends.
//
// Library: the path in $KORVAX_NVAPI if set, else libkorvax-simgpu.so beside the executable. On first
// use it is opened and its initialise entry called once; when that fails the library is released.
// Every operation then returns:
//   -1  the library's initialise failed
//   -2  no library, not a shared library, or no nvapi_QueryInterface export
//   -3  the library lacks the operation's interface id
// otherwise the driver's own status. Each entry is looked up once and kept.
//
// The methods carry the driver's own names so callers read like driver code, e.g. the card line:
//     NvAPI_ShortString szName = {};
//     m_gpu.m_nStatus = m_gpu.Driver().NvAPI_GPU_GetFullName(m_gpu.m_hGpus[m_gpu.m_nCurGpu], szName);
//     NvU32 nKb = 0;
//     m_gpu.m_nStatus = m_gpu.Driver().NvAPI_GPU_GetPhysicalFrameBufferSize(h, &nKb);
#pragma once

#include "driver/api/NvApiRecords.h"

#include <string>

class NvApiLoader
{
public:
    // The loader every GpuControl uses unless given another one.
    static NvApiLoader& Default();

    // An explicit path (tests); empty resolves the usual way at first use.
    explicit NvApiLoader(std::string path = {});
    ~NvApiLoader(); // releases the library (the default loader lives until the process ends)
    NvApiLoader(const NvApiLoader&) = delete;
    NvApiLoader& operator=(const NvApiLoader&) = delete;

    // Loads the library if not tried yet: 0, -1 or -2 as above (the result of the first try sticks).
    NvAPI_Status Load();
    // The path resolved for the library (after Load).
    const std::string& LibraryPath() const { return m_strPath; }
    // The raw entry for an id, or nullptr (library not usable, id unknown). Looked up once.
    void* QueryInterface(NvU32 id);

    NvAPI_Status NvAPI_Initialize();
    NvAPI_Status NvAPI_GetErrorMessage(NvAPI_Status status, NvAPI_ShortString text);
    NvAPI_Status NvAPI_EnumPhysicalGPUs(NvPhysicalGpuHandle handles[NVAPI_MAX_PHYSICAL_GPUS], NvU32* count);
    NvAPI_Status NvAPI_EnumNvidiaDisplayHandle(NvU32 index, NvDisplayHandle* handle);
    NvAPI_Status NvAPI_GetDisplayDriverVersion(NvDisplayHandle display, NV_DISPLAY_DRIVER_VERSION* version);
    NvAPI_Status NvAPI_GPU_GetFullName(NvPhysicalGpuHandle gpu, NvAPI_ShortString name);
    NvAPI_Status NvAPI_GPU_GetPCIIdentifiers(NvPhysicalGpuHandle gpu, NvU32* deviceId, NvU32* subSystemId,
                                             NvU32* revisionId, NvU32* extDeviceId);
    NvAPI_Status NvAPI_GPU_GetVbiosVersionString(NvPhysicalGpuHandle gpu, NvAPI_ShortString text);
    NvAPI_Status NvAPI_GPU_GetPhysicalFrameBufferSize(NvPhysicalGpuHandle gpu, NvU32* sizeKb);
    NvAPI_Status NvAPI_GPU_GetRamType(NvPhysicalGpuHandle gpu, NvU32* type);
    NvAPI_Status NvAPI_GPU_GetFBWidthAndLocation(NvPhysicalGpuHandle gpu, NvU32* width, NvU32* location);
    NvAPI_Status NvAPI_GPU_GetGpuCoreCount(NvPhysicalGpuHandle gpu, NvU32* count);
    NvAPI_Status NvAPI_GPU_GetAllClockFrequencies(NvPhysicalGpuHandle gpu, NV_GPU_CLOCK_FREQUENCIES* clocks);
    NvAPI_Status NvAPI_GPU_GetPerfClocks(NvPhysicalGpuHandle gpu, NvU32 level, NV_GPU_PERF_CLOCKS* clocks);
    NvAPI_Status NvAPI_GPU_GetCurrentPstate(NvPhysicalGpuHandle gpu, NvU32* pstate);
    NvAPI_Status NvAPI_GPU_GetPstatesInfo(NvPhysicalGpuHandle gpu, NV_GPU_PERF_PSTATES_INFO_V2* info);
    NvAPI_Status NvAPI_GPU_SetPstates(NvPhysicalGpuHandle gpu, NV_GPU_PERF_PSTATES_INFO_V2* info);
    NvAPI_Status NvAPI_GPU_GetPstates20(NvPhysicalGpuHandle gpu, NV_GPU_PERF_PSTATES20_INFO* info);
    NvAPI_Status NvAPI_GPU_SetPstates20(NvPhysicalGpuHandle gpu, NV_GPU_PERF_PSTATES20_INFO* info);
    NvAPI_Status NvAPI_GPU_GetThermalSettings(NvPhysicalGpuHandle gpu, NvU32 sensorIndex,
                                              NV_GPU_THERMAL_SETTINGS* settings);
    NvAPI_Status NvAPI_GPU_GetCoolerSettings(NvPhysicalGpuHandle gpu, NvU32 coolerIndex,
                                             NV_GPU_COOLER_SETTINGS* settings);
    NvAPI_Status NvAPI_GPU_SetCoolerLevels(NvPhysicalGpuHandle gpu, NvU32 coolerIndex,
                                           NV_GPU_COOLER_LEVELS* levels);
    NvAPI_Status NvAPI_GPU_ClientPowerPoliciesGetInfo(NvPhysicalGpuHandle gpu,
                                                      NV_GPU_POWER_POLICIES_INFO* info);
    NvAPI_Status NvAPI_GPU_ClientPowerPoliciesGetStatus(NvPhysicalGpuHandle gpu,
                                                        NV_GPU_POWER_POLICIES_STATUS* st);
    NvAPI_Status NvAPI_GPU_ClientPowerPoliciesSetStatus(NvPhysicalGpuHandle gpu,
                                                        NV_GPU_POWER_POLICIES_STATUS* st);
    NvAPI_Status NvAPI_DRS_CreateSession(NvDRSSessionHandle* session);
    NvAPI_Status NvAPI_DRS_LoadSettings(NvDRSSessionHandle session);
    NvAPI_Status NvAPI_DRS_GetBaseProfile(NvDRSSessionHandle session, NvDRSProfileHandle* profile);
    NvAPI_Status NvAPI_DRS_SetSetting(NvDRSSessionHandle session, NvDRSProfileHandle profile,
                                      NVDRS_SETTING* setting);
    NvAPI_Status NvAPI_DRS_SaveSettings(NvDRSSessionHandle session);
    NvAPI_Status NvAPI_DRS_DestroySession(NvDRSSessionHandle session);

private:
    enum Slot : int;
    struct Entry
    {
        bool bLookedUp = false;
        void* pFn = nullptr;
    };
    static constexpr int kSlotCount = 31;

    // 0 with the entry in `fn`, else the status the operation returns.
    NvAPI_Status Resolve(Slot slot, void** fn);
    template <typename Fn> NvAPI_Status Get(Slot slot, Fn* fn)
    {
        void* p = nullptr;
        NvAPI_Status status = Resolve(slot, &p);
        *fn = reinterpret_cast<Fn>(p);
        return status;
    }

    std::string m_strPath;
    bool m_bTried = false;
    NvAPI_Status m_nLoadStatus = NVAPI_LIBRARY_NOT_FOUND;
    void* m_hLibrary = nullptr;
    NvAPI_QueryInterface_t m_pQueryInterface = nullptr;
    Entry m_entries[kSlotCount];
};

// GpuControl: the program's one gateway to the graphics driver (identity, clocks, voltage, fan,
// temperature, power target, frame-rate target).
//
// API used by the windows (every operation returns 0 on success, 1 or 2 on failure, never throws;
// a GPU argument of -1 means m_nCurGpu, any other value indexes m_hGpus):
//
//   Initialize()                               0; 1 driver not usable ("Initial nvAPI fail!" box);
//                                              2 no GPU ("NvAPI_EnumPhysicalGPUs failed" box)
//   GetPciIds(gpu, vendor, device, subVendor, subSystem)      16-bit outputs, untouched on failure
//   GetRamTypeName(gpu, text)                  "UNKNOWN", "SDRAM" ... "GDDR5"; type > 8 leaves text
//   GetCurrentClocks(gpu, &info)               nGfxClock, nProcClock, nMemClock (kHz)
//   GetBaseBoostClocks(gpu, &info)             n*Base, n*Boost; always 0
//   GetPerfClocks(&info), GetTopPerfClocks(gpu, &info)
//   GetPstateClocks(&info, gpu, pstate)        clock family; pstate 16 = the current one
//   SetP0Voltage(gpu, mV), SetP0Clocks(info, gpu)            clock family; 1 read failed, 2 refused
//   GetPstates20(gpu, &info), SetPstates20(info, gpu)        offset family
//   GetTemperature(temp, gpu), GetCoolerSettings(&rec, gpu), GetFanLevel(), SetFanLevel(policy, %, gpu)
//   GetPowerTarget(&info), SetPowerTarget(info, gpu), SetFrameRateTarget(fps)
//
// Direct identity reads go through Driver() with an m_hGpus entry (or m_hDisplays[0] for the driver
// version), recording the status in m_nStatus:
//   Driver().NvAPI_GPU_GetFullName(h, szName)                  up to 63 characters
//   Driver().NvAPI_GPU_GetPhysicalFrameBufferSize(h, &nKb)     KB; >> 10 gives MB
//   Driver().NvAPI_GPU_GetFBWidthAndLocation(h, &nBits, &nLocation)
//   Driver().NvAPI_GPU_GetGpuCoreCount(h, &nCores)
//   Driver().NvAPI_GPU_GetVbiosVersionString(h, szBios)
//   Driver().NvAPI_GetDisplayDriverVersion(m_hDisplays[0], &ver)  ver.version =
//   NV_DISPLAY_DRIVER_VERSION_VER;
//                                                                 ver.drvVersion e.g. 30142
//   Handle(gpu) gives the handle for a GPU argument (nullptr for an index out of range).
#pragma once

#include "driver/api/NvApiRecords.h"
#include "gpu/GpuPerfInfo.h"
#include "gpu/NvApiLoader.h"
#include "platform/os/WinTypes.h"

#include <string>

class GpuControl
{
public:
    GpuControl();                             // uses NvApiLoader::Default()
    explicit GpuControl(NvApiLoader& driver); // another driver library (tests)

    NvApiLoader& Driver() { return *m_pDriver; }
    NvPhysicalGpuHandle Handle(int gpu) const;

    // Identification
    int Initialize();
    int GetPciIds(int gpu, WORD& wVendorId, WORD& wDeviceId, WORD& wSubVendorId, WORD& wSubSystemId);
    int GetRamTypeName(int gpu, std::string& text);

    // Clocks and voltage
    int GetCurrentClocks(int gpu, GpuPerfInfo* info);
    int GetBaseBoostClocks(int gpu, GpuPerfInfo* info);
    int GetPerfClocks(GpuPerfInfo* info);
    int GetTopPerfClocks(int gpu, GpuPerfInfo* info);
    int GetPstateClocks(GpuPerfInfo* info, int gpu, unsigned int pstate);
    int SetP0Voltage(int gpu, unsigned int voltage);
    int SetP0Clocks(GpuPerfInfo info, int gpu);
    int GetPstates20(int gpu, GpuPerfInfo* info);
    int SetPstates20(GpuPerfInfo info, int gpu);

    // Cooling, temperature, power and frame target
    int GetTemperature(int& temperature, int gpu);
    int GetCoolerSettings(NV_GPU_COOLER_SETTINGS* settings, int gpu);
    int GetFanLevel();
    int SetFanLevel(int policy, int level, int gpu);
    int GetPowerTarget(GpuPerfInfo* info);
    int SetPowerTarget(GpuPerfInfo info, int gpu);
    int SetFrameRateTarget(unsigned int frameRate);

    // Data, in the design's order.
    NvS32 m_nStatus = 0;
    char m_szError[NVAPI_SHORT_STRING_MAX] = {};
    NvU32 m_nCurGpu = 0;
    NvU32 m_nGpuCount = 0;
    NvU32 m_nDisplayCount = 0;
    NvDisplayHandle m_hDisplays[NVAPI_MAX_DISPLAYS] = {};
    NvPhysicalGpuHandle m_hGpus[NVAPI_MAX_PHYSICAL_GPUS] = {};
    WORD m_wVendorId = 0;
    WORD m_wDeviceId = 0;
    WORD m_wSubVendorId = 0;
    WORD m_wSubSystemId = 0;
    NV_GPU_COOLER_SETTINGS m_coolerSettings = {};
    GpuPerfInfo m_perfInfo = {};
    NvS32 m_nTemperature = 0;
    NvS32 m_nFanLevel = 0;
    NvU32 m_nLastProcClock = 0;
    NvU32 m_nLastGfxClock = 0;
    NvU32 m_nLastMemClock = 0;
    NvU32 m_nLastVoltage = 0;
    NvU32 m_nPstate = 16;
    NV_GPU_PERF_CLOCKS m_perfClocks = {};

private:
    // Recording a driver call: the status, and with WithText also its text in m_szError.
    void Record(NvAPI_Status status) { m_nStatus = status; }
    void RecordWithText(NvAPI_Status status);
    int ReadPerfClocksLevel(NvPhysicalGpuHandle gpu, NvU32 level);
    void TracePerfClocks() const;
    void CopyPerfClockEntries(GpuPerfInfo* info, bool withCurrent) const;

    NvApiLoader* m_pDriver;
};

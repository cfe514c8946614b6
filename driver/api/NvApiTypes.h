// The driver interface as both sides see it: statuses, opaque handles, interface ids and the entry
// signatures reached through nvapi_QueryInterface. Shared by the program and the driver stand-ins.
#pragma once

#include <cstdint>

using NvU8 = std::uint8_t;
using NvU16 = std::uint16_t;
using NvU32 = std::uint32_t;
using NvS32 = std::int32_t;

// Statuses: 0 is success, everything else a failure. Callers only ever compare with 0.
using NvAPI_Status = NvS32;
constexpr NvAPI_Status NVAPI_OK = 0;
constexpr NvAPI_Status NVAPI_ERROR = -1;             // also: initialise failed
constexpr NvAPI_Status NVAPI_LIBRARY_NOT_FOUND = -2; // no usable driver library
constexpr NvAPI_Status NVAPI_NO_IMPLEMENTATION = -3; // the library lacks the interface id
constexpr NvAPI_Status NVAPI_API_NOT_INITIALIZED = -4;
constexpr NvAPI_Status NVAPI_INVALID_ARGUMENT = -5;
constexpr NvAPI_Status NVAPI_NVIDIA_DEVICE_NOT_FOUND = -6;
constexpr NvAPI_Status NVAPI_END_ENUMERATION = -7;
constexpr NvAPI_Status NVAPI_INVALID_HANDLE = -8;
constexpr NvAPI_Status NVAPI_INCOMPATIBLE_STRUCT_VERSION = -9;
constexpr NvAPI_Status NVAPI_INVALID_POINTER = -14;
constexpr NvAPI_Status NVAPI_EXPECTED_PHYSICAL_GPU_HANDLE = -101;
constexpr NvAPI_Status NVAPI_NOT_SUPPORTED = -104;

// Opaque handles: only the driver knows what they point at.
struct NvPhysicalGpuHandle__;
struct NvDisplayHandle__;
struct NvDRSSessionHandle__;
struct NvDRSProfileHandle__;
using NvPhysicalGpuHandle = NvPhysicalGpuHandle__*;
using NvDisplayHandle = NvDisplayHandle__*;
using NvDRSSessionHandle = NvDRSSessionHandle__*;
using NvDRSProfileHandle = NvDRSProfileHandle__*;

constexpr int NVAPI_MAX_PHYSICAL_GPUS = 64;
constexpr int NVAPI_MAX_DISPLAYS = 128; // NVIDIA display handles the program keeps
constexpr int NVAPI_SHORT_STRING_MAX = 64;
using NvAPI_ShortString = char[NVAPI_SHORT_STRING_MAX];

// Clock domains (public clock ids) and the core-voltage domain.
constexpr NvU32 NVAPI_GPU_PUBLIC_CLOCK_GRAPHICS = 0;
constexpr NvU32 NVAPI_GPU_PUBLIC_CLOCK_MEMORY = 4;
constexpr NvU32 NVAPI_GPU_PUBLIC_CLOCK_PROCESSOR = 7;
constexpr NvU32 NVAPI_GPU_PERF_VOLTAGE_INFO_DOMAIN_CORE = 0;

// Targets passed to the thermal and cooler calls: "every sensor" and "every cooler".
constexpr NvU32 NVAPI_THERMAL_TARGET_ALL = 15;
constexpr NvU32 NVAPI_COOLER_TARGET_ALL = 7;

// Cooler policies.
constexpr NvU32 NVAPI_COOLER_POLICY_MANUAL = 1;
constexpr NvU32 NVAPI_COOLER_POLICY_AUTO = 32;

// Clock types of the clock-frequencies record.
constexpr NvU32 NV_GPU_CLOCK_FREQUENCIES_CURRENT_FREQ = 0;
constexpr NvU32 NV_GPU_CLOCK_FREQUENCIES_BASE_CLOCK = 1;
constexpr NvU32 NV_GPU_CLOCK_FREQUENCIES_BOOST_CLOCK = 2;

// Pstates 2.0 clock entry types.
constexpr NvU32 NVAPI_GPU_PERF_PSTATE20_CLOCK_TYPE_SINGLE = 0;
constexpr NvU32 NVAPI_GPU_PERF_PSTATE20_CLOCK_TYPE_RANGE = 1;

// The driver-settings value that holds the frame-rate target, and how a rate is stored in it.
constexpr NvU32 NVDRS_FRAME_RATE_LIMIT_ID = 0x10834FEE;
constexpr NvU32 NVDRS_FRAME_RATE_LIMIT_ENABLE = 0xF0000000;
constexpr NvU32 NVDRS_DWORD_TYPE = 0;

// The version word every record starts with.
constexpr NvU32 NvMakeVersion(NvU32 size, NvU32 version)
{
    return size | (version << 16);
}

// Interface ids understood by nvapi_QueryInterface.
namespace nvid {
constexpr NvU32 Initialize = 0x0150E828;
constexpr NvU32 GetErrorMessage = 0x6C2D048C;
constexpr NvU32 EnumPhysicalGPUs = 0xE5AC921F;
constexpr NvU32 EnumNvidiaDisplayHandle = 0x9ABDD40D;
constexpr NvU32 GetDisplayDriverVersion = 0xF951A4D1;
constexpr NvU32 GPU_GetFullName = 0xCEEE8E9F;
constexpr NvU32 GPU_GetPCIIdentifiers = 0x2DDFB66E;
constexpr NvU32 GPU_GetVbiosVersionString = 0xA561FD7D;
constexpr NvU32 GPU_GetPhysicalFrameBufferSize = 0x46FBEB03;
constexpr NvU32 GPU_GetRamType = 0x57F7CAAC;
constexpr NvU32 GPU_GetFBWidthAndLocation = 0x11104158;
constexpr NvU32 GPU_GetGpuCoreCount = 0xC7026A87;
constexpr NvU32 GPU_GetAllClockFrequencies = 0xDCB616C3;
constexpr NvU32 GPU_GetPerfClocks = 0x1EA54A3B;
constexpr NvU32 GPU_GetCurrentPstate = 0x927DA4F6;
constexpr NvU32 GPU_GetPstatesInfo = 0xBA94C56E;
constexpr NvU32 GPU_SetPstates = 0xCDF27911;
constexpr NvU32 GPU_GetPstates20 = 0x6FF81213;
constexpr NvU32 GPU_SetPstates20 = 0x0F4DAE6B;
constexpr NvU32 GPU_GetThermalSettings = 0xE3640A56;
constexpr NvU32 GPU_GetCoolerSettings = 0xDA141340;
constexpr NvU32 GPU_SetCoolerLevels = 0x891FA0AE;
constexpr NvU32 GPU_ClientPowerPoliciesGetInfo = 0x34206D86;
constexpr NvU32 GPU_ClientPowerPoliciesGetStatus = 0x70916171;
constexpr NvU32 GPU_ClientPowerPoliciesSetStatus = 0xAD95F5ED;
constexpr NvU32 DRS_CreateSession = 0x0694D52E;
constexpr NvU32 DRS_LoadSettings = 0x375DBD6B;
constexpr NvU32 DRS_GetBaseProfile = 0xDA8466A0;
constexpr NvU32 DRS_SetSetting = 0x577DD202;
constexpr NvU32 DRS_SaveSettings = 0xFCBC7E14;
constexpr NvU32 DRS_DestroySession = 0xDAD9CFF8;
} // namespace nvid

// The one export of a driver library.
extern "C" {
using NvAPI_QueryInterface_t = void* (*)(unsigned int id);
}
constexpr const char* kNvApiQueryInterfaceExport = "nvapi_QueryInterface";

// Fixed-layout driver records (little-endian 32-bit words) and the entry signatures that take them.
// Every record starts with its version word, size | (version << 16); a driver refuses a word it does
// not know. The static_asserts pin the sizes the version words give and the offsets callers rely on.
#pragma once

#include "driver/api/NvApiTypes.h"

#include <cstddef>

// ---- Identification ------------------------------------------------------------------------------

struct NV_DISPLAY_DRIVER_VERSION
{
    NvU32 version;
    NvU32 drvVersion; // e.g. 30142 for 301.42
    NvU32 bldChangeListNum;
    char szBuildBranchString[NVAPI_SHORT_STRING_MAX];
    char szAdapterString[NVAPI_SHORT_STRING_MAX];
};
constexpr NvU32 NV_DISPLAY_DRIVER_VERSION_VER = NvMakeVersion(sizeof(NV_DISPLAY_DRIVER_VERSION), 1);
static_assert(sizeof(NV_DISPLAY_DRIVER_VERSION) == 140);
static_assert(NV_DISPLAY_DRIVER_VERSION_VER == 0x1008C);
static_assert(offsetof(NV_DISPLAY_DRIVER_VERSION, drvVersion) == 4);

// ---- Clock frequencies ---------------------------------------------------------------------------

constexpr int NVAPI_MAX_GPU_PUBLIC_CLOCKS = 32;

struct NV_GPU_CLOCK_FREQUENCIES
{
    NvU32 version;
    NvU32 ClockType; // bits 0-1: current, base or boost; the rest reserved
    struct
    {
        NvU32 bIsPresent; // bit 0
        NvU32 frequency;  // kHz
    } domain[NVAPI_MAX_GPU_PUBLIC_CLOCKS];
};
constexpr NvU32 NV_GPU_CLOCK_FREQUENCIES_VER = NvMakeVersion(sizeof(NV_GPU_CLOCK_FREQUENCIES), 2);
static_assert(sizeof(NV_GPU_CLOCK_FREQUENCIES) == 264);
static_assert(NV_GPU_CLOCK_FREQUENCIES_VER == 0x20108);
static_assert(offsetof(NV_GPU_CLOCK_FREQUENCIES, domain) == 8);

// ---- Perf clocks (levels with current, default, minimum and maximum per domain) -------------------

constexpr int NV_PERF_CLOCKS_MAX_ENTRIES = 387; // as many 28-byte entries as the record holds

struct NV_GPU_PERF_CLOCKS_ENTRY
{
    NvU32 domainId;
    NvU32 reserved4;
    NvU32 currentFreq; // kHz
    NvU32 defaultFreq;
    NvU32 minFreq;
    NvU32 maxFreq;
    NvU32 reserved24;
};
static_assert(sizeof(NV_GPU_PERF_CLOCKS_ENTRY) == 28);

struct NV_GPU_PERF_CLOCKS
{
    NvU32 version;
    NvU32 numLevels;
    NvU32 reserved8;
    NvU32 numClocks;
    NvU32 reserved16[3];
    NV_GPU_PERF_CLOCKS_ENTRY clocks[NV_PERF_CLOCKS_MAX_ENTRIES];
    NvU32 reservedTail;
};
constexpr NvU32 NV_GPU_PERF_CLOCKS_VER = NvMakeVersion(sizeof(NV_GPU_PERF_CLOCKS), 1);
static_assert(sizeof(NV_GPU_PERF_CLOCKS) == 10868);
static_assert(NV_GPU_PERF_CLOCKS_VER == 0x12A74);
static_assert(offsetof(NV_GPU_PERF_CLOCKS, numLevels) == 4);
static_assert(offsetof(NV_GPU_PERF_CLOCKS, numClocks) == 12);
static_assert(offsetof(NV_GPU_PERF_CLOCKS, clocks) == 28);
static_assert(offsetof(NV_GPU_PERF_CLOCKS_ENTRY, currentFreq) == 8);
static_assert(offsetof(NV_GPU_PERF_CLOCKS_ENTRY, defaultFreq) == 12);
static_assert(offsetof(NV_GPU_PERF_CLOCKS_ENTRY, minFreq) == 16);
static_assert(offsetof(NV_GPU_PERF_CLOCKS_ENTRY, maxFreq) == 20);

// ---- Legacy pstates table (absolute clocks in kHz, voltages in mV) --------------------------------

constexpr int NVAPI_MAX_GPU_PERF_PSTATES = 16;
constexpr int NVAPI_MAX_GPU_PERF_CLOCKS = 32;
constexpr int NVAPI_MAX_GPU_PERF_VOLTAGES = 16;

struct NV_GPU_PSTATE_CLOCK
{
    NvU32 domainId;
    NvU32 flags;
    NvU32 freq; // kHz
};
struct NV_GPU_PSTATE_VOLTAGE
{
    NvU32 domainId;
    NvU32 flags;
    NvU32 mvolt;
};

// Version 2: with voltages.
struct NV_GPU_PERF_PSTATES_INFO_V2
{
    NvU32 version;
    NvU32 flags;
    NvU32 numPstates;
    NvU32 numClocks;
    NvU32 numVoltages;
    struct
    {
        NvU32 pstateId;
        NvU32 flags;
        NV_GPU_PSTATE_CLOCK clocks[NVAPI_MAX_GPU_PERF_CLOCKS];
        NV_GPU_PSTATE_VOLTAGE voltages[NVAPI_MAX_GPU_PERF_VOLTAGES];
    } pstates[NVAPI_MAX_GPU_PERF_PSTATES];
};
constexpr NvU32 NV_GPU_PERF_PSTATES_INFO_VER2 = NvMakeVersion(sizeof(NV_GPU_PERF_PSTATES_INFO_V2), 2);
static_assert(sizeof(NV_GPU_PERF_PSTATES_INFO_V2) == 9364);
static_assert(NV_GPU_PERF_PSTATES_INFO_VER2 == 0x22494);
static_assert(offsetof(NV_GPU_PERF_PSTATES_INFO_V2, pstates) == 20);
static_assert(sizeof(NV_GPU_PERF_PSTATES_INFO_V2::pstates[0]) == 584);

// Version 1: the older layout without voltage entries.
struct NV_GPU_PERF_PSTATES_INFO_V1
{
    NvU32 version;
    NvU32 flags;
    NvU32 numPstates;
    NvU32 numClocks;
    struct
    {
        NvU32 pstateId;
        NvU32 flags;
        NV_GPU_PSTATE_CLOCK clocks[NVAPI_MAX_GPU_PERF_CLOCKS];
    } pstates[NVAPI_MAX_GPU_PERF_PSTATES];
};
constexpr NvU32 NV_GPU_PERF_PSTATES_INFO_VER1 = NvMakeVersion(sizeof(NV_GPU_PERF_PSTATES_INFO_V1), 1);
static_assert(sizeof(NV_GPU_PERF_PSTATES_INFO_V1) == 6288);
static_assert(NV_GPU_PERF_PSTATES_INFO_VER1 == 0x11890);
static_assert(offsetof(NV_GPU_PERF_PSTATES_INFO_V1, pstates) == 16);

// ---- Pstates 2.0 (P0 offsets and ranges) ----------------------------------------------------------

constexpr int NVAPI_MAX_GPU_PSTATE20_PSTATES = 16;
constexpr int NVAPI_MAX_GPU_PSTATE20_CLOCKS = 8;
constexpr int NVAPI_MAX_GPU_PSTATE20_BASE_VOLTAGES = 4;

struct NV_GPU_PERF_PSTATES20_PARAM_DELTA
{
    NvS32 value;
    NvS32 min;
    NvS32 max;
};

struct NV_GPU_PSTATE20_CLOCK_ENTRY
{
    NvU32 domainId;
    NvU32 typeId;      // single frequency or range
    NvU32 bIsEditable; // bit 0
    NV_GPU_PERF_PSTATES20_PARAM_DELTA freqDelta_kHz;
    union {
        struct
        {
            NvU32 freq_kHz;
        } single;
        struct
        {
            NvU32 minFreq_kHz;
            NvU32 maxFreq_kHz;
            NvU32 domainId;
            NvU32 minVoltage_uV;
            NvU32 maxVoltage_uV;
        } range;
    } data;
};
static_assert(sizeof(NV_GPU_PSTATE20_CLOCK_ENTRY) == 44);
static_assert(offsetof(NV_GPU_PSTATE20_CLOCK_ENTRY, freqDelta_kHz) == 12);
static_assert(offsetof(NV_GPU_PSTATE20_CLOCK_ENTRY, data) == 24);

struct NV_GPU_PSTATE20_BASE_VOLTAGE_ENTRY
{
    NvU32 domainId;
    NvU32 bIsEditable; // bit 0
    NvU32 volt_uV;
    NV_GPU_PERF_PSTATES20_PARAM_DELTA voltDelta_uV;
};
static_assert(sizeof(NV_GPU_PSTATE20_BASE_VOLTAGE_ENTRY) == 24);

struct NV_GPU_PERF_PSTATES20_INFO
{
    NvU32 version;
    NvU32 bIsEditable;
    NvU32 numPstates;
    NvU32 numClocks;
    NvU32 numBaseVoltages;
    struct
    {
        NvU32 pstateId;
        NvU32 bIsEditable;
        NV_GPU_PSTATE20_CLOCK_ENTRY clocks[NVAPI_MAX_GPU_PSTATE20_CLOCKS];
        NV_GPU_PSTATE20_BASE_VOLTAGE_ENTRY baseVoltages[NVAPI_MAX_GPU_PSTATE20_BASE_VOLTAGES];
    } pstates[NVAPI_MAX_GPU_PSTATE20_PSTATES];
};
constexpr NvU32 NV_GPU_PERF_PSTATES20_INFO_VER = NvMakeVersion(sizeof(NV_GPU_PERF_PSTATES20_INFO), 1);
static_assert(sizeof(NV_GPU_PERF_PSTATES20_INFO) == 7316);
static_assert(NV_GPU_PERF_PSTATES20_INFO_VER == 0x11C94);
static_assert(offsetof(NV_GPU_PERF_PSTATES20_INFO, pstates) == 20);
static_assert(sizeof(NV_GPU_PERF_PSTATES20_INFO::pstates[0]) == 456);

// ---- Thermal ---------------------------------------------------------------------------------------

constexpr int NVAPI_MAX_THERMAL_SENSORS_PER_GPU = 3;

struct NV_GPU_THERMAL_SETTINGS
{
    NvU32 version;
    NvU32 count;
    struct
    {
        NvU32 controller;
        NvS32 defaultMinTemp;
        NvS32 defaultMaxTemp;
        NvS32 currentTemp; // degrees Celsius
        NvU32 target;
    } sensor[NVAPI_MAX_THERMAL_SENSORS_PER_GPU];
};
// Versions 1 and 2 share the layout; version 2 has signed temperatures.
constexpr NvU32 NV_GPU_THERMAL_SETTINGS_VER_1 = NvMakeVersion(sizeof(NV_GPU_THERMAL_SETTINGS), 1);
constexpr NvU32 NV_GPU_THERMAL_SETTINGS_VER_2 = NvMakeVersion(sizeof(NV_GPU_THERMAL_SETTINGS), 2);
static_assert(sizeof(NV_GPU_THERMAL_SETTINGS) == 68);
static_assert(NV_GPU_THERMAL_SETTINGS_VER_2 == 0x20044 && NV_GPU_THERMAL_SETTINGS_VER_1 == 0x10044);
static_assert(offsetof(NV_GPU_THERMAL_SETTINGS, sensor) == 8);

// ---- Cooler settings and levels -------------------------------------------------------------------
// The cooler-settings record comes in three sizes (152, 968 and 1288 bytes); the first cooler sits
// at the same offsets in all of them. The struct has the largest size, so any answer fits.

struct NV_GPU_COOLER_SETTINGS
{
    NvU32 version;
    NvU32 count;
    struct
    {
        NvU32 type;
        NvU32 controller;
        NvU32 defaultMinLevel; // per cent
        NvU32 defaultMaxLevel;
        NvU32 currentMinLevel;
        NvU32 currentMaxLevel;
        NvU32 currentLevel;
        NvU32 defaultPolicy;
        NvU32 currentPolicy;
        NvU32 target;
        NvU32 controlType;
        NvU32 active;
    } cooler0;
    NvU8 rest[1288 - 56];
};
constexpr NvU32 NV_GPU_COOLER_SETTINGS_VER_3 = 0x30508;     // 1288 bytes
constexpr NvU32 NV_GPU_COOLER_SETTINGS_VER_1 = 0x10098;     // 152 bytes: three coolers of 48
constexpr NvU32 NV_GPU_COOLER_SETTINGS_VER_1_BIG = 0x103C8; // 968 bytes: twenty coolers of 48
static_assert(sizeof(NV_GPU_COOLER_SETTINGS) == 1288);
static_assert(offsetof(NV_GPU_COOLER_SETTINGS, cooler0.defaultMinLevel) == 16);
static_assert(offsetof(NV_GPU_COOLER_SETTINGS, cooler0.defaultMaxLevel) == 20);
static_assert(offsetof(NV_GPU_COOLER_SETTINGS, cooler0.currentLevel) == 32);

constexpr int NVAPI_MAX_COOLERS_PER_GPU = 20;

struct NV_GPU_COOLER_LEVELS
{
    NvU32 version;
    struct
    {
        NvU32 level; // per cent
        NvU32 policy;
    } cooler[NVAPI_MAX_COOLERS_PER_GPU];
};
constexpr NvU32 NV_GPU_COOLER_LEVELS_VER_BIG = 0x100A4;   // 164 bytes: twenty coolers
constexpr NvU32 NV_GPU_COOLER_LEVELS_VER_SMALL = 0x1001C; // 28 bytes: three coolers
static_assert(sizeof(NV_GPU_COOLER_LEVELS) == 164);
static_assert(NvMakeVersion(sizeof(NV_GPU_COOLER_LEVELS), 1) == NV_GPU_COOLER_LEVELS_VER_BIG);
static_assert(offsetof(NV_GPU_COOLER_LEVELS, cooler[0].level) == 4);
static_assert(offsetof(NV_GPU_COOLER_LEVELS, cooler[0].policy) == 8);
static_assert(offsetof(NV_GPU_COOLER_LEVELS, cooler[3]) == 28);

// ---- Power policies (per-cent-mille: 100000 = 100 %) ----------------------------------------------

constexpr int NV_POWER_POLICIES_MAX_ENTRIES = 4;

struct NV_GPU_POWER_POLICIES_INFO
{
    NvU32 version;
    NvU8 valid;
    NvU8 count;
    NvU8 padding[2];
    struct
    {
        NvU32 policyId;
        NvU32 reserved4[2];
        NvU32 minPower;
        NvU32 reserved16[2];
        NvU32 defaultPower;
        NvU32 reserved28[2];
        NvU32 maxPower;
        NvU32 reserved40;
    } entries[NV_POWER_POLICIES_MAX_ENTRIES];
};
constexpr NvU32 NV_GPU_POWER_POLICIES_INFO_VER = NvMakeVersion(sizeof(NV_GPU_POWER_POLICIES_INFO), 1);
static_assert(sizeof(NV_GPU_POWER_POLICIES_INFO) == 184);
static_assert(NV_GPU_POWER_POLICIES_INFO_VER == 0x100B8);
static_assert(offsetof(NV_GPU_POWER_POLICIES_INFO, valid) == 4);
static_assert(offsetof(NV_GPU_POWER_POLICIES_INFO, count) == 5);
static_assert(offsetof(NV_GPU_POWER_POLICIES_INFO, entries) == 8);
static_assert(sizeof(NV_GPU_POWER_POLICIES_INFO::entries[0]) == 44);
static_assert(offsetof(NV_GPU_POWER_POLICIES_INFO, entries[0].minPower) == 8 + 12);
static_assert(offsetof(NV_GPU_POWER_POLICIES_INFO, entries[0].defaultPower) == 8 + 24);
static_assert(offsetof(NV_GPU_POWER_POLICIES_INFO, entries[0].maxPower) == 8 + 36);

struct NV_GPU_POWER_POLICIES_STATUS
{
    NvU32 version;
    NvU8 count;
    NvU8 padding[3];
    struct
    {
        NvU32 policyId;
        NvU32 flags; // bit 0
        NvU32 power;
        NvU32 reserved12;
    } entries[NV_POWER_POLICIES_MAX_ENTRIES];
};
constexpr NvU32 NV_GPU_POWER_POLICIES_STATUS_VER = NvMakeVersion(sizeof(NV_GPU_POWER_POLICIES_STATUS), 1);
static_assert(sizeof(NV_GPU_POWER_POLICIES_STATUS) == 72);
static_assert(NV_GPU_POWER_POLICIES_STATUS_VER == 0x10048);
static_assert(offsetof(NV_GPU_POWER_POLICIES_STATUS, count) == 4);
static_assert(offsetof(NV_GPU_POWER_POLICIES_STATUS, entries) == 8);
static_assert(sizeof(NV_GPU_POWER_POLICIES_STATUS::entries[0]) == 16);
static_assert(offsetof(NV_GPU_POWER_POLICIES_STATUS, entries[0].flags) == 8 + 4);
static_assert(offsetof(NV_GPU_POWER_POLICIES_STATUS, entries[0].power) == 8 + 8);

// ---- Driver settings (profiles) -------------------------------------------------------------------

constexpr int NVAPI_UNICODE_STRING_MAX = 2048;
constexpr int NVAPI_BINARY_DATA_MAX = 4096;

union NVDRS_SETTING_VALUE {
    NvU32 u32Value;
    struct
    {
        NvU32 valueLength;
        NvU8 valueData[NVAPI_BINARY_DATA_MAX];
    } binaryValue;
    NvU16 wszValue[NVAPI_UNICODE_STRING_MAX];
};
static_assert(sizeof(NVDRS_SETTING_VALUE) == 4100);

struct NVDRS_SETTING
{
    NvU32 version;
    NvU16 settingName[NVAPI_UNICODE_STRING_MAX];
    NvU32 settingId;
    NvU32 settingType; // 0 = DWORD
    NvU32 settingLocation;
    NvU32 isCurrentPredefined;
    NvU32 isPredefinedValid;
    NVDRS_SETTING_VALUE predefinedValue;
    NVDRS_SETTING_VALUE currentValue;
};
constexpr NvU32 NVDRS_SETTING_VER = NvMakeVersion(sizeof(NVDRS_SETTING), 1);
static_assert(sizeof(NVDRS_SETTING) == 12320);
static_assert(NVDRS_SETTING_VER == 0x13020);
static_assert(offsetof(NVDRS_SETTING, settingId) == 4100);
static_assert(offsetof(NVDRS_SETTING, settingType) == 4104);
static_assert(offsetof(NVDRS_SETTING, currentValue) == 8220);

// ---- Entry signatures -----------------------------------------------------------------------------

extern "C" {
using NvAPI_Initialize_t = NvAPI_Status (*)();
using NvAPI_GetErrorMessage_t = NvAPI_Status (*)(NvAPI_Status status, NvAPI_ShortString text);
using NvAPI_EnumPhysicalGPUs_t = NvAPI_Status (*)(NvPhysicalGpuHandle handles[NVAPI_MAX_PHYSICAL_GPUS],
                                                  NvU32* count);
using NvAPI_EnumNvidiaDisplayHandle_t = NvAPI_Status (*)(NvU32 index, NvDisplayHandle* handle);
using NvAPI_GetDisplayDriverVersion_t = NvAPI_Status (*)(NvDisplayHandle display,
                                                         NV_DISPLAY_DRIVER_VERSION* version);
using NvAPI_GPU_GetFullName_t = NvAPI_Status (*)(NvPhysicalGpuHandle gpu, NvAPI_ShortString name);
using NvAPI_GPU_GetPCIIdentifiers_t = NvAPI_Status (*)(NvPhysicalGpuHandle gpu, NvU32* deviceId,
                                                       NvU32* subSystemId, NvU32* revisionId,
                                                       NvU32* extDeviceId);
using NvAPI_GPU_GetVbiosVersionString_t = NvAPI_Status (*)(NvPhysicalGpuHandle gpu, NvAPI_ShortString text);
using NvAPI_GPU_GetPhysicalFrameBufferSize_t = NvAPI_Status (*)(NvPhysicalGpuHandle gpu, NvU32* sizeKb);
using NvAPI_GPU_GetRamType_t = NvAPI_Status (*)(NvPhysicalGpuHandle gpu, NvU32* type);
using NvAPI_GPU_GetFBWidthAndLocation_t = NvAPI_Status (*)(NvPhysicalGpuHandle gpu, NvU32* width,
                                                           NvU32* location);
using NvAPI_GPU_GetGpuCoreCount_t = NvAPI_Status (*)(NvPhysicalGpuHandle gpu, NvU32* count);
using NvAPI_GPU_GetAllClockFrequencies_t = NvAPI_Status (*)(NvPhysicalGpuHandle gpu,
                                                            NV_GPU_CLOCK_FREQUENCIES* clocks);
using NvAPI_GPU_GetPerfClocks_t = NvAPI_Status (*)(NvPhysicalGpuHandle gpu, NvU32 level,
                                                   NV_GPU_PERF_CLOCKS* clocks);
using NvAPI_GPU_GetCurrentPstate_t = NvAPI_Status (*)(NvPhysicalGpuHandle gpu, NvU32* pstate);
// The pstates record is passed as its V2 layout; a V1 version word means the V1 layout.
using NvAPI_GPU_GetPstatesInfo_t = NvAPI_Status (*)(NvPhysicalGpuHandle gpu,
                                                    NV_GPU_PERF_PSTATES_INFO_V2* info);
using NvAPI_GPU_SetPstates_t = NvAPI_Status (*)(NvPhysicalGpuHandle gpu, NV_GPU_PERF_PSTATES_INFO_V2* info);
using NvAPI_GPU_GetPstates20_t = NvAPI_Status (*)(NvPhysicalGpuHandle gpu, NV_GPU_PERF_PSTATES20_INFO* info);
using NvAPI_GPU_SetPstates20_t = NvAPI_Status (*)(NvPhysicalGpuHandle gpu, NV_GPU_PERF_PSTATES20_INFO* info);
using NvAPI_GPU_GetThermalSettings_t = NvAPI_Status (*)(NvPhysicalGpuHandle gpu, NvU32 sensorIndex,
                                                        NV_GPU_THERMAL_SETTINGS* settings);
using NvAPI_GPU_GetCoolerSettings_t = NvAPI_Status (*)(NvPhysicalGpuHandle gpu, NvU32 coolerIndex,
                                                       NV_GPU_COOLER_SETTINGS* settings);
using NvAPI_GPU_SetCoolerLevels_t = NvAPI_Status (*)(NvPhysicalGpuHandle gpu, NvU32 coolerIndex,
                                                     NV_GPU_COOLER_LEVELS* levels);
using NvAPI_GPU_ClientPowerPoliciesGetInfo_t = NvAPI_Status (*)(NvPhysicalGpuHandle gpu,
                                                                NV_GPU_POWER_POLICIES_INFO* info);
using NvAPI_GPU_ClientPowerPoliciesGetStatus_t = NvAPI_Status (*)(NvPhysicalGpuHandle gpu,
                                                                  NV_GPU_POWER_POLICIES_STATUS* status);
using NvAPI_GPU_ClientPowerPoliciesSetStatus_t = NvAPI_Status (*)(NvPhysicalGpuHandle gpu,
                                                                  NV_GPU_POWER_POLICIES_STATUS* status);
using NvAPI_DRS_CreateSession_t = NvAPI_Status (*)(NvDRSSessionHandle* session);
using NvAPI_DRS_LoadSettings_t = NvAPI_Status (*)(NvDRSSessionHandle session);
using NvAPI_DRS_GetBaseProfile_t = NvAPI_Status (*)(NvDRSSessionHandle session, NvDRSProfileHandle* profile);
using NvAPI_DRS_SetSetting_t = NvAPI_Status (*)(NvDRSSessionHandle session, NvDRSProfileHandle profile,
                                                NVDRS_SETTING* setting);
using NvAPI_DRS_SaveSettings_t = NvAPI_Status (*)(NvDRSSessionHandle session);
using NvAPI_DRS_DestroySession_t = NvAPI_Status (*)(NvDRSSessionHandle session);
}

// GpuControl: temperature, fan, power target and the driver-wide frame-rate target.
#include "gpu/GpuControl.h"

#include <cstdio>
#include <cstring>
#include <memory>

int GpuControl::GetTemperature(int& temperature, int gpu)
{
    const NvU32 versions[] = {NV_GPU_THERMAL_SETTINGS_VER_2, NV_GPU_THERMAL_SETTINGS_VER_1};
    for (NvU32 version : versions) {
        NV_GPU_THERMAL_SETTINGS settings = {};
        settings.version = version;
        RecordWithText(
            m_pDriver->NvAPI_GPU_GetThermalSettings(Handle(gpu), NVAPI_THERMAL_TARGET_ALL, &settings));
        if (m_nStatus == NVAPI_OK) {
            temperature = m_nTemperature = settings.sensor[0].currentTemp;
            return 0;
        }
        temperature = m_nTemperature = 0;
        std::printf("Get current state  %s\n", m_szError);
    }
    return 1;
}

int GpuControl::GetCoolerSettings(NV_GPU_COOLER_SETTINGS* settings, int gpu)
{
    const NvU32 versions[] = {NV_GPU_COOLER_SETTINGS_VER_3, NV_GPU_COOLER_SETTINGS_VER_1,
                              NV_GPU_COOLER_SETTINGS_VER_1_BIG};
    for (NvU32 version : versions) {
        settings->version = version;
        RecordWithText(
            m_pDriver->NvAPI_GPU_GetCoolerSettings(Handle(gpu), NVAPI_COOLER_TARGET_ALL, settings));
        if (m_nStatus == NVAPI_OK)
            return 0;
        // What the panel shows for an unreadable fan: level 0 within 0-100 %.
        settings->cooler0.currentLevel = 0;
        settings->cooler0.defaultMinLevel = 0;
        settings->cooler0.defaultMaxLevel = 100;
        std::printf("Get current state  %s\n", m_szError);
    }
    return 1;
}

int GpuControl::GetFanLevel()
{
    if (GetCoolerSettings(&m_coolerSettings, static_cast<int>(m_nCurGpu)) != 0)
        return 0;
    m_nFanLevel = static_cast<NvS32>(m_coolerSettings.cooler0.currentLevel);
    return m_nFanLevel;
}

int GpuControl::SetFanLevel(int policy, int level, int gpu)
{
    // Drivers differ in the record size they take; the small record is tried twice.
    const NvU32 versions[] = {NV_GPU_COOLER_LEVELS_VER_BIG, NV_GPU_COOLER_LEVELS_VER_SMALL,
                              NV_GPU_COOLER_LEVELS_VER_SMALL};
    for (NvU32 version : versions) {
        NV_GPU_COOLER_LEVELS levels = {};
        levels.version = version;
        levels.cooler[0].level = static_cast<NvU32>(level);
        levels.cooler[0].policy = static_cast<NvU32>(policy);
        RecordWithText(m_pDriver->NvAPI_GPU_SetCoolerLevels(Handle(gpu), NVAPI_COOLER_TARGET_ALL, &levels));
        if (m_nStatus == NVAPI_OK) {
            m_nFanLevel = level;
            return 0;
        }
    }
    return 1;
}

int GpuControl::GetPowerTarget(GpuPerfInfo* info)
{
    NvPhysicalGpuHandle h = Handle(-1);
    NV_GPU_POWER_POLICIES_INFO policies = {};
    policies.version = NV_GPU_POWER_POLICIES_INFO_VER;
    if (m_pDriver->NvAPI_GPU_ClientPowerPoliciesGetInfo(h, &policies) != NVAPI_OK || !policies.valid)
        return 1;
    NvU32 count =
        policies.count > NV_POWER_POLICIES_MAX_ENTRIES ? NV_POWER_POLICIES_MAX_ENTRIES : policies.count;
    if (count > 0) {
        const auto& last = policies.entries[count - 1];
        info->nPowerMin = last.minPower;
        info->nPowerDefault = last.defaultPower;
        info->nPowerMax = last.maxPower;
    }

    NV_GPU_POWER_POLICIES_STATUS status = {};
    status.version = NV_GPU_POWER_POLICIES_STATUS_VER;
    status.count = static_cast<NvU8>(count);
    for (NvU32 i = 0; i < count; ++i)
        status.entries[i].policyId = policies.entries[i].policyId;
    if (m_pDriver->NvAPI_GPU_ClientPowerPoliciesGetStatus(h, &status) != NVAPI_OK)
        return 1;
    NvU32 answered =
        status.count > NV_POWER_POLICIES_MAX_ENTRIES ? NV_POWER_POLICIES_MAX_ENTRIES : status.count;
    if (answered > 0)
        info->nPowerTarget = status.entries[answered - 1].power;
    return 0;
}

int GpuControl::SetPowerTarget(GpuPerfInfo info, int gpu)
{
    NvPhysicalGpuHandle h = Handle(gpu);
    NV_GPU_POWER_POLICIES_INFO policies = {};
    policies.version = NV_GPU_POWER_POLICIES_INFO_VER;
    if (m_pDriver->NvAPI_GPU_ClientPowerPoliciesGetInfo(h, &policies) != NVAPI_OK || !policies.valid)
        return 1;

    NV_GPU_POWER_POLICIES_STATUS status = {};
    status.version = NV_GPU_POWER_POLICIES_STATUS_VER;
    status.count = 1;
    status.entries[0].policyId = 0;
    status.entries[0].flags = 0;
    status.entries[0].power = info.nPowerTarget;
    return m_pDriver->NvAPI_GPU_ClientPowerPoliciesSetStatus(h, &status) == NVAPI_OK ? 0 : 1;
}

int GpuControl::SetFrameRateTarget(unsigned int frameRate)
{
    NvDRSSessionHandle session = nullptr;
    if (m_pDriver->NvAPI_DRS_CreateSession(&session) != NVAPI_OK)
        return 1;
    // A session once opened is always closed again, also when a later step fails.
    auto fail = [&] {
        m_pDriver->NvAPI_DRS_DestroySession(session);
        return 1;
    };
    if (m_pDriver->NvAPI_DRS_LoadSettings(session) != NVAPI_OK)
        return fail();
    NvDRSProfileHandle profile = nullptr;
    if (m_pDriver->NvAPI_DRS_GetBaseProfile(session, &profile) != NVAPI_OK)
        return fail();

    auto setting = std::make_unique<NVDRS_SETTING>();
    std::memset(setting.get(), 0, sizeof(*setting));
    setting->version = NVDRS_SETTING_VER;
    setting->settingId = NVDRS_FRAME_RATE_LIMIT_ID;
    setting->settingType = NVDRS_DWORD_TYPE;
    setting->currentValue.u32Value =
        static_cast<NvU32>(frameRate + NVDRS_FRAME_RATE_LIMIT_ENABLE); // mod 2^32
    if (m_pDriver->NvAPI_DRS_SetSetting(session, profile, setting.get()) != NVAPI_OK)
        return fail();
    if (m_pDriver->NvAPI_DRS_SaveSettings(session) != NVAPI_OK)
        return fail();
    return m_pDriver->NvAPI_DRS_DestroySession(session) == NVAPI_OK ? 0 : 1;
}

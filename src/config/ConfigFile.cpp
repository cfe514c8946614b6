// Start-up routines of the per-card configuration file.
#include "config/ConfigFile.h"

#include "config/IniFile.h"

#include <cstdio>
#include <cstring>

namespace config {
namespace {

// Slots of the value sections' keys.
constexpr int kSlotShaderClock = 0, kSlotEngineClock = 1, kSlotMemoryClock = 2, kSlotFanSpeed = 3,
              kSlotFanMode = 4, kSlotEngineShaderLock = 5, kSlotNVVDD = 6;
constexpr int kSlotCoreOffset = 10, kSlotMemOffset = 11, kSlotPower = 13, kSlotFrame = 14;

void Copy(char (&field)[kIniTextSize], const char* text)
{
    std::snprintf(field, sizeof field, "%s", text);
}

// The scratch key record, zeroed and named for one step.
IniKey& PrepareKey(IniFile& ini, const char* section, const char* key, int value = 0)
{
    std::memset(&ini.m_key, 0, sizeof ini.m_key);
    Copy(ini.m_key.szSection, section);
    Copy(ini.m_key.szKey, key);
    ini.m_key.nValue = value;
    return ini.m_key;
}

int ReadFlag(IniFile& ini, const char* key)
{
    ini.ReadKey(PrepareKey(ini, kSectionKorv, key));
    return ini.m_key.nValue == 1 ? 1 : 0;
}

void InitConfig(bool offsetFamily, const char* cfgFile, WORD deviceId, StartupOptions& options,
                const StartupHooks& hooks)
{
    IniFile ini(cfgFile);
    // A missing file leaves the zeroed record, so its integer is 0: a first start.
    ini.ReadKey(PrepareKey(ini, kSectionKorv, "Initialized"));
    if (ini.m_key.nValue == 1) {
        options.bCfgInitialized = 1;
        options.bAutoOverClock = ReadFlag(ini, "AutoOverClock");
        options.bStartupMinimize = ReadFlag(ini, "StartupMinimize");
        options.bSynchronize = ReadFlag(ini, "Synchronize");
        return;
    }

    options.bAutoOverClock = 0;
    options.bStartupMinimize = 0;
    options.bCfgInitialized = 0;
    // Each write result is ignored but the last: the file may be unwritable, and the user is told
    // once, about the key that matters for the next start.
    ini.WriteKey(PrepareKey(ini, kSectionKorv, "GPUDID", deviceId), 16, false);
    ini.WriteKey(PrepareKey(ini, kSectionKorv, "Initialized", 1), 10, false);
    ini.WriteKey(PrepareKey(ini, kSectionKorv, "Synchronize", 1), 10, false);
    ini.WriteKey(PrepareKey(ini, kSectionKorv, "AutoOverClock", 0), 10, false);
    ini.WriteKey(PrepareKey(ini, kSectionKorv, "StartupMinimize", 0), 10, false);
    ini.WriteKey(PrepareKey(ini, kSectionWindowsStartup, "AutoRun", 0), 10, true);

    const char* const sections[] = {kSectionDefault, kSectionStartOC, kProfileSections[0],
                                    kProfileSections[1], kProfileSections[2]};
    IniSection rec = offsetFamily ? OffsetSectionRecord("") : ClockSectionRecord("");
    const int count = static_cast<int>(sizeof sections / sizeof sections[0]);
    for (int i = 0; i < count; ++i) {
        Copy(rec.szSection, sections[i]);
        if (offsetFamily)
            ini.WriteOffsetSection(rec, true);
        else // the clock family's last profile gets no line break after it
            ini.WriteClockSection(rec, i != count - 1);
    }

    int registered = hooks.registerAutoRun ? hooks.registerAutoRun() : 1;
    if (registered != 0 && hooks.showMessage)
        hooks.showMessage(kMsgAutoRunFail);
    if (ini.WriteKey(PrepareKey(ini, kSectionWindowsStartup, "AutoRun", registered == 0 ? 1 : 0), 10,
                     false) != 0 &&
        hooks.showMessage)
        hooks.showMessage(kMsgSaveAutoRunFail);
}

} // namespace

std::string CfgFileName(WORD deviceId)
{
    char name[32];
    std::snprintf(name, sizeof name, "Korv_DID%04X.cfg", static_cast<unsigned>(deviceId));
    return name;
}

IniSection OffsetSectionRecord(const char* section)
{
    IniSection rec;
    std::memset(&rec, 0, sizeof rec);
    Copy(rec.szSection, section);
    Copy(rec.szKey[kSlotCoreOffset], "CoreOffset");
    Copy(rec.szKey[kSlotMemOffset], "MemOffset");
    Copy(rec.szKey[kSlotPower], "Power");
    Copy(rec.szKey[kSlotFanSpeed], "FanSpeed");
    Copy(rec.szKey[kSlotFanMode], "FanMode");
    Copy(rec.szKey[kSlotFrame], "Frame");
    return rec;
}

IniSection ClockSectionRecord(const char* section)
{
    IniSection rec;
    std::memset(&rec, 0, sizeof rec);
    Copy(rec.szSection, section);
    Copy(rec.szKey[kSlotShaderClock], "ShaderClock");
    Copy(rec.szKey[kSlotEngineClock], "EngineClock");
    Copy(rec.szKey[kSlotMemoryClock], "MemoryClock");
    Copy(rec.szKey[kSlotFanSpeed], "FanSpeed");
    Copy(rec.szKey[kSlotFanMode], "FanMode");
    Copy(rec.szKey[kSlotEngineShaderLock], "EngineShaderLock");
    Copy(rec.szKey[kSlotNVVDD], "NVVDD");
    return rec;
}

void InitConfigOffset(const char* cfgFile, WORD deviceId, StartupOptions& options, const StartupHooks& hooks)
{
    InitConfig(true, cfgFile, deviceId, options, hooks);
}

void InitConfigClock(const char* cfgFile, WORD deviceId, StartupOptions& options, const StartupHooks& hooks)
{
    InitConfig(false, cfgFile, deviceId, options, hooks);
}

void SaveDefaultsOffset(const char* cfgFile, const DefaultRows& rows)
{
    IniFile ini(cfgFile);
    IniSection rec = OffsetSectionRecord(kSectionDefault);
    rec.nValue[kSlotCoreOffset] = rows.nRow1;
    rec.nValue[kSlotMemOffset] = rows.nRow2;
    rec.nValue[kSlotPower] = rows.nRow4;
    rec.nValue[kSlotFanSpeed] = rows.nRow5;
    rec.nValue[kSlotFanMode] = rows.bFanAuto != 1 ? 1 : 0;
    rec.nValue[kSlotFrame] = 0; // the frame target is not part of the card's own values
    ini.WriteOffsetSection(rec, true);
    Copy(rec.szSection, kSectionStartOC);
    ini.WriteOffsetSection(rec, false);
}

void SaveDefaultsClock(const char* cfgFile, const DefaultRows& rows)
{
    IniFile ini(cfgFile);
    IniSection rec = ClockSectionRecord(kSectionDefault);
    rec.nValue[kSlotEngineClock] = rows.nRow1;
    rec.nValue[kSlotShaderClock] = rows.nRow2;
    rec.nValue[kSlotMemoryClock] = rows.nRow3;
    rec.nValue[kSlotNVVDD] = rows.nRow4;
    rec.nValue[kSlotFanSpeed] = rows.nRow5;
    rec.nValue[kSlotFanMode] = rows.bFanAuto != 1 ? 1 : 0;
    rec.nValue[kSlotEngineShaderLock] = 1;
    ini.WriteClockSection(rec, true);
    Copy(rec.szSection, kSectionStartOC);
    ini.WriteClockSection(rec, false);
}

} // namespace config

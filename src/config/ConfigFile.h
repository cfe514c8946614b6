// The per-card configuration file "Korv_DID%04X.cfg": its name, the key names of the two card
// families' value sections, and the start-up routines that load it or create it on a first start.
// The main window's InitConfig*/SaveDefaults* members hand their state to these.
#pragma once

#include "config/IniSection.h"
#include "platform/os/WinTypes.h"

#include <functional>
#include <string>

namespace config {

constexpr char kSectionKorv[] = "Korv";
constexpr char kSectionWindowsStartup[] = "Windows Startup";
constexpr char kSectionDefault[] = "Default";
constexpr char kSectionStartOC[] = "Start_OC";
constexpr const char* kProfileSections[3] = {"Profile1", "Profile2", "Profile3"};

constexpr char kMsgAutoRunFail[] = "Set Windows StartUp Korv Auto Run Fail!";
constexpr char kMsgSaveAutoRunFail[] = "Save configuration of auto run to file fail!";

// "Korv_DID1180.cfg" for the device 0x1180.
std::string CfgFileName(WORD deviceId);

// A zeroed section record named `section` with the key names of a family at their slots.
IniSection OffsetSectionRecord(const char* section);
IniSection ClockSectionRecord(const char* section);

// The start-up options the main window keeps from the file.
struct StartupOptions
{
    int bCfgInitialized = 0;
    int bAutoOverClock = 0;
    int bStartupMinimize = 0;
    int bSynchronize = 1;
};

// What the routines need from outside the configuration: registering the program to start with
// the desktop session (0 = success) and showing a notice to the user.
struct StartupHooks
{
    std::function<int()> registerAutoRun;
    std::function<void(const char*)> showMessage;
};

// Loads section "Korv" when the file was initialised ("Initialized" = 1); otherwise writes the
// whole file afresh with the family's value sections, registers the program to start with the
// session and stores the outcome in "AutoRun".
void InitConfigOffset(const char* cfgFile, WORD deviceId, StartupOptions& options, const StartupHooks& hooks);
void InitConfigClock(const char* cfgFile, WORD deviceId, StartupOptions& options, const StartupHooks& hooks);

// The rows as read from the card on a first start, stored as "Default" and "Start_OC".
struct DefaultRows
{
    int nRow1 = 0, nRow2 = 0, nRow3 = 0, nRow4 = 0, nRow5 = 0;
    int bFanAuto = 1;
};

void SaveDefaultsOffset(const char* cfgFile, const DefaultRows& rows);
void SaveDefaultsClock(const char* cfgFile, const DefaultRows& rows);

} // namespace config

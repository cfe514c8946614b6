// Dialog templates: the controls each window lists. The windows place, size and style their
// controls themselves at start-up, so the rectangles here are only the controls' first places.
#include "res/DialogTemplates.h"

#include "platform/wnd/DialogTemplate.h"
#include "platform/wnd/Messages.h"
#include "res/Resource.h"

namespace res {
namespace {

constexpr DWORD kPopup = WS_POPUP | DS_SETFONT;
constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kText = WS_CHILD | WS_VISIBLE | SS_LEFT;
constexpr DWORD kNotifyStatic = WS_CHILD | WS_VISIBLE | SS_NOTIFY;

ControlTemplate Button(const char* text, UINT id)
{
    return {"Button", text, id, kButton, CRect(0, 0, 20, 14)};
}
ControlTemplate Text(const char* text, UINT id)
{
    return {"Static", text, id, kText, CRect(0, 0, 30, 12)};
}
ControlTemplate Picture(UINT id, UINT bitmap)
{
    return {"Static", "", id, WS_CHILD | WS_VISIBLE | SS_BITMAP, CRect(0, 0, 10, 10), bitmap};
}

DialogTemplate MainWindow()
{
    DialogTemplate t;
    t.id = IDD_KORVAX_DIALOG;
    // A popup without caption or border that has its own taskbar button.
    t.style = kPopup | WS_MINIMIZEBOX | WS_SYSMENU;
    t.exStyle = WS_EX_APPWINDOW;
    t.rect = CRect(0, 0, 649, 413);
    t.caption = "Korvax";
    auto& c = t.controls;
    c.push_back(Button("Min", IDC_BTN_MIN));
    c.push_back(Button("X", IDC_BTN_CLOSE));
    c.push_back(Button("2%", IDC_BTN_STEP2));
    c.push_back(Button("5%", IDC_BTN_STEP5));
    c.push_back(Button("10%", IDC_BTN_STEP10));
    c.push_back(Button("Easy Mode", IDC_BTN_EASY));
    c.push_back(Button("Advance", IDC_BTN_ADVANCE));
    c.push_back(Button("Update Bios", IDC_BTN_BIOS));
    c.push_back(Button("Info", IDC_BTN_INFO));
    c.push_back(Button("Set", IDC_BTN_SET));
    c.push_back(Button("Apply", IDC_BTN_APPLY));
    c.push_back(Button("Reset", IDC_BTN_RESET));
    c.push_back({"Static", "", IDC_PLOT_CORE, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(168, 64, 338, 131)});
    c.push_back({"Static", "", IDC_PLOT_MEM, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(383, 64, 553, 131)});
    c.push_back(Picture(IDC_BMP_EASY, IDB_TITLE_EASY));
    c.push_back(Picture(IDC_BMP_ADVANCE, IDB_TITLE_ADVANCE));
    c.push_back(Text("Max", IDC_LBL_PLOT1_MAX));
    c.push_back(Text("Min", IDC_LBL_PLOT1_MIN));
    c.push_back(Text("Core", IDC_LBL_CORE_CLOCK));
    c.push_back(Text("Max", IDC_LBL_PLOT2_MAX));
    c.push_back(Text("Min", IDC_LBL_PLOT2_MIN));
    c.push_back(Text("Mem", IDC_LBL_MEM_CLOCK));
    c.push_back(Text("", IDC_LBL_CARD_INFO));
    static const char* const kReduce[] = {"Rd_1", "Rd_2", "Rd_3", "Rd_4", "Rd_5"};
    static const char* const kAdd[] = {"Ad_1", "Ad_2", "Ad_3", "Ad_4", "Ad_5"};
    static const char* const kName[] = {"Name1", "Name2", "Name3", "Name4", "Name5"};
    static const char* const kValue[] = {"V1", "V2", "V3", "V4", "V5"};
    static const char* const kUnit[] = {"Unit1", "Unit2", "Unit3", "Unit4", "Unit5"};
    for (UINT i = 0; i < 5; ++i) {
        c.push_back(Button(kReduce[i], IDC_BTN_REDUCE1 + i));
        c.push_back({"Static", "", IDC_SLIDER1 + i, kNotifyStatic | WS_TABSTOP, CRect(0, 0, 96, 6)});
        c.push_back(Button(kAdd[i], IDC_BTN_ADD1 + i));
        c.push_back(Text(kName[i], IDC_LBL_ROW_NAME1 + i));
        c.push_back(Picture(IDC_BMP_VALUE_BOX1 + i, IDB_VALUE_BOX));
        c.push_back(Text(kValue[i], IDC_LBL_ROW_VALUE1 + 2 * i));
        c.push_back(Text(kUnit[i], IDC_LBL_ROW_UNIT1 + 2 * i));
    }
    c.push_back(Picture(IDC_BMP_BRACKET, IDB_ROW_BRACKET));
    c.push_back(Button("Lock", IDC_BTN_LOCK));
    c.push_back(Button("A/M", IDC_BTN_FAN_MODE));
    c.push_back(Text("Profiles", IDC_LBL_PROFILES));
    c.push_back(Picture(IDC_BMP_PROFILE_LEFT, IDB_PROFILE_SIDE));
    c.push_back(Button("1", IDC_BTN_PROFILE1));
    c.push_back(Button("2", IDC_BTN_PROFILE1 + 1));
    c.push_back(Button("3", IDC_BTN_PROFILE1 + 2));
    c.push_back(Picture(IDC_BMP_PROFILE_RIGHT, IDB_PROFILE_SIDE));
    c.push_back(Button("Save", IDC_BTN_SAVE));
    c.push_back(Button("Load", IDC_BTN_LOAD));
    c.push_back(Text("Temp", IDC_LBL_TEMP));
    return t;
}

DialogTemplate MessageDialog()
{
    DialogTemplate t;
    t.id = IDD_DLG_MSG;
    t.style = kPopup | DS_CENTER;
    t.rect = CRect(0, 0, 351, 127);
    t.controls.push_back({"Button", "Yes", IDOK, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                          CRect(94, 83, 166, 109)});
    t.controls.push_back({"Button", "No", IDCANCEL, kButton, CRect(212, 83, 284, 109)});
    t.controls.push_back({"Static", "", IDC_MSG_TEXT, kText, CRect(93, 17, 335, 82)});
    return t;
}

} // namespace

void RegisterDialogTemplates()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    wnd::RegisterDialogTemplate(MainWindow());
    wnd::RegisterDialogTemplate(MessageDialog());
}

} // namespace res

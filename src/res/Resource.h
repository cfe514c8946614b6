// Resource ids: dialogs, bitmaps, icons, the menu and the controls of every window.
#pragma once

// Dialogs
#define IDD_KORVAX_DIALOG 102
#define IDD_DLG_INFO 130
#define IDD_DLG_SETTING 132
#define IDD_DLG_BIOS 135
#define IDD_DLG_MSG 143

// Application icon and tray menu
#define IDR_MAINFRAME 128
#define IDR_MENU_TRAY 152
#define ID_TRAY_OPEN 32771
#define ID_TRAY_EXIT 32772

// Bitmaps
#define IDB_MAIN_SKIN 129
#define IDB_INFO_SKIN 131
#define IDB_SETTING_SKIN 133
#define IDB_BIOS_SKIN 134
#define IDB_COMBO_ARROW 136
#define IDB_TITLE_ADVANCE 141
#define IDB_TITLE_EASY 142
#define IDB_MSG_SKIN 144
#define IDB_PROFILE_SIDE 147
#define IDB_ROW_BRACKET 148
#define IDB_VALUE_BOX 149
#define IDB_SLIDER_CHANNEL 150
#define IDB_SLIDER_ACTIVE 151

// Main window controls
#define IDC_BTN_MIN 1000
#define IDC_BTN_CLOSE 1001
#define IDC_BTN_INFO 1002
#define IDC_BTN_SET 1003
#define IDC_BTN_APPLY 1004
#define IDC_BTN_RESET 1005
#define IDC_BTN_EASY 1006
#define IDC_BTN_ADVANCE 1007
#define IDC_BTN_BIOS 1008
#define IDC_BTN_STEP2 1009
#define IDC_BTN_STEP5 1010
#define IDC_BTN_STEP10 1011
#define IDC_PLOT_CORE 1025
#define IDC_PLOT_MEM 1026
#define IDC_BMP_EASY 1029
#define IDC_BMP_ADVANCE 1030
#define IDC_LBL_PLOT1_MAX 1031
#define IDC_LBL_PLOT1_MIN 1032
#define IDC_LBL_PLOT2_MAX 1033
#define IDC_LBL_PLOT2_MIN 1034
#define IDC_LBL_CORE_CLOCK 1035
#define IDC_LBL_MEM_CLOCK 1036
#define IDC_LBL_CARD_INFO 1037
#define IDC_BTN_REDUCE1 1039    // rows 1..5: 1039..1043
#define IDC_BTN_ADD1 1044       // rows 1..5: 1044..1048
#define IDC_SLIDER1 1049        // rows 1..5: 1049..1053
#define IDC_LBL_ROW_NAME1 1054  // rows 1..5: 1054..1058
#define IDC_BMP_VALUE_BOX1 1059 // rows 1..5: 1059..1063
#define IDC_LBL_ROW_VALUE1 1064 // rows 1..5: 1064, 1066, ..., 1072
#define IDC_LBL_ROW_UNIT1 1065  // rows 1..5: 1065, 1067, ..., 1073
#define IDC_BMP_BRACKET 1074
#define IDC_BTN_LOCK 1075
#define IDC_BTN_FAN_MODE 1076
#define IDC_LBL_PROFILES 1077
#define IDC_BMP_PROFILE_LEFT 1078
#define IDC_BMP_PROFILE_RIGHT 1079
#define IDC_BTN_PROFILE1 1080 // 1080..1082
#define IDC_BTN_SAVE 1083
#define IDC_BTN_LOAD 1084
#define IDC_LBL_TEMP 1085

// Message dialog
#define IDC_MSG_TEXT 1037

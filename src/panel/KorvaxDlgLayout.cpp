// Main window: where every control sits, its icons and label styles, and the two panel modes.
#include "panel/KorvaxDlg.h"

#include "res/Resource.h"
#include "res/SkinText.h"

namespace {

struct Place
{
    int id;
    int x, y, width, height;
};

// Client-area rectangles; the rows are 17 pixels apart from y = 187.
constexpr Place kPlaces[] = {
    {IDC_BTN_MIN, 590, 42, 24, 22},           {IDC_BTN_CLOSE, 618, 42, 24, 22},
    {IDC_BTN_INFO, 57, 76, 56, 32},           {IDC_BTN_SET, 58, 110, 54, 24},
    {IDC_BTN_APPLY, 58, 270, 56, 30},         {IDC_BTN_RESET, 58, 302, 56, 24},
    {IDC_BTN_EASY, 152, 180, 168, 40},        {IDC_BTN_ADVANCE, 152, 222, 168, 40},
    {IDC_BTN_BIOS, 143, 311, 92, 26},         {IDC_BTN_STEP2, 337, 202, 86, 70},
    {IDC_BTN_STEP5, 427, 200, 84, 72},        {IDC_BTN_STEP10, 517, 200, 86, 72},
    {IDC_PLOT_CORE, 168, 64, 170, 67},        {IDC_PLOT_MEM, 383, 64, 170, 67},
    {IDC_BMP_EASY, 342, 151, 161, 33},        {IDC_BMP_ADVANCE, 343, 152, 199, 32},
    {IDC_LBL_PLOT1_MAX, 274, 46, 30, 20},     {IDC_LBL_PLOT1_MIN, 316, 46, 30, 20},
    {IDC_LBL_CORE_CLOCK, 348, 90, 30, 20},    {IDC_LBL_PLOT2_MAX, 489, 46, 30, 20},
    {IDC_LBL_PLOT2_MIN, 531, 46, 30, 20},     {IDC_LBL_MEM_CLOCK, 563, 90, 30, 20},
    {IDC_BMP_BRACKET, 589, 189, 10, 28},      {IDC_BTN_FAN_MODE, 599, 256, 10, 12},
    {IDC_LBL_PROFILES, 335, 272, 60, 26},     {IDC_BMP_PROFILE_LEFT, 385, 273, 17, 13},
    {IDC_BTN_PROFILE1, 402, 272, 16, 14},     {IDC_BTN_PROFILE1 + 1, 417, 272, 16, 14},
    {IDC_BTN_PROFILE1 + 2, 432, 272, 18, 14}, {IDC_BMP_PROFILE_RIGHT, 456, 273, 17, 13},
    {IDC_BTN_SAVE, 473, 272, 20, 14},         {IDC_BTN_LOAD, 493, 272, 26, 14},
    {IDC_LBL_TEMP, 73, 186, 30, 26},          {IDC_LBL_CARD_INFO, 270, 318, 324, 14},
};

constexpr int kRowTop = 170;
constexpr int kRowPitch = 17;
constexpr int kLockYOffsetFamily = 222;
constexpr int kLockYClockFamily = 196;

struct IconPair
{
    int id;
    const char* normal;
    const char* lit;
};

constexpr IconPair kIcons[] = {
    {IDC_BTN_MIN, "Min.ICO", "MinH.ICO"},
    {IDC_BTN_CLOSE, "Close.ICO", "CloseH.ICO"},
    {IDC_BTN_EASY, "EasyMode.ICO", "EasyModeH.ICO"},
    {IDC_BTN_ADVANCE, "AdvanceMode.ICO", "AdvanceModeH.ICO"},
    {IDC_BTN_BIOS, "UpdateBios.ICO", "UpdateBiosH.ICO"},
    {IDC_BTN_INFO, "Info.ICO", "InfoH.ICO"},
    {IDC_BTN_SET, "Setting.ICO", "SettingH.ICO"},
    {IDC_BTN_APPLY, "Apply.ICO", "ApplyH.ICO"},
    {IDC_BTN_RESET, "Reset.ICO", "ResetH.ICO"},
    {IDC_BTN_SAVE, "Save.ICO", "SaveH.ICO"},
    {IDC_BTN_LOAD, "Load.ICO", "LoadH.ICO"},
};

// Controls that show only in Advance mode (the bracket joins them in the clock family).
bool IsAdvanceControl(int id)
{
    return (id >= IDC_BTN_REDUCE1 && id <= IDC_LBL_ROW_UNIT1 + 8) || id == IDC_BMP_ADVANCE ||
           (id >= IDC_BTN_LOCK && id <= IDC_BTN_LOAD);
}

} // namespace

void CKorvaxDlg::ShowEasyControls(BOOL bShow)
{
    const int cmd = bShow ? SW_SHOW : SW_HIDE;
    for (int id : {IDC_BMP_EASY, IDC_BTN_STEP2, IDC_BTN_STEP5, IDC_BTN_STEP10})
        if (CWnd* w = GetDlgItem(id))
            w->ShowWindow(cmd);
}

void CKorvaxDlg::ShowAdvanceControls(BOOL bShow)
{
    for (CWnd* w : GetChildren()) {
        const int id = w->GetDlgCtrlID();
        if (IsAdvanceControl(id))
            w->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
        else if (id == IDC_BMP_BRACKET)
            w->ShowWindow(bShow && m_nFamily == kFamilyClock ? SW_SHOW : SW_HIDE);
    }
}

void CKorvaxDlg::OnEasyMode()
{
    m_nMode = kModeEasy;
    ShowEasyControls(TRUE);
    ShowAdvanceControls(FALSE);
}

void CKorvaxDlg::OnAdvanceMode()
{
    m_nMode = kModeAdvance;
    ShowEasyControls(FALSE);
    ShowAdvanceControls(TRUE);
}

void CKorvaxDlg::LoadButtonIcons()
{
    for (const IconPair& icon : kIcons)
        if (auto* button = static_cast<CButtonST*>(GetDlgItem(icon.id)))
            button->SetIcon(m_strResourceDir + icon.lit, m_strResourceDir + icon.normal);
    for (int i = 0; i < 5; ++i) {
        m_btnReduce[i].SetIcon(m_strResourceDir + "ReduceH.ICO", m_strResourceDir + "Reduce.ICO");
        m_btnAdd[i].SetIcon(m_strResourceDir + "AddH.ICO", m_strResourceDir + "Add.ICO");
    }
    UpdateStepIcons();
}

void CKorvaxDlg::UpdateStepIcons()
{
    const char* files[3] = {"2.ICO", "5.ICO", "10.ICO"};
    if (m_nStep == 1)
        files[0] = "2H.ICO";
    else if (m_nStep == 2)
        files[1] = "5H.ICO";
    else if (m_nStep == 3)
        files[2] = "10H.ICO";
    CButtonST* buttons[3] = {&m_btnStep2, &m_btnStep5, &m_btnStep10};
    for (int i = 0; i < 3; ++i)
        buttons[i]->SetIcon(m_strResourceDir + files[i], m_strResourceDir + files[i]);
}

void CKorvaxDlg::LayoutControls()
{
    for (const Place& p : kPlaces)
        if (CWnd* w = GetDlgItem(p.id))
            w->MoveWindow(p.x, p.y, p.width, p.height, TRUE);
    for (int i = 1; i <= 5; ++i) {
        const int y = kRowTop + kRowPitch * i;
        const std::pair<int, Place> row[] = {
            {IDC_BTN_REDUCE1 + i - 1, {0, 329, y, 14, 14}},
            {IDC_SLIDER1 + i - 1, {0, 343, y + 4, 96, 6}},
            {IDC_BTN_ADD1 + i - 1, {0, 438, y + 1, 14, 14}},
            {IDC_LBL_ROW_NAME1 + i - 1, {0, 454, y, 120, 26}},
            {IDC_BMP_VALUE_BOX1 + i - 1, {0, 533, y, 54, 14}},
            {IDC_LBL_ROW_VALUE1 + 2 * (i - 1), {0, 536, y, 26, 12}},
            {IDC_LBL_ROW_UNIT1 + 2 * (i - 1), {0, 563, y, 26, 12}},
        };
        for (const auto& [id, p] : row)
            if (CWnd* w = GetDlgItem(id))
                w->MoveWindow(p.x, p.y, p.width, p.height, TRUE);
    }
    m_btnLock.MoveWindow(599, m_nFamily == kFamilyOffset ? kLockYOffsetFamily : kLockYClockFamily, 10, 12,
                         TRUE);
}

void CKorvaxDlg::SetupLabels()
{
    struct Style
    {
        CLabel* label;
        int size;
        COLORREF colour;
    };
    const COLORREF grey = RGB(200, 200, 200);
    const Style styles[] = {
        {&m_lblPlot1Max, 9, RGB(240, 240, 240)},
        {&m_lblPlot1Min, 9, grey},
        {&m_lblCoreClock, 9, grey},
        {&m_lblPlot2Max, 9, grey},
        {&m_lblPlot2Min, 9, grey},
        {&m_lblMemClock, 9, grey},
        {&m_lblCardInfo, 10, grey},
        {&m_lblProfiles, 10, grey},
    };
    for (const Style& s : styles)
        s.label->SetFontName(kSkinFontFace).SetFontSize(s.size).SetTextColor(s.colour);
    for (CLabel* row : {m_lblRowName, m_lblRowValue, m_lblRowUnit})
        for (int i = 0; i < 5; ++i)
            row[i].SetFontName(kSkinFontFace).SetFontSize(9).SetTextColor(grey);
    m_lblTemp.SetFontName(kSkinFontFace).SetFontSize(18).SetTextColor(RGB(255, 255, 255));

    m_lblProfiles.SetWindowText("PROFILES");
    m_lblTemp.SetWindowText("0");
}

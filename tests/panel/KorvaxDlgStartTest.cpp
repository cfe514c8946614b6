// The main window's start: family, configuration file name, card line, start-up failures, the
// window's size, mode and timers.
#include "platform/wnd/TimerQueue.h"
#include "res/Resource.h"
#include "tests/panel/PanelFixture.h"
#include "tests/support/WndHarness.h"

#include <QTimer>

namespace {

using test::PanelTest;

TEST_F(PanelTest, OffsetCardOpensInEasyModeWithItsCardLineAndTimers)
{
    Open("offset");
    EXPECT_TRUE(shown.empty()) << shown.front().text;
    EXPECT_EQ(dlg->m_nFamily, CKorvaxDlg::kFamilyOffset);
    EXPECT_STREQ(dlg->m_strCfgFile, "Korv_DID1180.cfg");
    CString line;
    dlg->m_lblCardInfo.GetWindowText(line);
    EXPECT_STREQ(line, "Simulated GeForce GTX 680\t2048 MB   GDDR5");

    CRect rc;
    dlg->GetClientRect(&rc);
    EXPECT_EQ(rc, CRect(0, 0, 649, 413));
    EXPECT_EQ(dlg->m_nMode, CKorvaxDlg::kModeEasy);
    EXPECT_TRUE(dlg->GetDlgItem(IDC_BTN_STEP2)->IsWindowVisible());
    EXPECT_TRUE(dlg->GetDlgItem(IDC_BMP_EASY)->IsWindowVisible());
    EXPECT_FALSE(dlg->GetDlgItem(IDC_BTN_REDUCE1)->IsWindowVisible());
    EXPECT_FALSE(dlg->GetDlgItem(IDC_BMP_BRACKET)->IsWindowVisible());

    const std::pair<UINT_PTR, UINT> timers[] = {{1, 500}, {2, 500}, {3, 200}, {4, 10}};
    for (auto [id, period] : timers)
        EXPECT_EQ(wnd::TimerQueue::Interval(dlg->m_hWnd, id), period) << "timer " << id;
}

TEST_F(PanelTest, TheFirstStartCreatesTheCardsConfigurationBesideTheProgramAndTheNextOneKeepsIt)
{
    Open("offset");
    const std::string path = appDir.file("Korv_DID1180.cfg");
    const std::string first = test::TempDir::Read(path);
    for (const char* section : {"[Korv]", "[Windows Startup]", "[Default]", "[Start_OC]", "[Profile1]"})
        EXPECT_NE(first.find(section), std::string::npos) << section;
    EXPECT_NE(first.find("Initialized=1"), std::string::npos);
    dlg.reset();
    Open("offset");
    EXPECT_EQ(test::TempDir::Read(path), first);
    EXPECT_TRUE(shown.empty());
}

TEST_F(PanelTest, TheDeviceIdDecidesTheFamilyAndNamesTheConfigurationFile)
{
    struct Case
    {
        const char* family;
        const char* device;
        int expectedFamily;
        const char* file;
    } cases[] = {
        {"offset", "0x1180", CKorvaxDlg::kFamilyOffset, "Korv_DID1180.cfg"},
        {"offset", "0x1189", CKorvaxDlg::kFamilyOffset, "Korv_DID1189.cfg"},
        {"offset", "0x1188", CKorvaxDlg::kFamilyClock, "Korv_DID1188.cfg"},
        {"clock", "0x1080", CKorvaxDlg::kFamilyClock, "Korv_DID1080.cfg"},
        {"clock", "0x0", CKorvaxDlg::kFamilyClock, "Korv_DID0000.cfg"},
        {"clock", "0x10ab", CKorvaxDlg::kFamilyClock, "Korv_DID10AB.cfg"},
    };
    for (const Case& c : cases) {
        Open(Scenario(std::string("[card]\nfamily = ") + c.family + "\ndevice-id = " + c.device + "\n"));
        EXPECT_EQ(dlg->m_nFamily, c.expectedFamily) << c.device;
        EXPECT_STREQ(dlg->m_strCfgFile, c.file) << c.device;
        dlg.reset();
    }
}

TEST_F(PanelTest, ACardWithoutMemoryGivesItsNameAndATabOnly)
{
    Open(Scenario("[card]\nfamily = clock\nname = Bare card\nmemory-mb = 0\n"));
    CString line;
    dlg->m_lblCardInfo.GetWindowText(line);
    EXPECT_STREQ(line, "Bare card\t");
}

TEST_F(PanelTest, NoCardShowsTheEnumerationFailureAndGoesOnAsTheClockFamily)
{
    Open("none");
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, "NvAPI_EnumPhysicalGPUs failed");
    EXPECT_TRUE(shown[0].standardBox);
    EXPECT_EQ(shown[1].text, "NvAPI_EnumPhysicalGPUs failed");
    EXPECT_FALSE(shown[1].standardBox) << "then the skinned message dialog";
    EXPECT_EQ(shown[2].text, "Application will not work normally!");
    EXPECT_EQ(dlg->m_nFamily, CKorvaxDlg::kFamilyClock);
    EXPECT_STREQ(dlg->m_strCfgFile, "Korv_DID0000.cfg");
    EXPECT_TRUE(dlg->IsWindowVisible());
}

TEST_F(PanelTest, AdvanceAndEasyModeSwapTheirControls)
{
    Open("clock");
    test::Click(dlg->GetDlgItem(IDC_BTN_ADVANCE), 10, 10);
    EXPECT_EQ(dlg->m_nMode, CKorvaxDlg::kModeAdvance);
    EXPECT_FALSE(dlg->GetDlgItem(IDC_BTN_STEP2)->IsWindowVisible());
    EXPECT_TRUE(dlg->GetDlgItem(IDC_BTN_REDUCE1)->IsWindowVisible());
    EXPECT_TRUE(dlg->GetDlgItem(IDC_BMP_BRACKET)->IsWindowVisible()) << "the bracket joins rows 1 and 2";
    test::Click(dlg->GetDlgItem(IDC_BTN_EASY), 10, 10);
    EXPECT_EQ(dlg->m_nMode, CKorvaxDlg::kModeEasy);
    EXPECT_TRUE(dlg->GetDlgItem(IDC_BTN_STEP2)->IsWindowVisible());
    EXPECT_FALSE(dlg->GetDlgItem(IDC_BMP_BRACKET)->IsWindowVisible());
}

TEST_F(PanelTest, EscapeOnAFocusedButtonAndTheCloseButtonEndTheWindow)
{
    ASSERT_EQ(sim.Start("offset"), NVAPI_OK);
    wnd::SetModalHook(nullptr); // run the main window for real
    CKorvaxDlg escape;
    QTimer::singleShot(0, [&escape]() {
        escape.GetDlgItem(IDC_BTN_APPLY)->SetFocus();
        test::Key(&escape, VK_ESCAPE);
    });
    EXPECT_EQ(escape.DoModal(), IDCANCEL);

    CKorvaxDlg close;
    QTimer::singleShot(0, [&close]() { test::Click(close.GetDlgItem(IDC_BTN_CLOSE), 5, 5); });
    EXPECT_EQ(close.DoModal(), IDCANCEL);
}

} // namespace

namespace {

using test::PanelTest;

TEST_F(PanelTest, TheGraphsAndTheRowSlidersAreDrawnOnTheSkin)
{
    Open("offset");
    test::Click(dlg->GetDlgItem(IDC_BTN_ADVANCE), 10, 10);
    const QImage shot = test::Render(dlg.get());
    // The graphs draw their grey grid over black; the slider channel of row 1 fills its 96 x 6 place.
    for (QRect graph : {QRect(168, 64, 170, 67), QRect(383, 64, 170, 67)}) {
        int grid = 0;
        for (int y = graph.top(); y <= graph.bottom(); ++y)
            for (int x = graph.left(); x <= graph.right(); ++x)
                if (test::PixelAt(shot, x, y) == (qRgb(90, 90, 90) & 0xFFFFFF))
                    ++grid;
        EXPECT_GT(grid, 200) << "grid lines in the graph at x " << graph.left();
    }
    const QImage channel = QImage(":/korvax/bitmaps/150.png").convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(test::PixelAt(shot, 343 + 50, 191 + 3), test::PixelAt(channel, 50, 3));
}

} // namespace

// The message dialog: its answers, its look, and what it does without its icons.
#include "dialogs/DlgMsg.h"
#include "platform/os/ModulePath.h"
#include "res/DialogTemplates.h"
#include "tests/support/TempDir.h"
#include "tests/support/WndHarness.h"

#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

struct DlgMsgTest : ::testing::Test
{
    test::TempDir appDir;
    void SetUp() override
    {
        res::RegisterDialogTemplates();
        // An executable folder whose Resource/ holds the real icons.
        const std::string bin = std::getenv("KORVAX_BIN_DIR") ? std::getenv("KORVAX_BIN_DIR") : ".";
        std::filesystem::copy(bin + "/Resource", appDir.file("Resource"));
        os::OverrideExecutablePath(appDir.file("korvax"));
    }
    void TearDown() override { os::OverrideExecutablePath(""); }

    int RunWithKey(UINT vk)
    {
        CDlgMsg dlg;
        dlg.SetMessage("Question?");
        QTimer::singleShot(0, [&dlg, vk]() { test::Key(&dlg, vk); });
        return static_cast<int>(dlg.DoModal());
    }
};

TEST_F(DlgMsgTest, EnterAnswersYesAndEscapeNo)
{
    EXPECT_EQ(RunWithKey(VK_RETURN), 1);
    EXPECT_EQ(RunWithKey(VK_ESCAPE), 2);
}

TEST_F(DlgMsgTest, ClickingTheButtonsAnswers)
{
    for (auto [id, expected] : {std::pair{IDOK, 1}, std::pair{IDCANCEL, 2}}) {
        CDlgMsg dlg;
        dlg.SetMessage("Question?");
        QTimer::singleShot(0, [&dlg, id = id]() { test::Click(dlg.GetDlgItem(id), 36, 13); });
        EXPECT_EQ(dlg.DoModal(), expected);
    }
}

TEST_F(DlgMsgTest, ShowsTheTextOnItsSkinWithItsIconsAndNeverGrows)
{
    CDlgMsg dlg;
    dlg.SetMessage(
        "Please make sure the setting can use,after that to save.If you don't,may cause your system "
        "unworking!");
    QImage shot;
    QTimer::singleShot(0, [&]() {
        shot = test::Render(&dlg);
        dlg.EndDialog(IDOK);
    });
    dlg.DoModal();
    EXPECT_EQ(shot.size(), QSize(351, 127));
    EXPECT_NE(dlg.m_btnYes.GetIconIn(), nullptr);
    EXPECT_NE(dlg.m_btnNo.GetIconOut(), nullptr);
    // The lit grey of the text appears inside the message area and nowhere below it.
    int textPixels = 0;
    for (int y = 17; y < 82; ++y)
        for (int x = 93; x < 335; ++x) {
            const QRgb p = test::PixelAt(shot, x, y);
            if (qRed(p) > 150 && qGreen(p) > 150 && qBlue(p) > 150)
                ++textPixels;
        }
    EXPECT_GT(textPixels, 50);
}

TEST_F(DlgMsgTest, WithoutIconFilesTheButtonsStillAnswer)
{
    std::filesystem::remove_all(appDir.file("Resource"));
    CDlgMsg dlg;
    dlg.SetMessage("Question?");
    QTimer::singleShot(0, [&dlg]() {
        EXPECT_EQ(dlg.m_btnYes.GetIconIn(), nullptr);
        test::Click(dlg.GetDlgItem(IDCANCEL), 36, 13);
    });
    EXPECT_EQ(dlg.DoModal(), 2);
}

TEST_F(DlgMsgTest, OneDialogRunsAgainWithANewText)
{
    test::ModalAnswers answers;
    CDlgMsg dlg;
    dlg.SetMessage("first");
    dlg.DoModal();
    dlg.SetMessage("second");
    dlg.DoModal();
    EXPECT_EQ(answers.texts(), (std::vector<std::string>{"first", "second"}));
}

} // namespace

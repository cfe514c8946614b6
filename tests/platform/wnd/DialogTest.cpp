// Dialogs: templates, modal loops ended by Enter and Escape, the modal hook, Tab order and data
// exchange.
#include "platform/wnd/Dialog.h"
#include "platform/wnd/Button.h"
#include "platform/wnd/DialogTemplate.h"
#include "platform/wnd/ModalHook.h"
#include "tests/support/WndHarness.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

constexpr UINT kTemplateId = 9001;
constexpr UINT kText = 100;
constexpr UINT kOther = 101;

void RegisterTestTemplate()
{
    DialogTemplate t;
    t.id = kTemplateId;
    t.style = WS_POPUP;
    t.rect = CRect(0, 0, 200, 100);
    t.controls = {
        {"Static", "Question?", kText, WS_CHILD | WS_VISIBLE, CRect(10, 10, 190, 30)},
        {"Button", "Yes", IDOK, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, CRect(10, 60, 60, 80)},
        {"Button", "Other", kOther, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
         CRect(70, 60, 120, 80)},
        {"Button", "No", IDCANCEL, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
         CRect(130, 60, 180, 80)},
    };
    wnd::RegisterDialogTemplate(t);
}

class TestDialog : public CDialog
{
public:
    TestDialog() : CDialog(kTemplateId) { RegisterTestTemplate(); }
    int number = 0;
    CString text;
    int otherClicks = 0;

    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, kText, text); }
    BOOL OnCmdMsg(UINT id, int code) override
    {
        if (id == kOther && code == BN_CLICKED) {
            ++otherClicks;
            return TRUE;
        }
        return CDialog::OnCmdMsg(id, code);
    }
};

// Runs a modal dialog interactively and presses a key once its loop runs.
int RunWithKey(TestDialog& dlg, UINT vk, bool shift = false, UINT preTab = 0)
{
    QTimer::singleShot(0, [&dlg, vk, shift, preTab]() {
        for (UINT i = 0; i < preTab; ++i)
            test::Key(&dlg, VK_TAB, shift);
        test::Key(&dlg, vk);
    });
    return static_cast<int>(dlg.DoModal());
}

TEST(Dialog, EnterChoosesTheDefaultButtonAndEscapeCancels)
{
    TestDialog yes;
    EXPECT_EQ(RunWithKey(yes, VK_RETURN), IDOK);
    TestDialog no;
    EXPECT_EQ(RunWithKey(no, VK_ESCAPE), IDCANCEL);
    EXPECT_EQ(no.m_hWnd, nullptr) << "a modal dialog's window is gone after DoModal";
}

TEST(Dialog, TabMovesTheFocusAndEnterPressesTheFocusedButton)
{
    TestDialog dlg;
    QTimer::singleShot(0, [&dlg]() {
        EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(IDOK)) << "the first tab stop has the focus";
        test::Key(&dlg, VK_TAB);
        EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(kOther));
        test::Key(&dlg, VK_RETURN);
        test::Key(&dlg, VK_TAB, /*shift=*/true);
        test::Key(&dlg, VK_TAB, /*shift=*/true); // wraps round to the last stop
        EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(IDCANCEL));
        test::Key(&dlg, VK_RETURN);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.otherClicks, 1);
}

TEST(Dialog, TheModalHookSeesTheTextAndAnswers)
{
    test::ModalAnswers answers;
    answers.Push(IDCANCEL);
    TestDialog dlg;
    dlg.text = "Really?";
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(answers.texts().size(), 1u);
    EXPECT_EQ(answers.texts()[0], "Really?");
}

TEST(Dialog, ModelessDialogsHideOnEndAndKeepTheirWindow)
{
    TestDialog dlg;
    ASSERT_TRUE(dlg.Create(kTemplateId));
    dlg.ShowWindow(SW_SHOW);
    dlg.EndDialog(IDCANCEL);
    EXPECT_NE(dlg.m_hWnd, nullptr);
    EXPECT_FALSE(dlg.IsWindowVisible());
}

TEST(Dialog, IntegerTextExchangeKeepsTheMemberOnBadText)
{
    TestDialog dlg;
    ASSERT_TRUE(dlg.Create(kTemplateId));
    int value = 42;
    CDataExchange out(&dlg, FALSE);
    DDX_Text(&out, kText, value);
    CString shown;
    dlg.GetDlgItem(kText)->GetWindowText(shown);
    EXPECT_STREQ(shown, "42");

    struct Case
    {
        const char* text;
        int expected;
        bool failed;
    } cases[] = {
        {"17", 17, false}, {"-3", -3, false}, {"abc", 42, true}, {"", 42, true}, {"99999999999", 42, true}};
    for (const Case& c : cases) {
        value = 42;
        dlg.GetDlgItem(kText)->SetWindowText(c.text);
        CDataExchange in(&dlg, TRUE);
        DDX_Text(&in, kText, value);
        EXPECT_EQ(value, c.expected) << c.text;
        EXPECT_EQ(in.m_bFailed, c.failed) << c.text;
    }
}

} // namespace

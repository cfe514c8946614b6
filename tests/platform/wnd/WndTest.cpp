// Window layer: message order, timers on the manual clock, input routing, shapes and capture.
#include "platform/wnd/Wnd.h"
#include "platform/gdi/Gdi.h"
#include "platform/os/Clock.h"
#include "platform/wnd/Button.h"
#include "platform/wnd/Static.h"
#include "platform/wnd/TimerQueue.h"
#include "tests/support/WndHarness.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A top-level window that writes down the messages it handles.
class RecordingWnd : public CWnd
{
public:
    std::vector<std::string> log;
    BOOL onCommandResult = TRUE;

    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        switch (msg) {
        case WM_USER + 1:
            log.push_back("A");
            PostMessage(WM_USER + 2, 0, 0);
            SendMessage(WM_USER + 3, 0, 0);
            log.push_back("A-end");
            return 0;
        case WM_USER + 2:
            log.push_back("B(posted)");
            return 0;
        case WM_USER + 3:
            log.push_back("C(sent)");
            return 0;
        case WM_TIMER:
            log.push_back("timer" + std::to_string(wp));
            return 0;
        case WM_COMMAND:
            log.push_back("command " + std::to_string(LOWORD(static_cast<DWORD>(wp))) + "/" +
                          std::to_string(HIWORD(static_cast<DWORD>(wp))));
            return 0;
        case WM_LBUTTONDOWN:
            log.push_back("down " + std::to_string(GET_X_LPARAM(lp)) + "," +
                          std::to_string(GET_Y_LPARAM(lp)));
            return 0;
        default:
            return CWnd::WindowProc(msg, wp, lp);
        }
    }
};

struct WindowFixture : ::testing::Test
{
    RecordingWnd top;
    void SetUp() override
    {
        ASSERT_TRUE(top.CreateEx(0, "Test", "top", WS_POPUP, CRect(100, 100, 300, 250), nullptr, 0));
        top.ShowWindow(SW_SHOW);
    }
};

TEST_F(WindowFixture, SentMessagesRunAtOncePostedOnesAfterTheCurrentHandler)
{
    top.PostMessage(WM_USER + 1, 0, 0);
    EXPECT_TRUE(top.log.empty()) << "a posted message waits for the event loop";
    test::Pump();
    EXPECT_EQ(top.log, (std::vector<std::string>{"A", "C(sent)", "A-end", "B(posted)"}));
}

TEST_F(WindowFixture, PostedMessageToADestroyedWindowIsDropped)
{
    top.PostMessage(WM_USER + 2, 0, 0);
    top.DestroyWindow();
    test::Pump();
    EXPECT_TRUE(top.log.empty());
}

TEST_F(WindowFixture, TimersFireOnlyWhenTheClockMovesInDueOrder)
{
    top.SetTimer(1, 500);
    top.SetTimer(3, 200);
    test::Pump();
    EXPECT_TRUE(top.log.empty());
    test::Advance(1000);
    // Timers due at the same moment fire in the order they were set.
    EXPECT_EQ(top.log, (std::vector<std::string>{"timer3", "timer3", "timer1", "timer3", "timer3", "timer1",
                                                 "timer3"}));
    top.log.clear();
    top.KillTimer(3);
    test::Advance(500);
    EXPECT_EQ(top.log, (std::vector<std::string>{"timer1"}));
}

TEST_F(WindowFixture, PeriodsMissedDuringAWaitGiveOneTimerMessage)
{
    top.SetTimer(1, 100);
    Sleep(1000); // the thread is blocked: ten periods pass undelivered
    test::Advance(50);
    EXPECT_EQ(top.log, (std::vector<std::string>{"timer1"}));
}

TEST_F(WindowFixture, PeriodsAreKeptWithinTheTimerLimits)
{
    top.SetTimer(1, 1);
    top.SetTimer(2, static_cast<UINT>(-1)); // the longest period there is
    EXPECT_EQ(wnd::TimerQueue::Interval(top.m_hWnd, 1), 10u);
    EXPECT_EQ(wnd::TimerQueue::Interval(top.m_hWnd, 2), 0x7FFFFFFFu);
    test::Advance(20);
    EXPECT_EQ(top.log, (std::vector<std::string>{"timer1", "timer1"}));
}

TEST_F(WindowFixture, DestroyingAWindowStopsItsTimers)
{
    top.SetTimer(1, 10);
    top.DestroyWindow();
    test::Advance(100);
    EXPECT_TRUE(top.log.empty());
}

TEST_F(WindowFixture, ClicksGoToTheChildUnderThePointerAndPlainStaticsLetThemThrough)
{
    CButton button;
    ASSERT_TRUE(button.Create("OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 60, 30), &top, 42));
    CStatic text;
    ASSERT_TRUE(text.Create("label", WS_CHILD | WS_VISIBLE, CRect(10, 50, 100, 70), &top, 43));

    test::Click(&top, 20, 20);
    EXPECT_EQ(top.log, (std::vector<std::string>{"command 42/0"}));

    top.log.clear();
    test::Click(&top, 20, 55); // on the text: the window beneath gets the press
    EXPECT_EQ(top.log, (std::vector<std::string>{"down 20,55"}));
}

TEST_F(WindowFixture, APressThatLeavesTheButtonBeforeReleaseIsNoClick)
{
    CButton button;
    ASSERT_TRUE(button.Create("OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 60, 30), &top, 42));
    test::MouseDown(&button, 5, 5);
    EXPECT_EQ(button.GetState() & BST_PUSHED, BST_PUSHED);
    test::MouseMove(&top, 120, 120); // captured: the button sees the pointer leave
    EXPECT_EQ(button.GetState() & BST_PUSHED, 0u);
    test::MouseUp(&top, 120, 120);
    EXPECT_TRUE(top.log.empty());
}

TEST_F(WindowFixture, ADisabledChildSwallowsThePointer)
{
    CButton button;
    ASSERT_TRUE(button.Create("OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 60, 30), &top, 42));
    button.EnableWindow(FALSE);
    test::Click(&top, 20, 20);
    EXPECT_TRUE(top.log.empty());
}

TEST_F(WindowFixture, TheShapeDecidesWhereTheWindowIsHit)
{
    // A window cut to its right half: the left half belongs to whatever lies below.
    top.SetWindowRgn(CreateRectRgn(100, 0, 200, 150), TRUE);
    EXPECT_EQ(WindowFromPoint(POINT{105, 105}), nullptr);
    EXPECT_EQ(WindowFromPoint(POINT{250, 105}), top.m_hWnd);
    test::Click(&top, 5, 5);
    EXPECT_TRUE(top.log.empty());
    test::Click(&top, 150, 5);
    EXPECT_EQ(top.log, (std::vector<std::string>{"down 150,5"}));
}

TEST_F(WindowFixture, GeometryOfChildrenIsInTheirParentsClientArea)
{
    CStatic child;
    ASSERT_TRUE(child.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 20, 40, 50), &top, 7));
    CRect wr;
    child.GetWindowRect(&wr);
    EXPECT_EQ(wr, CRect(110, 120, 140, 150));
    CPoint p(0, 0);
    child.ClientToScreen(&p);
    EXPECT_EQ(p, CPoint(110, 120));
    EXPECT_EQ(top.GetDlgItem(7), &child);
    EXPECT_EQ(child.GetParent(), &top);
}

TEST_F(WindowFixture, SubclassingHandsTheWindowToTheNewObject)
{
    CStatic first;
    ASSERT_TRUE(first.Create("text", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &top, 9));
    HWND h = first.m_hWnd;
    RecordingWnd second;
    ASSERT_TRUE(second.SubclassWindow(h));
    EXPECT_EQ(CWnd::FromHandle(h), &second);
    EXPECT_EQ(first.m_hWnd, nullptr);
    CString text;
    second.GetWindowText(text);
    EXPECT_STREQ(text, "text");
}

TEST_F(WindowFixture, ACheckBoxKeepsItsCheckWhenSubclassed)
{
    CButton plain;
    ASSERT_TRUE(
        plain.Create("Check", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(0, 0, 50, 14), &top, 11));
    plain.SetCheck(BST_CHECKED);
    CButton member;
    ASSERT_TRUE(member.SubclassWindow(plain.m_hWnd));
    EXPECT_EQ(member.GetCheck(), BST_CHECKED);
}

} // namespace

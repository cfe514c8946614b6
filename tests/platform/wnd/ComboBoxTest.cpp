// Combo boxes as a user drives them: the list dropped and chosen from with the mouse, the arrow
// keys, typing in the edit field, what the parent is told, and a dialog's combo box keeping its
// items and edit field when a member object takes it over.
#include "platform/wnd/ComboBox.h"
#include "platform/gdi/Gdi.h"
#include "platform/wnd/Dialog.h"
#include "platform/wnd/DialogTemplate.h"
#include "tests/support/WndHarness.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace {

constexpr UINT kTemplate = 9010;
constexpr UINT kCombo = 1023;
constexpr UINT kNext = 1024;

class ComboDialog : public CDialog
{
public:
    explicit ComboDialog(DWORD comboStyle = CBS_DROPDOWN) : CDialog(kTemplate)
    {
        DialogTemplate t;
        t.id = kTemplate;
        t.style = WS_POPUP;
        t.rect = CRect(40, 40, 240, 200);
        t.controls = {
            {"ComboBox", "", kCombo, WS_CHILD | WS_VISIBLE | WS_TABSTOP | comboStyle, CRect(10, 10, 110, 30)},
            {"Button", "Next", kNext, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
             CRect(10, 120, 60, 140)},
        };
        wnd::RegisterDialogTemplate(t);
    }
    CComboBox combo;
    bool exchange = true;
    std::vector<int> codes; // the combo box's notifications, in order
    int oks = 0;

    void DoDataExchange(CDataExchange* pDX) override
    {
        if (exchange)
            DDX_Control(pDX, kCombo, combo);
    }
    BOOL OnCmdMsg(UINT id, int code) override
    {
        if (id == kCombo)
            codes.push_back(code);
        return CDialog::OnCmdMsg(id, code);
    }
    void OnOK() override { ++oks; }
};

CString TextOf(CWnd* w)
{
    CString s;
    if (w)
        w->GetWindowText(s);
    return s;
}

// Typing through the top-level window, as Qt delivers keys: each character's key with its text.
void Type(CWnd* w, const std::string& text)
{
    QWidget* top = w->GetTopLevelParent()->GetNativeWidget();
    for (char c : text) {
        const int up = std::toupper(static_cast<unsigned char>(c));
        const int key = std::isalnum(static_cast<unsigned char>(c)) ? up
                        : c == ' '                                  ? Qt::Key_Space
                                                                    : Qt::Key_unknown;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(c)));
        QCoreApplication::sendEvent(top, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(QChar(c)));
        QCoreApplication::sendEvent(top, &release);
    }
    test::Pump();
}

struct ComboBox : ::testing::Test
{
    ComboDialog dlg;
    void Open()
    {
        ASSERT_TRUE(dlg.Create(kTemplate));
        dlg.ShowWindow(SW_SHOW);
        test::Pump();
    }
    void AddCards(int n, int selected)
    {
        for (int i = 1; i <= n; ++i)
            dlg.combo.AddString(("GPU " + std::to_string(i)).c_str());
        dlg.combo.SetCurSel(selected);
        dlg.codes.clear();
    }
};

TEST_F(ComboBox, ADialogsComboBoxKeepsItsItemsSelectionAndEditFieldWhenSubclassed)
{
    // Regression: the default object's items and its edit field went with it when a member took over.
    dlg.exchange = false;
    Open();
    CWnd* plain = dlg.GetDlgItem(kCombo);
    ASSERT_NE(plain, nullptr);
    ::SendMessage(plain->m_hWnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("GPU 1"));
    ::SendMessage(plain->m_hWnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("GPU 2"));
    ::SendMessage(plain->m_hWnd, CB_SETCURSEL, 1, 0);
    const HWND edit = static_cast<CComboBox*>(plain)->GetEditWnd()->m_hWnd;

    ASSERT_TRUE(dlg.combo.SubclassDlgItem(kCombo, &dlg));
    EXPECT_EQ(dlg.combo.GetCount(), 2);
    EXPECT_EQ(dlg.combo.GetCurSel(), 1);
    ASSERT_NE(dlg.combo.GetEditWnd(), nullptr);
    EXPECT_EQ(dlg.combo.GetEditWnd()->m_hWnd, edit);
    EXPECT_TRUE(IsWindow(edit));
    EXPECT_STREQ(TextOf(dlg.combo.GetEditWnd()).GetString(), "GPU 2");
    EXPECT_EQ(dlg.combo.GetDlgItem(1001), dlg.combo.GetEditWnd());

    // The member works the window from now on: the list it drops shows the carried items.
    test::Click(&dlg.combo, 90, 10);
    ASSERT_TRUE(dlg.combo.GetDroppedState());
    test::Click(dlg.combo.GetListWnd(), 10, 5);
    EXPECT_EQ(dlg.combo.GetCurSel(), 0);
    EXPECT_EQ(dlg.codes, (std::vector<int>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_CLOSEUP}));

    // And back: the layer's plain object takes the state again.
    const HWND h = dlg.combo.UnsubclassWindow();
    ASSERT_TRUE(IsWindow(h));
    EXPECT_EQ(::SendMessage(h, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(::SendMessage(h, CB_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(IsWindow(edit));
}

TEST_F(ComboBox, TheMouseDropsTheListAndChoosesAnItem)
{
    Open();
    AddCards(3, 0);
    test::Click(&dlg.combo, 90, 10); // the drop button
    ASSERT_TRUE(dlg.combo.GetDroppedState());
    CWnd* list = dlg.combo.GetListWnd();
    // Right below the combo box, as wide as it, one row per item inside a one-pixel frame.
    CRect comboRect, listRect;
    dlg.combo.GetWindowRect(&comboRect);
    list->GetWindowRect(&listRect);
    EXPECT_EQ(listRect, CRect(comboRect.left, comboRect.bottom, comboRect.right,
                              comboRect.bottom + 3 * CComboBox::kItemHeight + 2));

    // The selected row is highlighted at first; then the row under the pointer, choosing nothing yet.
    auto highlighted = [list](int row) {
        const QImage shown = test::Render(list);
        const COLORREF c = GetSysColor(COLOR_HIGHLIGHT);
        return test::PixelAt(shown, shown.width() - 3, 1 + row * CComboBox::kItemHeight + 2) ==
               (qRgb(GetRValue(c), GetGValue(c), GetBValue(c)) & 0xFFFFFF);
    };
    EXPECT_TRUE(highlighted(0));
    test::MouseMove(list, 10, 1 + CComboBox::kItemHeight + 5);
    EXPECT_FALSE(highlighted(0));
    EXPECT_TRUE(highlighted(1));
    EXPECT_EQ(dlg.combo.GetCurSel(), 0);

    test::Click(list, 10, 1 + 2 * CComboBox::kItemHeight + 5); // "GPU 3"
    EXPECT_FALSE(dlg.combo.GetDroppedState());
    EXPECT_EQ(dlg.combo.GetCurSel(), 2);
    EXPECT_STREQ(TextOf(dlg.combo.GetEditWnd()).GetString(), "GPU 3");
    EXPECT_STREQ(TextOf(&dlg.combo).GetString(), "GPU 3");
    EXPECT_EQ(dlg.codes, (std::vector<int>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_CLOSEUP}));

    // Choosing the selected item again tells only the opening and closing.
    dlg.codes.clear();
    test::Click(&dlg.combo, 90, 10);
    test::Click(dlg.combo.GetListWnd(), 10, 1 + 2 * CComboBox::kItemHeight + 5);
    EXPECT_EQ(dlg.codes, (std::vector<int>{CBN_DROPDOWN, CBN_CLOSEUP}));
}

TEST_F(ComboBox, APressOutsideTheListClosesItAndChangesNothing)
{
    Open();
    AddCards(2, 1);
    for (CPoint outside : {CPoint(100, 20) /* the drop button again */, CPoint(150, 120) /* the dialog */}) {
        test::Click(&dlg.combo, 90, 10);
        ASSERT_TRUE(dlg.combo.GetDroppedState());
        test::Click(&dlg, outside.x, outside.y);
        EXPECT_FALSE(dlg.combo.GetDroppedState()) << outside.x;
        EXPECT_EQ(dlg.combo.GetCurSel(), 1);
        EXPECT_EQ(CWnd::GetCapture(), nullptr);
    }
    EXPECT_EQ(dlg.codes, (std::vector<int>{CBN_DROPDOWN, CBN_CLOSEUP, CBN_DROPDOWN, CBN_CLOSEUP}));
}

TEST_F(ComboBox, ArrowKeysStepTheSelectionAndStopAtTheEnds)
{
    Open();
    AddCards(2, 0);
    // The dialog's first focus went to the combo box's edit field.
    ASSERT_EQ(CWnd::GetFocus(), dlg.combo.GetEditWnd());
    test::Key(&dlg, VK_DOWN);
    EXPECT_EQ(dlg.combo.GetCurSel(), 1);
    EXPECT_STREQ(TextOf(dlg.combo.GetEditWnd()).GetString(), "GPU 2");
    test::Key(&dlg, VK_DOWN); // already the last
    test::Key(&dlg, VK_UP);
    test::Key(&dlg, VK_UP); // already the first
    EXPECT_EQ(dlg.combo.GetCurSel(), 0);
    EXPECT_EQ(dlg.codes, (std::vector<int>{CBN_SELCHANGE, CBN_SELCHANGE}));
}

TEST_F(ComboBox, F4OpensTheListAndEnterClosesItWithoutEndingTheDialog)
{
    Open();
    AddCards(2, 0);
    test::Key(&dlg, VK_F4);
    ASSERT_TRUE(dlg.combo.GetDroppedState());
    test::Key(&dlg, VK_DOWN); // moves the selection while open
    EXPECT_EQ(dlg.combo.GetCurSel(), 1);
    test::Key(&dlg, VK_RETURN);
    EXPECT_FALSE(dlg.combo.GetDroppedState());
    EXPECT_EQ(dlg.oks, 0);
    // Closed, Enter is the dialog's again, and Tab leaves the combo box for the next control.
    test::Key(&dlg, VK_RETURN);
    EXPECT_EQ(dlg.oks, 1);
    test::Key(&dlg, VK_TAB);
    EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(kNext));
    EXPECT_EQ(dlg.combo.GetCurSel(), 1);
}

TEST_F(ComboBox, TypingReplacesTheSelectedTextAndSelectsNoItem)
{
    Open();
    AddCards(2, 1);
    CWnd* edit = dlg.combo.GetEditWnd();
    ASSERT_EQ(CWnd::GetFocus(), edit);
    // The focused field holds its whole text selected, so typing replaces it.
    EXPECT_EQ(dlg.combo.GetEditSel(), MAKELONG(0, 5));
    Type(&dlg, "abc");
    EXPECT_STREQ(TextOf(edit).GetString(), "abc");
    EXPECT_STREQ(TextOf(&dlg.combo).GetString(), "abc");
    EXPECT_EQ(dlg.combo.GetCurSel(), CB_ERR);
    EXPECT_EQ(dlg.codes, (std::vector<int>(3, CBN_EDITCHANGE)));

    test::Key(&dlg, VK_LEFT);
    test::Key(&dlg, VK_BACK); // removes the "b" before the caret
    test::Key(&dlg, VK_HOME);
    test::Key(&dlg, VK_DELETE); // removes the "a" after it
    Type(&dlg, "x");
    EXPECT_STREQ(TextOf(edit).GetString(), "xc");
    EXPECT_EQ(dlg.combo.GetEditSel(), MAKELONG(1, 1));

    // Typing with the list open follows with the first item the text begins.
    dlg.combo.SetEditSel(0, -1);
    test::Key(&dlg, VK_F4);
    Type(&dlg, "gpu 2");
    EXPECT_EQ(dlg.combo.GetCurSel(), 1);
    Type(&dlg, "x");
    EXPECT_EQ(dlg.combo.GetCurSel(), CB_ERR);

    // A press in the field puts the caret there; a press far right, after the last character.
    test::Key(&dlg, VK_ESCAPE);
    test::Click(edit, edit->GetNativeWidget()->width() - 1, 5);
    EXPECT_EQ(dlg.combo.GetEditSel(), MAKELONG(6, 6));
    test::Click(edit, 0, 5);
    EXPECT_EQ(dlg.combo.GetEditSel(), MAKELONG(0, 0));
}

TEST_F(ComboBox, WithNoItemsNothingIsSelectedAndNothingBreaks)
{
    Open();
    EXPECT_EQ(dlg.combo.GetCount(), 0);
    EXPECT_EQ(dlg.combo.GetCurSel(), CB_ERR);
    EXPECT_EQ(dlg.combo.SetCurSel(0), CB_ERR);
    CString text;
    EXPECT_EQ(dlg.combo.GetLBText(0, text), CB_ERR);
    EXPECT_EQ(dlg.combo.GetLBTextLen(0), CB_ERR);
    EXPECT_EQ(dlg.combo.DeleteString(0), CB_ERR);
    test::Key(&dlg, VK_DOWN);
    test::Key(&dlg, VK_UP);
    test::Click(&dlg.combo, 90, 10);
    ASSERT_TRUE(dlg.combo.GetDroppedState()); // one empty row
    test::Click(dlg.combo.GetListWnd(), 10, 5);
    EXPECT_FALSE(dlg.combo.GetDroppedState());
    EXPECT_EQ(dlg.combo.GetCurSel(), CB_ERR);
    EXPECT_EQ(dlg.codes, (std::vector<int>{CBN_DROPDOWN, CBN_CLOSEUP}));
    test::Render(&dlg);
}

TEST_F(ComboBox, DeletingItemsKeepsTheSelectionOnItsItem)
{
    Open();
    AddCards(3, 2);
    EXPECT_EQ(dlg.combo.DeleteString(0), 2);
    EXPECT_EQ(dlg.combo.GetCurSel(), 1);
    EXPECT_EQ(dlg.combo.DeleteString(1), 1);
    EXPECT_EQ(dlg.combo.GetCurSel(), CB_ERR);
    EXPECT_STREQ(TextOf(dlg.combo.GetEditWnd()).GetString(), "");
    dlg.combo.ResetContent();
    EXPECT_EQ(dlg.combo.GetCount(), 0);
}

TEST(ComboBoxList, ADropDownListHasNoEditFieldAndLettersChooseItems)
{
    ComboDialog dlg(CBS_DROPDOWNLIST);
    ASSERT_TRUE(dlg.Create(kTemplate));
    dlg.ShowWindow(SW_SHOW);
    dlg.combo.AddString("Alpha");
    dlg.combo.AddString("Beta");
    dlg.combo.AddString("Bravo");
    EXPECT_EQ(dlg.combo.GetEditWnd(), nullptr);
    ASSERT_EQ(CWnd::GetFocus(), &dlg.combo);
    Type(&dlg, "b");
    EXPECT_EQ(dlg.combo.GetCurSel(), 1);
    Type(&dlg, "b");
    EXPECT_EQ(dlg.combo.GetCurSel(), 2);
    test::Key(&dlg, VK_HOME);
    EXPECT_EQ(dlg.combo.GetCurSel(), 0);
    EXPECT_STREQ(TextOf(&dlg.combo).GetString(), "Alpha");
}

TEST(ComboBoxLifetime, DestroyingTheDialogWithTheListOpenLeavesNoWindowBehind)
{
    HWND list = nullptr;
    {
        ComboDialog dlg;
        ASSERT_TRUE(dlg.Create(kTemplate));
        dlg.ShowWindow(SW_SHOW);
        dlg.combo.AddString("GPU 1");
        dlg.combo.ShowDropDown(TRUE);
        ASSERT_TRUE(dlg.combo.GetDroppedState());
        list = dlg.combo.GetListWnd()->m_hWnd;
    }
    EXPECT_FALSE(IsWindow(list));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

} // namespace

// The skinned combo box as the settings dialog shows it: its frame, the arrow in place of the drop
// button, and the light-on-dark colours of the edit field and the drop-down list.
#include "controls/PrettifyCombox.h"
#include "platform/wnd/Dialog.h"
#include "platform/wnd/DialogTemplate.h"
#include "res/Resource.h"
#include "tests/support/WndHarness.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kComboTemplate = 9220;
constexpr UINT kComboId = 1023;
const QRgb kFrame = qRgb(115, 72, 25) & 0xFFFFFF;
const QRgb kDark = qRgb(16, 16, 16) & 0xFFFFFF;

class ComboWindow : public CDialog
{
public:
    ComboWindow() : CDialog(kComboTemplate)
    {
        DialogTemplate t;
        t.id = kComboTemplate;
        t.style = WS_POPUP;
        t.rect = CRect(50, 50, 300, 200);
        t.controls = {{"ComboBox", "", kComboId, WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWN,
                       CRect(20, 20, 140, 40)}};
        wnd::RegisterDialogTemplate(t);
    }
    CPrettifyCombox combo;
    std::vector<int> notifications;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, kComboId, combo); }
    BOOL OnCmdMsg(UINT id, int code) override
    {
        if (id == kComboId)
            notifications.push_back(code);
        return CDialog::OnCmdMsg(id, code);
    }
};

struct PrettifyCombox : ::testing::Test
{
    ComboWindow wnd;
    void SetUp() override
    {
        ASSERT_TRUE(wnd.Create(kComboTemplate));
        wnd.ShowWindow(SW_SHOW);
        // As the settings dialog configures its list of cards.
        wnd.combo.SetTextColor(RGB(200, 200, 200));
        wnd.combo.SetBkColor(RGB(16, 16, 16));
    }
    void AddCards()
    {
        wnd.combo.AddString("GPU 1");
        wnd.combo.AddString("GPU 2");
        wnd.combo.SetCurSel(1);
    }
};

TEST_F(PrettifyCombox, FrameAndStretchedArrowInPlaceOfTheDropButton)
{
    wnd.combo.LoadArrowBitmap();
    ASSERT_TRUE(wnd.combo.HasArrowBitmap());
    AddCards();
    const QImage shown = test::Render(&wnd.combo);
    ASSERT_EQ(shown.size(), QSize(120, 20));
    for (QPoint p :
         {QPoint(0, 0), QPoint(60, 0), QPoint(0, 10), QPoint(119, 10), QPoint(60, 19), QPoint(119, 19)})
        EXPECT_EQ(test::PixelAt(shown, p.x(), p.y()), kFrame) << p.x() << "," << p.y();
    // The 14 x 13 arrow fills x 100 .. 117, y 2 .. 17: its corners are its own corners.
    const QImage arrow =
        QImage(QString(":/korvax/bitmaps/%1.png").arg(IDB_COMBO_ARROW)).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(arrow.size(), QSize(14, 13));
    EXPECT_EQ(test::PixelAt(shown, 100, 2), test::PixelAt(arrow, 0, 0));
    EXPECT_EQ(test::PixelAt(shown, 117, 17), test::PixelAt(arrow, 13, 12));
    // Stretching takes, for each target pixel, the source pixel under its centre: column 8 of 18
    // shows column (8.5 * 14 / 18) = 6 of 14, row 7 of 16 shows row (7.5 * 13 / 16) = 6 of 13.
    EXPECT_EQ(test::PixelAt(shown, 108, 9), test::PixelAt(arrow, 6, 6)) << "the arrow's middle";
}

TEST_F(PrettifyCombox, WithoutTheArrowOnlyTheFrameIsWhereTheButtonWas)
{
    AddCards();
    const QImage shown = test::Render(&wnd.combo);
    EXPECT_EQ(test::PixelAt(shown, 119, 10), kFrame);
    // The drop button's place shows no button face (the classic grey) and no arrow.
    for (int x = 100; x < 118; ++x)
        EXPECT_NE(test::PixelAt(shown, x, 10), qRgb(192, 192, 192) & 0xFFFFFF) << x;
}

TEST_F(PrettifyCombox, EditFieldAndListShowLightTextOnDark)
{
    AddCards();
    CWnd* edit = wnd.combo.GetEditWnd();
    ASSERT_NE(edit, nullptr);
    CString text;
    edit->GetWindowText(text);
    EXPECT_STREQ(text.GetString(), "GPU 2");
    const QImage field = test::Render(edit);
    EXPECT_EQ(test::PixelAt(field, field.width() - 2, 1), kDark);

    test::Click(&wnd.combo, 110, 10);
    ASSERT_TRUE(wnd.combo.GetDroppedState());
    CWnd* list = wnd.combo.GetListWnd();
    ASSERT_NE(list, nullptr);
    const QImage shown = test::Render(list);
    // Row 0 ("GPU 1") is unselected: the dark background, with light text somewhere in it.
    EXPECT_EQ(test::PixelAt(shown, shown.width() - 3, 2), kDark);
    int light = 0;
    for (int y = 0; y < CComboBox::kItemHeight; ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QColor c = QColor::fromRgb(test::PixelAt(shown, x, y));
            light += c.red() > 100 && c.red() == c.green() && c.green() == c.blue();
        }
    EXPECT_GT(light, 0);

    test::Click(list, 10, 5);
    EXPECT_FALSE(wnd.combo.GetDroppedState());
    EXPECT_EQ(wnd.combo.GetCurSel(), 0);
    edit->GetWindowText(text);
    EXPECT_STREQ(text.GetString(), "GPU 1");
    EXPECT_EQ(wnd.notifications, (std::vector<int>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_CLOSEUP}));
}

TEST_F(PrettifyCombox, NoItemsNoSelection)
{
    EXPECT_EQ(wnd.combo.GetCount(), 0);
    EXPECT_EQ(wnd.combo.GetCurSel(), CB_ERR);
    EXPECT_EQ(wnd.combo.SetCurSel(0), CB_ERR);
    CString text;
    EXPECT_EQ(wnd.combo.GetLBText(0, text), CB_ERR);
    test::Click(&wnd.combo, 110, 10);
    test::Key(&wnd.combo, VK_DOWN);
    EXPECT_EQ(wnd.combo.GetCurSel(), CB_ERR);
    test::Render(&wnd);
}

} // namespace

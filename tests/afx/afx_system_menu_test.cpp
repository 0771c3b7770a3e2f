// The dialog's own system menu: its items and their enabling, appended items, how it opens,
// and what the choices do.
#include <QApplication>
#include <QMenu>
#include <QTest>

#include <afx/Testing.h>

#include "AfxTestDialog.h"
#include "ModalDriver.h"

using namespace afxtest;
using afx::testing::ChooseSystemMenuItem;
using afx::testing::SystemMenuItems;

namespace {

// "text:enabled" per item, "-" for a separator.
std::vector<std::string> Describe(const std::vector<CMenu::Item>& items) {
    std::vector<std::string> out;
    for (const auto& item : items)
        out.push_back(item.IsSeparator() ? "-" : item.text + (item.IsEnabled() ? ":on" : ":off"));
    return out;
}

void AppendProbeItem(CWnd& d) {
    CString text;
    ASSERT_TRUE(text.LoadString(IDS_PROBE));
    CMenu* menu = d.GetSystemMenu(FALSE);
    ASSERT_NE(menu, nullptr);
    menu->AppendMenu(MF_SEPARATOR);
    menu->AppendMenu(MF_STRING, 16, text);
}

// What a right click makes of itself once the mouse button is up.
void RightClick(QWidget* widget, QPoint pos) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, widget->mapToGlobal(pos));
    QApplication::sendEvent(widget, &event);
}

}  // namespace

TEST_F(AfxTest, SystemMenuItemsAreEnabledAsStyleAndStateAllow) {
    struct Case {
        UINT templateId;
        bool minimise;
        std::vector<std::string> items;
    } const cases[] = {
        {IDD_PROBE,
         false,
         {"&Restore:off", "&Move:on", "Mi&nimize:on", "-", "&Close\tAlt+F4:on", "-",
          "&Probe item...:on"}},
        {IDD_PROBE_NOMIN,
         false,
         {"&Restore:off", "&Move:on", "Mi&nimize:off", "-", "&Close\tAlt+F4:on", "-",
          "&Probe item...:on"}},
        {IDD_PROBE,
         true,
         {"&Restore:on", "&Move:off", "Mi&nimize:off", "-", "&Close\tAlt+F4:on", "-",
          "&Probe item...:on"}},
    };
    for (const Case& c : cases) {
        RecordingDialog dlg(c.templateId);
        std::vector<std::string> items;
        RunModal(dlg, [&](CDialog& d) {
            AppendProbeItem(d);
            if (c.minimise) {
                ASSERT_TRUE(ChooseSystemMenuItem(d, SC_MINIMIZE));
                ASSERT_TRUE(WaitUntil([&] { return d.IsIconic() != FALSE; }));
            }
            items = Describe(SystemMenuItems(d));
            d.EndDialog(IDCANCEL);
        });
        EXPECT_EQ(items, c.items) << c.templateId << " minimised " << c.minimise;
    }
}

TEST_F(AfxTest, ChoicesArriveAtOnSysCommandAndDefaultProcessingCarriesThemOut) {
    RecordingDialog dlg;
    dlg.onSysCommand = [](RecordingDialog& d, UINT id) {
        if (id == 16) d.SetDlgItemText(IDC_OUTPUT, "probe chosen");
        return id == 16;
    };
    std::string output;
    const int result = RunModal(dlg, [&](CDialog& d) {
        AppendProbeItem(d);
        EXPECT_TRUE(ChooseSystemMenuItem(d, 16));
        EXPECT_TRUE(WaitUntil([&] { return dlg.Has("syscommand 16"); }));
        CString text;
        d.GetDlgItemText(IDC_OUTPUT, text);
        output = text.str();
        EXPECT_FALSE(ChooseSystemMenuItem(d, SC_RESTORE)) << "disabled while restored";
        EXPECT_FALSE(ChooseSystemMenuItem(d, 99)) << "no such item";
        EXPECT_TRUE(ChooseSystemMenuItem(d, SC_MINIMIZE));
        EXPECT_TRUE(WaitUntil([&] { return d.IsIconic() != FALSE; }));
        EXPECT_TRUE(ChooseSystemMenuItem(d, SC_RESTORE));
        EXPECT_TRUE(WaitUntil([&] { return d.IsIconic() == FALSE; }));
        EXPECT_TRUE(ChooseSystemMenuItem(d, SC_CLOSE));
    });
    EXPECT_EQ(output, "probe chosen");
    EXPECT_EQ(result, IDCANCEL) << "Close ends the dialog as Cancel";
    const std::vector<std::string> commands = {"syscommand 16", "syscommand 61472",
                                               "syscommand 61728", "syscommand 61536"};
    std::vector<std::string> seen;
    for (const auto& e : dlg.events)
        if (e.rfind("syscommand", 0) == 0) seen.push_back(e);
    EXPECT_EQ(seen, commands);
}

TEST_F(AfxTest, AltSpaceAndARightClickOnTheBackgroundOpenTheMenuAtTheTopLeft) {
    RecordingDialog dlg;
    RunModal(dlg, [&](CDialog& d) {
        AppendProbeItem(d);
        QWidget* window = d.GetSafeQWidget();
        const QPoint topLeft = window->mapToGlobal(QPoint(0, 0));

        PressKey(d, Qt::Key_Space, Qt::AltModifier);
        QWidget* menu = afx::testing::OpenSystemMenu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->pos(), topLeft);
        auto actions = static_cast<QMenu*>(menu)->actions();
        ASSERT_EQ(actions.size(), 7);
        EXPECT_EQ(actions.back()->text(), "&Probe item...");
        EXPECT_TRUE(dlg.events.back() == "init") << "Alt+Space pressed no button";
        menu->close();
        ASSERT_TRUE(WaitUntil([] { return afx::testing::OpenSystemMenu() == nullptr; }));

        // The background (here below the buttons) opens it; a button does not.
        RightClick(window, QPoint(280, 60));
        menu = afx::testing::OpenSystemMenu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->pos(), topLeft);
        // Choosing in the popup sends the item's command.
        static_cast<QMenu*>(menu)->actions().back()->trigger();
        EXPECT_TRUE(WaitUntil([&] { return dlg.Has("syscommand 16"); }));
        menu->close();
        WaitUntil([] { return afx::testing::OpenSystemMenu() == nullptr; });

        QWidget* button = ControlWidget(d, IDC_APPLY);
        RightClick(button, QPoint(5, 5));
        EXPECT_EQ(afx::testing::OpenSystemMenu(), nullptr);
        d.EndDialog(IDCANCEL);
    });
}

TEST_F(AfxTest, RevertRestoresThePlatformItems) {
    RecordingDialog dlg;
    RunModal(dlg, [](CDialog& d) {
        AppendProbeItem(d);
        EXPECT_EQ(d.GetSystemMenu(TRUE), nullptr);
        EXPECT_EQ(d.GetSystemMenu(FALSE)->GetMenuItemCount(), 5u);
        d.EndDialog(IDCANCEL);
    });
}

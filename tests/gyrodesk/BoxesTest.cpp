// The About and Help boxes, from their buttons and from the system menu, and the system menu's
// Close.
#include <QWidget>

#include <afx/Testing.h>
#include <gtest/gtest.h>

#include "DialogHarness.h"
#include "GyrodeskDlg.h"
#include "Templates.h"
#include "resource.h"

namespace gyrotest {
namespace {

enum class Opener { AboutButton, SystemMenuItem, SystemCommandWithLowBits, HelpButton };

struct BoxCase {
    const char* name;
    Opener opener;
    Dismiss dismiss;
    const char* caption;
    UINT templateId;
    std::size_t controls;
};

void Open(CGyrodeskDlg& dlg, Opener opener) {
    switch (opener) {
    case Opener::AboutButton: Click(dlg, IDC_ABOUT); break;
    case Opener::HelpButton: Click(dlg, IDC_HELP_ME); break;
    case Opener::SystemMenuItem:
        EXPECT_TRUE(afx::testing::ChooseSystemMenuItem(dlg, IDM_ABOUTBOX));
        break;
    case Opener::SystemCommandWithLowBits:
        // The platform may set the low four bits of a system command.
        dlg.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX | 0x3, 0);
        break;
    }
}

class BoxTest : public ::testing::TestWithParam<BoxCase> {
protected:
    void SetUp() override { SetPorts({}); }
    QuietLink quiet;
};

TEST_P(BoxTest, OpensAFreshModalBoxEachTimeAndReturnsToTheDialog) {
    const BoxCase& c = GetParam();
    CGyrodeskDlg dlg;
    const int result = RunModal(dlg, [&] {
        for (int use = 0; use < 2; ++use) {
            bool seen = false;
            WhenModalOpens(c.caption, [&](QWidget* box) {
                seen = true;
                CDialog* boxDialog = DialogOf(box);
                ASSERT_NE(boxDialog, nullptr);
                EXPECT_EQ(boxDialog->GetTemplateId(), c.templateId);
                EXPECT_EQ(box->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(),
                          static_cast<qsizetype>(c.controls));
                EXPECT_FALSE(afx::testing::IsInnermostModal(dlg)) << "the main dialog waits";
                DismissWindow(box, c.dismiss);
            });
            Open(dlg, c.opener);
            // A menu choice arrives once the menu has closed, as a message of the loop.
            EXPECT_TRUE(PumpUntil([&] { return seen && afx::testing::IsInnermostModal(dlg); }))
                << "use " << use;
            EXPECT_TRUE(dlg.IsRunningModal());
            EXPECT_TRUE(afx::testing::IsInnermostModal(dlg));
        }
    });
    EXPECT_EQ(result, IDCANCEL);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, BoxTest,
    ::testing::Values(
        BoxCase{"AboutButtonOk", Opener::AboutButton, Dismiss::OkButton, "About Gyrodesk",
                IDD_ABOUTBOX, 10},
        BoxCase{"AboutButtonEscape", Opener::AboutButton, Dismiss::EscapeKey, "About Gyrodesk",
                IDD_ABOUTBOX, 10},
        BoxCase{"SystemMenuCloseBox", Opener::SystemMenuItem, Dismiss::CloseBox, "About Gyrodesk",
                IDD_ABOUTBOX, 10},
        BoxCase{"SystemMenuEnter", Opener::SystemMenuItem, Dismiss::EnterKey, "About Gyrodesk",
                IDD_ABOUTBOX, 10},
        BoxCase{"SystemCommandLowBits", Opener::SystemCommandWithLowBits, Dismiss::OkButton,
                "About Gyrodesk", IDD_ABOUTBOX, 10},
        BoxCase{"HelpOk", Opener::HelpButton, Dismiss::OkButton, "Dialog", IDD_HELP, 1},
        BoxCase{"HelpEscape", Opener::HelpButton, Dismiss::EscapeKey, "Dialog", IDD_HELP, 1},
        BoxCase{"HelpCloseBox", Opener::HelpButton, Dismiss::CloseBox, "Dialog", IDD_HELP, 1}),
    [](const auto& info) { return std::string(info.param.name); });

class SystemMenuTest : public BoxTest {};

TEST_F(SystemMenuTest, CloseEndsTheDialogWithCancel) {
    CGyrodeskDlg dlg;
    const int result =
        RunModal(dlg, [&] { EXPECT_TRUE(afx::testing::ChooseSystemMenuItem(dlg, SC_CLOSE)); });
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(SystemMenuTest, HoldsThePlatformItemsThenTheAboutAndLivePlotItems) {
    CGyrodeskDlg dlg;
    RunModal(dlg, [&] {
        const std::vector<CMenu::Item> items = afx::testing::SystemMenuItems(dlg);
        auto find = [&](UINT id) {
            for (const CMenu::Item& item : items)
                if (item.id == id) return &item;
            return static_cast<const CMenu::Item*>(nullptr);
        };
        ASSERT_NE(find(SC_CLOSE), nullptr);
        EXPECT_TRUE(find(SC_CLOSE)->IsEnabled());
        ASSERT_NE(find(SC_MINIMIZE), nullptr);
        EXPECT_TRUE(find(SC_MINIMIZE)->IsEnabled());
        ASSERT_GE(items.size(), 3u);
        EXPECT_TRUE(items[items.size() - 3].IsSeparator());
        EXPECT_EQ(items[items.size() - 2].id, static_cast<UINT>(IDM_ABOUTBOX));
        EXPECT_EQ(items.back().id, static_cast<UINT>(IDM_LIVEPLOT));
    });
}

TEST_F(SystemMenuTest, WithoutTheAboutStringTheMenuHasNoAboutItem) {
    auto menuOf = [] {
        CGyrodeskDlg dlg;
        std::vector<CMenu::Item> items;
        RunModal(dlg, [&] { items = afx::testing::SystemMenuItems(dlg); });
        return items;
    };
    const std::size_t withAbout = menuOf().size();

    // The About string missing, or empty; the live plot's kept.
    static const afx::StringResource kMissing[] = {{IDS_LIVEPLOT, "Live &Plot..."}};
    static const afx::StringResource kEmpty[] = {{IDS_ABOUTBOX, ""},
                                                 {IDS_LIVEPLOT, "Live &Plot..."}};
    afx::ResourceTable table = gyrodesk::Resources();
    for (const std::span<const afx::StringResource> strings :
         {std::span<const afx::StringResource>(kMissing),
          std::span<const afx::StringResource>(kEmpty)}) {
        table.strings = strings;
        AfxSetResourceTable(table);
        const std::vector<CMenu::Item> items = menuOf();
        EXPECT_EQ(items.size() + 1, withAbout) << "no About item";
        for (const CMenu::Item& item : items) EXPECT_NE(item.id, static_cast<UINT>(IDM_ABOUTBOX));
        // The live plot's item stays last, after a separator.
        ASSERT_GE(items.size(), 2u);
        EXPECT_TRUE(items[items.size() - 2].IsSeparator());
        EXPECT_EQ(items.back().id, static_cast<UINT>(IDM_LIVEPLOT));
    }
    AfxSetResourceTable(gyrodesk::Resources());
}

}  // namespace
}  // namespace gyrotest

// Modal dialogs: creation from the template, OnInitDialog before showing, and the ways a dialog
// ends: Esc, the close box, Enter, EndDialog.
#include <QApplication>
#include <QCloseEvent>
#include <QWidget>

#include <afx/Testing.h>

#include "AfxTestDialog.h"
#include "ModalDriver.h"

using namespace afxtest;

TEST_F(AfxTest, AMissingTemplateGivesMinusOneWithoutInit) {
    RecordingDialog dlg(IDD_MISSING);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_TRUE(dlg.events.empty());
    EXPECT_EQ(dlg.GetSafeQWidget(), nullptr);
}

TEST_F(AfxTest, OnInitDialogRunsBeforeTheWindowIsShownAndTheWindowGoesAfterwards) {
    RecordingDialog dlg;
    bool shownInLoop = false;
    QString caption;
    const int result = RunModal(dlg, [&](CDialog& d) {
        shownInLoop = d.IsWindowVisible() != FALSE;
        caption = d.GetSafeQWidget()->windowTitle();
        d.EndDialog(IDOK);
        EXPECT_FALSE(d.IsWindowVisible()) << "hidden at once";
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_FALSE(dlg.visibleAtInit);
    EXPECT_TRUE(shownInLoop);
    EXPECT_EQ(caption, "Probe");
    EXPECT_EQ(dlg.GetSafeQWidget(), nullptr) << "the window is destroyed when DoModal returns";
    EXPECT_EQ(dlg.GetDlgItem(IDC_APPLY), nullptr);
}

TEST_F(AfxTest, EndDialogInsideOnInitDialogSkipsTheLoop) {
    RecordingDialog dlg;
    dlg.onInit = [](RecordingDialog& d) { d.EndDialog(42); };
    EXPECT_EQ(dlg.DoModal(), 42);
}

TEST_F(AfxTest, KeysAndTheCloseBoxEndTheDialog) {
    struct Case {
        const char* name;
        std::function<void(CDialog&)> act;
        int result;
        bool okHandler;
    } const cases[] = {
        {"Esc", [](CDialog& d) { PressKey(d, Qt::Key_Escape); }, IDCANCEL, false},
        {"close box",
         [](CDialog& d) {
             QCloseEvent close;
             QApplication::sendEvent(d.GetSafeQWidget(), &close);
         },
         IDCANCEL, false},
        {"Enter on a radio gives the default button",
         [](CDialog& d) {
             ClickControl(d, IDC_ALPHA);
             PressKey(d, Qt::Key_Return);
         },
         IDOK, true},
        {"Enter on the edit gives the default button",
         [](CDialog& d) {
             d.GetDlgItem(IDC_NAME)->SetFocus();
             PressKey(d, Qt::Key_Enter, Qt::KeypadModifier);
         },
         IDOK, true},
        {"Enter on a focused push button clicks that one",
         [](CDialog& d) {
             d.GetDlgItem(IDCANCEL)->SetFocus();
             PressKey(d, Qt::Key_Return);
         },
         IDCANCEL, false},
        {"the default button clicked", [](CDialog& d) { ClickControl(d, IDOK); }, IDOK, true},
    };
    for (const Case& c : cases) {
        RecordingDialog dlg;
        const int result = RunModal(dlg, c.act, 2000);
        EXPECT_EQ(result, c.result) << c.name;
        EXPECT_EQ(dlg.Has("ok"), c.okHandler) << c.name;
    }
}

TEST_F(AfxTest, EnterWithAnotherButtonFocusedDoesNotEndTheDialog) {
    RecordingDialog dlg;
    const int result = RunModal(dlg, [](CDialog& d) {
        d.GetDlgItem(IDC_APPLY)->SetFocus();
        PressKey(d, Qt::Key_Return);
        EXPECT_TRUE(static_cast<RecordingDialog&>(d).Has("apply"));
        EXPECT_TRUE(d.IsWindowVisible());
        // A disabled default button makes Enter do nothing.
        d.GetDlgItem(IDOK)->EnableWindow(FALSE);
        d.GetDlgItem(IDC_NAME)->SetFocus();
        PressKey(d, Qt::Key_Return);
        EXPECT_TRUE(d.IsWindowVisible());
        d.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(dlg.Has("ok"));
}

TEST_F(AfxTest, EveryRunBuildsAFreshWindow) {
    RecordingDialog dlg;
    for (int run = 0; run < 3; ++run) {
        const int result = RunModal(dlg, [](CDialog& d) {
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_ALPHA), BST_UNCHECKED);
            ClickControl(d, IDC_ALPHA);
            d.EndDialog(IDCANCEL);
        });
        EXPECT_EQ(result, IDCANCEL);
    }
    EXPECT_EQ(dlg.Count("init"), 3);
}

TEST_F(AfxTest, ANestedDialogBlocksItsOwnerAndReturnsToIt) {
    RecordingDialog outer;
    int innerResult = 0;
    RunModal(outer, [&](CDialog& d) {
        OnNextModal([&](QWidget* w) {
            EXPECT_TRUE(
                afx::testing::IsInnermostModal(*static_cast<CDialog*>(CWnd::FromWidget(w))));
            EXPECT_FALSE(afx::testing::IsInnermostModal(d));
            EXPECT_EQ(QApplication::activeModalWidget(), w);
            PressKey(*CWnd::FromWidget(w), Qt::Key_Escape);
        });
        RecordingDialog inner;
        innerResult = inner.DoModal();
        EXPECT_TRUE(afx::testing::IsInnermostModal(d));
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(innerResult, IDCANCEL);
}

TEST_F(AfxTest, ModelessCreateAndDestroy) {
    RecordingDialog dlg(IDD_SIZED);
    ASSERT_TRUE(dlg.Create());
    EXPECT_TRUE(dlg.IsWindowVisible()) << "the template has WS_VISIBLE";
    ClickControl(dlg, IDOK);
    EXPECT_TRUE(dlg.Has("ok")) << "a modeless dialog's controls work";
    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_EQ(dlg.GetSafeQWidget(), nullptr);
    RecordingDialog missing(IDD_MISSING);
    EXPECT_FALSE(missing.Create());
}

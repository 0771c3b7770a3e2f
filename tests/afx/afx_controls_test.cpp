// Radio groups, notifications of clicks and text changes, enabling, and message-map dispatch.
#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

#include "AfxTestDialog.h"
#include "ModalDriver.h"

using namespace afxtest;

namespace {

// Runs the probe dialog with script and returns what its handlers recorded after init.
std::vector<std::string> RunProbe(const std::function<void(RecordingDialog&)>& script) {
    RecordingDialog dlg;
    RunModal(dlg, [&](CDialog& d) {
        script(dlg);
        d.EndDialog(IDCANCEL);
    });
    std::vector<std::string> events(dlg.events.begin() + 1, dlg.events.end());  // drop "init"
    return events;
}

using Events = std::vector<std::string>;

}  // namespace

// Each radio state string lists Alpha, Beta, Gamma (group 1), One, Two (group 2).
TEST_F(AfxTest, AutoRadioClickSelectsClearsItsGroupThenNotifies) {
    struct Case {
        const char* name;
        std::vector<int> clicks;
        Events events;
        const char* after;
    } const cases[] = {
        {"first click", {IDC_ALPHA}, {"alpha 10000"}, "10000"},
        {"moves within group", {IDC_ALPHA, IDC_BETA}, {"alpha 10000", "beta 01000"}, "01000"},
        {"clicking the selected one keeps it",
         {IDC_BETA, IDC_BETA},
         {"beta 01000", "beta 01000"},
         "01000"},
        {"unmapped radio still clears its group", {IDC_ALPHA, IDC_GAMMA}, {"alpha 10000"}, "00100"},
        {"groups are independent",
         {IDC_ALPHA, IDC_ONE, IDC_TWO},
         {"alpha 10000", "one 10010"},
         "10001"},
    };
    for (const Case& c : cases) {
        std::string after;
        const Events events = RunProbe([&](RecordingDialog& d) {
            for (int id : c.clicks) ClickControl(d, id);
            for (int id : {IDC_ALPHA, IDC_BETA, IDC_GAMMA, IDC_ONE, IDC_TWO})
                after += d.IsDlgButtonChecked(id) == BST_CHECKED ? '1' : '0';
        });
        EXPECT_EQ(events, c.events) << c.name;
        EXPECT_EQ(after, c.after) << c.name;
    }
}

TEST_F(AfxTest, CheckRadioButtonSelectsByIdRangeWithoutNotifying) {
    const Events events = RunProbe([](RecordingDialog& d) {
        d.CheckRadioButton(IDC_ALPHA, IDC_GAMMA, IDC_BETA);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_BETA), BST_CHECKED);
        d.CheckRadioButton(IDC_ALPHA, IDC_GAMMA, IDC_GAMMA);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_BETA), BST_UNCHECKED);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_GAMMA), BST_CHECKED);
        // Only the ids in the range are touched.
        d.CheckRadioButton(IDC_ONE, IDC_TWO, IDC_ONE);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_GAMMA), BST_CHECKED);
    });
    EXPECT_EQ(events, Events{});
}

TEST_F(AfxTest, DisabledControlsSendNothing) {
    const Events events = RunProbe([](RecordingDialog& d) {
        for (int id : {IDC_APPLY, IDC_ALPHA}) {
            EXPECT_FALSE(d.GetDlgItem(id)->EnableWindow(FALSE)) << "was enabled";
            EXPECT_FALSE(d.GetDlgItem(id)->IsWindowEnabled());
            ClickControl(d, id);
            d.SendDlgItemMessage(id, BM_CLICK);
        }
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_ALPHA), BST_UNCHECKED);
        // Enabled again, they work.
        EXPECT_TRUE(d.GetDlgItem(IDC_APPLY)->EnableWindow(TRUE)) << "was disabled";
        ClickControl(d, IDC_APPLY);
    });
    EXPECT_EQ(events, Events{"apply"});
}

TEST_F(AfxTest, SetDlgItemTextOnAnEditNotifiesInsideTheCall) {
    RecordingDialog dlg;
    RunModal(dlg, [](CDialog& base) {
        auto& d = static_cast<RecordingDialog&>(base);
        d.SetDlgItemText(IDC_RATE, "40");
        // The handler has run, and read the new text, before SetDlgItemText returned.
        EXPECT_EQ(d.events.back(), "change 40");
        d.SetDlgItemText(IDC_RATE, "40");
        EXPECT_EQ(d.Count("change 40"), 2) << "the same text is a change too";
        d.SetDlgItemText(IDC_OUTPUT, "static");
        EXPECT_EQ(d.events.size(), 3u) << "a static sends nothing";
        d.EndDialog(IDCANCEL);
    });
}

TEST_F(AfxTest, TypingNotifiesPerChangeAndAReadOnlyEditTakesNoTyping) {
    const Events events = RunProbe([](RecordingDialog& d) {
        QTest::keyClicks(ControlWidget(d, IDC_NAME), "ab");
        QTest::keyClicks(ControlWidget(d, IDC_RATE), "12");
    });
    EXPECT_EQ(events, (Events{"name a", "name ab"}));
}

TEST_F(AfxTest, OnlyMappedHandlersRunAndUnmappedCommandsDoNothing) {
    const Events events = RunProbe([](RecordingDialog& d) {
        ClickControl(d, IDC_OTHER);                                   // handler exists, not mapped
        d.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_APPLY, EN_CHANGE));  // wrong code for the entry
        d.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_APPLY, BN_CLICKED));
        d.SendMessage(WM_COMMAND, MAKEWPARAM(999, BN_CLICKED));  // no such entry
    });
    EXPECT_EQ(events, Events{"apply"});
}

namespace {

// Maps IDC_APPLY itself; everything else comes from RecordingDialog's and CDialog's maps.
class DerivedDialog : public RecordingDialog {
protected:
    void OnApplyHere() { Log("derived apply"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedDialog, RecordingDialog)
    ON_BN_CLICKED(IDC_APPLY, OnApplyHere)
END_MESSAGE_MAP()

}  // namespace

TEST_F(AfxTest, DerivedMapIsSearchedFirstThenItsBases) {
    DerivedDialog dlg;
    const int result = RunModal(dlg, [](CDialog& d) {
        ClickControl(d, IDC_APPLY);  // derived entry wins
        ClickControl(d, IDC_ALPHA);  // base class's entry
        ClickControl(d, IDOK);       // CDialog's entry: OnOK (overridden, so virtual)
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dlg.events, (Events{"init", "derived apply", "alpha 10000", "ok"}));
}

TEST(MessageMap, FindsEntriesByMessageCodeAndId) {
    struct Case {
        UINT message, code, id;
        bool found;
    } const cases[] = {
        {WM_COMMAND, BN_CLICKED, IDC_APPLY, true},
        {WM_COMMAND, EN_CHANGE, IDC_RATE, true},
        {WM_COMMAND, BN_CLICKED, IDC_RATE, false},
        {WM_COMMAND, BN_CLICKED, IDC_OTHER, false},
        {WM_COMMAND, BN_CLICKED, IDOK, true},  // from CDialog
        {WM_TIMER, 0, 0, true},
        {WM_QUERYDRAGICON, 0, 0, false},
    };
    struct Probe : RecordingDialog {
        const AFX_MSGMAP* Map() const { return GetMessageMap(); }
    } probe;
    for (const Case& c : cases)
        EXPECT_EQ(AfxFindMessageEntry(probe.Map(), c.message, c.code, c.id) != nullptr, c.found)
            << c.message << "/" << c.code << "/" << c.id;
}

TEST_F(AfxTest, ArrowKeysMoveWithinTheGroupAndSelectAutoRadios) {
    const Events events = RunProbe([](RecordingDialog& d) {
        ClickControl(d, IDC_ALPHA);
        PressKey(d, Qt::Key_Down);
        EXPECT_EQ(FocusedControlId(d), IDC_BETA);
        PressKey(d, Qt::Key_Down);  // Gamma, not mapped
        PressKey(d, Qt::Key_Down);  // wraps to Alpha
        EXPECT_EQ(FocusedControlId(d), IDC_ALPHA);
    });
    EXPECT_EQ(events, (Events{"alpha 10000", "beta 01000", "alpha 10000"}));
}

// Arrowing onto the radio that is already selected moves the focus there and clicks nothing:
// its command is not given again. Arrowing onto one not yet selected selects and clicks it.
TEST_F(AfxTest, ArrowKeysDoNotClickTheRadioAlreadySelected) {
    const Events events = RunProbe([](RecordingDialog& d) {
        ClickControl(d, IDC_ALPHA);
        d.GetDlgItem(IDC_BETA)->SetFocus();
        PressKey(d, Qt::Key_Up);  // onto Alpha, selected already
        EXPECT_EQ(FocusedControlId(d), IDC_ALPHA);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_ALPHA), BST_CHECKED);
        PressKey(d, Qt::Key_Right);  // onto Beta, not selected
        EXPECT_EQ(FocusedControlId(d), IDC_BETA);
    });
    EXPECT_EQ(events, (Events{"alpha 10000", "beta 01000"}));
}

// Text set by the program is a change whether the edit is enabled or not; the user cannot
// type into a disabled edit.
TEST_F(AfxTest, SetDlgItemTextOnADisabledEditStillNotifies) {
    const Events events = RunProbe([](RecordingDialog& d) {
        for (int id : {IDC_RATE, IDC_NAME}) d.GetDlgItem(id)->EnableWindow(FALSE);
        d.SetDlgItemText(IDC_RATE, "15");
        QTest::keyClicks(ControlWidget(d, IDC_NAME), "ab");
    });
    EXPECT_EQ(events, Events{"change 15"});
}

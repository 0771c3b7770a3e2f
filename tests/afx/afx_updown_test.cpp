// The up-down control: its position from the buddy's text, steps, range, keys and mouse.
#include <QTest>
#include <QWidget>

#include "AfxTestDialog.h"
#include "ModalDriver.h"

using namespace afxtest;

namespace {

// The probe's up-down set up as the console sets up its rate control: range 5 to 75, one
// acceleration entry of step 5.
void SetUpRate(CWnd& d) {
    d.SendDlgItemMessage(IDC_SPIN, UDM_SETRANGE, 0, MAKELONG(75, 5));
    UDACCEL accel{0, 5};
    d.SendDlgItemMessage(IDC_SPIN, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

std::string RateText(CWnd& d) {
    CString text;
    d.GetDlgItemText(IDC_RATE, text);
    return text.str();
}

void ClickArrow(CWnd& d, bool up) {
    QWidget* spin = ControlWidget(d, IDC_SPIN);
    QTest::mouseClick(spin, Qt::LeftButton, Qt::NoModifier,
                      QPoint(spin->width() / 2, up ? 2 : spin->height() - 3));
}

}  // namespace

TEST_F(AfxTest, UpDownStepsFromTheBuddysTextWithinItsRange) {
    struct Case {
        const char* start;
        int upClicks;  // negative: down
        const char* expected;
    } const cases[] = {
        {"40", 1, "45"}, {"40", -1, "35"}, {"70", 3, "75"},  // stops at the upper limit
        {"10", -3, "5"}, {"75", 1, "75"},                    // at the limit nothing changes
        {"42", 1, "47"},  // steps from the text, not to multiples
    };
    for (const Case& c : cases) {
        RecordingDialog dlg;
        std::string shown;
        RunModal(dlg, [&](CDialog& d) {
            SetUpRate(d);
            d.SetDlgItemText(IDC_RATE, c.start);
            for (int i = 0; i < std::abs(c.upClicks); ++i) ClickArrow(d, c.upClicks > 0);
            shown = RateText(d);
            d.EndDialog(IDCANCEL);
        });
        EXPECT_EQ(shown, c.expected) << c.start << " " << c.upClicks;
    }
}

TEST_F(AfxTest, EachNewPositionReachesTheBuddysChangeHandler) {
    RecordingDialog dlg;
    RunModal(dlg, [](CDialog& d) {
        SetUpRate(d);
        d.SetDlgItemText(IDC_RATE, "70");
        ClickArrow(d, true);
        ClickArrow(d, true);  // already 75: no change, no notification
        d.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(dlg.events, (std::vector<std::string>{"init", "change 70", "change 75"}));
}

TEST_F(AfxTest, ArrowKeysStepOnTheUpDownAndOnItsBuddy) {
    RecordingDialog dlg;
    std::vector<std::string> seen;
    RunModal(dlg, [&](CDialog& d) {
        SetUpRate(d);
        d.SetDlgItemText(IDC_RATE, "40");
        QTest::keyClick(ControlWidget(d, IDC_SPIN), Qt::Key_Up);
        seen.push_back(RateText(d));
        QTest::keyClick(ControlWidget(d, IDC_RATE), Qt::Key_Down);
        QTest::keyClick(ControlWidget(d, IDC_RATE), Qt::Key_Down);
        seen.push_back(RateText(d));
        d.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"45", "35"}));
}

TEST_F(AfxTest, UpDownMessagesReportRangePositionAndAcceleration) {
    RecordingDialog dlg;
    RunModal(dlg, [](CDialog& d) {
        SetUpRate(d);
        EXPECT_EQ(d.SendDlgItemMessage(IDC_SPIN, UDM_GETRANGE), MAKELONG(75, 5));
        UDACCEL accel[3]{};
        EXPECT_EQ(d.SendDlgItemMessage(IDC_SPIN, UDM_GETACCEL, 3, reinterpret_cast<LPARAM>(accel)),
                  1);
        EXPECT_EQ(accel[0].nInc, 5u);
        d.SetDlgItemText(IDC_RATE, "40");
        EXPECT_EQ(LOWORD(static_cast<DWORD>(d.SendDlgItemMessage(IDC_SPIN, UDM_GETPOS))), 40);
        d.SendDlgItemMessage(IDC_SPIN, UDM_SETPOS, 0, MAKELONG(90, 0));  // clamped to the range
        EXPECT_EQ(RateText(d), "75");
        // The automatic buddy is the control before it.
        EXPECT_EQ(reinterpret_cast<CWnd*>(d.SendDlgItemMessage(IDC_SPIN, UDM_GETBUDDY)),
                  d.GetDlgItem(IDC_RATE));
        d.GetDlgItem(IDC_SPIN)->EnableWindow(FALSE);
        ClickArrow(d, false);  // a disabled up-down does not step
        EXPECT_EQ(RateText(d), "75");
        d.EndDialog(IDCANCEL);
    });
}

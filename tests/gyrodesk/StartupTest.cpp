// The main dialog as it first shows: every control's default, the tracker found on its port
// (or the warning box first when there is none), and the rate passed on before detection.
#include <algorithm>
#include <optional>

#include <QMessageBox>
#include <QWidget>

#include <afx/Testing.h>
#include <gtest/gtest.h>

#include "DialogHarness.h"
#include "GyrodeskDlg.h"
#include "resource.h"

namespace gyrotest {
namespace {

struct StartupCase {
    const char* name;
    int trackerCom;       // 0: no tracker anywhere
    int checkedCom;       // the COM radio selected, 0 for none
    const char* version;  // IDC_VERSION
};

class StartupTest : public ::testing::TestWithParam<StartupCase> {};

TEST_P(StartupTest, ShowsDefaultsAndTheTrackerFound) {
    const StartupCase& c = GetParam();
    std::optional<korvisor::Simulator> tracker;
    if (c.trackerCom != 0) {
        tracker.emplace(TrackerOptions());
        tracker->start();
        SetPorts({{c.trackerCom, tracker->devicePath()}});
    } else {
        SetPorts({});
    }

    CGyrodeskDlg dlg;
    dlg.link.samplingRate = 5;  // only the start-up's rate text can bring it back to 40

    bool boxShown = false;
    bool dialogVisibleUnderBox = true;
    if (c.trackerCom == 0) {
        WhenMessageBoxOpens([&](QWidget* box) {
            boxShown = true;
            dialogVisibleUnderBox = dlg.GetSafeQWidget() && dlg.GetSafeQWidget()->isVisible();
            auto* mb = qobject_cast<QMessageBox*>(box);
            ASSERT_NE(mb, nullptr);
            EXPECT_EQ(mb->text(), "Korvisor not available\nCheck your connections");
            EXPECT_EQ(mb->windowTitle(), "Error");
            EXPECT_EQ(mb->icon(), QMessageBox::Warning);
            EXPECT_EQ(mb->buttons().size(), 1);
            DismissWindow(box, Dismiss::OkButton);
        });
    }

    const int result = RunModal(dlg, [&] {
        struct Radio {
            int id;
            bool checked;
        };
        const Radio radios[] = {
            {IDC_ASCII, false},
            {IDC_BINARY, true},
            {IDC_CHECKSUM_ON, false},
            {IDC_CHECKSUM_OFF, true},
            {IDC_UPON_REQUEST, true},
            {IDC_CONTINUOUS, false},
            {IDC_AVERAGING_ON, true},
            {IDC_AVERAGING_OFF, false},
            {IDC_HYSTERESIS_ON, false},
            {IDC_HYSTERESIS_OFF, true},
            {IDC_9600, true},
            {IDC_19200, false},
            {IDC_COM1, c.checkedCom == 1},
            {IDC_COM2, c.checkedCom == 2},
            {IDC_COM3, c.checkedCom == 3},
            {IDC_COM4, c.checkedCom == 4},
        };
        for (const Radio& r : radios) EXPECT_EQ(Checked(dlg, r.id), r.checked) << "radio " << r.id;

        struct Enabling {
            int id;
            bool enabled;
        };
        const Enabling enabling[] = {
            {IDC_POLL, true},
            {IDC_RESET, true},
            {IDC_ABOUT, true},
            {IDC_HELP_ME, true},
            {IDOK, true},
            {IDC_START, false},
            {IDC_STOP, false},
            {IDC_CHECKSUM_ON, true},
            {IDC_CHECKSUM_OFF, true},
        };
        for (const Enabling& e : enabling)
            EXPECT_EQ(Enabled(dlg, e.id), e.enabled) << "control " << e.id;

        EXPECT_EQ(Text(dlg, IDC_RATE_EDIT), "40");
        EXPECT_EQ(Text(dlg, IDC_VERSION), c.version);
        for (int id : {IDC_PITCH, IDC_YAW, IDC_ROLL, IDC_PORT_OUTPUT, IDC_STATUS})
            EXPECT_EQ(Text(dlg, id), "") << "field " << id;

        EXPECT_EQ(dlg.link.samplingRate, 40);
        EXPECT_EQ(dlg.link.GetPortId(), c.trackerCom);
        EXPECT_EQ(dlg.timerId, 1u);
        EXPECT_EQ(dlg.GetSafeQWidget()->focusWidget(), dlg.GetDlgItem(IDC_POLL)->GetSafeQWidget())
            << "the focus goes to the first tab stop";

        const std::vector<CMenu::Item> menu = afx::testing::SystemMenuItems(dlg);
        ASSERT_GE(menu.size(), 3u);
        EXPECT_TRUE(menu[menu.size() - 3].IsSeparator());
        EXPECT_EQ(menu[menu.size() - 2].id, static_cast<UINT>(IDM_ABOUTBOX));
        EXPECT_EQ(menu[menu.size() - 2].text, "&About Gyrodesk...");
        EXPECT_EQ(menu.back().id, static_cast<UINT>(IDM_LIVEPLOT));
        EXPECT_EQ(menu.back().text, "Live &Plot...");
    });
    EXPECT_EQ(result, IDCANCEL);

    if (c.trackerCom == 0) {
        EXPECT_TRUE(boxShown);
        EXPECT_FALSE(dialogVisibleUnderBox) << "the warning comes before the dialog shows";
    } else {
        // The rate went to SetSamplingRate before any port was open, so the tracker never saw
        // its byte (40 / 5 + 127).
        const std::vector<std::uint8_t> bytes = tracker->receivedBytes();
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 0x87), 0);
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 'R'), 0) << "cancel sends no reset";
    }
}

INSTANTIATE_TEST_SUITE_P(Ports, StartupTest,
                         ::testing::Values(StartupCase{"TrackerOnCom3", 3, 3, "2.31"},
                                           StartupCase{"TrackerOnCom1", 1, 1, "2.31"},
                                           StartupCase{"NoTracker", 0, 0, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace gyrotest

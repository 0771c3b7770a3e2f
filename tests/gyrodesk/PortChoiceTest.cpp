// Moving the link to another port: the port in use (after a read that got no reply too), a
// port whose device has gone, a port that does not exist, a port whose device does not answer,
// a second tracker, and a choice made while no port is open.
#include <algorithm>
#include <filesystem>

#include <unistd.h>

#include "ConsoleFixture.h"

namespace gyrotest {
namespace {

class PortChoiceTest : public ConsoleTest {
protected:
    // Poll still reads from the tracker on COM3.
    void ExpectStillOnCom3() {
        EXPECT_EQ(dlg->link.GetPortId(), 3);
        EXPECT_EQ(Text(*dlg, IDC_VERSION), "2.31");
        TakeSample(*dlg, [&] { Click(*dlg, IDC_POLL); });
        const std::vector<std::uint8_t> bytes = Received();
        EXPECT_FALSE(bytes.empty());
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 'S'), static_cast<long>(bytes.size()))
            << "Poll on the previous port: " << Describe(bytes);
        EXPECT_EQ(Text(*dlg, IDC_YAW), "250");
    }
};

TEST_F(PortChoiceTest, PortThatDoesNotExistLeavesTheLinkOnItsPort) {
    Start();
    Click(*dlg, IDC_COM2);
    EXPECT_EQ(Status(), "Can't lock to COM2 !!!");
    EXPECT_TRUE(Checked(*dlg, IDC_COM2)) << "the clicked radio stays selected";
    ExpectReceived({}, "the tracker on COM3");
    ExpectStillOnCom3();
}

TEST_F(PortChoiceTest, PortWithASilentDeviceLeavesTheLinkOnItsPort) {
    korvisor::Options silentOptions = TrackerOptions();
    silentOptions.faults.silent = true;
    korvisor::Simulator silent(silentOptions);
    silent.start();
    Start(TrackerOptions(), {{1, silent.devicePath()}});
    const int speedBefore = dlg->link.GetCurrentSpeed();

    Click(*dlg, IDC_COM1);
    EXPECT_EQ(Status(), "Can't lock to COM1 !!!");
    EXPECT_EQ(dlg->link.GetCurrentSpeed(), speedBefore);
    ExpectReceived({}, "the tracker on COM3");
    // The silent device was asked who it is.
    const std::vector<std::uint8_t> probed = silent.receivedBytes();
    EXPECT_NE(std::find(probed.begin(), probed.end(), 'X'), probed.end()) << Describe(probed);
    ExpectStillOnCom3();
}

TEST_F(PortChoiceTest, SwitchToASecondTrackerClosesTheFirstAfterTheSecondAnswered) {
    korvisor::Options secondOptions = TrackerOptions();
    secondOptions.version = "3.07";
    korvisor::Simulator second(secondOptions);
    second.start();
    Start(TrackerOptions(), {{4, second.devicePath()}});

    Click(*dlg, IDC_COM4);
    EXPECT_EQ(Status(), "Korvisor found !!!");
    EXPECT_EQ(dlg->link.GetPortId(), 4);
    EXPECT_EQ(Text(*dlg, IDC_VERSION), "3.07");

    // COM3's tracker got its reset byte, after the new tracker's identification request.
    ASSERT_TRUE(tracker->waitForReceived(1, 2s));
    const std::vector<korvisor::RxRecord> old = tracker->received();
    ASSERT_EQ(old.size(), 1u);
    EXPECT_EQ(old[0].value, 'R');
    ASSERT_TRUE(second.waitForReceived(1, 2s));
    const std::vector<korvisor::RxRecord> fresh = second.received();
    const auto identified = std::find_if(
        fresh.begin(), fresh.end(), [](const korvisor::RxRecord& r) { return r.value == 'X'; });
    ASSERT_NE(identified, fresh.end());
    EXPECT_LT(identified->at, old[0].at);

    second.clearReceived();
    TakeSample(*dlg, [&] { Click(*dlg, IDC_POLL); });
    ASSERT_TRUE(second.waitForReceived(1, 2s));
    EXPECT_EQ(second.receivedBytes().front(), 'S');
    EXPECT_EQ(Text(*dlg, IDC_YAW), "250");
}

TEST_F(PortChoiceTest, ChoiceWhileNoPortIsOpenOpensTheNewPortAndClosesNothing) {
    QuietLink quiet;
    korvisor::Simulator late(TrackerOptions());
    late.start();
    Start(std::nullopt);  // nothing found at start-up
    ASSERT_EQ(dlg->link.GetPortId(), 0);
    SetPorts({{2, late.devicePath()}});

    Click(*dlg, IDC_COM2);
    EXPECT_EQ(Status(), "Korvisor found !!!");
    EXPECT_EQ(dlg->link.GetPortId(), 2);
    EXPECT_EQ(Text(*dlg, IDC_VERSION), "2.31");
    const std::vector<std::uint8_t> bytes = late.receivedBytes();
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 'R'), 0) << Describe(bytes);
}

TEST_F(PortChoiceTest, PortInUseSendsNothingAnywhere) {
    Start();
    Click(*dlg, IDC_COM3);
    EXPECT_EQ(Status(), "This port is currently in use");
    ExpectReceived({}, "the port in use");
    EXPECT_EQ(dlg->link.GetPortId(), 3);
}

// A read that got no reply says nothing about the port: the tracker behind it is still there,
// so its port stays in use, however often it is chosen again (reopening it would fail on the
// link's own lock).
TEST_F(PortChoiceTest, PortInUseStaysInUseAfterAReadGotNoReply) {
    Start();
    korvisor::Faults silent;
    silent.silent = true;
    tracker->setFaults(silent);
    Click(*dlg, IDC_POLL);
    ASSERT_EQ(Status(), "No reply from Korvisor !!!");
    tracker->setFaults({});
    Received();

    for (int click = 1; click <= 2; ++click) {
        Click(*dlg, IDC_COM3);
        EXPECT_EQ(Status(), "This port is currently in use") << "click " << click;
    }
    ExpectReceived({}, "the port in use");
    ExpectStillOnCom3();
}

// The device behind the port in use has gone (an unplugged adapter): choosing the port again
// opens it anew, and finds the tracker once it is back behind the same path.
struct GoneCase {
    const char* name;
    bool comesBack;
    const char* status;
};

class GonePortTest : public ConsoleTest, public ::testing::WithParamInterface<GoneCase> {
protected:
    void TearDown() override {
        ConsoleTest::TearDown();
        tracker.reset();
        std::filesystem::remove_all(dir);
    }
    std::string dir = ::testing::TempDir() + "gyrodesk-gone-" + std::to_string(getpid());
};

TEST_P(GonePortTest, ChoosingThePortAgainOpensItAnew) {
    const GoneCase& c = GetParam();
    QuietLink quiet;
    std::filesystem::create_directories(dir);
    korvisor::Options options = TrackerOptions();
    options.linkPath = dir + "/tracker";
    Start(options);
    ASSERT_EQ(dlg->link.GetPortId(), 3);

    tracker->vanish();
    Click(*dlg, IDC_POLL);
    EXPECT_EQ(Status(), "No reply from Korvisor !!!");
    if (c.comesBack) tracker->comeBack();

    Click(*dlg, IDC_COM3);
    EXPECT_EQ(Status(), c.status);
    EXPECT_EQ(dlg->link.GetPortId(), 3);
    if (c.comesBack) {
        Received();  // the line quiet: a reply that came late on a loaded machine is purged
        TakeSample(*dlg, [&] { Click(*dlg, IDC_POLL); });
        EXPECT_EQ(Text(*dlg, IDC_YAW), "250") << Text(*dlg, IDC_PORT_OUTPUT).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Ports, GonePortTest,
                         ::testing::Values(GoneCase{"Back", true, "Korvisor found !!!"},
                                           GoneCase{"StillGone", false, "Can't lock to COM3 !!!"}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Exit ---------------------------------------------------------------------------------

struct ExitCase {
    const char* name;
    bool tracker;
};

class ExitTest : public ConsoleTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(ExitTest, ClosesThePortWhenOneIsOpenAndEndsWithOk) {
    QuietLink quiet;
    std::optional<korvisor::Simulator> sim;
    if (GetParam().tracker) {
        sim.emplace(TrackerOptions());
        sim->start();
        SetPorts({{3, sim->devicePath()}});
    } else {
        SetPorts({});
    }
    CGyrodeskDlg modal;
    const int result = RunModal(modal, [&] {
        if (sim) sim->clearReceived();
        Click(modal, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(modal.link.GetPortId(), 0);
    if (sim) {
        ASSERT_TRUE(sim->waitForReceived(1, 2s));
        EXPECT_EQ(sim->receivedBytes(), std::vector<std::uint8_t>{'R'});
    }
}

INSTANTIATE_TEST_SUITE_P(Ports, ExitTest,
                         ::testing::Values(ExitCase{"WithPort", true},
                                           ExitCase{"WithoutPort", false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace gyrotest

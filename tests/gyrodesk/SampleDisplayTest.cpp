// What Poll and the timer show: the angles in the order yaw, pitch, roll, the raw frame, the
// checksum verdict, and a frame that did not come whole.
#include <cstring>

#include <QElapsedTimer>
#include <QTimer>

#include <ScriptedDevice.h>
#include <korvisor/FrameCodec.h>

#include "ConsoleFixture.h"

namespace gyrotest {
namespace {

using Bytes = std::vector<std::uint8_t>;

// ---- Exact frames, upon request, from a scripted device on COM3 ------------------------------

struct FrameCase {
    const char* name;
    bool checksum;
    Bytes reply;      // the device's answer to 'S'
    const char* yaw;  // expected angles; those of the priming frame when it is rejected
    const char* pitch;
    const char* roll;
    const char* portOutput;
    const char* status;
    bool ascii = false;  // ASCII frames instead of binary
};

Bytes AsciiFrame(const char* text) { return Bytes(text, text + std::strlen(text)); }

class FrameDisplayTest : public ::testing::TestWithParam<FrameCase> {
protected:
    void SetUp() override {
        device.answer('X', "KHX");
        device.answer('V', "1.50");
        SetPorts({{3, device.path()}});
        ASSERT_TRUE(dlg.Create(IDD_GYRODESK_DIALOG));
        ASSERT_EQ(dlg.link.GetPortId(), 3);
    }
    void TearDown() override {
        if (dlg.link.GetPortId() != 0) dlg.link.CloseCom(dlg.link.GetComHandle());
        dlg.DestroyWindow();
    }

    testsupport::ScriptedDevice device;
    CGyrodeskDlg dlg;
};

TEST_P(FrameDisplayTest, ShowsTheFrameAndItsVerdict) {
    const FrameCase& c = GetParam();
    if (c.checksum) Click(dlg, IDC_CHECKSUM_ON);
    if (c.ascii) Click(dlg, IDC_ASCII);
    // A good frame first: yaw 0, pitch -90, roll -90.
    if (c.ascii) device.answer('S', "Y    0,  -90,  -90\r\n");
    else device.answer('S', c.checksum ? std::string(7, '\0') : std::string(6, '\0'));
    TakeSample(dlg, [&] { Click(dlg, IDC_POLL); });
    ASSERT_EQ(Text(dlg, IDC_YAW), "0");
    const QString statusBefore = Text(dlg, IDC_STATUS);

    device.answer('S', std::string(c.reply.begin(), c.reply.end()));
    if (c.status && std::string(c.status) == "No reply from Korvisor !!!") Click(dlg, IDC_POLL);
    else TakeSample(dlg, [&] { Click(dlg, IDC_POLL); });
    EXPECT_EQ(Text(dlg, IDC_YAW), c.yaw);
    EXPECT_EQ(Text(dlg, IDC_PITCH), c.pitch);
    EXPECT_EQ(Text(dlg, IDC_ROLL), c.roll);
    EXPECT_EQ(Text(dlg, IDC_PORT_OUTPUT), c.portOutput);
    EXPECT_EQ(Text(dlg, IDC_STATUS), c.status ? QString(c.status) : statusBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, FrameDisplayTest,
    ::testing::Values(
        FrameCase{"Binary",
                  false,
                  {0x20, 0x00, 0x40, 0x00, 0x30, 0x00},
                  "90",
                  "0",
                  "-23",
                  "200400300",
                  nullptr},
        FrameCase{"ChecksumOk",
                  true,
                  {0x12, 0x34, 0x56, 0x78, 0x1A, 0xBC, 0x68},
                  "51",
                  "31",
                  "-53",
                  "123456781ABC68",
                  "Checksum OK"},
        FrameCase{"OneDigitBytes",
                  false,
                  {0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F},
                  "28",
                  "-74",
                  "-71",
                  "ABCDEF",
                  nullptr},
        FrameCase{"ChecksumError",
                  true,
                  {0x12, 0x34, 0x56, 0x78, 0x1A, 0xBC, 0x00},
                  "0",
                  "-90",
                  "-90",
                  "123456781ABC0",
                  "Checksum Error !!!"},
        FrameCase{"ShortFrame",
                  false,
                  {0x20, 0x00, 0x40},
                  "0",
                  "-90",
                  "-90",
                  "20040",
                  "No reply from Korvisor !!!"},
        FrameCase{"ShortFrameInChecksumMode",
                  true,
                  {0x12, 0x34, 0x56, 0x78, 0x1A, 0xBC},
                  "0",
                  "-90",
                  "-90",
                  "123456781ABC",
                  "No reply from Korvisor !!!"},
        FrameCase{"NoReply", false, {}, "0", "-90", "-90", "", "No reply from Korvisor !!!"},
        FrameCase{
            "NoReplyInChecksumMode", true, {}, "0", "-90", "-90", "", "No reply from Korvisor !!!"},
        FrameCase{"Ascii", false, AsciiFrame("Y  123,  -45,   10\r\n"), "123", "-45", "10",
                  "Y  123,  -45,   10", nullptr, true},
        // The 'Y' and every byte behind it that arrived.
        FrameCase{"AsciiShortFrame", false, AsciiFrame("Y  123,  -4"), "0", "-90", "-90",
                  "Y  123,  -4", "No reply from Korvisor !!!", true},
        // Whole but malformed: shown as it came, its numbers not taken.
        FrameCase{"AsciiMalformed", false, AsciiFrame("Y  12a,  -45,   10\r\n"), "0", "-90", "-90",
                  "Y  12a,  -45,   10", nullptr, true}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The simulated tracker: continuous, ASCII, timer messages, a vanished tracker ----------

const korvisor::Pose kPose{12, 250, -30};

class StreamDisplayTest : public ConsoleTest {
protected:
    void Tick(UINT id = 1) { dlg->SendMessage(WM_TIMER, id, 0); }
    void ExpectPose() {
        EXPECT_EQ(Text(*dlg, IDC_YAW), "250");
        EXPECT_EQ(Text(*dlg, IDC_PITCH), "12");
        EXPECT_EQ(Text(*dlg, IDC_ROLL), "-30");
    }
};

TEST_F(StreamDisplayTest, ContinuousWithChecksumShowsTheWholeFrame) {
    Start();
    Click(*dlg, IDC_CHECKSUM_ON);
    Click(*dlg, IDC_CONTINUOUS);
    TakeSample(*dlg, [&] { Tick(); });
    ExpectPose();
    EXPECT_EQ(Status(), "Checksum OK");
    const Bytes frame = korvisor::encodeFrame(kPose, {'F', true, true});
    EXPECT_EQ(Text(*dlg, IDC_PORT_OUTPUT).toStdString(), Hex(frame));
}

TEST_F(StreamDisplayTest, ContinuousChecksumFailureKeepsTheAnglesAndShowsSevenBytes) {
    Start();
    Click(*dlg, IDC_CHECKSUM_ON);
    TakeSample(*dlg, [&] { Click(*dlg, IDC_POLL); });
    ExpectPose();
    tracker->setPose({40, 100, 7});
    korvisor::Faults faults;
    faults.badChecksumEvery = 1;
    tracker->setFaults(faults);
    Click(*dlg, IDC_CONTINUOUS);
    TakeSample(*dlg, [&] { Tick(); });
    EXPECT_EQ(Status(), "Checksum Error !!!");
    ExpectPose();
    const Bytes frame = korvisor::encodeFrame({40, 100, 7}, {'F', true, true}, true);
    EXPECT_EQ(Text(*dlg, IDC_PORT_OUTPUT).toStdString(),
              Hex(Bytes(frame.begin(), frame.begin() + 7)));
}

TEST_F(StreamDisplayTest, AsciiShowsTheFrameTextAndItsNumbers) {
    Start();
    Click(*dlg, IDC_ASCII);
    TakeSample(*dlg, [&] { Click(*dlg, IDC_POLL); });
    ExpectPose();
    const Bytes frame = korvisor::encodeFrame(kPose, {'E', false, false});
    EXPECT_EQ(Text(*dlg, IDC_PORT_OUTPUT).toStdString(),
              std::string(frame.begin(), frame.begin() + 18));
}

TEST_F(StreamDisplayTest, AsciiInChecksumModeAlwaysReportsOk) {
    Start();
    Click(*dlg, IDC_CHECKSUM_ON);
    Click(*dlg, IDC_ASCII);
    TakeSample(*dlg, [&] { Click(*dlg, IDC_POLL); });
    EXPECT_EQ(Status(), "Checksum OK");
    ExpectPose();
}

TEST_F(StreamDisplayTest, EveryTimerMessageReadsWhateverItsId) {
    Start();
    for (UINT id : {1u, 77u}) {
        TakeSample(*dlg, [&] { Tick(id); });
        const Bytes bytes = Received();
        ASSERT_FALSE(bytes.empty()) << "timer " << id;
        EXPECT_EQ(bytes.front(), 'S') << "timer " << id << ": " << Describe(bytes);
        ExpectPose();
    }
    EXPECT_EQ(Status(), "") << "no verdict with checksum mode off";
}

TEST_F(StreamDisplayTest, VanishedTrackerDuringContinuousIsReportedAndTheWindowStaysResponsive) {
    Start();
    Click(*dlg, IDC_CONTINUOUS);
    Click(*dlg, IDC_START);
    Pump(150ms);
    ExpectPose();
    tracker->vanish();

    // Another timer of the event loop keeps being served while the ticks fail.
    int served = 0;
    QTimer probe;
    probe.setInterval(20);
    QObject::connect(&probe, &QTimer::timeout, [&] { ++served; });
    probe.start();
    const int ticksBefore = dlg->ticks;
    Pump(600ms);
    probe.stop();
    EXPECT_GE(served, 10);
    EXPECT_GT(dlg->ticks, ticksBefore);
    EXPECT_EQ(Status(), "No reply from Korvisor !!!");
    ExpectPose();
    Click(*dlg, IDC_STOP);
}

// ---- The status line after a read that got no reply ----------------------------------------

// Once the tracker answers again, "No reply from Korvisor !!!" goes: the status that stood
// before it comes back (with checksum mode off), the verdict replaces it (checksum mode on),
// and a command's report written meanwhile stays.
struct RecoveryCase {
    const char* name;
    bool checksum;
    bool commandBetween;  // a command is given while the status reports no reply
    const char* status;   // after the next good read
};

class NoReplyRecoveryTest : public StreamDisplayTest,
                            public ::testing::WithParamInterface<RecoveryCase> {};

TEST_P(NoReplyRecoveryTest, AGoodReadTakesTheNoReplyReportAway) {
    const RecoveryCase& c = GetParam();
    Start();
    if (c.checksum) Click(*dlg, IDC_CHECKSUM_ON);
    Click(*dlg, IDC_HYSTERESIS_ON);
    korvisor::Faults silent;
    silent.silent = true;
    tracker->setFaults(silent);
    Click(*dlg, IDC_POLL);
    ASSERT_EQ(Status(), "No reply from Korvisor !!!");
    tracker->setFaults({});
    if (c.commandBetween) Click(*dlg, IDC_AVERAGING_OFF);

    TakeSample(*dlg, [&] { Click(*dlg, IDC_POLL); });
    ExpectPose();
    EXPECT_EQ(Status(), c.status);
    // It stays so on the reads that follow.
    TakeSample(*dlg, [&] { Click(*dlg, IDC_POLL); });
    EXPECT_EQ(Status(), c.status);
}

INSTANTIATE_TEST_SUITE_P(Status, NoReplyRecoveryTest,
                         ::testing::Values(RecoveryCase{"ChecksumOff", false, false,
                                                        "Hysteresis Filter Mode Enabled"},
                                           RecoveryCase{"ChecksumOn", true, false, "Checksum OK"},
                                           RecoveryCase{"CommandInBetween", false, true,
                                                        "Averaging Filter Mode Disabled"}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- The display step on its own --------------------------------------------------------------

TEST_F(ConsoleTest, PortOutputNeverOverrunsItsBuffer) {
    QuietLink quiet;
    Start(std::nullopt);
    dlg->link.SetDataMode('F');
    std::fill(std::begin(dlg->link.dataBuffer), std::end(dlg->link.dataBuffer), 0xFF);
    dlg->link.bytesRead = 200;
    dlg->ShowSample();
    EXPECT_EQ(Text(*dlg, IDC_PORT_OUTPUT), QString(28, 'F'));
    dlg->link.SetDataMode('E');
    dlg->ShowSample();
    EXPECT_EQ(Text(*dlg, IDC_PORT_OUTPUT).size(), 29);
}

}  // namespace
}  // namespace gyrotest

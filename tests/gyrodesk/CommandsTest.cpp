// The main dialog's commands against the simulated tracker: what each control sends, the status
// line it writes, and the enabling of the buttons it switches.
#include <QTest>
#include <QWidget>

#include "ConsoleFixture.h"

namespace gyrotest {
namespace {

constexpr std::uint8_t kRate40 = 40 / 5 + 127;

struct CommandCase {
    const char* name;
    int control;
    std::vector<std::uint8_t> sent;  // with the tracker on COM3
    const char* status;
};

class CommandTest : public ConsoleTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(CommandTest, SendsItsBytesAndReportsTheCommand) {
    const CommandCase& c = GetParam();
    Start();
    Click(*dlg, c.control);
    ExpectReceived(c.sent, c.name);
    EXPECT_EQ(Status(), c.status);
}

// With no port open the commands reach no tracker and still report themselves.
TEST_P(CommandTest, ReportsTheCommandWithNoPortOpen) {
    const CommandCase& c = GetParam();
    QuietLink quiet;
    Start(std::nullopt);
    Click(*dlg, c.control);
    EXPECT_EQ(Status(), c.status);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, CommandTest,
    ::testing::Values(
        CommandCase{"ChecksumOn", IDC_CHECKSUM_ON, {'M'}, "Checksum Mode Enabled"},
        CommandCase{"ChecksumOff", IDC_CHECKSUM_OFF, {'N'}, "Checksum Mode Disabled"},
        CommandCase{"HysteresisOn", IDC_HYSTERESIS_ON, {'P'}, "Hysteresis Filter Mode Enabled"},
        CommandCase{"HysteresisOff", IDC_HYSTERESIS_OFF, {'O'}, "Hysteresis Filter Mode Disabled"},
        CommandCase{"Speed9600", IDC_9600, {}, "Serial port set to 9600 bps"},
        CommandCase{"Speed19200", IDC_19200, {'K'}, "Serial port set to 19200 bps"},
        CommandCase{"AveragingOn", IDC_AVERAGING_ON, {}, "Averaging Filter Mode Enabled"},
        CommandCase{"AveragingOff", IDC_AVERAGING_OFF, {}, "Averaging Filter Mode Disabled"},
        CommandCase{"Ascii", IDC_ASCII, {'E'}, "ASCII Mode Enabled"},
        CommandCase{"Binary", IDC_BINARY, {'F'}, "Binary Mode Enabled"},
        CommandCase{"Continuous", IDC_CONTINUOUS, {kRate40, 'H'}, "Continuous Mode Enabled"},
        CommandCase{"UponRequest", IDC_UPON_REQUEST, {'G'}, "Single request Mode Enabled"},
        CommandCase{"Reset", IDC_RESET, {'R', 'R', 'R', kRate40, kRate40}, "Hard Reset Performed"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Enabling ---------------------------------------------------------------------------------

struct Enabling {
    bool poll, start, stop, checksum;
};

struct EnablingStep {
    int control;
    Enabling after;
};

struct EnablingCase {
    const char* name;
    std::vector<EnablingStep> steps;
};

class EnablingTest : public ConsoleTest, public ::testing::WithParamInterface<EnablingCase> {};

TEST_P(EnablingTest, SwitchesTheButtonsAsEachCommandSays) {
    Start();
    auto expect = [&](const Enabling& e, const char* when) {
        EXPECT_EQ(Enabled(*dlg, IDC_POLL), e.poll) << when;
        EXPECT_EQ(Enabled(*dlg, IDC_START), e.start) << when;
        EXPECT_EQ(Enabled(*dlg, IDC_STOP), e.stop) << when;
        EXPECT_EQ(Enabled(*dlg, IDC_CHECKSUM_ON), e.checksum) << when;
        EXPECT_EQ(Enabled(*dlg, IDC_CHECKSUM_OFF), e.checksum) << when;
    };
    expect({true, false, false, true}, "start-up");
    for (std::size_t i = 0; i < GetParam().steps.size(); ++i) {
        const EnablingStep& step = GetParam().steps[i];
        Click(*dlg, step.control);
        expect(step.after, ("step " + std::to_string(i + 1)).c_str());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, EnablingTest,
    ::testing::Values(EnablingCase{"ContinuousThenUponRequest",
                                   {{IDC_CONTINUOUS, {false, true, true, true}},
                                    {IDC_UPON_REQUEST, {true, false, false, true}}}},
                      EnablingCase{"ContinuousStopKeepsPollDisabled",
                                   {{IDC_CONTINUOUS, {false, true, true, true}},
                                    {IDC_STOP, {false, true, true, true}},
                                    {IDC_RESET, {true, false, false, true}}}},
                      EnablingCase{"AsciiThenBinary",
                                   {{IDC_ASCII, {true, false, false, false}},
                                    {IDC_BINARY, {true, false, false, true}}}},
                      EnablingCase{"AsciiThenResetKeepsChecksumDisabled",
                                   {{IDC_ASCII, {true, false, false, false}},
                                    {IDC_RESET, {true, false, false, false}}}}),
    [](const auto& info) { return std::string(info.param.name); });

class ModeTest : public ConsoleTest {};

TEST_F(ModeTest, ResetAfterAsciiShowsBinaryButKeepsTheLinksFrameFormat) {
    Start();
    Click(*dlg, IDC_ASCII);
    Click(*dlg, IDC_RESET);
    EXPECT_TRUE(Checked(*dlg, IDC_BINARY));
    EXPECT_FALSE(Checked(*dlg, IDC_ASCII));
    EXPECT_EQ(dlg->link.GetDataMode(), 'E');
}

TEST_F(ModeTest, BinaryAfterAsciiLeavesTheChecksumChoiceAlone) {
    Start();
    Click(*dlg, IDC_CHECKSUM_ON);
    Click(*dlg, IDC_ASCII);
    Click(*dlg, IDC_BINARY);
    EXPECT_TRUE(Checked(*dlg, IDC_CHECKSUM_ON));
    EXPECT_EQ(dlg->link.GetCheckStatus(), 1);
    Received();
}

TEST_F(ModeTest, ResetClearsTheOutputFieldsAndSelectsEveryDefault) {
    Start();
    TakeSample(*dlg, [&] { Click(*dlg, IDC_POLL); });
    ASSERT_NE(Text(*dlg, IDC_YAW), "");
    for (int id :
         {IDC_19200, IDC_HYSTERESIS_ON, IDC_AVERAGING_OFF, IDC_CHECKSUM_ON, IDC_CONTINUOUS})
        Click(*dlg, id);
    Click(*dlg, IDC_RESET);
    for (int id : {IDC_PORT_OUTPUT, IDC_PITCH, IDC_YAW, IDC_ROLL})
        EXPECT_EQ(Text(*dlg, id), " ") << id;
    for (int id : {IDC_BINARY, IDC_CHECKSUM_OFF, IDC_UPON_REQUEST, IDC_AVERAGING_ON,
                   IDC_HYSTERESIS_OFF, IDC_9600})
        EXPECT_TRUE(Checked(*dlg, id)) << id;
    EXPECT_EQ(dlg->link.GetTransMode(), 'G');
    EXPECT_EQ(Text(*dlg, IDC_RATE_EDIT), "40");
    EXPECT_TRUE(Checked(*dlg, IDC_COM3)) << "the port stays";
    EXPECT_EQ(Text(*dlg, IDC_VERSION), "2.31");
}

// ---- The continuous-sampling timer --------------------------------------------------------

class TimerTest : public ConsoleTest {
protected:
    int TicksDuring(std::chrono::milliseconds period) {
        const int before = dlg->ticks;
        Pump(period);
        return dlg->ticks - before;
    }
};

TEST_F(TimerTest, ContinuousAloneShowsNoSamples) {
    Start();
    Click(*dlg, IDC_CONTINUOUS);
    EXPECT_EQ(TicksDuring(150ms), 0);
    EXPECT_EQ(Text(*dlg, IDC_YAW), "");
}

TEST_F(TimerTest, StartShowsLiveSamplesUntilStop) {
    Start();
    Click(*dlg, IDC_CONTINUOUS);
    Click(*dlg, IDC_START);
    EXPECT_GT(TicksDuring(300ms), 3);
    EXPECT_EQ(Text(*dlg, IDC_YAW), "250");
    EXPECT_EQ(Text(*dlg, IDC_PITCH), "12");
    EXPECT_EQ(Text(*dlg, IDC_ROLL), "-30");
    Click(*dlg, IDC_STOP);
    Pump(30ms);  // a tick already waiting may still arrive
    EXPECT_EQ(TicksDuring(150ms), 0);
}

TEST_F(TimerTest, StartTwiceGivesOneTimerThatOneStopEnds) {
    Start();
    Click(*dlg, IDC_CONTINUOUS);
    Click(*dlg, IDC_START);
    Click(*dlg, IDC_START);
    EXPECT_GT(TicksDuring(200ms), 0);
    Click(*dlg, IDC_STOP);
    Pump(30ms);
    EXPECT_EQ(TicksDuring(150ms), 0);
    Click(*dlg, IDC_STOP);  // with no timer running: nothing changes
    EXPECT_EQ(Status(), "Continuous Mode Enabled");
}

struct StopCase {
    const char* name;
    int control;
    std::vector<std::uint8_t> sent;
    const char* status;
};

class StreamStopTest : public TimerTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(StreamStopTest, EndsTheTicksAndReturnsToRequests) {
    const StopCase& c = GetParam();
    Start();
    Click(*dlg, IDC_CONTINUOUS);
    Click(*dlg, IDC_START);
    ASSERT_GT(TicksDuring(150ms), 0);
    Received();
    Click(*dlg, c.control);
    ExpectReceived(c.sent, c.name);
    Pump(30ms);
    EXPECT_EQ(TicksDuring(150ms), 0);
    EXPECT_EQ(dlg->link.GetTransMode(), 'G');
    EXPECT_EQ(Status(), c.status);
    EXPECT_TRUE(Enabled(*dlg, IDC_POLL));
    EXPECT_FALSE(Enabled(*dlg, IDC_START));
    EXPECT_FALSE(Enabled(*dlg, IDC_STOP));
    // Requests work again: Poll asks for a sample.
    Click(*dlg, IDC_POLL);
    const std::vector<std::uint8_t> bytes = Received();
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.front(), 'S') << Describe(bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Stops, StreamStopTest,
    ::testing::Values(
        StopCase{"UponRequest", IDC_UPON_REQUEST, {'G'}, "Single request Mode Enabled"},
        StopCase{"Reset", IDC_RESET, {'R', 'R', 'R', kRate40, kRate40}, "Hard Reset Performed"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The rate control ---------------------------------------------------------------------

struct RateStep {
    Qt::Key key;
    const char* text;
    std::vector<std::uint8_t> sent;
};

TEST_F(ConsoleTest, EachRateStepSendsTheNewRateAtOnce) {
    Start();
    QWidget* spin = dlg->GetDlgItem(IDC_RATE_SPIN)->GetSafeQWidget();
    const std::vector<RateStep> steps = {
        {Qt::Key_Up, "45", {0x88}}, {Qt::Key_Up, "50", {0x89}}, {Qt::Key_Down, "45", {0x88}},
        {Qt::Key_Up, "50", {0x89}}, {Qt::Key_Up, "55", {0x8A}}, {Qt::Key_Up, "60", {0x8B}},
        {Qt::Key_Up, "65", {0x8C}}, {Qt::Key_Up, "70", {0x8D}}, {Qt::Key_Up, "75", {0x8E}},
        {Qt::Key_Up, "75", {}},  // the upper limit: no change, nothing sent
    };
    for (const RateStep& step : steps) {
        QTest::keyClick(spin, step.key);
        EXPECT_EQ(Text(*dlg, IDC_RATE_EDIT), step.text);
        ExpectReceived(step.sent, step.text);
    }
    EXPECT_EQ(dlg->link.GetSamplingRate(), 75);
    for (int i = 0; i < 14; ++i) QTest::keyClick(spin, Qt::Key_Down);
    EXPECT_EQ(Text(*dlg, IDC_RATE_EDIT), "5");
    Received();
    QTest::keyClick(spin, Qt::Key_Down);
    EXPECT_EQ(Text(*dlg, IDC_RATE_EDIT), "5");
    ExpectReceived({}, "below the lower limit");
    // Continuous sends the current rate again before the mode letter.
    Click(*dlg, IDC_CONTINUOUS);
    ExpectReceived({0x80, 'H'}, "Continuous at rate 5");
}

}  // namespace
}  // namespace gyrotest

// How the program ends: status 1 after Exit (or Enter), with the port closed and the tracker
// sent its reset byte; ExitInstance's 0 after Esc, the close box or Close on the system menu,
// with no reset byte. With --plot the live plot is open once the dialog runs (and only then).
#include <algorithm>

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include "DialogHarness.h"

namespace gyrotest {
namespace {

struct ExitCase {
    const char* action;
    int status;
    bool resetSent;
    QStringList options = {};  // the program's command line after the action
};

class ExitStatusTest : public ::testing::TestWithParam<ExitCase> {};

// The bytes the tracker has received once the line has been quiet for a moment.
std::vector<std::uint8_t> SettledBytes(korvisor::Simulator& sim) {
    std::size_t count = sim.receivedBytes().size();
    while (sim.waitForReceived(count + 1, 300ms)) count = sim.receivedBytes().size();
    return sim.receivedBytes();
}

TEST_P(ExitStatusTest, EndsWithTheStatusOfHowTheDialogClosed) {
    const ExitCase& c = GetParam();
    korvisor::Simulator tracker(TrackerOptions());
    tracker.start();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (int com = 1; com <= 4; ++com)
        env.insert(QString("VEXLINK_COM%1").arg(com), QString::fromStdString(MissingPortPath(com)));
    env.insert("VEXLINK_COM3", QString::fromStdString(tracker.devicePath()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    // Ending with exit() from inside the dialog leaves the font library's caches allocated.
    if (!env.contains("LSAN_OPTIONS"))
        env.insert("LSAN_OPTIONS", "suppressions=" GYRODESK_LSAN_SUPPRESSIONS);

    QProcess program;
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(GYRODESK_EXIT_PROBE, QStringList{c.action} + c.options);
    ASSERT_TRUE(program.waitForStarted(10000));
    ASSERT_TRUE(program.waitForFinished(30000)) << "the program did not end";
    ASSERT_EQ(program.exitStatus(), QProcess::NormalExit);
    ASSERT_NE(program.exitCode(), 97) << "the program did not find the tracker";
    ASSERT_NE(program.exitCode(), 95) << "the live plot was open without --plot, or closed with it";
    EXPECT_EQ(program.exitCode(), c.status);

    const std::vector<std::uint8_t> bytes = SettledBytes(tracker);
    ASSERT_FALSE(bytes.empty()) << "the tracker was never probed";
    if (c.resetSent) {
        EXPECT_EQ(bytes.back(), 'R');
    } else {
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 'R'), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Ends, ExitStatusTest,
                         ::testing::Values(ExitCase{"exit", 1, true}, ExitCase{"enter", 1, true},
                                           ExitCase{"escape", 0, false},
                                           ExitCase{"closebox", 0, false},
                                           ExitCase{"sysclose", 0, false},
                                           ExitCase{"plot", 0, false, {"--plot"}}),
                         [](const auto& info) { return std::string(info.param.action); });

}  // namespace
}  // namespace gyrotest

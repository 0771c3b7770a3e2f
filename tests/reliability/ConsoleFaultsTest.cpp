// The console in Continuous + Start while the line misbehaves: every tick ends within the
// read bound, the window keeps serving its events, nothing spins, the angle fields only ever
// show the tracker's real pose, and the samples come again once the fault is gone. And a
// tracker that vanishes mid-stream and comes back: the user picks its port again, sets its
// modes again, and the samples come again.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "ConsoleRig.h"
#include "resource.h"

namespace reliability {
namespace {

constexpr double kMaxCpuShare = 0.5;
constexpr auto kResponsive = kReadLimit + milliseconds(100);

struct ConsoleFault {
    const char* name;
    korvisor::Faults faults;
    bool checksum;
};
void PrintTo(const ConsoleFault& c, std::ostream* out) { *out << c.name; }

korvisor::Faults with(void (*set)(korvisor::Faults&)) {
    korvisor::Faults f;
    set(f);
    return f;
}

class ConsoleLineFault : public ::testing::TestWithParam<ConsoleFault> {};

TEST_P(ConsoleLineFault, StaysResponsiveShowsOnlyGoodSamplesAndRecovers) {
    Console console;
    WatchedDlg& dlg = *console.dlg;
    ASSERT_EQ(dlg.link.GetPortId(), 3);
    console.stream(GetParam().checksum);
    pump(milliseconds(500));
    ASSERT_GT(dlg.goodReads, 0);

    console.sim->setFaults(GetParam().faults);
    LoopWatch loop;
    const double cpuStart = threadCpuMs();
    const auto start = Clock::now();
    pump(milliseconds(1500));
    const double wallMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    EXPECT_LT(threadCpuMs() - cpuStart, kMaxCpuShare * wallMs);
    EXPECT_LE(dlg.longestTick, kReadLimit);
    EXPECT_LE(loop.longestGap(), kResponsive);
    EXPECT_EQ(dlg.wrongShown, 0);

    console.sim->setFaults({});
    pump(milliseconds(500));
    const int before = dlg.goodReads;
    pump(milliseconds(1000));
    EXPECT_GE(dlg.goodReads - before, 20) << "samples per second after the fault";
    EXPECT_EQ(dlg.wrongShown, 0);
    click(dlg, IDC_STOP);
}

INSTANTIATE_TEST_SUITE_P(
    Reliability, ConsoleLineFault,
    ::testing::Values(
        ConsoleFault{"Garbage", with([](korvisor::Faults& f) { f.garbageBetweenFrames = true; }),
                     false},
        ConsoleFault{"BadChecksums", with([](korvisor::Faults& f) { f.badChecksumEvery = 3; }),
                     true},
        ConsoleFault{"LostBytes", with([](korvisor::Faults& f) { f.dropByteEvery = 11; }), true},
        ConsoleFault{"Silent", with([](korvisor::Faults& f) { f.silent = true; }), true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConsoleVanishing, PickingThePortAgainBringsTheSamplesBack) {
    const std::string dir =
        ::testing::TempDir() + "vexlink-console-vanish-" + std::to_string(getpid());
    std::filesystem::create_directories(dir);
    korvisor::Options options;
    options.linkPath = dir + "/tracker";
    {
        Console console(options);
        WatchedDlg& dlg = *console.dlg;
        ASSERT_EQ(dlg.link.GetPortId(), 3);
        console.stream(true);
        pump(milliseconds(300));
        ASSERT_GT(dlg.goodReads, 0);

        korvisor::Faults faults;
        faults.vanishAfterSeconds = 0.3;
        faults.comeBackAfterSeconds = 1.0;
        console.sim->setFaults(faults);
        LoopWatch loop;
        const double cpuStart = threadCpuMs();
        const auto start = Clock::now();
        pump(milliseconds(1000));  // the tracker is gone for most of it
        const double wallMs =
            std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        EXPECT_LT(threadCpuMs() - cpuStart, kMaxCpuShare * wallMs);
        EXPECT_LE(dlg.longestTick, kReadLimit);
        EXPECT_LE(loop.longestGap(), kResponsive);
        EXPECT_TRUE(dlg.sawNoReply) << "the status line never said the tracker stopped answering";
        EXPECT_EQ(dlg.wrongShown, 0);

        pump(milliseconds(600));  // back by now, on a new device behind the same path
        ASSERT_TRUE(std::filesystem::exists(options.linkPath));
        click(dlg, IDC_COM3);
        EXPECT_EQ(text(dlg, IDC_STATUS).toStdString(), "Korvisor found !!!");
        // The tracker came back powered on afresh: the user sets its modes again. The
        // sampling timer still runs.
        click(dlg, IDC_CHECKSUM_ON);
        click(dlg, IDC_CONTINUOUS);
        pump(milliseconds(300));
        const int before = dlg.goodReads;
        pump(milliseconds(1000));
        EXPECT_GE(dlg.goodReads - before, 20) << "samples per second after picking the port again";
        EXPECT_EQ(dlg.wrongShown, 0);
        click(dlg, IDC_STOP);
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace reliability

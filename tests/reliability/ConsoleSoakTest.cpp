// The console's soak: Continuous + Start at rate 75 with checksum mode on, for
// VEXLINK_SOAK_CONSOLE_SECONDS (CI's short default: 20 s). Samples keep coming, the fields
// only ever show the tracker's pose, and neither open descriptors nor memory grow. In the
// sanitizer build LeakSanitizer checks for leaks at exit as well.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ConsoleRig.h"
#include "resource.h"

namespace reliability {
namespace {

constexpr long kMaxGrowthKb = 8192;

TEST(ConsoleSoak, StreamsWithoutWrongSamplesLeaksOrGrowth) {
    const char* env = std::getenv("VEXLINK_SOAK_CONSOLE_SECONDS");
    const double seconds = env && *env ? std::atof(env) : 20;
    Console console;
    WatchedDlg& dlg = *console.dlg;
    ASSERT_EQ(dlg.link.GetPortId(), 3);
    console.stream(true);
    pump(std::chrono::seconds(2));
    const int descriptors = openDescriptors();
    [[maybe_unused]] const long resident = residentKb();
    const int goodBefore = dlg.goodReads;
    const auto start = Clock::now();

    // In steps, so that a stall shows where it happened.
    for (double done = 0; done < seconds; done += 1) {
        const int good = dlg.goodReads;
        pump(std::chrono::seconds(1));
        ASSERT_GE(dlg.goodReads - good, 20) << "samples in second " << done;
        ASSERT_EQ(dlg.wrongShown, 0) << "second " << done;
    }
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    RecordProperty("samples_per_second", std::to_string((dlg.goodReads - goodBefore) / elapsed));
    EXPECT_EQ(openDescriptors(), descriptors);
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_LE(residentKb() - resident, kMaxGrowthKb);
#endif
    EXPECT_LE(dlg.longestTick, kReadLimit);
    click(dlg, IDC_STOP);
}

}  // namespace
}  // namespace reliability

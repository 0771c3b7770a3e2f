// The live plot's record of reads: what it keeps of the past, and the rate it reports.
#include <gtest/gtest.h>

#include "SampleHistory.h"

namespace {

using gyrodesk::PlotClock;
using gyrodesk::Reading;
using gyrodesk::SampleHistory;
using std::chrono::milliseconds;

const PlotClock::time_point kStart{};

Reading At(int ms, bool good = true) { return Reading{kStart + milliseconds(ms), good, 1, 2, 3}; }

TEST(SampleHistoryTest, KeepsTheSpanBeforeTheLatestReadAndOneReadBeforeIt) {
    SampleHistory history;
    for (int ms = 0; ms <= 15000; ms += 100) history.Record(At(ms));
    const auto& readings = history.Readings();
    ASSERT_FALSE(readings.empty());
    EXPECT_EQ(readings.back().time, kStart + milliseconds(15000));
    // The span starts at 5000: the reads from there on, and no older one (the line starts on
    // the plot's left edge).
    EXPECT_EQ(readings.front().time, kStart + milliseconds(5000));
    EXPECT_EQ(readings.size(), 101u);

    // A read after a pause: the last read before the span stays, so the line enters the plot.
    history.Record(At(30000));
    ASSERT_EQ(readings.size(), 2u);
    EXPECT_EQ(readings.front().time, kStart + milliseconds(15000));
}

TEST(SampleHistoryTest, RateReachedCountsGoodSamplesOverTheLastTwoSeconds) {
    struct Case {
        const char* name;
        int periodMs;
        int failEvery;  // every n-th read fails (0: none)
        int reads;
        double rate;
    } const cases[] = {
        {"75 a second", 13, 0, 400, 1000.0 / 13}, {"every other read failing", 10, 2, 400, 50},
        {"one sample only", 10, 0, 1, 0},         {"all failing", 10, 1, 50, 0},
        {"a slow poll", 3000, 0, 3, 0},  // never two samples within two seconds
    };
    for (const Case& c : cases) {
        SampleHistory history;
        for (int i = 0; i < c.reads; ++i)
            history.Record(At(i * c.periodMs, c.failEvery == 0 || (i + 1) % c.failEvery != 0));
        EXPECT_NEAR(history.RateReached(), c.rate, c.rate * 0.03 + 1e-9) << c.name;
    }
}

TEST(SampleHistoryTest, LatestGoodSkipsFailedReads) {
    SampleHistory history;
    EXPECT_EQ(history.LatestGood(), nullptr);
    history.Record(At(0));
    history.Record(At(10, false));
    ASSERT_NE(history.LatestGood(), nullptr);
    EXPECT_EQ(history.LatestGood()->time, kStart);
    EXPECT_EQ(gyrodesk::FoldYaw(719), 359);
    EXPECT_EQ(gyrodesk::FoldYaw(360), 0);
}

}  // namespace

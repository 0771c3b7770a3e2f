// Reads, writes and purges: the read time-outs, bounded writes, and a device that goes away.
#include "PlatformHelpers.h"

#include <vexlink/Vexlink.h>

#include <gtest/gtest.h>

#include <thread>
#include <utility>
#include <vector>

namespace platformtest {
namespace {

struct ReadCase {
    const char* name;
    DWORD interval, multiplier, constant;
    DWORD n;
    std::vector<std::pair<int, std::string>>
        sends;  // (ms after the read starts, bytes); -1: before it
    DWORD minCount, maxCount;
    double minMs, maxMs;  // generous: the tracker's timing, not a benchmark
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class ReadTimeouts : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadTimeouts, EndAsStated) {
    const ReadCase& c = GetParam();
    testsupport::ScriptedDevice device;
    ScopedPort port(device.path());
    ASSERT_TRUE(port.open());
    const COMMTIMEOUTS timeouts = readTimeouts(c.interval, c.multiplier, c.constant);
    ASSERT_TRUE(SetCommTimeouts(port.handle, &timeouts));
    std::size_t before = 0;
    for (const auto& [at, bytes] : c.sends)
        if (at < 0) {
            device.send(bytes);
            before += bytes.size();
        }
    ASSERT_TRUE(device.waitForHostInput(before, milliseconds(1000)));

    const auto start = Clock::now();
    std::thread feeder([&] {
        for (const auto& [at, bytes] : c.sends) {
            if (at < 0) continue;
            std::this_thread::sleep_until(start + milliseconds(at));
            device.send(bytes);
        }
    });
    std::vector<unsigned char> buffer(c.n + 1, 0xAA);
    DWORD count = 0;
    const bool ok = ReadFile(port.handle, buffer.data(), c.n, &count);
    const double ms = msSince(start);
    feeder.join();

    EXPECT_TRUE(ok) << "a short count is success";
    EXPECT_GE(count, c.minCount);
    EXPECT_LE(count, c.maxCount);
    EXPECT_EQ(buffer[c.n], 0xAA) << "read past n";
    EXPECT_GE(ms, c.minMs);
    EXPECT_LE(ms, c.maxMs);
}

using Sends = std::vector<std::pair<int, std::string>>;

INSTANTIATE_TEST_SUITE_P(
    Table, ReadTimeouts,
    ::testing::Values(
        // The link's own time-outs: 5 ms between bytes, 5 ms per byte plus 5 in all.
        ReadCase{"allThere", 5, 5, 5, 3, Sends{{-1, "KHX"}}, 3, 3, 0, 15},
        ReadCase{"silentEndsAtTheTotal", 5, 5, 5, 3, Sends{}, 0, 0, 19, 120},
        ReadCase{"longerSilenceScalesWithN", 5, 5, 5, 9, Sends{}, 0, 0, 49, 150},
        ReadCase{"gapAfterAByteEndsIt", 5, 5, 5, 10, Sends{{-1, "K"}}, 1, 1, 4, 40},
        // The interval runs only once a first byte has come.
        ReadCase{"intervalWaitsForTheFirstByte", 5, 0, 150, 3, Sends{{25, "K"}}, 1, 1, 24, 140},
        // The total ends a stream whose gaps never reach the interval.
        ReadCase{"totalCutsAStream", 60, 0, 40, 100,
                 Sends{{0, "a"}, {8, "b"}, {16, "c"}, {24, "d"}, {32, "e"}, {100, "late"}}, 3, 5,
                 39, 95}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Read, LeavesTheRestQueuedForTheNextRead) {
    testsupport::ScriptedDevice device;
    ScopedPort port(device.path());
    ASSERT_TRUE(port.open());
    const COMMTIMEOUTS timeouts = readTimeouts(5, 5, 5);
    ASSERT_TRUE(SetCommTimeouts(port.handle, &timeouts));
    device.send("KHXYZ");
    ASSERT_TRUE(device.waitForHostInput(5, milliseconds(1000)));
    char buffer[8] = {};
    DWORD count = 0;
    ASSERT_TRUE(ReadFile(port.handle, buffer, 3, &count));
    ASSERT_TRUE(ReadFile(port.handle, buffer + 3, 5, &count));
    EXPECT_EQ(count, 2u);
    EXPECT_STREQ(buffer, "KHXYZ");
}

TEST(Sleep, IsPrecise) {
    for (DWORD ms : {1u, 5u, 10u, 25u}) {
        const auto start = Clock::now();
        vexlink::platform::Sleep(ms);
        const double took = msSince(start);
        EXPECT_GE(took, ms) << ms;
        EXPECT_LT(took, ms + 50.0) << ms;
    }
}

// The kernel itself holds the host's output back (as XOFF or a low CTS line would).
TEST(Write, HeldBackByFlowControlFailsWithinTheLimit) {
    testsupport::ScriptedDevice device;
    ScopedPort port(device.path());
    ASSERT_TRUE(port.open());
    device.holdHostOutput(true);
    const auto start = Clock::now();
    DWORD written = 9;
    EXPECT_FALSE(WriteFile(port.handle, "G", 1, &written));
    EXPECT_EQ(written, 0u);
    EXPECT_GE(msSince(start), Vexlink::kWriteHoldLimitMs - 5.0);
    EXPECT_LT(msSince(start), Vexlink::kWriteHoldLimitMs + 300.0);

    device.holdHostOutput(false);
    EXPECT_TRUE(WriteFile(port.handle, "X", 1, &written));
    EXPECT_EQ(written, 1u);
    ASSERT_TRUE(device.waitForCount(1, milliseconds(1000)));
    std::this_thread::sleep_for(milliseconds(20));
    EXPECT_EQ(device.receivedText(), "X") << "the failed byte went out later";

    device.holdHostOutput(true);
    const auto closing = Clock::now();
    EXPECT_TRUE(CloseHandle(port.handle)) << "with output held back";
    EXPECT_LT(msSince(closing), Vexlink::kCloseDrainLimitMs + 300.0);
    port.handle = INVALID_HANDLE_VALUE;
}

TEST(Purge, EmptiesTheInput) {
    testsupport::ScriptedDevice device;
    ScopedPort port(device.path());
    ASSERT_TRUE(port.open());
    const COMMTIMEOUTS patient = readTimeouts(0, 0, 1000), timeouts = readTimeouts(5, 5, 5);
    ASSERT_TRUE(SetCommTimeouts(port.handle, &patient));
    device.send("*stale reply");
    char buffer[16];
    DWORD count = 0;
    ASSERT_TRUE(ReadFile(port.handle, buffer, 1, &count));  // the rest came with the first byte
    ASSERT_EQ(count, 1u);
    ASSERT_TRUE(SetCommTimeouts(port.handle, &timeouts));
    EXPECT_TRUE(
        PurgeComm(port.handle, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR));
    count = 9;
    EXPECT_TRUE(ReadFile(port.handle, buffer, sizeof buffer, &count));
    EXPECT_EQ(count, 0u);
    // The output side: what was written before the purge had already left, and still arrives.
    EXPECT_TRUE(WriteFile(port.handle, "G", 1, &count));
    EXPECT_TRUE(PurgeComm(port.handle, PURGE_TXCLEAR | PURGE_RXCLEAR));
    EXPECT_TRUE(device.waitForCount(1, milliseconds(1000)));
}

// A device that goes away ends a read at once, with what had come, and makes writes fail.
TEST(Vanished, DeviceEndsReadsAndWritesAtOnce) {
    testsupport::ScriptedDevice device;
    ScopedPort port(device.path());
    ASSERT_TRUE(port.open());
    const COMMTIMEOUTS timeouts = readTimeouts(0, 0, 800);
    ASSERT_TRUE(SetCommTimeouts(port.handle, &timeouts));

    const auto start = Clock::now();
    std::thread unplug([&] {
        device.send("K");
        std::this_thread::sleep_for(milliseconds(30));
        device.vanish();
    });
    char buffer[8] = {};
    DWORD count = 0;
    const bool ok = ReadFile(port.handle, buffer, 3, &count);
    const double ms = msSince(start);
    unplug.join();
    EXPECT_FALSE(ok);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(buffer[0], 'K');
    EXPECT_LT(ms, 300.0) << "waited for the total time-out";

    const auto later = Clock::now();
    EXPECT_FALSE(ReadFile(port.handle, buffer, 3, &count));
    EXPECT_EQ(count, 0u);
    EXPECT_FALSE(WriteFile(port.handle, "R", 1, &count));
    DCB dcb;
    EXPECT_FALSE(GetCommState(port.handle, &dcb));
    EXPECT_LT(msSince(later), 50.0);
    EXPECT_TRUE(CloseHandle(port.handle));
    port.handle = INVALID_HANDLE_VALUE;
}

}  // namespace
}  // namespace platformtest

// How read and stream end: surviving an unplugged tracker (stream), giving up at once when the
// device has gone (read, --no-reconnect), and putting the tracker back on every signal.
#include "CliProcess.h"
#include "SimulatedTracker.h"
#include "UdpListener.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <unistd.h>

using namespace cli_test;
using namespace std::chrono_literals;

namespace {

// A tracker behind a symbolic link, so that its path stays the same when it comes back.
korvisor::Options linkedTracker(const std::string& link) {
    korvisor::Options options = trackerOptions();
    options.linkPath = link;
    return options;
}

std::string tempLink(const char* name) {
    return (std::filesystem::temp_directory_path() /
            (std::string("vexlink-cli-") + name + "-" + std::to_string(getpid())))
        .string();
}

}  // namespace

TEST(StreamReconnect, GoesOnAfterTheTrackerIsUnpluggedAndPluggedBack) {
    SimulatedTracker tracker(linkedTracker(tempLink("replug")));
    UdpListener listener;
    CliProcess stream({"stream", "--port", tracker.path(), "--udp",
                       "127.0.0.1:" + std::to_string(listener.port()), "--seconds", "4"});
    ASSERT_TRUE(listener.receive(3s)) << "no pose before the unplug";
    tracker.sim().vanish();
    std::this_thread::sleep_for(700ms);
    while (listener.receive(50ms)) {}
    tracker.sim().comeBack();
    EXPECT_TRUE(listener.receive(3s)) << "no pose after the tracker came back";
    const CliResult r = stream.finish(10s);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("has gone away; trying it again every half second"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("answers again"), std::string::npos) << r.err;
}

TEST(StreamReconnect, NoReconnectAndReadEndAtOnceWhenTheDeviceGoes) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {"stream --no-reconnect", {"stream", "--no-reconnect", "--udp", "127.0.0.1:9"}},
        {"read --continuous", {"read", "--continuous", "--checksum"}},
        {"read upon request", {"read"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedTracker tracker;
        std::vector<std::string> args = c.args;
        args.insert(args.begin() + 1, {"--port", tracker.path()});
        CliProcess process(args);
        std::this_thread::sleep_for(600ms);
        tracker.sim().vanish();
        const auto gone = std::chrono::steady_clock::now();
        const CliResult r = process.finish(10s);
        const auto took = std::chrono::steady_clock::now() - gone;
        EXPECT_EQ(r.exitCode, 1) << r.err;
        EXPECT_NE(r.err.find("has gone away"), std::string::npos) << r.err;
        EXPECT_LT(took, 2s) << "not reported at once";
        EXPECT_LT(std::count(r.out.begin(), r.out.end(), '\n'), 80) << "rows after the device went";
    }
}

TEST(StreamEnds, EverySignalPutsTheTrackerBackAndResetsIt) {
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(sig);
        SimulatedTracker tracker;
        UdpListener listener;
        CliProcess stream({"stream", "--port", tracker.path(), "--udp",
                           "127.0.0.1:" + std::to_string(listener.port())});
        ASSERT_TRUE(listener.receive(3s));
        stream.sendSignal(sig);
        const CliResult r = stream.finish(5s);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        const std::vector<std::uint8_t> bytes = tracker.bytesAfterClose();
        ASSERT_GE(bytes.size(), 2u);
        EXPECT_EQ(bytes[bytes.size() - 2], 'G');
        EXPECT_EQ(bytes.back(), 'R');
        EXPECT_EQ(tracker.sim().state().transMode, 'G');
    }
}

TEST(StreamEnds, StreamDefaultsToHeadTrackingModes) {
    SimulatedTracker tracker;
    UdpListener listener;
    const CliResult r = runCli({"stream", "--port", tracker.path(), "--udp",
                                "127.0.0.1:" + std::to_string(listener.port()), "--count", "20"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::uint8_t> bytes = tracker.sim().receivedBytes();
    const auto has = [&](std::uint8_t b) {
        return std::find(bytes.begin(), bytes.end(), b) != bytes.end();
    };
    EXPECT_TRUE(has('M') && has('H') && has(0x8E)) << "checksum, continuous, rate 75";
}

TEST(StreamEnds, FailuresAreReportedAsSuch) {
    {
        SCOPED_TRACE("every sample failed");
        SimulatedTracker tracker(trackerOptions(korvisor::Faults{.badChecksumEvery = 1}));
        const CliResult r =
            runCli({"read", "--port", tracker.path(), "--checksum", "--count", "5"});
        EXPECT_EQ(r.exitCode, 1) << r.err;
    }
    {
        SCOPED_TRACE("answers, but every checksum fails");
        SimulatedTracker tracker(trackerOptions(korvisor::Faults{.badChecksumEvery = 1}));
        const CliResult r =
            runCli({"read", "--port", tracker.path(), "--checksum", "--continuous"});
        EXPECT_EQ(r.exitCode, 1) << r.err;
        EXPECT_EQ(r.err.find("is lost"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("sends frames, but none was whole"), std::string::npos) << r.err;
    }
    {
        SCOPED_TRACE("broadcast without permission");
        SimulatedTracker tracker;
        const CliResult r = runCli(
            {"stream", "--port", tracker.path(), "--udp", "255.255.255.255:4242", "--count", "5"});
        EXPECT_EQ(r.exitCode, 1) << r.err;
    }
    {
        SCOPED_TRACE("control bytes in the version");
        korvisor::Options options = trackerOptions();
        options.version = "1\x1b[2J";
        SimulatedTracker tracker(options);
        const CliResult r = runCli({"version", "--port", tracker.path()});
        EXPECT_EQ(r.out, "1\\x1B[2J\n");
    }
}

TEST(StreamEnds, TheRateHoldsForAsciiFramesToo) {
    SimulatedTracker tracker;
    const CliResult r = runCli({"read", "--port", tracker.path(), "--ascii", "--continuous",
                                "--rate", "20", "--seconds", "1.5"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const long rows = std::count(r.out.begin(), r.out.end(), '\n') - 1;  // less the CSV header
    EXPECT_GE(rows, 20) << r.err;
    EXPECT_LE(rows, 34) << "more than the rate: frames were requested, not streamed";
}

// The one-shot subcommands (detect, version, reset), help, and the failures a user meets first:
// a command line that cannot be used, a port that does not exist, is taken, or has no tracker.
#include "CliProcess.h"
#include "SimulatedTracker.h"

#include <gtest/gtest.h>

using namespace cli_test;
using namespace std::chrono_literals;

namespace {

// The version reply is read with the line's 5 ms gap limit, so on a heavily loaded machine its
// tail can be cut off; whatever came must be the start of the tracker's text.
void expectVersionText(const std::string& printed) {
    ASSERT_FALSE(printed.empty());
    EXPECT_EQ(std::string("7.5a").rfind(printed, 0), 0u) << printed;
}

}  // namespace

TEST(Detect, FindsTheTrackerOnTheFirstAnsweringPortAndPrintsItsVersion) {
    SimulatedTracker tracker;
    const CliResult r = runCli({"detect"}, tracker.asCom2());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(r.out.rfind("COM2 version ", 0), 0u) << r.out;
    ASSERT_EQ(r.out.back(), '\n');
    expectVersionText(r.out.substr(13, r.out.size() - 14));
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(tracker.bytesAfterClose().back(), 'R');
}

TEST(Detect, FailsWithOneLineWhenNoPortAnswers) {
    SimulatedTracker silent(trackerOptions(korvisor::Faults{.silent = true}));
    const CliResult r = runCli({"detect"}, silent.asCom2());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    ASSERT_EQ(splitLines(r.err).size(), 1u) << r.err;
    EXPECT_NE(r.err.find("Korvisor not available"), std::string::npos) << r.err;
}

TEST(Version, ByComNameAndByDevicePath) {
    SimulatedTracker tracker;
    for (const std::string& port : {std::string("COM2"), tracker.path()}) {
        const CliResult r = runCli({"version", "--port", port}, tracker.asCom2());
        EXPECT_EQ(r.exitCode, 0) << port << ": " << r.err;
        ASSERT_FALSE(r.out.empty());
        EXPECT_EQ(r.out.back(), '\n');
        expectVersionText(r.out.substr(0, r.out.size() - 1));
    }
}

TEST(Reset, SendsTheResetsAndClosesThePort) {
    SimulatedTracker tracker;
    tracker.sim().clearReceived();
    const CliResult r = runCli({"reset", "--port", "COM2"}, tracker.asCom2());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "COM2: reset\n");
    // Three from the hard reset, one from closing the port.
    EXPECT_EQ(tracker.afterIdentification(), "RRRR");
}

TEST(Help, OnEverySubcommandToStandardOutput) {
    for (const char* sub : {"detect", "version", "read", "stream", "reset", "ports"}) {
        const CliResult r = runCli({sub, "--help"});
        EXPECT_EQ(r.exitCode, 0) << sub;
        EXPECT_EQ(r.out.rfind(std::string("usage: vexlink ") + sub, 0), 0u) << r.out;
        EXPECT_EQ(r.err, "") << sub;
    }
    const CliResult top = runCli({"--help"});
    EXPECT_EQ(top.exitCode, 0);
    EXPECT_NE(top.out.find("stream"), std::string::npos);
}

struct FailureCase {
    const char* name;
    std::vector<std::string> args;
    int status;
    const char* reasonContains;
};
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class Failures : public testing::TestWithParam<FailureCase> {};

TEST_P(Failures, ExitNonZeroWithAOneLineReasonAndNoOutput) {
    const FailureCase& c = GetParam();
    SimulatedTracker noTracker(trackerOptions(korvisor::Faults{.idReply = "KH"}));
    std::vector<std::string> args = c.args;
    for (std::string& a : args) {
        if (a == "@KH") a = noTracker.path();
    }
    const CliResult r = runCli(args);
    EXPECT_EQ(r.exitCode, c.status) << r.err;
    EXPECT_EQ(r.out, "");
    ASSERT_EQ(splitLines(r.err).size(), 1u) << r.err;
    EXPECT_EQ(r.err.rfind("vexlink", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(c.reasonContains), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    UsageAndPorts, Failures,
    testing::Values(
        FailureCase{"NoSubcommand", {}, 2, "no subcommand"},
        FailureCase{
            "UnknownOption", {"read", "--port", "COM2", "--fast"}, 2, "unknown option '--fast'"},
        FailureCase{
            "BadRate", {"read", "--port", "COM2", "--continuous", "--rate", "42"}, 2, "steps of 5"},
        FailureCase{"MissingPort", {"stream"}, 2, "--port is required"},
        FailureCase{"NoSuchDevice",
                    {"version", "--port", "/nonexistent/tty"},
                    1,
                    "no device at /nonexistent/tty: is the adapter plugged in?"},
        FailureCase{"NoSuchCom",
                    {"read", "--port", "COM3"},
                    1,
                    "no device at /nonexistent/vexlink-test-com3 (COM3, VEXLINK_COM3)"},
        FailureCase{"NotASerialPort",
                    {"version", "--port", "/dev/null"},
                    1,
                    "vexlink version: /dev/null is not a serial port"},
        FailureCase{
            "NotATracker", {"read", "--port", "@KH", "--count", "1"}, 1, "no tracker answered"},
        FailureCase{"UnresolvableUdpHost",
                    {"stream", "--port", "COM2", "--udp", "bad..name:4242"},
                    1,
                    "cannot resolve"}),
    [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST(Ports, APortHeldByAnotherRunIsRefused) {
    SimulatedTracker tracker;
    CliProcess holder({"read", "--port", "COM2"}, tracker.asCom2());
    ASSERT_TRUE(holder.waitForLines(2, 5s));
    const CliResult second = runCli({"version", "--port", tracker.path()});
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_NE(second.err.find(tracker.path() + " is busy"), std::string::npos) << second.err;
    holder.sendSignal(SIGINT);
    EXPECT_EQ(holder.finish(5s).exitCode, 0);
}

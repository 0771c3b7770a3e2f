// vexlink read against the simulated tracker: the modes it sets, the lines it prints, the
// verdicts, and every way a run ends with the tracker put back and the port reset.
#include "CliProcess.h"
#include "SimulatedTracker.h"

#include <gtest/gtest.h>

#include <csignal>
#include <map>

using namespace cli_test;
using namespace std::chrono_literals;

namespace {

struct ModeCase {
    const char* name;
    std::vector<std::string> args;
    std::string setup;  // bytes sent after identification, before the first sample
    std::string tail;   // the last bytes sent: back to upon request where needed, then reset
};
void PrintTo(const ModeCase& c, std::ostream* os) { *os << c.name; }

std::string bytes(std::initializer_list<int> values) {
    std::string text;
    for (int v : values) text += static_cast<char>(v);
    return text;
}

// One sample line's angles and verdict, from CSV or JSON Lines.
struct Line {
    double time = -1;
    std::string angles;  // "pitch,yaw,roll", empty for a failed sample
    std::string verdict;
};

Line parseLine(const std::string& text) {
    Line line;
    std::smatch m;
    static const std::regex csv(
        R"(^([0-9.]+),(-?\d*),(-?\d*),(-?\d*),(good|checksum error|short frame)$)");
    static const std::regex json(
        R"re(^\{"time":([0-9.]+),"pitch":(-?\d+|null),"yaw":(-?\d+|null),"roll":(-?\d+|null),"verdict":"(good|checksum error|short frame)"\}$)re");
    if (std::regex_match(text, m, csv) || std::regex_match(text, m, json)) {
        line.time = std::stod(m[1]);
        if (m[2] != "" && m[2] != "null")
            line.angles = m[2].str() + "," + m[3].str() + "," + m[4].str();
        line.verdict = m[5];
    }
    return line;
}

std::vector<Line> sampleLines(const std::string& out, bool csvHeader) {
    std::vector<std::string> text = splitLines(out);
    if (csvHeader) {
        EXPECT_FALSE(text.empty());
        if (!text.empty()) {
            EXPECT_EQ(text.front(), "time,pitch,yaw,roll,verdict");
            text.erase(text.begin());
        }
    }
    std::vector<Line> lines;
    for (const std::string& t : text) {
        lines.push_back(parseLine(t));
        EXPECT_GE(lines.back().time, 0) << "unparsable line: " << t;
    }
    return lines;
}

const std::string kPoseText = "200,451,-45";

}  // namespace

class ReadModes : public testing::TestWithParam<ModeCase> {};

TEST_P(ReadModes, SetsTheModesPrintsEverySampleAndPutsTheTrackerBack) {
    const ModeCase& c = GetParam();
    SimulatedTracker tracker;
    std::vector<std::string> args = {"read", "--port", "COM2", "--count", "6"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const bool jsonl = std::find(args.begin(), args.end(), "jsonl") != args.end();

    const CliResult r = runCli(args, tracker.asCom2());
    ASSERT_EQ(r.exitCode, 0) << r.err;

    const std::vector<Line> lines = sampleLines(r.out, !jsonl);
    ASSERT_EQ(lines.size(), 6u) << r.out;
    // A loaded machine can stretch a gap between two bytes past the line's 5 ms limit, so a
    // frame may now and then come short; a mode that does not work fails every sample.
    long good = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].verdict == "good") {
            ++good;
            EXPECT_EQ(lines[i].angles, kPoseText);
        }
        if (i > 0) {
            EXPECT_GT(lines[i].time, lines[i - 1].time);
        }
    }
    EXPECT_GE(good, 4) << r.out;
    const Summary s = parseSummary(r.err);
    EXPECT_EQ(s.samples, 6);
    EXPECT_EQ(s.failures, 6 - good);
    EXPECT_EQ(splitLines(r.err).size(), 1u) << r.err;

    const std::string sent = tracker.afterIdentification();
    EXPECT_EQ(sent.substr(0, c.setup.size()), c.setup);
    ASSERT_GE(sent.size(), c.tail.size());
    EXPECT_EQ(sent.substr(sent.size() - c.tail.size()), c.tail);
}

INSTANTIATE_TEST_SUITE_P(
    AllFormatsAndSamplingModes, ReadModes,
    testing::Values(
        ModeCase{"BinaryRequest", {}, "FN", "SR"},
        ModeCase{"BinaryRequestChecksumJsonl", {"--checksum", "--format", "jsonl"}, "FM", "SR"},
        ModeCase{
            "BinaryContinuous", {"--continuous", "--rate", "75"}, "FN" + bytes({0x8E}) + "H", "GR"},
        ModeCase{"BinaryContinuousChecksum",
                 {"--continuous", "--checksum"},
                 "FM" + bytes({0x87}) + "H",
                 "GR"},
        ModeCase{"AsciiRequest", {"--ascii"}, "EN", "SR"},
        ModeCase{"AsciiContinuousJsonl",
                 {"--ascii", "--continuous", "--rate", "20", "--format", "jsonl"},
                 "EN" + bytes({0x83}) + "H",
                 "GR"}),
    [](const testing::TestParamInfo<ModeCase>& info) { return info.param.name; });

struct FaultCase {
    const char* name;
    korvisor::Faults faults;
    std::vector<std::string> args;
    const char* failedVerdict;
};
void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class ReadVerdicts : public testing::TestWithParam<FaultCase> {};

TEST_P(ReadVerdicts, FailedSamplesAreNamedCountedAndCarryNoAngles) {
    const FaultCase& c = GetParam();
    SimulatedTracker tracker(trackerOptions(c.faults));
    std::vector<std::string> args = {"read", "--port", tracker.path(), "--count", "12"};
    args.insert(args.end(), c.args.begin(), c.args.end());

    const CliResult r = runCli(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<Line> lines = sampleLines(r.out, true);
    ASSERT_EQ(lines.size(), 12u);
    std::map<std::string, long> verdicts;
    for (const Line& line : lines) {
        ++verdicts[line.verdict];
        EXPECT_EQ(line.angles, line.verdict == "good" ? kPoseText : "") << line.verdict;
    }
    EXPECT_GT(verdicts["good"], 0);
    EXPECT_GT(verdicts[c.failedVerdict], 0);
    const Summary s = parseSummary(r.err);
    EXPECT_EQ(s.samples, 12);
    EXPECT_EQ(s.failures, 12 - verdicts["good"]);
    EXPECT_EQ(s.checksumErrors, verdicts["checksum error"]);
    EXPECT_EQ(s.shortFrames, verdicts["short frame"]);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ReadVerdicts,
    testing::Values(FaultCase{"BadChecksum",
                              korvisor::Faults{.badChecksumEvery = 3},
                              {"--checksum"},
                              "checksum error"},
                    FaultCase{"ContinuousBadChecksum",
                              korvisor::Faults{.badChecksumEvery = 3},
                              {"--checksum", "--continuous", "--rate", "75"},
                              "checksum error"},
                    // The identification reply is the first 3 bytes sent, so every 7th lost byte
                    // spares it and cuts most frames short.
                    FaultCase{
                        "LostBytes", korvisor::Faults{.dropByteEvery = 7}, {}, "short frame"}),
    [](const testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

class ReadStops : public testing::TestWithParam<int> {};

TEST_P(ReadStops, OnTheSignalBetweenSamples) {
    SimulatedTracker tracker;
    CliProcess read({"read", "--port", "COM2", "--continuous", "--format", "jsonl"},
                    tracker.asCom2());
    ASSERT_TRUE(read.waitForLines(3, 5s)) << read.out();
    read.sendSignal(GetParam());
    const CliResult r = read.finish(5s);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.signal, 0);
    EXPECT_EQ(r.exitCode, 0) << r.err;

    // Every line printed is whole and counted in the summary.
    const std::vector<Line> lines = sampleLines(r.out, false);
    EXPECT_EQ(parseSummary(r.err).samples, static_cast<long>(lines.size())) << r.err;
    const std::string sent = tracker.afterIdentification();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent.substr(sent.size() - 2), "GR");
}

INSTANTIATE_TEST_SUITE_P(CtrlCAndTerm, ReadStops, testing::Values(SIGINT, SIGTERM),
                         [](const testing::TestParamInfo<int>& info) {
                             return info.param == SIGINT ? std::string("Interrupt")
                                                         : std::string("Terminate");
                         });

TEST(ReadLimits, SecondsBoundTheRun) {
    SimulatedTracker tracker;
    const auto start = std::chrono::steady_clock::now();
    const CliResult r = runCli({"read", "--port", "COM2", "--seconds", "0.6"}, tracker.asCom2());
    const double took =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_GE(took, 0.6);
    EXPECT_LT(took, 3.0);
    const std::vector<Line> lines = sampleLines(r.out, true);
    EXPECT_GT(lines.size(), 3u);
    EXPECT_LT(lines.back().time, 1.2);
    EXPECT_EQ(parseSummary(r.err).samples, static_cast<long>(lines.size()));
}

TEST(ReadEnds, WhenTheOutputPipeClosesTheTrackerIsStillPutBack) {
    SimulatedTracker tracker;
    CliProcess read({"read", "--port", "COM2", "--continuous"}, tracker.asCom2());
    ASSERT_TRUE(read.waitForLines(3, 5s));
    read.closeStdout();
    const CliResult r = read.finish(5s);
    EXPECT_EQ(r.signal, 0) << "ended by a signal instead of cleanly";
    EXPECT_EQ(r.exitCode, 0) << "a reader that has had enough is a normal end (read | head)";
    EXPECT_EQ(r.err.find("cannot write"), std::string::npos)
        << "a closed pipe is no error to report";
    const std::string sent = tracker.afterIdentification();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent.substr(sent.size() - 2), "GR");
}

class ReadLosesTracker : public testing::TestWithParam<bool> {};

TEST_P(ReadLosesTracker, GivesUpWithAReasonInsteadOfPrintingFailuresForever) {
    const bool vanish = GetParam();
    SimulatedTracker tracker;
    CliProcess read({"read", "--port", "COM2", "--continuous"}, tracker.asCom2());
    ASSERT_TRUE(read.waitForLines(3, 5s));
    if (vanish) {
        tracker.sim().vanish();
    } else {
        tracker.sim().setFaults(korvisor::Faults{.silent = true});
    }
    const auto since = std::chrono::steady_clock::now();
    const CliResult r = read.finish(10s);
    const double took =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 1) << r.err;
    if (vanish) {
        // A device that has gone is said to be gone at once, not after 3 s of failed rows.
        EXPECT_NE(r.err.find("has gone away"), std::string::npos) << r.err;
        EXPECT_LT(took, 2.0);
    } else {
        EXPECT_NE(r.err.find("is lost"), std::string::npos) << r.err;
        EXPECT_GE(took, 2.5);
        EXPECT_LT(took, 6.0);
    }
    // A silent stream is waited on, not polled: no rows of failures while nothing comes.
    EXPECT_EQ(parseSummary(r.err).failures, 0) << r.err;
    if (!vanish) {
        const std::string sent = tracker.afterIdentification();
        EXPECT_EQ(sent.substr(sent.size() - 2), "GR");
    }
}

INSTANTIATE_TEST_SUITE_P(SilentOrGone, ReadLosesTracker, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? std::string("Vanished") : std::string("Silent");
                         });

// The streaming reader against the simulated tracker: every frame format at both line speeds,
// clean and under each fault. What it hands out as good must be exactly the frames that
// reached the host whole (none invented, none lost), in order.
#include <vexlink/SampleStream.h>
#include <vexlink/Vexlink.h>

#include <korvisor/Simulator.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;
using vexlink::FrameVerdict;
using vexlink::StreamResult;
using Bytes = std::vector<std::uint8_t>;

enum class Fault { None, Garbage, BadChecksum, LostBytes, VanishAndComeBack };

struct Case {
    const char* name;
    bool ascii;
    bool checksum;
    int speed;
    Fault fault;
};

korvisor::Faults faultsFor(Fault fault, bool ascii) {
    korvisor::Faults f;
    switch (fault) {
    case Fault::None: break;
    case Fault::Garbage: f.garbageBetweenFrames = true; break;
    case Fault::BadChecksum: f.badChecksumEvery = 3; break;
    case Fault::LostBytes: f.dropByteEvery = ascii ? 71 : 23; break;  // leave whole frames to judge
    case Fault::VanishAndComeBack:
        f.vanishAfterSeconds = 0.4;
        f.comeBackAfterSeconds = 0.3;
        break;
    }
    return f;
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class StreamAgainstSimulator : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("vexlink-stream-" + std::to_string(getpid()) + "-" + GetParam().name);
        std::filesystem::create_directories(dir);
        korvisor::Options options;
        options.linkPath =
            (dir / "tracker").string();  // the path stays when the tracker comes back
        sim = std::make_unique<korvisor::Simulator>(options);
        sim->start();
    }
    void TearDown() override {
        sim.reset();
        std::filesystem::remove_all(dir);
    }

    // Identification has tight time-outs; on a loaded machine a first try can miss them.
    bool open() {
        for (int attempt = 0; attempt < 5; ++attempt)
            if (link.OpenCom(sim->devicePath().c_str()) == 1) return true;
        return false;
    }

    std::filesystem::path dir;
    std::unique_ptr<korvisor::Simulator> sim;
    Vexlink link;
};

TEST_P(StreamAgainstSimulator, HandsOutExactlyTheFramesThatArrivedWhole) {
    const Case c = GetParam();
    ASSERT_TRUE(open());
    vexlink::SampleStream stream(link);
    vexlink::StreamSettings settings;
    settings.ascii = c.ascii;
    settings.checksum = c.checksum;
    settings.speed = c.speed;
    settings.rate = 75;
    sim->clearSentFrames();
    ASSERT_TRUE(stream.Start(settings));
    sim->setFaults(faultsFor(c.fault, c.ascii));

    std::vector<Bytes> good;
    std::vector<std::chrono::steady_clock::time_point> goodArrivals;
    long bad = 0;
    int gone = 0;
    std::chrono::steady_clock::time_point goneAt{};
    std::string trace;  // every frame handed out, for the failure message
    const auto until = std::chrono::steady_clock::now() + 1200ms;
    vexlink::StreamSample sample;
    // Until the time is up, then whatever is complete already (zero time-out).
    for (bool draining = false;;) {
        if (!draining && std::chrono::steady_clock::now() >= until) draining = true;
        const StreamResult r = stream.Next(sample, draining ? 0ms : 200ms);
        if (draining && r != StreamResult::Sample) break;
        if (r == StreamResult::Sample) {
            if (sample.verdict == FrameVerdict::Good) {
                good.emplace_back(sample.bytes, sample.bytes + sample.size);
                goodArrivals.push_back(sample.arrival);
            } else {
                ++bad;
            }
            trace += std::to_string(static_cast<int>(sample.verdict)) + ":";
            for (int i = 0; i < sample.size; ++i) trace += " " + std::to_string(sample.bytes[i]);
            trace += "\n";
        } else if (r == StreamResult::DeviceGone) {
            ++gone;
            goneAt = std::chrono::steady_clock::now();
            link.CloseCom(link.GetComHandle());
            while (!open() && std::chrono::steady_clock::now() < until + 2s)
                std::this_thread::sleep_for(50ms);
            if (link.CheckIfBusy()) {
                ASSERT_TRUE(stream.Start(settings));
            }
        }
    }
    const auto lastSeen =
        goodArrivals.empty() ? std::chrono::steady_clock::time_point{} : goodArrivals.back();
    stream.Stop();
    EXPECT_EQ(link.GetTransMode(), 'G');

    // The frames that reached the host whole, up to a little before the last one handed out.
    std::vector<Bytes> whole;
    for (const korvisor::TxFrame& f : sim->sentFrames()) {
        if (!f.stream || !f.intact || (f.badChecksum && !c.ascii && c.checksum)) continue;
        if (f.lastByteAt > lastSeen) break;
        // The bytes still queued for the host when the device hangs up are gone with it: a
        // frame written just before the vanish may never be readable.
        const bool atVanish = gone > 0 && f.lastByteAt <= goneAt && f.lastByteAt > goneAt - 100ms;
        if (atVanish && std::find(good.begin(), good.end(), f.bytes) == good.end()) continue;
        whole.push_back(f.bytes);
    }
    ASSERT_GE(whole.size(), 20u) << "too few frames to judge";
    std::string sentTrace;
    for (const auto& f : whole) {
        for (auto b : f) sentTrace += " " + std::to_string(b);
        sentTrace += "\n";
    }
    ASSERT_GE(good.size(), whole.size()) << "handed out:\n" << trace << "whole:\n" << sentTrace;
    good.resize(whole.size());
    for (std::size_t i = 0; i < whole.size(); ++i) ASSERT_EQ(good[i], whole[i]) << "frame " << i;

    const auto& counts = stream.Counts();
    switch (c.fault) {
    case Fault::None: EXPECT_EQ(bad, 0); break;
    case Fault::Garbage:
        EXPECT_EQ(bad, 0);
        EXPECT_GT(counts.skippedBytes, 0u);
        break;
    case Fault::BadChecksum:
        if (!c.ascii && c.checksum) {
            EXPECT_GT(counts.checksumErrors, 0u);
        }
        break;
    case Fault::LostBytes: EXPECT_GT(bad + static_cast<long>(counts.skippedBytes), 0); break;
    case Fault::VanishAndComeBack: EXPECT_EQ(gone, 1); break;
    }
    // Each delivery is stamped no earlier than its last byte was written.
    if (c.fault == Fault::None) {
        const auto sent = sim->sentFrames();
        for (std::size_t i = 0; i < whole.size(); ++i) {
            EXPECT_GE(goodArrivals[i], sent[i].lastByteAt);
        }
    }
}

std::vector<Case> allCases() {
    struct Format {
        const char* name;
        bool ascii, checksum;
    };
    const Format formats[] = {
        {"BinaryChecksum", false, true}, {"Binary", false, false}, {"Ascii", true, false}};
    const std::pair<const char*, Fault> faults[] = {{"Clean", Fault::None},
                                                    {"Garbage", Fault::Garbage},
                                                    {"BadChecksum", Fault::BadChecksum},
                                                    {"LostBytes", Fault::LostBytes},
                                                    {"Vanish", Fault::VanishAndComeBack}};
    static std::vector<std::string> names;
    std::vector<Case> cases;
    names.reserve(64);
    for (const Format& f : formats)
        for (int speed : {9600, 19200})
            for (const auto& [faultName, fault] : faults) {
                names.push_back(std::string(f.name) + faultName + std::to_string(speed));
                cases.push_back({names.back().c_str(), f.ascii, f.checksum, speed, fault});
            }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryFormatSpeedAndFault, StreamAgainstSimulator,
                         ::testing::ValuesIn(allCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

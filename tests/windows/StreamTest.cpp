// The streaming reader through vexlink.dll: every frame handed out as it completes (not in
// bursts), with the tracker's pose, and the link usable as before once the stream stops.
#include "LinkFixture.h"
#include "WineRig.h"

#include <vexlink/SampleStream.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace {

struct Format {
    const char* name;
    bool ascii;
    bool checksum;
};

class Stream : public WineLink, public ::testing::WithParamInterface<Format> {};

TEST_P(Stream, HandsOutEveryFrameAsItCompletesThenGivesTheLinkBack) {
    const Format f = GetParam();
    ASSERT_EQ(link.OpenCom(wine_rig::kTracker), 1);
    vexlink::SampleStream stream(link);
    vexlink::StreamSettings settings;
    settings.ascii = f.ascii;
    settings.checksum = f.checksum;
    settings.rate = 75;
    ASSERT_TRUE(stream.Start(settings));

    constexpr int kSamples = 30;
    std::vector<Clock::time_point> arrivals;
    int good = 0;
    while (static_cast<int>(arrivals.size()) < kSamples) {
        vexlink::StreamSample sample;
        const auto result = stream.Next(sample, milliseconds(500));
        ASSERT_EQ(result, vexlink::StreamResult::Sample)
            << "after " << arrivals.size() << " samples";
        const auto handedOut = Clock::now();
        EXPECT_LE(sample.arrival, handedOut);
        EXPECT_LT(handedOut - sample.arrival, milliseconds(50))
            << "handed out when its last byte came";
        arrivals.push_back(sample.arrival);
        if (sample.verdict != vexlink::FrameVerdict::Good) continue;
        ++good;
        EXPECT_EQ(sample.pitch, wine_rig::kPitch);
        EXPECT_EQ(sample.yaw, wine_rig::kYaw);
        EXPECT_EQ(sample.roll, wine_rig::kRoll);
    }
    EXPECT_GE(good, kSamples - 2);
    // Frames come one by one (75 a second, or as fast as 9600 bit/s carries ASCII ones): a reader
    // that woke only for a full buffer would hand them out in bursts, most gaps near zero.
    int bunched = 0;
    for (std::size_t i = 1; i < arrivals.size(); ++i)
        if (arrivals[i] - arrivals[i - 1] < milliseconds(3)) ++bunched;
    EXPECT_LE(bunched, kSamples / 5);

    EXPECT_TRUE(stream.Stop());
    EXPECT_EQ(link.GetTransMode(), 'G');
    // The link's own time-outs are back: a version request reads its reply as before.
    const char* version = link.Get_Version();
    ASSERT_NE(version, nullptr);
    EXPECT_STREQ(version, "1.02");
    EXPECT_TRUE(messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Windows, Stream,
                         ::testing::Values(Format{"BinaryChecksum", false, true},
                                           Format{"Binary", false, false},
                                           Format{"Ascii", true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

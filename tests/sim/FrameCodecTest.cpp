// Angle words and frame layouts: every whole degree the tracker can report must come back
// exactly through the host's decoding.
#include <korvisor/FrameCodec.h>

#include <gtest/gtest.h>

namespace korvisor {
namespace {

TEST(AngleWords, EveryWholeDegreeDecodesBackAndIsTheSmallestWord) {
    for (int yaw = kYawMin; yaw <= kYawMax; ++yaw) {
        const std::uint16_t w = yawWord(yaw);
        ASSERT_EQ(yawOfWord(w), yaw);
        if (w > 0) {
            ASSERT_EQ(yawOfWord(static_cast<std::uint16_t>(w - 1)), yaw - 1) << yaw;
        }
    }
    for (int a = kTiltMin; a <= kTiltMax; ++a) {
        const std::uint16_t w = tiltWord(a);
        ASSERT_EQ(tiltOfWord(w), a);
        if (w > 0) {
            ASSERT_EQ(tiltOfWord(static_cast<std::uint16_t>(w - 1)), a - 1) << a;
        }
    }
}

TEST(AngleWords, WordLimitsDecodeAsTheHostReadsThem) {
    struct Row {
        std::uint16_t word;
        int yaw;
        int tilt;
    };
    const Row rows[] = {{0x0000, 0, -90},  {0x3FFF, 179, -1}, {0x4000, 180, 0},
                        {0x7FFF, 359, 89}, {0x8000, 360, 90}, {0xFFFF, 719, 269}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.word);
        EXPECT_EQ(yawOfWord(r.word), r.yaw);
        EXPECT_EQ(tiltOfWord(r.word), r.tilt);
        // The encoders' words for these angles never lie above the limit word.
        EXPECT_LE(yawWord(r.yaw), r.word);
        EXPECT_LE(tiltWord(r.tilt), r.word);
        EXPECT_EQ(yawOfWord(yawWord(r.yaw)), r.yaw);
        EXPECT_EQ(tiltOfWord(tiltWord(r.tilt)), r.tilt);
    }
    EXPECT_EQ(yawWord(90), 0x2000);
    EXPECT_EQ(tiltWord(0), 0x4000);
    EXPECT_EQ(yawWord(999), yawWord(kYawMax));  // out of range: clamped
    EXPECT_EQ(tiltWord(-200), 0);
}

TEST(FrameLayout, BinaryAndAsciiFrames) {
    const Pose pose{-45, 123, 10};
    const std::uint16_t y = yawWord(123), p = tiltWord(-45), r = tiltWord(10);
    const std::vector<std::uint8_t> body = {std::uint8_t(y >> 8), std::uint8_t(y),
                                            std::uint8_t(p >> 8), std::uint8_t(p),
                                            std::uint8_t(r >> 8), std::uint8_t(r)};
    const std::uint8_t sum = std::uint8_t((y & 0xFF) + (p & 0xFF) + (r & 0xFF));

    EXPECT_EQ(encodeFrame(pose, {'F', false, false}), body);
    auto withSum = body;
    withSum.push_back(sum);
    EXPECT_EQ(encodeFrame(pose, {'F', false, true}), withSum);
    auto stream = withSum;
    stream.insert(stream.begin(), {kStreamStart, kStreamSecondHeader});
    EXPECT_EQ(encodeFrame(pose, {'F', true, true}), stream);
    EXPECT_NE(encodeFrame(pose, {'F', false, true}, true).back(), sum);

    const auto ascii = encodeFrame(pose, {'E', false, true});
    EXPECT_EQ(std::string(ascii.begin(), ascii.end()), "Y  123,  -45,   10\r\n");
    EXPECT_EQ(ascii.size(), kAsciiFrameLength);
}

TEST(FrameLayout, ChecksumIsTheLowBytesSum) {
    EXPECT_EQ(checksumOf(0x1234, 0x5678, 0x1ABC), 0x68);
    EXPECT_EQ(checksumOf(0x4000, 0x2AAA, 0x7FFF), 0xA9);
}

}  // namespace
}  // namespace korvisor

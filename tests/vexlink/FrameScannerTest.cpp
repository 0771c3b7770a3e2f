// The stream's frame scanner on byte sequences written out: what it hands out, with which
// verdict, when a start byte hides in a frame's words, bytes go missing or noise comes between.
#include "FrameScanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A continuous binary frame of three words, with a checksum byte unless without is set.
Bytes frame(int yaw, int pitch, int roll, bool checksum = true, int checksumDelta = 0) {
    Bytes f = {0xFF, 0x00};
    for (int w : {yaw, pitch, roll}) {
        f.push_back(static_cast<std::uint8_t>(w >> 8));
        f.push_back(static_cast<std::uint8_t>(w & 0xFF));
    }
    if (checksum)
        f.push_back(static_cast<std::uint8_t>((yaw + pitch + roll + checksumDelta) & 0xFF));
    return f;
}

Bytes ascii(const char* text) { return Bytes(text, text + 20); }

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes without(Bytes f, std::size_t at) {
    f.erase(f.begin() + static_cast<long>(at));
    return f;
}

// G good, C checksum error, M malformed; one letter per frame handed out, in order.
std::string scan(const Bytes& bytes, bool asciiFrames, bool checksum,
                 std::vector<int>* yaws = nullptr) {
    vexlink::FrameScanner scanner;
    scanner.reset(asciiFrames, checksum);
    std::string verdicts;
    vexlink::StreamSample sample;
    // Fed a byte at a time, as a slow line delivers them: no frame may depend on the chunking.
    for (std::uint8_t b : bytes) {
        *scanner.tail() = b;
        scanner.added(1, std::chrono::steady_clock::now());
        while (scanner.next(sample)) {
            verdicts += "GCM"[static_cast<int>(sample.verdict)];
            if (yaws && sample.verdict == vexlink::FrameVerdict::Good) yaws->push_back(sample.yaw);
        }
    }
    return verdicts;
}

struct Case {
    const char* name;
    Bytes bytes;
    bool ascii;
    bool checksum;
    std::string verdicts;
};

const Bytes A = frame(0x4000, 0x4000, 0x4000);          // yaw 180
const Bytes B = frame(0x2000, 0x3000, 0x5000);          // yaw 90
const Bytes FfInWords = frame(0x7FFF, 0xFF40, 0x40FF);  // 0xFF in three places: yaw 359
const Bytes Next = frame(0x1000, 0x4000, 0x4000);       // its start byte confirms the frame before

const Case kCases[] = {
    {"Clean", A + B + Next, false, true, "GGG"},
    {"NoiseBeforeAFrame", Bytes{0x00, 0x55, 0x13} + A + Next, false, true, "GG"},
    {"StartByteInTheWords", FfInWords + A + Next, false, true, "GGG"},
    {"StartByteInTheWordsThenNoise", FfInWords + Bytes{0x00, 0x55} + A + Next, false, true, "GGG"},
    {"ByteLost", without(A, 4) + B + Next, false, true, "MGG"},
    {"LastByteLost", without(A, 8) + B + Next, false, true, "MGG"},
    {"StartByteLost", without(A, 0) + B + Next, false, true, "GG"},
    {"ByteLostFromAFrameWithStartBytesInside", without(FfInWords, 3) + B + Next, false, true,
     "MGG"},
    {"BadChecksum", frame(0x4000, 0x4000, 0x4000, true, 1) + B + Next, false, true, "CGG"},
    {"NoChecksumClean", frame(1, 2, 3, false) + frame(4, 5, 6, false) + frame(7, 8, 9, false),
     false, false, "GGG"},
    {"NoChecksumByteLost",
     without(frame(1, 2, 3, false), 5) + frame(4, 5, 6, false) + frame(7, 8, 9, false), false,
     false, "MGG"},
    {"AsciiClean", ascii("Y  123,  -45,   10\r\n") + ascii("Y    0,    0,    0\r\n"), true, false,
     "GG"},
    {"AsciiByteLost", without(ascii("Y  123,  -45,   10\r\n"), 9) + ascii("Y    1,    2,    3\r\n"),
     true, false, "MG"},
    {"AsciiBadLayout", ascii("Y  1x3,  -45,   10\r\n") + ascii("Y    1,    2,    3\r\n"), true,
     false, "MG"},
    {"AsciiNoise", Bytes{'Q', 0x00} + ascii("Y  359,   89,  -90\r\n"), true, false, "G"},
};

class FrameScannerCases : public ::testing::TestWithParam<Case> {};

TEST_P(FrameScannerCases, HandsOutEveryFrameWithItsVerdict) {
    const Case& c = GetParam();
    EXPECT_EQ(scan(c.bytes, c.ascii, c.checksum), c.verdicts);
}

INSTANTIATE_TEST_SUITE_P(Streams, FrameScannerCases, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FrameScanner, DecodesAsTheSampleReaderDoes) {
    std::vector<int> yaws;
    EXPECT_EQ(scan(FfInWords + A + B + Next, false, true, &yaws), "GGGG");
    EXPECT_EQ(yaws, (std::vector<int>{359, 180, 90, 45}));
}

TEST(FrameScanner, WaitsForTheNextStartByteOnlyWhenAFrameHoldsOne) {
    vexlink::FrameScanner scanner;
    scanner.reset(false, true);
    vexlink::StreamSample sample;
    const auto feed = [&](const Bytes& b) {
        std::copy(b.begin(), b.end(), scanner.tail());
        scanner.added(static_cast<int>(b.size()), std::chrono::steady_clock::now());
    };
    feed(A);
    EXPECT_TRUE(scanner.next(sample)) << "a plain frame is handed out as its last byte comes";
    feed(FfInWords);
    EXPECT_FALSE(scanner.next(sample)) << "a frame holding 0xFF waits for what follows";
    EXPECT_EQ(scanner.needed(), 1);
    feed(Bytes{0xFF});
    EXPECT_TRUE(scanner.next(sample));
    EXPECT_EQ(sample.verdict, vexlink::FrameVerdict::Good);
}

}  // namespace

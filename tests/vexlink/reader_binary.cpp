// Binary frames, upon request and continuous: decoding, the checksum, and synchronisation on the
// stream's 0xFF.
#include "reader_fixture.h"

namespace {

using namespace trackertest;
using BinaryReader = TrackerLink;

struct Frame {
    const char* what;
    char transMode;
    int checksum;
    std::string bytes;  // what the tracker sends
    int result;
    int yaw, pitch, roll;
    int bytesRead;
    int checkByte;  // -1: left as it was
};

const Frame kFrames[] = {
    {"request", 'G', 0, bytes({0x20, 0x00, 0x40, 0x00, 0x30, 0x00}), 1, 90, 0, -23, 6, -1},
    {"request, checksum", 'G', 1, bytes({0x12, 0x34, 0x56, 0x78, 0x1A, 0xBC, 0x68}), 1, 51, 31, -53,
     7, 0x68},
    {"request, checksum mismatch", 'G', 1, bytes({0x12, 0x34, 0x56, 0x78, 0x1A, 0xBC, 0x69}), 0,
     kUnsetAngle, kUnsetAngle, kUnsetAngle, 7, 0x69},
    {"request, checksum ignores high bytes", 'G', 1,
     bytes({0xFF, 0x34, 0x00, 0x78, 0x00, 0xBC, 0x68}), 1, 717, -90, -89, 7, 0x68},
    {"continuous, checksum, mid-stream", 'H', 1,
     bytes({0x2A, 0xAA, 0x7F, 0x00, 0xFF, 0x07, 0x40, 0x00, 0x2A, 0xAA, 0x7F, 0xFF, 0xA9}), 1, 180,
     -31, 89, 9, 0xA9},
    {"continuous, checksum mismatch", 'H', 1,
     bytes({0xFF, 0x07, 0x40, 0x00, 0x2A, 0xAA, 0x7F, 0xFF, 0xAA}), 0, kUnsetAngle, kUnsetAngle,
     kUnsetAngle, 7, 0xAA},
    // Joined mid-frame: the roll word's low byte 0xFF is taken as the start, the real start as
    // the second header byte, and the frame decodes one word out of step.
    {"continuous, 0xFF inside a frame", 'H', 0,
     bytes({0x2A, 0xAA, 0x7F, 0xFF, 0xFF, 0x01, 0x40, 0x00, 0x2A, 0xAA, 0x7F}), 1, 3, -90, 149, 8,
     -1},
};

TEST_F(BinaryReader, DecodesChecksAndCountsEachFrame) {
    for (const Frame& f : kFrames) {
        setMode('F', f.transMode, f.checksum);
        link.pitch = link.yaw = link.roll = kUnsetAngle;
        link.checkByte = 0x155;  // no received byte has this value
        serveFrame(f.bytes);

        EXPECT_EQ(link.ReadFromPort(), f.result) << f.what;
        int pitch = 0, yaw = 0, roll = 0;
        link.Get_PYR(&pitch, &yaw, &roll);
        EXPECT_EQ(yaw, f.yaw) << f.what;
        EXPECT_EQ(pitch, f.pitch) << f.what;
        EXPECT_EQ(roll, f.roll) << f.what;
        EXPECT_EQ(link.GetBytesRead(), f.bytesRead) << f.what;
        EXPECT_EQ(link.checkByte, f.checkByte < 0 ? 0x155 : f.checkByte) << f.what;

        // The frame is kept as received, from its start byte on in continuous mode.
        const std::size_t length = f.transMode == 'G' ? f.bytes.size() : 8u + f.checksum;
        const std::string kept(reinterpret_cast<char*>(link.dataBuffer), length);
        EXPECT_EQ(kept, f.bytes.substr(f.bytes.size() - length)) << f.what;
        senders.clear();
    }
}

TEST_F(BinaryReader, SendsOneSampleRequestPerReadUponRequestAndNoneInContinuousMode) {
    setMode('F', 'G', 0);
    serveFrame(bytes({0x20, 0x00, 0x40, 0x00, 0x30, 0x00}));
    ASSERT_EQ(link.ReadFromPort(), 1);
    ASSERT_EQ(link.ReadFromPort(), 1);
    EXPECT_EQ(device.receivedText(), "SS");

    setMode('F', 'H', 0);
    serveFrame(bytes({0xFF, 0x00, 0x20, 0x00, 0x40, 0x00, 0x30, 0x00}));
    ASSERT_EQ(link.ReadFromPort(), 1);
    EXPECT_EQ(device.receivedText(), "SS");
}

TEST_F(BinaryReader, WordsAtTheLimitsDecodeWithoutWrapOrClamp) {
    struct Limit {
        int word, yaw, tilt;
    };
    const Limit limits[] = {{0x0000, 0, -90},  {0x3FFF, 179, -1}, {0x4000, 180, 0},
                            {0x7FFF, 359, 89}, {0x8000, 360, 90}, {0xFFFF, 719, 269}};
    setMode('F', 'G', 0);
    for (const Limit& l : limits) {
        const int hi = l.word >> 8, lo = l.word & 0xFF;
        serveFrame(bytes({hi, lo, hi, lo, hi, lo}));
        ASSERT_EQ(link.ReadFromPort(), 1) << l.word;
        EXPECT_EQ(link.yaw, l.yaw) << l.word;
        EXPECT_EQ(link.pitch, l.tilt) << l.word;
        EXPECT_EQ(link.roll, l.tilt) << l.word;
    }
}

// DoCheckSum takes the low bytes' positions from the sampling mode in force when it is called.
TEST_F(BinaryReader, DoCheckSumFollowsTheCurrentSamplingMode) {
    setMode('F', 'G', 1);
    serveFrame(bytes({0x12, 0x34, 0x56, 0x78, 0x1A, 0xBC, 0x68}));
    ASSERT_EQ(link.ReadFromPort(), 1);
    EXPECT_EQ(link.DoCheckSum(), 1);
    link.SetTransMode('H');  // now sums positions 3, 5 and 7: 0x78 + 0xBC + 0x00
    EXPECT_EQ(link.DoCheckSum(), 0);
    link.checkByte = 0x34;
    EXPECT_EQ(link.DoCheckSum(), 1);
}

}  // namespace

// A frame whose body did not come whole is no sample: the read returns 0, the angles and the
// checksum byte stay as they were, dataBuffer keeps what arrived and bytesRead counts the body
// bytes alone, below the full body length.
#include "reader_fixture.h"

namespace {

using namespace trackertest;
using ShortFrame = TrackerLink;

struct Case {
    const char* what;
    char dataMode, transMode;
    int checksum;
    std::string bytes;  // all the tracker sends
    int bytesRead;
};

const Case kCases[] = {
    {"request, no reply", 'F', 'G', 0, "", 0},
    {"request, no reply, checksum mode on (zeros would pass the checksum)", 'F', 'G', 1, "", 0},
    {"request, half a frame", 'F', 'G', 0, bytes({0x20, 0x00, 0x40}), 3},
    {"request, checksum byte missing", 'F', 'G', 1, bytes({0x12, 0x34, 0x56, 0x78, 0x1A, 0xBC}), 6},
    {"continuous, header byte missing", 'F', 'H', 0, bytes({0xFF}), 0},
    {"continuous, no body", 'F', 'H', 0, bytes({0xFF, 0x00}), 0},
    {"continuous, short body", 'F', 'H', 0, bytes({0xFF, 0x00, 0x40, 0x00, 0x2A, 0xAA}), 4},
    {"continuous, checksum byte missing", 'F', 'H', 1,
     bytes({0xFF, 0x00, 0x40, 0x00, 0x2A, 0xAA, 0x7F, 0xFF}), 6},
    {"ASCII, start byte alone", 'E', 'G', 0, "Y", 0},
    {"ASCII, cut after the pitch field", 'E', 'H', 0, "Y  123,  -45", 11},
    {"ASCII, last byte missing", 'E', 'G', 0, "Y  123,  -45,   10\r", 18},
};

TEST_F(ShortFrame, FailsKeepsTheAnglesAndCountsOnlyTheBody) {
    for (const Case& c : kCases) {
        setMode(c.dataMode, c.transMode, c.checksum);
        link.checkByte = 0x155;
        serveFrame(c.bytes);

        EXPECT_EQ(link.ReadFromPort(), 0) << c.what;
        EXPECT_EQ(link.GetBytesRead(), c.bytesRead) << c.what;
        EXPECT_EQ(link.yaw, kUnsetAngle) << c.what;
        EXPECT_EQ(link.pitch, kUnsetAngle) << c.what;
        EXPECT_EQ(link.roll, kUnsetAngle) << c.what;
        EXPECT_EQ(link.checkByte, 0x155) << c.what;
        // What arrived stays in dataBuffer; an ASCII frame's text ends at position 18 after
        // every read, a short one too.
        std::string expected = c.bytes;
        if (c.dataMode == 'E' && expected.size() > 18) expected = expected.substr(0, 18) + '\0';
        EXPECT_EQ(std::string(reinterpret_cast<char*>(link.dataBuffer), c.bytes.size()), expected)
            << c.what;
        if (c.dataMode == 'E') {
            EXPECT_EQ(link.dataBuffer[18], 0) << c.what;
        }
        senders.clear();
    }
}

// The same read succeeds once the frame comes whole: a failure leaves nothing behind.
TEST_F(ShortFrame, TheNextCompleteFrameIsReadNormally) {
    setMode('F', 'G', 1);
    serveFrame(bytes({0x12, 0x34, 0x56}));
    ASSERT_EQ(link.ReadFromPort(), 0);
    serveFrame(bytes({0x12, 0x34, 0x56, 0x78, 0x1A, 0xBC, 0x68}));
    ASSERT_EQ(link.ReadFromPort(), 1);
    EXPECT_EQ(link.yaw, 51);
    EXPECT_EQ(link.pitch, 31);
    EXPECT_EQ(link.roll, -53);
    EXPECT_EQ(link.checkByte, 0x68);
}

}  // namespace

// ASCII frames: 'Y', three 5-character decimal fields, separators that are not examined.
#include "reader_fixture.h"

namespace {

using namespace trackertest;
using AsciiReader = TrackerLink;

struct Frame {
    const char* what;
    char transMode;
    int checksum;       // plays no part in ASCII
    std::string bytes;  // what the tracker sends
    int yaw, pitch, roll;
    const char* text;   // dataBuffer read as a string afterwards
};

const Frame kFrames[] = {
    {"blanks and signs", 'G', 0, "Y  123,  -45,   10\r\n", 123, -45, 10, "Y  123,  -45,   10"},
    {"continuous, checksum mode on", 'H', 1, "Y  123,  -45,   10\r\n", 123, -45, 10,
     "Y  123,  -45,   10"},
    {"bytes before the start dropped", 'G', 0, "x,9\x01Y+0001,99999,-9999\r\n", 1, 99999, -9999,
     "Y+0001,99999,-9999"},
    {"other white space, no digits, separators not examined", 'G', 0, "Y\t\v 12| +7  |abcde??", 12,
     7, 0, "Y\t\v 12| +7  |abcde"},
    {"a NUL ends the text", 'G', 0, std::string("Y  1\0" "3,  -45,   10\r\n", 20), 1, 0, 0, "Y  1"},
    {"no request when transMode is NUL", '\0', 0, "Y   -7,    8,  269\r\n", -7, 8, 269,
     "Y   -7,    8,  269"},
};

TEST_F(AsciiReader, ParsesEachFieldAsDecimalTextUpToItsSeparator) {
    for (const Frame& f : kFrames) {
        setMode('E', f.transMode, f.checksum);
        link.checkByte = 0x155;
        device.clearReceived();
        serveFrame(f.bytes);

        EXPECT_EQ(link.ReadFromPort(), 1) << f.what;
        EXPECT_EQ(link.yaw, f.yaw) << f.what;
        EXPECT_EQ(link.pitch, f.pitch) << f.what;
        EXPECT_EQ(link.roll, f.roll) << f.what;
        EXPECT_EQ(link.GetBytesRead(), 19) << f.what;
        EXPECT_EQ(frameText(), f.text) << f.what;
        EXPECT_EQ(link.dataBuffer[18], 0) << f.what;
        EXPECT_EQ(link.checkByte, 0x155) << f.what;
        // The sample request goes out in both sampling modes.
        EXPECT_EQ(device.receivedText(), f.transMode ? "S" : "") << f.what;
        senders.clear();
    }
}

// The bytes behind a NUL are still kept in dataBuffer, as received.
TEST_F(AsciiReader, KeepsTheWholeFrameBehindAnEmbeddedNul) {
    const std::string frame("Y  1\0" "3,  -45,   10\r\n", 20);
    setMode('E', 'G', 0);
    serveFrame(frame);
    ASSERT_EQ(link.ReadFromPort(), 1);
    const std::string expected("Y  1\0" "3,  -45,   10\0\n", 20);  // position 18 set to NUL
    EXPECT_EQ(std::string(reinterpret_cast<char*>(link.dataBuffer), 20), expected);
}

}  // namespace

// ASCII frames: 'Y', three right-aligned 5-character decimal fields, a separator after the first
// two (any byte but a digit, sign, NUL or line end) and CR LF. A frame whose layout does not
// hold is no sample.
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
    const char* text;  // dataBuffer read as a string afterwards
};

const Frame kFrames[] = {
    {"blanks and signs", 'G', 0, "Y  123,  -45,   10\r\n", 123, -45, 10, "Y  123,  -45,   10"},
    {"continuous, checksum mode on", 'H', 1, "Y  123,  -45,   10\r\n", 123, -45, 10,
     "Y  123,  -45,   10"},
    {"bytes before the start dropped", 'G', 0, "x,9\x01Y+0001,99999,-9999\r\n", 1, 99999, -9999,
     "Y+0001,99999,-9999"},
    {"separators other than commas", 'G', 0, "Y   12|   +7;    0\r\n", 12, 7, 0,
     "Y   12|   +7;    0"},
    {"blank separators", 'G', 0, "Y  123   -45    10\r\n", 123, -45, 10, "Y  123   -45    10"},
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

// Twenty bytes from a 'Y' that are not a frame as the tracker writes it: the read fails with
// the full count, so a caller tells it from a frame that did not come whole, and the angles
// stay those of the last good sample.
const std::pair<const char*, std::string> kMalformed[] = {
    {"a digit lost, the gap filled by the next frame's 'Y'", "Y  123,  -4,   10\r\nY"},
    {"CR lost", "Y  123,  -45,   10\nY"},
    {"LF lost", "Y  123,  -45,   10\rY"},
    {"a NUL inside a field", std::string("Y  1\0"
                                         "3,  -45,   10\r\n",
                                         20)},
    {"a field without digits", "Y  123,     ,   10\r\n"},
    {"a sign alone", "Y  123,    -,   10\r\n"},
    {"a blank after the digits", "Y 123 ,  -45,   10\r\n"},
    {"a sign behind a digit", "Y  1-3,  -45,   10\r\n"},
    {"a tab for a blank", "Y\t 123,  -45,   10\r\n"},
    {"a letter in a field", "Y  12a,  -45,   10\r\n"},
    {"a digit where the separator belongs", "Y  1234  -45,   10\r\n"},
    {"a blank lost between blank separators", "Y  123  -45    10\r\nY"},
    {"a sign where the separator belongs", "Y  123-  -45,   10\r\n"},
    {"no line end", "Y  123,  -45,   10,,"},
};

TEST_F(AsciiReader, AFrameWhoseLayoutDoesNotHoldFailsAtTheFullCount) {
    for (const auto& [what, frame] : kMalformed) {
        ASSERT_EQ(frame.size(), 20u) << what;
        for (char transMode : {'G', 'H'}) {
            setMode('E', transMode, 0);
            serveFrame(frame);
            EXPECT_EQ(link.ReadFromPort(), 0) << what;
            EXPECT_EQ(link.GetBytesRead(), 19) << what;
            EXPECT_EQ(link.yaw, kUnsetAngle) << what;
            EXPECT_EQ(link.pitch, kUnsetAngle) << what;
            EXPECT_EQ(link.roll, kUnsetAngle) << what;
            // The frame stays as received for the caller to show, position 18 set to NUL.
            const std::string expected = frame.substr(0, 18) + '\0' + frame.substr(19);
            EXPECT_EQ(std::string(reinterpret_cast<char*>(link.dataBuffer), 20), expected) << what;
            senders.clear();
        }
    }
}

// After a malformed frame the next good one is read normally: a failure leaves nothing behind.
TEST_F(AsciiReader, TheNextGoodFrameAfterAMalformedOneIsASample) {
    setMode('E', 'G', 0);
    serveFrame("Y  123,  -4,   10\r\nY");
    ASSERT_EQ(link.ReadFromPort(), 0);
    serveFrame("Y  123,  -45,   10\r\n");
    ASSERT_EQ(link.ReadFromPort(), 1);
    EXPECT_EQ(link.yaw, 123);
    EXPECT_EQ(link.pitch, -45);
    EXPECT_EQ(link.roll, 10);
}

}  // namespace

// The mode, filter and rate commands: the one byte each sends, its result, and what a failed
// write leaves behind.
#include "reader_fixture.h"

namespace {

using namespace trackertest;
using CommandBytes = TrackerLink;

TEST_F(CommandBytes, SamplingRateSendsRateOverFivePlus127InItsLowByteAndStoresTheRate) {
    struct Case {
        int rate;
        int byte;
    };
    const Case cases[] = {
        {5, 0x80},   {10, 0x81},  {15, 0x82}, {20, 0x83}, {25, 0x84}, {30, 0x85},
        {35, 0x86},  {40, 0x87},  {45, 0x88}, {50, 0x89}, {55, 0x8A}, {60, 0x8B},
        {65, 0x8C},  {70, 0x8D},  {75, 0x8E}, {42, 0x87},  // truncated to a multiple of 5
        {4, 0x7F},                                         // 0 to 4 give the byte below the table
        {0, 0x7F},   {-5, 0x7E},  {-7, 0x7E},              // truncation toward zero, not floor
        {640, 0xFF}, {645, 0x00},                          // wraps around
    };
    std::string expected;
    for (const Case& c : cases) {
        link.SetSamplingRate(c.rate);
        EXPECT_EQ(link.GetSamplingRate(), c.rate);
        EXPECT_EQ(link.GetBytesRead(), 1) << c.rate;
        expected += static_cast<char>(c.byte);
    }
    ASSERT_TRUE(device.waitForCount(expected.size(), 2000ms));
    EXPECT_EQ(device.receivedText(), expected);
}

struct Command {
    const char* name;
    int (Vexlink::*member)();
    char byte;
    int checkStatusBefore;
    int checkStatusAfter;  // after a successful write
    int checkStatusAfterFailure;
};

const Command kCommands[] = {
    {"CheckSumOn", &Vexlink::CheckSumOn, 'M', 0, 1, 0},
    {"CheckSumOn again", &Vexlink::CheckSumOn, 'M', 1, 1, 0},
    {"CheckSumOff", &Vexlink::CheckSumOff, 'N', 1, 0, 1},
    {"CheckSumOff again", &Vexlink::CheckSumOff, 'N', 0, 0, 1},
    {"SetHysteresisOn", &Vexlink::SetHysteresisOn, 'P', 1, 1, 1},
    {"SetHysteresisOff", &Vexlink::SetHysteresisOff, 'O', 0, 0, 0},
};

TEST_F(CommandBytes, EachCommandSendsItsLetterAndReportsTheWrite) {
    for (const Command& c : kCommands) {
        device.clearReceived();
        link.checkStatus = c.checkStatusBefore;
        EXPECT_EQ((link.*c.member)(), 1) << c.name;
        EXPECT_EQ(link.GetCheckStatus(), c.checkStatusAfter) << c.name;
        EXPECT_EQ(link.GetBytesRead(), 1) << c.name;
        ASSERT_TRUE(device.waitForCount(1, 1000ms)) << c.name;
        EXPECT_EQ(device.receivedText(), std::string(1, c.byte)) << c.name;
    }
}

// A device that has gone away refuses every write: the checksum commands then keep the mode
// the tracker is believed to have stayed in, and the rate is stored all the same.
TEST_F(CommandBytes, FailedWritesReportZeroAndKeepTheFormerChecksumMode) {
    device.vanish();
    for (const Command& c : kCommands) {
        link.checkStatus = c.checkStatusBefore;
        EXPECT_EQ((link.*c.member)(), 0) << c.name;
        EXPECT_EQ(link.GetCheckStatus(), c.checkStatusAfterFailure) << c.name;
    }
    link.SetSamplingRate(25);
    EXPECT_EQ(link.GetSamplingRate(), 25);
}

}  // namespace

// Switching the line speed both ways, its no-op cases, and a port that rejects the change.
#include "LinkFixture.h"

#include <sys/ioctl.h>

namespace linktest {
namespace {

const char* const kInitFailed = "Init failed \n \"SetCommState\"";

struct SpeedCase {
    const char* name;
    int start;     // currentSpeed before the call
    bool to19200;  // Set19200, else Set9600
    const char* sent;
    int after;  // currentSpeed after, and the port's speed when it changed
};

void PrintTo(const SpeedCase& c, std::ostream* os) { *os << c.name; }

class Speed : public LinkTest, public ::testing::WithParamInterface<SpeedCase> {};

TEST_P(Speed, SwitchesOnlyFromTheOtherSpeed) {
    const SpeedCase& c = GetParam();
    ScriptedDevice& tracker = deviceOn(1);
    Vexlink link;
    ASSERT_EQ(link.AutoDetectComPort(), 1);  // port and tracker at 9600
    forget(tracker, 3);
    if (c.start == 19200) {
        // The way there: the port really is at 19200 before Set9600.
        ASSERT_EQ(link.Set19200(), 1);
        forget(tracker, 1);
    }
    link.SetSpeedFlag(c.start);
    const int portSpeedBefore = hostSpeed(tracker);

    EXPECT_EQ(c.to19200 ? link.Set19200() : link.Set9600(), 1);
    EXPECT_EQ(link.currentSpeed, c.after);
    link.SendToPort(const_cast<char*>("G"));
    EXPECT_TRUE(receives(tracker, std::string(c.sent) + "G"));
    const auto rx = tracker.received();
    const bool acted = c.sent[0] != '\0';
    EXPECT_EQ(rx.back().hostSpeed, acted ? c.after : portSpeedBefore)
        << "the byte after the switch";
    if (acted) {
        EXPECT_EQ(link.dcb.BaudRate, static_cast<DWORD>(c.after));
        EXPECT_EQ(link.dcb.ByteSize, 8);
        EXPECT_EQ(link.dcb.Parity, NOPARITY);
        EXPECT_EQ(link.dcb.StopBits, ONESTOPBIT);
    }
    EXPECT_TRUE(messages.empty());
    link.CloseCom(link.comHandle);
}

INSTANTIATE_TEST_SUITE_P(Table, Speed,
                         ::testing::Values(SpeedCase{"to9600", 19200, false, "L", 9600},
                                           SpeedCase{"to19200", 9600, true, "K", 19200},
                                           SpeedCase{"alreadyAt9600", 9600, false, "", 9600},
                                           SpeedCase{"alreadyAt19200", 19200, true, "", 19200},
                                           SpeedCase{"flagZeroUp", 0, true, "", 0},
                                           SpeedCase{"flagZeroDown", 0, false, "", 0},
                                           SpeedCase{"flagOtherUp", 38400, true, "", 38400},
                                           SpeedCase{"flagOtherDown", 38400, false, "", 38400}),
                         [](const auto& info) { return std::string(info.param.name); });

// The kernel keeps the port's speed locked: the command byte has gone, the switch fails.
TEST_F(Speed, RejectedSwitchKeepsTheSpeed) {
    ScriptedDevice& tracker = deviceOn(1);
    Vexlink link;
    ASSERT_EQ(link.AutoDetectComPort(), 1);
    forget(tracker, 3);
    termios lock{};
    lock.c_cflag = CBAUD;
    if (ioctl(tracker.portFd(), TIOCSLCKTRMIOS, &lock) != 0) {
        link.CloseCom(link.comHandle);
        GTEST_SKIP() << "locking termios needs CAP_SYS_ADMIN";
    }
    EXPECT_EQ(link.Set19200(), 0);
    EXPECT_TRUE(receives(tracker, "K"));
    EXPECT_EQ(messages, std::vector<std::string>{kInitFailed});
    EXPECT_EQ(link.currentSpeed, 9600);
    link.CloseCom(link.comHandle);
}

}  // namespace
}  // namespace linktest

// The line: raw in both directions, settings kept as the port had them, and the four settings a
// DCB changes applied exactly, only once the output has drained.
#include "PlatformHelpers.h"

#include "platform/posix/Tty.h"

#include <vexlink/Vexlink.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/ioctl.h>

namespace platformtest {
namespace {

constexpr tcflag_t kKeptFlags = CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | CLOCAL | HUPCL;

speed_t hostSpeedCode(const testsupport::ScriptedDevice& device) {
    const termios t = device.hostSettings();
    return cfgetospeed(&t);
}

// A new pseudo-terminal starts cooked with echo; every byte value must pass unchanged both ways
// and the host must not echo the device's bytes back to it.
TEST(Line, IsRawBothWays) {
    testsupport::ScriptedDevice device(0);
    ScopedPort port(device.path());
    ASSERT_TRUE(port.open());
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);

    device.send(all);
    const COMMTIMEOUTS timeouts = readTimeouts(100, 0, 1000);
    ASSERT_TRUE(SetCommTimeouts(port.handle, &timeouts));
    std::string got(256, '\0');
    DWORD count = 0;
    ASSERT_TRUE(ReadFile(port.handle, got.data(), 256, &count));
    EXPECT_EQ(count, 256u);
    EXPECT_EQ(got, all);
    std::this_thread::sleep_for(milliseconds(20));
    EXPECT_EQ(device.receivedText(), "") << "echoed";

    ASSERT_TRUE(WriteFile(port.handle, all.data(), 256, &count));
    EXPECT_EQ(count, 256u);
    ASSERT_TRUE(device.waitForCount(256, milliseconds(2000)));
    std::this_thread::sleep_for(milliseconds(20));
    EXPECT_EQ(device.receivedText(), all);
}

struct KeptCase {
    const char* name;
    speed_t speed;
    tcflag_t flags;  // within kKeptFlags; a pseudo-terminal always runs 8 bits without parity
};

void PrintTo(const KeptCase& c, std::ostream* os) { *os << c.name; }

class LineKeeps : public ::testing::TestWithParam<KeptCase> {};

TEST_P(LineKeeps, TheSettingsThePortHad) {
    const KeptCase& c = GetParam();
    testsupport::ScriptedDevice device(0);
    termios before{};
    ASSERT_EQ(tcgetattr(device.portFd(), &before), 0);
    before.c_cflag = (before.c_cflag & ~kKeptFlags) | c.flags | CS8;
    cfsetspeed(&before, c.speed);
    ASSERT_EQ(tcsetattr(device.portFd(), TCSANOW, &before), 0);

    ScopedPort port(device.path());
    ASSERT_TRUE(port.open());
    const termios after = device.hostSettings();
    EXPECT_EQ(cfgetospeed(&after), c.speed);
    EXPECT_EQ(after.c_cflag & kKeptFlags, (c.flags & kKeptFlags) | CS8);

    DCB dcb;
    ASSERT_TRUE(GetCommState(port.handle, &dcb));
    EXPECT_EQ(speedCode(dcb.BaudRate), c.speed);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, NOPARITY);
    EXPECT_EQ(dcb.StopBits, (c.flags & CSTOPB) ? TWOSTOPBITS : ONESTOPBIT);
    EXPECT_EQ(dcb.fOutxCtsFlow, (c.flags & CRTSCTS) ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Table, LineKeeps,
                         ::testing::Values(KeptCase{"plain38400", B38400, CLOCAL},
                                           KeptCase{"twoStopCts4800", B4800,
                                                    CSTOPB | CRTSCTS | HUPCL},
                                           KeptCase{"modemLines115200", B115200, HUPCL},
                                           KeptCase{"localCts19200", B19200, CLOCAL | CRTSCTS}),
                         [](const auto& info) { return std::string(info.param.name); });

// SetCommState sets speed, byte size, parity and stop bits, keeps flow control and the rest.
TEST(Line, SetCommStateChangesTheFourAndKeepsTheRest) {
    testsupport::ScriptedDevice device(19200);
    termios start{};
    tcgetattr(device.portFd(), &start);
    start.c_cflag |= CSTOPB | CRTSCTS | HUPCL;
    start.c_cflag &= ~CLOCAL;
    tcsetattr(device.portFd(), TCSANOW, &start);
    ScopedPort port(device.path());
    ASSERT_TRUE(port.open());
    const termios opened = device.hostSettings();

    DCB dcb;
    ASSERT_TRUE(GetCommState(port.handle, &dcb));
    EXPECT_EQ(dcb.BaudRate, 19200u);
    dcb.BaudRate = 9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    ASSERT_TRUE(SetCommState(port.handle, &dcb));

    const termios now = device.hostSettings();
    EXPECT_EQ(cfgetospeed(&now), B9600);
    EXPECT_EQ(cfgetispeed(&now), B9600);
    EXPECT_FALSE(now.c_cflag & CSTOPB);
    EXPECT_EQ(now.c_cflag & (CRTSCTS | HUPCL | CLOCAL | CREAD),
              opened.c_cflag & (CRTSCTS | HUPCL | CLOCAL | CREAD));
    EXPECT_EQ(now.c_iflag, opened.c_iflag);
    EXPECT_EQ(now.c_oflag, opened.c_oflag);
    EXPECT_EQ(now.c_lflag, opened.c_lflag);
    DCB read;
    ASSERT_TRUE(GetCommState(port.handle, &read));
    EXPECT_EQ(read.BaudRate, 9600u);
    EXPECT_EQ(read.StopBits, ONESTOPBIT);
    EXPECT_EQ(read.fOutxCtsFlow, 1);
}

// Settings a port cannot take fail and leave the port as it was: values outside the record's
// range, a device that is no terminal, and a terminal whose speed the kernel keeps locked.
TEST(Line, RejectedSettingsFail) {
    testsupport::ScriptedDevice device(19200);
    ScopedPort port(device.path());
    ASSERT_TRUE(port.open());
    DCB good;
    ASSERT_TRUE(GetCommState(port.handle, &good));
    struct Bad {
        const char* what;
        void (*spoil)(DCB&);
    };
    const Bad cases[] = {
        {"speed", [](DCB& d) { d.BaudRate = 12345; }},
        {"byte size", [](DCB& d) { d.ByteSize = 9; }},
        {"parity", [](DCB& d) { d.Parity = 3; }},
        {"stop bits", [](DCB& d) { d.StopBits = 1; }},
    };
    for (const Bad& c : cases) {
        DCB dcb = good;
        c.spoil(dcb);
        EXPECT_FALSE(SetCommState(port.handle, &dcb)) << c.what;
        EXPECT_EQ(hostSpeedCode(device), B19200) << c.what;
    }

    termios lock{};
    lock.c_cflag = CBAUD;  // every speed bit locked
    if (ioctl(device.portFd(), TIOCSLCKTRMIOS, &lock) != 0)
        GTEST_SKIP() << "locking termios needs CAP_SYS_ADMIN";
    DCB slower = good;
    slower.BaudRate = 9600;
    EXPECT_FALSE(SetCommState(port.handle, &slower))
        << "the kernel kept the speed, but the call claimed success";
    EXPECT_EQ(hostSpeedCode(device), B19200);
}

// A pseudo-terminal's output queue is always empty, so these tests stand in a UART's queue that
// drains at a chosen moment and record the line speed the port had at each look at it.
namespace drain {
Clock::time_point drainedAt;
std::vector<int> speedsSeen;
int queueUntilDrained(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) == 0) speedsSeen.push_back(lineSpeed(t));
    return Clock::now() < drainedAt ? 1 : 0;
}
int neverDrains(int) { return 1; }

struct ProbeGuard {
    explicit ProbeGuard(OutputQueueProbe probe) { setOutputQueueProbeForTesting(probe); }
    ~ProbeGuard() { setOutputQueueProbeForTesting(nullptr); }
};
}  // namespace drain

TEST(Line, SpeedChangeWaitsForTheOutputToDrain) {
    testsupport::ScriptedDevice device(19200);
    ScopedPort port(device.path());
    ASSERT_TRUE(port.open());
    DCB dcb;
    ASSERT_TRUE(GetCommState(port.handle, &dcb));
    dcb.BaudRate = 9600;

    drain::speedsSeen.clear();
    const auto start = Clock::now();
    drain::drainedAt = start + milliseconds(30);
    {
        drain::ProbeGuard guard(drain::queueUntilDrained);
        ASSERT_TRUE(SetCommState(port.handle, &dcb));
    }
    EXPECT_GE(msSince(start), 29.0);
    ASSERT_FALSE(drain::speedsSeen.empty());
    for (int speed : drain::speedsSeen)
        EXPECT_EQ(speed, 19200) << "applied before the output had drained";
    EXPECT_EQ(hostSpeedCode(device), B9600);
    EXPECT_LT(drain::speedsSeen.size(), 200u) << "the wait spun";
}

// Output that never drains (held back by flow control) holds no call for long.
TEST(Line, HeldOutputIsBounded) {
    testsupport::ScriptedDevice device(19200);
    ScopedPort port(device.path());
    ASSERT_TRUE(port.open());
    DCB dcb;
    ASSERT_TRUE(GetCommState(port.handle, &dcb));
    dcb.BaudRate = 9600;
    drain::ProbeGuard guard(drain::neverDrains);

    auto start = Clock::now();
    DWORD written = 9;
    EXPECT_FALSE(WriteFile(port.handle, "L", 1, &written))
        << "a byte stuck behind flow control counts as written";
    EXPECT_EQ(written, 0u);
    EXPECT_GE(msSince(start), Vexlink::kWriteHoldLimitMs - 5.0);
    EXPECT_LT(msSince(start), 400.0);

    start = Clock::now();
    EXPECT_TRUE(SetCommState(port.handle, &dcb));
    EXPECT_LT(msSince(start), 400.0);

    start = Clock::now();
    EXPECT_TRUE(CloseHandle(port.handle));
    EXPECT_GE(msSince(start), Vexlink::kCloseDrainLimitMs - 5.0);
    EXPECT_LT(msSince(start), 400.0);
    port.handle = INVALID_HANDLE_VALUE;
}

}  // namespace
}  // namespace platformtest

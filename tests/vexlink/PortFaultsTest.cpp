// What an open leaves behind: the cause of a refusal with the system's code, never the system
// console, descriptors clear of the standard streams, and a line put back as it was found.
#include "PlatformHelpers.h"
#include "platform/LastError.h"

#include <FakeSystem.h>
#include <vexlink/Ports.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platformtest {
namespace {

using testsupport::FakeSystem;
using testsupport::ScriptedDevice;
using vexlink::PortFault;

struct PortFaults : public ::testing::Test {
    testsupport::PortEnvironment env;
    FakeSystem system;
    std::unique_ptr<ScopedPort> held;  // a port a case holds while the test opens it again
};

struct FaultCase {
    const char* what;
    std::function<std::string(PortFaults&, ScriptedDevice&)> setUp;  // gives the name to open
    PortFault fault;
    int osError;
    const char* says;  // part of the line describePortError gives
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.what; }

class OpenFailures : public PortFaults, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(OpenFailures, NameTheirCause) {
    const FaultCase& c = GetParam();
    ScriptedDevice device;
    const std::string name = c.setUp(*this, device);
    ScopedPort port(name);
    EXPECT_FALSE(port.open());
    const vexlink::PortError error = vexlink::lastPortError();
    EXPECT_EQ(error.fault, c.fault);
    EXPECT_EQ(error.osError, c.osError);
    EXPECT_EQ(lastError(), c.osError);
    EXPECT_EQ(error.name, name);
    const std::string line = vexlink::describePortError(error);
    EXPECT_NE(line.find(c.says), std::string::npos) << line;
    EXPECT_EQ(line.find('\n'), std::string::npos) << line;
    EXPECT_EQ(device.receivedText(), "");
    held.reset();
}

INSTANTIATE_TEST_SUITE_P(
    Table, OpenFailures,
    ::testing::Values(
        FaultCase{"missing",
                  [](PortFaults&, ScriptedDevice&) { return std::string("/nonexistent/ttyUSB0"); },
                  PortFault::NotFound, ENOENT,
                  "no device at /nonexistent/ttyUSB0: is the adapter plugged in?"},
        FaultCase{"default COM path",
                  [](PortFaults& t, ScriptedDevice&) {
                      t.env.unset(2);
                      return std::string("COM2");
                  },
                  PortFault::NotFound, ENOENT, "/ttyS1 (COM2, default)"},
        FaultCase{"not a terminal",
                  [](PortFaults&, ScriptedDevice&) { return std::string("/dev/null"); },
                  PortFault::NotSerial, ENOTTY, "/dev/null is not a serial port"},
        FaultCase{"a folder", [](PortFaults& t, ScriptedDevice&) { return t.system.dev(); },
                  PortFault::NotSerial, ENOTTY, "is not a serial port"},
        FaultCase{"mapped to no port",
                  [](PortFaults& t, ScriptedDevice&) {
                      t.env.unset(4);
                      FakeSystem::writeFile(t.system.userMap(), "COM4 =\n");
                      return std::string("COM4");
                  },
                  PortFault::NoPort, ENOENT, "COM4 is mapped to no port"},
        FaultCase{"no port name",
                  [](PortFaults&, ScriptedDevice&) { return std::string("ttyUSB0"); },
                  PortFault::InvalidName, EINVAL, "\"ttyUSB0\" is not a port name"},
        FaultCase{"held by this process",
                  [](PortFaults& t, ScriptedDevice& d) {
                      t.held = std::make_unique<ScopedPort>(d.path());
                      return d.path();
                  },
                  PortFault::Busy, EBUSY, "is busy"},
        FaultCase{"the system console",
                  [](PortFaults& t, ScriptedDevice& d) {
                      t.system.addNode("ttyS0", d.path());
                      t.system.setConsoles("ttyS0");
                      t.env.unset(1);
                      return std::string("COM1");
                  },
                  PortFault::SystemConsole, EBUSY, "is the system console"}));

// Held by another program: its name, as /proc tells it, is in the reason.
TEST_F(PortFaults, BusyNamesTheHolder) {
    ScriptedDevice device;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        const HANDLE h = CreateFileA(device.path().c_str());
        const char done = h == INVALID_HANDLE_VALUE ? 'n' : 'y';
        (void)!write(ready[1], &done, 1);
        pause();
        _exit(0);
    }
    char opened = 0;
    ASSERT_EQ(read(ready[0], &opened, 1), 1);
    EXPECT_EQ(opened, 'y');
    EXPECT_FALSE(ScopedPort(device.path()).open());
    const vexlink::PortError error = vexlink::lastPortError();
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_EQ(error.fault, PortFault::Busy);
    EXPECT_NE(error.holder.find("(pid " + std::to_string(holder) + ")"), std::string::npos)
        << error.holder;
    EXPECT_NE(vexlink::describePortError(error).find(error.holder + " holds it"),
              std::string::npos);
}

// An unprivileged user outside the device's group: the cure is the dialout group.
TEST_F(PortFaults, PermissionDeniedNamesTheDialoutCure) {
    ScriptedDevice device;
    ASSERT_EQ(chmod(device.path().c_str(), 0600), 0);
    int result[2];
    ASSERT_EQ(pipe(result), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
        const bool opened = CreateFileA(device.path().c_str()) != INVALID_HANDLE_VALUE;
        const std::string line =
            opened ? "opened" : vexlink::describePortError(vexlink::lastPortError());
        (void)!write(result[1], line.data(), line.size());
        _exit(0);
    }
    close(result[1]);
    std::string line;
    char buffer[512];
    for (ssize_t n; (n = read(result[0], buffer, sizeof buffer)) > 0;)
        line.append(buffer, static_cast<std::size_t>(n));
    close(result[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "could not drop privileges";
    EXPECT_EQ(line, "permission denied on " + device.path() +
                        ": add your user to the 'dialout' group (sudo usermod -aG dialout $USER) "
                        "and log in again");
}

// A port never takes the place of standard input, output or error, and is closed on exec.
TEST_F(PortFaults, DescriptorsAreAboveTheStandardStreamsAndCloseOnExec) {
    ScriptedDevice device;
    const int savedIn = dup(STDIN_FILENO);
    const int savedOut = dup(STDOUT_FILENO);
    ASSERT_GE(savedIn, 0);
    close(STDIN_FILENO);
    close(STDOUT_FILENO);
    const auto before = openDescriptors();
    const HANDLE port = CreateFileA(device.path().c_str());
    std::set<int> added;
    for (int fd : openDescriptors())
        if (!before.count(fd)) added.insert(fd);
    const bool standardStreamsFree =
        fcntl(STDIN_FILENO, F_GETFD) == -1 && fcntl(STDOUT_FILENO, F_GETFD) == -1;
    dup2(savedIn, STDIN_FILENO);
    dup2(savedOut, STDOUT_FILENO);
    close(savedIn);
    close(savedOut);

    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(standardStreamsFree);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_GT(*added.begin(), 2);
    EXPECT_EQ(fcntl(*added.begin(), F_GETFD) & FD_CLOEXEC, FD_CLOEXEC);
    EXPECT_TRUE(CloseHandle(port));
}

// Closing puts back what the port had at the open: speed, framing, echo, canonical mode.
TEST_F(PortFaults, ClosingRestoresTheLineAsFound) {
    ScriptedDevice device(0);  // a new pseudo-terminal's cooked settings
    termios found{};
    ASSERT_EQ(tcgetattr(device.portFd(), &found), 0);
    cfsetspeed(&found, B4800);
    found.c_cflag = (found.c_cflag & ~CSIZE) | CS7 | PARENB;
    ASSERT_EQ(tcsetattr(device.portFd(), TCSANOW, &found), 0);
    ASSERT_EQ(tcgetattr(device.portFd(), &found), 0);

    const HANDLE port = CreateFileA(device.path().c_str());
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    DCB dcb;
    ASSERT_TRUE(GetCommState(port, &dcb));
    dcb.BaudRate = 9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    ASSERT_TRUE(SetCommState(port, &dcb));
    const termios raw = device.hostSettings();
    EXPECT_EQ(raw.c_lflag & (ECHO | ICANON), 0u);
    ASSERT_TRUE(CloseHandle(port));

    const termios after = device.hostSettings();
    EXPECT_EQ(after.c_iflag, found.c_iflag);
    EXPECT_EQ(after.c_oflag, found.c_oflag);
    EXPECT_EQ(after.c_cflag, found.c_cflag);
    EXPECT_EQ(after.c_lflag, found.c_lflag);
    EXPECT_EQ(cfgetospeed(&after), B4800);
}

}  // namespace
}  // namespace platformtest

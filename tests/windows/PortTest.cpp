// The Win32 layer on ports that Wine maps onto the simulator's pseudo-terminals: exclusive
// opens, what is no port, read time-outs on a silent line, line settings, and closed tokens.
#include "WineRig.h"
#include "platform/CommApi.h"
#include "platform/win32/System.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace platform = vexlink::platform;
namespace win32 = vexlink::platform::win32;
using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

namespace {

milliseconds since(Clock::time_point start) {
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start);
}

// One port opened through the layer, closed at the end of the test.
class OpenPort {
public:
    explicit OpenPort(const char* name) : handle(platform::CreateFileA(name)) {}
    ~OpenPort() {
        if (handle != INVALID_HANDLE_VALUE) platform::CloseHandle(handle);
    }
    OpenPort(const OpenPort&) = delete;
    OpenPort& operator=(const OpenPort&) = delete;
    HANDLE handle;
};

TEST(PortOpen, WhatIsNoPortDoesNotOpen) {
    // Names of ports that are not there, or no port at all: ERROR_FILE_NOT_FOUND.
    for (const char* name : {wine_rig::kDangling, wine_rig::kUnmapped, "\\\\.\\NUL"}) {
        SCOPED_TRACE(name);
        win32::setLastError(0);
        EXPECT_EQ(platform::CreateFileA(name), INVALID_HANDLE_VALUE);
        EXPECT_EQ(win32::lastError(), win32::kErrorFileNotFound);
    }
    // Names that are no port names: ERROR_INVALID_NAME.
    for (const char* name : {"COM0", "/dev/null"}) {
        SCOPED_TRACE(name);
        win32::setLastError(0);
        EXPECT_EQ(platform::CreateFileA(name), INVALID_HANDLE_VALUE);
        EXPECT_EQ(win32::lastError(), 123u);
    }
}

TEST(PortOpen, AHeldPortDoesNotOpenAgainUnderAnyOfItsNames) {
    OpenPort held(wine_rig::kSilent);
    ASSERT_NE(held.handle, INVALID_HANDLE_VALUE);
    for (const char* name : {"COM2", "com2", "\\\\.\\COM2"}) {
        SCOPED_TRACE(name);
        win32::setLastError(0);
        EXPECT_EQ(platform::CreateFileA(name), INVALID_HANDLE_VALUE);
        EXPECT_EQ(win32::lastError(), win32::kErrorAccessDenied);
    }
    ASSERT_TRUE(platform::CloseHandle(held.handle));
    held.handle = platform::CreateFileA(wine_rig::kSilent);
    EXPECT_NE(held.handle, INVALID_HANDLE_VALUE) << "a closed port opens again";
}

TEST(PortOpen, AClosedPortsHandleStaysInvalidWhenThePortOpensAgain) {
    HANDLE closed;
    {
        OpenPort port(wine_rig::kSilent);
        ASSERT_NE(port.handle, INVALID_HANDLE_VALUE);
        closed = port.handle;
    }
    // The port is open again under a new token; the old one reaches nothing.
    OpenPort again(wine_rig::kSilent);
    ASSERT_NE(again.handle, INVALID_HANDLE_VALUE);
    EXPECT_NE(again.handle, closed);
    unsigned char byte = 'G';
    DWORD n = 7;
    DCB dcb{};
    platform::COMMTIMEOUTS timeouts{};
    EXPECT_FALSE(platform::WriteFile(closed, &byte, 1, &n));
    EXPECT_EQ(n, 0u);
    EXPECT_FALSE(platform::ReadFile(closed, &byte, 1, &n));
    EXPECT_FALSE(platform::PurgeComm(closed, platform::PURGE_RXCLEAR));
    EXPECT_FALSE(platform::GetCommState(closed, &dcb));
    EXPECT_FALSE(platform::SetCommState(closed, &dcb));
    EXPECT_FALSE(platform::SetCommTimeouts(closed, &timeouts));
    EXPECT_FALSE(platform::CloseHandle(closed));
    EXPECT_FALSE(platform::CloseHandle(INVALID_HANDLE_VALUE));
}

TEST(LineSettings, SpeedAndFrameAreAppliedAndReadBack) {
    OpenPort port(wine_rig::kSilent);
    ASSERT_NE(port.handle, INVALID_HANDLE_VALUE);
    for (DWORD speed : {19200u, 9600u}) {
        DCB dcb{};
        ASSERT_TRUE(platform::GetCommState(port.handle, &dcb));
        dcb.BaudRate = speed;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        ASSERT_TRUE(platform::SetCommState(port.handle, &dcb));
        DCB now{};
        ASSERT_TRUE(platform::GetCommState(port.handle, &now));
        EXPECT_EQ(now.BaudRate, speed);
        EXPECT_EQ(now.ByteSize, 8);
        EXPECT_EQ(now.Parity, NOPARITY);
        EXPECT_EQ(now.StopBits, ONESTOPBIT);
    }
}

// Reads on a line that stays silent end on their time-outs, with success and no bytes.
struct SilentRead {
    const char* what;
    platform::COMMTIMEOUTS timeouts;
    DWORD bytes;
    milliseconds atLeast;
    milliseconds atMost;  // generous: the machine is shared
};

class SilentLine : public ::testing::TestWithParam<SilentRead> {};

TEST_P(SilentLine, ReadEndsOnItsTimeOut) {
    const SilentRead& c = GetParam();
    OpenPort port(wine_rig::kSilent);
    ASSERT_NE(port.handle, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(platform::SetCommTimeouts(port.handle, &c.timeouts));
    unsigned char buffer[32];
    DWORD got = 99;
    const auto start = Clock::now();
    EXPECT_TRUE(platform::ReadFile(port.handle, buffer, c.bytes, &got));
    const auto took = since(start);
    EXPECT_EQ(got, 0u);
    EXPECT_GE(took, c.atLeast);
    EXPECT_LE(took, c.atMost);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, SilentLine,
    ::testing::Values(
        // The link's own: 5 ms per byte plus 5 ms, 20 ms for the identification's 3 bytes.
        SilentRead{"Link", {5, 5, 5, 0, 0}, 3, milliseconds(15), milliseconds(400)},
        // No total time-out: the layer ends the read after kReadLimitMs all the same.
        SilentRead{"Unbounded",
                   {5, 0, 0, 0, 0},
                   3,
                   milliseconds(platform::kReadLimitMs - 50),
                   milliseconds(platform::kReadLimitMs + 1500)},
        // What is there, at once.
        SilentRead{"AtOnce", {0xFFFF'FFFF, 0, 0, 0, 0}, 8, milliseconds(0), milliseconds(200)}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(PortIo, WritesToASilentLineSucceedAndPurgesEmptyIt) {
    OpenPort port(wine_rig::kSilent);
    ASSERT_NE(port.handle, INVALID_HANDLE_VALUE);
    const unsigned char bytes[] = {'G', 'X'};
    DWORD n = 0;
    EXPECT_TRUE(platform::WriteFile(port.handle, bytes, 2, &n));
    EXPECT_EQ(n, 2u);
    EXPECT_TRUE(platform::PurgeComm(port.handle, platform::PURGE_TXABORT | platform::PURGE_RXABORT |
                                                     platform::PURGE_TXCLEAR |
                                                     platform::PURGE_RXCLEAR));
}

TEST(Pauses, SleepLastsWhatItSays) {
    for (DWORD ms : {10u, 15u}) {
        const auto start = Clock::now();
        platform::Sleep(ms);
        const auto took = since(start);
        EXPECT_GE(took, milliseconds(ms));
        EXPECT_LE(took, milliseconds(ms + 100));
    }
}

}  // namespace

namespace {

TEST(KnownPorts, TheRegistryListsTheServedPortsInNumberOrder) {
    const auto ports = win32::knownPorts();
    std::vector<std::string> names;
    for (const auto& p : ports) {
        EXPECT_FALSE(p.device.empty()) << p.name;
        names.push_back(p.name);
    }
    for (const char* served : {wine_rig::kSilent, wine_rig::kTracker})
        EXPECT_NE(std::find(names.begin(), names.end(), served), names.end()) << served;
    const auto number = [](const std::string& name) { return std::stoi(name.substr(3)); };
    for (std::size_t i = 1; i < names.size(); ++i)
        EXPECT_LT(number(names[i - 1]), number(names[i]));
}

}  // namespace

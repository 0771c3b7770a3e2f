// What the tests of the Vexlink class share: the port variables, trackers on pseudo-terminals
// and the warnings the library shows.
#pragma once

#include <vexlink/Vexlink.h>

#include <ScriptedDevice.h>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace linktest {

using testsupport::Clock;
using testsupport::milliseconds;
using testsupport::ScriptedDevice;

inline double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline double msBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// The line speed the host side has set on the device's port now, bit/s.
inline int hostSpeed(const ScriptedDevice& device) {
    const termios line = device.hostSettings();
    return ptykit::bitsPerSecond(cfgetospeed(&line));
}

class LinkTest : public ::testing::Test {
protected:
    LinkTest() { Vexlink::SetMessageHandler(&LinkTest::record, &messages); }
    ~LinkTest() override { Vexlink::SetMessageHandler(nullptr); }

    // A device on COMn that answers the identification request with reply (none: silent).
    ScriptedDevice& deviceOn(int n, const char* reply = "KHX", int initialSpeed = 19200) {
        devices.push_back(std::make_unique<ScriptedDevice>(initialSpeed));
        if (reply) devices.back()->answer('X', reply);
        env.set(n, devices.back()->path());
        return *devices.back();
    }

    // Whether the device has received exactly `expected`: waits (generously, for a loaded
    // machine) for that many bytes, then a little longer for any that should not come.
    static ::testing::AssertionResult receives(const ScriptedDevice& device,
                                               const std::string& expected) {
        device.waitForCount(expected.size(), milliseconds(2000));
        std::this_thread::sleep_for(milliseconds(20));
        const std::string got = device.receivedText();
        if (got == expected) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "received \"" << got << "\", expected \"" << expected << "\"";
    }

    // Waits for the n bytes sent so far to arrive, then forgets them.
    static void forget(ScriptedDevice& device, std::size_t n) {
        device.waitForCount(n, milliseconds(2000));
        device.clearReceived();
    }

    static void record(const char* text, void* context) {
        static_cast<std::vector<std::string>*>(context)->push_back(text);
    }

    testsupport::PortEnvironment env;  // COM1..COM4 name nothing unless a test gives them a device
    std::vector<std::unique_ptr<ScriptedDevice>> devices;
    std::vector<std::string> messages;
};

}  // namespace linktest

// A tracker link held on a scripted device, for the tests of the commands and the reader.
#pragma once

#include <vexlink/Vexlink.h>

#include <ScriptedDevice.h>

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

namespace trackertest {

using testsupport::Clock;
using testsupport::milliseconds;
using namespace std::chrono_literals;

// Bytes given by value, for frames written in hex.
inline std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

// The wall time and this thread's processor time a call took, in milliseconds.
struct Cost {
    double wallMs;
    double cpuMs;
};

inline double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

template <class F>
Cost measure(F&& f) {
    const double cpu0 = threadCpuMs();
    const auto wall0 = Clock::now();
    f();
    return {std::chrono::duration<double, std::milli>(Clock::now() - wall0).count(),
            threadCpuMs() - cpu0};
}

// Angles no frame decodes to, to show that a failed read leaves them alone.
inline constexpr int kUnsetAngle = 77777;

class TrackerLink : public ::testing::Test {
protected:
    void SetUp() override {
        device.answer('X', "KHX");
        ASSERT_EQ(link.OpenCom(device.path().c_str()), 1);
        device.clearReceived();
        link.pitch = link.yaw = link.roll = kUnsetAngle;
    }
    void TearDown() override { link.CloseCom(link.GetComHandle()); }

    void setMode(char dataMode, char transMode, int checksum) {
        link.SetDataMode(dataMode);
        link.SetTransMode(transMode);
        link.checkStatus = checksum;
    }

    // The device sends data `delay` from now, from a thread of its own. A read started right
    // after this call has purged its input by then, so the data reaches the read.
    void sendAfter(milliseconds delay, std::string data) {
        senders.emplace_back([this, delay, data = std::move(data)] {
            std::this_thread::sleep_for(delay);
            device.send(data);
        });
    }

    // The device's next output for the read about to start: its answer to the sample request
    // where the read sends one, else sent unasked shortly after the read has begun.
    void serveFrame(std::string data) {
        const bool requests =
            link.GetDataMode() == 'F' ? link.GetTransMode() == 'G' : link.GetTransMode() != '\0';
        if (requests) device.answer('S', std::move(data));
        else sendAfter(kUnaskedDelay, std::move(data));
    }
    static constexpr milliseconds kUnaskedDelay{40};

    std::string frameText() const { return reinterpret_cast<const char*>(link.dataBuffer); }

    testsupport::ScriptedDevice device;
    Vexlink link;
    std::vector<std::jthread> senders;  // joined before the device goes
};

}  // namespace trackertest

// The search for a frame's start byte is bounded: on a silent line, on a line of garbage without
// a start byte and on a device that has gone, a read returns 0 within about kReadBoundMs and
// sleeps rather than spins while it waits.
#include "reader_fixture.h"

#include <stop_token>

namespace {

using namespace trackertest;
using BoundedRead = TrackerLink;

constexpr double kBoundWithSlackMs = Vexlink::kReadBoundMs + 150.0;

struct Mode {
    const char* what;
    char dataMode, transMode;
    int checksum;
    std::string garbage;  // holds no start byte of the format
};

const Mode kSearchingModes[] = {
    {"continuous binary", 'F', 'H', 0, bytes({0x00, 0x7F, 0xFE, 'Y', 0x01, 0x80, 0x59, 0x11})},
    {"continuous binary, checksum mode on", 'F', 'H', 1, bytes({0xFE, 0x00, 'Y', 0x13})},
    {"ASCII upon request", 'E', 'G', 0, bytes({0xFF, 'y', ' ', '0', 0x00, 'X', '\r', '\n'})},
    {"ASCII continuous", 'E', 'H', 0, bytes({0xFF, 0xFF, 'Z', '1'})},
};

void expectBoundedFailure(Vexlink& link, const char* what, const char* line) {
    int result = -1;
    const Cost cost = measure([&] { result = link.ReadFromPort(); });
    EXPECT_EQ(result, 0) << what << ", " << line;
    EXPECT_LT(cost.wallMs, kBoundWithSlackMs) << what << ", " << line;
    EXPECT_LT(cost.cpuMs, cost.wallMs / 3) << what << ", " << line << ": the wait spins";
    EXPECT_EQ(link.GetBytesRead(), 0) << what << ", " << line;
    EXPECT_EQ(link.yaw, kUnsetAngle) << what << ", " << line;
    EXPECT_EQ(link.pitch, kUnsetAngle) << what << ", " << line;
    EXPECT_EQ(link.roll, kUnsetAngle) << what << ", " << line;
}

TEST_F(BoundedRead, GivesUpOnASilentLine) {
    for (const Mode& m : kSearchingModes) {
        setMode(m.dataMode, m.transMode, m.checksum);
        expectBoundedFailure(link, m.what, "silent line");
    }
}

TEST_F(BoundedRead, GivesUpOnGarbageWithoutAStartByte) {
    for (const Mode& m : kSearchingModes) {
        setMode(m.dataMode, m.transMode, m.checksum);
        // A steady stream, about as fast as 9600 bit/s would carry it, for longer than the bound.
        std::jthread stream([&](std::stop_token stop) {
            const auto end = Clock::now() + 2 * milliseconds(Vexlink::kReadBoundMs);
            while (!stop.stop_requested() && Clock::now() < end) {
                device.send(m.garbage);
                std::this_thread::sleep_for(milliseconds(m.garbage.size()));
            }
        });
        expectBoundedFailure(link, m.what, "garbage");
    }
}

TEST_F(BoundedRead, EndsAtOnceWhenTheDeviceHasGone) {
    device.vanish();
    for (const Mode& m : kSearchingModes) {
        setMode(m.dataMode, m.transMode, m.checksum);
        int result = -1;
        const Cost cost = measure([&] { result = link.ReadFromPort(); });
        EXPECT_EQ(result, 0) << m.what;
        EXPECT_LT(cost.wallMs, 100.0) << m.what;
        EXPECT_EQ(link.yaw, kUnsetAngle) << m.what;
    }
}

// A closed port is not detected as such: every read and write on it fails, in every mode.
TEST_F(BoundedRead, EndsAtOnceOnAClosedPort) {
    ASSERT_EQ(link.CloseCom(link.GetComHandle()), 1);
    setMode('F', 'G', 1);
    int result = -1;
    Cost cost = measure([&] { result = link.ReadFromPort(); });
    EXPECT_EQ(result, 0);
    EXPECT_LT(cost.wallMs, 100.0);
    EXPECT_EQ(link.GetBytesRead(), 0);
    for (const Mode& m : kSearchingModes) {
        setMode(m.dataMode, m.transMode, m.checksum);
        cost = measure([&] { result = link.ReadFromPort(); });
        EXPECT_EQ(result, 0) << m.what;
        EXPECT_LT(cost.wallMs, 100.0) << m.what;
        EXPECT_EQ(link.yaw, kUnsetAngle) << m.what;
    }
}

TEST_F(BoundedRead, EndsSoonAfterTheDeviceGoesDuringTheSearch) {
    for (const Mode& m : kSearchingModes) {
        SCOPED_TRACE(m.what);
        testsupport::ScriptedDevice gone;
        gone.answer('X', "KHX");
        Vexlink other;
        ASSERT_EQ(other.OpenCom(gone.path().c_str()), 1);
        other.SetDataMode(m.dataMode);
        other.SetTransMode(m.transMode);
        other.checkStatus = m.checksum;
        std::jthread unplug([&] {
            std::this_thread::sleep_for(50ms);
            gone.vanish();
        });
        int result = -1;
        const Cost cost = measure([&] { result = other.ReadFromPort(); });
        EXPECT_EQ(result, 0);
        EXPECT_LT(cost.wallMs, 150.0);
        EXPECT_LT(cost.cpuMs, cost.wallMs / 3);
        unplug.join();
        other.CloseCom(other.GetComHandle());
    }
}

// The bound is no shorter than it must be: a frame that starts well inside it is still read,
// and the call still ends within the bound.
TEST_F(BoundedRead, StillTakesAFrameThatStartsLateInTheSearch) {
    struct Late {
        const char* what;
        char dataMode, transMode;
        milliseconds after;
        std::string frame;
    };
    const Late cases[] = {
        {"continuous binary", 'F', 'H', 180ms,
         bytes({0xFF, 0x00, 0x20, 0x00, 0x40, 0x00, 0x30, 0x00})},
        {"ASCII continuous", 'E', 'H', 130ms, "Y  123,  -45,   10\r\n"},
    };
    for (const Late& c : cases) {
        setMode(c.dataMode, c.transMode, 0);
        sendAfter(c.after, c.frame);
        int result = -1;
        const Cost cost = measure([&] { result = link.ReadFromPort(); });
        EXPECT_EQ(result, 1) << c.what;
        EXPECT_LT(cost.wallMs, kBoundWithSlackMs) << c.what;
        senders.clear();
    }
}

}  // namespace

// korvisor-sim as a library: a Korvisor tracker played on the master side of a pseudo-terminal,
// for the simulator program and for tests that start it in-process.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvisor {

using Clock = std::chrono::steady_clock;

struct Pose {
    int pitch = 0;  // whole degrees, -90..269
    int yaw = 0;    // whole degrees, 0..719
    int roll = 0;   // whole degrees, -90..269
};

// Faults on request, each one flag.
struct Faults {
    bool garbageBetweenFrames = false;  // stray bytes (never 0xFF or 'Y') before each frame
    int badChecksumEvery = 0;           // every n-th checksummed frame carries a wrong checksum
    int dropByteEvery = 0;              // every n-th byte sent is lost
    bool silent = false;                // answers nothing at all
    std::string idReply = "KHX";        // reply to 'X' (for example "KH")
    double vanishAfterSeconds = 0;      // > 0: the tracker disappears (master closes) after this
    double comeBackAfterSeconds = 0;    // > 0 with vanish: it returns this long after vanishing
};

struct Options {
    std::string version = "1.02";       // reply to 'V', up to 5 bytes sent
    std::optional<Pose> fixedPose;      // none: a smoothly moving head
    int trackerSpeed = 9600;            // the tracker's line speed at power-on
    int portSpeed = 9600;               // the port's line speed before a host opens it
    std::string linkPath;               // when set: a symbolic link to the slave device
    std::string logPath;                // when set: every byte received is logged here
    Faults faults;
};

// One byte the tracker received.
struct RxRecord {
    std::uint8_t value;
    Clock::time_point at;  // monotonic time of arrival
    int hostSpeed;         // the host's line speed then, bit/s
    bool understood;       // sent at the tracker's own speed
};

// What the tracker is in now.
struct TrackerState {
    int speed;        // 9600 or 19200
    char dataMode;    // 'F' binary, 'E' ASCII
    char transMode;   // 'G' upon request, 'H' continuous
    bool checksum;
    bool hysteresis;
    int rate;         // samples per second
    int resets;       // 'R' bytes understood so far
};

class Simulator {
public:
    explicit Simulator(Options options = {});
    ~Simulator();  // stops and removes the link
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Opens the pseudo-terminal and starts playing the tracker on a thread of its own.
    void start();
    void stop();

    // The path a host opens: the link path when one was given, else the slave device.
    std::string devicePath() const;
    std::string slavePath() const;

    // Every byte received so far, in order.
    std::vector<RxRecord> received() const;
    std::vector<std::uint8_t> receivedBytes() const;
    void clearReceived();
    // Waits until at least count bytes have been received in all; false on time-out.
    bool waitForReceived(std::size_t count, std::chrono::milliseconds timeout) const;

    TrackerState state() const;
    void setPose(Pose pose);
    Pose pose() const;           // the pose the next frame will carry
    void setFaults(Faults faults);

    // The tracker disappears now (the host sees a hang-up) / comes back on a new device
    // (with a link path, the link is pointed at it).
    void vanish();
    void comeBack();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace korvisor

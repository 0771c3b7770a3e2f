// korvisor-sim as a library: a Korvisor tracker played on the master side of a pseudo-terminal,
// for the simulator program and for tests that start it in-process.
//
// The tracker answers every command byte: 'X' identification, 'V' version, 'S' one frame in
// the current format, 'E'/'F' ASCII or binary frames, 'G'/'H' upon request or continuous
// sampling (frames stream at the rate until 'G'), 'M'/'N' checksum on/off, 'O'/'P'
// hysteresis filter off/on, 'K'/'L' line speed 19200/9600, 'R' reset to the power-on
// settings (the power-on speed included), and the rate bytes 0x80..0x8E for 5..75 samples
// per second. Other bytes are ignored. Power-on: Options::trackerSpeed, binary frames, upon
// request, checksum and hysteresis off, rate 40.
//
// The line: the tracker sends each byte at its own speed's pace (10 bit times a byte). A byte
// is understood only when the host sent it at the tracker's speed; a byte sent while the
// host's speed differs reaches the host garbled. The host's speed is read from the shared
// termios; when it changes around a 'K' or 'L' that is still in flight, the bytes up to the
// switch command are judged at the old speed and the rest at the new one. The host's speed is
// followed while the line is idle as well, so a byte counts at the speed in effect when it
// was sent.
//
// Thread safety: every member may be called from any thread; the tracker runs on a thread
// of its own from start() to stop().
#pragma once

#include <korvisor/Pose.h>

#include <functional>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvisor {

using Clock = std::chrono::steady_clock;

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
    std::string version = "1.02";   // reply to 'V', up to 5 bytes sent
    std::optional<Pose> fixedPose;  // none: a smoothly moving head
    int trackerSpeed = 9600;        // the tracker's line speed at power-on
    int portSpeed = 9600;           // the port's line speed before a host opens it
    std::string linkPath;           // when set: a symbolic link to the slave device
    std::string logPath;            // when set: every byte received, and the end of every
                                    // frame sent, is logged here
    Faults faults;
    // Called on the simulator's thread with the slave path each time a device appears
    // (on start and when the tracker comes back).
    std::function<void(const std::string& slavePath)> onDeviceAppeared;
};

// One byte the tracker received.
struct RxRecord {
    std::uint8_t value;
    Clock::time_point at;  // monotonic time of arrival
    int hostSpeed;         // the host's line speed then, bit/s
    bool understood;       // sent at the tracker's own speed
};

// One frame the tracker sent (an answer to 'S' or a frame of the stream), as the host got it.
struct TxFrame {
    std::vector<std::uint8_t> bytes;  // the bytes that reached the host (a lost byte is left out)
    Clock::time_point lastByteAt;     // monotonic time just before its last byte was written
    bool intact;                      // every byte reached the host, at the host's speed
    bool badChecksum;                 // sent with a wrong checksum (the checksum fault)
    bool stream;                      // a frame of continuous sampling
};

// What the tracker is in now.
struct TrackerState {
    int speed;       // 9600 or 19200
    char dataMode;   // 'F' binary, 'E' ASCII
    char transMode;  // 'G' upon request, 'H' continuous
    bool checksum;
    bool hysteresis;
    int rate;    // samples per second
    int resets;  // 'R' bytes understood so far
};

class Simulator {
public:
    explicit Simulator(Options options = {});
    ~Simulator();  // stops and removes the link
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Opens the pseudo-terminal and starts playing the tracker on a thread of its own.
    // Throws std::system_error when no pseudo-terminal or link can be made, and
    // std::invalid_argument for a tracker speed other than 9600 or 19200.
    void start();
    void stop();

    // The path a host opens: the link path when one was given, else the slave device.
    // While the tracker has vanished: the last path, which no longer exists.
    std::string devicePath() const;
    std::string slavePath() const;

    // Every byte received so far, in order.
    std::vector<RxRecord> received() const;
    std::vector<std::uint8_t> receivedBytes() const;
    void clearReceived();
    // Waits until at least count bytes have been received in all (since start or the last
    // clearReceived); false on time-out.
    bool waitForReceived(std::size_t count, std::chrono::milliseconds timeout) const;

    // The frames sent so far (since start or the last clearSentFrames; the latest 65536), in
    // order, each stamped when its last byte was written: a host's latency is measured from there.
    std::vector<TxFrame> sentFrames() const;
    void clearSentFrames();

    TrackerState state() const;
    void setPose(Pose pose);  // a fixed pose from now on
    void setMovingPose();     // back to the smoothly moving head
    Pose pose() const;        // the pose the next frame will carry
                              // (with the hysteresis filter on: changes under 2 degrees held back)
    // Replaces the faults; a vanishing time counts from this call.
    void setFaults(Faults faults);

    // The tracker disappears now (the host sees a hang-up; the link is removed) / comes back,
    // powered on afresh, on a new device (with a link path, the link is pointed at it).
    void vanish();
    void comeBack();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace korvisor

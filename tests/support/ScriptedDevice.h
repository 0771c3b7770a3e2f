// A serial device played by a test on the master side of a pseudo-terminal: it answers command
// bytes by script and records every byte it receives with its monotonic arrival time and the
// line speed the host side had set at that moment.
#pragma once

#include "ComPorts.h"
#include <ptykit/PtyPair.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <termios.h>
#include <thread>
#include <vector>

namespace testsupport {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

struct ReceivedByte {
    std::uint8_t value;
    Clock::time_point at;  // when the device read it
    int hostSpeed;         // the host side's line speed then, bit/s
};

class ScriptedDevice {
public:
    // initialSpeed > 0: the port starts raw, 8N1, at that speed, as a serial port would.
    // 0: it keeps a new pseudo-terminal's settings (cooked mode with echo, 38400 bit/s).
    explicit ScriptedDevice(int initialSpeed = 19200);
    ~ScriptedDevice();
    ScriptedDevice(const ScriptedDevice&) = delete;
    ScriptedDevice& operator=(const ScriptedDevice&) = delete;

    // The port's path for the host to open.
    const std::string& path() const { return pty_.slavePath(); }

    // From now on, each arrival of `command` draws `reply`, sent `delay` after the arrival.
    void answer(std::uint8_t command, std::string reply, milliseconds delay = milliseconds(0));
    // Sends bytes to the host now. They reach the host's input a moment later (the kernel
    // passes them on from a work queue): waitForHostInput awaits that.
    void send(const std::string& bytes);
    // Waits until the host's side holds at least n bytes it has not read; false at the time-out.
    bool waitForHostInput(std::size_t n, milliseconds timeout) const;

    std::vector<ReceivedByte> received() const;
    std::string receivedText() const;
    void clearReceived();
    // Waits until at least n bytes have been received; false at the time-out.
    bool waitForCount(std::size_t n, milliseconds timeout) const;

    // The host side's line settings as the kernel holds them now.
    termios hostSettings() const;
    // A descriptor of the port's own side, opened before any host: for settings before the
    // host opens the port, and for the kernel's flow control and termios locks.
    int portFd() const { return portFd_; }
    // Stops or restarts the host's output as XOFF/XON or a CTS line would: its writes are held.
    void holdHostOutput(bool held);
    // The device goes away, as an unplugged adapter does: the host's side is hung up.
    void vanish();

private:
    void run();

    struct Pending {
        Clock::time_point due;
        std::string bytes;
    };

    ptykit::PtyPair pty_;
    int portFd_ = -1;
    int wakeFd_ = -1;  // eventfd that ends the device's thread
    mutable std::mutex lock_;
    mutable std::condition_variable arrived_;
    std::map<std::uint8_t, std::pair<std::string, milliseconds>> script_;
    std::vector<ReceivedByte> received_;
    std::vector<Pending> pending_;
    std::thread thread_;
};

// Points VEXLINK_COM1..VEXLINK_COM4 at paths that do not exist, so that no test reaches the
// machine's own serial ports, and restores the variables afterwards.
class PortEnvironment : public testsupport::ComPorts {
public:
    PortEnvironment() : ComPorts("/nonexistent/vexlink-test-COM") {}
    // Makes COMn name path.
    void set(int n, const std::string& path) { point(n, path); }
};

}  // namespace testsupport

// The host's side of the simulator's line, as a serial port driver would use it: the device
// opened raw at a chosen speed, bytes written one call each, reads bounded by deadlines.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace simtest {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

class HostPort {
public:
    explicit HostPort(const std::string& path, int speed = 9600);
    ~HostPort();
    HostPort(const HostPort&) = delete;
    HostPort& operator=(const HostPort&) = delete;

    int fd() const { return fd_; }
    void setSpeed(int bitsPerSecond);
    void send(std::string_view bytes);
    void send(std::uint8_t byte) {
        send(std::string_view(reinterpret_cast<const char*>(&byte), 1));
    }
    // Reads until n bytes have come or timeout has passed.
    Bytes read(std::size_t n, std::chrono::milliseconds timeout);
    // Reads whatever comes for the given time.
    Bytes readFor(std::chrono::milliseconds time);
    // Reads whatever comes until the line has been quiet for quiet.
    Bytes readUntilQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds limit = 2000ms);
    // Waits for a hang-up of the other side; true when it came within timeout.
    bool waitHangUp(std::chrono::milliseconds timeout);

private:
    int fd_ = -1;
};

inline Bytes bytesOf(std::string_view s) { return Bytes(s.begin(), s.end()); }

}  // namespace simtest

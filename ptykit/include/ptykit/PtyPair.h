// A pseudo-terminal pair for playing a serial device: the master side is the device, the
// slave path is the port that the host opens. The kernel's own tty layer sits between them,
// so the host sees a real terminal with real termios settings.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/types.h>

namespace ptykit {

using Clock = std::chrono::steady_clock;

class PtyPair {
public:
    // Opens a new pair; throws std::system_error when the system has none to give.
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    int master() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }
    bool isOpen() const { return master_ >= 0; }

    // The line speed in bit/s that the host side has set (Linux shares one termios record
    // between the two sides); 0 when it is not one of the standard speeds.
    int hostSpeed() const;
    // Sets the slave's line speed, 8N1 and a raw line, as a port's settings before the host
    // opens it (a new pseudo-terminal starts at 38400 bit/s in cooked mode).
    void setInitialSpeed(int bitsPerSecond);

    // Closes the master: the host sees a hang-up and the slave path goes away.
    void hangUp();

private:
    int master_ = -1;
    int slaveKeeper_ =
        -1;  // keeps the slave open so the master never reads a hang-up between hosts
    std::string slavePath_;
};

// Reads what is available on fd, waiting until deadline for the first byte.
// Returns the count (0 on time-out), or -1 when the other side has hung up or fd failed.
ssize_t readUntil(int fd, std::uint8_t* buffer, std::size_t n, Clock::time_point deadline);

// Writes all n bytes (fd may be non-blocking); false on failure.
bool writeAll(int fd, const std::uint8_t* data, std::size_t n);

// Bit/s of a termios speed code and back; 0 for a code that is not a standard speed.
int bitsPerSecond(unsigned speedCode);
unsigned speedCode(int bitsPerSecond);

}  // namespace ptykit

#include "HostPort.h"

#include <ptykit/PtyPair.h>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace simtest {

HostPort::HostPort(const std::string& path, int speed) {
    fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) throw std::runtime_error("cannot open " + path);
    termios t{};
    tcgetattr(fd_, &t);
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&t, ptykit::speedCode(speed));
    cfsetospeed(&t, ptykit::speedCode(speed));
    tcsetattr(fd_, TCSANOW, &t);
}

HostPort::~HostPort() {
    if (fd_ >= 0) close(fd_);
}

void HostPort::setSpeed(int bps) {
    termios t{};
    tcgetattr(fd_, &t);
    cfsetispeed(&t, ptykit::speedCode(bps));
    cfsetospeed(&t, ptykit::speedCode(bps));
    tcsetattr(fd_, TCSANOW, &t);
}

void HostPort::send(std::string_view bytes) {
    for (char c : bytes) {
        auto b = static_cast<std::uint8_t>(c);
        if (!ptykit::writeAll(fd_, &b, 1)) throw std::runtime_error("write failed");
    }
}

Bytes HostPort::read(std::size_t n, std::chrono::milliseconds timeout) {
    Bytes out(n);
    std::size_t got = 0;
    const auto deadline = ptykit::Clock::now() + timeout;
    while (got < n) {
        ssize_t r = ptykit::readUntil(fd_, out.data() + got, n - got, deadline);
        if (r <= 0) break;
        got += static_cast<std::size_t>(r);
    }
    out.resize(got);
    return out;
}

Bytes HostPort::readFor(std::chrono::milliseconds time) {
    Bytes out;
    const auto end = ptykit::Clock::now() + time;
    for (;;) {
        std::uint8_t buf[256];
        ssize_t r = ptykit::readUntil(fd_, buf, sizeof buf, end);
        if (r <= 0) break;
        out.insert(out.end(), buf, buf + r);
    }
    return out;
}

Bytes HostPort::readUntilQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds limit) {
    Bytes out;
    const auto end = ptykit::Clock::now() + limit;
    for (;;) {
        std::uint8_t buf[256];
        auto deadline = std::min(ptykit::Clock::now() + quiet, end);
        ssize_t r = ptykit::readUntil(fd_, buf, sizeof buf, deadline);
        if (r <= 0) break;
        out.insert(out.end(), buf, buf + r);
        if (ptykit::Clock::now() >= end) break;
    }
    return out;
}

bool HostPort::waitHangUp(std::chrono::milliseconds timeout) {
    const auto deadline = ptykit::Clock::now() + timeout;
    for (;;) {
        std::uint8_t buf[64];
        ssize_t r = ptykit::readUntil(fd_, buf, sizeof buf, deadline);
        if (r < 0) return true;
        if (r == 0) return false;
    }
}

}  // namespace simtest

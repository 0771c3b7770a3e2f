// Waiting for and reading a stream of frames: poll on the descriptor, with the terminal's VMIN
// set to the bytes the reader still needs, so that the kernel wakes the reader once per frame.
#include "platform/StreamPort.h"
#include "platform/posix/Tty.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace vexlink::platform {

bool StreamPort::begin(HANDLE port) {
    const auto p = findPort(port);
    if (!p) return false;
    fd_ = p->fd;
    terminal_ = isatty(fd_) != 0;
    wakeCount_ = 1;  // as the port was opened (makeRaw)
    lowLatency_ = terminal_ && enableLowLatency(fd_);
    return true;
}

void StreamPort::end() {
    if (fd_ < 0) return;
    setWakeCount(1);  // the request reader's waits rely on being woken by the first byte
    if (lowLatency_) disableLowLatency(fd_);
    lowLatency_ = false;
    fd_ = -1;
}

void StreamPort::readLineSpeed() {
    byteTime_ = {};
    termios t{};
    if (fd_ < 0 || !terminal_ || tcgetattr(fd_, &t) != 0) return;
    const int bps = lineSpeed(t);
    if (bps > 0) byteTime_ = std::chrono::nanoseconds(10'000'000'000LL / bps);
}

void StreamPort::setWakeCount(int bytes) {
    bytes = std::clamp(bytes, 1, 255);
    if (!terminal_ || bytes == wakeCount_) return;
    termios t{};
    if (tcgetattr(fd_, &t) != 0) return;
    t.c_cc[VMIN] = static_cast<cc_t>(bytes);
    t.c_cc[VTIME] = 0;
    if (tcsetattr(fd_, TCSANOW, &t) == 0) wakeCount_ = bytes;
}

StreamWait StreamPort::wait(int bytes, Clock::time_point deadline) {
    if (fd_ < 0) return StreamWait::Gone;
    setWakeCount(bytes);
    // A deadline already past still looks once, so that a zero time-out takes what is queued.
    const auto left = std::max(deadline - Clock::now(), Clock::duration::zero());
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    const timespec ts{static_cast<time_t>(ns / 1'000'000'000),
                      static_cast<long>(ns % 1'000'000'000)};
    pollfd p{fd_, POLLIN, 0};
    const int r = ppoll(&p, 1, &ts, nullptr);
    if (r < 0) return errno == EINTR ? StreamWait::Interrupted : StreamWait::Gone;
    if (r == 0) return StreamWait::TimedOut;
    if (p.revents & POLLIN) return StreamWait::Ready;
    return StreamWait::Gone;  // POLLHUP, POLLERR or POLLNVAL without input
}

bool StreamPort::readQueued(unsigned char* into, int n, int* got) {
    *got = 0;
    if (fd_ < 0) return false;
    for (;;) {
        const ssize_t r = read(fd_, into, static_cast<size_t>(n));
        if (r > 0) {
            *got = static_cast<int>(r);
            return true;
        }
        if (r == 0) return false;  // end of file: the line hung up
        if (errno == EINTR) continue;
        return errno == EAGAIN;
    }
}

}  // namespace vexlink::platform

#include <ptykit/PtyPair.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <system_error>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace ptykit {

namespace {

struct SpeedEntry {
    int bps;
    speed_t code;
};

constexpr SpeedEntry kSpeeds[] = {
    {50, B50},       {75, B75},         {110, B110},       {134, B134},     {150, B150},
    {200, B200},     {300, B300},       {600, B600},       {1200, B1200},   {1800, B1800},
    {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200}, {38400, B38400},
    {57600, B57600}, {115200, B115200}, {230400, B230400},
};

[[noreturn]] void fail(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

int bitsPerSecond(unsigned code) {
    for (const auto& s : kSpeeds)
        if (s.code == code) return s.bps;
    return 0;
}

unsigned speedCode(int bps) {
    for (const auto& s : kSpeeds)
        if (s.bps == bps) return s.code;
    return B0;
}

PtyPair::PtyPair() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) fail("posix_openpt");
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) fail("grantpt/unlockpt");
    char name[128];
    if (ptsname_r(master_, name, sizeof name) != 0) fail("ptsname_r");
    slavePath_ = name;
    int flags = fcntl(master_, F_GETFL);
    fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    slaveKeeper_ = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slaveKeeper_ < 0) fail("open pty slave");
}

PtyPair::~PtyPair() { hangUp(); }

void PtyPair::hangUp() {
    if (slaveKeeper_ >= 0) close(slaveKeeper_);
    if (master_ >= 0) close(master_);
    slaveKeeper_ = master_ = -1;
}

int PtyPair::hostSpeed() const {
    termios t{};
    if (master_ < 0 || tcgetattr(master_, &t) != 0) return 0;
    return bitsPerSecond(cfgetospeed(&t));
}

void PtyPair::setInitialSpeed(int bps) {
    termios t{};
    if (slaveKeeper_ < 0 || tcgetattr(slaveKeeper_, &t) != 0) fail("tcgetattr");
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&t, speedCode(bps));
    cfsetospeed(&t, speedCode(bps));
    if (tcsetattr(slaveKeeper_, TCSANOW, &t) != 0) fail("tcsetattr");
}

ssize_t readUntil(int fd, std::uint8_t* buffer, std::size_t n, Clock::time_point deadline) {
    for (;;) {
        ssize_t got = read(fd, buffer, n);
        if (got > 0) return got;
        if (got == 0) return -1;
        if (errno == EINTR) continue;
        if (errno != EAGAIN) return -1;  // EIO: the other side hung up
        auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero()) return 0;
        auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        timespec ts{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
        pollfd p{fd, POLLIN, 0};
        int r = ppoll(&p, 1, &ts, nullptr);
        if (r < 0 && errno != EINTR) return -1;
        if (r > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) && !(p.revents & POLLIN))
            return -1;
    }
}

bool writeAll(int fd, const std::uint8_t* data, std::size_t n) {
    while (n > 0) {
        ssize_t put = write(fd, data, n);
        if (put > 0) {
            data += put;
            n -= static_cast<std::size_t>(put);
            continue;
        }
        if (put < 0 && errno == EINTR) continue;
        if (put < 0 && errno == EAGAIN) {
            pollfd p{fd, POLLOUT, 0};
            if (poll(&p, 1, 1000) <= 0) return false;
            continue;
        }
        return false;
    }
    return true;
}

}  // namespace ptykit

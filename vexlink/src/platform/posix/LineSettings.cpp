// Line settings: the raw line set up at open, and GetCommState / SetCommState.
#include "platform/LastError.h"
#include "platform/posix/Tty.h"

#include <vexlink/Vexlink.h>

#include <cerrno>

namespace vexlink::platform {

namespace {

struct SpeedEntry {
    DWORD bitsPerSecond;
    speed_t code;
};

constexpr SpeedEntry kSpeeds[] = {
    {50, B50},       {75, B75},         {110, B110},       {134, B134},     {150, B150},
    {200, B200},     {300, B300},       {600, B600},       {1200, B1200},   {1800, B1800},
    {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200}, {38400, B38400},
    {57600, B57600}, {115200, B115200}, {230400, B230400},
};

// The four settings a DCB carries into termios, in the form compared after applying them.
constexpr tcflag_t kDcbFlags = CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS;

}  // namespace

int lineSpeed(const termios& settings) {
    const speed_t code = cfgetospeed(&settings);
    for (const auto& s : kSpeeds)
        if (s.code == code) return static_cast<int>(s.bitsPerSecond);
    return 0;
}

speed_t speedCode(DWORD bitsPerSecond) {
    for (const auto& s : kSpeeds)
        if (s.bitsPerSecond == bitsPerSecond) return s.code;
    return B0;
}

bool makeRaw(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) return false;
    t.c_iflag &= ~(BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IUCLC | IXON | IXOFF | IXANY);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag |= CREAD;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    // Nothing has been written yet, so there is no output to wait for.
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

bool GetCommState(HANDLE port, DCB* dcb) {
    const auto p = findPort(port);
    if (!p || dcb == nullptr) {
        setLastError(EBADF);
        return false;
    }
    termios t{};
    if (tcgetattr(p->fd, &t) != 0) {
        setLastError(errno);
        return false;
    }
    DCB d;
    d.BaudRate = static_cast<DWORD>(lineSpeed(t));
    switch (t.c_cflag & CSIZE) {
    case CS5: d.ByteSize = 5; break;
    case CS6: d.ByteSize = 6; break;
    case CS7: d.ByteSize = 7; break;
    default: d.ByteSize = 8; break;
    }
    d.Parity = !(t.c_cflag & PARENB) ? NOPARITY : (t.c_cflag & PARODD) ? ODDPARITY : EVENPARITY;
    d.StopBits = (t.c_cflag & CSTOPB) ? TWOSTOPBITS : ONESTOPBIT;
    d.fOutxCtsFlow = (t.c_cflag & CRTSCTS) ? 1 : 0;
    *dcb = d;
    return true;
}

bool SetCommState(HANDLE port, const DCB* dcb) {
    const auto p = findPort(port);
    if (!p || dcb == nullptr) {
        setLastError(EBADF);
        return false;
    }
    termios t{};
    if (tcgetattr(p->fd, &t) != 0) {
        setLastError(errno);
        return false;
    }

    // Values the port cannot take fail with EINVAL, as Windows gives ERROR_INVALID_PARAMETER.
    const auto invalid = [] {
        setLastError(EINVAL);
        return false;
    };
    const speed_t code = speedCode(dcb->BaudRate);
    if (code == B0) return invalid();
    tcflag_t flags = 0;
    switch (dcb->ByteSize) {
    case 5: flags |= CS5; break;
    case 6: flags |= CS6; break;
    case 7: flags |= CS7; break;
    case 8: flags |= CS8; break;
    default: return invalid();
    }
    switch (dcb->Parity) {
    case NOPARITY: break;
    case ODDPARITY: flags |= PARENB | PARODD; break;
    case EVENPARITY: flags |= PARENB; break;
    default: return invalid();
    }
    switch (dcb->StopBits) {
    case ONESTOPBIT: break;
    case TWOSTOPBITS: flags |= CSTOPB; break;
    default: return invalid();
    }
    if (dcb->fOutxCtsFlow) flags |= CRTSCTS;

    t.c_cflag = (t.c_cflag & ~kDcbFlags) | flags;
    if (cfsetispeed(&t, code) != 0 || cfsetospeed(&t, code) != 0) return invalid();

    // A byte still on its way out would go at the new speed, garbled: apply the settings only
    // once the output has left the port (bounded, like a write; the kernel's own "drain first"
    // mode would wait without limit for output held back by flow control).
    waitUntilSent(p->fd, Clock::now() + std::chrono::milliseconds(Vexlink::kWriteHoldLimitMs));
    if (tcsetattr(p->fd, TCSANOW, &t) != 0) {
        setLastError(errno);
        return false;
    }

    // tcsetattr succeeds when any part of the change was taken; check that all of it was.
    termios now{};
    if (tcgetattr(p->fd, &now) != 0) return false;
    if ((now.c_cflag & kDcbFlags) == flags && cfgetospeed(&now) == code &&
        cfgetispeed(&now) == code)
        return true;
    return invalid();  // the kernel kept part of the settings unchanged
}

}  // namespace vexlink::platform

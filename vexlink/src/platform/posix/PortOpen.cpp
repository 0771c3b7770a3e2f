// Opening and closing ports.
#include "platform/PortNames.h"
#include "platform/posix/Tty.h"

#include <vexlink/Vexlink.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexlink::platform {

HANDLE CreateFileA(const char* portName) {
    const auto path = resolvePortName(portName);
    if (!path) return INVALID_HANDLE_VALUE;

    // Only character devices are ports; refusing anything else before opening it keeps a
    // mistyped path from having command bytes written into an ordinary file.
    struct stat st{};
    if (stat(path->c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) return INVALID_HANDLE_VALUE;

    // O_NONBLOCK: the open does not wait for carrier on the modem-control lines, and reads and
    // writes never block (their waits are bounded in poll).
    const int fd = open(path->c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return INVALID_HANDLE_VALUE;
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) {
        close(fd);
        return INVALID_HANDLE_VALUE;
    }
    // A character device that is no terminal (/dev/null) is no serial line: it opens, but takes
    // no line settings, and is not locked against the rest of the system.
    if (!isatty(fd)) return addPort(fd);
    // Exclusive use: the lock keeps out every other opener that asks for it, in this process
    // or another, root included; TIOCEXCL also keeps out programs that do not ask (except root).
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return INVALID_HANDLE_VALUE;
    }
    ioctl(fd, TIOCEXCL);
    makeRaw(fd);
    return addPort(fd);
}

bool CloseHandle(HANDLE port) {
    const auto fd = removePort(port);
    if (!fd) return false;
    // A terminal's close waits for unsent output without limit (a UART's for 30 s by default):
    // give it kCloseDrainLimitMs, then discard what is left.
    if (isatty(*fd)) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(Vexlink::kCloseDrainLimitMs);
        if (!waitUntilSent(*fd, deadline)) tcflush(*fd, TCOFLUSH);
        ioctl(*fd, TIOCNXCL);
    }
    // The descriptor is released whatever close reports (an unplugged device reports EIO), so
    // the port counts as closed.
    close(*fd);
    return true;
}

}  // namespace vexlink::platform

// Opening and closing ports.
#include "platform/LastError.h"
#include "platform/posix/Tty.h"

#include <vexlink/Ports.h>
#include <vexlink/Vexlink.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexlink::platform {

namespace {

// Records why the open failed (with the system's code) and gives the invalid handle.
HANDLE refuse(PortError error, PortFault fault, int code) {
    error.fault = fault;
    error.osError = code;
    setLastPortError(std::move(error));
    return INVALID_HANDLE_VALUE;
}

// The cause an errno of open() stands for.
PortFault faultOfOpen(int code) {
    switch (code) {
    case ENOENT:
    case ENOTDIR:
    case ENXIO:  // a node with no device behind it (a ttyS without a UART)
    case ENODEV: return PortFault::NotFound;
    case EACCES:
    case EPERM:
    case EROFS: return PortFault::PermissionDenied;
    case EBUSY: return PortFault::Busy;
    case EIO: return PortFault::Gone;
    default: return PortFault::SystemError;
    }
}

// Moves fd to a descriptor above 2, close-on-exec: a port must never become standard input,
// output or error of this process (a program started with one of them closed would otherwise
// write its output or messages down the serial line).
int aboveStandardStreams(int fd) {
    if (fd > STDERR_FILENO) return fd;
    const int moved = fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    const int code = errno;
    close(fd);
    errno = code;
    return moved;
}

}  // namespace

HANDLE CreateFileA(const char* portName) {
    const ResolvedPort resolved = resolvePort(portName ? portName : "");
    PortError error;
    error.name = resolved.name;
    error.path = resolved.path;
    error.source = resolved.origin.empty() ? toString(resolved.source) : resolved.origin;
    if (resolved.source == PortSource::Invalid)
        return refuse(std::move(error), PortFault::InvalidName, EINVAL);
    if (resolved.path.empty()) return refuse(std::move(error), PortFault::NoPort, ENOENT);
    const char* path = resolved.path.c_str();

    // Only character devices are ports; refusing anything else before opening it keeps a
    // mistyped path from having command bytes written into an ordinary file.
    struct stat st {};
    if (stat(path, &st) != 0) {
        const int code = errno;
        return refuse(std::move(error), faultOfOpen(code), code);
    }
    if (!S_ISCHR(st.st_mode)) return refuse(std::move(error), PortFault::NotSerial, ENOTTY);
    // Checked before the open: opening a UART already raises its modem lines.
    if (isSystemConsole(resolved.path))
        return refuse(std::move(error), PortFault::SystemConsole, EBUSY);

    // O_NONBLOCK: the open does not wait for carrier on the modem-control lines, and reads and
    // writes never block (their waits are bounded in poll).
    int fd = open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) fd = aboveStandardStreams(fd);
    if (fd < 0) {
        const int code = errno;
        return refuse(std::move(error), faultOfOpen(code), code);
    }
    OpenPort port;
    port.fd = fd;
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode) || !isatty(fd)) {
        close(fd);
        return refuse(std::move(error), PortFault::NotSerial, ENOTTY);
    }
    // Exclusive use: the lock keeps out every other opener that asks for it, in this process
    // or another, root included; TIOCEXCL also keeps out later opens that do not ask, except by
    // root. Neither keeps out a program that had the device open already.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int code = errno;
        close(fd);
        return refuse(std::move(error), PortFault::Busy, code == EWOULDBLOCK ? EBUSY : code);
    }
    ioctl(fd, TIOCEXCL);
    port.restore = tcgetattr(fd, &port.found) == 0;
    makeRaw(fd);
    setLastPortError(PortError{});
    return addPort(port);
}

bool CloseHandle(HANDLE handle) {
    const auto port = removePort(handle);
    if (!port) {
        setLastError(EBADF);
        return false;
    }
    const int fd = port->fd;
    // A terminal's close waits for unsent output without limit (a UART's for 30 s by default):
    // give it kCloseDrainLimitMs, then discard what is left.
    const auto deadline = Clock::now() + std::chrono::milliseconds(Vexlink::kCloseDrainLimitMs);
    if (!waitUntilSent(fd, deadline)) tcflush(fd, TCOFLUSH);
    // Leave the line as it was found: speed, framing, echo and the rest.
    if (port->restore) tcsetattr(fd, TCSANOW, &port->found);
    ioctl(fd, TIOCNXCL);
    // The descriptor is released whatever close reports (an unplugged device reports EIO), so
    // the port counts as closed.
    close(fd);
    return true;
}

}  // namespace vexlink::platform

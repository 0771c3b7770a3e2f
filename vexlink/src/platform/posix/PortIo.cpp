// Reads, writes, purges and read time-outs of an open port.
#include "platform/LastError.h"
#include "platform/posix/Tty.h"

#include <vexlink/Vexlink.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <unistd.h>

namespace vexlink::platform {

namespace {

using std::chrono::milliseconds;

enum class Ready { Yes, TimedOut, Gone };

// Waits until fd is ready for events or until deadline, sleeping in the kernel meanwhile.
Ready waitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero()) return Ready::TimedOut;
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        const timespec ts{static_cast<time_t>(ns / 1'000'000'000),
                          static_cast<long>(ns % 1'000'000'000)};
        pollfd p{fd, events, 0};
        const int r = ppoll(&p, 1, &ts, nullptr);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) return Ready::Gone;
        if (r == 0) continue;  // woke at the deadline; the check above ends the wait
        if (p.revents & events) return Ready::Yes;
        return Ready::Gone;  // POLLHUP, POLLERR or POLLNVAL without the wanted event
    }
}

}  // namespace

bool SetCommTimeouts(HANDLE port, const COMMTIMEOUTS* timeouts) {
    return timeouts != nullptr && setPortTimeouts(port, *timeouts);
}

bool PurgeComm(HANDLE port, DWORD flags) {
    const auto p = findPort(port);
    if (!p) return false;
    // Reads and writes are synchronous, so nothing is pending to abort: the abort flags ask
    // for nothing beyond emptying the queues.
    const bool output = flags & (PURGE_TXCLEAR | PURGE_TXABORT);
    const bool input = flags & (PURGE_RXCLEAR | PURGE_RXABORT);
    bool ok = isatty(p->fd);
    // Only bytes still queued are discarded. A write returns once its bytes have left, and a
    // byte that has left is not recalled; a pseudo-terminal would otherwise drop bytes that it
    // has handed over but its other side has not yet taken in, which no UART does.
    if (output && outputQueued(p->fd) > 0) ok = tcflush(p->fd, TCOFLUSH) == 0 && ok;
    if (input) ok = tcflush(p->fd, TCIFLUSH) == 0 && ok;
    return ok;
}

bool ReadFile(HANDLE port, void* buffer, DWORD n, DWORD* got) {
    DWORD count = 0;
    if (got) *got = 0;
    const auto p = findPort(port);
    if (!p || buffer == nullptr) {
        setLastError(EBADF);
        return false;
    }
    auto* bytes = static_cast<unsigned char*>(buffer);
    const COMMTIMEOUTS& to = p->timeouts;

    const auto start = Clock::now();
    const bool hasTotal = to.ReadTotalTimeoutMultiplier != 0 || to.ReadTotalTimeoutConstant != 0;
    const auto total = hasTotal ? milliseconds(std::int64_t{to.ReadTotalTimeoutMultiplier} * n +
                                               to.ReadTotalTimeoutConstant)
                                : milliseconds(kReadLimitMs);
    const auto totalDeadline = start + total;
    const auto interval = milliseconds(to.ReadIntervalTimeout);
    Clock::time_point lastByte{};

    bool ok = true;
    while (count < n) {
        const ssize_t r = read(p->fd, bytes + count, n - count);
        if (r > 0) {
            count += static_cast<DWORD>(r);
            lastByte = Clock::now();
            continue;
        }
        if (r == 0) {  // end of file: the device has gone (a hung-up terminal)
            setLastError(EIO);
            ok = false;
            break;
        }
        if (errno == EINTR) continue;
        if (errno != EAGAIN) {
            setLastError(errno);
            ok = false;
            break;
        }
        auto deadline = totalDeadline;
        if (count > 0 && to.ReadIntervalTimeout != 0)
            deadline = std::min(deadline, lastByte + interval);
        const Ready ready = waitFor(p->fd, POLLIN, deadline);
        if (ready == Ready::TimedOut) {
            // A short count is success. Bytes that came while this thread was not running are
            // taken too, so a late wake-up does not cut a reply that arrived in time.
            const ssize_t late = read(p->fd, bytes + count, n - count);
            if (late > 0) count += static_cast<DWORD>(late);
            break;
        }
        if (ready == Ready::Gone) {
            setLastError(EIO);
            ok = false;
            break;
        }
    }
    if (got) *got = count;
    return ok;
}

bool WriteFile(HANDLE port, const void* buffer, DWORD n, DWORD* written) {
    if (written) *written = 0;
    const auto p = findPort(port);
    if (!p || buffer == nullptr) {
        setLastError(EBADF);
        return false;
    }
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    const auto deadline = Clock::now() + milliseconds(Vexlink::kWriteHoldLimitMs);

    DWORD sent = 0;
    while (sent < n) {
        const ssize_t r = write(p->fd, bytes + sent, n - sent);
        if (r > 0) {
            sent += static_cast<DWORD>(r);
            continue;
        }
        if (r < 0 && errno == EINTR) continue;
        if (r < 0 && errno == EAGAIN && waitFor(p->fd, POLLOUT, deadline) == Ready::Yes) continue;
        // Held back past the limit, or the device failed.
        setLastError(r < 0 && errno != EAGAIN ? errno : ETIMEDOUT);
        break;
    }
    // A byte the kernel took may still wait behind flow control: the write is done only once it
    // has left the port. What is still held at the limit is discarded, not sent later by surprise.
    if (sent == n && !waitUntilSent(p->fd, deadline)) {
        tcflush(p->fd, TCOFLUSH);
        setLastError(ETIMEDOUT);
        sent = 0;
    }
    if (written) *written = sent;
    return sent == n;
}

}  // namespace vexlink::platform

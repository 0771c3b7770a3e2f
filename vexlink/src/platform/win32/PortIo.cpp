// Reads, writes, purges and time-outs of an open port: the Win32 calls of the same names.
#include "platform/win32/OpenPorts.h"

#include <vexlink/Vexlink.h>

#include <algorithm>

namespace vexlink::platform {

namespace {

constexpr DWORD kMaxDword = 0xFFFF'FFFF;  // MAXDWORD

}  // namespace

bool SetCommTimeouts(HANDLE port, const COMMTIMEOUTS* timeouts) {
    const auto p = findPort(port);
    if (!p || timeouts == nullptr) return false;
    win32::Timeouts t{timeouts->ReadIntervalTimeout, timeouts->ReadTotalTimeoutMultiplier,
                      timeouts->ReadTotalTimeoutConstant, timeouts->WriteTotalTimeoutMultiplier,
                      timeouts->WriteTotalTimeoutConstant};
    // Win32 reads with both total time-outs zero wait for their first byte without limit (unless
    // the interval is MAXDWORD: then they return at once). Such a read ends after kReadLimitMs,
    // as on every system.
    if (t.readMultiplier == 0 && t.readConstant == 0 && t.readInterval != kMaxDword)
        t.readConstant = kReadLimitMs;
    // Zero write time-outs mean none of the caller's: a write that the line cannot take (held
    // back by flow control) still fails after kWriteHoldLimitMs instead of blocking.
    if (t.writeMultiplier == 0 && t.writeConstant == 0)
        t.writeConstant = static_cast<DWORD>(Vexlink::kWriteHoldLimitMs);
    return win32::setTimeouts(p->device, t);
}

bool PurgeComm(HANDLE port, DWORD flags) {
    const auto p = findPort(port);
    if (!p) return false;
    // Only output still queued in the driver is discarded; a byte it has handed on is not
    // recalled. (Wine's driver would otherwise drop bytes that a pseudo-terminal has taken but
    // its other side not yet read, which no UART does: a command written just before a purge
    // would be lost.)
    constexpr DWORD kOutput = PURGE_TXABORT | PURGE_TXCLEAR;
    if ((flags & kOutput) && win32::outputQueued(p->device) == 0) flags &= ~kOutput;
    return flags == 0 || win32::purge(p->device, flags);
}

bool ReadFile(HANDLE port, void* buffer, DWORD n, DWORD* got) {
    if (got) *got = 0;
    const auto p = findPort(port);
    if (!p || buffer == nullptr) return false;
    std::uint32_t count = 0;
    const bool ok = win32::read(p->device, buffer, n, count);
    // A read that its time-out cut short takes the bytes that arrived meanwhile too: where the
    // time-out is measured apart from the reading thread (Wine's driver, a thread the system
    // kept waiting), they may have come in time. Queued bytes are read without waiting.
    if (ok && count < n) {
        const std::uint32_t queued = win32::inputQueued(p->device);
        std::uint32_t more = 0;
        if (queued > 0 && win32::read(p->device, static_cast<unsigned char*>(buffer) + count,
                                      std::min(queued, n - count), more)) {
            count += more;
        }
    }
    if (got) *got = count;
    return ok;
}

bool WriteFile(HANDLE port, const void* buffer, DWORD n, DWORD* written) {
    if (written) *written = 0;
    const auto p = findPort(port);
    if (!p || buffer == nullptr) return false;
    std::uint32_t count = 0;
    const bool ok = win32::write(p->device, buffer, n, count) && count == n;
    // A write cut short by its time-out leaves the rest queued behind the held-back line: it is
    // discarded, not sent later by surprise.
    if (!ok) win32::purge(p->device, PURGE_TXABORT | PURGE_TXCLEAR);
    if (written) *written = count;
    return ok;
}

}  // namespace vexlink::platform

// Reads, writes, purges and time-outs of an open port: the Win32 calls of the same names.
#include "platform/win32/WinPort.h"

#include <vexlink/Vexlink.h>

namespace vexlink::platform {

bool SetCommTimeouts(HANDLE port, const COMMTIMEOUTS* timeouts) {
    const auto p = findPort(port);
    if (!p || timeouts == nullptr) return false;
    COMMTIMEOUTS bounded = *timeouts;
    // Win32 reads with both total time-outs zero wait for their first byte without limit (unless
    // the interval is MAXDWORD: then they return at once). Such a read ends after kReadLimitMs.
    if (bounded.ReadTotalTimeoutMultiplier == 0 && bounded.ReadTotalTimeoutConstant == 0 &&
        bounded.ReadIntervalTimeout != MAXDWORD) {
        bounded.ReadTotalTimeoutConstant = kReadLimitMs;
    }
    // Zero write time-outs mean none of the caller's: a write that the line cannot take (held
    // back by flow control) still fails after kWriteHoldLimitMs instead of blocking.
    if (bounded.WriteTotalTimeoutMultiplier == 0 && bounded.WriteTotalTimeoutConstant == 0) {
        bounded.WriteTotalTimeoutConstant = static_cast<DWORD>(Vexlink::kWriteHoldLimitMs);
    }
    return ::SetCommTimeouts(p->device, &bounded) != 0;
}

bool PurgeComm(HANDLE port, DWORD flags) {
    const auto p = findPort(port);
    return p && ::PurgeComm(p->device, flags) != 0;
}

bool ReadFile(HANDLE port, void* buffer, DWORD n, DWORD* got) {
    if (got) *got = 0;
    const auto p = findPort(port);
    if (!p || buffer == nullptr) return false;
    DWORD count = 0;
    const bool ok = ::ReadFile(p->device, buffer, n, &count, nullptr) != 0;
    if (got) *got = count;
    return ok;
}

bool WriteFile(HANDLE port, const void* buffer, DWORD n, DWORD* written) {
    if (written) *written = 0;
    const auto p = findPort(port);
    if (!p || buffer == nullptr) return false;
    DWORD count = 0;
    const bool ok = ::WriteFile(p->device, buffer, n, &count, nullptr) != 0 && count == n;
    // A write cut short by its time-out leaves the rest queued behind the held-back line: it is
    // discarded, not sent later by surprise.
    if (!ok) ::PurgeComm(p->device, PURGE_TXABORT | PURGE_TXCLEAR);
    if (written) *written = count;
    return ok;
}

}  // namespace vexlink::platform

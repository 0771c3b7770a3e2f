// Opening and closing ports.
#include "platform/PortNames.h"
#include "platform/win32/WinPort.h"

#include <vexlink/Vexlink.h>

#include <string>

namespace vexlink::platform {

namespace {

// The name of the object that marks a port as held: one per device path, in the session's
// namespace, without the backslashes that would make it a path of the object namespace.
std::string holderName(const std::string& path) {
    std::string name = "Local\\vexlink.port.";
    for (char c : path.substr(4)) name += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c == '\\' ? '/' : c;
    return name;
}

// Closes a handle without disturbing the error code that the caller is about to report.
void closeKeepingError(::HANDLE handle) {
    const DWORD error = ::GetLastError();
    ::CloseHandle(handle);
    ::SetLastError(error);
}

// The raw line: no byte is swallowed or replaced (binary frames carry 0x00, 0x11 and 0x13), and
// a line error does not stall every later read until it is cleared. Speed, byte size, parity,
// stop bits, hardware flow control and the modem lines stay as the port had them.
void makeRaw(::HANDLE device, ::DCB& dcb) {
    dcb.fBinary = TRUE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fAbortOnError = FALSE;
    dcb.fDsrSensitivity = FALSE;
    ::SetCommState(device, &dcb);
}

}  // namespace

HANDLE CreateFileA(const char* portName) {
    const auto path = resolvePortName(portName);
    if (!path) {
        ::SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }

    // Share mode 0 asks for the port alone, and serial drivers refuse a second opener. Not
    // every driver does (Wine's mapping of COM ports onto Unix devices does not): a named
    // object, alive while the port is open and released by the system when the process ends,
    // gives the same refusal among the programs that use this library.
    const ::HANDLE holder = ::CreateEventA(nullptr, TRUE, FALSE, holderName(*path).c_str());
    if (holder == nullptr) return INVALID_HANDLE_VALUE;
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(holder);
        ::SetLastError(ERROR_ACCESS_DENIED);  // what a driver answers for a port in use
        return INVALID_HANDLE_VALUE;
    }

    // Flags 0: synchronous reads and writes, bounded by the port's time-outs.
    const ::HANDLE device = ::CreateFileA(path->c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_EXISTING, 0, nullptr);
    if (device == INVALID_HANDLE_VALUE) {
        closeKeepingError(holder);
        return INVALID_HANDLE_VALUE;
    }
    // Only communications devices are ports: a file or another device that happens to carry the
    // name takes no line state, and no command byte is ever written to it.
    ::DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (::GetFileType(device) != FILE_TYPE_CHAR || !::GetCommState(device, &dcb)) {
        ::CloseHandle(device);
        ::CloseHandle(holder);
        ::SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    makeRaw(device, dcb);
    // Until SetCommTimeouts: reads end after kReadLimitMs, writes after kWriteHoldLimitMs.
    COMMTIMEOUTS bounded{0, 0, kReadLimitMs, 0, static_cast<DWORD>(Vexlink::kWriteHoldLimitMs)};
    ::SetCommTimeouts(device, &bounded);
    return addPort(OpenPort{device, holder});
}

bool CloseHandle(HANDLE port) {
    const auto p = removePort(port);
    if (!p) return false;
    // Output still queued gets kCloseDrainLimitMs to leave; then it is discarded, so that the
    // close never waits on a line that flow control holds back.
    const auto deadline = Clock::now() + std::chrono::milliseconds(Vexlink::kCloseDrainLimitMs);
    if (!waitUntilSent(p->device, deadline)) ::PurgeComm(p->device, PURGE_TXABORT | PURGE_TXCLEAR);
    // The token is released whatever the system reports (an unplugged adapter's handle may
    // report an error), so the port counts as closed.
    ::CloseHandle(p->device);
    ::CloseHandle(p->holder);
    return true;
}

}  // namespace vexlink::platform

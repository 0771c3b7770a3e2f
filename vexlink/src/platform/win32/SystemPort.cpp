// Serial ports through the Win32 communications calls.
#include "platform/win32/System.h"

#include <windows.h>

namespace vexlink::platform::win32 {

namespace {

::HANDLE h(SystemHandle handle) { return static_cast<::HANDLE>(handle); }

// The raw line: no byte is swallowed or replaced (binary frames carry 0x00, 0x11 and 0x13), and
// a line error does not stall every later read until it is cleared. Speed, byte size, parity,
// stop bits, hardware flow control and the modem lines stay as the port had them.
void makeRaw(::HANDLE port, ::DCB dcb) {
    dcb.fBinary = TRUE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fAbortOnError = FALSE;
    dcb.fDsrSensitivity = FALSE;
    ::SetCommState(port, &dcb);
}

bool systemState(::HANDLE port, ::DCB& dcb) {
    dcb = ::DCB{};
    dcb.DCBlength = sizeof dcb;
    return ::GetCommState(port, &dcb) != 0;
}

}  // namespace

std::uint32_t lastError() { return ::GetLastError(); }
void setLastError(std::uint32_t code) { ::SetLastError(code); }

SystemHandle openPort(const std::string& path) {
    const ::HANDLE port = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) return nullptr;
    // Only communications devices are ports: a file or another device that happens to carry the
    // name has no line state, and no command byte is ever written to it.
    ::DCB dcb;
    if (::GetFileType(port) != FILE_TYPE_CHAR || !systemState(port, dcb)) {
        ::CloseHandle(port);
        ::SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    makeRaw(port, dcb);
    return port;
}

void closeHandle(SystemHandle handle) {
    if (handle) ::CloseHandle(h(handle));
}

bool getLine(SystemHandle port, LineState& line) {
    ::DCB dcb;
    if (!systemState(h(port), dcb)) return false;
    line.baudRate = dcb.BaudRate;
    line.byteSize = dcb.ByteSize;
    line.parity = dcb.Parity;
    line.stopBits = dcb.StopBits;
    line.ctsFlow = dcb.fOutxCtsFlow != 0;
    return true;
}

bool setLine(SystemHandle port, const LineState& line) {
    ::DCB dcb;
    if (!systemState(h(port), dcb)) return false;
    dcb.BaudRate = line.baudRate;
    dcb.ByteSize = line.byteSize;
    dcb.Parity = line.parity;
    dcb.StopBits = line.stopBits;
    dcb.fOutxCtsFlow = line.ctsFlow ? TRUE : FALSE;
    return ::SetCommState(h(port), &dcb) != 0;
}

bool setTimeouts(SystemHandle port, const Timeouts& t) {
    ::COMMTIMEOUTS timeouts{t.readInterval, t.readMultiplier, t.readConstant, t.writeMultiplier,
                            t.writeConstant};
    return ::SetCommTimeouts(h(port), &timeouts) != 0;
}

bool getTimeouts(SystemHandle port, Timeouts& t) {
    ::COMMTIMEOUTS timeouts{};
    if (!::GetCommTimeouts(h(port), &timeouts)) return false;
    t = {timeouts.ReadIntervalTimeout, timeouts.ReadTotalTimeoutMultiplier,
         timeouts.ReadTotalTimeoutConstant, timeouts.WriteTotalTimeoutMultiplier,
         timeouts.WriteTotalTimeoutConstant};
    return true;
}

bool purge(SystemHandle port, std::uint32_t flags) { return ::PurgeComm(h(port), flags) != 0; }

bool read(SystemHandle port, void* buffer, std::uint32_t n, std::uint32_t& got) {
    DWORD count = 0;
    const bool ok = ::ReadFile(h(port), buffer, n, &count, nullptr) != 0;
    got = count;
    return ok;
}

bool write(SystemHandle port, const void* buffer, std::uint32_t n, std::uint32_t& written) {
    DWORD count = 0;
    const bool ok = ::WriteFile(h(port), buffer, n, &count, nullptr) != 0;
    written = count;
    return ok;
}

std::uint32_t outputQueued(SystemHandle port) {
    DWORD errors = 0;
    ::COMSTAT status{};
    return ::ClearCommError(h(port), &errors, &status) ? status.cbOutQue : 0;
}

std::uint32_t inputQueued(SystemHandle port) {
    DWORD errors = 0;
    ::COMSTAT status{};
    return ::ClearCommError(h(port), &errors, &status) ? status.cbInQue : 0;
}

SystemHandle claimName(const std::string& name) {
    const ::HANDLE object = ::CreateEventA(nullptr, TRUE, FALSE, name.c_str());
    if (object != nullptr && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(object);
        ::SetLastError(ERROR_ACCESS_DENIED);  // what a driver answers for a port in use
        return nullptr;
    }
    return object;
}

}  // namespace vexlink::platform::win32

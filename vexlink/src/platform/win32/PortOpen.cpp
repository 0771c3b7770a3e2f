// Opening and closing ports.
#include "platform/LastError.h"
#include "platform/win32/OpenPorts.h"

#include <vexlink/Ports.h>
#include <vexlink/Vexlink.h>

#include <string>

namespace vexlink::platform {

namespace {

// The name of the object that marks a port as held: one per device, whatever the spelling of
// its name, in the session's namespace, without the backslashes of the device path.
std::string holderName(const std::string& path) {
    std::string name = "Local\\vexlink.port.";
    for (char c : path.substr(4))
        name += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c == '\\' ? '/' : c;
    return name;
}

// Records why the open failed, with the system's code (also GetLastError's), and gives the
// invalid handle.
HANDLE refuse(PortError error, PortFault fault, std::uint32_t code) {
    error.fault = fault;
    error.osError = static_cast<int>(code);
    setLastPortError(std::move(error));
    setLastError(static_cast<int>(code));
    win32::setLastError(code);
    return INVALID_HANDLE_VALUE;
}

PortFault faultOf(std::uint32_t code) {
    switch (code) {
    case win32::kErrorFileNotFound:
    case 3: return PortFault::NotFound;  // ERROR_PATH_NOT_FOUND
    case win32::kErrorAccessDenied:
    case 32: return PortFault::Busy;  // ERROR_SHARING_VIOLATION
    default: return PortFault::SystemError;
    }
}

}  // namespace

HANDLE CreateFileA(const char* portName) {
    const ResolvedPort resolved = resolvePort(portName ? portName : "");
    PortError error;
    error.name = resolved.name;
    error.path = resolved.path;
    error.source = resolved.origin.empty() ? toString(resolved.source) : resolved.origin;
    if (resolved.source == PortSource::Invalid)
        return refuse(std::move(error), PortFault::InvalidName, 123);  // ERROR_INVALID_NAME
    const std::string* path = &resolved.path;
    // Share mode 0 asks for the port alone, and serial drivers refuse a second opener. Not every
    // driver does (Wine's mapping of COM ports onto Unix devices does not): a named object, alive
    // while the port is open and released by the system when the process ends, gives the same
    // refusal among the programs that use this library.
    const win32::SystemHandle holder = win32::claimName(holderName(*path));
    if (!holder) {
        const auto code = win32::lastError();
        return refuse(std::move(error), faultOf(code), code);
    }
    const win32::SystemHandle device = win32::openPort(*path);
    if (!device) {
        const auto code = win32::lastError();
        win32::closeHandle(holder);
        return refuse(std::move(error), faultOf(code), code);
    }
    // Until SetCommTimeouts: reads end after kReadLimitMs, writes after kWriteHoldLimitMs.
    win32::setTimeouts(device,
                       {0, 0, kReadLimitMs, 0, static_cast<DWORD>(Vexlink::kWriteHoldLimitMs)});
    setLastPortError(PortError{});
    return addPort(OpenPort{device, holder});
}

bool CloseHandle(HANDLE port) {
    const auto p = removePort(port);
    if (!p) return false;
    // Output still queued gets kCloseDrainLimitMs to leave; then it is discarded, so that the
    // close never waits on a line that flow control holds back.
    const auto deadline = Clock::now() + std::chrono::milliseconds(Vexlink::kCloseDrainLimitMs);
    if (!waitUntilSent(p->device, deadline)) win32::purge(p->device, PURGE_TXABORT | PURGE_TXCLEAR);
    // The handle is released whatever the system reports (an unplugged adapter's may report an
    // error), so the port counts as closed.
    win32::closeHandle(p->device);
    win32::closeHandle(p->holder);
    return true;
}

}  // namespace vexlink::platform

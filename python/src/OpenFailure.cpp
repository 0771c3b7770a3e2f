#include "OpenFailure.h"

#include "Features.h"

#if VEXLINK_PYTHON_HAS_PORTS
#include <vexlink/Ports.h>
#else
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vexlink_python {

namespace {

std::string describe(const std::string& port, const std::string& path) {
    return path.empty() || path == port ? port : port + " (" + path + ")";
}

#if VEXLINK_PYTHON_HAS_PORTS

const char* faultName(vexlink::PortFault fault) {
    switch (fault) {
    case vexlink::PortFault::None: return "";
    case vexlink::PortFault::InvalidName: return "invalid name";
    case vexlink::PortFault::NoPort: return "no port";
    case vexlink::PortFault::NotFound: return "not found";
    case vexlink::PortFault::PermissionDenied: return "permission denied";
    case vexlink::PortFault::Busy: return "busy";
    case vexlink::PortFault::NotSerial: return "not serial";
    case vexlink::PortFault::SystemConsole: return "system console";
    case vexlink::PortFault::Gone: return "gone";
    case vexlink::PortFault::SystemError: return "system error";
    }
    return "system error";
}

std::string devicePath(const std::string& port) { return vexlink::resolvePort(port).path; }

#else

bool isComName(const std::string& port) {
    return port.size() == 4 && port.compare(0, 3, "COM") == 0 && port[3] >= '1' && port[3] <= '4';
}

// COM1..COM4 as the library maps them, an absolute path as it is; empty for no device.
std::string devicePath(const std::string& port) {
    if (!port.empty() && port[0] == '/') return port;
    if (!isComName(port)) return "";
    const std::string variable = "VEXLINK_" + port;
    if (const char* value = std::getenv(variable.c_str())) return value;
    return "/dev/ttyS" + std::string(1, static_cast<char>(port[3] - 1));
}

#endif

}  // namespace

#if VEXLINK_PYTHON_HAS_PORTS

PortFailure lastOpenFailure(const std::string& port) {
    const vexlink::PortError error = vexlink::lastPortError();
    PortFailure failure;
    failure.message = vexlink::describePortError(error);
    if (failure.message.empty()) failure.message = "cannot open " + port;
    if (error.osError != 0) failure.error = error.osError;
    failure.path = error.path;
    failure.fault = faultName(error.fault);
    failure.holder = error.holder;
    return failure;
}

#else

// Without the library's record of the failure: what the file system tells without opening the
// device. A serial device that exists and is accessible but did not open is taken to be held
// by another program (the library's exclusive lock).
PortFailure lastOpenFailure(const std::string& port) {
    const std::string path = devicePath(port);
    const auto failure = [&](std::optional<int> error, const std::string& fault, const std::string& reason) {
        return PortFailure{"cannot open " + describe(port, path) + ": " + reason, error, path, fault, ""};
    };
    if (path.empty()) {
        if (isComName(port)) return failure(std::nullopt, "no port", "VEXLINK_" + port + " is empty: " + port + " names no port");
        return failure(std::nullopt, "invalid name", "not a port name: use COM1 to COM4 or an absolute device path");
    }
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return failure(errno, "not found", std::strerror(errno));
    if (!S_ISCHR(info.st_mode)) return failure(std::nullopt, "not serial", "not a serial device");
    if (access(path.c_str(), R_OK | W_OK) != 0) {
        const int error = errno;
        return failure(error, "permission denied",
                       std::string(std::strerror(error)) + " (a serial port needs membership of the 'dialout' group)");
    }
    return failure(EBUSY, "busy", "held by another program");
}

#endif

std::string noTrackerMessage(const std::string& port) {
    return "no tracker answered on " + describe(port, devicePath(port));
}

}  // namespace vexlink_python

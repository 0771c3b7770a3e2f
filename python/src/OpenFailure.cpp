#include "OpenFailure.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace vexlink_python {

namespace {

bool isComName(const std::string& port) {
    return port.size() == 4 && port.compare(0, 3, "COM") == 0 && port[3] >= '1' && port[3] <= '4';
}

}  // namespace

std::optional<std::string> devicePath(const std::string& port) {
    if (!port.empty() && port[0] == '/') return port;
    if (!isComName(port)) return std::nullopt;
    const std::string variable = "VEXLINK_" + port;
    if (const char* value = std::getenv(variable.c_str())) {
        if (*value == '\0') return std::nullopt;
        return std::string(value);
    }
    return "/dev/ttyS" + std::string(1, static_cast<char>(port[3] - 1));
}

OpenFailure explainOpenFailure(const std::string& port) {
    const auto path = devicePath(port);
    if (!path) {
        if (isComName(port)) return {std::nullopt, "VEXLINK_" + port + " is empty: " + port + " names no port", ""};
        return {std::nullopt, "not a port name: use COM1 to COM4 or an absolute device path", ""};
    }
    struct stat info {};
    if (stat(path->c_str(), &info) != 0) {
        const int error = errno;
        return {error, std::strerror(error), *path};
    }
    if (!S_ISCHR(info.st_mode)) return {std::nullopt, "not a serial device", *path};
    if (access(path->c_str(), R_OK | W_OK) != 0) {
        const int error = errno;
        std::string reason = std::strerror(error);
        if (error == EACCES) reason += " (a serial port needs membership of the 'dialout' group)";
        return {error, reason, *path};
    }
    return {EBUSY, std::strerror(EBUSY) + std::string(" (held by another program)"), *path};
}

}  // namespace vexlink_python

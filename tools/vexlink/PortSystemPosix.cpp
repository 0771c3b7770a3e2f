#include "PortSystem.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace vexlink_cli {

std::string devicePath(const std::string& port) {
    if (port.size() == 4 && port.compare(0, 3, "COM") == 0) {
        const std::string variable = "VEXLINK_" + port;
        if (const char* value = std::getenv(variable.c_str()); value != nullptr && *value != '\0') {
            return value;
        }
        return "/dev/ttyS" + std::to_string(port[3] - '1');
    }
    return port;
}

std::string openFailureReason(const std::string& port) {
    const std::string path = devicePath(port);
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return std::strerror(errno);
    if (access(path.c_str(), R_OK | W_OK) != 0) return std::strerror(errno);
    if (!S_ISCHR(info.st_mode)) return "not a serial device";
    return "in use by another program, or not a serial port";
}

}  // namespace vexlink_cli

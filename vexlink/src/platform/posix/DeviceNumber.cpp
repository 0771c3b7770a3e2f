#include "platform/posix/DeviceNumber.h"

#include <cstdio>
#include <fstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace vexlink::platform {

std::optional<dev_t> characterDevice(const std::string& path) {
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) return std::nullopt;
    return st.st_rdev;
}

std::string readAttribute(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    if (!in || !std::getline(in, line)) return {};
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    return line;
}

std::optional<dev_t> parseDeviceNumber(const std::string& text) {
    unsigned major = 0, minor = 0;
    char extra = 0;
    if (std::sscanf(text.c_str(), "%u:%u%c", &major, &minor, &extra) != 2) return std::nullopt;
    return makedev(major, minor);
}

}  // namespace vexlink::platform

#include "platform/PortNames.h"

#include <cstdlib>
#include <cstring>

namespace vexlink::platform {

std::optional<std::string> resolvePortName(const char* name) {
    if (name == nullptr || name[0] == '\0') return std::nullopt;
    if (name[0] == '/') return std::string(name);
    if (std::strlen(name) == 4 && std::strncmp(name, "COM", 3) == 0 && name[3] >= '1' && name[3] <= '4') {
        const int index = name[3] - '1';
        const std::string variable = std::string("VEXLINK_") + name;
        if (const char* path = std::getenv(variable.c_str())) {
            if (path[0] == '\0') return std::nullopt;
            return std::string(path);
        }
        return std::string("/dev/ttyS") + static_cast<char>('0' + index);
    }
    return std::nullopt;
}

}  // namespace vexlink::platform

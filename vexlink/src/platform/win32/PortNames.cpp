#include "platform/PortNames.h"

#include <cstring>

namespace vexlink::platform {

namespace {

bool isComName(const char* name) {
    if (std::strlen(name) < 4 || std::strlen(name) > 6) return false;
    for (int i = 0; i < 3; ++i)
        if ((name[i] & ~0x20) != "COM"[i]) return false;
    if (name[3] < '1' || name[3] > '9') return false;
    int number = 0;
    for (const char* c = name + 3; *c; ++c) {
        if (*c < '0' || *c > '9') return false;
        number = number * 10 + (*c - '0');
    }
    return number <= 255;
}

}  // namespace

std::optional<std::string> resolvePortName(const char* name) {
    if (name == nullptr || name[0] == '\0') return std::nullopt;
    if (std::strncmp(name, "\\\\.\\", 4) == 0) {
        if (name[4] == '\0') return std::nullopt;
        return std::string(name);
    }
    if (isComName(name)) {
        std::string path = "\\\\.\\COM";
        path += name + 3;
        return path;
    }
    return std::nullopt;
}

}  // namespace vexlink::platform

#include "platform/Roots.h"

#include <cstdlib>

namespace vexlink::platform {

namespace {

std::string rootFrom(const char* variable, const char* standard) {
    const char* value = std::getenv(variable);
    if (value == nullptr || value[0] == '\0') return standard;
    std::string root(value);
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    return root;
}

}  // namespace

std::string devRoot() { return rootFrom("VEXLINK_DEV_DIR", "/dev"); }
std::string sysfsRoot() { return rootFrom("VEXLINK_SYSFS_DIR", "/sys"); }
std::string etcRoot() { return rootFrom("VEXLINK_ETC_DIR", "/etc"); }

bool sysfsReplaced() {
    const char* value = std::getenv("VEXLINK_SYSFS_DIR");
    return value != nullptr && value[0] != '\0';
}

std::string defaultComPath(int com) { return devRoot() + "/ttyS" + std::to_string(com - 1); }

}  // namespace vexlink::platform

// Where the port maps live: the user's under the XDG configuration folder, the system's in /etc.
#include "platform/Roots.h"

#include <vexlink/Ports.h>

#include <cstdlib>

namespace vexlink {

std::string userPortMapPath() {
    // XDG: a relative XDG_CONFIG_HOME is invalid and ignored.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') return std::string(config) + "/vexlink/ports.conf";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return std::string(home) + "/.config/vexlink/ports.conf";
    return {};
}

std::string systemPortMapPath() { return platform::etcRoot() + "/vexlink/ports.conf"; }

}  // namespace vexlink

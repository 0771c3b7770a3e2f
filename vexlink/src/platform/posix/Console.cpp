// Telling whether a device is the system console, which the library never opens.
#include "platform/posix/DeviceNumber.h"
#include "platform/posix/Roots.h"

#include <vexlink/Ports.h>

#include <fstream>
#include <sstream>
#include <sys/sysmacros.h>
#include <vector>

namespace vexlink::platform {

namespace {

// The device numbers of the consoles the kernel writes to: those /proc/consoles lists (its last
// field is the number), and those sysfs names in class/tty/console/active (looked up in sysfs,
// and through the node of that name in the dev root). With a test's sysfs tree in place of
// /sys, only that tree counts.
std::vector<dev_t> consoleDevices() {
    std::vector<dev_t> found;
    if (!sysfsReplaced()) {
        std::ifstream consoles("/proc/consoles");
        for (std::string line; std::getline(consoles, line);) {
            std::istringstream fields(line);
            std::string field, last;
            while (fields >> field) last = field;
            if (const auto number = parseDeviceNumber(last)) found.push_back(*number);
        }
    }
    const std::string sys = sysfsRoot();
    std::istringstream active(readAttribute(sys + "/class/tty/console/active"));
    for (std::string name; active >> name;) {
        if (const auto number =
                parseDeviceNumber(readAttribute(sys + "/class/tty/" + name + "/dev")))
            found.push_back(*number);
        if (const auto number = characterDevice(devRoot() + "/" + name)) found.push_back(*number);
    }
    return found;
}

}  // namespace

}  // namespace vexlink::platform

namespace vexlink {

bool isSystemConsole(const std::string& path) {
    const auto device = platform::characterDevice(path);
    if (!device) return false;
    // /dev/tty (the caller's own terminal) and /dev/console are consoles whatever lies behind them.
    if (*device == makedev(5, 0) || *device == makedev(5, 1)) return true;
    for (const dev_t console : platform::consoleDevices())
        if (console == *device) return true;
    return false;
}

}  // namespace vexlink

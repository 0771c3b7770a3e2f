// Whether a device is a terminal, from its major number and the kernel's terminal drivers.
#include "platform/DeviceNumber.h"

#include <vexlink/Ports.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/sysmacros.h>

namespace vexlink {

bool isSerialDevice(const std::string& path) {
    const auto device = platform::characterDevice(path);
    if (!device) return false;
    // Lines of /proc/tty/drivers: NAME DEVICE-PATH MAJOR MINORS TYPE, e.g.
    // "serial /dev/ttyS 4 64-111 serial" and "usbserial /dev/ttyUSB 188 0-511 serial".
    std::ifstream drivers("/proc/tty/drivers");
    for (std::string line; std::getline(drivers, line);) {
        std::istringstream fields(line);
        std::string name, node, minors, type;
        unsigned driverMajor = 0;
        if (!(fields >> name >> node >> driverMajor >> minors >> type)) continue;
        // Serial ports and the device side of pseudo-terminals; not virtual consoles, /dev/tty,
        // /dev/console or pseudo-terminal masters.
        if (type != "serial" && type != "pty:slave") continue;
        if (driverMajor != major(*device)) continue;
        unsigned first = 0, last = 0;
        if (minors.find('-') != std::string::npos) {
            if (std::sscanf(minors.c_str(), "%u-%u", &first, &last) != 2) continue;
        } else if (std::sscanf(minors.c_str(), "%u", &first) == 1) {
            last = first;
        } else {
            continue;
        }
        if (minor(*device) >= first && minor(*device) <= last) return true;
    }
    return false;
}

}  // namespace vexlink

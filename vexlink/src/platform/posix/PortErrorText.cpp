// A failed open in a user's words: the cause, and what to do about it on Linux.
#include "platform/LastError.h"

#include <vexlink/Ports.h>

#include <cstring>
#include <grp.h>
#include <sys/stat.h>

namespace vexlink {

namespace {

// The group that may use serial devices: the device's own group where it is one of the usual
// two ('dialout' on Debian and its kind, 'uucp' on others), else 'dialout'.
std::string serialGroup(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) {
        if (const group* g = getgrgid(st.st_gid)) {
            const std::string name = g->gr_name;
            if (name == "dialout" || name == "uucp") return name;
        }
    }
    return "dialout";
}

// "/dev/ttyS0" or, when the path came from a COM name, "/dev/ttyS0 (COM1, default)".
std::string named(const PortError& e) {
    if (e.name.empty() || e.name == e.path) return e.path;
    return e.path + " (" + e.name + ", " + e.source + ")";
}

}  // namespace

std::string describePortError(const PortError& e) {
    switch (e.fault) {
    case PortFault::None: return {};
    case PortFault::InvalidName:
        return "\"" + e.name +
               "\" is not a port name: give COM1 to COM4 or an absolute device path";
    case PortFault::NoPort:
        return e.name + " is mapped to no port (" + e.source +
               "): map it with 'vexlink ports set " + e.name + " PATH'";
    case PortFault::NotFound:
        return "no device at " + named(e) +
               ": is the adapter plugged in? 'vexlink ports' lists the serial devices present";
    case PortFault::PermissionDenied: {
        const std::string group = serialGroup(e.path);
        return "permission denied on " + named(e) + ": add your user to the '" + group +
               "' group (sudo usermod -aG " + group + " $USER) and log in again";
    }
    case PortFault::Busy:
        if (!e.holder.empty())
            return named(e) + " is busy: " + e.holder + " holds it; close that program first";
        return named(e) +
               " is busy: another program holds it (a terminal program, a modem manager, "
               "another tracker program); close that program first";
    case PortFault::NotSerial: return named(e) + " is not a serial port";
    case PortFault::SystemConsole:
        return named(e) +
               " is the system console: not opened, so that nothing is sent into it; choose "
               "another port ('vexlink ports' lists them)";
    case PortFault::Gone:
        return named(e) +
               " is gone: the device was unplugged or stopped answering; plug it in again";
    case PortFault::SystemError: break;
    }
    return "cannot open " + named(e) + ": " + std::strerror(e.osError);
}

}  // namespace vexlink

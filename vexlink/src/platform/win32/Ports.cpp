// <vexlink/Ports.h> on Windows. Windows names its ports itself (Device Manager gives a USB
// adapter its COM number), so the port map and the environment are the Linux side's: "COMn"
// stands for \\.\COMn, the devices are the ports the system knows, and no device is a console.
#include "platform/win32/System.h"
#include "platform/LastError.h"

#include <vexlink/Ports.h>

#include <cctype>

namespace vexlink {

namespace {

// n of "COMn" (1..255, no leading zero, any letter case); 0 for any other name.
int windowsComNumber(std::string_view name) {
    if (name.size() < 4 || name.size() > 6 || name[3] == '0') return 0;
    for (int i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return 0;
    int n = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return 0;
        n = n * 10 + (name[i] - '0');
    }
    return n <= 255 ? n : 0;
}

}  // namespace

const char* toString(PortSource source) {
    switch (source) {
    case PortSource::Path: return "path";
    case PortSource::Environment: return "environment";
    case PortSource::UserMap: return "user map";
    case PortSource::SystemMap: return "system map";
    case PortSource::Default: return "default";
    case PortSource::Invalid: break;
    }
    return "invalid";
}

int comNumber(std::string_view name) {
    const int n = name.substr(0, 3) == "COM" ? windowsComNumber(name) : 0;
    return n <= kComPortCount ? n : 0;
}

ResolvedPort resolvePort(std::string_view name) {
    ResolvedPort resolved;
    resolved.name = std::string(name);
    if (name.size() > 4 && name.substr(0, 4) == "\\\\.\\") {
        resolved.path = resolved.name;
        resolved.source = PortSource::Path;
    } else if (const int n = windowsComNumber(name)) {
        resolved.path = "\\\\.\\COM" + std::to_string(n);
        resolved.source = PortSource::Default;
        resolved.origin = "Windows";  // the system's own name for the port
    }
    return resolved;
}

// The map files are the Linux side's: Windows has none.
std::string userPortMapPath() { return {}; }
std::string systemPortMapPath() { return {}; }

std::vector<SerialDevice> listSerialDevices() {
    std::vector<SerialDevice> devices;
    for (const auto& known : platform::win32::knownPorts()) {
        SerialDevice d;
        d.path = known.name;
        d.devicePath = "\\\\.\\" + known.name;
        d.kernelName = known.device;
        d.comNames = {known.name};
        devices.push_back(std::move(d));
    }
    return devices;
}

bool isSerialDevice(const std::string& path) {
    const ResolvedPort resolved = resolvePort(path);
    for (const auto& known : platform::win32::knownPorts())
        if (resolved.path == "\\\\.\\" + known.name) return true;
    return false;
}

bool isSystemConsole(const std::string&) { return false; }
std::string stableDevicePath(const std::string&) { return {}; }
std::vector<std::string> portHolders(const std::string&) { return {}; }

}  // namespace vexlink

namespace vexlink {

std::string describePortError(const PortError& e) {
    const std::string port =
        e.path.empty() || e.path == e.name ? e.name : e.name + " (" + e.path + ")";
    switch (e.fault) {
    case PortFault::None: return {};
    case PortFault::InvalidName:
        return "\"" + e.name + "\" is not a port name: give COMn or a \\\\.\\ device path";
    case PortFault::NoPort: return e.name + " stands for no port";
    case PortFault::NotFound:
        return port +
               " does not exist: plug the adapter in, or see Device Manager (Ports (COM & LPT)) "
               "or 'vexlink ports' for its number";
    case PortFault::PermissionDenied: return "access to " + port + " was denied";
    case PortFault::Busy: return port + " is in use by another program: close it there first";
    case PortFault::NotSerial: return port + " is not a serial port";
    case PortFault::SystemConsole: return port + " is the system console";
    case PortFault::Gone: return port + " went away while it was being opened";
    case PortFault::SystemError: break;
    }
    return port + " could not be opened: system error " + std::to_string(e.osError);
}

}  // namespace vexlink

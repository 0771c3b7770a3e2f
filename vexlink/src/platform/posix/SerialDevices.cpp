// The serial devices present: USB adapters (by their /dev/serial/by-id links), ttyUSB, ttyACM,
// and the ttyS ports that have a UART behind them, described from sysfs.
#include "platform/posix/DeviceNumber.h"
#include "platform/posix/Roots.h"

#include <vexlink/Ports.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <tuple>

namespace fs = std::filesystem;

namespace vexlink {

namespace {

// ttyUSB3 -> {"ttyUSB", 3}: device names sorted by kind, then by number (ttyS2 before ttyS10).
std::tuple<std::string, long, std::string> sortKey(const std::string& name) {
    std::size_t digits = name.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1]))) --digits;
    if (digits == name.size() || name.size() - digits > 9) return {name, -1, name};
    return {name.substr(0, digits), std::stol(name.substr(digits)), name};
}

bool isKind(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return false;
    return std::all_of(name.begin() + static_cast<long>(prefix.size()), name.end(),
                       [](unsigned char c) { return std::isdigit(c); });
}

// A ttyS node has a UART behind it when sysfs gives it a port type other than 0 ("unknown");
// a port of a driver that gives no type counts when it has a driver at all.
bool hasUart(const std::string& ttyFolder) {
    const std::string type = platform::readAttribute(ttyFolder + "/type");
    if (!type.empty()) return type != "0";
    std::error_code ec;
    return fs::exists(ttyFolder + "/device/driver", ec);
}

// Fills in driver and, for USB devices, ids and descriptor strings from the tty's sysfs folder.
void describe(SerialDevice& device) {
    const std::string sys = platform::sysfsRoot();
    const std::string tty = sys + "/class/tty/" + device.kernelName;
    std::error_code ec;
    // The driver of the tty's device, or on newer kernels, where that device sits on the
    // "serial-base" bus (drivers "port" and "ctrl"), of the hardware device above it.
    fs::path at = fs::canonical(tty + "/device", ec);
    if (ec) return;
    for (fs::path above = at; !above.empty() && above != above.root_path();
         above = above.parent_path()) {
        const fs::path driver = fs::canonical(above / "driver", ec);
        if (ec) break;
        if (driver.parent_path().parent_path().filename() != "serial-base") {
            device.driver = driver.filename().string();
            break;
        }
    }

    // The USB device is the nearest folder above the tty's device that has idVendor (the
    // interface for cdc_acm, the interface's usb-serial port for adapter drivers).
    const fs::path top = fs::canonical(sys, ec);
    for (int up = 0; up < 6 && !at.empty() && at != top && at != at.root_path();
         ++up, at = at.parent_path()) {
        const std::string here = at.string();
        const std::string vendor = platform::readAttribute(here + "/idVendor");
        if (vendor.empty()) continue;
        device.vendorId = vendor;
        device.productId = platform::readAttribute(here + "/idProduct");
        device.manufacturer = platform::readAttribute(here + "/manufacturer");
        device.product = platform::readAttribute(here + "/product");
        device.serialNumber = platform::readAttribute(here + "/serial");
        return;
    }
}

struct ByIdLink {
    std::string path;
    dev_t device;
};

std::vector<ByIdLink> byIdLinks() {
    std::vector<ByIdLink> links;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(platform::devRoot() + "/serial/by-id", ec)) {
        const std::string path = entry.path().string();
        if (const auto device = platform::characterDevice(path)) links.push_back({path, *device});
    }
    std::sort(links.begin(), links.end(),
              [](const ByIdLink& a, const ByIdLink& b) { return a.path < b.path; });
    return links;
}

}  // namespace

std::string stableDevicePath(const std::string& path) {
    const auto device = platform::characterDevice(path);
    if (!device) return {};
    for (const ByIdLink& link : byIdLinks())
        if (link.device == *device) return link.path;
    return {};
}

std::vector<SerialDevice> listSerialDevices() {
    const std::string dev = platform::devRoot();
    const std::string sys = platform::sysfsRoot();
    struct Found {
        SerialDevice device;
        dev_t number;
    };
    std::vector<Found> found;

    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dev, ec)) {
        const std::string name = entry.path().filename().string();
        const bool usb = isKind(name, "ttyUSB") || isKind(name, "ttyACM");
        if (!usb && !(isKind(name, "ttyS") && hasUart(sys + "/class/tty/" + name))) continue;
        const auto number = platform::characterDevice(entry.path().string());
        if (!number) continue;
        SerialDevice device;
        device.devicePath = entry.path().string();
        device.path = device.devicePath;
        device.kernelName = name;
        found.push_back({std::move(device), *number});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return sortKey(a.device.kernelName) < sortKey(b.device.kernelName);
    });

    // A by-id link names one of the nodes above; one whose node was not found (a node of another
    // name) is listed on its own under the name its target has.
    for (const ByIdLink& link : byIdLinks()) {
        auto it = std::find_if(found.begin(), found.end(),
                               [&](const Found& f) { return f.number == link.device; });
        if (it != found.end()) {
            if (it->device.path == it->device.devicePath) it->device.path = link.path;
            continue;
        }
        SerialDevice device;
        device.path = link.path;
        const fs::path target = fs::canonical(link.path, ec);
        device.devicePath = ec ? link.path : target.string();
        device.kernelName =
            ec ? fs::path(link.path).filename().string() : target.filename().string();
        found.push_back({std::move(device), link.device});
    }

    std::vector<dev_t> comDevices(kComPortCount + 1);
    std::vector<bool> comMapped(kComPortCount + 1, false);
    for (int com = 1; com <= kComPortCount; ++com) {
        const ResolvedPort resolved = resolvePort("COM" + std::to_string(com));
        if (const auto number = platform::characterDevice(resolved.path)) {
            comDevices[com] = *number;
            comMapped[com] = true;
        }
    }

    std::vector<SerialDevice> devices;
    for (Found& f : found) {
        describe(f.device);
        f.device.isConsole = isSystemConsole(f.device.devicePath);
        for (int com = 1; com <= kComPortCount; ++com)
            if (comMapped[com] && comDevices[com] == f.number)
                f.device.comNames.push_back("COM" + std::to_string(com));
        devices.push_back(std::move(f.device));
    }
    return devices;
}

}  // namespace vexlink

// The serial ports the system knows, from the registry.
#include "platform/win32/System.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace vexlink::platform::win32 {

namespace {

// The number of "COMn", or a number above every port's for any other name.
unsigned long comOrder(const std::string& name) {
    if (name.size() > 3 && _strnicmp(name.c_str(), "COM", 3) == 0) {
        char* end = nullptr;
        const unsigned long n = std::strtoul(name.c_str() + 3, &end, 10);
        if (end && *end == '\0' && n > 0) return n;
    }
    return 0xFFFF'FFFFul;
}

}  // namespace

std::vector<KnownPort> knownPorts() {
    std::vector<KnownPort> ports;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return ports;
    for (DWORD index = 0;; ++index) {
        char device[256];
        BYTE name[256];
        DWORD deviceLength = sizeof device;
        DWORD nameLength = sizeof name - 1;
        DWORD type = 0;
        const LONG r =
            ::RegEnumValueA(key, index, device, &deviceLength, nullptr, &type, name, &nameLength);
        if (r == ERROR_NO_MORE_ITEMS) break;
        if (r != ERROR_SUCCESS || type != REG_SZ) continue;
        name[nameLength] = 0;
        ports.push_back({std::string(device, deviceLength), reinterpret_cast<const char*>(name)});
        if (!ports.back().name.empty() && ports.back().name.back() == '\0')
            ports.back().name.pop_back();
    }
    ::RegCloseKey(key);
    std::sort(ports.begin(), ports.end(), [](const KnownPort& a, const KnownPort& b) {
        const auto na = comOrder(a.name), nb = comOrder(b.name);
        return na != nb ? na < nb : a.name < b.name;
    });
    return ports;
}

}  // namespace vexlink::platform::win32

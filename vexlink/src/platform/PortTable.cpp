// The table that maps port handles to open descriptors.
#include "platform/Tty.h"

#include <cstdint>
#include <mutex>
#include <unordered_map>

namespace vexlink::platform {

namespace {

struct PortTable {
    std::mutex lock;
    std::uint64_t lastToken = 0;  // 0 is INVALID_HANDLE_VALUE; tokens start at 1
    std::unordered_map<std::uint64_t, OpenPort> ports;
};

PortTable& table() {
    static PortTable instance;
    return instance;
}

}  // namespace

HANDLE addPort(const OpenPort& entry) {
    PortTable& t = table();
    std::lock_guard guard(t.lock);
    HANDLE port{++t.lastToken};
    t.ports.emplace(port.value, entry);
    return port;
}

std::optional<OpenPort> findPort(HANDLE port) {
    PortTable& t = table();
    std::lock_guard guard(t.lock);
    auto it = t.ports.find(port.value);
    if (it == t.ports.end()) return std::nullopt;
    return it->second;
}

bool setPortTimeouts(HANDLE port, const COMMTIMEOUTS& timeouts) {
    PortTable& t = table();
    std::lock_guard guard(t.lock);
    auto it = t.ports.find(port.value);
    if (it == t.ports.end()) return false;
    it->second.timeouts = timeouts;
    return true;
}

std::optional<OpenPort> removePort(HANDLE port) {
    PortTable& t = table();
    std::lock_guard guard(t.lock);
    auto it = t.ports.find(port.value);
    if (it == t.ports.end()) return std::nullopt;
    OpenPort entry = it->second;
    t.ports.erase(it);
    return entry;
}

}  // namespace vexlink::platform

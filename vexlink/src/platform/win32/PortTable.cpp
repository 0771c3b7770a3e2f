// The table that maps port handles to open ports.
#include "platform/win32/OpenPorts.h"

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

HANDLE addPort(const OpenPort& port) {
    PortTable& t = table();
    std::lock_guard guard(t.lock);
    HANDLE token{++t.lastToken};
    t.ports.emplace(token.value, port);
    return token;
}

std::optional<OpenPort> findPort(HANDLE port) {
    PortTable& t = table();
    std::lock_guard guard(t.lock);
    auto it = t.ports.find(port.value);
    if (it == t.ports.end()) return std::nullopt;
    return it->second;
}

std::optional<OpenPort> removePort(HANDLE port) {
    PortTable& t = table();
    std::lock_guard guard(t.lock);
    auto it = t.ports.find(port.value);
    if (it == t.ports.end()) return std::nullopt;
    OpenPort open = it->second;
    t.ports.erase(it);
    return open;
}

}  // namespace vexlink::platform

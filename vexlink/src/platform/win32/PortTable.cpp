// The table that maps port tokens to open ports.
#include "platform/win32/WinPort.h"

#include <cstdint>
#include <mutex>
#include <unordered_map>

namespace vexlink::platform {

namespace {

// Low 32 bits of a token: 0x40000000 + 4 * (counter mod 2^28), high 32 bits: the rest of the
// counter. Handle values of a process stay far below 0x40000000; pseudo-handles are negative.
constexpr std::uint64_t kTokenBase = 0x4000'0000;

struct PortTable {
    std::mutex lock;
    std::uint64_t lastCount = 0;
    std::unordered_map<std::uint64_t, OpenPort> ports;
};

PortTable& table() {
    static PortTable instance;
    return instance;
}

std::uint64_t key(HANDLE token) { return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(token)); }

}  // namespace

HANDLE addPort(const OpenPort& port) {
    PortTable& t = table();
    std::lock_guard guard(t.lock);
    const std::uint64_t count = ++t.lastCount;
    const std::uint64_t value = ((count >> 28) << 32) | (kTokenBase + ((count & 0x0FFF'FFFF) << 2));
    t.ports.emplace(value, port);
    return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(value));
}

std::optional<OpenPort> findPort(HANDLE token) {
    PortTable& t = table();
    std::lock_guard guard(t.lock);
    auto it = t.ports.find(key(token));
    if (it == t.ports.end()) return std::nullopt;
    return it->second;
}

std::optional<OpenPort> removePort(HANDLE token) {
    PortTable& t = table();
    std::lock_guard guard(t.lock);
    auto it = t.ports.find(key(token));
    if (it == t.ports.end()) return std::nullopt;
    OpenPort port = it->second;
    t.ports.erase(it);
    return port;
}

}  // namespace vexlink::platform

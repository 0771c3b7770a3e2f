// The table that maps port handles to open ports.
#include "platform/HandleTable.h"
#include "platform/win32/OpenPorts.h"

namespace vexlink::platform {

namespace {

HandleTable<OpenPort>& table() {
    static HandleTable<OpenPort> instance;
    return instance;
}

}  // namespace

HANDLE addPort(const OpenPort& port) { return table().add(port); }

std::optional<OpenPort> findPort(HANDLE port) { return table().find(port); }

std::optional<OpenPort> removePort(HANDLE port) { return table().remove(port); }

}  // namespace vexlink::platform

// The table that maps port handles to open descriptors.
#include "platform/HandleTable.h"
#include "platform/posix/Tty.h"

namespace vexlink::platform {

namespace {

HandleTable<OpenPort>& table() {
    static HandleTable<OpenPort> instance;
    return instance;
}

}  // namespace

HANDLE addPort(const OpenPort& entry) { return table().add(entry); }

std::optional<OpenPort> findPort(HANDLE port) { return table().find(port); }

bool setPortTimeouts(HANDLE port, const COMMTIMEOUTS& timeouts) {
    return table().update(port, [&](OpenPort& entry) { entry.timeouts = timeouts; });
}

std::optional<OpenPort> removePort(HANDLE port) { return table().remove(port); }

}  // namespace vexlink::platform

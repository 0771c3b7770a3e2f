// Whether the device behind an open port is still there.
#include "platform/PortPresence.h"
#include "platform/win32/OpenPorts.h"

namespace vexlink::platform {

// A port whose device has gone (an unplugged USB adapter) no longer answers for its line state.
bool PortHasGone(HANDLE port) {
    const auto p = findPort(port);
    if (!p) return false;
    win32::LineState line;
    return !win32::getLine(p->device, line);
}

}  // namespace vexlink::platform

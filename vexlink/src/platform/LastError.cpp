#include "platform/LastError.h"

#include <utility>

namespace vexlink::platform {

namespace {

thread_local int lastCode = 0;
thread_local PortError lastOpen;
thread_local bool holderLookedUp = false;

}  // namespace

void setLastError(int code) { lastCode = code; }
int lastError() { return lastCode; }

void setLastPortError(PortError error) {
    if (error.fault != PortFault::None && error.osError != 0) lastCode = error.osError;
    lastOpen = std::move(error);
    holderLookedUp = false;
}

}  // namespace vexlink::platform

namespace vexlink {

// The holder of a busy port is looked up when asked for, not during the open: the search
// through /proc takes longer than a failed open should.
PortError lastPortError() {
    if (platform::lastOpen.fault == PortFault::Busy && !platform::holderLookedUp) {
        platform::holderLookedUp = true;
        const auto holders = portHolders(platform::lastOpen.path);
        if (!holders.empty()) platform::lastOpen.holder = holders.front();
    }
    return platform::lastOpen;
}

}  // namespace vexlink

#include "platform/LastError.h"

#include <utility>

namespace vexlink::platform {

namespace {

thread_local int lastCode = 0;
thread_local PortError lastOpen;

}  // namespace

void setLastError(int code) { lastCode = code; }
int lastError() { return lastCode; }

void setLastPortError(PortError error) {
    if (error.fault != PortFault::None && error.osError != 0) lastCode = error.osError;
    lastOpen = std::move(error);
}

}  // namespace vexlink::platform

namespace vexlink {

PortError lastPortError() { return platform::lastOpen; }

}  // namespace vexlink

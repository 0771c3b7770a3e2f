// Line settings: GetCommState and SetCommState.
#include "platform/win32/WinPort.h"

#include <vexlink/Vexlink.h>

namespace vexlink::platform {

bool GetCommState(HANDLE port, DCB* dcb) {
    const auto p = findPort(port);
    if (!p || dcb == nullptr) return false;
    ::DCB d{};
    d.DCBlength = sizeof d;
    if (!::GetCommState(p->device, &d)) return false;
    *dcb = d;
    return true;
}

bool SetCommState(HANDLE port, const DCB* dcb) {
    const auto p = findPort(port);
    if (!p || dcb == nullptr) return false;
    ::DCB d = *dcb;
    d.DCBlength = sizeof d;
    // A byte still on its way out would go at the new speed, garbled: apply the settings once
    // the output has left the port (bounded, like a write).
    waitUntilSent(p->device, Clock::now() + std::chrono::milliseconds(Vexlink::kWriteHoldLimitMs));
    return ::SetCommState(p->device, &d) != 0;
}

}  // namespace vexlink::platform

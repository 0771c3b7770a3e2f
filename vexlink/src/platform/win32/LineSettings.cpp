// Line settings: GetCommState and SetCommState.
#include "platform/win32/OpenPorts.h"

#include <vexlink/Vexlink.h>

namespace vexlink::platform {

bool GetCommState(HANDLE port, DCB* dcb) {
    const auto p = findPort(port);
    win32::LineState line;
    if (!p || dcb == nullptr || !win32::getLine(p->device, line)) return false;
    DCB d;
    d.BaudRate = line.baudRate;
    d.ByteSize = line.byteSize;
    d.Parity = line.parity;
    d.StopBits = line.stopBits;
    d.fOutxCtsFlow = line.ctsFlow ? 1 : 0;
    *dcb = d;
    return true;
}

// Applies speed, byte size, parity, stop bits and RTS/CTS flow control over the port's present
// settings, which keep every other value they have.
bool SetCommState(HANDLE port, const DCB* dcb) {
    const auto p = findPort(port);
    if (!p || dcb == nullptr) return false;
    // A byte still on its way out would go at the new speed, garbled: apply the settings once
    // the output has left the port (bounded, like a write).
    waitUntilSent(p->device, Clock::now() + std::chrono::milliseconds(Vexlink::kWriteHoldLimitMs));
    return win32::setLine(p->device, {dcb->BaudRate, dcb->ByteSize, dcb->Parity, dcb->StopBits,
                                      dcb->fOutxCtsFlow != 0});
}

}  // namespace vexlink::platform

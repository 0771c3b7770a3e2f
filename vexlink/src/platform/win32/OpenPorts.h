// What the Win32 serial-port calls share: the table that maps port handles to open ports, and
// the bounded wait for output to leave a port.
#pragma once

#include "platform/Clock.h"
#include "platform/CommApi.h"
#include "platform/win32/System.h"

#include <optional>

namespace vexlink::platform {

// An open port as the table keeps it: the device and the named object that marks it as held
// (see CreateFileA).
struct OpenPort {
    win32::SystemHandle device = nullptr;
    win32::SystemHandle holder = nullptr;
};

// Handles are tokens drawn from a counter that never repeats, so a closed port's handle can
// never come to name another object, however soon Windows reuses its handle values (it does
// so at once).
HANDLE addPort(const OpenPort& port);
std::optional<OpenPort> findPort(HANDLE port);
// Removes the handle from the table (it is invalid from then on) and gives back its port.
std::optional<OpenPort> removePort(HANDLE port);

// Waits until the driver holds no more output for the port, or until deadline, sleeping about
// the time the queued bytes take on the line between checks; then one byte time more for the
// byte in the transmitter, which the driver does not count. true once drained or when the
// driver cannot tell; false at the deadline.
bool waitUntilSent(win32::SystemHandle device, Clock::time_point deadline);

}  // namespace vexlink::platform

// Helpers shared by the Win32 serial-port calls: the table that maps the library's port
// tokens to system handles, and the bounded wait for output to leave a port.
#pragma once

#include "platform/Clock.h"
#include "platform/CommApi.h"

#include <windows.h>

#include <optional>

namespace vexlink::platform {

// An open port as the table keeps it: the device's handle and the handle of the named object
// that marks the port as held (see CreateFileA).
struct OpenPort {
    ::HANDLE device = INVALID_HANDLE_VALUE;
    ::HANDLE holder = nullptr;
};

// Ports are handed out as tokens drawn from a counter that never repeats, so a closed port's
// value can never come to name another object, however soon Windows reuses its handle values
// (it does so at once). A token is never a valid system handle either: its low 32 bits, which
// are all the system reads of a handle, lie above any handle value a process gets, and below
// the pseudo-handles.
HANDLE addPort(const OpenPort& port);
std::optional<OpenPort> findPort(HANDLE token);
// Removes the token from the table (it is invalid from then on) and gives back its port.
std::optional<OpenPort> removePort(HANDLE token);

// Waits until the driver's output queue of device is empty, or until deadline, sleeping about
// the time the queued bytes take on the line between checks. true once empty, or when the
// driver cannot tell; false at the deadline. The byte in the transmitter itself is not
// reported by the system: one more byte time is waited for it.
bool waitUntilSent(::HANDLE device, Clock::time_point deadline);

}  // namespace vexlink::platform

// Helpers shared by the serial-port calls: the handle table, line speeds and output draining.
#pragma once

#include "platform/Clock.h"
#include "platform/CommApi.h"

#include <optional>
#include <termios.h>

namespace vexlink::platform {

// An open port as the handle table keeps it.
struct OpenPort {
    int fd = -1;
    COMMTIMEOUTS timeouts;
    bool restore = false;  // whether closing puts back `found`
    termios found{};       // the line settings the port had when it was opened
};

// Handles are tokens drawn from a counter that never repeats, so a closed port's handle can
// never come to name another file, whatever descriptor numbers the kernel hands out later.
HANDLE addPort(const OpenPort& port);
std::optional<OpenPort> findPort(HANDLE port);
bool setPortTimeouts(HANDLE port, const COMMTIMEOUTS& timeouts);
// Removes the handle from the table (it is invalid from then on) and gives back its entry.
std::optional<OpenPort> removePort(HANDLE port);

// Bit/s of a termios record's output speed; 0 for a speed outside the standard table.
int lineSpeed(const termios& settings);
// The termios speed code of a bit rate; B0 when there is none.
speed_t speedCode(DWORD bitsPerSecond);

// Turns the line raw: no echo, no canonical mode, no signals, no translation of any byte in
// either direction, no software flow control (XON/XOFF would swallow 0x11 and 0x13, which
// binary frames carry). Speed, byte size, parity, stop bits, hardware flow control and the
// modem-line settings stay as they are. false when fd is no terminal.
bool makeRaw(int fd);

// Bytes still queued for output on fd, the transmitter included where the driver reports it;
// 0 when fd cannot tell.
int outputQueued(int fd);

// Waits until the output written to fd has left it (the kernel's queue and, where the driver
// reports it, the transmitter), or until deadline. true once drained or when fd cannot report
// its queue (no terminal, or a device that has gone); false at the deadline. It sleeps for
// about the time the queued bytes take on the line between checks, so it never spins.
bool waitUntilSent(int fd, Clock::time_point deadline);

// A pseudo-terminal always reports an empty output queue, so no test can make the kernel hold
// output back there; tests of the drain rules stand a UART's queue in through this seam, which
// replaces the count outputQueued gives (null restores the kernel's own).
using OutputQueueProbe = int (*)(int fd);
OutputQueueProbe setOutputQueueProbeForTesting(OutputQueueProbe probe);

}  // namespace vexlink::platform

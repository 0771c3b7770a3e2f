// Low-latency mode of serial drivers. A USB serial adapter collects received bytes and hands
// them to the host when its buffer fills or its latency timer runs out (16 ms by default on
// FTDI chips); ASYNC_LOW_LATENCY makes the driver set that timer to 1 ms. Drivers without the
// serial ioctls (pseudo-terminals, many others) refuse it, which changes nothing.
#include "platform/StreamPort.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

namespace vexlink::platform {

bool enableLowLatency(int fd) {
    serial_struct serial{};
    if (ioctl(fd, TIOCGSERIAL, &serial) != 0) return false;
    if (serial.flags & ASYNC_LOW_LATENCY) return false;  // already on: not ours to clear later
    serial.flags |= ASYNC_LOW_LATENCY;
    if (ioctl(fd, TIOCSSERIAL, &serial) != 0) return false;
    // Some drivers accept the call but keep their flags: only a flag that stuck counts.
    serial_struct now{};
    return ioctl(fd, TIOCGSERIAL, &now) == 0 && (now.flags & ASYNC_LOW_LATENCY);
}

void disableLowLatency(int fd) {
    serial_struct serial{};
    if (ioctl(fd, TIOCGSERIAL, &serial) != 0) return;
    serial.flags &= ~ASYNC_LOW_LATENCY;
    ioctl(fd, TIOCSSERIAL, &serial);
}

}  // namespace vexlink::platform

// Waiting, bounded, for a port's output to leave it.
#include "platform/posix/Tty.h"

#include <algorithm>
#include <sys/ioctl.h>

namespace vexlink::platform {

namespace {

// Bytes in the kernel's output queue, plus one while the driver reports that the transmitter
// still holds data (UART drivers answer TIOCSERGETLSR; others cannot tell, and count as empty).
int kernelOutputQueue(int fd) {
    int queued = 0;
    if (ioctl(fd, TIOCOUTQ, &queued) != 0) return 0;
    if (queued > 0) return queued;
    unsigned lsr = 0;
    if (ioctl(fd, TIOCSERGETLSR, &lsr) == 0 && !(lsr & TIOCSER_TEMT)) return 1;
    return 0;
}

OutputQueueProbe queueProbe = kernelOutputQueue;

}  // namespace

OutputQueueProbe setOutputQueueProbeForTesting(OutputQueueProbe probe) {
    OutputQueueProbe previous = queueProbe;
    queueProbe = probe ? probe : kernelOutputQueue;
    return previous;
}

int outputQueued(int fd) { return queueProbe(fd); }

bool waitUntilSent(int fd, Clock::time_point deadline) {
    using namespace std::chrono;
    for (;;) {
        const int queued = outputQueued(fd);
        if (queued <= 0) return true;
        const auto now = Clock::now();
        if (now >= deadline) return false;
        // One byte is 10 bit times (start, 8 data, stop) at the line's speed.
        termios t{};
        const int bps = tcgetattr(fd, &t) == 0 ? lineSpeed(t) : 0;
        const auto byteTime = bps > 0 ? microseconds(10'000'000 / bps) : milliseconds(1);
        const auto wait = std::max<Clock::duration>(byteTime * queued, microseconds(200));
        SleepUntil(std::min(deadline, now + wait));
    }
}

}  // namespace vexlink::platform

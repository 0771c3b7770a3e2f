// Whether the device behind an open port is still there: a hung-up terminal says so in poll.
#include "platform/PortPresence.h"

#include "platform/Tty.h"

#include <cerrno>
#include <poll.h>

namespace vexlink::platform {

bool PortHasGone(HANDLE port) {
    const auto p = findPort(port);
    if (!p) return false;
    // A zero time-out only asks: the answer comes at once. A hung-up terminal reports POLLHUP
    // (and an unplugged USB adapter POLLERR too) whatever events are asked for.
    pollfd state{p->fd, POLLIN | POLLOUT, 0};
    int r = 0;
    do r = poll(&state, 1, 0);
    while (r < 0 && errno == EINTR);
    if (r < 0) return true;
    return (state.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

}  // namespace vexlink::platform

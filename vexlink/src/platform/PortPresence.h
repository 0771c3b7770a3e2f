// Whether the device behind an open port is still there.
#pragma once

#include <vexlink/SerialTypes.h>

namespace vexlink::platform {

// true when the device behind port has gone: the line has hung up (an unplugged adapter, the
// far side of a pseudo-terminal closed, carrier lost on a line that watches it), so reads end
// at once and writes fail until the port is opened anew. false while the device is there, and
// for a handle that names no open port (nothing is held that could have gone). Returns at once.
bool PortHasGone(HANDLE port);

}  // namespace vexlink::platform

// The calling thread's last error: the system's code of the last failed call, as GetLastError
// keeps it, and the cause of the last failed port open.
#pragma once

#include <vexlink/Ports.h>

namespace vexlink::platform {

// Records code (an errno value) as the thread's last error.
void setLastError(int code);
int lastError();

// Records the outcome of a port open: fault None for one that succeeded.
void setLastPortError(PortError error);

}  // namespace vexlink::platform

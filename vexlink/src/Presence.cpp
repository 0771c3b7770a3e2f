// Whether the port held has gone, for callers that must tell a vanished device from a quiet one.
#include <vexlink/Vexlink.h>

#include "platform/PortPresence.h"

int Vexlink::CheckIfGone() { return vexlink::platform::PortHasGone(comHandle) ? 1 : 0; }

// Why a port did not open, and where nothing answered, in the words of PortError and
// NoTrackerError.
#pragma once

#include "Errors.h"

#include <string>

namespace vexlink_python {

// Why the last open on the calling thread failed. Call on the thread that opened, right after
// the failed Vexlink::OpenCom that left no handle.
PortFailure lastOpenFailure(const std::string& port);

// "no tracker answered on COM3 (/dev/ttyUSB0)".
std::string noTrackerMessage(const std::string& port);

}  // namespace vexlink_python

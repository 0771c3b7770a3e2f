// Port names: "COM1".."COM4" and absolute paths.
#pragma once

#include <optional>
#include <string>

namespace vexlink::platform {

// The device path a port name stands for: "COM1".."COM4" resolve to the value of VEXLINK_COM1..
// VEXLINK_COM4 when that variable is set (an empty value names no device), otherwise to
// /dev/ttyS0../dev/ttyS3; a name that starts with '/' is that path. Anything else: none.
std::optional<std::string> resolvePortName(const char* name);

}  // namespace vexlink::platform

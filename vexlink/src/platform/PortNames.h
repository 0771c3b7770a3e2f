// Port names: "COM1".."COM4" and absolute paths on POSIX systems; "COMn" and "\\.\" device
// paths on Windows.
#pragma once

#include <optional>
#include <string>

namespace vexlink::platform {

// The device path a port name stands for, or none.
// POSIX: "COM1".."COM4" resolve to the value of VEXLINK_COM1..VEXLINK_COM4 when that variable
// is set (an empty value names no device), otherwise to /dev/ttyS0../dev/ttyS3; a name that
// starts with '/' is that path.
// Windows: "COMn" (n from 1 to 255, no leading zero, any letter case) resolves to "\\.\COMn",
// the form that every port number opens with; a name that starts with "\\.\" is that path.
std::optional<std::string> resolvePortName(const char* name);

}  // namespace vexlink::platform

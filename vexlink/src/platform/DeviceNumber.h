// Character devices told apart by their device number, whatever path or link names them.
#pragma once

#include <optional>
#include <string>
#include <sys/types.h>

namespace vexlink::platform {

// The device number of the character device that path names (links followed); none for a
// path that does not exist or is no character device.
std::optional<dev_t> characterDevice(const std::string& path);

// The first line of a small text file (a sysfs attribute), without its line end; empty when
// it cannot be read.
std::string readAttribute(const std::string& path);

// "MAJOR:MINOR" as sysfs and /proc/consoles write device numbers; none when it is not that.
std::optional<dev_t> parseDeviceNumber(const std::string& text);

}  // namespace vexlink::platform

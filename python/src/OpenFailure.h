// Why a port did not open, for PortError.
#pragma once

#include <optional>
#include <string>

namespace vexlink_python {

struct OpenFailure {
    std::optional<int> error;  // errno, where the system gave one
    std::string reason;        // the system's text for it, or our own
    std::string path;          // the device the name stands for; empty when it stands for none
};

// The device path a port name stands for: COM1..COM4 as the library maps them, an absolute
// path as it is. None when the name stands for no device (an unknown name, an empty mapping).
std::optional<std::string> devicePath(const std::string& port);

// Explains a failed open of port from what the file system tells without opening the device:
// missing, no access, not a character device; a serial device that exists and is accessible
// but did not open is taken to be held by another program (the library's exclusive lock).
OpenFailure explainOpenFailure(const std::string& port);

}  // namespace vexlink_python

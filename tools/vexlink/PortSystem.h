// What the system says about a port name, for the program's messages. One implementation per
// system: PortSystemPosix.cpp, PortSystemWindows.cpp.
#pragma once

#include <string>

namespace vexlink_cli {

// The device a port name opens: for COMn what the library resolves it to (POSIX: VEXLINK_COMn
// when set, else /dev/ttyS<n-1>; Windows: \\.\COMn), otherwise the name itself.
std::string devicePath(const std::string& port);

// Why the library could not open port, read right after the failed open: the system's error
// (Windows) or what the file system tells without opening it (POSIX).
std::string openFailureReason(const std::string& port);

}  // namespace vexlink_cli

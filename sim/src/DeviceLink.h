// The symbolic link that names the tracker's device at a stable path.
#pragma once

#include <string>

namespace korvisor {

// Makes path a symbolic link to target, atomically replacing a link already there (for
// example one left by a run that was killed). Refuses to replace anything but a link.
// Throws std::system_error.
void pointLink(const std::string& path, const std::string& target);

// Removes path if it is a symbolic link to target; leaves anything else alone.
void removeLink(const std::string& path, const std::string& target);

}  // namespace korvisor

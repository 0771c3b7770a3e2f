// The symbolic link that names the tracker's device at a stable path.
#pragma once

#include <string>

namespace korvisor {

// Makes path a symbolic link to target. Refuses a path that exists, whatever it is: a link
// there may be a user's (to a real port) or another simulator's, and replacing it would later
// delete it too. Throws std::system_error.
void pointLink(const std::string& path, const std::string& target);

// Removes path if it is a symbolic link to target; leaves anything else alone.
void removeLink(const std::string& path, const std::string& target);

}  // namespace korvisor

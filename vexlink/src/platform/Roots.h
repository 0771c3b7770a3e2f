// Where the system's files are looked for: /dev, /sys and /etc, or the folders that tests name in
// VEXLINK_DEV_DIR, VEXLINK_SYSFS_DIR and VEXLINK_ETC_DIR in their place.
#pragma once

#include <string>

namespace vexlink::platform {

std::string devRoot();    // "/dev" or $VEXLINK_DEV_DIR
std::string sysfsRoot();  // "/sys" or $VEXLINK_SYSFS_DIR
std::string etcRoot();    // "/etc" or $VEXLINK_ETC_DIR
// true when VEXLINK_SYSFS_DIR replaces /sys: the machine's own /proc then says nothing either.
bool sysfsReplaced();

// The device path COMn (1..4) stands for when nothing maps it: <dev root>/ttyS<n-1>.
std::string defaultComPath(int com);

}  // namespace vexlink::platform

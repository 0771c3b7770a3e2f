// The ports that scripts/test-windows.sh serves through Wine's COM port mapping. COM1 and COM4
// name Unix paths that do not exist, COM255 is not mapped at all; no other port is opened.
#pragma once

namespace wine_rig {

inline constexpr const char* kTracker = "COM3";     // korvisor-sim --pose 10,90,-5
inline constexpr const char* kSilent = "COM2";      // korvisor-sim --silent
inline constexpr const char* kDangling = "COM1";    // a link to a path that does not exist
inline constexpr const char* kUnmapped = "COM255";  // no such port
inline constexpr int kTrackerNumber = 3;

// The simulated tracker's pose, in the order pitch, yaw, roll.
inline constexpr int kPitch = 10;
inline constexpr int kYaw = 90;
inline constexpr int kRoll = -5;

}  // namespace wine_rig

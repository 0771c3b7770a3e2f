// One sample as the module hands it out.
#pragma once

#include <optional>
#include <string>

namespace vexlink_python {

struct Sample {
    // Whole degrees; none for a sample that failed, so that no angles are taken for new ones
    // that are not.
    std::optional<int> pitch;
    std::optional<int> yaw;
    std::optional<int> roll;
    double time = 0;               // monotonic seconds (time.monotonic()) when the frame was in
    const char* verdict = "good";  // "good", "checksum error", "short frame", "malformed"
    std::string raw;               // the frame's bytes
};

}  // namespace vexlink_python

// The tracker's angles as signed degrees for programs that expect -180..179.
//
// The tracker reports yaw 0..719 and pitch and roll -90..269 (whole degrees; the upper half of
// each range comes from the upper half of the 16-bit word). Every angle is sent as
//     s = ((a + 180) mod 360) - 180          (mod giving 0..359)
// so 0 stays 0, small angles keep their sign, and the result is in -180..179.
//   yaw:          0..179 -> 0..179, 180..359 -> -180..-1, and 360..719 like 0..359 (the same
//                 direction one turn on). Back: yaw = (s + 360) mod 360.
//   pitch, roll:  -90..179 unchanged, 180..269 -> -180..-91; one to one over the whole range.
//                 Back: a = s + 360 when s < -90, else s.
#pragma once

namespace vexlink_cli {

constexpr int toSignedDegrees(long degrees) {
    long m = (degrees + 180) % 360;
    if (m < 0) m += 360;
    return static_cast<int>(m - 180);
}

constexpr int yawFromSigned(int s) { return (s % 360 + 360) % 360; }

constexpr int pitchRollFromSigned(int s) { return s < -90 ? s + 360 : s; }

}  // namespace vexlink_cli

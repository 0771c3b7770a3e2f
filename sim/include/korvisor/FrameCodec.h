// The tracker's sample frames and angle words.
//
// A binary frame carries each angle as an unsigned 16-bit word, high byte first. A host
// decodes yaw = (w*360) >> 15 and pitch, roll = ((w*180) >> 15) - 90, so one word unit is
// 360/32768 degree of yaw and half that of pitch or roll. The encoders pick the smallest word
// that decodes to the given whole degree, so decoding gives every whole degree back exactly.
//
// Layouts, positions from 0:
//   binary upon request  yaw hi, yaw lo, pitch hi, pitch lo, roll hi, roll lo [, checksum]
//   binary continuous    0xFF, kStreamSecondHeader, then the same six [+ checksum]
//   ASCII (20 bytes)     'Y', yaw (5 chars), ',', pitch (5), ',', roll (5), '\r', '\n'
// The checksum is the sum of the three words' low bytes, modulo 256. ASCII frames have none.
#pragma once

#include <korvisor/Pose.h>

#include <cstdint>
#include <vector>

namespace korvisor {

inline constexpr int kYawMin = 0, kYawMax = 719;
inline constexpr int kTiltMin = -90, kTiltMax = 269;  // pitch and roll

inline constexpr std::uint8_t kStreamStart = 0xFF;
inline constexpr std::uint8_t kStreamSecondHeader = 0x00;
inline constexpr std::uint8_t kAsciiStart = 'Y';
inline constexpr std::size_t kAsciiFrameLength = 20;

// Words for whole degrees; angles outside the range are clamped to it.
std::uint16_t yawWord(int yaw);
std::uint16_t tiltWord(int angle);

// The host's decoding.
int yawOfWord(std::uint16_t word);
int tiltOfWord(std::uint16_t word);

struct FrameFormat {
    char dataMode = 'F';      // 'F' binary, 'E' ASCII
    bool continuous = false;  // binary: the 0xFF-headed stream layout
    bool checksum = false;    // binary: a trailing checksum byte
};

std::uint8_t checksumOf(std::uint16_t yawW, std::uint16_t pitchW, std::uint16_t rollW);

// One frame of pose in format; corruptChecksum makes the checksum byte wrong (binary only).
std::vector<std::uint8_t> encodeFrame(const Pose& pose, const FrameFormat& format,
                                      bool corruptChecksum = false);

}  // namespace korvisor

// The link's timing as the library documents it, and the wire's: the pieces every floor in
// the benchmark is built from. Kept here, apart from the library's own constants, so that
// the benchmark measures the implementation against its contract.
#pragma once

namespace bench {

// Read time-outs: a read of n bytes ends after n bytes, after more than kIntervalMs between
// two bytes, or after kPerByteMs * n + kConstantMs in all.
inline constexpr double kIntervalMs = 5;
inline constexpr double kPerByteMs = 5;
inline constexpr double kConstantMs = 5;
constexpr double readLimitMs(int n) { return kPerByteMs * n + kConstantMs; }

// Pauses.
inline constexpr double kAfterModeMs = 10;        // identification: after 'G'
inline constexpr double kAfterIdentifyMs = 15;    // identification: after 'X'
inline constexpr double kResetGapMs = 10;         // hard reset: between the first two 'R'
inline constexpr double kAfterRequestMs = 10;     // reader: after 'S'
inline constexpr double kAfterHeaderMs = 10;      // reader: after a continuous frame's header
inline constexpr double kAfterAsciiStartMs = 15;  // reader: after an ASCII frame's 'Y'

// Frames and replies, in bytes.
inline constexpr int kIdReplyLength = 3;
inline constexpr int kVersionMax = 5;
inline constexpr int kBinaryBody = 6;    // +1 with checksum
inline constexpr int kBinaryHeader = 2;  // continuous frames
inline constexpr int kAsciiFrame = 20;

// A byte on the line takes 10 bit times (start bit, 8 data bits, stop bit); it is received
// when its stop bit ends.
constexpr double byteMs(int bitsPerSecond) { return 10.0 * 1000.0 / bitsPerSecond; }

}  // namespace bench

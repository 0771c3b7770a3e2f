// The sample reader's pauses and the bound on its search for a frame's start byte.
//
// A ReadFromPort call must end within Vexlink::kReadBoundMs. Once the start byte has come, the
// rest of the frame costs at most the pauses and read time-outs that follow it, so the search
// stops when a further single-byte read could no longer end in time for them:
//   continuous binary: 300 - (10 header byte + 10 pause + 40 seven-byte body) = 240 ms
//   ASCII:             300 - (15 pause + 100 nineteen-byte body)               = 185 ms
#pragma once

#include <vexlink/Vexlink.h>

#include "FrameFormat.h"

namespace vexlink::timing {

// The read time-outs that OpenCom sets on the port: a read of n bytes ends after a gap of more
// than kReadIntervalMs between two bytes, or after at most kReadPerByteMs * n + kReadConstantMs.
inline constexpr int kReadIntervalMs = 5;
inline constexpr int kReadPerByteMs = 5;
inline constexpr int kReadConstantMs = 5;
constexpr int readLimitMs(int n) { return kReadPerByteMs * n + kReadConstantMs; }

// Pauses that let a frame arrive before it is read in one call.
inline constexpr int kAfterRequestMs = 10;     // after the sample request, in either format
inline constexpr int kAfterHeaderMs = 10;      // after the two header bytes of a continuous frame
inline constexpr int kAfterAsciiStartMs = 15;  // after the 'Y' of an ASCII frame

// How long after the call's start the search for the start byte may go on.
inline constexpr int kContinuousSearchMs =
    Vexlink::kReadBoundMs -
    (readLimitMs(1) + kAfterHeaderMs + readLimitMs(frame::kBinaryBodyWithChecksum));
inline constexpr int kAsciiSearchMs =
    Vexlink::kReadBoundMs - (kAfterAsciiStartMs + readLimitMs(frame::kAsciiBodyLength));

static_assert(kContinuousSearchMs > readLimitMs(1) && kAsciiSearchMs > kAfterRequestMs,
              "the read bound leaves no time to search for a start byte");

}  // namespace vexlink::timing

// The tracker's protocol constants: every command is one byte, kept as a one-letter text whose
// first byte is written; the default rate and the identification reply are kept as text too.
#pragma once

#include <vexlink/Vexlink.h>

namespace vexlink::protocol {

// The four letters callers send themselves are public (<vexlink/Vexlink.h>).
using vexlink::kAsciiFrames;
using vexlink::kBinaryFrames;
using vexlink::kContinuous;
using vexlink::kUponRequest;
inline constexpr char kSpeed19200[] = "K";
inline constexpr char kSpeed9600[] = "L";
inline constexpr char kChecksumOn[] = "M";
inline constexpr char kChecksumOff[] = "N";
inline constexpr char kHysteresisOff[] = "O";
inline constexpr char kHysteresisOn[] = "P";
inline constexpr char kReset[] = "R";
inline constexpr char kSampleRequest[] = "S";
inline constexpr char kVersionRequest[] = "V";
inline constexpr char kIdentify[] = "X";

inline constexpr char kDefaultRate[] = "40";
inline constexpr char kIdReply[] = "KHX";
inline constexpr int kIdReplyLength = 3;
inline constexpr int kVersionLength = 5;

// Warnings shown through errMsgBox.
inline constexpr char kMsgBusy[] = "Device busy or not available";
inline constexpr char kMsgNotFound[] = "Korvisor not available\nCheck your connections";
inline constexpr char kMsgInitFailed[] = "Init failed \n \"SetCommState\"";
inline constexpr char kMsgCantClose[] = " Error.. Can't Close port";

}  // namespace vexlink::protocol

// The tracker's protocol constants: every command is one byte, kept as a one-letter text whose
// first byte is written; the default rate and the identification reply are kept as text too.
#pragma once

namespace vexlink::protocol {

inline char kAsciiFrames[] = "E";
inline char kBinaryFrames[] = "F";
inline char kUponRequest[] = "G";
inline char kContinuous[] = "H";
inline char kSpeed19200[] = "K";
inline char kSpeed9600[] = "L";
inline char kChecksumOn[] = "M";
inline char kChecksumOff[] = "N";
inline char kHysteresisOff[] = "O";
inline char kHysteresisOn[] = "P";
inline char kReset[] = "R";
inline char kSampleRequest[] = "S";
inline char kVersionRequest[] = "V";
inline char kIdentify[] = "X";

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

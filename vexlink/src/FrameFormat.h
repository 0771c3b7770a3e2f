// Sample frames as the tracker sends them: lengths, start bytes, the checksum and the decoding
// of binary words and ASCII fields into whole degrees. Integer arithmetic only, no allocation.
#pragma once

#include <vexlink/Vexlink.h>

#include <cstddef>

namespace vexlink::frame {

// Binary frames: three 16-bit words (yaw, pitch, roll), high byte first, and with checksum
// mode on a trailing checksum byte. Upon request the words start at position 0; a continuous
// frame puts the start byte 0xFF and one further header byte before them.
inline constexpr unsigned char kBinaryStart = 0xFF;
inline constexpr int kBinaryHeaderLength = 2;
inline constexpr int kBinaryBodyLength = vexlink::kBinaryBodyLength;
inline constexpr int kBinaryBodyWithChecksum = vexlink::kBinaryChecksumBodyLength;
inline constexpr int kChecksumPosition = 6;  // within the body

// ASCII frames: 'Y', then three 5-character decimal fields with one separator byte after the
// first two, and the line end CR LF: 20 bytes, of which 19 follow the start byte.
inline constexpr unsigned char kAsciiStart = 'Y';
inline constexpr int kAsciiBodyLength = vexlink::kAsciiBodyLength;
inline constexpr int kAsciiFieldWidth = 5;
inline constexpr int kAsciiYawAt = 1;
inline constexpr int kAsciiPitchAt = 7;
inline constexpr int kAsciiRollAt = 13;
inline constexpr int kAsciiEndAt = 18;  // set to NUL on receipt
inline constexpr int kAsciiFrameLength = 20;

// The word at p, high byte first: 0..65535.
constexpr int wordAt(const unsigned char* p) {
    return (static_cast<int>(p[0]) << 8) | static_cast<int>(p[1]);
}

// One word unit is 360/32768 degree of yaw. The product is never negative and at most
// 65535 * 360, so the shift is a floor division and nothing overflows.
constexpr int yawDegrees(int word) { return (word * 360) >> 15; }

// Pitch and roll: half the scale of yaw, cut to whole degrees before the 90 is taken off.
constexpr int tiltDegrees(int word) { return ((word * 180) >> 15) - 90; }

// Low 8 bits of the sum of the three words' low bytes, the first low byte at firstLow.
constexpr int lowByteSum(const unsigned char* frame, int firstLow) {
    return (frame[firstLow] + frame[firstLow + 2] + frame[firstLow + 4]) & 0xFF;
}

// A decimal field as atoi reads it: leading white space, an optional sign, then digits up to
// the first other character, a NUL or the end of the field. No digits read as 0. A field is
// at most 5 characters wide, so the value cannot overflow.
constexpr int parseField(const unsigned char* text, int width) {
    int i = 0;
    while (i < width && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < width && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int value = 0;
    while (i < width && text[i] >= '0' && text[i] <= '9') value = value * 10 + (text[i++] - '0');
    return negative ? -value : value;
}

// One ASCII field as the tracker writes it: right-aligned in its 5 bytes, that is blanks, an
// optional sign, then at least one digit up to the field's end.
constexpr bool isAsciiField(const unsigned char* field) {
    int i = 0;
    while (i < kAsciiFieldWidth && field[i] == ' ') ++i;
    if (i < kAsciiFieldWidth && (field[i] == '+' || field[i] == '-')) ++i;
    if (i == kAsciiFieldWidth) return false;  // no digit
    for (; i < kAsciiFieldWidth; ++i)
        if (field[i] < '0' || field[i] > '9') return false;
    return true;
}

// A separator is any byte but a digit, a sign, a NUL or a line end: its value is not otherwise
// examined (a blank may serve). A frame that lost a byte fails on its shifted fields and on the
// line end, which the next frame's 'Y' then pushes out of place.
constexpr bool isAsciiSeparator(unsigned char c) {
    return !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '\0' && c != '\r' && c != '\n';
}

// Whether the kAsciiFrameLength bytes at frame have the layout of an ASCII frame: 'Y', the three
// fields with a separator after the first two, and CR LF. A frame that lost bytes on the line
// is filled up by the next frame's start and fails here, so it is never taken for a sample.
constexpr bool asciiLayoutHolds(const unsigned char* frame) {
    return frame[0] == kAsciiStart && isAsciiField(frame + kAsciiYawAt) &&
           isAsciiSeparator(frame[kAsciiPitchAt - 1]) && isAsciiField(frame + kAsciiPitchAt) &&
           isAsciiSeparator(frame[kAsciiRollAt - 1]) && isAsciiField(frame + kAsciiRollAt) &&
           frame[kAsciiEndAt] == '\r' && frame[kAsciiEndAt + 1] == '\n';
}

}  // namespace vexlink::frame

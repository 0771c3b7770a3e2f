#include <korvisor/FrameCodec.h>

#include <algorithm>
#include <cstdio>

namespace korvisor {

namespace {

// Smallest w with floor(w * scale / 32768) == units, for units >= 0.
std::uint16_t smallestWord(int units, int scale) {
    const long product = static_cast<long>(units) * 32768;
    return static_cast<std::uint16_t>((product + scale - 1) / scale);
}

void putWord(std::vector<std::uint8_t>& out, std::uint16_t w) {
    out.push_back(static_cast<std::uint8_t>(w >> 8));
    out.push_back(static_cast<std::uint8_t>(w & 0xFF));
}

void putField(std::vector<std::uint8_t>& out, int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%5d", value);
    out.insert(out.end(), text, text + 5);
}

}  // namespace

std::uint16_t yawWord(int yaw) { return smallestWord(std::clamp(yaw, kYawMin, kYawMax), 360); }

std::uint16_t tiltWord(int angle) {
    return smallestWord(std::clamp(angle, kTiltMin, kTiltMax) + 90, 180);
}

int yawOfWord(std::uint16_t w) { return (static_cast<int>(w) * 360) >> 15; }

int tiltOfWord(std::uint16_t w) { return ((static_cast<int>(w) * 180) >> 15) - 90; }

std::uint8_t checksumOf(std::uint16_t yawW, std::uint16_t pitchW, std::uint16_t rollW) {
    return static_cast<std::uint8_t>((yawW & 0xFF) + (pitchW & 0xFF) + (rollW & 0xFF));
}

std::vector<std::uint8_t> encodeFrame(const Pose& pose, const FrameFormat& format,
                                      bool corruptChecksum) {
    std::vector<std::uint8_t> out;
    if (format.dataMode != 'F') {
        out.reserve(kAsciiFrameLength);
        out.push_back(kAsciiStart);
        putField(out, std::clamp(pose.yaw, kYawMin, kYawMax));
        out.push_back(',');
        putField(out, std::clamp(pose.pitch, kTiltMin, kTiltMax));
        out.push_back(',');
        putField(out, std::clamp(pose.roll, kTiltMin, kTiltMax));
        out.push_back('\r');
        out.push_back('\n');
        return out;
    }
    const std::uint16_t y = yawWord(pose.yaw), p = tiltWord(pose.pitch), r = tiltWord(pose.roll);
    if (format.continuous) {
        out.push_back(kStreamStart);
        out.push_back(kStreamSecondHeader);
    }
    putWord(out, y);
    putWord(out, p);
    putWord(out, r);
    if (format.checksum)
        out.push_back(static_cast<std::uint8_t>(checksumOf(y, p, r) + (corruptChecksum ? 1 : 0)));
    return out;
}

}  // namespace korvisor

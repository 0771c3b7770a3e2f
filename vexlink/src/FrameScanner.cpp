// Frame boundaries in a continuous stream. A binary frame starts with 0xFF, but its words may
// hold 0xFF too, so a start byte is trusted only as far as the frame's length, its checksum
// and the start of the frame after it agree:
//   - a window of one frame's length from a 0xFF with no other 0xFF inside is a frame: good
//     when its checksum matches (or it has none), else a checksum error. Taking it whole can
//     never swallow the start of the next frame.
//   - a window with another 0xFF inside at q is either a whole frame whose words hold 0xFF, or
//     a frame that lost bytes, with the next frame starting at q. It is whole when the byte
//     after it is a start byte; otherwise the frame at q decides: when its checksum matches,
//     the window was cut short (malformed, and scanning goes on at q); when it does not, the
//     window's own checksum decides. Without a checksum a window that is not followed by a
//     start byte is malformed. A malformed window is only taken up to q.
// ASCII frames have a start byte ('Y') that their text cannot hold, so a window with a 'Y'
// inside is cut short, and a window without one is judged by its layout.
#include "FrameScanner.h"

#include "FrameFormat.h"

#include <algorithm>
#include <cstring>

namespace vexlink {

namespace {

// A 5-character decimal field: blanks, an optional sign, at least one digit, then blanks.
bool wellFormedField(const unsigned char* f) {
    int i = 0;
    while (i < frame::kAsciiFieldWidth && f[i] == ' ') ++i;
    if (i < frame::kAsciiFieldWidth && (f[i] == '+' || f[i] == '-')) ++i;
    const int digitsFrom = i;
    while (i < frame::kAsciiFieldWidth && f[i] >= '0' && f[i] <= '9') ++i;
    if (i == digitsFrom) return false;
    while (i < frame::kAsciiFieldWidth && f[i] == ' ') ++i;
    return i == frame::kAsciiFieldWidth;
}

bool isSeparator(unsigned char c) { return c == ',' || c == ' ' || c == '\t' || c == ';'; }
bool isLineEnd(unsigned char c) { return c == '\r' || c == '\n'; }

// 'Y', three fields with separators between them, and the two line-end bytes.
bool wellFormedAscii(const unsigned char* f) {
    return f[0] == frame::kAsciiStart && wellFormedField(f + frame::kAsciiYawAt) &&
           isSeparator(f[frame::kAsciiPitchAt - 1]) && wellFormedField(f + frame::kAsciiPitchAt) &&
           isSeparator(f[frame::kAsciiRollAt - 1]) && wellFormedField(f + frame::kAsciiRollAt) &&
           isLineEnd(f[frame::kAsciiEndAt]) && isLineEnd(f[frame::kAsciiEndAt + 1]);
}

}  // namespace

void FrameScanner::reset(bool ascii, bool checksum) {
    ascii_ = ascii;
    checksum_ = checksum && !ascii;
    frameLength_ = ascii ? frame::kAsciiBodyLength + 1
                         : frame::kBinaryHeaderLength + (checksum_ ? frame::kBinaryBodyWithChecksum
                                                                   : frame::kBinaryBodyLength);
    length_ = 0;
    needed_ = frameLength_;
    counts_ = StreamCounts{};
    inBrokenFrame_ = false;
}

void FrameScanner::added(int n, TimePoint at) {
    n = std::clamp(n, 0, room());
    std::fill(arrival_ + length_, arrival_ + length_ + n, at);
    length_ += n;
}

void FrameScanner::consume(int n) {
    n = std::min(n, length_);
    length_ -= n;
    std::memmove(buffer_, buffer_ + n, static_cast<std::size_t>(length_));
    std::memmove(arrival_, arrival_ + n, static_cast<std::size_t>(length_) * sizeof arrival_[0]);
}

bool FrameScanner::skipToStart(unsigned char start) {
    const auto* found = static_cast<const unsigned char*>(
        std::memchr(buffer_, start, static_cast<std::size_t>(length_)));
    const int at = found ? static_cast<int>(found - buffer_) : length_;
    counts_.skippedBytes += static_cast<std::uint64_t>(at);
    consume(at);
    return length_ > 0;
}

void FrameScanner::emit(StreamSample& sample, int size, FrameVerdict verdict) {
    size = std::min(size, kMaxFrameBytes);
    sample.verdict = verdict;
    sample.size = size;
    std::memcpy(sample.bytes, buffer_, static_cast<std::size_t>(size));
    sample.arrival = arrival_[size - 1];
    sample.pitch = sample.yaw = sample.roll = 0;
    switch (verdict) {
    case FrameVerdict::Good: ++counts_.good; break;
    case FrameVerdict::ChecksumError: ++counts_.checksumErrors; break;
    case FrameVerdict::Malformed: ++counts_.malformed; break;
    }
    if (verdict != FrameVerdict::Good) return;
    if (ascii_) {
        sample.yaw = frame::parseField(buffer_ + frame::kAsciiYawAt, frame::kAsciiFieldWidth);
        sample.pitch = frame::parseField(buffer_ + frame::kAsciiPitchAt, frame::kAsciiFieldWidth);
        sample.roll = frame::parseField(buffer_ + frame::kAsciiRollAt, frame::kAsciiFieldWidth);
    } else {
        const unsigned char* body = buffer_ + frame::kBinaryHeaderLength;
        sample.yaw = frame::yawDegrees(frame::wordAt(body));
        sample.pitch = frame::tiltDegrees(frame::wordAt(body + 2));
        sample.roll = frame::tiltDegrees(frame::wordAt(body + 4));
    }
}

bool FrameScanner::next(StreamSample& sample) {
    const bool found = ascii_ ? nextAscii(sample) : nextBinary(sample);
    // A buffer that fills without deciding anything holds no frame worth waiting for.
    if (!found && needed_ > room()) {
        counts_.skippedBytes += static_cast<std::uint64_t>(length_);
        consume(length_);
        needed_ = frameLength_;
    }
    return found;
}

bool FrameScanner::nextBinary(StreamSample& sample) {
    for (;;) {
        const int n = frameLength_;
        if (!skipToStart(frame::kBinaryStart)) {
            needed_ = n;
            return false;
        }
        if (length_ < n) {
            needed_ = n - length_;
            return false;
        }
        const auto sumMatches = [](const unsigned char* f) {
            return frame::lowByteSum(f + frame::kBinaryHeaderLength, 1) ==
                   f[frame::kBinaryHeaderLength + frame::kChecksumPosition];
        };
        const auto* inner = static_cast<const unsigned char*>(
            std::memchr(buffer_ + 1, frame::kBinaryStart, static_cast<std::size_t>(n - 1)));
        const bool ownSum = !checksum_ || sumMatches(buffer_);
        if (inner == nullptr) {
            emit(sample, n, ownSum ? FrameVerdict::Good : FrameVerdict::ChecksumError);
            consume(n);
            inBrokenFrame_ = false;
            return true;
        }
        const int q = static_cast<int>(inner - buffer_);
        if (length_ < n + 1) {
            needed_ = n + 1 - length_;
            return false;
        }
        bool whole = buffer_[n] == frame::kBinaryStart;
        if (!whole && checksum_) {
            if (length_ < q + n) {
                needed_ = q + n - length_;
                return false;
            }
            whole = !sumMatches(buffer_ + q) && ownSum;
        }
        if (whole) {
            emit(sample, n, ownSum ? FrameVerdict::Good : FrameVerdict::ChecksumError);
            consume(n);
            inBrokenFrame_ = false;
            return true;
        }
        if (inBrokenFrame_) {  // a further piece of the frame just judged malformed
            counts_.skippedBytes += static_cast<std::uint64_t>(q);
            consume(q);
            continue;
        }
        emit(sample, q, FrameVerdict::Malformed);
        consume(q);
        inBrokenFrame_ = true;
        return true;
    }
}

bool FrameScanner::nextAscii(StreamSample& sample) {
    const int n = frameLength_;
    if (!skipToStart(frame::kAsciiStart)) {
        needed_ = n;
        return false;
    }
    if (length_ < n) {
        needed_ = n - length_;
        return false;
    }
    const auto* inner = static_cast<const unsigned char*>(
        std::memchr(buffer_ + 1, frame::kAsciiStart, static_cast<std::size_t>(n - 1)));
    if (inner != nullptr) {
        const int q = static_cast<int>(inner - buffer_);
        emit(sample, q, FrameVerdict::Malformed);
        consume(q);
        return true;
    }
    emit(sample, n, wellFormedAscii(buffer_) ? FrameVerdict::Good : FrameVerdict::Malformed);
    consume(n);
    return true;
}

}  // namespace vexlink

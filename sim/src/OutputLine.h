// The tracker's transmit line: a queue of bytes, each sent at the pace of the tracker's speed
// (10 bit times a byte) on absolute monotonic deadlines, so the pace does not drift. A byte
// is due when its transmission ends; the next one starts then, or when it is queued if the
// line was idle.
#pragma once

#include <korvisor/Simulator.h>

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace korvisor {

Clock::duration byteTime(int bitsPerSecond);

class OutputLine {
public:
    struct Byte {
        std::uint8_t value;
        bool stream;               // part of a continuous-mode frame
        int speed;                 // the tracker's speed while it was sent
        bool frameStart = false;   // first byte of a frame
        bool frameEnd = false;     // last byte of a frame
        bool badChecksum = false;  // of a frame sent with a wrong checksum
    };

    // frame: the bytes are one sample frame (its first and last byte are marked).
    void push(const std::vector<std::uint8_t>& bytes, bool stream, Clock::time_point now, int speed,
              bool frame = false, bool badChecksum = false);
    // Drops the stream bytes not yet sent (the stream stops at once).
    void dropStream(Clock::time_point now, int speed);
    void clear();

    bool hasStream() const;
    std::optional<Clock::time_point> frontDue() const { return frontDue_; }
    // Takes the front byte, which must be due; speed paces the byte after it.
    Byte pop(int speed);

private:
    void startFront(Clock::time_point now, int speed);

    std::deque<Byte> queue_;
    std::optional<Clock::time_point> frontDue_;
    Clock::time_point lineFreeAt_{};
};

}  // namespace korvisor

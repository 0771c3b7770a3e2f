// Picks continuous-mode frames out of a byte stream, each with a verdict. Pure: bytes go in
// with the time they were read, frames come out; it knows nothing of ports or waiting.
#pragma once

#include <vexlink/SampleStream.h>

#include <chrono>
#include <cstdint>

namespace vexlink {

class FrameScanner {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    static constexpr int kCapacity = 256;

    // Continuous binary frames (8 bytes, 9 with checksum) or ASCII frames (20 bytes).
    void reset(bool ascii, bool checksum);

    // Room for more bytes, and the place to put them: at most room() bytes, then added(n, at).
    int room() const { return kCapacity - length_; }
    unsigned char* tail() { return buffer_ + length_; }
    void added(int n, TimePoint at);

    // Takes the next frame that the bytes in hand decide, into sample. false when more bytes
    // are needed first; needed() then says how many at least.
    bool next(StreamSample& sample);
    int needed() const { return needed_; }
    // Bytes in hand (of a frame begun when next() has just left them), and when the last came.
    int pending() const { return length_; }
    TimePoint lastArrival() const { return length_ > 0 ? arrival_[length_ - 1] : TimePoint{}; }

    const StreamCounts& counts() const { return counts_; }

private:
    bool nextBinary(StreamSample& sample);
    bool nextAscii(StreamSample& sample);
    void emit(StreamSample& sample, int size, FrameVerdict verdict);
    void consume(int n);
    // Drops bytes before the first start byte; false when none is in hand.
    bool skipToStart(unsigned char start);

    // The last frame handed out was malformed and cut short at a start byte inside it: windows
    // from the further start bytes inside that frame are not frames of their own.
    bool inBrokenFrame_ = false;
    bool ascii_ = false;
    bool checksum_ = true;
    int frameLength_ = 9;
    int length_ = 0;
    int needed_ = 1;
    unsigned char buffer_[kCapacity] = {};
    TimePoint arrival_[kCapacity] = {};
    StreamCounts counts_;
};

}  // namespace vexlink

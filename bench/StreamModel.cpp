#include "StreamModel.h"

#include <algorithm>
#include <cstddef>
#include <deque>
#include <limits>

#include "LinkTiming.h"

namespace bench {

namespace {

constexpr double kNever = std::numeric_limits<double>::infinity();

// The tracker's transmit line and the host's input queue, in milliseconds from the first tick.
class Line {
public:
    Line(double byteMs, double periodMs, int frameLength)
        : bt_(byteMs), period_(periodMs), frameLength_(frameLength) {}

    // Runs the line up to time t.
    void advance(double t) {
        while (step(t)) {}
    }
    // The arrival time of the input byte at index i (running the line as far as needed).
    double arrival(std::size_t i) {
        while (rx_.size() <= i) step(kNever);
        return rx_[i].at;
    }
    bool isStart(std::size_t i) {
        arrival(i);
        return rx_[i].start;
    }
    void purge(double t) {
        advance(t);
        rx_.clear();
    }
    void request(double t) {
        advance(t);
        push(false, t);
    }
    long streamFrames() const { return streamFrames_; }

private:
    struct Out {
        bool stream, start;
    };
    struct In {
        double at;
        bool start;
    };

    bool streamQueued() const {
        return std::any_of(tx_.begin(), tx_.end(), [](const Out& o) { return o.stream; });
    }
    void push(bool stream, double now) {
        const bool idle = tx_.empty();
        for (int i = 0; i < frameLength_; ++i) tx_.push_back(Out{stream, i == 0});
        if (idle) frontDue_ = std::max(lineFree_, now) + bt_;
    }
    // One event no later than limit: a tick, or a byte received. False when none is due.
    bool step(double limit) {
        const double next = std::min(nextTick_, frontDue_);
        if (next > limit) return false;
        if (nextTick_ <= frontDue_) {
            if (!streamQueued()) {
                push(true, nextTick_);
                ++streamFrames_;
            }
            nextTick_ += period_;
        } else {
            rx_.push_back(In{frontDue_, tx_.front().start});
            tx_.pop_front();
            lineFree_ = frontDue_;
            frontDue_ = tx_.empty() ? kNever : lineFree_ + bt_;
        }
        return true;
    }

    double bt_, period_;
    int frameLength_;
    std::deque<Out> tx_;
    std::deque<In> rx_;
    double frontDue_ = kNever, lineFree_ = 0, nextTick_ = 0;
    long streamFrames_ = 0;
};

int frameLength(const StreamCase& c) {
    if (c.ascii) return kAsciiFrame;
    return kBinaryHeader + kBinaryBody + (c.checksum ? 1 : 0);
}

}  // namespace

StreamBest bestStream(const StreamCase& c, double seconds) {
    const double horizon = seconds * 1000;
    const double bt = byteMs(c.bitsPerSecond), period = 1000.0 / c.rate;

    Line idle(bt, period, frameLength(c));
    idle.advance(horizon);
    const double trackerRate = idle.streamFrames() / seconds;

    Line line(bt, period, frameLength(c));
    long reads = 0;
    double nextTick = 0;
    for (double t = 0;; ++reads) {
        if (c.tickMs > 0) {
            t = std::max(t, nextTick);
            nextTick += c.tickMs;
            if (nextTick < t) nextTick = t + c.tickMs;  // late: the timer counts on from now
        }
        line.purge(t);
        if (c.ascii) {
            line.request(t);
            t += kAfterRequestMs;
        }
        std::size_t i = 0;
        while (!line.isStart(i)) ++i;
        t = std::max(t, line.arrival(i));
        if (c.ascii) {
            t = std::max(t + kAfterAsciiStartMs, line.arrival(i + kAsciiFrame - 1));
        } else {
            t = std::max(t, line.arrival(i + 1)) + kAfterHeaderMs;  // the second header byte
            t = std::max(t, line.arrival(i + static_cast<std::size_t>(frameLength(c)) - 1));
        }
        if (t > horizon) break;
    }
    return StreamBest{trackerRate, reads / seconds};
}

}  // namespace bench

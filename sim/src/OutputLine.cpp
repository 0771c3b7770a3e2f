#include "OutputLine.h"

#include <algorithm>

namespace korvisor {

Clock::duration byteTime(int bps) {
    using namespace std::chrono;
    return duration_cast<Clock::duration>(nanoseconds(10LL * 1'000'000'000 / std::max(bps, 1)));
}

void OutputLine::startFront(Clock::time_point now, int speed) {
    queue_.front().speed = speed;
    frontDue_ = std::max(lineFreeAt_, now) + byteTime(speed);
}

void OutputLine::push(const std::vector<std::uint8_t>& bytes, bool stream, Clock::time_point now,
                      int speed, bool frame, bool badChecksum) {
    if (bytes.empty()) return;
    const bool wasIdle = queue_.empty();
    for (auto b : bytes) queue_.push_back(Byte{b, stream, speed, false, false, badChecksum});
    if (frame) {
        queue_[queue_.size() - bytes.size()].frameStart = true;
        queue_.back().frameEnd = true;
    }
    if (wasIdle) startFront(now, speed);
}

void OutputLine::dropStream(Clock::time_point now, int speed) {
    const bool frontWasStream = !queue_.empty() && queue_.front().stream;
    std::erase_if(queue_, [](const Byte& b) { return b.stream; });
    if (!frontWasStream) return;
    frontDue_.reset();
    if (!queue_.empty()) startFront(now, speed);
}

void OutputLine::clear() {
    queue_.clear();
    frontDue_.reset();
}

bool OutputLine::hasStream() const {
    return std::any_of(queue_.begin(), queue_.end(), [](const Byte& b) { return b.stream; });
}

OutputLine::Byte OutputLine::pop(int speed) {
    Byte b = queue_.front();
    queue_.pop_front();
    lineFreeAt_ = *frontDue_;
    frontDue_.reset();
    if (!queue_.empty()) {
        queue_.front().speed = speed;
        frontDue_ = lineFreeAt_ + byteTime(speed);
    }
    return b;
}

}  // namespace korvisor

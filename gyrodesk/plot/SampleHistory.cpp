#include "SampleHistory.h"

namespace gyrodesk {

void SampleHistory::Record(const Reading& reading) {
    readings_.push_back(reading);
    // Reads from before the span go, but for the newest of them.
    const auto start = reading.time - kSpan;
    while (readings_.size() > 2 && readings_[1].time <= start) readings_.pop_front();
}

const Reading* SampleHistory::LatestGood() const {
    for (auto it = readings_.rbegin(); it != readings_.rend(); ++it)
        if (it->good) return &*it;
    return nullptr;
}

double SampleHistory::RateReached() const {
    if (readings_.empty()) return 0;
    const auto start = Latest() - kRateWindow;
    const Reading* first = nullptr;
    const Reading* last = nullptr;
    int count = 0;
    for (auto it = readings_.rbegin(); it != readings_.rend() && it->time >= start; ++it) {
        if (!it->good) continue;
        if (!last) last = &*it;
        first = &*it;
        ++count;
    }
    if (count < 2) return 0;
    const std::chrono::duration<double> span = last->time - first->time;
    return span.count() > 0 ? (count - 1) / span.count() : 0;
}

}  // namespace gyrodesk

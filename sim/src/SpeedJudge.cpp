#include "SpeedJudge.h"

#include "TrackerEngine.h"

namespace korvisor {

std::optional<std::vector<int>> SpeedJudge::judge(const std::vector<std::uint8_t>& bytes,
                                                  int before, int after, bool graceOver) {
    const std::size_t n = bytes.size();
    std::vector<int> speeds(n);
    int cur = line_;
    std::size_t i = 0;

    auto findSwitch = [&](std::size_t from, int target) -> std::optional<std::size_t> {
        for (std::size_t k = from; k < n; ++k)
            if (switchTarget(bytes[k]) == target) return k;
        return std::nullopt;
    };

    // A change seen before the read: explained by an earlier switch command, by one in these
    // bytes, or (after the grace time) made before all of them.
    if (before != cur) {
        if (expect_ == before) {
            cur = before;
            expect_.reset();
        } else if (auto k = findSwitch(0, before)) {
            for (; i <= *k; ++i) speeds[i] = cur;
            cur = before;
            expect_.reset();
        } else if (!graceOver) {
            return std::nullopt;
        } else {
            cur = before;
            expect_.reset();
        }
    }
    // The rest: a switch command whose speed the host shows after the read switches here;
    // one the host has not followed yet is expected to be followed later.
    for (; i < n; ++i) {
        speeds[i] = cur;
        const int target = switchTarget(bytes[i]);
        if (target == 0 || target == cur) continue;
        if (after == target) {
            cur = target;
            expect_.reset();
        } else {
            expect_ = target;
        }
    }
    line_ = cur;
    return speeds;
}

bool SpeedJudge::follow(int hostSpeed, bool graceOver) {
    if (hostSpeed == line_) return true;
    if (expect_ != hostSpeed && !graceOver) return false;
    line_ = hostSpeed;
    expect_.reset();
    return true;
}

}  // namespace korvisor

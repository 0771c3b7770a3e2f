#include "Stats.h"

#include <algorithm>
#include <cmath>

namespace bench {

namespace {

double rank(const std::vector<double>& sorted, double q) {
    const auto n = static_cast<double>(sorted.size());
    const auto k = static_cast<std::size_t>(std::max(1.0, std::ceil(q * n)));
    return sorted[k - 1];
}

}  // namespace

Summary summarize(std::vector<double> values) {
    Summary s;
    if (values.empty()) return s;
    std::sort(values.begin(), values.end());
    s.count = static_cast<int>(values.size());
    s.median = rank(values, 0.5);
    s.p99 = rank(values, 0.99);
    s.max = values.back();
    return s;
}

}  // namespace bench

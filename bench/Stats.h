// Order statistics of a set of timings.
#pragma once

#include <vector>

namespace bench {

struct Summary {
    int count = 0;
    double median = 0;
    double p99 = 0;
    double max = 0;
};

// Nearest-rank median and 99th percentile.
Summary summarize(std::vector<double> values);

}  // namespace bench

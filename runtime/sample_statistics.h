// Order statistics of a handful of timings: the median and a nearest-rank percentile, as the
// capture's report, the performance table and the preview's overlay all give them. No clock.
//
//   median({3, 1, 2});              // 2
//   percentile({...}, 0.95);        // the value 95 % of the samples are at or below
#pragma once

#include <vector>

namespace Quorvel {

// The middle value; of an even count the mean of the middle two; 0 for none.
double median(std::vector<double> values);
// The nearest-rank percentile (`share` in (0, 1]): the smallest value with at least that share
// of the samples at or below it; 0 for none.
double percentile(std::vector<double> values, double share);

}  // namespace Quorvel

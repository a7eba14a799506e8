#include "runtime/sample_statistics.h"

#include <algorithm>
#include <cmath>

namespace Quorvel {

double median(std::vector<double> values) {
    const std::size_t n = values.size();
    if (n == 0) return 0.0;
    std::sort(values.begin(), values.end());
    return n % 2 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

double percentile(std::vector<double> values, double share) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const double rank = std::ceil(share * double(values.size()));
    const std::size_t at = std::size_t(std::clamp(rank, 1.0, double(values.size()))) - 1;
    return values[at];
}

}  // namespace Quorvel

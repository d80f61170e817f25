// SPDX-License-Identifier: GPL-3.0-or-later
#include "Measure.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <time.h>

double Samples::percentile(double percent) const
{
    if (m_values.empty())
        return std::numeric_limits<double>::quiet_NaN();
    std::vector<double> sorted = m_values;
    std::sort(sorted.begin(), sorted.end());
    const double rank = percent / 100.0 * double(sorted.size() - 1);
    const auto below = std::size_t(std::floor(rank));
    const auto above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (rank - double(below)) * (sorted[above] - sorted[below]);
}

double threadCpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

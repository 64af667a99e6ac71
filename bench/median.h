#pragma once

// The summaries take the median, which one slow run of a busy machine does not move.

#include <algorithm>
#include <vector>

inline double median(std::vector<double> values)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

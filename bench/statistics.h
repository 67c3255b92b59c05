// Minimum and maximum beside Google Benchmark's median, so each figure reads median (min-max).
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

inline double BenchMin(const std::vector<double>& v)
{
    return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end());
}

inline double BenchMax(const std::vector<double>& v)
{
    return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end());
}

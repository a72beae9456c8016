// SPDX-License-Identifier: GPL-3.0-or-later
// Small timing and reporting helpers of the benchmark program.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace sabrix::bench {

inline double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs fn `repeats` times and returns the best wall time in seconds.
template <typename Fn>
double BestOf(int repeats, Fn&& fn) {
    double best = 1e300;
    for (int i = 0; i < repeats; ++i) {
        const auto start = std::chrono::steady_clock::now();
        fn();
        const double s = Seconds(start);
        if (s < best) best = s;
    }
    return best;
}

// Runs fn `repeats` times and returns the least of the seconds it returns (fn times the part
// that counts, leaving out what it does to get ready for the next run).
template <typename Fn>
double BestReturned(int repeats, Fn&& fn) {
    double best = 1e300;
    for (int i = 0; i < repeats; ++i) best = std::min(best, fn());
    return best;
}

struct ResultRow {
    std::string what;
    double seconds;
    std::string target;
    std::string verdict;
};

inline void PrintTable(const std::vector<ResultRow>& rows) {
    std::printf("| %-58s | %10s | %-28s | %-6s |\n", "What (10^6 data lines unless stated)",
                "Measured", "Target", "Met");
    std::printf("|%s|%s|%s|%s|\n", std::string(60, '-').c_str(), std::string(12, '-').c_str(),
                std::string(30, '-').c_str(), std::string(8, '-').c_str());
    for (const auto& r : rows) {
        char measured[32];
        if (r.seconds >= 0)
            std::snprintf(measured, sizeof measured, "%.3f s", r.seconds);
        else
            std::snprintf(measured, sizeof measured, "-");
        std::printf("| %-58s | %10s | %-28s | %-6s |\n", r.what.c_str(), measured, r.target.c_str(),
                    r.verdict.c_str());
    }
}

}  // namespace sabrix::bench

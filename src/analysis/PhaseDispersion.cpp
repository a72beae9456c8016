// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/PhaseDispersion.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>

#include "analysis/WorkerThreads.h"

namespace sabrix {

namespace {

// Nanoseconds for one observation at one frequency (measured on a 2-core x86-64), the
// frequencies a worker takes at a time (so a cancel is seen within milliseconds), and the
// points of each finer grid a minimum is refined on.
constexpr double kNsPerTerm = 2.5;
constexpr int64_t kChunk = 2048;
constexpr int kRefinePoints = 41;
constexpr int kRefinePasses = 3;

struct Folded {
    double theta = 1;
    double semiAmplitude = 0;
};

// The observations as the statistic needs them: time since the earliest one and magnitude
// less the mean (the bins' sums of squares then lose no digits), with the total sum of squares.
struct Prepared {
    std::vector<double> dt;
    std::vector<double> y;
    double totalSquares = 0;
};

Prepared Prepare(std::span<const double> times, std::span<const double> mags) {
    Prepared p;
    const size_t n = std::min(times.size(), mags.size());
    if (n == 0) return p;
    const double first = *std::min_element(times.begin(), times.begin() + n);
    double mean = 0;
    for (size_t i = 0; i < n; ++i) mean += mags[i];
    mean /= static_cast<double>(n);
    p.dt.resize(n);
    p.y.resize(n);
    for (size_t i = 0; i < n; ++i) {
        p.dt[i] = times[i] - first;
        p.y[i] = mags[i] - mean;
        p.totalSquares += p.y[i] * p.y[i];
    }
    return p;
}

Folded Fold(const Prepared& p, double frequency) {
    std::array<double, kPdmBins> sum{}, squares{};
    std::array<int, kPdmBins> count{};
    const size_t n = p.dt.size();
    for (size_t i = 0; i < n; ++i) {
        const double cycles = p.dt[i] * frequency;
        const double phase = cycles - std::floor(cycles);
        const int bin = std::min(static_cast<int>(phase * kPdmBins), kPdmBins - 1);
        ++count[bin];
        sum[bin] += p.y[i];
        squares[bin] += p.y[i] * p.y[i];
    }
    Folded folded;
    double within = 0;
    int used = 0, bins = 0;
    double low = INFINITY, high = -INFINITY;
    for (int j = 0; j < kPdmBins; ++j) {
        if (count[j] == 0) continue;
        const double mean = sum[j] / count[j];
        low = std::min(low, mean);
        high = std::max(high, mean);
        if (count[j] < 2) continue;
        within += std::max(0.0, squares[j] - sum[j] * mean);
        used += count[j];
        ++bins;
    }
    if (high > low) folded.semiAmplitude = (high - low) / 2;
    const double total = p.totalSquares / static_cast<double>(n - 1);
    if (bins == 0 || used == bins || !(total > 0)) return folded;
    folded.theta = within / (used - bins) / total;
    return folded;
}

}  // namespace

double PdmTheta(std::span<const double> times, std::span<const double> mags, double frequency) {
    const Prepared p = Prepare(times, mags);
    if (p.dt.size() < 2) return 1;
    return Fold(p, frequency).theta;
}

int64_t PdmCost(int64_t observations, const FrequencyGrid& grid, int minima) {
    const double evaluations =
        static_cast<double>(grid.count) + minima * kRefinePoints * kRefinePasses;
    return static_cast<int64_t>(evaluations * static_cast<double>(observations) * kNsPerTerm);
}

std::optional<Periodogram> ComputePdm(const PeriodData& data, const FrequencyGrid& grid,
                                      int workers, JobControl& control) {
    const Prepared p = Prepare(data.times(), data.residuals());
    Periodogram result;
    result.grid = grid;
    result.power.resize(static_cast<size_t>(grid.count));
    std::atomic<int64_t> next{0};
    const auto chunkCost =
        static_cast<int64_t>(static_cast<double>(kChunk * data.size()) * kNsPerTerm);
    RunOnWorkers(workers > 0 ? workers : WorkerCount(), [&](int) {
        for (int64_t from = next.fetch_add(kChunk); from < grid.count;
             from = next.fetch_add(kChunk)) {
            if (control.cancelled()) return;
            const int64_t to = std::min(grid.count, from + kChunk);
            for (int64_t k = from; k < to; ++k)
                result.power[static_cast<size_t>(k)] = Fold(p, grid.at(k)).theta;
            control.Advance(chunkCost);
        }
    });
    if (control.cancelled()) return std::nullopt;
    return result;
}

std::optional<std::vector<PeriodogramPeak>> FindPdmMinima(const PeriodData& data,
                                                          const Periodogram& theta, int count,
                                                          JobControl& control) {
    const FrequencyGrid& grid = theta.grid;
    const std::vector<double>& v = theta.power;
    std::vector<int64_t> minima;
    for (size_t k = 1; k + 1 < v.size(); ++k)
        if (v[k] < v[k - 1] && v[k] <= v[k + 1]) minima.push_back(static_cast<int64_t>(k));
    std::stable_sort(minima.begin(), minima.end(), [&](int64_t a, int64_t b) {
        return v[static_cast<size_t>(a)] < v[static_cast<size_t>(b)];
    });
    const double separation = 1 / data.span();
    std::vector<int64_t> taken;
    for (const int64_t k : minima) {
        if (static_cast<int>(taken.size()) >= count) break;
        const bool apart = std::all_of(taken.begin(), taken.end(), [&](int64_t t) {
            return std::fabs(grid.at(k) - grid.at(t)) >= separation;
        });
        if (apart) taken.push_back(k);
    }
    const Prepared p = Prepare(data.times(), data.residuals());
    std::vector<PeriodogramPeak> peaks;
    // Theta is a step function of f (it changes when an observation crosses a bin edge), so a
    // bracketing search could stall on a flat step: the interval is sampled instead, narrowing
    // around the best sample on each pass.
    for (const int64_t k : taken) {
        if (control.cancelled()) return std::nullopt;
        double low = grid.at(k - 1), high = grid.at(k + 1);
        double bestF = grid.at(k);
        Folded best = Fold(p, bestF);
        for (int pass = 0; pass < kRefinePasses; ++pass) {
            const double step = (high - low) / (kRefinePoints - 1);
            for (int i = 0; i < kRefinePoints; ++i) {
                const double f = low + step * i;
                const Folded folded = Fold(p, f);
                if (folded.theta < best.theta) {
                    best = folded;
                    bestF = f;
                }
            }
            low = bestF - step;
            high = bestF + step;
        }
        control.Advance(static_cast<int64_t>(kRefinePoints * kRefinePasses *
                                             static_cast<double>(data.size()) * kNsPerTerm));
        PeriodogramPeak peak;
        peak.frequency = bestF;
        peak.period = 1 / bestF;
        peak.power = best.theta;
        peak.amplitude = best.semiAmplitude;
        peaks.push_back(peak);
    }
    std::stable_sort(
        peaks.begin(), peaks.end(),
        [](const PeriodogramPeak& a, const PeriodogramPeak& b) { return a.power < b.power; });
    return peaks;
}

}  // namespace sabrix

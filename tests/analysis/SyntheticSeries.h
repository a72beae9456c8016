// SPDX-License-Identifier: GPL-3.0-or-later
// Light curves made up for the period-search tests: sampling patterns, sinusoids and noise,
// all from fixed seeds.
#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

#include "analysis/PeriodData.h"

namespace sabrix::test {

struct Series {
    std::vector<double> t;
    std::vector<double> y;
    std::vector<double> sigma;

    // Prepared for the search; fails the test when refused.
    PeriodData Prepared(bool useUncertainties = true) const {
        PeriodDataOutcome outcome = PeriodData::Make(t, y, sigma, useUncertainties);
        if (!outcome.data) throw std::runtime_error(outcome.refusal.toStdString());
        return std::move(*outcome.data);
    }
};

// n observations from a ground station: each on a night picked at random among `days`
// nights from JD 2452000, at 0.2 to 0.45 of the day (so never an even spread in phase at
// 1 cycle/day), magnitude 12 and sigma 0.02 to 0.1.
inline Series NightlySampling(int n, double days, uint64_t seed) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> unit(0, 1);
    Series s;
    for (int i = 0; i < n; ++i) {
        const double night = std::floor(unit(rng) * days);
        s.t.push_back(2452000 + night + 0.2 + 0.25 * unit(rng));
        s.y.push_back(12);
        s.sigma.push_back(0.02 + 0.08 * unit(rng));
    }
    return s;
}

// n observations evenly spaced by `step` days from `first`.
inline Series EvenSampling(int n, double step, double first = 2450000) {
    Series s;
    for (int i = 0; i < n; ++i) {
        s.t.push_back(first + step * i);
        s.y.push_back(12);
        s.sigma.push_back(0.05);
    }
    return s;
}

// Adds amplitude * sin(2 pi (t - epoch) / period): brightest (smallest) at epoch + 3P/4.
inline void AddSinusoid(Series& s, double period, double amplitude, double epoch = 2452000) {
    for (size_t i = 0; i < s.t.size(); ++i)
        s.y[i] += amplitude * std::sin(2 * std::numbers::pi * (s.t[i] - epoch) / period);
}

// Adds the eclipses of a binary of this period: the primary (depth1 mag) at epoch, the
// secondary (depth2) half a period later, each a Gaussian dip of `width` in phase (sigma).
inline void AddEclipses(Series& s, double period, double epoch, double depth1, double depth2,
                        double width = 0.03) {
    for (size_t i = 0; i < s.t.size(); ++i) {
        double phase = (s.t[i] - epoch) / period;
        phase -= std::floor(phase);
        const auto dip = [&](double centre) {
            const double d = phase - centre;
            return std::exp(-d * d / (2 * width * width));
        };
        s.y[i] += depth1 * (dip(0) + dip(1)) + depth2 * dip(0.5);
    }
}

// Adds Gaussian noise of each observation's own sigma times `scale`.
inline void AddNoise(Series& s, uint64_t seed, double scale = 1) {
    std::mt19937_64 rng(seed);
    std::normal_distribution<double> normal(0, 1);
    for (size_t i = 0; i < s.t.size(); ++i) s.y[i] += scale * s.sigma[i] * normal(rng);
}

}  // namespace sabrix::test

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "analysis/TimeOfMinimum.h"

namespace sabrix {
namespace {

struct Eclipse {
    std::vector<double> t, mag;
};

// n observations at random times within +-halfWindow of the middle of an eclipse at truth:
// a Gaussian dip of depth 0.6 mag and sigma 0.025 d on 11 mag, with noise of `noise` mag.
Eclipse Observe(double truth, int n, double halfWindow, double noise, uint64_t seed) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> unit(-1, 1);
    std::normal_distribution<double> normal(0, noise);
    Eclipse e;
    for (int i = 0; i < n; ++i) {
        const double t = truth + halfWindow * unit(rng);
        const double d = (t - truth) / 0.025;
        e.t.push_back(t);
        e.mag.push_back(11 + 0.6 * std::exp(-d * d / 2) + normal(rng));
    }
    return e;
}

TEST(TimeOfMinimum, KweeVanWoerdenIsWithinItsErrorOfTheTruthOverManySeeds) {
    constexpr int kRuns = 300;
    int within = 0;
    double sumSquares = 0, sumErrors = 0;
    for (int seed = 0; seed < kRuns; ++seed) {
        const double truth = 2458000.3 + 0.01 * seed;
        const Eclipse e = Observe(truth, 80, 0.08, 0.01, static_cast<uint64_t>(seed));
        const TimeOfExtremumOutcome got = FindTimeOfExtremum(e.t, e.mag, Extremum::Minimum);
        ASSERT_TRUE(got.value) << got.refusal.toStdString();
        EXPECT_EQ(got.value->method, ExtremumMethod::KweeVanWoerden);
        EXPECT_EQ(got.value->count, 80);
        const double off = got.value->time - truth;
        if (std::fabs(off) <= 3 * got.value->error) ++within;
        sumSquares += off * off;
        sumErrors += got.value->error;
    }
    EXPECT_GE(within, kRuns * 95 / 100);
    const double scatter = std::sqrt(sumSquares / kRuns);
    const double meanError = sumErrors / kRuns;
    EXPECT_GT(meanError, scatter / 2);
    EXPECT_LT(meanError, scatter * 2);
}

TEST(TimeOfMinimum, SparseBranchFallsBackToAParabolaAndAMaximumIsFound) {
    // Two observations on the way down, many on the way up: too few for pairs of branches.
    const double truth = 2458000.5;
    std::vector<double> t = {truth - 0.05, truth - 0.02};
    for (int i = 0; i <= 12; ++i) t.push_back(truth + 0.004 * i);
    std::vector<double> mag, flux;
    for (const double x : t) {
        const double u = (x - truth) / 0.06;
        mag.push_back(11.6 - 0.6 * u * u);
        flux.push_back(9 + 0.4 * u * u);
    }
    const TimeOfExtremumOutcome min = FindTimeOfExtremum(t, mag, Extremum::Minimum);
    ASSERT_TRUE(min.value);
    EXPECT_EQ(min.value->method, ExtremumMethod::Parabola);
    EXPECT_NEAR(min.value->time, truth, 1e-9);
    EXPECT_EQ(min.value->count, 15);
    const TimeOfExtremumOutcome max = FindTimeOfExtremum(t, flux, Extremum::Maximum);
    ASSERT_TRUE(max.value);
    EXPECT_NEAR(max.value->time, truth, 1e-9);
    EXPECT_EQ(max.value->kind, Extremum::Maximum);
    // The same light curve holds no maximum, and a straight decline no minimum.
    EXPECT_FALSE(FindTimeOfExtremum(t, mag, Extremum::Maximum).value);
    EXPECT_FALSE(FindTimeOfExtremum(t, t, Extremum::Minimum).value);
    EXPECT_FALSE(FindTimeOfExtremum(std::vector<double>(t.begin(), t.begin() + 4),
                                    std::vector<double>(mag.begin(), mag.begin() + 4),
                                    Extremum::Minimum)
                     .value);
}

}  // namespace
}  // namespace sabrix

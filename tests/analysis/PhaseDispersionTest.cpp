// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "analysis/PeriodSearch.h"
#include "analysis/PhaseDispersion.h"
#include "analysis/SyntheticSeries.h"

namespace sabrix {
namespace {

// Theta written out as the definition reads, bin by bin, with no shortcut.
double ThetaByDefinition(const std::vector<double>& t, const std::vector<double>& y,
                         double period) {
    const size_t n = t.size();
    const double t1 = *std::min_element(t.begin(), t.end());
    std::vector<std::vector<double>> bins(10);
    for (size_t i = 0; i < n; ++i) {
        const double cycles = (t[i] - t1) / period;
        bins[static_cast<size_t>((cycles - std::floor(cycles)) * 10)].push_back(y[i]);
    }
    const auto variance = [](const std::vector<double>& v) {
        double mean = 0;
        for (const double x : v) mean += x / static_cast<double>(v.size());
        double sum = 0;
        for (const double x : v) sum += (x - mean) * (x - mean);
        return sum / static_cast<double>(v.size() - 1);
    };
    double numerator = 0, used = 0, m = 0;
    for (const auto& bin : bins) {
        if (bin.size() < 2) continue;
        numerator += static_cast<double>(bin.size() - 1) * variance(bin);
        used += static_cast<double>(bin.size());
        ++m;
    }
    return numerator / (used - m) / variance(y);
}

TEST(PhaseDispersion, ThetaIsTheDefinitionAndZeroOnAnExactRepeat) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<double> t, y;
    for (int i = 0; i < 37; ++i) {
        t.push_back(2455000 + 40 * unit(rng));
        y.push_back(11 + unit(rng));
    }
    for (const double period : {0.31, 1.7, 3.9, 12.5}) {
        const double want = ThetaByDefinition(t, y, period);
        EXPECT_NEAR(PdmTheta(t, y, 1 / period), want, 1e-12 * want) << period;
    }
    const std::vector<double> even = {0, 1, 2, 3, 4, 5}, alternate = {1, 2, 1, 2, 1, 2};
    EXPECT_EQ(PdmTheta(even, alternate, 0.5), 0);
}

TEST(PhaseDispersion, FindsTheOrbitalPeriodWhereThePeriodogramFindsHalfOfIt) {
    // 400 nightly observations over 2,400 days of an eclipsing binary with P = 0.8372 d and
    // eclipses of 0.8 and 0.2 mag.
    const double period = 0.8372;
    test::Series s = test::NightlySampling(400, 2400, 31);
    test::AddEclipses(s, period, 2452000.1, 0.8, 0.2, 0.06);
    test::AddNoise(s, 32, 0.3);
    const PeriodData data = s.Prepared(false);
    const FrequencyGrid grid = *MakeFrequencyGrid({0.05, data.span(), 10}, data.span()).grid;
    const auto search = [&](SearchMethod method) {
        JobControl control;
        PeriodSearchOptions options;
        options.method = method;
        return *RunPeriodSearch(data, grid, options, control);
    };
    const PeriodSearchResult gls = search(SearchMethod::LombScargle);
    EXPECT_NEAR(gls.peaks.at(0).period, period / 2, 1e-3);
    const PeriodSearchResult pdm = search(SearchMethod::PhaseDispersion);
    EXPECT_EQ(pdm.method, SearchMethod::PhaseDispersion);
    ASSERT_GE(pdm.peaks.size(), 2u);
    const PeriodogramPeak& best = pdm.peaks[0];
    EXPECT_NEAR(best.period, period, period * period / data.span() / 10);
    EXPECT_LT(best.power, 0.5);
    EXPECT_LE(best.power, pdm.peaks[1].power);
    EXPECT_GE(std::fabs(pdm.peaks[1].frequency - best.frequency), 1 / data.span());
    // The refined minimum is no worse than the grid's.
    EXPECT_LE(best.power,
              *std::min_element(pdm.periodogram.power.begin(), pdm.periodogram.power.end()));

    JobControl cancelled;
    cancelled.Cancel();
    EXPECT_FALSE(ComputePdm(data, grid, 2, cancelled));
}

}  // namespace
}  // namespace sabrix

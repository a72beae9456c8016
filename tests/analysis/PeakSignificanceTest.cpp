// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "analysis/PeakSignificance.h"
#include "analysis/PeriodSearch.h"
#include "analysis/Prewhitening.h"
#include "analysis/SyntheticSeries.h"

namespace sabrix {
namespace {

using test::Series;

PeriodSearchResult Search(const PeriodData& data, double minPeriod, int harmonics = 1) {
    const FrequencyGridOutcome grid = MakeFrequencyGrid({minPeriod, data.span(), 10}, data.span());
    if (!grid.grid) throw std::runtime_error(grid.refusal.toStdString());
    PeriodSearchOptions options;
    options.periodogram.harmonics = harmonics;
    JobControl control;
    return *RunPeriodSearch(data, *grid.grid, options, control);
}

TEST(PeakSignificance, FalseAlarmProbabilityAgreesWithTheBaluevBoundOfAstropy) {
    // Times 2450000 + 3.7 i + 0.6 sin(1.3 i); with weights, sigma 0.02 + 0.01 (1 + sin 0.7 i).
    // The expected values are astropy 5.2's LombScargle(t, y, dy).false_alarm_probability(z,
    // method="baluev", maximum_frequency=fMax).
    struct Case {
        int n;
        bool weighted;
        double fMax, z, expected;
    };
    const Case cases[] = {
        {40, false, 5, 0.3, 0.946244924940611},      {40, false, 5, 0.5, 0.00880050472712092},
        {40, false, 5, 0.7, 1.06210182331241e-06},   {300, true, 20, 0.1, 0.01462328274919248},
        {300, true, 20, 0.2, 5.599895235786626e-10},
    };
    for (const Case& c : cases) {
        Series s;
        for (int i = 0; i < c.n; ++i) {
            s.t.push_back(2450000 + 3.7 * i + 0.6 * std::sin(1.3 * i));
            s.y.push_back(std::sin(0.1 * i));
            s.sigma.push_back(0.02 + 0.01 * (1 + std::sin(0.7 * i)));
        }
        const PeriodData data = s.Prepared(c.weighted);
        const double fap = BaluevFalseAlarm(c.z, data.size(), c.fMax, TimeVariance(data));
        EXPECT_NEAR(std::log10(fap), std::log10(c.expected),
                    0.1 * std::fabs(std::log10(c.expected)) + 1e-3)
            << c.n << " " << c.z;
    }
}

TEST(PeakSignificance, NoiseIsNotSignificantAndASignalIs) {
    Series noise = test::NightlySampling(150, 1500, 71);
    test::AddNoise(noise, 72);
    const PeriodSearchResult nothing = Search(noise.Prepared(), 0.05);
    ASSERT_FALSE(nothing.peaks.empty());
    EXPECT_GT(nothing.peaks[0].fap, kSignificantFap);
    EXPECT_TRUE(NoSignificantPeriodText(nothing).startsWith(
        "No significant period in this range (false-alarm probability 0."))
        << NoSignificantPeriodText(nothing).toStdString();

    Series signal = noise;
    test::AddSinusoid(signal, 0.7, 0.05);
    const PeriodSearchResult found = Search(signal.Prepared(), 0.05);
    EXPECT_NEAR(found.peaks[0].period, 0.7, 0.001);
    EXPECT_LT(found.peaks[0].fap, 1e-6);
    EXPECT_TRUE(NoSignificantPeriodText(found).isEmpty());
    // No bound for several harmonics.
    EXPECT_TRUE(std::isnan(Search(signal.Prepared(), 0.05, 2).peaks[0].fap));
}

TEST(PeakSignificance, PeriodUncertaintyFollowsTheResidualsAndTheSpan) {
    // sigma_P = sqrt(6 / N) sigma_res P^2 / (pi T A), sigma_res the rms of the residuals of the
    // fitted sinusoid (equal weights here, so the plain rms).
    Series s = test::NightlySampling(300, 2000, 81);
    test::AddSinusoid(s, 4.05, 0.3);
    test::AddNoise(s, 82);
    const PeriodData data = s.Prepared(false);
    const PeriodogramPeak peak = Search(data, 1).peaks[0];
    const FourierModel fit = FitFourierModel(data, peak.frequency, 1);
    double squares = 0;
    for (size_t i = 0; i < s.t.size(); ++i) squares += std::pow(s.y[i] - fit.At(s.t[i]), 2);
    const double rms = std::sqrt(squares / static_cast<double>(s.t.size()));
    const double expected = std::sqrt(6.0 / 300) * rms * peak.period * peak.period /
                            (std::numbers::pi * data.span() * fit.firstAmplitude());
    EXPECT_NEAR(peak.sigmaPeriod, expected, 1e-3 * expected);
    // The period found is within a few sigma of the true one.
    EXPECT_LT(std::fabs(peak.period - 4.05), 4 * peak.sigmaPeriod);
}

}  // namespace
}  // namespace sabrix

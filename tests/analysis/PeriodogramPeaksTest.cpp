// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/LombScargle.h"
#include "analysis/PeriodSearch.h"
#include "analysis/Prewhitening.h"
#include "analysis/SyntheticSeries.h"

namespace sabrix {
namespace {

using test::Series;

PeriodSearchResult Search(const PeriodData& data, double minPeriod, double samplesPerPeak = 10) {
    const FrequencyGridOutcome grid =
        MakeFrequencyGrid({minPeriod, data.span(), samplesPerPeak}, data.span());
    if (!grid.grid) throw std::runtime_error(grid.refusal.toStdString());
    JobControl control;
    std::optional<PeriodSearchResult> result =
        RunPeriodSearch(data, *grid.grid, PeriodSearchOptions{}, control);
    if (!result) throw std::runtime_error("cancelled");
    return std::move(*result);
}

// The grid value nearest to f.
double PowerAt(const Periodogram& p, double f) {
    return p.power[static_cast<size_t>(std::llround((f - p.grid.first) / p.grid.step))];
}

TEST(PeriodogramPeaks, OnePeriodIsFoundWithItsAmplitudeWithAndWithoutWeights) {
    // An RR Lyrae-like star: 300 nightly points over 2,400 days, P = 0.5668 d, semi-amplitude
    // 0.3 mag, noise of each point's sigma.
    Series s = test::NightlySampling(300, 2400, 101);
    test::AddSinusoid(s, 0.5668, 0.3);
    test::AddNoise(s, 102);
    for (const bool weighted : {true, false}) {
        const PeriodData data = s.Prepared(weighted);
        const PeriodSearchResult r = Search(data, 0.2);
        EXPECT_EQ(r.weighting, weighted ? Weighting::Uncertainties : Weighting::Equal);
        ASSERT_EQ(r.peaks.size(), 10u);
        const PeriodogramPeak& top = r.peaks[0];
        // P^2/T = 1.3e-4 d: the refined period is well within a tenth of it.
        EXPECT_NEAR(top.period, 0.5668, 0.1 * 0.5668 * 0.5668 / data.span()) << weighted;
        EXPECT_NEAR(top.frequency, 1 / top.period, 1e-12);
        EXPECT_NEAR(top.amplitude, 0.3, 0.015) << weighted;
        EXPECT_GT(top.power, 0.9);
    }
}

TEST(PeriodogramPeaks, PeaksAreSeparateRefinedMaximaHighestFirst) {
    Series s = test::NightlySampling(250, 1500, 111);
    test::AddSinusoid(s, 3.7, 0.4);
    test::AddNoise(s, 112, 2);
    const PeriodData data = s.Prepared();
    // Few samples per peak, so that the grid misses the top by a good part of a step.
    const PeriodSearchResult r = Search(data, 0.2, 2);
    ASSERT_EQ(r.peaks.size(), 10u);
    for (size_t i = 0; i < r.peaks.size(); ++i) {
        const PeriodogramPeak& p = r.peaks[i];
        if (i > 0) {
            EXPECT_LE(p.power, r.peaks[i - 1].power);
        }
        for (size_t j = 0; j < i; ++j)
            EXPECT_GE(std::fabs(p.frequency - r.peaks[j].frequency), 1 / data.span()) << i << j;
        // A maximum of the exact statistic: no lower than the grid next to it, nor than the
        // statistic a little way either side.
        EXPECT_GE(p.power, PowerAt(r.periodogram, p.frequency) - 1e-12);
        const double h = 0.05 * r.periodogram.grid.step;
        EXPECT_GE(p.power, ExactLombScargle(data, p.frequency - h).power);
        EXPECT_GE(p.power, ExactLombScargle(data, p.frequency + h).power);
        EXPECT_NEAR(p.power, ExactLombScargle(data, p.frequency).power, 1e-12);
    }
    EXPECT_NEAR(r.peaks[0].period, 3.7, 0.05 * 3.7 * 3.7 / data.span());
}

TEST(PeriodogramPeaks, AMaximumCloserThanOneOverTToAHigherOneIsNotListed) {
    // The power of a sinusoid plus a made-up bump 0.3/T above its peak (a second maximum of the
    // grid on the same peak) and one 3/T above it: the first is part of the peak, the second
    // a peak of its own.
    Series s = test::NightlySampling(200, 1000, 151);
    test::AddSinusoid(s, 2.5, 0.3);
    test::AddNoise(s, 152);
    const PeriodData data = s.Prepared();
    Periodogram p = Search(data, 1).periodogram;
    const auto index = [&](double f) {
        return static_cast<size_t>(std::llround((f - p.grid.first) / p.grid.step));
    };
    const size_t top = index(0.4);
    const double oneOverT = 1 / data.span();
    for (const double offset : {0.3 * oneOverT, 3 * oneOverT}) {
        const size_t k = index(0.4 + offset);
        p.power[k] = p.power[top] * 0.99;
        p.power[k - 1] = p.power[k + 1] = 0;
    }
    JobControl control;
    const std::vector<PeriodogramPeak> peaks = *FindPeaks(data, p, 10, 1, control);
    int nearTop = 0;
    bool apart = false;
    for (const PeriodogramPeak& peak : peaks) {
        if (std::fabs(peak.frequency - 0.4) < oneOverT) ++nearTop;
        if (std::fabs(peak.frequency - 0.4 - 3 * oneOverT) <= p.grid.step) apart = true;
    }
    EXPECT_EQ(nearTop, 1);
    EXPECT_NEAR(peaks[0].frequency, 0.4, 0.1 * oneOverT);
    EXPECT_TRUE(apart);
}

TEST(PeriodogramPeaks, TwoPeriodsAreBothFoundAndPrewhiteningRemovesTheFirst) {
    Series s = test::NightlySampling(400, 2000, 121);
    test::AddSinusoid(s, 3.7, 0.4);
    test::AddSinusoid(s, 0.5668, 0.2, 2452000.13);
    test::AddNoise(s, 122);
    // The stronger period leads; its aliases may well outrank the weaker one.
    const PeriodSearchResult first = Search(s.Prepared(), 0.1);
    EXPECT_NEAR(first.peaks[0].period, 3.7, 1e-3);
    const auto listed = [](const PeriodSearchResult& r, double period) {
        for (const PeriodogramPeak& p : r.peaks)
            if (std::fabs(p.period - period) < 1e-3) return true;
        return false;
    };
    EXPECT_TRUE(listed(first, 3.7));

    PrewhiteningHistory history(s.t, s.y, s.sigma);
    const PrewhiteningHistory::Outcome removed = history.Remove(first.peaks[0].frequency, true);
    ASSERT_TRUE(removed.fit.has_value());
    EXPECT_NEAR(removed.fit->firstAmplitude(), 0.4, 0.02);
    EXPECT_NEAR(removed.fit->constant, 12, 0.05);
    ASSERT_EQ(history.removed().size(), 1u);

    Series residuals = s;
    residuals.y = history.mags();
    const PeriodData after = residuals.Prepared();
    // The fitted sinusoid is gone at its own frequency...
    EXPECT_LT(ExactLombScargle(after, first.peaks[0].frequency).power, 1e-6);
    // ...and the second period leads.
    const PeriodSearchResult second = Search(after, 0.1);
    EXPECT_NEAR(second.peaks[0].period, 0.5668, 1e-4);
    EXPECT_NEAR(second.peaks[0].amplitude, 0.2, 0.02);
    EXPECT_FALSE(listed(second, 3.7));

    EXPECT_TRUE(history.StepBack());
    EXPECT_EQ(history.mags(), s.y);
    EXPECT_TRUE(history.removed().empty());
    EXPECT_FALSE(history.StepBack());
}

TEST(PeriodogramPeaks, WeightsKeepWildPointsWithLargeUncertaintiesFromHidingTheSignal) {
    // 150 good points with sigma 0.02 and 150 visual estimates scattered by a magnitude with
    // sigma 1: with weights the period stands out, without it drowns.
    Series s = test::NightlySampling(300, 1000, 131);
    for (size_t i = 0; i < s.t.size(); ++i) s.sigma[i] = i % 2 == 0 ? 0.02 : 1.0;
    test::AddSinusoid(s, 5.31, 0.1);
    test::AddNoise(s, 132);
    const double f = 1 / 5.31;
    const double weighted = ExactLombScargle(s.Prepared(true), f).power;
    const double equal = ExactLombScargle(s.Prepared(false), f).power;
    EXPECT_GT(weighted, 0.8);
    EXPECT_LT(equal, 0.2);
    EXPECT_NEAR(Search(s.Prepared(true), 1).peaks[0].period, 5.31, 0.01);
}

TEST(PeriodogramPeaks, HugeSpansAndOneNightWork) {
    // A Mira-like period over 10^5 days of sparse data, and a short period within one night.
    Series huge = test::NightlySampling(300, 100000, 141);
    test::AddSinusoid(huge, 331.7, 1.5);
    test::AddNoise(huge, 142);
    const PeriodData hugeData = huge.Prepared();
    const PeriodRange hugeRange = DefaultPeriodRange(huge.t);
    const FrequencyGridOutcome hugeGrid =
        MakeFrequencyGrid({50, hugeRange.maxPeriod, hugeRange.samplesPerPeak}, hugeData.span());
    ASSERT_TRUE(hugeGrid.grid.has_value());
    JobControl control;
    const auto r = RunPeriodSearch(hugeData, *hugeGrid.grid, {}, control);
    ASSERT_TRUE(r.has_value());
    EXPECT_NEAR(r->peaks[0].period, 331.7, 0.1);

    Series night = test::EvenSampling(60, 0.005, 2459000.6);
    test::AddSinusoid(night, 0.081, 0.1);
    test::AddNoise(night, 143);
    const PeriodRange nightRange = DefaultPeriodRange(night.t);
    EXPECT_EQ(nightRange.minPeriod, 0.05);
    const PeriodData nightData = night.Prepared();
    const FrequencyGridOutcome nightGrid = MakeFrequencyGrid(nightRange, nightData.span());
    ASSERT_TRUE(nightGrid.grid.has_value()) << nightGrid.refusal.toStdString();
    const auto n = RunPeriodSearch(nightData, *nightGrid.grid, {}, control);
    ASSERT_TRUE(n.has_value());
    EXPECT_NEAR(n->peaks[0].period, 0.081, 0.004);
}

}  // namespace
}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

#include "analysis/FourierModel.h"
#include "analysis/LombScargle.h"
#include "analysis/PeriodSearch.h"
#include "analysis/Prewhitening.h"
#include "analysis/SyntheticSeries.h"

namespace sabrix {
namespace {

using test::Series;

constexpr double kTwoPi = 2 * std::numbers::pi;

// An RRab-like light curve: the amplitudes and phases of four harmonics of a real star's
// Fourier decomposition (phi21 = 2.4, phi31 = 5.0 rad), mean 15 mag.
constexpr double kPeriod = 0.5668;
constexpr double kEpoch = 2452000.1;
constexpr std::array<double, 4> kAmplitudes{0.35, 0.17, 0.11, 0.07};
constexpr std::array<double, 4> kPhases{0.0, 2.4, 5.0, 1.3};

double RRab(double t) {
    const double x = kTwoPi * (t - kEpoch) / kPeriod;
    double m = 15;
    for (size_t k = 0; k < 4; ++k)
        m += kAmplitudes[k] * std::cos(static_cast<double>(k + 1) * x + kPhases[k]);
    return m;
}

Series RRabSeries(int n, double noise, uint64_t seed) {
    Series s = test::NightlySampling(n, 2000, seed);
    for (size_t i = 0; i < s.t.size(); ++i) s.y[i] = RRab(s.t[i]);
    test::AddNoise(s, seed + 1, noise);
    return s;
}

FrequencyGrid Grid(const PeriodData& data, double minPeriod) {
    return *MakeFrequencyGrid({minPeriod, data.span(), 10}, data.span()).grid;
}

TEST(FourierModel, OneHarmonicIsTheLombScargleFitAndSeveralAreExactLeastSquares) {
    Series s = RRabSeries(120, 0.5, 11);
    const PeriodData data = s.Prepared();
    for (const double f : {1 / kPeriod, 0.37, 3.1}) {
        const LombScargleTerms ls = ExactLombScargle(data, f);
        const HarmonicSolution one = SolveHarmonics(ExactHarmonicSums(data, f, 1), data.variance());
        EXPECT_NEAR(one.power, ls.power, 1e-12);
        EXPECT_NEAR(one.a[1], ls.a, 1e-10);
        EXPECT_NEAR(one.b[1], ls.b, 1e-10);
        // The least-squares fit: its weighted residuals are orthogonal to every function.
        const FourierModel model = FitFourierModel(data, f, 3);
        for (int k = 1; k <= 3; ++k) {
            double c = 0, sn = 0, constant = 0;
            for (size_t i = 0; i < s.t.size(); ++i) {
                const double w = 1 / (s.sigma[i] * s.sigma[i]);
                const double r = w * (s.y[i] - model.At(s.t[i]));
                const double x = kTwoPi * k * f * (s.t[i] - data.referenceTime());
                c += r * std::cos(x);
                sn += r * std::sin(x);
                constant += r;
            }
            EXPECT_NEAR(c, 0, 1e-6) << f << " " << k;
            EXPECT_NEAR(sn, 0, 1e-6) << f << " " << k;
            EXPECT_NEAR(constant, 0, 1e-6) << f;
        }
    }
}

TEST(FourierModel, RRabSeriesOfFourHarmonicsIsRecovered) {
    const Series s = RRabSeries(300, 0.2, 21);
    const PeriodData data = s.Prepared();
    // The periodogram of four harmonics peaks at the period.
    PeriodSearchOptions options;
    options.periodogram.harmonics = 4;
    JobControl control;
    const PeriodSearchResult result = *RunPeriodSearch(data, Grid(data, 0.1), options, control);
    EXPECT_NEAR(result.peaks[0].period, kPeriod, 1e-4);

    const FourierModel model = FitFourierModel(data, 1 / kPeriod, 4);
    ASSERT_EQ(model.harmonics(), 4);
    for (size_t k = 0; k < 4; ++k)
        EXPECT_NEAR(std::hypot(model.a[k], model.b[k]), kAmplitudes[k], 0.005) << k;
    // Maximum light of the true curve, on a fine grid of phases.
    double truePhase = 0, brightest = INFINITY;
    for (int i = 0; i < 100000; ++i) {
        const double phase = i / 100000.0;
        const double m = RRab(kEpoch + phase * kPeriod);
        if (m < brightest) {
            brightest = m;
            truePhase = phase;
        }
    }
    const ModelShape shape = ShapeOfModel(model, 2453000);
    double phase = (shape.epochOfMaximum - kEpoch) / kPeriod;
    phase -= std::floor(phase);
    EXPECT_NEAR(std::remainder(phase - truePhase, 1.0), 0, 0.002);
    EXPECT_LT(std::fabs(shape.epochOfMaximum - 2453000), kPeriod / 2 + 1e-9);
    double faintest = -INFINITY;
    for (int i = 0; i < 100000; ++i)
        faintest = std::max(faintest, RRab(kEpoch + i * kPeriod / 1e5));
    EXPECT_NEAR(shape.peakToPeak, faintest - brightest, 0.01);
}

TEST(FourierModel, DoublePeriodicStarIsFoundByTwoRoundsOfPrewhitening) {
    // A double-mode pulsator: 0.357 d and 0.479 d (ratio 0.745), the second weaker.
    Series s = test::NightlySampling(400, 1500, 31);
    test::AddSinusoid(s, 0.357, 0.2);
    test::AddSinusoid(s, 0.479, 0.12, 2452000.21);
    test::AddNoise(s, 32);
    PrewhiteningHistory history(s.t, s.y, s.sigma);
    std::vector<double> found;
    for (int round = 0; round < 2; ++round) {
        const PeriodData data =
            *PeriodData::Make(history.times(), history.mags(), history.sigmas(), true).data;
        PeriodSearchOptions options;
        options.peakCount = 1;
        JobControl control;
        const PeriodSearchResult r = *RunPeriodSearch(data, Grid(data, 0.1), options, control);
        found.push_back(r.peaks[0].period);
        ASSERT_TRUE(history.Remove(r.peaks[0].frequency, true, 2).fit.has_value());
    }
    EXPECT_NEAR(found[0], 0.357, 1e-4);
    EXPECT_NEAR(found[1], 0.479, 1e-4);
}

TEST(FourierModel, PrewhiteningFitsTheConstantWithTheCurveOnPartialPhaseCoverage) {
    // A slow sinusoid seen over a third of its cycle: the mean of the data is not the mean of
    // the curve, and only the constant fitted with the curve leaves no residual.
    Series s = test::EvenSampling(60, 1, 2450000);
    test::AddSinusoid(s, 180, 0.8);
    PrewhiteningHistory history(s.t, s.y, s.sigma);
    const PrewhiteningHistory::Outcome removed = history.Remove(1.0 / 180, false, 1);
    ASSERT_TRUE(removed.fit.has_value());
    EXPECT_NEAR(removed.fit->constant, 12, 1e-6);
    for (const double r : history.mags()) EXPECT_NEAR(r, 0, 1e-6);
}

TEST(FourierModel, PoorlyConditionedFrequenciesDropTheFunctionsTheSamplingCannotTell) {
    // Whole days apart: at 1 cycle/day every observation is at one phase, so cos and sin of each
    // harmonic are constants there. The fit stays finite and explains nothing.
    const Series s = [] {
        Series even = test::EvenSampling(50, 1);
        test::AddNoise(even, 41);
        return even;
    }();
    const PeriodData data = s.Prepared(false);
    for (const int h : {1, 3}) {
        const FourierModel model = FitFourierModel(data, 1, h);
        EXPECT_NEAR(model.power, 0, 1e-9) << h;
        for (int i = 0; i < h; ++i)
            EXPECT_TRUE(std::isfinite(model.a[i]) && std::isfinite(model.b[i]));
        EXPECT_NEAR(model.At(s.t[0]), data.meanMag(), 1e-6);
    }
}

}  // namespace
}  // namespace sabrix

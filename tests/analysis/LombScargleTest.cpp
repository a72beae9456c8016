// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <numbers>

#include "analysis/LombScargle.h"
#include "analysis/SyntheticSeries.h"
#include "analysis/UnitCircle.h"

namespace sabrix {
namespace {

using test::Series;

// The weighted least-squares fit of c0 + c1 cos + c2 sin by its normal equations, and the
// share of the weighted variance it removes: the statistic from its definition.
struct Reference {
    double power;
    double amplitude;
};
Reference LeastSquares(const Series& s, double f, bool weighted) {
    std::array<std::array<double, 4>, 3> m{};
    double sw = 0, swy = 0;
    for (size_t i = 0; i < s.t.size(); ++i) {
        const double w = weighted ? 1 / (s.sigma[i] * s.sigma[i]) : 1;
        const double x = 2 * std::numbers::pi * f * (s.t[i] - s.t[0]);
        const double basis[3] = {1, std::cos(x), std::sin(x)};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) m[r][c] += w * basis[r] * basis[c];
            m[r][3] += w * basis[r] * s.y[i];
        }
        sw += w;
        swy += w * s.y[i];
    }
    for (int p = 0; p < 3; ++p)
        for (int r = p + 1; r < 3; ++r) {
            const double k = m[r][p] / m[p][p];
            for (int c = p; c < 4; ++c) m[r][c] -= k * m[p][c];
        }
    double coef[3];
    for (int r = 2; r >= 0; --r) {
        double v = m[r][3];
        for (int c = r + 1; c < 3; ++c) v -= m[r][c] * coef[c];
        coef[r] = v / m[r][r];
    }
    double chi0 = 0, chi = 0;
    for (size_t i = 0; i < s.t.size(); ++i) {
        const double w = weighted ? 1 / (s.sigma[i] * s.sigma[i]) : 1;
        const double x = 2 * std::numbers::pi * f * (s.t[i] - s.t[0]);
        const double model = coef[0] + coef[1] * std::cos(x) + coef[2] * std::sin(x);
        chi0 += w * (s.y[i] - swy / sw) * (s.y[i] - swy / sw);
        chi += w * (s.y[i] - model) * (s.y[i] - model);
    }
    return {1 - chi / chi0, std::hypot(coef[1], coef[2])};
}

TEST(LombScargle, PowerAndAmplitudeAreTheLeastSquaresFitOfASinusoidPlusConstant) {
    Series s = test::NightlySampling(60, 300, 11);
    test::AddSinusoid(s, 3.7, 0.4);
    test::AddNoise(s, 12, 3);
    for (const bool weighted : {false, true}) {
        const PeriodData data = s.Prepared(weighted);
        EXPECT_EQ(data.weighting(), weighted ? Weighting::Uncertainties : Weighting::Equal);
        for (const double f : {0.0041, 0.05, 1 / 3.7, 0.93, 1.0, 7.25}) {
            const Reference want = LeastSquares(s, f, weighted);
            const LombScargleTerms got = ExactLombScargle(data, f);
            EXPECT_NEAR(got.power, want.power, 1e-9) << f << " weighted " << weighted;
            EXPECT_NEAR(std::hypot(got.a, got.b), want.amplitude, 1e-8) << f;
            EXPECT_GE(got.power, 0);
            EXPECT_LE(got.power, 1);
        }
    }
}

TEST(LombScargle, ASamplingWithNoInformationGivesZeroNotNaN) {
    // Every observation at the same phase of 1 cycle/day: cos and sin are constants there.
    Series s = test::EvenSampling(40, 1.0);
    test::AddSinusoid(s, 9.3, 0.5);
    const PeriodData data = s.Prepared();
    const LombScargleTerms terms = ExactLombScargle(data, 1.0);
    EXPECT_EQ(terms.power, 0);
    EXPECT_NEAR(terms.window, 1, 1e-12);
    EXPECT_LT(terms.conditioning, 1e-12);
    // Near f = 0 the denominator D vanishes as f^6; the power stays a fraction.
    for (const double f : {1e-9, 1e-6, 1e-4}) {
        const double p = ExactLombScargle(data, f).power;
        EXPECT_TRUE(p >= 0 && p <= 1) << f << ": " << p;
    }
    // At exactly 0 the sums are those of constants.
    EXPECT_EQ(ExactLombScargle(data, 0).power, 0);
}

TEST(LombScargle, TheOriginOfTimeDoesNotChangeThePower) {
    // The same light curve at JD 2.45e6 and at 0 must give the same power at 20 cycles/day.
    Series late = test::NightlySampling(80, 2400, 3);
    test::AddSinusoid(late, 0.0537, 0.3);
    Series early = late;
    for (double& t : early.t) t -= 2452000;
    const PeriodData a = late.Prepared();
    const PeriodData b = early.Prepared();
    for (const double f : {1 / 0.0537, 19.99, 20.0})
        EXPECT_NEAR(ExactLombScargle(a, f).power, ExactLombScargle(b, f).power, 1e-9) << f;
}

TEST(UnitCircle, CosineAndSineOfCyclesAgreeWithTheLibraryEverywhere) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> far(-1e7, 1e7);
    for (int i = 0; i < 20000; ++i) {
        // Near 0, near every quarter cycle and half cycle, and far out.
        const double x = i < 2000   ? (i - 1000) / 4000.0
                         : i < 4000 ? std::round(far(rng)) + 0.5
                                    : far(rng);
        const double fraction = x - std::nearbyint(x);
        const CosSin z = CosSinOfCycles(x);
        ASSERT_NEAR(z.c, std::cos(2 * std::numbers::pi * fraction), 4e-15) << x;
        ASSERT_NEAR(z.s, std::sin(2 * std::numbers::pi * fraction), 4e-15) << x;
    }
}

TEST(PeriodData, RefusesWhatGivesNoPeriodogramWithAMessage) {
    const auto refusal = [](std::vector<double> t, std::vector<double> y) {
        const PeriodDataOutcome outcome = PeriodData::Make(t, y, {}, true);
        EXPECT_FALSE(outcome.data.has_value());
        return outcome.refusal.toStdString();
    };
    EXPECT_EQ(refusal({}, {}), "No observation is shown: there is nothing to search.");
    EXPECT_EQ(refusal({1, 2}, {5, 6}),
              "A period search needs at least 3 observations; 2 are shown.");
    EXPECT_EQ(refusal({7, 7, 7, 7}, {5, 6, 7, 8}),
              "All the observations shown are at the same time: a period search needs them "
              "spread over time.");
    EXPECT_EQ(refusal({1, 2, 3}, {5, 5, 5}),
              "All the observations shown have the same magnitude: there is no variation to "
              "search.");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(refusal({1, nan, 3}, {5, 6, 7}),
              "An observation shown has a time or a magnitude that is not a number.");
    const std::vector<double> t{1, 2, 3};
    const std::vector<double> y{5, 5, 5.001};
    EXPECT_TRUE(PeriodData::Make(t, y, {}, true).data.has_value());
}

TEST(PeriodData, WeighsByUncertaintiesOnlyWhenEveryOneIsPositive) {
    const std::vector<double> t{1, 2, 3, 4};
    const std::vector<double> y{10, 11, 10, 12};
    const auto weights = [&](const std::vector<double>& sigma, bool use) {
        return PeriodData::Make(t, y, sigma, use).data->weights();
    };
    const std::vector<double> w = weights({0.1, 0.2, 0.1, 0.2}, true);
    EXPECT_NEAR(w[0], 0.4, 1e-15);
    EXPECT_NEAR(w[1], 0.1, 1e-15);
    // One missing (0), one not a number, too few, or not asked for: equal weights.
    for (const auto& sigma :
         {std::vector<double>{0.1, 0, 0.1, 0.2}, std::vector<double>{0.1, NAN, 0.1, 0.2},
          std::vector<double>{0.1, 0.2, 0.1}}) {
        EXPECT_FALSE(UncertaintiesUsable(sigma, t.size()));
        EXPECT_EQ(weights(sigma, true), std::vector<double>(4, 0.25));
    }
    EXPECT_EQ(weights({0.1, 0.2, 0.1, 0.2}, false), std::vector<double>(4, 0.25));
    const PeriodData data = *PeriodData::Make(t, y, {}, false).data;
    EXPECT_EQ(data.referenceTime(), 2.5);
    EXPECT_EQ(data.span(), 3);
    EXPECT_NEAR(data.meanMag(), 10.75, 1e-14);
}

}  // namespace
}  // namespace sabrix

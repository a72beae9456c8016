// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "analysis/DirectPeriodogram.h"
#include "analysis/FastPeriodogram.h"
#include "analysis/LombScargle.h"
#include "analysis/Periodogram.h"
#include "analysis/SyntheticSeries.h"

namespace sabrix {
namespace {

using test::Series;

FrequencyGrid Grid(double minPeriod, double maxPeriod, double samplesPerPeak, double span) {
    const FrequencyGridOutcome outcome =
        MakeFrequencyGrid({minPeriod, maxPeriod, samplesPerPeak}, span);
    if (!outcome.grid) throw std::runtime_error(outcome.refusal.toStdString());
    return *outcome.grid;
}

Periodogram Compute(const PeriodData& data, const FrequencyGrid& grid, PeriodogramMethod method) {
    JobControl control;
    PeriodogramOptions options;
    options.method = method;
    options.window = true;
    std::optional<Periodogram> p = ComputePeriodogram(data, grid, options, control);
    if (!p) throw std::runtime_error("cancelled");
    EXPECT_EQ(p->method, method);
    return std::move(*p);
}

// Both paths over the whole grid: the direct one equal to the statistic computed afresh (at
// the lowest and highest frequencies and every 997th between), the fast one within 1e-3 of it
// at every frequency, and its spectral window within 1e-4.
void ExpectFastAgreesWithExact(const PeriodData& data, const FrequencyGrid& grid) {
    const Periodogram direct = Compute(data, grid, PeriodogramMethod::Direct);
    const int64_t m = grid.count;
    for (int64_t k = 0; k < m; k += (k < 5 || k > m - 6) ? 1 : 997) {
        const LombScargleTerms exact = ExactLombScargle(data, grid.at(k));
        ASSERT_NEAR(direct.power[k], exact.power, 1e-9) << k;
        ASSERT_NEAR(direct.window[k], exact.window, 1e-9) << k;
    }
    const Periodogram fast = Compute(data, grid, PeriodogramMethod::Fast);
    double power = 0, window = 0;
    for (int64_t k = 0; k < m; ++k) {
        power = std::max(power, std::fabs(fast.power[k] - direct.power[k]));
        window = std::max(window, std::fabs(fast.window[k] - direct.window[k]));
    }
    EXPECT_LT(power, 1e-3) << data.span();
    EXPECT_LT(window, 1e-4) << data.span();
}

TEST(Periodogram, FastAgreesWithExactOnUnevenNightlySampling) {
    // A few hundred nightly observations over 2,400 days with uncertainties, periods 0.05 d
    // to the span: 240,000 frequencies up to 20 cycles/day.
    Series s = test::NightlySampling(200, 2400, 21);
    test::AddSinusoid(s, 0.5668, 0.3);
    test::AddNoise(s, 22);
    const PeriodData data = s.Prepared();
    const FrequencyGrid grid = Grid(0.05, data.span(), 5, data.span());
    ExpectFastAgreesWithExact(data, grid);
}

TEST(Periodogram, FastAgreesWithExactOnEvenSamplingAcrossBlocks) {
    // Evenly spaced times fall at the same place between the points of the extirpolation grid
    // again and again, so its errors add up instead of averaging out; at 2, 4, 6 ... cycles/day
    // every observation has the same phase and the fast sums are recomputed exactly. 300,000
    // frequencies take more than one block of the transform.
    Series s = test::EvenSampling(150, 0.5);
    test::AddSinusoid(s, 3.3, 0.2);
    test::AddNoise(s, 31);
    const PeriodData data = s.Prepared(false);
    const FrequencyGrid grid = Grid(0.025, data.span(), 100, data.span());
    ASSERT_GT(grid.count, 262144);
    ExpectFastAgreesWithExact(data, grid);
}

TEST(Periodogram, FastAgreesWithExactOverAHugeSpanAndOneNight) {
    // 10^5 days from JD 2,452,000 (frequencies to 1 cycle/day), and one night of 0.3 d
    // (frequencies 3.3 to 20 cycles/day, where a peak is 3 cycles/day wide).
    Series huge = test::NightlySampling(400, 100000, 41);
    test::AddSinusoid(huge, 311.2, 0.5);
    Series night = test::EvenSampling(60, 0.005);
    test::AddSinusoid(night, 0.081, 0.1);
    test::AddNoise(night, 43);
    for (const auto& [series, minPeriod, k] : {std::tuple{&huge, 1.0, 1.0}, {&night, 0.05, 10.0}}) {
        const PeriodData data = series->Prepared();
        ExpectFastAgreesWithExact(data, Grid(minPeriod, data.span(), k, data.span()));
    }
}

TEST(Periodogram, FastStaysWithinATenThousandthWhereTheFitIsPoorlyConditioned) {
    // Whole days apart, over a range from ten times the span: near f = 0 and near 1 and 2
    // cycles/day the sampling hardly tells cos from sin, where the power rests on a small
    // denominator. There the fast path must still hold 1e-4.
    Series s = test::EvenSampling(200, 1);
    test::AddSinusoid(s, 7.3, 0.2);
    test::AddNoise(s, 33);
    const PeriodData data = s.Prepared(false);
    const FrequencyGrid grid = Grid(0.45, 10 * data.span(), 20, data.span());
    EXPECT_LT(ExactLombScargle(data, grid.first).conditioning, 0.01);
    EXPECT_LT(ExactLombScargle(data, 1.0).conditioning, 0.01);
    const Periodogram direct = Compute(data, grid, PeriodogramMethod::Direct);
    const Periodogram fast = Compute(data, grid, PeriodogramMethod::Fast);
    double worst = 0;
    for (int64_t k = 0; k < grid.count; ++k)
        worst = std::max(worst, std::fabs(fast.power[k] - direct.power[k]));
    EXPECT_LT(worst, 1e-4);
}

TEST(Periodogram, WindowFunctionOfNightlyDataShowsTheOneDayAlias) {
    // Observations always in the same hours of the night: the sampling alone has a peak at 1
    // cycle/day, and a signal at f0 shows again at f0 - 1 and f0 + 1.
    Series s = test::NightlySampling(200, 1000, 51);
    test::AddSinusoid(s, 1 / 1.7637, 0.3);
    test::AddNoise(s, 52);
    const PeriodData data = s.Prepared();
    const FrequencyGrid grid = Grid(0.3, data.span(), 10, data.span());
    const Periodogram p = Compute(data, grid, PeriodogramMethod::Direct);
    const auto at = [&](const std::vector<double>& v, double f) {
        return v[static_cast<size_t>(std::llround((f - grid.first) / grid.step))];
    };
    EXPECT_GT(at(p.window, 1.0), 0.7);
    std::vector<double> sorted = p.window;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
    EXPECT_LT(sorted[sorted.size() / 2], 0.02);
    EXPECT_GT(at(p.power, 1.7637), 0.9);
    EXPECT_GT(at(p.power, 0.7637), 0.5);
    EXPECT_GT(at(p.power, 2.7637), 0.5);
    EXPECT_LT(at(p.power, 1.25), 0.2);
}

TEST(Periodogram, ProgressReachesTheWholeAndCancelReturnsPromptlyWithNothing) {
    Series s = test::NightlySampling(10000, 20000, 61);
    test::AddNoise(s, 62);
    const PeriodData data = s.Prepared();
    const FrequencyGrid small = Grid(10, data.span(), 1, data.span());
    // 4 x 10^6 frequencies: 4 x 10^10 terms directly and 16 blocks fast, far longer than the
    // wait.
    const FrequencyGrid large = Grid(0.01, data.span(), 2, data.span());
    for (const PeriodogramMethod method : {PeriodogramMethod::Direct, PeriodogramMethod::Fast}) {
        JobControl finished;
        finished.SetTotal(PeriodogramCost(data.size(), small, method));
        PeriodogramOptions options;
        options.method = method;
        ASSERT_TRUE(ComputePeriodogram(data, small, options, finished).has_value());
        EXPECT_GT(finished.fraction(), 0.95);

        JobControl control;
        control.SetTotal(PeriodogramCost(data.size(), large, method));
        std::optional<Periodogram> result;
        std::thread worker([&] { result = ComputePeriodogram(data, large, options, control); });
        // Under way: some progress, however slow the machine.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (control.fraction() == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        const double before = control.fraction();
        const auto asked = std::chrono::steady_clock::now();
        control.Cancel();
        worker.join();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count();
        EXPECT_FALSE(result.has_value());
        EXPECT_GT(before, 0);
        EXPECT_LT(before, 0.5);
        // About 0.03 s on an idle machine; the bound leaves room for one whose cores are
        // shared with other builds (0.6 s was seen there).
        EXPECT_LT(seconds, 2.0) << static_cast<int>(method);
    }
}

}  // namespace
}  // namespace sabrix

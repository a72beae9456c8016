// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "analysis/FrequencyGrid.h"

namespace sabrix {
namespace {

std::string Refusal(const FrequencyGridOutcome& outcome) {
    return outcome.refusal.toStdString();
}

TEST(FrequencyGrid, StepsByOneOverKTFromTheLongestPeriodToTheShortest) {
    // 2,400 days, periods 0.05 d to 2,400 d, 10 samples per peak: 1/2400 to 20 cycles/day.
    const FrequencyGridOutcome outcome = MakeFrequencyGrid({0.05, 2400, 10}, 2400);
    ASSERT_TRUE(outcome.grid.has_value()) << Refusal(outcome);
    const FrequencyGrid& g = *outcome.grid;
    EXPECT_DOUBLE_EQ(g.first, 1.0 / 2400);
    EXPECT_DOUBLE_EQ(g.step, 1.0 / 24000);
    EXPECT_EQ(g.count, 479991);
    EXPECT_NEAR(g.at(g.count - 1), 20, 1e-9);
    EXPECT_EQ(outcome.field, PeriodRangeField::None);
}

TEST(FrequencyGrid, DefaultsComeFromTheSpanAndTheMedianGap) {
    // Gaps 0.5, 1, 1, 2 (a repeated time does not count): median of distinct gaps 1, so the
    // minimum period is 2 d; the maximum the span, 4.5 d.
    const std::vector<double> times{3, 0.5, 1, 2, 2, 5};
    PeriodRange range = DefaultPeriodRange(times);
    EXPECT_EQ(range.maxPeriod, 4.5);
    EXPECT_EQ(range.minPeriod, 2);
    EXPECT_EQ(range.samplesPerPeak, 10);
    // Dense data: the minimum is never below 0.05 d.
    std::vector<double> dense;
    for (int i = 0; i < 100; ++i) dense.push_back(2450000 + i * 0.001);
    EXPECT_EQ(DefaultPeriodRange(dense).minPeriod, 0.05);
    // An even number of gaps takes the mean of the middle two: gaps 1 and 3.
    const std::vector<double> four{0, 1, 4};
    EXPECT_EQ(DefaultPeriodRange(four).minPeriod, 4);
}

TEST(FrequencyGrid, DefaultTextsStayInsideTheDataAndReadBack) {
    const PeriodRangeFields fields = PeriodRangeText({0.0512345678, 2399.87654321, 10});
    EXPECT_EQ(fields.minPeriod.toStdString(), "0.0512346");
    EXPECT_EQ(fields.maxPeriod.toStdString(), "2399.87");
    EXPECT_EQ(fields.samplesPerPeak.toStdString(), "10");
    EXPECT_EQ(PeriodRangeText({0.05, 2400, 10}).minPeriod.toStdString(), "0.05");
    EXPECT_TRUE(ReadPeriodRange(fields, 2399.87654321).grid.has_value());
}

TEST(FrequencyGrid, RefusesARangeNamingTheFieldAtFault) {
    const auto read = [](const char* min, const char* max, const char* k) {
        return ReadPeriodRange(
            {QString::fromUtf8(min), QString::fromUtf8(max), QString::fromUtf8(k)}, 100);
    };
    struct Case {
        const char *min, *max, *k;
        PeriodRangeField field;
        const char* message;
    };
    const Case cases[] = {
        {"abc", "100", "10", PeriodRangeField::MinPeriod,
         "Minimum period: type a number of days greater than 0, for example 0.05."},
        {"0", "100", "10", PeriodRangeField::MinPeriod,
         "Minimum period: type a number of days greater than 0, for example 0.05."},
        {"1", "", "10", PeriodRangeField::MaxPeriod,
         "Maximum period: type a number of days greater than 0, for example 100."},
        {"1", "-5", "10", PeriodRangeField::MaxPeriod,
         "Maximum period: type a number of days greater than 0, for example 100."},
        {"1", "100", "0.5", PeriodRangeField::SamplesPerPeak,
         "Samples per peak: type a number from 1 to 100, for example 10."},
        {"1", "100", "10 x", PeriodRangeField::SamplesPerPeak,
         "Samples per peak: type a number from 1 to 100, for example 10."},
        {"100", "100", "10", PeriodRangeField::MinPeriod,
         "Minimum period: it must be less than the maximum period (100 d)."},
        {"5", "2", "10", PeriodRangeField::MinPeriod,
         "Minimum period: it must be less than the maximum period (2 d)."},
        // 1/1.0089 to 1/1 cycles/day in steps of 1/1000: 9 frequencies (1.0101 gives 10).
        {"1", "1.0089", "10", PeriodRangeField::MaxPeriod,
         "Maximum period: this range gives only 9 frequencies, fewer than 10. Widen the range "
         "of periods or type more samples per peak."},
        // 1/100 to 1000 cycles/day in steps of 1/10,000: 9,999,901 pass; 1/1001 d does not.
        {"0.000999", "100", "100", PeriodRangeField::MinPeriod,
         "Minimum period: this range gives 10,009,911 frequencies, more than 10,000,000. Type a "
         "longer minimum period or fewer samples per peak."},
    };
    for (const Case& c : cases) {
        const FrequencyGridOutcome outcome = read(c.min, c.max, c.k);
        EXPECT_FALSE(outcome.grid.has_value()) << c.min << " " << c.max << " " << c.k;
        EXPECT_EQ(outcome.field, c.field) << c.min << " " << c.max << " " << c.k;
        EXPECT_EQ(Refusal(outcome), c.message);
    }
    EXPECT_EQ(read(" 0.001 ", "100", "100").grid->count, 9999901);
    EXPECT_EQ(read("1", "1.0101", "10").grid->count, 10);
    // Both ends beyond the reciprocal of a double: the count is no number at all.
    for (const auto& [minPeriod, maxPeriod] :
         {std::pair{1e-12, 1e12}, std::pair{1e-320, 1e12}, std::pair{1e-320, 1e-310}})
        EXPECT_EQ(Refusal(MakeFrequencyGrid({minPeriod, maxPeriod, 100}, 1e12)),
                  "Minimum period: this range gives more than 1,000,000,000,000,000 frequencies, "
                  "more than 10,000,000. Type a longer minimum period or fewer samples per peak.");
}

}  // namespace
}  // namespace sabrix

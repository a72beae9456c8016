// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "analysis/FrequencyGrid.h"
#include "analysis/PeriodSearch.h"
#include "analysis/SyntheticSeries.h"

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

TEST(FrequencyGrid, DefaultRangeReachesShortPeriodsOfNightlyDataAndStaysWithinTheLimit) {
    // Nightly survey sampling: the default range holds periods far shorter than the gaps,
    // and its search finds them.
    for (const double period : {0.3, 0.7, 4.0}) {
        test::Series s = test::NightlySampling(300, 2400, 7);
        test::AddSinusoid(s, period, 0.2);
        test::AddNoise(s, 8);
        const PeriodRange range = DefaultPeriodRange(s.t);
        EXPECT_FALSE(range.minimumRaised);
        const PeriodData data = s.Prepared();
        const FrequencyGridOutcome grid = ReadPeriodRange(PeriodRangeText(range), data.span());
        ASSERT_TRUE(grid.grid.has_value()) << Refusal(grid);
        JobControl control;
        const PeriodSearchResult result = *RunPeriodSearch(data, *grid.grid, {}, control);
        EXPECT_NEAR(result.peaks[0].period, period, 1e-3 * period) << period;
    }
    // A century and a half of data: the minimum is raised so the grid stays within 10^7
    // frequencies, and says so.
    const std::vector<double> century{2400000, 2420000, 2455000};
    const PeriodRange raised = DefaultPeriodRange(century);
    EXPECT_TRUE(raised.minimumRaised);
    EXPECT_GT(raised.minPeriod, 0.05);
    const FrequencyGridOutcome grid = ReadPeriodRange(PeriodRangeText(raised), 55000);
    ASSERT_TRUE(grid.grid.has_value()) << Refusal(grid);
    EXPECT_GT(grid.grid->count, 9'990'000);
    EXPECT_TRUE(RaisedMinimumText(raised).startsWith("The minimum period was raised to 0.05"))
        << RaisedMinimumText(raised).toStdString();
    // Three observations over a few days get a usable range of their own.
    const std::vector<double> three{2450000, 2450001.2, 2450003.1};
    EXPECT_TRUE(ReadPeriodRange(PeriodRangeText(DefaultPeriodRange(three)), 3.1).grid);
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
         "Minimum period: type a number of days from 0.0001 to 10,000,000, for example 0.05."},
        {"4e-324", "100", "10", PeriodRangeField::MinPeriod,
         "Minimum period: type a number of days from 0.0001 to 10,000,000, for example 0.05."},
        {"1", "", "10", PeriodRangeField::MaxPeriod,
         "Maximum period: type a number of days from 0.0001 to 10,000,000, for example 100."},
        {"1", "1e300", "10", PeriodRangeField::MaxPeriod,
         "Maximum period: type a number of days from 0.0001 to 10,000,000, for example 100."},
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
    // Only a typed field is blamed: the default minimum with a typed maximum below it.
    const PeriodRangeFields defaults{"0.05", "100", "10"};
    const FrequencyGridOutcome typedMax = ReadPeriodRange({"0.05", "0.03", "10"}, 100, defaults);
    EXPECT_EQ(typedMax.field, PeriodRangeField::MaxPeriod);
    EXPECT_EQ(Refusal(typedMax),
              "Maximum period: it must be greater than the minimum period (0.05 d).");
    EXPECT_EQ(ReadPeriodRange({"0.05", "100", "100"}, 1e5, defaults).field,
              PeriodRangeField::SamplesPerPeak);
}

}  // namespace
}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "analysis/PeriodAnalysis.h"
#include "analysis/SyntheticSeries.h"

namespace sabrix {
namespace {

// Two periods, 3.7 d with 0.3 mag and 0.81 d with 0.15 mag, over 600 nights.
PeriodObservations TwoPeriods(bool withSigmas = true) {
    test::Series s = test::NightlySampling(400, 600, 31);
    test::AddSinusoid(s, 3.7, 0.3);
    test::AddSinusoid(s, 0.81, 0.15, 2452000.3);
    test::AddNoise(s, 32);
    PeriodObservations o;
    o.times = s.t;
    o.mags = s.y;
    o.sigmas = withSigmas ? s.sigma : std::vector<double>(s.t.size(), 0.0);
    o.jdLeft = 2451995;
    o.jdRight = 2452605;
    return o;
}

FrequencyGrid Grid(const PeriodObservations& o) {
    const PeriodDataOutcome data = PeriodData::Make(o.times, o.mags, o.sigmas, true);
    return *MakeFrequencyGrid({0.3, 20, 5}, data.data->span()).grid;
}

// Runs the awaited search on this thread, as the command layer's job would.
void Compute(PeriodAnalysis& analysis) {
    const PeriodDataOutcome data = analysis.CurrentData();
    ASSERT_TRUE(data.data.has_value()) << data.refusal.toStdString();
    JobControl control;
    std::optional<PeriodSearchResult> result =
        RunPeriodSearch(*data.data, analysis.grid(), analysis.SearchOptions(), control);
    ASSERT_TRUE(result.has_value());
    analysis.Adopt(std::move(*result));
}

TEST(PeriodAnalysis, ListsThePeaksChoosesTheHighestAndSaysTheWeightingUsed) {
    PeriodAnalysis analysis("TW PER", TwoPeriods(), true, Grid(TwoPeriods()));
    EXPECT_TRUE(analysis.AwaitsResult());
    PeriodogramWindowView waiting = analysis.View(true, "Computing", 0.25);
    EXPECT_TRUE(waiting.peaks.empty());
    EXPECT_FALSE(waiting.canRemove);
    EXPECT_FALSE(waiting.canExport);
    EXPECT_EQ(waiting.progress, 0.25);
    Compute(analysis);
    const PeriodogramWindowView view = analysis.View(false, "", 0);
    EXPECT_EQ(view.title, "Period Search - TW PER");
    EXPECT_TRUE(view.summary.startsWith("400 observations, JD 2452000."));
    EXPECT_TRUE(view.summary.endsWith("weighted by 1/σ² of each uncertainty"));
    EXPECT_EQ(view.heading, "Periodogram of the observations");
    ASSERT_EQ(view.peaks.size(), 10u);
    EXPECT_EQ(view.chosen, 0);
    EXPECT_TRUE(view.peaks[0][0].startsWith("3.70")) << view.peaks[0][0].toStdString();
    EXPECT_EQ(view.peaks[0][0].section('.', 1).size(), 7);
    EXPECT_NEAR(view.peaks[0][3].toDouble(), 0.3, 0.03);
    EXPECT_TRUE(view.foldPeriod.startsWith("3.70"));
    EXPECT_TRUE(view.canRemove);
    EXPECT_FALSE(view.canStepBack);
    ASSERT_TRUE(view.draw);

    // Without uncertainties for all, equal weights, and the window says why.
    PeriodAnalysis equal("TW PER", TwoPeriods(false), true, Grid(TwoPeriods()));
    EXPECT_TRUE(equal.View(false, "", 0)
                    .summary.endsWith("equal weights (not every observation has an uncertainty)"));
    PeriodAnalysis unasked("TW PER", TwoPeriods(), false, Grid(TwoPeriods()));
    EXPECT_TRUE(
        unasked.View(false, "", 0).summary.endsWith("equal weights (uncertainties not used)"));
    // Theta weighs every observation alike, even with uncertainties for all.
    PeriodAnalysis pdm("TW PER", TwoPeriods(), true, Grid(TwoPeriods()), 0, 1,
                       SearchMethod::PhaseDispersion);
    EXPECT_TRUE(pdm.View(false, "", 0)
                    .summary.endsWith("equal weights (phase dispersion uses no uncertainties)"));
}

TEST(PeriodAnalysis, RemovingThePeriodFindsTheSecondAndBackOneStepShowsTheFirstAgain) {
    PeriodAnalysis analysis("TW PER", TwoPeriods(), true, Grid(TwoPeriods()));
    Compute(analysis);
    const PeriodogramPeak first = *analysis.ChosenPeak();
    EXPECT_NEAR(first.period, 3.7, 0.01);
    EXPECT_EQ(analysis.RemoveChosen(), "");
    EXPECT_TRUE(analysis.AwaitsResult());
    EXPECT_EQ(analysis.current(), nullptr);
    EXPECT_EQ(analysis.View(true, "", 0).removed.size(), 1u);
    Compute(analysis);
    const PeriodogramWindowView after = analysis.View(false, "", 0);
    EXPECT_EQ(after.heading, "Periodogram of the residuals after 1 period removed");
    ASSERT_EQ(after.removed.size(), 1u);
    EXPECT_TRUE(after.removed[0].startsWith("1. P = 3.70")) << after.removed[0].toStdString();
    EXPECT_NEAR(analysis.ChosenPeak()->period, 0.81, 0.002);
    // The first period's peak is gone from the residuals.
    for (const PeriodogramPeak& peak : analysis.current()->peaks)
        EXPECT_GT(std::abs(peak.period - first.period), 0.05);
    EXPECT_TRUE(after.canStepBack);

    EXPECT_TRUE(analysis.StepBack());
    EXPECT_FALSE(analysis.AwaitsResult());
    EXPECT_NEAR(analysis.current()->peaks.front().period, 3.7, 0.01);
    // The removed period's peak is chosen again.
    ASSERT_TRUE(analysis.ChosenPeak());
    EXPECT_EQ(analysis.ChosenPeak()->period, first.period);
    EXPECT_TRUE(analysis.View(false, "", 0).removed.empty());
    EXPECT_FALSE(analysis.StepBack());
    // The observations themselves never changed.
    EXPECT_EQ(analysis.observations().mags, TwoPeriods().mags);
}

TEST(PeriodAnalysis, AnAbandonedRemovalIsUndoneAndAnAbandonedFirstSearchLeavesNothing) {
    PeriodAnalysis analysis("TW PER", TwoPeriods(), true, Grid(TwoPeriods()));
    EXPECT_FALSE(analysis.Abandon());
    Compute(analysis);
    ASSERT_EQ(analysis.RemoveChosen(), "");
    EXPECT_TRUE(analysis.Abandon());
    EXPECT_FALSE(analysis.AwaitsResult());
    EXPECT_TRUE(analysis.View(false, "", 0).removed.empty());
    // No peak chosen: nothing to remove.
    analysis.ChoosePeak(99);
    EXPECT_EQ(analysis.RemoveChosen(), "Choose a peak in the table first.");
}

TEST(PeriodAnalysis, FoldFieldsDefaultTheEpochToTheBrightestObservation) {
    PeriodObservations o;
    o.times = {2450000.5, 2450001.25, 2450003.75};
    o.mags = {10.2, 9.1, 9.8};
    o.sigmas = {0, 0, 0};
    PeriodAnalysis analysis("X", o, true, FrequencyGrid{0.1, 0.1, 10});
    EXPECT_EQ(analysis.DefaultEpoch(), 2450001.25);
    const FoldOutcome typed = analysis.ReadFold(" 0.5 ", "");
    ASSERT_TRUE(typed.fold.has_value());
    EXPECT_EQ(typed.fold->period, 0.5);
    EXPECT_EQ(typed.fold->epoch, 2450001.25);
    EXPECT_EQ(analysis.ReadFold("0.5", "2450000.1").fold->epoch, 2450000.1);
    EXPECT_TRUE(analysis.ReadFold("-1", "").refusal.startsWith("Period:"));
}

}  // namespace
}  // namespace sabrix

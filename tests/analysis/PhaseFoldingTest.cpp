// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "analysis/PhaseFolding.h"

namespace sabrix {
namespace {

TEST(PhaseFolding, PhaseIsTheFractionOfCyclesSinceTheEpochInZeroToOne) {
    EXPECT_NEAR(FoldPhase(2450001.35, 2450000.1, 0.5), 0.5, 1e-9);
    // Before the epoch: 1.25 cycles back is phase 0.75.
    EXPECT_NEAR(FoldPhase(2449999.475, 2450000.1, 0.5), 0.75, 1e-9);
    EXPECT_EQ(FoldPhase(2450000.1, 2450000.1, 0.5), 0);
    // A hair before a whole number of cycles rounds to phase 1, which is phase 0.
    const double hair = FoldPhase(-1e-300, 0, 0.7);
    EXPECT_GE(hair, 0);
    EXPECT_LT(hair, 1);
}

TEST(PhaseFolding, DefaultEpochIsTheFirstTimeOfTheBrightestObservation) {
    const std::vector<double> t{5, 3, 9, 1};
    const std::vector<double> mag{10.2, 9.8, 9.8, 10.0};
    EXPECT_EQ(BrightestEpoch(t, mag), 3);
}

TEST(PhaseFolding, TwoCyclesDrawEachObservationTwiceFromMinusHalfToOneAndAHalf) {
    const std::vector<double> t{0.1, 0.45, 0.5, 0.95, 1.2};
    const std::vector<double> mag{1, 2, 3, 4, 5};
    struct Drawn {
        double phase, mag;
        int64_t index;
    };
    std::vector<Drawn> drawn;
    ForEachTwoCyclePoint(t, mag, 0, 1, [&](double phase, double m, int64_t i) {
        drawn.push_back({phase, m, i});
    });
    ASSERT_EQ(drawn.size(), 10u);
    const double want[10] = {0.1, 1.1, 0.45, 1.45, 0.5, -0.5, 0.95, -0.05, 0.2, 1.2};
    for (size_t k = 0; k < drawn.size(); ++k) {
        EXPECT_NEAR(drawn[k].phase, want[k], 1e-12) << k;
        EXPECT_EQ(drawn[k].index, static_cast<int64_t>(k / 2));
        EXPECT_EQ(drawn[k].mag, mag[k / 2]);
        EXPECT_GE(drawn[k].phase, -0.5);
        EXPECT_LT(drawn[k].phase, 1.5);
    }
}

TEST(PhaseFolding, PhaseBinsGiveMeanDeviationAndCountOfTheOccupiedBins) {
    // Period 1, epoch 0: phases 0.01, 0.02, 0.04 in the first bin of 0.05, 0.51 alone in
    // [0.5, 0.55), 0.99 in the last; the rest empty.
    const std::vector<double> t{10.01, 3.02, 7.04, 2.51, 0.99};
    const std::vector<double> mag{10.0, 10.2, 10.4, 11.0, 9.5};
    const std::vector<PhaseBin> bins = PhaseBins(t, mag, 0, 1, kDefaultPhaseBinWidth);
    ASSERT_EQ(bins.size(), 3u);
    EXPECT_EQ(bins[0].count, 3);
    EXPECT_NEAR(bins[0].mean, 10.2, 1e-12);
    EXPECT_NEAR(bins[0].sd, 0.2, 1e-12);
    EXPECT_NEAR(bins[0].centre, 0.025, 1e-12);
    EXPECT_EQ(bins[1].count, 1);
    EXPECT_EQ(bins[1].sd, 0);
    EXPECT_NEAR(bins[1].from, 0.5, 1e-12);
    EXPECT_NEAR(bins[2].to, 1, 1e-12);
    EXPECT_NEAR(bins[2].from, 0.95, 1e-12);
    // A width that does not divide 1: [0, 0.3), [0.3, 0.6), [0.6, 0.9), [0.9, 1).
    const std::vector<PhaseBin> thirds = PhaseBins(t, mag, 0, 1, 0.3);
    ASSERT_EQ(thirds.size(), 3u);
    EXPECT_NEAR(thirds[2].from, 0.9, 1e-12);
    EXPECT_NEAR(thirds[2].to, 1, 1e-12);
    EXPECT_EQ(thirds[2].count, 1);
}

TEST(PhaseFolding, TypedPeriodEpochAndBinWidthAreReadOrRefusedNamingTheField) {
    const FoldOutcome ok = ReadFoldFields(" 0.5668 ", "2452000.25", 1);
    ASSERT_TRUE(ok.fold.has_value());
    EXPECT_EQ(ok.fold->period, 0.5668);
    EXPECT_EQ(ok.fold->epoch, 2452000.25);
    EXPECT_EQ(ReadFoldFields("0.5668", "  ", 2451999.5).fold->epoch, 2451999.5);
    for (const char* period : {"", "0", "-1", "1/2", "1e-9", "4e-324", "2e7"})
        EXPECT_EQ(ReadFoldFields(period, "", 0).refusal.toStdString(),
                  "Period: type a number of days from 0.0001 to 10,000,000, for example 0.5668.");
    EXPECT_TRUE(ReadFoldFields("1", "JD", 0).refusal.startsWith("Epoch: "));
    EXPECT_TRUE(ReadFoldFields("1", "1e20", 2452000).refusal.startsWith("Epoch: "));

    QString refusal;
    EXPECT_EQ(ReadPhaseBinWidth("0.1", refusal), 0.1);
    for (const char* width : {"0", "0.0005", "0.6", "x"}) {
        EXPECT_FALSE(ReadPhaseBinWidth(width, refusal).has_value()) << width;
        EXPECT_EQ(refusal.toStdString(),
                  "Phase bin width: type a phase from 0.001 to 0.5, for example 0.05.");
    }
    // The averages dialog on the phase plot: a phase width and the error bar.
    BinDialogFields fields = InitialPhaseBinFields(3);
    EXPECT_TRUE(fields.phase);
    EXPECT_EQ(fields.binWidth, "0.05");
    const std::optional<PhaseBinRequest> request = ReadPhaseBinFields(fields, refusal);
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(request->width, 0.05);
    EXPECT_EQ(request->Sigma, 3);
    fields.sigma = "1.5";
    EXPECT_FALSE(ReadPhaseBinFields(fields, refusal).has_value());
    EXPECT_TRUE(refusal.startsWith("Type the error bar"));
    fields.binWidth = "10";
    EXPECT_FALSE(ReadPhaseBinFields(fields, refusal).has_value());
    EXPECT_TRUE(refusal.startsWith("Phase bin width:"));
}

bool AnyLitPixel(const Canvas& c) {
    for (int y = 0; y < c.pixelHeight(); ++y)
        for (int x = 0; x < c.pixelWidth(); ++x)
            if (c.pixelColor(x, y) != 0) return true;
    return false;
}

TEST(PhaseFolding, MeanCurveRunsThroughTheBinMeansOfBothCyclesWithErrorBars) {
    // The phase window on 200 x 100 pixels: 100 pixels a cycle, magnitudes 9 to 13 down.
    PlotWindowState time;
    time.WinMagTop = 9;
    time.WinMagBottom = 13;
    time.WinMagHeight = 4;
    const PlotWindowState v = PhaseWindow(time);
    Canvas c(200, 100);
    c.SetUserScale(v.WinJDLeft - v.JDFirst, v.WinMagTop, v.WinJDWidth, v.WinMagHeight);
    PhaseBin a;
    a.centre = 0.25;
    a.mean = 10;
    a.sd = 0.4;
    PhaseBin b;
    b.centre = 0.75;
    b.mean = 12;
    PhaseBinPlotter({a, b}, 1.0, v, c);
    constexpr int32_t kCurve = 255 + 256 * 120;
    constexpr int32_t kWhite = 16777215;
    // Bin a at phases 0.25 and 1.25 (pixels 75 and 175, row 25), its bar 0.4 mag (10 rows) up
    // and down; the curve climbs from b at -0.25 (pixel 25, row 75) to a at 0.25.
    EXPECT_EQ(c.pixelColor(75, 16), kWhite);
    EXPECT_EQ(c.pixelColor(175, 34), kWhite);
    const auto redNear = [&](int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            if (c.pixelColor(x, y + dy) == kCurve) return true;
        return false;
    };
    // a at 0.25 and 1.25, b at -0.25 and 0.75 (row 75): the line zigzags between them.
    EXPECT_TRUE(redNear(50, 50));
    EXPECT_TRUE(redNear(100, 50));
    EXPECT_TRUE(redNear(150, 50));
    EXPECT_TRUE(redNear(125, 75));
    EXPECT_FALSE(redNear(125, 50));
    // Drawn 2 pixels wide: a 1-pixel line crossing at 45 degrees lights one pixel a column.
    int curvePixels = 0;
    for (int y = 40; y <= 60; ++y) curvePixels += c.pixelColor(100, y) == kCurve;
    EXPECT_GE(curvePixels, 2);
    Canvas empty(200, 100);
    empty.SetUserScale(0, 9, 2, 4);
    PhaseBinPlotter({}, 1.0, v, empty);
    EXPECT_FALSE(AnyLitPixel(empty));
}

}  // namespace
}  // namespace sabrix

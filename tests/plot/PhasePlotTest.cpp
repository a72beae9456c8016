// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "plot/AxisScales.h"
#include "plot/PhasePlot.h"
#include "plot/PlotFixture.h"
#include "plot/PlotWindow.h"
#include "plot/Plotter.h"
#include "plot/ScaleTicks.h"

namespace sabrix {

using test::CountPixels;
using test::kBlue;
using test::kGreen;
using test::kRed;
using test::kWhite;
using test::PlotRow;

namespace {

// The phase plot of a light curve over JD 1000 to 1020 on a 200 x 100 canvas: phases -0.5 to
// 1.5 across (100 pixels a cycle), magnitudes 8 to 12 down (25 pixels a magnitude).
struct PhaseSetup {
    test::PlotTable t;
    AppState state;
    Canvas view{200, 100};
    Canvas jd{200, 25};
    Canvas mag{25, 100};
    PhaseFold fold;

    PhaseSetup() {
        state.star.StarName = " rr lyr ";
        state.view.JDFirst = 1000;
        state.view.JDLast = 1020;
        state.view.WinJDLeft = 995;
        state.view.WinJDRight = 1025;
        state.view.WinJDWidth = 30;
        state.view.WinMagTop = 8;
        state.view.WinMagBottom = 12;
        state.view.WinMagHeight = 4;
        ApplyDesignLook(view, jd, mag);
        fold = {2.0, 1000.0, 995, 1025};
    }
    PlotOutcome Plot() {
        const AppState timeState = state;
        AppState phaseState = state;
        phaseState.view = PhaseWindow(timeState.view);
        Scaler(phaseState.view, view, jd, mag);
        return Plotter(phaseState, ObserverMarks{}, t.table, view, jd, mag, {}, PhaseFrame(fold));
    }
};

}  // namespace

TEST(PhasePlot, EachObservationOfTheFoldedRangeIsDrawnTwiceInItsColour) {
    PhaseSetup p;
    // Period 2 d from JD 1000: 1000.5 is phase 0.25 (drawn at 0.25 and 1.25), 1003.5 phase
    // 0.75 (at 0.75 and -0.25); 1030 lies outside the light curve's window.
    p.t.Add({PlotRow(1000.5, 10, kRed), PlotRow(1003.5, 9, kGreen), PlotRow(1030, 10, kBlue)});
    const PlotOutcome out = p.Plot();
    EXPECT_EQ(out.points, 2);
    // x = phase + 0.5 in picView's frame: pixel 100 * (phase + 0.5).
    EXPECT_EQ(p.view.pixelColor(75, 50), kRed);
    EXPECT_EQ(p.view.pixelColor(175, 50), kRed);
    EXPECT_EQ(p.view.pixelColor(125, 25), kGreen);
    EXPECT_EQ(p.view.pixelColor(25, 25), kGreen);
    EXPECT_EQ(CountPixels(p.view, kRed), 18);
    EXPECT_EQ(CountPixels(p.view, kBlue), 0);
    EXPECT_EQ(out.starLabel, "RR LYR - P = 2 d");
}

TEST(PhasePlot, LabelGivesThePeriodToSevenDecimalsAtMost) {
    EXPECT_EQ(PeriodText(4.04785261234), "4.0478526");
    EXPECT_EQ(PeriodText(0.5), "0.5");
    EXPECT_EQ(PeriodText(12), "12");
    PhaseSetup p;
    p.state.star.ThreeColumnFormat = true;
    p.state.star.ThreeColumnFilePath = "/data/x.dat";
    p.fold.period = 0.56684;
    p.t.Add({PlotRow(1000.5, 10, kRed)});
    EXPECT_EQ(p.Plot().starLabel, "File: /data/x.dat - P = 0.56684 d");
}

TEST(PhasePlot, WindowShowsTwoCyclesWithTheLightCurvesMagnitudesAndNoMargin) {
    PlotWindowState time;
    time.JDFirst = 2450000;
    time.JDLast = 2450100;
    time.WinJDLeft = 2450010;
    time.WinJDRight = 2450020;
    time.WinJDWidth = 10;
    time.JDMagnification = 10;
    time.WinMagTop = 9;
    time.WinMagBottom = 11;
    time.WinMagHeight = 2;
    time.MagMagnification = 2;
    const PlotWindowState phase = PhaseWindow(time);
    EXPECT_EQ(phase.JDFirst, -0.5);
    EXPECT_EQ(phase.JDLast, 1.5);
    EXPECT_EQ(phase.WinJDLeft, -0.5);
    EXPECT_EQ(phase.WinJDRight, 1.5);
    EXPECT_EQ(phase.WinJDWidth, 2);
    EXPECT_EQ(phase.JDMargin, 0);
    EXPECT_EQ(phase.JDMagnification, 1.0f);
    EXPECT_EQ(phase.WinMagTop, 9);
    EXPECT_EQ(phase.WinMagBottom, 11);
    EXPECT_EQ(phase.MagMagnification, 2.0f);
}

TEST(PhasePlot, ScaleIsLabelledInTenthsOnTheWholeWindow) {
    Canvas strip(800, 25);
    strip.BackColor = 0;
    strip.ForeColor = kWhite;
    strip.Font = JDScaleFont();
    const PlotWindowState v = PhaseWindow(PlotWindowState{});
    strip.SetUserScale(v.WinJDLeft, 0, v.WinJDWidth, 20);
    const ScaleLayout layout = LayOutLinearScale(strip, -0.5, 1.5, StripRun::Across);
    EXPECT_EQ(layout.step, 0.1);
    // -0.5 and 1.5, moved inside the strip, would crowd their neighbours.
    EXPECT_EQ(layout.labels.size(), 19u);
    WritePhaseScale(strip, v);
    // A major tick at phase 0 (pixel 200) from 15 to 20 of the strip's 20 units.
    EXPECT_EQ(strip.pixelColor(200, 24), kWhite);
    EXPECT_EQ(strip.pixelColor(200, 20), kWhite);
    EXPECT_GT(CountPixels(strip, kWhite), 20 * 6);
}

TEST(ScaleTicks, NiceStepsAreOneTwoOrFiveTimesAPowerOfTen) {
    EXPECT_DOUBLE_EQ(NiceStep(2, 10), 0.2);
    EXPECT_DOUBLE_EQ(NiceStep(20, 5), 5);
    EXPECT_DOUBLE_EQ(NiceStep(0.03, 4), 0.01);
    EXPECT_DOUBLE_EQ(NiceStep(1, 10), 0.1);
    EXPECT_EQ(NiceStep(0, 10), 0);
    EXPECT_EQ(NiceStep(std::nan(""), 10), 0);
    EXPECT_TRUE(LinearTicks(0, 1, 0).empty());
    EXPECT_TRUE(LinearTicks(0, 1e9, 1e-3).empty());  // too many to draw
}

TEST(ScaleTicks, LabelsThatWouldOverlapAreLeftOut) {
    // Forty labelled ticks on a strip 100 pixels wide: only a few labels fit.
    Canvas strip(100, 25);
    strip.ForeColor = kWhite;
    strip.SetUserScale(0, 0, 4, 20);
    DrawTicksAcross(strip, LinearTicks(0, 4, 0.1));
    // Every tick is drawn down to the strip's bottom row...
    int ticks = 0;
    for (int x = 0; x < 100; ++x) ticks += strip.pixelColor(x, 24) == kWhite;
    EXPECT_GE(ticks, 60);
    // ... but the top rows, where labels stand, keep gaps between them.
    int columnsWithText = 0;
    for (int x = 0; x < 100; ++x) columnsWithText += test::AnyLit(strip, x, 0, x, 12) ? 1 : 0;
    EXPECT_GT(columnsWithText, 0);
    EXPECT_LT(columnsWithText, 80);
}

}  // namespace sabrix

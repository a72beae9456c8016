// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "interaction/ZoomOperations.h"
#include "plot/Navigation.h"

namespace sabrix {
namespace {

using Operation = bool (*)(PlotWindowState&, double, double, int);

// The edges, sizes and factors of a view, compared whole.
using Window = std::tuple<double, double, double, double, double, double, float, float>;

Window WindowOf(const PlotWindowState& v) {
    return {v.WinJDLeft,    v.WinJDRight,   v.WinJDWidth,      v.WinMagTop,
            v.WinMagBottom, v.WinMagHeight, v.JDMagnification, v.MagMagnification};
}

// Observations from JD 2455000 to 2455100 and magnitude 8 to 12, shown whole with the fitted
// margins of 5 days and 0.5 magnitude: 2454995 .. 2455105 across, 7.5 .. 12.5 down.
PlotWindowState Fitted() {
    PlotWindowState v;
    v.JDFirst = 2455000;
    v.JDLast = 2455100;
    v.MagBrightest = 8;
    v.MagFaintest = 12;
    v.WinJDLeft = 2454995;
    v.WinJDRight = 2455105;
    v.WinJDWidth = 110;
    v.WinMagTop = 7.5;
    v.WinMagBottom = 12.5;
    v.WinMagHeight = 5;
    return v;
}

// The same data zoomed to 2455030 .. 2455050 and 9 .. 10 with both factors at the given value.
PlotWindowState Zoomed(float factor) {
    PlotWindowState v = Fitted();
    v.WinJDLeft = 2455030;
    v.WinJDRight = 2455050;
    v.WinJDWidth = 20;
    v.WinMagTop = 9;
    v.WinMagBottom = 10;
    v.WinMagHeight = 1;
    v.JDMagnification = factor;
    v.MagMagnification = factor;
    return v;
}

const double kPressX = 40;  // JD 2455040
const double kPressY = 10;

TEST(ZoomStep, IsOnePlainFiveWithCtrlAloneAndZeroWithShiftOrAlt) {
    // Shift codes: 1 Shift, 2 Ctrl, 4 Alt, summed.
    const int want[8] = {1, 0, 5, 0, 0, 0, 0, 0};
    for (int shift = 0; shift < 8; ++shift) EXPECT_EQ(ZoomStep(shift), want[shift]) << shift;
}

TEST(ZoomFactor, CountsUpFromOneByTheStepAndDownToOneAtTheLeast) {
    const struct {
        bool in;
        float factor;
        int step;
        float want;
    } cases[] = {
        {true, 1, 1, 2},   {true, 2, 1, 3},  {true, 3, 1, 4},     {true, 1, 5, 5},
        {true, 5, 5, 10},  {true, 2, 5, 7},  {true, 10, 1, 11},   {false, 3, 1, 2},
        {false, 2, 1, 1},  {false, 3, 5, 1}, {false, 1.5f, 1, 1}, {false, 1, 1, 1},
        {false, 10, 5, 5},
    };
    for (const auto& c : cases) {
        const float got = c.in ? FactorStepIn(c.factor, c.step) : FactorStepOut(c.factor, c.step);
        EXPECT_EQ(got, c.want) << (c.in ? "in" : "out") << " from " << c.factor << " by " << c.step;
    }
}

TEST(ZoomIn, EachToolNarrowsItsAxesAroundThePressPoint) {
    const struct {
        const char* name;
        Operation operation;
        int step;
        Window want;
    } cases[] = {
        // Half of 110 days centred on JD 2455040; the magnitude axis untouched.
        {"JDZoomIn plain", &JDZoomIn, 1, {2455012.5, 2455067.5, 55, 7.5, 12.5, 5, 2, 1}},
        {"JDZoomIn Ctrl", &JDZoomIn, 5, {2455029, 2455051, 22, 7.5, 12.5, 5, 5, 1}},
        {"MagZoomIn plain", &MagZoomIn, 1, {2454995, 2455105, 110, 8.75, 11.25, 2.5, 1, 2}},
        {"MagZoomIn Ctrl", &MagZoomIn, 5, {2454995, 2455105, 110, 9.5, 10.5, 1, 1, 5}},
        // Both axes, with 5 days and 0.5 magnitude of margin on each edge around the divided
        // width and height; the sizes are those of the window shown.
        {"MagnifyIn plain", &MagnifyIn, 1, {2455007.5, 2455072.5, 65, 8.25, 11.75, 3.5, 2, 2}},
        {"MagnifyIn Ctrl", &MagnifyIn, 5, {2455024, 2455056, 32, 9, 11, 2, 5, 5}},
    };
    for (const auto& c : cases) {
        PlotWindowState v = Fitted();
        EXPECT_TRUE(c.operation(v, kPressX, kPressY, c.step)) << c.name;
        EXPECT_EQ(WindowOf(v), c.want) << c.name;
    }
}

TEST(ZoomIn, EachPressDividesTheWidthByTheNewFactor) {
    PlotWindowState v = Fitted();
    JDZoomIn(v, kPressX, kPressY, 1);
    EXPECT_EQ(v.WinJDWidth, 110.0 / 2);
    JDZoomIn(v, kPressX, kPressY, 1);
    EXPECT_EQ(v.WinJDWidth, 110.0 / 6);
    EXPECT_EQ(v.JDMagnification, 3);
}

TEST(ZoomOut, EachToolWidensItsAxesByTheSteppedFactorAroundThePressPoint) {
    const struct {
        const char* name;
        Operation operation;
        Window want;
    } cases[] = {
        // From factor 3 to 2: 20 days become 40 around JD 2455060, 1 magnitude 2 around 11.
        {"JDZoomOut", &JDZoomOut, {2455040, 2455080, 40, 9, 10, 1, 2, 3}},
        {"MagZoomOut", &MagZoomOut, {2455030, 2455050, 20, 10, 12, 2, 3, 2}},
        {"MagnifyOut", &MagnifyOut, {2455040, 2455080, 40, 10, 12, 2, 2, 2}},
    };
    for (const auto& c : cases) {
        PlotWindowState v = Zoomed(3);
        EXPECT_TRUE(c.operation(v, 60, 11, 1)) << c.name;
        EXPECT_EQ(WindowOf(v), c.want) << c.name;
    }
}

TEST(ZoomOut, ReachingFactorOneShowsTheFullRangeWhereverThePress) {
    // The JD and magnitude zooms come back to the fitted margins, the magnify tool to the
    // bare extremes; the other axis stays.
    const struct {
        const char* name;
        Operation operation;
        PlotWindowState start;
        int step;
        Window want;
    } cases[] = {
        {"JD at 2", &JDZoomOut, Zoomed(2), 1, {2454995, 2455105, 110, 9, 10, 1, 1, 2}},
        {"JD Ctrl at 3", &JDZoomOut, Zoomed(3), 5, {2454995, 2455105, 110, 9, 10, 1, 1, 3}},
        {"Mag at 2", &MagZoomOut, Zoomed(2), 1, {2455030, 2455050, 20, 7.5, 12.5, 5, 2, 1}},
        {"Mag Ctrl at 3", &MagZoomOut, Zoomed(3), 5, {2455030, 2455050, 20, 7.5, 12.5, 5, 3, 1}},
        {"Magnify at 2", &MagnifyOut, Zoomed(2), 1, {2455000, 2455100, 100, 8, 12, 4, 1, 1}},
        {"Magnify at 1", &MagnifyOut, Fitted(), 1, {2455000, 2455100, 100, 8, 12, 4, 1, 1}},
    };
    const double presses[][2] = {{-50, 3}, {kPressX, kPressY}, {500, 20}};
    for (const auto& c : cases) {
        for (const auto& [x, y] : presses) {
            PlotWindowState v = c.start;
            EXPECT_TRUE(c.operation(v, x, y, c.step)) << c.name;
            EXPECT_EQ(WindowOf(v), c.want) << c.name << " at " << x << ", " << y;
        }
    }
}

TEST(ZoomOperations, APressWithShiftOrAltChangesNothing) {
    const Operation operations[] = {&JDZoomIn,   &JDZoomOut, &MagZoomIn,
                                    &MagZoomOut, &MagnifyIn, &MagnifyOut};
    for (const int shift : {1, 3, 4, 6}) {
        for (const PlotWindowState& start : {Fitted(), Zoomed(2)}) {
            for (size_t i = 0; i < std::size(operations); ++i) {
                PlotWindowState v = start;
                EXPECT_FALSE(operations[i](v, kPressX, kPressY, ZoomStep(shift)));
                EXPECT_EQ(WindowOf(v), WindowOf(start)) << "operation " << i << ", shift " << shift;
            }
        }
    }
}

TEST(ZoomToBox, FactorsAreTheTrueRatiosAndAPlainPressGoesOnFromThem) {
    // A tenth of the 100 days and a quarter of the 4 magnitudes of the data.
    PlotWindowState v = Zoomed(2);
    EXPECT_TRUE(ZoomToBox(v, 20, 9, 30, 10));
    EXPECT_EQ(WindowOf(v), (Window{2455020, 2455030, 10, 9, 10, 1, 10, 4}));
    JDZoomIn(v, 25, 9.5, 1);
    EXPECT_EQ(v.JDMagnification, 11);
    EXPECT_EQ(v.WinJDWidth, 10.0 / 11);
}

TEST(ZoomOperations, TheFirstMoveAfterAnyZoomKeepsTheWindowShown) {
    // Brighter and Dimmer shift the window by half a magnitude, Back and Forward by 0.66 of
    // its width, and none of them changes its size, whichever zoom made the window.
    const struct {
        const char* name;
        std::function<void(PlotWindowState&)> zoom;
    } zooms[] = {
        {"JDZoomIn", [](PlotWindowState& v) { JDZoomIn(v, kPressX, kPressY, 1); }},
        {"MagZoomIn", [](PlotWindowState& v) { MagZoomIn(v, kPressX, kPressY, 5); }},
        {"MagZoomOut", [](PlotWindowState& v) { MagZoomOut(v, kPressX, kPressY, 1); }},
        {"MagnifyIn", [](PlotWindowState& v) { MagnifyIn(v, kPressX, kPressY, 1); }},
        {"MagnifyIn Ctrl", [](PlotWindowState& v) { MagnifyIn(v, kPressX, kPressY, 5); }},
        {"MagnifyOut", [](PlotWindowState& v) { MagnifyOut(v, kPressX, kPressY, 1); }},
        {"ZoomToBox", [](PlotWindowState& v) { ZoomToBox(v, 42, 10.5, 31, 9.25); }},
        {"wheel", [](PlotWindowState& v) { WheelZoomAbout(v, 2, true, kPressX, 9.2); }},
    };
    const auto shows = [](const PlotWindowState& v, double top, double bottom, double left,
                          double right) {
        EXPECT_NEAR(v.WinMagTop, top, 1e-9);
        EXPECT_NEAR(v.WinMagBottom, bottom, 1e-9);
        EXPECT_NEAR(v.WinJDLeft, left, 1e-9);
        EXPECT_NEAR(v.WinJDRight, right, 1e-9);
    };
    for (const auto& z : zooms) {
        SCOPED_TRACE(z.name);
        PlotWindowState zoomed = Zoomed(3);
        z.zoom(zoomed);
        const double top = zoomed.WinMagTop;
        const double bottom = zoomed.WinMagBottom;
        const double left = zoomed.WinJDLeft;
        const double right = zoomed.WinJDRight;
        const double step = 0.66 * (right - left);

        PlotWindowState v = zoomed;
        ASSERT_TRUE(StepBrighter(v));
        shows(v, top - 0.5, bottom - 0.5, left, right);
        ASSERT_TRUE(StepDimmer(v));
        ASSERT_TRUE(StepDimmer(v));
        shows(v, top + 0.5, bottom + 0.5, left, right);

        v = zoomed;
        // Far enough from both ends of the data that neither limit stops the move.
        v.JDFirst -= 1000;
        v.JDLast += 1000;
        ASSERT_TRUE(StepBack(v));
        shows(v, top, bottom, left - step, right - step);
        ASSERT_TRUE(StepForward(v));
        ASSERT_TRUE(StepForward(v));
        shows(v, top, bottom, left + step, right + step);
    }
}

TEST(ZoomToBox, ATinyBoxShowsTheNarrowestWindowAPressGoesTo) {
    PlotWindowState v = Zoomed(2);
    // 10^-7 day and 10^-6 magnitude, near the JD base where single precision holds them.
    ASSERT_TRUE(ZoomToBox(v, 0.001, 10, 0.0010001, 10.000001));
    EXPECT_NEAR(v.WinJDWidth, 1e-5, 1e-9);  // full JDs hold a few 10^-10 day
    EXPECT_NEAR(v.WinJDLeft + v.WinJDWidth / 2, 2455000.00100005, 1e-9);
    EXPECT_NEAR(v.WinMagHeight, 1e-4, 1e-12);
    EXPECT_NEAR(v.WinMagTop + v.WinMagHeight / 2, 10.0000005, 1e-6);
    EXPECT_FALSE(ZoomToBox(v, 0.001, 10, 0.001, 11));  // no width at all
}

// Where a point stands between the left (0) and right (1) edges, and the top (0) and
// bottom (1) edges.
double JDShare(const PlotWindowState& v, double jd) {
    return (jd - v.WinJDLeft) / (v.WinJDRight - v.WinJDLeft);
}
double MagShare(const PlotWindowState& v, double mag) {
    return (mag - v.WinMagTop) / (v.WinMagBottom - v.WinMagTop);
}

TEST(WheelZoomAbout, NotchesZoomTheJDAxisAboutThePointerAndOutToTheFittedRange) {
    PlotWindowState v = Fitted();
    const double x = 25;  // JD 2455025, 30 of the 110 days from the left edge
    WheelZoomAbout(v, 3, false, x, 10);
    EXPECT_EQ(v.JDMagnification, 4);
    EXPECT_DOUBLE_EQ(v.WinJDWidth, 110.0 / 24);
    EXPECT_NEAR(v.WinJDRight - v.WinJDLeft, v.WinJDWidth, 1e-9);
    EXPECT_NEAR(JDShare(v, 2455025), 30.0 / 110, 1e-9);
    EXPECT_EQ(std::make_tuple(v.WinMagTop, v.WinMagBottom, v.MagMagnification),
              std::make_tuple(7.5, 12.5, 1.0f));

    WheelZoomAbout(v, -1, false, x, 10);
    EXPECT_EQ(v.JDMagnification, 3);
    EXPECT_DOUBLE_EQ(v.WinJDWidth, 110.0 / 8);
    EXPECT_NEAR(JDShare(v, 2455025), 30.0 / 110, 1e-9);

    WheelZoomAbout(v, -2, false, x, 10);
    EXPECT_EQ(WindowOf(v), WindowOf(Fitted()));
}

TEST(WheelZoomAbout, NotchesWithMagnitudeZoomTheMagnitudeAxisAboutThePointer) {
    PlotWindowState v = Fitted();
    WheelZoomAbout(v, 2, true, 25, 9);  // 1.5 of the 5 magnitudes from the top
    EXPECT_EQ(v.MagMagnification, 3);
    EXPECT_DOUBLE_EQ(v.WinMagHeight, 5.0 / 6);
    EXPECT_NEAR(v.WinMagBottom - v.WinMagTop, v.WinMagHeight, 1e-9);
    EXPECT_NEAR(MagShare(v, 9), 0.3, 1e-9);
    EXPECT_EQ(std::make_tuple(v.WinJDLeft, v.WinJDRight, v.JDMagnification),
              std::make_tuple(2454995.0, 2455105.0, 1.0f));

    WheelZoomAbout(v, -5, true, 25, 9);
    EXPECT_EQ(WindowOf(v), WindowOf(Fitted()));
}

}  // namespace

// The phase plot's window holds phases, -0.5 to 1.5 with no margin: a zoom out to a factor of
// 1 comes back to those two cycles exactly, and the magnify tool adds no JD margin.
TEST(ZoomOperations, PhasePlotZoomsKeepNoMarginAroundItsTwoCycles) {
    PlotWindowState v;
    v.JDFirst = -0.5;
    v.JDLast = 1.5;
    v.JDMargin = 0;
    v.WinJDLeft = -0.5;
    v.WinJDRight = 1.5;
    v.WinJDWidth = 2;
    v.WinMagTop = 9;
    v.WinMagBottom = 11;
    v.WinMagHeight = 2;
    PlotWindowState zoomed = v;
    ASSERT_TRUE(JDZoomIn(zoomed, 0.75, 10, 1));  // x = phase + 0.5: centred on phase 0.25
    EXPECT_DOUBLE_EQ(zoomed.WinJDLeft, -0.25);
    EXPECT_DOUBLE_EQ(zoomed.WinJDRight, 0.75);
    ASSERT_TRUE(JDZoomOut(zoomed, 0.75, 10, 1));
    EXPECT_EQ(zoomed.WinJDLeft, -0.5);
    EXPECT_EQ(zoomed.WinJDRight, 1.5);
    PlotWindowState magnified = v;
    ASSERT_TRUE(MagnifyIn(magnified, 1.0, 10, 1));
    EXPECT_DOUBLE_EQ(magnified.WinJDLeft, 0.0);
    EXPECT_DOUBLE_EQ(magnified.WinJDRight, 1.0);
}

}  // namespace sabrix

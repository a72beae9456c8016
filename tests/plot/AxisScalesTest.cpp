// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <limits>

#include "plot/AxisScales.h"
#include "plot/PlotFixture.h"
#include "plot/PlotWindow.h"

namespace sabrix {

using test::AnyLit;
using test::LitColumns;
using test::LitRows;

namespace {

PlotWindowState Window(double left, double right, double top = 0, double bottom = 0) {
    PlotWindowState v;
    v.WinJDLeft = left;
    v.WinJDRight = right;
    v.WinJDWidth = right - left;
    v.WinMagTop = top;
    v.WinMagBottom = bottom;
    v.WinMagHeight = bottom - top;
    return v;
}

// A JD strip of 25 rows over the window, drawn: major ticks reach up to row 18, minor ticks
// to row 21, labels stay above row 16.
Canvas JDStrip(int width, const PlotWindowState& v) {
    Canvas view, jd(width, 25), mag(width, 25);
    ApplyDesignLook(view, jd, mag);
    jd.SetUserScale(v.WinJDLeft, 0, v.WinJDWidth, 20);
    WriteJDScale(jd, v);
    return jd;
}

// A magnitude strip of 25 columns showing top to top + height, with the ticks of v.
Canvas MagStrip(int height, double top, double span, const PlotWindowState& v) {
    Canvas view, jd(25, height), mag(25, height);
    ApplyDesignLook(view, jd, mag);
    mag.SetUserScale(0, top, 20, span);
    WriteMagScale(mag, v);
    return mag;
}

constexpr int kBottomRow = 24;
constexpr int kMajorOnlyRow = 19;

// The runs of lit pixels along one direction of a band of the strip, runs closer than `join`
// pixels counted as one: the labels printed in it.
int LabelsInBand(const Canvas& c, bool alongX, int band0, int band1, int join) {
    const int length = alongX ? c.pixelWidth() : c.pixelHeight();
    int labels = 0;
    int lastLit = -join - 1;
    for (int i = 0; i < length; ++i) {
        const bool lit = alongX ? AnyLit(c, i, band0, i, band1) : AnyLit(c, band0, i, band1, i);
        if (!lit) continue;
        if (i - lastLit > join) ++labels;
        lastLit = i;
    }
    return labels;
}

}  // namespace

TEST(JDTickStep, FollowsTheTableOfWidthsAndNeverGivesZero) {
    const std::pair<double, int64_t> table[] = {
        {1, 100},    {4, 2},      {10, 4},       {25, 12},      {50, 24},      {150, 74},
        {200, 100},  {700, 100},  {1199, 100},   {1200, 200},   {1500, 300},   {2000, 200},
        {3000, 300}, {5000, 500}, {10000, 1000}, {20000, 2000}, {36000, 3600}, {0, 100},
        {9.6, 4},    {0.4, 100},  {2.5, 100}};  // 2.5 rounds half to even: 2 days
    for (const auto& [width, step] : table) EXPECT_EQ(JDTickStep(width), step) << width;
    for (double odd : {-10.0, 1e300, std::nan(""), 3e10, 1073741824000.0, 1e13})
        EXPECT_GT(std::abs(JDTickStep(odd)), 0) << odd;
    EXPECT_EQ(JDTickStep(3e10), 3000000000);
}

TEST(WriteJDScale, WidthTenPutsLabelledTicksOnMultiplesOfFourAndMinorOnesBetween) {
    const Canvas jd = JDStrip(1000, Window(2455001, 2455011));  // 100 pixels a day
    EXPECT_EQ(LitColumns(jd, kBottomRow), (std::vector<int>{100, 300, 500, 700, 900}));
    EXPECT_EQ(LitColumns(jd, kMajorOnlyRow), (std::vector<int>{300, 700}));
    EXPECT_EQ(LitRows(jd, 100), (std::vector<int>{21, 22, 23, 24}));
    const std::vector<int> major = LitRows(jd, 300);
    EXPECT_EQ(std::vector<int>(major.end() - 7, major.end()),
              (std::vector<int>{18, 19, 20, 21, 22, 23, 24}));
    // Labels centred over the major ticks, none over the minor ones.
    EXPECT_TRUE(AnyLit(jd, 690, 0, 710, 14));
    EXPECT_FALSE(AnyLit(jd, 80, 0, 120, 16));
    EXPECT_FALSE(AnyLit(jd, 480, 0, 520, 16));
    int leftmost = 1000, rightmost = 0;
    for (int row = 0; row < 16; ++row)
        for (int x : LitColumns(jd, row))
            if (x > 200 && x < 400)
                leftmost = std::min(leftmost, x), rightmost = std::max(rightmost, x);
    EXPECT_NEAR((leftmost + rightmost) / 2.0, 300, 3);
}

TEST(WriteJDScale, WidthOneHundredFiftyUsesStepSeventyFour) {
    const Canvas jd = JDStrip(1500, Window(2455000, 2455150));  // 10 pixels a day
    // 2455024 and 2455098 are multiples of 74; 2455061 and 2455135 lie halfway.
    EXPECT_EQ(LitColumns(jd, kMajorOnlyRow), (std::vector<int>{240, 980}));
    EXPECT_EQ(LitColumns(jd, kBottomRow), (std::vector<int>{240, 610, 980, 1350}));
}

// A day's window has no multiple of its step of 100 days: halves of a day label it instead,
// and the old strip is gone.
TEST(WriteJDScale, WindowTooNarrowForItsStepIsLabelledInFinerSteps) {
    Canvas jd = JDStrip(400, Window(2455000, 2455150));
    const PlotWindowState v = Window(2455001.25, 2455002.25);
    jd.SetUserScale(v.WinJDLeft, 0, v.WinJDWidth, 20);
    WriteJDScale(jd, v);
    // 2455001.5 and 2455002.0 at a quarter and three quarters of the width; minor ticks halfway.
    EXPECT_EQ(LitColumns(jd, kMajorOnlyRow), (std::vector<int>{100, 300}));
    EXPECT_EQ(LitColumns(jd, kBottomRow), (std::vector<int>{0, 100, 200, 300}));
    EXPECT_TRUE(AnyLit(jd, 40, 0, 160, 12));   // "2455001.5" over its tick
    EXPECT_TRUE(AnyLit(jd, 240, 0, 360, 12));  // "2455002"
}

// Labels over a strip's edge are moved inside it, whole: "2455024" at the left edge starts
// at the edge instead of showing "55024".
TEST(WriteJDScale, LabelsAtTheEdgesAreMovedInsideTheStrip) {
    const Canvas jd = JDStrip(400, Window(2455024, 2455174));  // step 74: 2455024 is a multiple
    ASSERT_FALSE(LitColumns(jd, kMajorOnlyRow).empty());
    EXPECT_EQ(LitColumns(jd, kMajorOnlyRow).front(), 0);
    EXPECT_TRUE(AnyLit(jd, 0, 0, 3, 12));  // the label's first digit at the very edge
}

TEST(WriteJDScale, FortyThousandDaysAndAbsurdWindows) {
    Canvas jd = JDStrip(1000, Window(2420000, 2460000));  // step 4000
    // 2420000 to 2456000 by 4000 (2460000 falls on the right edge, just outside), and the
    // minor ticks halfway between.
    EXPECT_EQ(LitColumns(jd, kMajorOnlyRow).size(), 10u);
    EXPECT_EQ(LitColumns(jd, kBottomRow).size(), 20u);
    PlotWindowState absurd = Window(-1e14, 1e14);
    absurd.WinJDWidth = 10;  // a width that disagrees with the edges
    WriteJDScale(jd, absurd);
    WriteJDScale(jd, Window(0, std::numeric_limits<double>::infinity()));
}

TEST(WriteJDScale, WindowOfAHundredMillionMillionDaysGetsItsTicksWithoutOverflow) {
    // Steps of 10^13 and 10^14 days: the tick limit once multiplied them past int64_t and
    // left the strip bare. A tick on the right edge falls just outside the strip.
    const std::tuple<double, double, size_t> cases[] = {{2454000, 2454000 + 1e14, 10},
                                                        {-1e15, 1e15, 20}};
    for (const auto& [left, right, majors] : cases) {
        const Canvas jd = JDStrip(1000, Window(left, right));
        EXPECT_EQ(LitColumns(jd, kMajorOnlyRow).size(), majors) << left << " " << right;
    }
}

TEST(CalendarLabels, HowMuchOfTheDateShowsFollowsTheWindowWidth) {
    using Form = CalendarLabelForm;
    const double second = 1.0 / 86400;
    // Below a day the steps are a clock's, counted from midnight.
    const std::tuple<double, double, double, Form> table[] = {
        {2415020.5, 2451545.5, 3600, Form::Year},                 // a hundred years
        {2451545, 2455195, 700, Form::Year},                      // ten years
        {2451545, 2451910, 100, Form::YearMonth},                 // a year
        {2451545, 2451605, 30, Form::Day},                        // two months
        {2451545, 2451552, 2, Form::Day},                         // a week
        {2451545.25, 2451546.25, 0.5, Form::Minute},              // a day: 00:00 and 12:00
        {2451545.001, 2451545.0115, 300 * second, Form::Minute},  // a quarter of an hour
        {2451545 + 10 * second, 2451545 + 70 * second, 30 * second, Form::Second},
        {2451545.0000012, 2451545.0000112, 0.2 * second, Form::TenthSecond},  // 0.00001 day
        {2451545 + 0.0101 * second, 2451545 + 0.035 * second, 0.01 * second, Form::HundredthSecond},
    };
    for (const auto& [left, right, step, form] : table) {
        const double got = JDLabelStep(Window(left, right), JDLabels::CalendarDates);
        EXPECT_NEAR(got, step, 1e-9 * step) << std::fixed << left << " " << right;
        EXPECT_EQ(CalendarLabelFormFor(got), form) << step;
    }
    // Julian Dates take steps of 1, 2 or 5 times a power of ten below a day.
    EXPECT_DOUBLE_EQ(JDLabelStep(Window(2451545.001, 2451545.0115)), 0.005);
    EXPECT_NEAR(JDLabelStep(Window(2458860.000003, 2458860.000013)), 5e-6, 1e-15);
    EXPECT_EQ(JDLabelStep(Window(0, std::numeric_limits<double>::infinity())), 0);
}

TEST(CalendarLabels, TextOfEachForm) {
    using Form = CalendarLabelForm;
    const std::tuple<double, Form, const char*> table[] = {
        {2451545.0, Form::Year, "2000"},
        {2451545.0, Form::YearMonth, "2000-01"},
        {2451545.0, Form::Day, "2000-01-01"},
        {2451545.2, Form::Minute, "2000-01-01 16:48"},
        {2451545.0001, Form::Second, "2000-01-01 12:00:09"},
        {2451545.0000015, Form::TenthSecond, "2000-01-01 12:00:00.1"},
        {2451545.4999999999, Form::Millisecond, "2000-01-02 00:00:00.000"},
        {2299160.0, Form::Day, "1582-10-04"},
        {1e13, Form::Day, "10000000000000"},  // beyond the calendar: the JD
    };
    for (const auto& [jd, form, want] : table)
        EXPECT_EQ(CalendarTickLabel(jd, form), QString(want)) << std::fixed << jd;
}

// The calendar labels take the places of the JD labels: the ticks stay, a label stands over
// each labelled tick, and the texts differ.
TEST(WriteJDScale, CalendarLabelsStandOverTheSameTicks) {
    for (const PlotWindowState& v : {Window(2415020.5, 2451545.5), Window(2451545, 2451552)}) {
        const Canvas jd = JDStrip(700, v);
        Canvas calendar(700, 25), view, mag;
        ApplyDesignLook(view, calendar, mag);
        calendar.SetUserScale(v.WinJDLeft, 0, v.WinJDWidth, 20);
        WriteJDScale(calendar, v, JDLabels::CalendarDates);
        EXPECT_EQ(LitColumns(calendar, kBottomRow), LitColumns(jd, kBottomRow));
        const std::vector<int> majors = LitColumns(calendar, kMajorOnlyRow);
        ASSERT_GE(majors.size(), 2u);
        for (int x : majors) EXPECT_TRUE(AnyLit(calendar, x - 2, 0, x + 2, 14)) << x;
        EXPECT_NE(calendar.image(), jd.image());
    }
}

TEST(WriteMagScale, TicksRunFromTheWholeMagnitudeAboveTheTopToTheOneAboveTheBottom) {
    // The strip shows 6 to 14 (100 pixels a magnitude) so that ticks outside 7.3..12.8 show.
    const Canvas mag = MagStrip(800, 6, 8, Window(0, 0, 7.3, 12.8));
    // Half-magnitude ticks reach column 2, whole ones column 6.
    std::vector<int> halves, wholes;
    for (int m2 = 14; m2 <= 24; ++m2) halves.push_back(m2 * 50 - 600);
    for (int m = 7; m <= 12; ++m) wholes.push_back(m * 100 - 600);
    EXPECT_EQ(LitRows(mag, 1), halves);
    EXPECT_EQ(LitRows(mag, 4), wholes);
    // Labels right of the ticks, centred on the whole magnitudes; none beyond 12.
    EXPECT_TRUE(AnyLit(mag, 8, 595, 24, 605));
    EXPECT_FALSE(AnyLit(mag, 7, 150, 24, 160));
    EXPECT_FALSE(AnyLit(mag, 0, 620, 24, 799));
}

TEST(WriteMagScale, NegativeTopStartsAtTheWholeMagnitudeBelowIt) {
    const Canvas mag = MagStrip(500, -3, 5, Window(0, 0, -1.3, 1.7));    // 100 pixels a magnitude
    EXPECT_EQ(LitRows(mag, 4), (std::vector<int>{100, 200, 300, 400}));  // -2, -1, 0, 1
    EXPECT_EQ(LitRows(mag, 1), (std::vector<int>{100, 150, 200, 250, 300, 350, 400}));
    EXPECT_TRUE(AnyLit(mag, 8, 195, 24, 205));  // "-1"
}

// A window inside one whole magnitude (15.08 to 15.37) would show no label: tenths label it.
TEST(WriteMagScale, WindowInsideOneMagnitudeIsLabelledInFinerSteps) {
    const Canvas mag = MagStrip(290, 15.08, 0.29, Window(0, 0, 15.08, 15.37));  // 1000 px a mag
    EXPECT_EQ(LitRows(mag, 4), (std::vector<int>{20, 120, 220}));               // 15.1, 15.2, 15.3
    EXPECT_EQ(LitRows(mag, 1), (std::vector<int>{20, 70, 120, 170, 220, 270}));
    for (int row : {20, 120, 220}) EXPECT_TRUE(AnyLit(mag, 8, row - 4, 24, row + 4)) << row;
}

// Down to the lowest window a zoom shows, a ten-thousandth of a magnitude, two labels at least
// stand in the strip, whole: labels such as "14.00002" move left over shortened ticks, or
// shrink, rather than run off the strip's right edge.
TEST(WriteMagScale, EveryWindowDownToATenThousandthHasTwoWholeLabels) {
    for (const double height : {1e-4, 2.5e-4, 1e-3, 4e-3, 0.02, 0.15}) {
        for (const double top : {14.00003, 9.87654, -1.23456}) {
            SCOPED_TRACE(std::to_string(top) + " + " + std::to_string(height));
            const PlotWindowState v = Window(0, 0, top, top + height);
            Canvas view, jd(45, 400), mag(45, 400);
            ApplyDesignLook(view, jd, mag);
            mag.SetUserScale(0, top, 20, height);
            WriteMagScale(mag, v);
            // Beyond the longest tick (5 of the 20 units) there is only text.
            EXPECT_GE(LabelsInBand(mag, false, 12, 44, 3), 2);
            EXPECT_FALSE(AnyLit(mag, 44, 0, 44, 399));
        }
    }
}

// The deepest JD zoom, 0.00001 day, still labels two ticks, with Julian Dates and with
// calendar dates (then to a tenth of a second).
TEST(WriteJDScale, EveryWindowDownToAHundredThousandthOfADayHasTwoLabels) {
    for (const double width : {1e-5, 3e-5, 1e-4, 1e-3, 0.02}) {
        for (const double left : {2458860.0000031, 2451545.7654321}) {
            for (const JDLabels labels : {JDLabels::JulianDates, JDLabels::CalendarDates}) {
                SCOPED_TRACE(std::to_string(left) + " + " + std::to_string(width) +
                             (labels == JDLabels::CalendarDates ? " calendar" : " JD"));
                const PlotWindowState v = Window(left, left + width);
                Canvas view, jd(1000, 25), mag(45, 400);
                ApplyDesignLook(view, jd, mag);
                jd.SetUserScale(v.WinJDLeft, 0, v.WinJDWidth, 20);
                WriteJDScale(jd, v, labels);
                EXPECT_GE(LabelsInBand(jd, true, 0, 13, 12), 2);
                EXPECT_GE(LitColumns(jd, kMajorOnlyRow).size(), 2u);
            }
        }
    }
}

TEST(WriteMagScale, AbsurdMagnitudesDrawNothingInsteadOfHanging) {
    Canvas mag = MagStrip(100, 0, 1e31, Window(0, 0, 1e30, 2e30));
    WriteMagScale(mag, Window(0, 0, 0, 1e9));
    EXPECT_FALSE(AnyLit(mag, 0, 0, 24, 99));
}

}  // namespace sabrix

namespace sabrix {

// Reduced times (HJD - 2450000) were labelled as they are stored, their calendar dates in the
// year -4706.
TEST(WriteJDScale, TimeOffsetLabelsTheTimesAsTheFullDatesThatStandThere) {
    for (const JDLabels labels : {JDLabels::JulianDates, JDLabels::CalendarDates}) {
        for (const double width : {2500.0, 3.0, 0.01}) {
            SCOPED_TRACE(width);
            const auto strip = [&](double left, double offset) {
                const PlotWindowState v = Window(left, left + width);
                Canvas view, jd(800, 25), mag(45, 400);
                ApplyDesignLook(view, jd, mag);
                jd.SetUserScale(v.WinJDLeft, 0, v.WinJDWidth, 20);
                WriteJDScale(jd, v, labels, offset);
                return jd.image();
            };
            // (An edge off the pixel grid: a tick exactly between two pixels may round either way.)
            EXPECT_EQ(strip(2165.2137, 2450000), strip(2452165.2137, 0));
            EXPECT_NE(strip(2165.2137, 2450000), strip(2165.2137, 0));
        }
    }
}

}  // namespace sabrix

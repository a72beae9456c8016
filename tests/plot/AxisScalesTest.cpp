// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/NumberText.h"
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

// Whether the step is 1, 2 or 5 times a power of ten.
bool OneTwoFive(double step) {
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    return std::abs(mantissa - 1) < 1e-6 || std::abs(mantissa - 2) < 1e-6 ||
           std::abs(mantissa - 5) < 1e-6;
}

// The labels of a layout, in pixel order: none over another or over an edge, and three at
// least on a strip of 300 pixels or more.
void ExpectReadable(const ScaleLayout& layout, double extent, bool countLabels = true) {
    ASSERT_FALSE(layout.major.empty());
    // Three labels fit whatever the phase of the ticks when a label takes at most a sixth of
    // the strip; longer labels (a JD to the millionth of a day) get two.
    double longest = 0;
    for (const ScaleLabel& label : layout.labels) longest = std::max(longest, label.length);
    EXPECT_GE(layout.labels.size(), !countLabels || extent < 300 || longest > extent / 3 ? 1u
                                    : longest <= extent / 6                              ? 3u
                                                                                         : 2u);
    double end = -1e9;
    for (const ScaleLabel& label : layout.labels) {
        EXPECT_GE(label.start, 0) << label.text.toStdString();
        EXPECT_LE(label.start + label.length, extent) << label.text.toStdString();
        EXPECT_GE(label.start, end + 4) << label.text.toStdString();
        end = label.start + label.length;
    }
}

// Star data over four years ran together as "2456500245700024575002458000"; steps of 3,900
// and 1,100 days; a 130-day view had two labels; the left label was pushed over its neighbour.
TEST(LayOutJDScale, LabelsReadAtEveryWidthAndStepOneTwoOrFive) {
    const std::pair<double, double> windows[] = {
        {2456300, 2458200},       {2425480, 2426620},       {2455000, 2455130},
        {2420000, 2460000},       {2455001.25, 2455002.25}, {2458860.0000031, 2458860.0000131},
        {2457845.46, 2457846.02}, {2451545, 2451545 + 3.7}};
    for (const int width : {300, 400, 650, 800, 1200, 1600}) {
        for (const auto& [left, right] : windows) {
            for (const JDLabels labels : {JDLabels::JulianDates, JDLabels::CalendarDates}) {
                SCOPED_TRACE(std::to_string(width) + " px, " + std::to_string(left) + " to " +
                             std::to_string(right) +
                             (labels == JDLabels::CalendarDates ? " calendar" : " JD"));
                const PlotWindowState v = Window(left, right);
                Canvas view, jd(width, 25), mag(45, 400);
                ApplyDesignLook(view, jd, mag);
                jd.SetUserScale(v.WinJDLeft, 0, v.WinJDWidth, 20);
                const ScaleLayout layout = LayOutJDScale(jd, v, labels);
                // Calendar labels of times are long: they are held to no overlap alone.
                ExpectReadable(layout, width, labels == JDLabels::JulianDates);
                if (labels == JDLabels::JulianDates) {
                    EXPECT_TRUE(OneTwoFive(layout.step));
                }
            }
        }
    }
}

TEST(LayOutMagScale, LabelsReadAtEveryHeightAndStepOneTwoOrFive) {
    const std::pair<double, double> windows[] = {{7.3, 12.8},  {-1.3, 1.7}, {15.08, 15.37},
                                                 {9.5, 10.3},  {2, 60},     {14.00003, 14.00013},
                                                 {11.2, 11.6}, {-30, 30}};
    for (const int height : {200, 300, 450, 700, 1000}) {
        for (const auto& [top, bottom] : windows) {
            SCOPED_TRACE(std::to_string(height) + " px, " + std::to_string(top));
            const PlotWindowState v = Window(0, 0, top, bottom);
            Canvas view, jd(45, 400), mag(45, height);
            ApplyDesignLook(view, jd, mag);
            mag.SetUserScale(0, top, 20, bottom - top);
            const ScaleLayout layout = LayOutMagScale(mag, v);
            ExpectReadable(layout, height);
            EXPECT_TRUE(OneTwoFive(layout.step));
        }
    }
}

// The phase, frequency, power and period scales follow the JD strip's rule, whatever the
// zoom and the width: labels clear of each other and inside the strip, three at least from
// 300 pixels, each naming the value at its tick; linear steps 1, 2 or 5 times a power of ten.
TEST(LayOutLinearScale, PhaseFrequencyPowerAndPeriodLabelsRead) {
    enum class Kind { Phase, Frequency, Power, Period };
    struct Case {
        Kind kind;
        double low, high;
    };
    const Case cases[] = {{Kind::Phase, -0.5, 1.5},       {Kind::Phase, 0.31, 0.39},
                          {Kind::Phase, 0.2, 0.2003},     {Kind::Phase, 1.2, 1.5},
                          {Kind::Frequency, 1e-4, 20},    {Kind::Frequency, 0.0004, 0.0009},
                          {Kind::Frequency, 3.99, 4.01},  {Kind::Frequency, 123.4, 123.41},
                          {Kind::Power, 0, 0.05},         {Kind::Power, 0, 1.05},
                          {Kind::Power, 0.3, 0.31},       {Kind::Period, 0.05, 2400},
                          {Kind::Period, 3.9, 4.2},       {Kind::Period, 0.9, 11},
                          {Kind::Period, 8, 12},          {Kind::Period, 150, 170},
                          {Kind::Period, 0.0503, 0.0507}, {Kind::Period, 1e-3, 1e4},
                          {Kind::Period, 1.5, 18},        {Kind::Period, 12345.6, 12399.9}};
    for (const int pixels : {300, 400, 800, 1600}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(pixels) + " px, " + std::to_string(c.low) + " to " +
                         std::to_string(c.high));
            const bool down = c.kind == Kind::Power;
            Canvas view, across(pixels, 25), strip(45, pixels);
            ApplyDesignLook(view, across, strip);
            if (!down) strip = across;
            ScaleLayout layout;
            if (c.kind == Kind::Period) {
                const double left = std::log10(c.low);
                strip.SetUserScale(left, 0, std::log10(c.high) - left, 20);
                layout = LayOutLogScale(strip, left, std::log10(c.high));
            } else if (down) {
                strip.SetUserScale(0, c.high, 20, c.low - c.high);
                layout = LayOutLinearScale(strip, c.low, c.high, StripRun::Down);
            } else {
                strip.SetUserScale(c.low, 0, c.high - c.low, 20);
                layout = LayOutLinearScale(strip, c.low, c.high, StripRun::Across);
            }
            ExpectReadable(layout, pixels);
            if (c.kind != Kind::Period) {
                EXPECT_TRUE(OneTwoFive(layout.step));
            }
            for (const ScaleLabel& label : layout.labels) {
                double named = 0;
                ASSERT_TRUE(ParseNumber(label.text.toStdString(), named));
                const double at =
                    c.kind == Kind::Period ? std::pow(10.0, label.value) : label.value;
                EXPECT_NEAR(named, at, 1e-9 * std::max(1.0, std::abs(at)));
            }
        }
    }
}

TEST(WriteJDScale, LabelsStandCentredOverTheirTicksWithMinorTicksBetween) {
    const PlotWindowState v = Window(2455001, 2455011);
    const Canvas jd = JDStrip(1000, v);
    Canvas view, probe(1000, 25), mag;
    ApplyDesignLook(view, probe, mag);
    probe.SetUserScale(v.WinJDLeft, 0, v.WinJDWidth, 20);
    const ScaleLayout layout = LayOutJDScale(probe, v);
    ASSERT_GE(layout.labels.size(), 3u);
    const std::vector<int> majors = LitColumns(jd, kMajorOnlyRow);
    EXPECT_GE(majors.size(), 3u);
    EXPECT_GT(LitColumns(jd, kBottomRow).size(), majors.size());
    for (const ScaleLabel& label : layout.labels) {
        const int x = static_cast<int>(std::lround(label.centre));
        EXPECT_TRUE(AnyLit(jd, x - 3, 0, x + 3, 14)) << x;
        if (label.start > 0 && label.start + label.length < 1000) {
            EXPECT_NEAR(label.start + label.length / 2, label.centre, 0.5);
        }
    }
}

TEST(WriteJDScale, AbsurdWindowsDrawNothingInsteadOfHanging) {
    Canvas jd = JDStrip(1000, Window(2420000, 2460000));
    PlotWindowState absurd = Window(-1e14, 1e14);
    absurd.WinJDWidth = 10;  // a width that disagrees with the edges
    WriteJDScale(jd, absurd);
    WriteJDScale(jd, Window(0, std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(AnyLit(jd, 0, 0, 999, 24));
}

TEST(CalendarLabels, HowMuchOfTheDateShowsFollowsTheWindowWidth) {
    using Form = CalendarLabelForm;
    // Years over a century, months over a year, days over a week, clock steps below a day.
    const std::tuple<double, double, Form> table[] = {
        {2415020.5, 2451545.5, Form::Year},
        {2451545, 2451910, Form::YearMonth},
        {2451545, 2451552, Form::Day},
        {2451545.25, 2451546.25, Form::Minute},
        {2451545 + 10 / 86400.0, 2451545 + 70 / 86400.0, Form::Second},
    };
    for (const auto& [left, right, form] : table) {
        const double got = JDLabelStep(Window(left, right), JDLabels::CalendarDates);
        EXPECT_EQ(got >= 365  ? Form::Year
                  : got >= 28 ? Form::YearMonth
                              : CalendarLabelFormFor(got),
                  form)
            << std::fixed << left << " " << right;
    }
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
            const auto texts = [&](double left, double offset) {
                const PlotWindowState v = Window(left, left + width);
                Canvas view, jd(800, 25), mag(45, 400);
                ApplyDesignLook(view, jd, mag);
                jd.SetUserScale(v.WinJDLeft, 0, v.WinJDWidth, 20);
                std::vector<QString> shown;
                for (const ScaleLabel& label : LayOutJDScale(jd, v, labels, offset).labels)
                    shown.push_back(label.text);
                return shown;
            };
            EXPECT_EQ(texts(2165.2137, 2450000), texts(2452165.2137, 0));
            EXPECT_NE(texts(2165.2137, 2450000), texts(2165.2137, 0));
        }
    }
}

}  // namespace sabrix

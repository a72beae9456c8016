// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <limits>

#include "analysis/PolyFit.h"
#include "support/TempTable.h"

namespace sabrix {
namespace {

ObsRow Row(double jd, double mag, const char* faint = "") {
    ObsRow r;
    r.JD = jd;
    r.Mag = mag;
    r.Faint = faint;
    return r;
}

TEST(ReadDegree, WholeNumbersPassAndAFractionIsRefusedNotRounded) {
    EXPECT_EQ(ReadDegree(QStringLiteral("8")), 8);
    EXPECT_EQ(ReadDegree(QStringLiteral(" 3.0 ")), 3);
    EXPECT_EQ(ReadDegree(QStringLiteral("41")), 41);
    for (const char* whole : {"8", " 3.0 ", "41", "-1", "x", ""})
        EXPECT_EQ(DegreeRefusal(QString::fromLatin1(whole)), std::nullopt) << whole;
    const QString refusal =
        QStringLiteral("Type the degree of fit as a whole number from 0 to 40, for example 3.");
    for (const char* fraction : {"2.5", " 3.5 ", "0.1", "-0.5"}) {
        EXPECT_EQ(DegreeRefusal(QString::fromLatin1(fraction)), refusal) << fraction;
        try {
            ReadDegree(QString::fromLatin1(fraction));
            ADD_FAILURE() << fraction;
        } catch (const SabrixError& e) {
            EXPECT_EQ(QString::fromUtf8(e.what()), refusal) << fraction;
        }
    }
    for (const char* text : {"abc", "", "8x"}) {
        try {
            ReadDegree(QString::fromLatin1(text));
            ADD_FAILURE() << text;
        } catch (const SabrixError& e) {
            EXPECT_STREQ(e.what(), "Type mismatch") << text;
        }
    }
    EXPECT_THROW(ReadDegree(QStringLiteral("40000")), SabrixError);
}

TEST(LoadPoly, EveryRowCountsWhateverTheWindowAndTheFainterThanFlag) {
    test::TempTable t;
    t.Add({Row(1000, 8), Row(1500, 10, "<"), Row(2000, 12)});
    PlotWindowState view;
    view.JDFirst = 1000;
    view.WinJDLeft = 1900;
    view.WinJDRight = 1950;
    const auto fit = LoadPoly(t.table, PointFilter(), view, 0);
    ASSERT_NE(fit, nullptr);
    EXPECT_EQ(fit->XYCount(), 3);
    EXPECT_DOUBLE_EQ(fit->RegVal(0), 10);
    EXPECT_THROW(LoadPoly(t.table, PointFilter(), view, 41), RegressionDegreeError);
}

TEST(LoadPoly, OverflowGivesNoFitAndAnEmptyTableAnError) {
    test::TempTable t;
    t.Add({Row(1000, 1e308), Row(1001, 1e308)});
    PlotWindowState view;
    view.JDFirst = 1000;
    EXPECT_EQ(LoadPoly(t.table, PointFilter(), view, 1), nullptr);
    test::TempTable empty;
    EXPECT_THROW(LoadPoly(empty.table, PointFilter(), view, 1), SabrixError);
}

// The line through (0, 10) and (10, 12).
RegressionObject Line() {
    RegressionObject line;
    line.SetDegree(1);
    line.XYAdd(0, 10);
    line.XYAdd(10, 12);
    return line;
}

TEST(PlotPoly, SamplesEveryDayAndReportsTheEarliestExtremes) {
    RegressionObject line = Line();
    PlotWindowState view;
    view.JDFirst = 2450000;
    view.WinJDLeft = 2450000.5;
    view.WinJDRight = 2450003;
    const std::vector<PolySample> samples = SamplePolyCurve(line, view);
    ASSERT_EQ(samples.size(), 3u);
    EXPECT_EQ(samples[2].jd, 2450002.5);
    EXPECT_DOUBLE_EQ(samples[2].mag, 10.5);
    EXPECT_EQ(PolyCurveText({{2450000.5, 10.1}, {2450001.5, 12}}),
              "2450000.5 10.1\r\n2450001.5 12\r\n");

    Canvas picView(100, 100);
    picView.SetUserScale(0, 9, 10, 4);
    EXPECT_EQ(PlotPoly(view, line, picView),
              (std::vector<QString>{QStringLiteral("Polynomial"),
                                    QStringLiteral("High Mag. = 10.1  JD = 2450000.5"),
                                    QStringLiteral("Low Mag. = 10.5  JD = 2450002.5")}));
    // A flat curve: both extremes at the left edge.
    RegressionObject flat;
    flat.SetDegree(0);
    flat.XYAdd(0, 9);
    const auto lines = PlotPoly(view, flat, picView);
    EXPECT_EQ(lines[1], QStringLiteral("High Mag. = 9  JD = 2450000.5"));
    EXPECT_EQ(lines[2], QStringLiteral("Low Mag. = 9  JD = 2450000.5"));
}

// A window of 2.4 * 10^9 days asked for a sample per day: out of memory.
TEST(PlotPoly, WideWindowGetsAMillionEvenlySpacedSamples) {
    RegressionObject line = Line();
    PlotWindowState view;
    view.JDFirst = 2450000;
    view.WinJDLeft = 2450000;
    for (const double span : {999998.5, 2.4e9}) {
        SCOPED_TRACE(span);
        view.WinJDRight = view.WinJDLeft + span;
        const std::vector<PolySample> samples = SamplePolyCurve(line, view);
        ASSERT_EQ(samples.size(), span < 1e6 ? 999999u : 1000000u);
        EXPECT_EQ(samples.front().jd, view.WinJDLeft);
        EXPECT_NEAR(samples[1].jd - samples[0].jd, span < 1e6 ? 1.0 : 2.4e9 / 999999, 1e-3);
        EXPECT_EQ(samples.back().jd, span < 1e6 ? view.WinJDLeft + 999998 : view.WinJDRight);
    }
}

TEST(PlotPoly, ACurveBeyondTheSingleRangeIsAnOverflow) {
    RegressionObject huge;
    huge.SetDegree(0);
    huge.XYAdd(0, 1e300);
    PlotWindowState view;
    view.WinJDRight = 2;
    Canvas picView(10, 10);
    const QImage before = picView.image();
    try {
        PlotPoly(view, huge, picView);
        ADD_FAILURE();
    } catch (const SabrixError& e) {
        EXPECT_STREQ(e.what(), "Overflow");
    }
    EXPECT_EQ(picView.image(), before);
}

}  // namespace
}  // namespace sabrix

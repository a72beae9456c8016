// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QBuffer>
#include <cmath>
#include <random>

#include "analysis/OMinusC.h"
#include "analysis/OcDiagram.h"
#include "analysis/OcFrame.h"

namespace sabrix {
namespace {

// Times of minimum at 40 cycles from 0 to 4,000 with errors of 0.0008 d and Gaussian noise
// of that size; q the quadratic term (days per cycle squared).
void MakeTimes(double t0, double period, double q, std::vector<double>& times,
               std::vector<double>& errors) {
    std::mt19937_64 rng(5);
    std::normal_distribution<double> noise(0, 0.0008);
    for (int i = 0; i < 40; ++i) {
        const double e = 100.0 * i + (i % 3);
        times.push_back(t0 + period * e + q * e * e + noise(rng));
        errors.push_back(0.0008);
    }
}

TEST(OMinusC, LineCorrectsThePeriodAndParabolaMeasuresItsChange) {
    const double t0 = 2450100.2731, period = 1.3456789;
    std::vector<double> times, errors;
    MakeTimes(t0, period, 0, times, errors);
    // An ephemeris 0.0003 d/cycle too long and 0.01 d late.
    const Ephemeris typed{t0 + 0.01, period + 3e-5};
    const std::vector<OcPoint> points = ComputeOc(typed, times, errors);
    ASSERT_EQ(points.size(), times.size());
    EXPECT_EQ(points[39].cycle, 3900);
    const std::optional<OcFit> line = FitOc(typed, points, 1);
    ASSERT_TRUE(line);
    EXPECT_GT(line->periodError, 0);
    EXPECT_LT(line->periodError, 1e-6);
    EXPECT_NEAR(line->corrected.period, period, 3 * line->periodError);
    EXPECT_NEAR(line->corrected.epoch, t0, 3 * line->epochError);

    std::vector<double> changing, changingErrors;
    const double q = 2e-9;
    MakeTimes(t0, period, q, changing, changingErrors);
    const Ephemeris exact{t0, period};
    const std::vector<OcPoint> curved = ComputeOc(exact, changing, changingErrors);
    const std::optional<OcFit> parabola = FitOc(exact, curved, 2);
    ASSERT_TRUE(parabola);
    EXPECT_NEAR(parabola->periodChange, 2 * q, 3 * parabola->periodChangeError);
    EXPECT_LT(parabola->periodChangeError, q / 5);
    EXPECT_NEAR(parabola->at(3900), q * 3900 * 3900, 0.002);

    EXPECT_FALSE(FitOc(exact, std::span(curved).first(2), 2));
    EXPECT_TRUE(ComputeOc({t0, 0}, times, errors).empty());
}

TEST(OMinusC, TheFrameDrawsATimeAtItsCycleAndOMinusCAndFindsItFromThere) {
    const OcFrame frame({2450000, 1});
    ObsPoint point;
    point.JD = 2450010.02;
    const FramePlace place = frame.Place(point);
    ASSERT_EQ(place.count, 1);
    EXPECT_EQ(place.x[0], 10);
    EXPECT_NEAR(place.y, 0.02, 1e-9);
    const auto [from, to] = frame.RowsFor(10, 10);
    EXPECT_TRUE(from < point.JD && point.JD < to);
    EXPECT_EQ(frame.PlaceText(point, place), "E = 10, T = 2450010.02000");
}

TEST(OMinusC, DiagramLeavesABoxedOutlierOutOfItsFitAndDrawsIt) {
    const double t0 = 2450100.2731, period = 1.3456789;
    std::vector<double> times, errors;
    MakeTimes(t0, period, 0, times, errors);
    std::vector<ListedExtremum> list;
    for (size_t i = 0; i < times.size(); ++i) list.push_back({{times[i], errors[i], 30}, false});
    // One time 0.05 d late, at cycle 2000.
    list[20].value.time += 0.05;
    OcDiagram diagram;
    diagram.Set(list, {t0, period});
    const double skewed = std::fabs(diagram.Line()->corrected.epoch - t0);
    EXPECT_EQ(diagram.ToggleInBox(1990, 0.04, 2010, 0.06), 1);
    EXPECT_TRUE(diagram.list()[20].omitted);
    const std::optional<OcFit> line = diagram.Line();
    EXPECT_LT(std::fabs(line->corrected.epoch - t0), skewed);
    EXPECT_NEAR(line->corrected.period, period, 3 * line->periodError);
    EXPECT_EQ(diagram.ToggleInBox(1990, 0.04, 2010, 0.06), 1);
    EXPECT_FALSE(diagram.list()[20].omitted);

    Canvas plot(300, 200), across(300, 20), down(40, 200);
    diagram.Draw(plot, across, down);
    const QPointF outlier = plot.toPixel(diagram.points()[20].cycle, diagram.points()[20].oc);
    int white = 0;
    for (int dx = -4; dx <= 4; ++dx)
        for (int dy = -4; dy <= 4; ++dy)
            white += plot.pixelColor(static_cast<int>(outlier.x()) + dx,
                                     static_cast<int>(outlier.y()) + dy) == 0xFFFFFF;
    EXPECT_GT(white, 3);
    QBuffer csv;
    csv.open(QIODevice::WriteOnly);
    diagram.WriteCsv(csv);
    EXPECT_TRUE(csv.data().startsWith("cycle,oc,error,time,omitted\r\n0,"));
}

}  // namespace
}  // namespace sabrix

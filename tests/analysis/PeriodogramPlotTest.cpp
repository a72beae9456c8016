// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QStringList>
#include <cmath>

#include "analysis/PeriodogramPlot.h"

namespace sabrix {
namespace {

constexpr int32_t kYellow = 65535;
constexpr int32_t kGrey = 8421504;

// A periodogram of n frequencies from 0.01 c/d in steps of 0.0001, power 0.1 everywhere but a
// spike of 0.8 at one frequency.
Periodogram Spike(int64_t n, int64_t spikeAt) {
    Periodogram p;
    p.grid = {0.01, 0.0001, n};
    p.power.assign(static_cast<size_t>(n), 0.1);
    p.power[static_cast<size_t>(spikeAt)] = 0.8;
    return p;
}

std::string Labels(const ScaleLayout& layout) {
    QStringList labels;
    for (const ScaleLabel& label : layout.labels) labels << label.text;
    return labels.join(QLatin1Char(' ')).toStdString();
}

int YellowInColumn(const Canvas& c, int x) {
    int top = c.pixelHeight();
    for (int y = 0; y < c.pixelHeight(); ++y)
        if (c.pixelColor(x, y) == kYellow) top = std::min(top, y);
    return top;
}

}  // namespace

TEST(PeriodogramPlot, ShowsTheWholeGridUpToALittleAboveTheHighestPower) {
    PeriodogramPlot plot;
    plot.Reset(Spike(1000, 10));
    EXPECT_DOUBLE_EQ(plot.lowFrequency(), 0.01);
    EXPECT_DOUBLE_EQ(plot.highFrequency(), 0.01 + 999 * 0.0001);
    EXPECT_EQ(plot.lowPower(), 0);
    EXPECT_NEAR(plot.highPower(), 0.88, 1e-12);
    Periodogram flat = Spike(1000, 10);
    flat.power.assign(1000, 0.0);
    plot.Reset(flat);
    EXPECT_EQ(plot.highPower(), 0.05);  // a noise-free flat periodogram still has a scale
}

TEST(PeriodogramPlot, BoxZoomWorksInFrequencyAndInLogPeriodAndRefusesEmptyBoxes) {
    PeriodogramPlot plot;
    // The period axis is where it opens; the frequency axis first here.
    plot.SetAxis(PeriodogramAxis::Frequency);
    plot.Reset(Spike(10000, 10));  // 0.01 to 1.0099 c/d
    EXPECT_TRUE(plot.ZoomToBox(0.5, 0.2, 0.25, 0.6));
    EXPECT_DOUBLE_EQ(plot.lowFrequency(), 0.25);
    EXPECT_DOUBLE_EQ(plot.highFrequency(), 0.5);
    EXPECT_DOUBLE_EQ(plot.lowPower(), 0.2);
    EXPECT_DOUBLE_EQ(plot.highPower(), 0.6);
    plot.SetAxis(PeriodogramAxis::Period);
    EXPECT_EQ(plot.AxisCaption(), "Period (days, logarithmic)");
    // Periods 2 to 2.5 d: frequencies 0.4 to 0.5.
    EXPECT_TRUE(plot.ZoomToBox(std::log10(2.5), 0, std::log10(2.0), 0.3));
    EXPECT_NEAR(plot.lowFrequency(), 0.4, 1e-12);
    EXPECT_NEAR(plot.highFrequency(), 0.5, 1e-12);
    // No width, no height, and a box beyond the grid change nothing.
    EXPECT_FALSE(plot.ZoomToBox(0.3, 0.1, 0.3, 0.2));
    EXPECT_FALSE(plot.ZoomToBox(0.3, 0.1, 0.4, 0.1));
    EXPECT_FALSE(plot.ZoomToBox(std::log10(1000.0), 0.1, std::log10(500.0), 0.2));
    EXPECT_NEAR(plot.lowFrequency(), 0.4, 1e-12);
    // Back to the whole grid.
    plot.Reset(Spike(10000, 10));
    EXPECT_DOUBLE_EQ(plot.lowFrequency(), 0.01);
}

TEST(PeriodogramPlot, ANarrowPeakAmongThousandsOfFrequenciesAPixelIsDrawnToItsTop) {
    // 100,000 frequencies on 200 pixels: 500 to a column; the spike must still show.
    const Periodogram p = Spike(100000, 31234);
    PeriodogramPlot plot;
    plot.SetAxis(PeriodogramAxis::Frequency);
    plot.Reset(p);
    Canvas view(200, 100);
    Canvas across(200, 25);
    Canvas power(45, 100);
    plot.Draw(p, false, {}, -1, view, across, power);
    const int spikeColumn = static_cast<int>(std::floor(view.toPixel(p.grid.at(31234), 0).x()));
    const int spikeTop = static_cast<int>(std::floor(view.toPixel(0, 0.8).y()));
    EXPECT_LE(YellowInColumn(view, spikeColumn), spikeTop + 1);
    const int floorRow = static_cast<int>(std::floor(view.toPixel(0, 0.1).y()));
    EXPECT_NEAR(YellowInColumn(view, 20), floorRow, 1);
    // On the period axis the spike moves but is drawn whole as well.
    plot.SetAxis(PeriodogramAxis::Period);
    plot.Draw(p, false, {}, -1, view, across, power);
    const int periodColumn =
        static_cast<int>(std::floor(view.toPixel(-std::log10(p.grid.at(31234)), 0).x()));
    EXPECT_LE(YellowInColumn(view, periodColumn), spikeTop + 1);
}

TEST(PeriodogramPlot, WindowFunctionIsDrawnOnlyWhenAskedAndComputed) {
    Periodogram p = Spike(1000, 500);
    PeriodogramPlot plot;
    plot.SetAxis(PeriodogramAxis::Frequency);
    plot.Reset(p);
    Canvas view(200, 100);
    Canvas across(200, 25);
    Canvas power(45, 100);
    const auto greyPixels = [&] {
        int n = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x) n += view.pixelColor(x, y) == kGrey;
        return n;
    };
    plot.Draw(p, true, {}, -1, view, across, power);
    EXPECT_EQ(greyPixels(), 0);  // none computed
    p.window.assign(1000, 0.5);
    plot.Draw(p, false, {}, -1, view, across, power);
    EXPECT_EQ(greyPixels(), 0);
    plot.Draw(p, true, {}, -1, view, across, power);
    EXPECT_GT(greyPixels(), 150);
}

TEST(PeriodogramPlot, ScalesLabelFrequenciesPowersAndPeriodsByDecades) {
    Periodogram p;
    p.grid = {1.0 / 2400, 1.0 / 24000, 479991};  // periods 0.05 d to 2,400 d
    p.power.assign(479991, 0.5);
    PeriodogramPlot plot;
    plot.SetAxis(PeriodogramAxis::Frequency);
    plot.Reset(p);
    Canvas across(800, 25);
    Canvas power(45, 300);
    for (Canvas* strip : {&across, &power}) {
        strip->Font = QFont(QStringLiteral("DejaVu Sans"));
        strip->Font.setPixelSize(11);
    }
    EXPECT_EQ(Labels(plot.AcrossScale(across)),
              "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20");
    EXPECT_EQ(Labels(plot.PowerScale(power)), "0.5 0.45 0.4 0.35 0.3 0.25 0.2 0.15 0.1 0.05");
    plot.SetAxis(PeriodogramAxis::Period);
    across.resize(1200, 25);
    EXPECT_EQ(Labels(plot.AcrossScale(across)),
              "0.05 0.1 0.2 0.5 1 2 5 10 20 50 100 200 500 1000 2000");
    across.resize(300, 25);
    EXPECT_EQ(Labels(plot.AcrossScale(across)), "0.1 1 10 100 1000");
    // Within a decade: even steps of the period.
    ASSERT_TRUE(plot.ZoomToBox(std::log10(4.2), 0, std::log10(3.9), 1));
    EXPECT_EQ(Labels(plot.AcrossScale(across)), "3.9 3.95 4 4.05 4.1 4.15 4.2");
}

}  // namespace sabrix

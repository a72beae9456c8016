#include <gtest/gtest.h>

#include "plot/PlotFixture.h"
#include "plot/PlotImage.h"
#include "plot/PlotWindow.h"
#include "plot/Plotter.h"

namespace sabrix {

using test::PlotRow;

TEST(LayOutPlotArea, PutsTheJDStripAboveThePlotAndTheMagnitudeStripAtItsRight) {
    const PlotAreaLayout l = LayOutPlotArea(1200, 700);
    EXPECT_EQ(l.jdScale, QRect(15, 30, 1124, 25));
    EXPECT_EQ(l.view, QRect(15, 55, 1124, 630));
    EXPECT_EQ(l.magScale, QRect(1140, 55, 45, 630));
    EXPECT_LT(l.label.bottom(), l.view.top());
    const PlotAreaLayout tiny = LayOutPlotArea(10, 10);  // never a negative size
    EXPECT_GE(tiny.view.width(), 1);
    EXPECT_GE(tiny.view.height(), 1);
}

TEST(ComposePlotArea, PutsThePlotAndItsStripsInPlaceUnderTheLabel) {
    test::PlotTable t;
    t.Add({PlotRow(2455000, 9, test::kRed), PlotRow(2455100, 11, test::kRed)});
    AppState s;
    ASSERT_TRUE(FindExtremes(s.view, t.table));
    const PlotAreaLayout l = LayOutPlotArea(600, 300);
    PlotAreaCanvases c(l);
    Scaler(s.view, c.picView, c.picJDScale, c.picMagScale);
    Plotter(s, ObserverMarks{}, t.table, c.picView, c.picJDScale, c.picMagScale, {});
    const QImage image = ComposePlotArea(600, 300, l, c, "R LEO - (2 Points)");
    ASSERT_EQ(image.size(), QSize(600, 300));
    // The first row sits 5 days in from the left edge and 0.5 magnitude below the top.
    const double x = l.view.left() + 5.0 / 110.0 * l.view.width();
    const double y = l.view.top() + 0.5 / 3.0 * l.view.height();
    EXPECT_EQ(image.pixel(static_cast<int>(x), static_cast<int>(y)), qRgb(255, 0, 0));
    // Strips are black, the window around them is not, and the label row carries text.
    EXPECT_EQ(image.pixel(l.jdScale.left() + 1, l.jdScale.top() + 20), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(l.magScale.right(), l.magScale.bottom()), qRgb(0, 0, 0));
    EXPECT_NE(image.pixel(l.magScale.right() + 5, 100), qRgb(0, 0, 0));
    bool dark = false;
    for (int px = l.label.left(); px < l.label.left() + 100; ++px)
        for (int py = l.label.top(); py <= l.label.bottom(); ++py)
            dark = dark || qGray(image.pixel(px, py)) < 100;
    EXPECT_TRUE(dark);
}

}  // namespace sabrix

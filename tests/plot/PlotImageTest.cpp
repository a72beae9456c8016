// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QXmlStreamReader>
#include <utility>
#include <vector>

#include "plot/PlotFixture.h"
#include "plot/PlotImage.h"
#include "plot/PlotImageFile.h"
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
    ASSERT_TRUE(FindExtremes(s.view, t.table, PointFilter()));
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

// The stroke colour and the points of every polyline of an SVG picture that keeps its width
// at any scale.
std::vector<std::pair<QString, QString>> NonScalingPolylines(const QByteArray& svg) {
    std::vector<std::pair<QString, QString>> lines;
    std::vector<QString> strokes{QString()};
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QString stroke = xml.attributes().value(QLatin1String("stroke")).toString();
            strokes.push_back(stroke.isEmpty() ? strokes.back() : stroke);
            if (xml.name() == QLatin1String("polyline") &&
                xml.attributes().value(QLatin1String("vector-effect")) ==
                    QLatin1String("non-scaling-stroke"))
                lines.emplace_back(strokes.back(),
                                   xml.attributes().value(QLatin1String("points")).toString());
        } else if (xml.isEndElement()) {
            strokes.pop_back();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return lines;
}

TEST(PlotImageBytes, VectorPicturesDrawTheMagnitudeAxisAsALineThatKeepsItsWidth) {
    // In the PNG the axis is the window's colour showing through the gap between the plot
    // and the magnitude strip; a viewer that scales an SVG or PDF down closes such a gap.
    test::PlotTable t;
    t.Add({PlotRow(2455000, 9, test::kRed), PlotRow(2455100, 11, test::kRed)});
    AppState s;
    ASSERT_TRUE(FindExtremes(s.view, t.table, PointFilter()));
    const QByteArray svg = PlotImageBytes(PlotImageFormat::Svg, 600, 300, [&](PlotAreaCanvases& c) {
        Scaler(s.view, c.picView, c.picJDScale, c.picMagScale);
        Plotter(s, ObserverMarks{}, t.table, c.picView, c.picJDScale, c.picMagScale, {});
        return QStringLiteral("R LEO - (2 Points)");
    });
    const PlotAreaLayout l = LayOutPlotArea(600, 300);
    const QString gap = QString::number(l.magScale.left() - 0.5);
    const QString axis = QStringLiteral("%1,%2 %1,%3 ")
                             .arg(gap)
                             .arg(l.view.top())
                             .arg(l.view.top() + l.view.height());
    const auto lines = NonScalingPolylines(svg);
    EXPECT_NE(
        std::find(lines.begin(), lines.end(), std::make_pair(QStringLiteral("#f0f0f0"), axis)),
        lines.end())
        << svg.toStdString();
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QPainter>

#include "core/SabrixError.h"
#include "plot/PlotFixture.h"

namespace sabrix {

TEST(Canvas, MapsUserScaleToPixels) {
    Canvas c(200, 100);
    c.SetUserScale(1000, 8, 50, 4);
    EXPECT_EQ(c.toPixel(1025, 10), QPointF(100, 50));
    EXPECT_DOUBLE_EQ(c.PixelsToUserX(1), 0.25);
    EXPECT_DOUBLE_EQ(c.PixelsToUserY(3), 0.12);
    EXPECT_THROW(c.SetUserScale(0, 0, 0, 10), SabrixError);
    EXPECT_DOUBLE_EQ(c.ScaleWidth(), 50);  // unchanged by the refused scale
}

TEST(Canvas, DrawsDotsLinesCirclesTextAndClears) {
    Canvas c(100, 100);
    c.SetUserScale(0, 0, 10, 10);
    c.Dot(5, 5, 255);
    EXPECT_EQ(c.pixelColor(49, 51), 255);
    EXPECT_EQ(c.pixelColor(53, 50), 0);
    c.Line(0, 2, 10, 2, 65280);
    EXPECT_EQ(c.pixelColor(30, 20), 65280);
    c.FillColor = 16711680;
    c.Circle(2, 8, 1, 16711680);
    EXPECT_EQ(c.pixelColor(20, 80), 16711680);  // filled centre
    c.CurrentX = 6;
    c.CurrentY = 6;
    EXPECT_GT(c.TextWidth("2454000"), 0);
    EXPECT_GT(c.TextHeight("2454000"), 0);
    c.Print("2454000");
    EXPECT_DOUBLE_EQ(c.CurrentX, 0);
    EXPECT_TRUE(test::AnyLit(c, 60, 60, 99, 99));
    c.Cls();
    EXPECT_EQ(test::CountPixels(c, 0), 100 * 100);
}

TEST(Canvas, InvertModeDrawsAndUndoesARubberBand) {
    Canvas c(50, 50);
    c.SetUserScale(0, 0, 50, 50);
    c.Dot(10, 10, 65535);
    c.Mode = DrawMode::Invert;
    c.Box(5, 5, 20, 20);
    EXPECT_EQ(c.pixelColor(5, 12), 16777215);
    c.Box(5, 5, 20, 20);
    EXPECT_EQ(c.pixelColor(5, 12), 0);
    EXPECT_EQ(c.pixelColor(10, 10), 65535);
}

TEST(Canvas, VerticalLineCoversTheSamePixelsAsLineAndClipsFarEnds) {
    Canvas fast(50, 50), painted(50, 50);
    for (Canvas* c : {&fast, &painted}) c->SetUserScale(0, 8, 5, 2);  // 10 px a day, 25 px a mag
    fast.VerticalLine(2.05, 9.5, 8.7, 255);
    painted.Line(2.05, 9.5, 2.05, 8.7, 255);
    EXPECT_EQ(fast.image(), painted.image());
    fast.VerticalLine(3, -1e30, 1e30, 65280);  // whole column, no overflow
    EXPECT_EQ(fast.pixelColor(30, 0), 65280);
    EXPECT_EQ(fast.pixelColor(30, 49), 65280);
    fast.VerticalLine(99, 8, 10, 65280);  // outside: nothing
    fast.VerticalLine(1, std::nan(""), 9, 65280);
    EXPECT_EQ(fast.pixelColor(10, 30), 0);
}

TEST(Canvas, DrawsAtTwoImagePixelsPerPixelWithSharpEdges) {
    Canvas c;
    c.resize(100, 50, 2);
    ASSERT_EQ(c.image().size(), QSize(200, 100));
    EXPECT_EQ(c.pixelWidth(), 100);
    c.SetUserScale(0, 0, 100, 50);
    EXPECT_EQ(c.toPixel(50, 25), QPointF(50, 25));
    const auto at = [&c](int x, int y) { return FromQColor(QColor(c.image().pixel(x, y))); };
    // A one-pixel line is two image pixels wide, full colour, and its neighbours untouched.
    c.Line(10, 20, 90, 20, 255);
    c.Line(50, 0, 50, 49, 65280);
    c.VerticalLine(70.5, 30, 40, 16776960);
    for (int x : {30, 90, 130}) {
        EXPECT_EQ(at(x, 39), 0) << x;
        EXPECT_EQ(at(x, 40), 255) << x;
        EXPECT_EQ(at(x, 41), 255) << x;
        EXPECT_EQ(at(x, 42), 0) << x;
    }
    for (int y : {10, 60, 90}) {
        EXPECT_EQ(at(99, y), 0) << y;
        EXPECT_EQ(at(100, y), 65280) << y;
        EXPECT_EQ(at(101, y), 65280) << y;
        EXPECT_EQ(at(102, y), 0) << y;
    }
    EXPECT_EQ(at(140, 60), 16776960);
    EXPECT_EQ(at(141, 81), 16776960);
    EXPECT_EQ(at(142, 70), 0);
    EXPECT_EQ(at(141, 82), 0);
    // A dot is 3 x 3 pixels: 6 x 6 image pixels; one over the edge is cut there.
    c.Dot(20.5, 10.5, 16711680);
    c.Dot(0.2, 49.7, 16711680);
    for (int i = 38; i <= 43; ++i) {
        EXPECT_EQ(at(i, 20), 16711680) << i;
        EXPECT_EQ(at(40, i - 20), 16711680) << i;
    }
    EXPECT_EQ(at(37, 20), 0);
    EXPECT_EQ(at(44, 20), 0);
    EXPECT_EQ(at(40, 17), 0);
    EXPECT_EQ(at(40, 24), 0);
    EXPECT_EQ(at(0, 99), 16711680);
    EXPECT_EQ(at(3, 96), 16711680);
    EXPECT_EQ(at(4, 95), 0);
    EXPECT_EQ(c.pixelColor(20, 10), 16711680);
    // Text lies where it does at ratio 1, drawn at the image's resolution.
    Canvas one(100, 50);
    for (Canvas* canvas : {&c, &one}) {
        canvas->SetUserScale(0, 0, 100, 50);
        canvas->Cls();
        canvas->CurrentX = 10;
        canvas->CurrentY = 10;
        canvas->Print("2454000");
    }
    EXPECT_DOUBLE_EQ(c.CurrentY, one.CurrentY);
    int litOne = 0;
    int litTwo = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x) litOne += one.pixelColor(x, y) != 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) litTwo += at(x, y) != 0;
    EXPECT_GT(litOne, 0);
    EXPECT_GT(litTwo, 2 * litOne);
}

TEST(Canvas, VectorCopyMatchesTheSurfaceAndStaysInsideItsRectangle) {
    // The copy painted onto a picture larger than the surface, at an offset: inside the
    // surface's rectangle it must be the surface pixel for pixel, outside it untouched.
    const QPoint origin(20, 10);
    QImage copy(140, 120, QImage::Format_RGB32);
    copy.fill(Qt::white);
    QPainter painter(&copy);
    Canvas c(100, 100);
    c.SetUserScale(0, 0, 10, 10);
    c.SetVectorCopy(&painter, origin);
    c.Cls();
    c.Dot(5, 5, 255);
    c.Dot(0, 9.95, 65280);  // cut by the left and bottom edges
    c.Dot(-3, 4, 65280);    // wholly outside
    c.Line(1, 1, 30, 30);   // runs far out of the surface
    c.Lines({{2, 8, -20, 8, 16711680}, {2, 7, 4, 7, 65535}});
    c.VerticalLine(8, 2, 20, 255);
    c.Box(6, 6, 12, 12);
    c.FillColor = 16711680;
    c.Circle(3, 3, 0.5, 16711680);
    c.CurrentX = 1;
    c.CurrentY = 6;
    c.Print("2454000");
    c.SetVectorCopy(nullptr, origin);
    c.Dot(9, 1, 255);  // after the copy stopped
    painter.end();
    const QRect inside(origin, QSize(100, 100));
    int differing = 0;
    for (int y = 0; y < copy.height(); ++y)
        for (int x = 0; x < copy.width(); ++x) {
            const QPoint p(x, y);
            if (!inside.contains(p)) {
                differing += copy.pixel(p) != qRgb(255, 255, 255);
            } else if (!(x - origin.x() >= 89 && x - origin.x() <= 91 && y - origin.y() >= 9 &&
                         y - origin.y() <= 11)) {
                differing += copy.pixel(p) != c.image().pixel(p - origin);
            }
        }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(copy.pixel(origin + QPoint(90, 10)), qRgb(0, 0, 0));  // the dot drawn later
}

}  // namespace sabrix

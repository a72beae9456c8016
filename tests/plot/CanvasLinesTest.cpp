// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "plot/Canvas.h"

namespace sabrix {
namespace {

TEST(CanvasLines, DrawsTheSamePixelsAsOneLineAtATimeInOrder) {
    // Crossing and overlapping segments of two colours: the later one wins where they meet.
    const std::vector<Canvas::Segment> segments = {
        {0, 0, 99, 49, 255},  {0, 49, 99, 0, 16777215}, {50, 0, 50, 49, 255},
        {10, 25, 90, 25, -1}, {30, 30, 30, 30, 65280},  {0, 10, 99, 40, 255},
        {0, 40, 99, 10, 255}, {70, 0, 70, 49, 255}};
    Canvas one(120, 60);
    Canvas batch(120, 60);
    for (Canvas* c : {&one, &batch}) {
        c->SetUserScale(0, 0, 100, 50);
        c->ForeColor = 16711680;
    }
    for (const Canvas::Segment& s : segments) one.Line(s.x1, s.y1, s.x2, s.y2, s.color);
    batch.Lines(segments);
    EXPECT_EQ(batch.image(), one.image());
    EXPECT_EQ(batch.pixelColor(12, 30), 16711680);
}

}  // namespace
}  // namespace sabrix

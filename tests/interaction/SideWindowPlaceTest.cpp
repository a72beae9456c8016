// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "interaction/SideWindowPlace.h"

namespace sabrix {
namespace {

const QRect kArea(0, 30, 1920, 1050);  // a screen below a 30-pixel panel
const QSize kStats(360, 260);

TEST(SideWindowPlace, RightOfTheMainWindowElseLeftElseAtTheScreensRightEdge) {
    // Room at the right.
    EXPECT_EQ(SideWindowPlace(QRect(0, 100, 800, 600), kStats, kArea), QPoint(807, 100));
    EXPECT_EQ(SideWindowPlace(QRect(1552, 100, 360, 600), kStats, kArea).x(), 1552 - 8 - 360)
        << "one pixel short at the right";
    // Room at the left only.
    EXPECT_EQ(SideWindowPlace(QRect(1200, 100, 720, 600), kStats, kArea), QPoint(832, 100));
    // Room on neither side: at the right edge, over the main window.
    EXPECT_EQ(SideWindowPlace(QRect(100, 100, 1700, 600), kStats, kArea).x(), 1919 - 360);
    // Wider than the screen: the left edge stays on it.
    EXPECT_EQ(SideWindowPlace(QRect(100, 100, 1700, 600), QSize(2000, 260), kArea).x(), 0);
    // No screen known: to the right, wherever that is.
    EXPECT_EQ(SideWindowPlace(QRect(1800, 100, 800, 600), kStats, std::nullopt), QPoint(2607, 100));
}

TEST(SideWindowWidth, NarrowerToStandBesideTheMainWindowButNotBelowItsLeast) {
    const QRect area(0, 0, 1600, 1000);
    const QRect main(405, 100, 791, 600);  // x 405 to 1195
    EXPECT_EQ(SideWindowWidth(main, 360, 340, area), 360) << "fits at the right";
    EXPECT_EQ(SideWindowWidth(main, 560, 340, area), 397);
    EXPECT_EQ(SideWindowPlace(main, QSize(397, 300), area).x(), 1203) << "then placed there";
    EXPECT_EQ(SideWindowWidth(main, 560, 400, area), 560) << "too little room: over the window";
    EXPECT_EQ(SideWindowWidth(QRect(1000, 0, 400, 600), 1100, 300, area), 992) << "left is roomier";
    EXPECT_EQ(SideWindowWidth(main, 560, 340, std::nullopt), 560);
}

TEST(SideWindowPlace, TheTopFollowsTheMainWindowInsideTheScreen) {
    EXPECT_EQ(SideWindowPlace(QRect(0, 0, 800, 600), kStats, kArea).y(), 30);
    EXPECT_EQ(SideWindowPlace(QRect(0, 1000, 800, 600), kStats, kArea).y(), 1079 - 260);
    // Taller than the screen: its top stays on it.
    EXPECT_EQ(SideWindowPlace(QRect(0, 500, 800, 600), QSize(360, 2000), kArea).y(), 30);
}

// A main window that fills the screen: the record list went over the points it listed.
TEST(SideWindowPlaceAvoiding, BesideThePointsWhenBesideTheMainWindowWouldCoverThem) {
    const QRect full(0, 30, 1920, 1050);
    const QSize list(600, 330);
    // Points at the right: the list goes left of them.
    EXPECT_EQ(SideWindowPlaceAvoiding(full, list, kArea, QRect(1500, 300, 101, 50)),
              QPoint(1500 - 8 - 600, 30));
    // Points at the left: the place at the right edge is clear of them.
    EXPECT_EQ(SideWindowPlaceAvoiding(full, list, kArea, QRect(100, 300, 101, 50)),
              SideWindowPlace(full, list, kArea));
    // Points across the whole width: below them.
    EXPECT_EQ(SideWindowPlaceAvoiding(full, list, kArea, QRect(0, 100, 1920, 100)),
              QPoint(1919 - 600, 208));
    // Room beside the main window: there, whatever the points.
    EXPECT_EQ(SideWindowPlaceAvoiding(QRect(0, 100, 800, 600), list, kArea, QRect(10, 10, 5, 5)),
              QPoint(807, 100));
}

// At a scale factor of 2 the main window was centred on the whole screen and its menu bar
// stood above the top.
TEST(MainWindowFrame, InsideTheAvailableAreaAndRememberedPlacesComeBack) {
    const QRect area(0, 30, 1600, 970);
    EXPECT_EQ(MainWindowFrame(QSize(1200, 800), area), QRect(200, 115, 1200, 800));
    EXPECT_EQ(MainWindowFrame(QSize(1200, 800), QRect(0, 30, 800, 470)), QRect(0, 30, 800, 470));
    EXPECT_EQ(FrameInside(QRect(1500, -50, 400, 300), area), QRect(1200, 30, 400, 300));
    EXPECT_EQ(FrameInside(QRect(-3000, 900, 400, 300), area), QRect(0, 700, 400, 300));
    EXPECT_EQ(FrameInside(QRect(100, 100, 400, 300), area), QRect(100, 100, 400, 300));
}

// At a scale factor of 2 the window was placed before the window manager had framed it, as if
// it had no frame: its status bar then stood below the screen. Placed with the margins to
// place by, it fits once framed with a title bar of 25 pixels and borders of 1.
TEST(MainWindowFrame, AWindowPlacedBeforeItIsFramedFitsOnceFramed) {
    const QRect area(0, 0, 800, 500);
    const QSize margins = FrameMarginsToPlaceBy(QSize(0, 0));
    const QRect frame = MainWindowFrame(QSize(790, 590) + margins, area);
    const QSize inside = frame.size() - margins;
    EXPECT_TRUE(area.contains(QRect(frame.topLeft(), inside + QSize(2, 26))));
    EXPECT_EQ(FrameMarginsToPlaceBy(QSize(2, 26)), QSize(2, 26));
}

}  // namespace
}  // namespace sabrix

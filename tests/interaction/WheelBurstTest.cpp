// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "interaction/WheelBurst.h"

namespace sabrix {
namespace {

using Zoom = WheelBurst::Zoom;

testing::AssertionResult IsZoom(const std::optional<Zoom>& zoom, int notches, bool magnitude,
                                double x, double y) {
    if (!zoom) return testing::AssertionFailure() << "no zoom";
    if (zoom->notches != notches || zoom->magnitude != magnitude || zoom->x != x || zoom->y != y)
        return testing::AssertionFailure()
               << zoom->notches << " notches, magnitude " << zoom->magnitude << " at (" << zoom->x
               << ", " << zoom->y << ")";
    return testing::AssertionSuccess();
}

TEST(WheelBurst, ABurstIsOneZoomOfItsWholeNotchesAtTheLastTurnAndKeepsThePartLeft) {
    WheelBurst wheel;
    EXPECT_TRUE(wheel.Add(120, false, 10, 9));
    EXPECT_FALSE(wheel.Add(120, false, 11, 9));  // one flush for the burst
    EXPECT_FALSE(wheel.Add(60, true, 12, 8));
    EXPECT_TRUE(IsZoom(wheel.Flush(false), 2, true, 12, 8));
    EXPECT_FALSE(wheel.Flush(false));  // nothing came since

    // The half notch kept makes a whole one with the next half; turns out count down.
    EXPECT_TRUE(wheel.Add(60, false, 5, 9));
    EXPECT_TRUE(IsZoom(wheel.Flush(false), 1, false, 5, 9));
    wheel.Add(-60, false, 5, 9);
    EXPECT_FALSE(wheel.Flush(false));
    wheel.Add(-120, false, 5, 9);
    EXPECT_TRUE(IsZoom(wheel.Flush(false), -1, false, 5, 9));
    wheel.Add(180, false, 5, 9);
    EXPECT_TRUE(IsZoom(wheel.Flush(false), 1, false, 5, 9));  // 60 of it went to the -60 kept
}

TEST(WheelBurst, TurnsDuringAJobWaitForItsEndAndAreThenDrawnInOneGo) {
    WheelBurst wheel;
    EXPECT_FALSE(wheel.JobEnded());  // nothing waited
    EXPECT_TRUE(wheel.Add(120, false, 10, 9));
    EXPECT_FALSE(wheel.Flush(true));
    EXPECT_TRUE(wheel.Add(240, false, 20, 9));  // a new burst while the job still runs
    EXPECT_FALSE(wheel.Flush(true));
    EXPECT_TRUE(wheel.JobEnded());
    EXPECT_FALSE(wheel.JobEnded());
    EXPECT_FALSE(wheel.Add(120, false, 30, 9));  // the flush asked for at the end is queued
    EXPECT_TRUE(IsZoom(wheel.Flush(false), 4, false, 30, 9));
}

}  // namespace
}  // namespace sabrix

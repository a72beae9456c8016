// SPDX-License-Identifier: GPL-3.0-or-later
// The text of the tooltip over a point.
#include <gtest/gtest.h>

#include "interaction/PointDetails.h"

namespace sabrix {
namespace {

TEST(PointDetailsText, AFainterThanWithEveryFieldARowOfEmptyFieldsAndAReducedTime) {
    ObsRow faint;
    faint.JD = 2454125.75;
    faint.Faint = "<";
    faint.Mag = 12.5;
    faint.Uncertain = " 0.02 ";
    faint.Band = " Vis. ";
    faint.Init = "XYZ";
    faint.ComCod = "K ";
    faint.Comments = "clouds";
    EXPECT_EQ(PointDetailsText(faint, 0), QString("JD 2454125.75  (2007-01-25 06:00 UTC)\n"
                                                  "Magnitude <12.5 \u00b1 0.02\n"
                                                  "Band Vis.\n"
                                                  "Observer XYZ\n"
                                                  "Comment codes K\n"
                                                  "Comments: clouds"));
    ObsRow empty;
    empty.JD = 2454125.5;
    empty.Mag = 9;
    empty.Band = "  ";
    EXPECT_EQ(PointDetailsText(empty, 0),
              QString("JD 2454125.5  (2007-01-25 00:00 UTC)\nMagnitude 9\nBand (no band)"));
    // A reduced time of a three-column file is shown as the JD scale shows it.
    empty.JD = 4125.5;
    EXPECT_TRUE(
        PointDetailsText(empty, 2450000).startsWith("JD 2454125.5  (2007-01-25 00:00 UTC)"));
}

}  // namespace
}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "interaction/FormLayout.h"

namespace sabrix {
namespace {

FormLayout Resized(float width, float height, const FormLayout& from = DesignLayout()) {
    FormLayout l = from;
    ApplyFormResize(l, width, height, false);
    return l;
}

TEST(FormResize, DesignSizeGivesThePlotItsDesignProportions) {
    const FormLayout l = Resized(9330, 5895);
    EXPECT_EQ(std::make_tuple(l.picView.Left, l.picView.Top, l.picView.Width, l.picView.Height),
              std::make_tuple(225.0f, 1080.0f, 8115.0f, 2685.0f));
    // The magnitude strip, 300 twips wider than 375, follows the plot with its 8-twip gap.
    EXPECT_EQ(
        std::make_tuple(l.picMagScale.Left, l.fraButtons.Left, l.fraButtons.Top, l.staPlot.Top),
        std::make_tuple(8348.0f, 37.5f, 3990.0f, 4950.0f));
    EXPECT_EQ(std::make_tuple(l.prgLoad.Top, l.lblPrg.Top, l.lblCopyright.Top, l.Label3.Left),
              std::make_tuple(3270.0f, 3030.0f, 4595.0f, 7080.0f));
    EXPECT_EQ(l.cmdLoad.Top, 5895 * 0.59f);
}

TEST(FormResize, WideningByAThousandMovesTheFrameByHalfAndWidensThePlot) {
    const FormLayout before = Resized(9330, 5895), after = Resized(10330, 5895, before);
    EXPECT_EQ(after.fraButtons.Left - before.fraButtons.Left, 500);
    EXPECT_EQ(after.picNorvane.Left - before.picNorvane.Left, 500);
    EXPECT_EQ(after.picView.Width - before.picView.Width, 1000);
    EXPECT_EQ(after.picJDScale.Width - before.picJDScale.Width, 1000);
    EXPECT_EQ(after.lblStarName.Width - before.lblStarName.Width, 1000);
    EXPECT_EQ(after.picView.Height, before.picView.Height);
}

TEST(FormResize, StartUpItemsStayCentredAndAMinimizedWindowKeepsThem) {
    FormLayout l = Resized(11860, 8850);
    for (const TwipRect& r : {l.Label1, l.Label2, l.picNorvane, l.cmdLoad, l.prgLoad, l.lblPrg})
        EXPECT_FLOAT_EQ(r.Left + r.Width / 2, 11860 / 2.0f);
    EXPECT_FLOAT_EQ(l.picNorvane.Top, 8850 / 2.0f - l.picNorvane.Height / 1.1f);
    const FormLayout before = l;
    ApplyFormResize(l, 1500, 400, true);
    EXPECT_EQ(std::make_tuple(l.picView.Width, l.fraButtons.Top, l.cmdLoad.Top),
              std::make_tuple(before.picView.Width, before.fraButtons.Top, before.cmdLoad.Top));
}

}  // namespace
}  // namespace sabrix

#include <gtest/gtest.h>

#include "interaction/FormLayout.h"

namespace sabrix {
namespace {

TEST(FormResize, DesignSizeGivesThePlotItsDesignProportions) {
    FormLayout l = DesignLayout();
    ApplyFormResize(l, 9330, 5895, false);
    EXPECT_EQ(l.picView.Width, 8415);
    EXPECT_EQ(l.picView.Height, 2685);
    EXPECT_EQ(l.picJDScale.Width, 8415);
    EXPECT_EQ(l.lblStarName.Width, 8415);
    EXPECT_EQ(l.picMagScale.Left, 8648);
    EXPECT_EQ(l.picMagScale.Height, 2685);
    EXPECT_EQ(l.fraButtons.Top, 3990);
    EXPECT_EQ(l.fraButtons.Left, 217.5f);
    EXPECT_EQ(l.staPlot.Top, 4950);
    EXPECT_EQ(l.Label3.Left, 7080);
    EXPECT_EQ(l.cmdLoad.Top, 5895 * 0.59f);
    EXPECT_EQ(l.prgLoad.Top, 3270);
    EXPECT_EQ(l.lblPrg.Top, 3030);
    EXPECT_EQ(l.lblCopyright.Top, 4595);
    EXPECT_EQ(l.picView.Left, 225);
    EXPECT_EQ(l.picView.Top, 1080);
}

TEST(FormResize, WideningByAThousandMovesTheFrameByHalfAndWidensThePlot) {
    FormLayout before = DesignLayout();
    ApplyFormResize(before, 9330, 5895, false);
    FormLayout after = before;
    ApplyFormResize(after, 10330, 5895, false);
    EXPECT_EQ(after.fraButtons.Left - before.fraButtons.Left, 500);
    EXPECT_EQ(after.picView.Width - before.picView.Width, 1000);
    EXPECT_EQ(after.picJDScale.Width - before.picJDScale.Width, 1000);
    EXPECT_EQ(after.lblStarName.Width - before.lblStarName.Width, 1000);
    EXPECT_EQ(after.Label1.Left - before.Label1.Left, 500);
    EXPECT_EQ(after.picNorvane.Left - before.picNorvane.Left, 500);
    EXPECT_EQ(after.picView.Height, before.picView.Height);
}

TEST(FormResize, StartUpItemsStayCentred) {
    FormLayout l = DesignLayout();
    ApplyFormResize(l, 11860, 8850, false);
    for (const TwipRect& r : {l.Label1, l.Label2, l.picNorvane, l.cmdLoad, l.prgLoad, l.lblPrg})
        EXPECT_FLOAT_EQ(r.Left + r.Width / 2, 11860 / 2.0f);
    EXPECT_FLOAT_EQ(l.picNorvane.Top, 8850 / 2.0f - l.picNorvane.Height / 1.1f);
}

TEST(FormResize, AMinimizedWindowKeepsEveryPosition) {
    FormLayout l = DesignLayout();
    ApplyFormResize(l, 11860, 8850, false);
    const FormLayout before = l;
    ApplyFormResize(l, 1500, 400, true);
    EXPECT_EQ(l.picView.Width, before.picView.Width);
    EXPECT_EQ(l.fraButtons.Top, before.fraButtons.Top);
    EXPECT_EQ(l.cmdLoad.Top, before.cmdLoad.Top);
}

TEST(TwipsToPixels, FifteenTwipsMakeAPixel) {
    EXPECT_EQ(TwipsToPixels(8415), 561);
    EXPECT_EQ(TwipsToPixels(2685), 179);
    EXPECT_EQ(TwipsToPixels(11860), 791);
    EXPECT_EQ(TwipsToPixels(8850), 590);
    EXPECT_EQ(TwipsToPixels(7), 0);
    EXPECT_EQ(TwipsToPixels(8), 1);
}

}  // namespace
}  // namespace sabrix

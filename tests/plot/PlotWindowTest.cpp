#include <gtest/gtest.h>

#include "core/SabrixError.h"
#include "plot/PlotFixture.h"
#include "plot/PlotWindow.h"

namespace sabrix {

using test::PlotRow;

TEST(FindExtremes, OneRowGetsWideMarginsAndMovesTheJDBase) {
    test::PlotTable t;
    t.Add({PlotRow(2455000.5, 9.1, test::kRed)});
    PlotWindowState v;
    v.JDMagnification = 2.0f;
    v.MagMagnification = 3.0f;
    ASSERT_TRUE(FindExtremes(v, t.table));
    EXPECT_EQ(v.WinJDLeft, 2455000.5 - 105);
    EXPECT_EQ(v.WinJDRight, 2455000.5 + 105);
    EXPECT_EQ(v.JDFirst, 2455000.5 - 105);
    EXPECT_EQ(v.JDLast, 2455000.5);
    EXPECT_EQ(v.WinJDWidth, 210);
    EXPECT_EQ(v.MagBrightest, 9.1f);
    EXPECT_EQ(v.MagFaintest, 9.1f);
    EXPECT_EQ(v.WinMagTop, static_cast<double>(9.1f) - 1.5);
    EXPECT_EQ(v.WinMagBottom, static_cast<double>(9.1f) + 1.5);
    EXPECT_EQ(v.WinMagHeight, 3);
    EXPECT_EQ(v.JDMagnification, 2.0f);  // the factors belong to the zoom tools
    EXPECT_EQ(v.MagMagnification, 3.0f);
}

TEST(FindExtremes, TwoRowsOfTheSameJDGetOnlyTheOrdinaryMargins) {
    test::PlotTable t;
    t.Add({PlotRow(2455000, 9, test::kRed), PlotRow(2455000, 10, test::kRed)});
    PlotWindowState v;
    ASSERT_TRUE(FindExtremes(v, t.table));
    EXPECT_EQ(v.WinJDWidth, 10);
    EXPECT_EQ(v.JDFirst, 2455000);
    EXPECT_EQ(v.WinJDLeft, 2454995);
    EXPECT_EQ(v.WinMagTop, 8.5);
    EXPECT_EQ(v.WinMagBottom, 10.5);
    EXPECT_EQ(v.WinMagHeight, 2);
}

TEST(FindExtremes, ManyRowsFitTheWholeTableWithNegativeMagnitudesToo) {
    test::PlotTable t;
    t.Add({PlotRow(2455100, 3, test::kRed), PlotRow(2455000, -1.25, test::kRed),
           PlotRow(2455300, 2.5, test::kRed, "<"), PlotRow(2455200, 4.5, test::kRed)});
    PlotWindowState v;
    ASSERT_TRUE(FindExtremes(v, t.table));
    EXPECT_EQ(v.JDFirst, 2455000);
    EXPECT_EQ(v.JDLast, 2455300);
    EXPECT_EQ(v.WinJDLeft, 2454995);
    EXPECT_EQ(v.WinJDRight, 2455305);
    EXPECT_EQ(v.WinJDWidth, 310);
    EXPECT_EQ(v.MagBrightest, -1.25f);
    EXPECT_EQ(v.MagFaintest, 4.5f);
    EXPECT_EQ(v.WinMagTop, -1.75);
    EXPECT_EQ(v.WinMagBottom, 5);
    EXPECT_EQ(v.WinMagHeight, 6.75);
}

TEST(FindExtremes, EmptyTableLeavesTheViewAsItWas) {
    test::PlotTable t;
    PlotWindowState v;
    v.WinJDLeft = 1;
    v.WinJDRight = 2;
    v.JDFirst = 1;
    v.WinMagTop = 3;
    v.WinMagBottom = 4;
    EXPECT_FALSE(FindExtremes(v, t.table));
    EXPECT_EQ(v.WinJDLeft, 1);
    EXPECT_EQ(v.WinJDRight, 2);
    EXPECT_EQ(v.JDFirst, 1);
    EXPECT_EQ(v.WinMagTop, 3);
    EXPECT_EQ(v.WinMagBottom, 4);
    EXPECT_EQ(NoObservationsText("R Leo"), "No observations of R Leo in this JD interval.");
}

TEST(Scaler, SetsThePlotFrameInDaysAndTheStripsInFixedUnits) {
    PlotWindowState v;
    v.JDFirst = 2455000;
    v.WinJDLeft = 2454995;
    v.WinJDRight = 2455105;
    v.WinMagTop = 8.5;
    v.WinMagBottom = 12.5;
    Canvas view(200, 100), jd(200, 25), mag(25, 100);
    Scaler(v, view, jd, mag);
    EXPECT_EQ(view.ScaleLeft(), -5);
    EXPECT_EQ(view.ScaleTop(), 8.5);
    EXPECT_EQ(view.ScaleWidth(), 110);
    EXPECT_EQ(view.ScaleHeight(), 4);
    EXPECT_EQ(jd.ScaleLeft(), 2454995);
    EXPECT_EQ(jd.ScaleTop(), 0);
    EXPECT_EQ(jd.ScaleWidth(), 110);
    EXPECT_EQ(jd.ScaleHeight(), 20);
    EXPECT_EQ(mag.ScaleLeft(), 0);
    EXPECT_EQ(mag.ScaleTop(), 8.5);
    EXPECT_EQ(mag.ScaleWidth(), 20);
    EXPECT_EQ(mag.ScaleHeight(), 4);
    EXPECT_FALSE(ScalerErrorIsSilent(v));
}

TEST(Scaler, ZeroSizeFrameThrowsAndKeepsTheOldFrames) {
    Canvas view(200, 100), jd(200, 25), mag(25, 100);
    SetUserScale(view, 1, 2, 3, 5);
    PlotWindowState nothing;
    EXPECT_THROW(Scaler(nothing, view, jd, mag), SabrixError);
    EXPECT_TRUE(ScalerErrorIsSilent(nothing));
    EXPECT_EQ(view.ScaleLeft(), 1);
    EXPECT_EQ(view.ScaleWidth(), 2);
    EXPECT_EQ(view.ScaleHeight(), 3);

    PlotWindowState flat;  // a window of no height, with data loaded
    flat.JDFirst = 10;
    flat.WinJDLeft = 5;
    flat.WinJDRight = 15;
    flat.WinMagTop = flat.WinMagBottom = 9;
    EXPECT_THROW(Scaler(flat, view, jd, mag), SabrixError);
    EXPECT_FALSE(ScalerErrorIsSilent(flat));
}

TEST(MagnificationStatusText, FollowsTheToolAndRoundsHalvesToEven) {
    AppState s;
    EXPECT_EQ(MagnificationStatusText(s), "Magnification = 1 X");
    s.view.JDMagnification = 2.25f;
    EXPECT_EQ(MagnificationStatusText(s), "Magnification = 2.2 X");
    s.overlay.tool = Tool::JDZoom;
    s.view.JDMagnification = 3.75f;
    EXPECT_EQ(MagnificationStatusText(s), "JDMagnification = 3.8 X");
    s.overlay.tool = Tool::ZoomBox;
    EXPECT_EQ(MagnificationStatusText(s), "JDMagnification = 3.8 X");
    s.overlay.tool = Tool::MagZoom;
    s.view.MagMagnification = 2.125f;
    EXPECT_EQ(MagnificationStatusText(s), "MagMagnification = 2.125 X");
    s.view.MagMagnification = 1.3f;
    EXPECT_EQ(MagnificationStatusText(s), "MagMagnification = 1.3 X");
    s.overlay.tool = Tool::Box;
    EXPECT_EQ(MagnificationStatusText(s), "Magnification = 3.8 X");
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/SabrixError.h"
#include "plot/PlotFixture.h"
#include "plot/PlotWindow.h"

namespace sabrix {

using test::kRed;
using test::PlotRow;

namespace {

// The window FindExtremes gives the rows: left, right, first JD, top, bottom.
std::tuple<double, double, double, double, double> Fitted(const std::vector<ObsRow>& rows,
                                                          PlotWindowState& v) {
    test::PlotTable t;
    t.Add(rows);
    EXPECT_TRUE(FindExtremes(v, t.table, PointFilter()));
    EXPECT_EQ(v.WinJDWidth, v.WinJDRight - v.WinJDLeft);
    EXPECT_EQ(v.WinMagHeight, v.WinMagBottom - v.WinMagTop);
    return {v.WinJDLeft, v.WinJDRight, v.JDFirst, v.WinMagTop, v.WinMagBottom};
}

}  // namespace

TEST(FindExtremes, OneRowGetsWideMarginsAndMovesTheJDBase) {
    PlotWindowState v;
    v.JDMagnification = 2.0f;
    v.MagMagnification = 3.0f;
    const double mag = static_cast<double>(9.1f);
    EXPECT_EQ(
        Fitted({PlotRow(2455000.5, 9.1, kRed)}, v),
        std::make_tuple(2455000.5 - 105, 2455000.5 + 105, 2455000.5 - 105, mag - 1.5, mag + 1.5));
    EXPECT_EQ(v.JDLast, 2455000.5);
    EXPECT_EQ(v.JDMagnification, 2.0f);  // the factors belong to the zoom tools
    EXPECT_EQ(v.MagMagnification, 3.0f);
}

TEST(FindExtremes, SameJDOrManyRowsGetTheOrdinaryMargins) {
    PlotWindowState v;
    EXPECT_EQ(Fitted({PlotRow(2455000, 9, kRed), PlotRow(2455000, 10, kRed)}, v),
              std::make_tuple(2454995, 2455005, 2455000, 8.5, 10.5));
    EXPECT_EQ(Fitted({PlotRow(2455100, 3, kRed), PlotRow(2455000, -1.25, kRed),
                      PlotRow(2455300, 2.5, kRed, "<"), PlotRow(2455200, 4.5, kRed)},
                     v),
              std::make_tuple(2454995, 2455305, 2455000, -1.75, 5));
    EXPECT_EQ(v.JDLast, 2455300);
    EXPECT_EQ(v.MagBrightest, -1.25f);
    EXPECT_EQ(v.MagFaintest, 4.5f);
}

TEST(FindExtremes, EmptyTableLeavesTheViewAsItWas) {
    test::PlotTable t;
    PlotWindowState v;
    v.WinJDLeft = 1;
    v.JDFirst = 2;
    v.WinMagTop = 3;
    EXPECT_FALSE(FindExtremes(v, t.table, PointFilter()));
    EXPECT_EQ(std::tie(v.WinJDLeft, v.JDFirst, v.WinMagTop), std::make_tuple(1.0, 2.0, 3.0));
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
    const auto frame = [](const Canvas& c) {
        return std::make_tuple(c.ScaleLeft(), c.ScaleTop(), c.ScaleWidth(), c.ScaleHeight());
    };
    EXPECT_EQ(frame(view), std::make_tuple(-5.0, 8.5, 110.0, 4.0));
    EXPECT_EQ(frame(jd), std::make_tuple(2454995.0, 0.0, 110.0, 20.0));
    EXPECT_EQ(frame(mag), std::make_tuple(0.0, 8.5, 20.0, 4.0));
}

// Which of these failures the user hears of is the redraw's business (MainWindowCommands).
TEST(Scaler, ZeroSizeFrameThrowsAndKeepsTheOldFrames) {
    Canvas view(200, 100), jd(200, 25), mag(25, 100);
    SetUserScale(view, 1, 2, 3, 5);
    PlotWindowState nothing;
    EXPECT_THROW(Scaler(nothing, view, jd, mag), SabrixError);
    EXPECT_EQ(std::make_tuple(view.ScaleLeft(), view.ScaleWidth(), view.ScaleHeight()),
              std::make_tuple(1.0, 2.0, 3.0));
}

TEST(MagnificationStatusText, FollowsTheToolAndRoundsHalvesToEven) {
    const std::tuple<Tool, float, float, const char*> cases[] = {
        {Tool::Locate, 1, 1, "Magnification = 1 X"},
        {Tool::Locate, 2.25f, 1, "Magnification = 2.2 X"},
        {Tool::JDZoom, 3.75f, 1, "JDMagnification = 3.8 X"},
        {Tool::ZoomBox, 3.75f, 1, "JDMagnification = 3.8 X"},
        {Tool::MagZoom, 1, 2.125f, "MagMagnification = 2.125 X"},
        {Tool::MagZoom, 1, 1.3f, "MagMagnification = 1.3 X"},
        {Tool::Box, 3.75f, 1.3f, "Magnification = 3.8 X"}};
    for (const auto& [tool, jd, mag, text] : cases) {
        AppState s;
        s.overlay.tool = tool;
        s.view.JDMagnification = jd;
        s.view.MagMagnification = mag;
        EXPECT_EQ(MagnificationStatusText(s), text);
    }
}

}  // namespace sabrix

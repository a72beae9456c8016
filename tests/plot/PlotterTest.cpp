// SPDX-License-Identifier: GPL-3.0-or-later
#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "plot/PlotFixture.h"
#include "plot/PlotWindow.h"
#include "plot/Plotter.h"

namespace sabrix {

using test::CountPixels;
using test::kBlack;
using test::kBlue;
using test::kGreen;
using test::kMagenta;
using test::kRed;
using test::PlotRow;

namespace {

// A plot of 200 x 100 pixels over JD 1000 to 1020 (10 pixels a day) and magnitudes 8 to 12
// (25 pixels a magnitude), with its strips.
struct PlotSetup {
    test::PlotTable t;
    AppState state;
    ObserverMarks marks;
    Canvas view{200, 100};
    Canvas jd{200, 25};
    Canvas mag{25, 100};
    int yields = 0;

    PlotSetup() {
        state.star.StarName = " r leo ";
        state.view.JDFirst = 1000;
        SetWindow(1000, 1020, 8, 12);
        ApplyDesignLook(view, jd, mag);
    }
    void SetWindow(double left, double right, double top, double bottom) {
        state.view.WinJDLeft = left;
        state.view.WinJDRight = right;
        state.view.WinJDWidth = right - left;
        state.view.WinMagTop = top;
        state.view.WinMagBottom = bottom;
        state.view.WinMagHeight = bottom - top;
    }
    // n red rows, ten a day from JD 1000.
    void AddMany(int n) {
        std::vector<ObsRow> rows;
        for (int i = 0; i < n; ++i) rows.push_back(PlotRow(1000 + i / 10.0, 10, kRed));
        t.Add(rows);
    }
    PlotOutcome Plot(const std::function<void()>& yield = {}) {
        Scaler(state.view, view, jd, mag);
        return Plotter(
            state, marks, t.table, view, jd, mag, yield ? yield : [this] { ++yields; });
    }
};

}  // namespace

TEST(Plotter, DrawsEachRowOfTheWindowInItsColourEdgesIncluded) {
    PlotSetup p;
    p.t.Add({PlotRow(1010, 10, kRed), PlotRow(1000, 9, kGreen), PlotRow(1020, 11, kGreen),
             PlotRow(1020.5, 10, kBlue), PlotRow(999.5, 10, kBlue)});
    PlotOutcome out = p.Plot();
    EXPECT_EQ(out.points, 3);
    EXPECT_EQ(p.view.pixelColor(99, 49), kRed);  // a filled 3 x 3 dot around (100, 50)
    EXPECT_EQ(p.view.pixelColor(101, 51), kRed);
    EXPECT_EQ(CountPixels(p.view, kRed), 9);
    EXPECT_EQ(p.view.pixelColor(0, 25), kGreen);    // left edge
    EXPECT_EQ(p.view.pixelColor(199, 75), kGreen);  // right edge, half cut off
    EXPECT_EQ(CountPixels(p.view, kBlue), 0);       // outside the window
    EXPECT_EQ(out.starLabel, "R LEO - (3 Points)");
    EXPECT_GT(CountPixels(p.jd, test::kWhite), 0);  // both strips redrawn
    EXPECT_GT(CountPixels(p.mag, test::kWhite), 0);
    p.SetWindow(1015, 1035, 8, 12);  // a redraw clears the old plot
    EXPECT_EQ(p.Plot().points, 2);
    EXPECT_EQ(CountPixels(p.view, kRed), 0);
    EXPECT_EQ(p.view.pixelColor(50, 75), kGreen);
}

TEST(Plotter, OmitFainterDropsFainterThanRowsAndAnEmptyWindowKeepsStatusAndCursor) {
    PlotSetup p;
    p.t.Add({PlotRow(1005, 10, kRed), PlotRow(1015, 10, kBlue, "<")});
    EXPECT_EQ(p.Plot().points, 2);
    EXPECT_EQ(CountPixels(p.view, kBlue), 9);
    p.state.overlay.OmitFainter = true;
    EXPECT_EQ(p.Plot().starLabel, "R LEO - (1 Points)");
    EXPECT_EQ(CountPixels(p.view, kBlue), 0);
    EXPECT_EQ(CountPixels(p.view, kRed), 9);
    p.SetWindow(1040, 1060, 8, 12);
    p.state.overlay.tool = Tool::MagZoom;
    const PlotOutcome out = p.Plot();
    EXPECT_EQ(out.starLabel, " r leo  - (0 Points)");  // the name as stored
    EXPECT_FALSE(out.statusText);
    EXPECT_FALSE(out.cursorName);
    EXPECT_EQ(CountPixels(p.view, kBlack), 200 * 100);
}

TEST(Plotter, ThreeColumnDataGetsBarsAndTheFileLabel) {
    PlotSetup p;
    p.state.star.ThreeColumnFormat = true;
    p.state.star.ThreeColumnFilePath = "/data/star lc.dat";
    p.t.Add({PlotRow(1010, 10, kRed), PlotRow(1015, 9, kRed)});
    EXPECT_EQ(p.Plot().starLabel, "File: /data/star lc.dat - (2 Points)");
    // Three pixels above and below the centre row 50, in the dot's column only.
    EXPECT_EQ(test::LitRows(p.view, 100), (std::vector<int>{47, 48, 49, 50, 51, 52, 53}));
    EXPECT_EQ(p.view.pixelColor(99, 47), kBlack);
    EXPECT_EQ(CountPixels(p.view, kRed), 2 * (9 + 4));
}

TEST(Plotter, StatusTextAndCursorFollowTheTool) {
    PlotSetup p;
    p.t.Add({PlotRow(1010, 10, kRed)});
    p.state.view.JDMagnification = 2.5f;
    p.state.view.MagMagnification = 1.5f;
    const std::tuple<Tool, const char*, const char*> cases[] = {
        {Tool::Locate, "Magnification = 2.5 X", "XHairs"},
        {Tool::Magnify, "Magnification = 2.5 X", "Magnify1"},
        {Tool::MagZoom, "MagMagnification = 1.5 X", "MagZoom"},
        {Tool::JDZoom, "JDMagnification = 2.5 X", "JDZoom2"},
        {Tool::ZoomBox, "JDMagnification = 2.5 X", "XHairs"},
        {Tool::Box, "Magnification = 2.5 X", "XHairs"}};
    for (const auto& [tool, status, cursor] : cases) {
        p.state.overlay.tool = tool;
        const PlotOutcome out = p.Plot();
        EXPECT_EQ(out.statusText, status);
        EXPECT_EQ(out.cursorName, cursor);
    }
}

TEST(Plotter, StatsLinesGiveTheBrightestAndFaintestRowsOwnMagnitudes) {
    PlotSetup p;
    p.state.view.JDFirst = 2455000;
    p.SetWindow(2455000, 2455020, 8, 12);
    p.t.Add({PlotRow(2455005, 9.5, kRed), PlotRow(2455010.5, 8.7, kRed),
             PlotRow(2455015.25, 11.2, kRed, "<"), PlotRow(2455030, 5, kRed)});
    p.state.overlay.StatsShown = true;
    PlotOutcome out = p.Plot();
    ASSERT_TRUE(out.statsLines);
    EXPECT_EQ(*out.statsLines, (std::vector<QString>{"High Mag. = 8.7   JD = 2455010.5",
                                                     "Low Mag. = 11.2   JD = 2455015.25"}));
    p.state.overlay.OmitFainter = true;  // the fainter-than row is not drawn, yet counts
    out = p.Plot();
    ASSERT_TRUE(out.statsLines);
    EXPECT_EQ(*out.statsLines, (std::vector<QString>{"High Mag. = 8.7   JD = 2455010.5",
                                                     "Low Mag. = 11.2   JD = 2455015.25"}));
    p.SetWindow(2455040, 2455060, 8, 12);
    out = p.Plot();
    ASSERT_TRUE(out.statsLines);
    EXPECT_TRUE(out.statsLines->empty());  // no stale figures of another view
}

TEST(Plotter, TicksOncePerRowAndAFailureThereIsReported) {
    PlotSetup p;
    p.AddMany(120);
    EXPECT_EQ(p.Plot().points, 120);
    EXPECT_EQ(p.yields, 120);
    int rows = 0;
    const PlotOutcome out = p.Plot([&rows] {
        if (++rows == 50) throw std::runtime_error("Out of memory");
    });
    EXPECT_EQ(out.points, 49);
    EXPECT_EQ(out.errorMessages,
              (std::vector<QString>{"Error \"Out of memory\" encountered in module Plotter."}));
    EXPECT_FALSE(out.starLabel);
    EXPECT_EQ(out.statusText, "Magnification = 1 X");
    EXPECT_EQ(out.cursorName, "XHairs");
}

TEST(Plotter, DatabaseFailureBeforeTheFirstRowIsReportedNotHidden) {
    PlotSetup p;
    p.t.Add({PlotRow(1010, 10, kRed)});
    // Through a connection of the test's own: the program never drops its table.
    SQLite::Database(p.t.table.path(), SQLite::OPEN_READWRITE).exec("DROP TABLE Obs");
    const PlotOutcome out = p.Plot();
    EXPECT_EQ(out.starLabel, " r leo  - (0 Points)");
    ASSERT_EQ(out.errorMessages.size(), 1u);
    EXPECT_TRUE(out.errorMessages[0].startsWith("Error \"no such table: Obs"));
    EXPECT_TRUE(out.errorMessages[0].endsWith("\" encountered in module Plotter."));
}

TEST(PlotMarkLines, JoinsAMarkingsPointsInItsColourWhenAsked) {
    PlotSetup p;
    p.t.Add(
        {PlotRow(1002, 10, kMagenta), PlotRow(1008, 10, kMagenta), PlotRow(1014, 10, kMagenta)});
    p.marks.ObserverMarked = true;
    p.marks.MarkCount = 1;
    p.marks.MarkList = {{"1", "1002", "10", "16711935"},
                        {"1", "1008", "10", "16711935"},
                        {"1", "1014", "10", "16711935"}};
    p.Plot();
    EXPECT_EQ(p.view.pixelColor(50, 50), kBlack);  // ConnectMarked is off
    p.state.settings.ConnectMarked = true;
    p.yields = 0;
    EXPECT_EQ(p.Plot().starLabel, "R LEO - (3 Points)");
    EXPECT_EQ(p.view.pixelColor(50, 50), kMagenta);   // between 1002 and 1008
    EXPECT_EQ(p.view.pixelColor(110, 50), kMagenta);  // between 1008 and 1014
    EXPECT_EQ(p.view.pixelColor(160, 50), kBlack);    // after the last point
    EXPECT_EQ(p.yields, 3 + 3);                       // one per row and one per line

    p.marks.MarkList[2][1] = "abc";
    const PlotOutcome out = p.Plot();
    EXPECT_EQ(
        out.errorMessages,
        (std::vector<QString>{"Error \"Type mismatch\" encountered in module PlotMarkLines."}));
    EXPECT_EQ(out.starLabel, "R LEO - (3 Points)");
}

TEST(PlotMarkLines, SkipsMarkingsWithoutPointsAndKeepsLaterOnesJoined) {
    PlotSetup p;
    p.t.Add({PlotRow(1002, 10, kRed)});
    p.state.settings.ConnectMarked = true;
    p.marks.ObserverMarked = true;
    p.marks.MarkCount = 3;  // marking 2 found no rows
    p.marks.MarkList = {{"1", "1002", "9", "255"},
                        {"1", "1004", "9", "255"},
                        {"3", "1010", "11", "65280"},
                        {"3", "1016", "11", "65280"}};
    EXPECT_TRUE(p.Plot().errorMessages.empty());
    EXPECT_EQ(p.view.pixelColor(30, 25), kRed);
    EXPECT_EQ(p.view.pixelColor(130, 75), kGreen);
}

}  // namespace sabrix

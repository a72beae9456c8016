// SPDX-License-Identifier: GPL-3.0-or-later
// The plot and its navigation through the commands: "Omit fainter thans", the navigation
// buttons, refresh, reset, the stats window and the frames of the redraw sequence.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/CommandsFixture.h"

namespace sabrix {
namespace {

using test::DataLine;
using test::Edges;
using test::EdgesOf;
using test::kBandR;
using test::kBandV;
using test::kBlue;
using Look = WindowView::Look;
using Msg = test::RecordedMessage;
using Step = const CommandDeclaration<PlotController, void>*;

constexpr int32_t kFainterThan = 9539985;  // the first-start colour of a fainter-than estimate

using Commands = test::CommandsFixture;

TEST_F(Commands, OmitFainterThansNeedsAStarThenTogglesTheRowsInTheFullView) {
    // With nothing loaded only the message comes, and the check mark stays as it was.
    commands->Run(cmd::mnuFaint_Click);
    EXPECT_FALSE(view().omitFainterChecked || state().overlay.OmitFainter);
    EXPECT_EQ(prompts.messages, (std::vector<Msg>{{"No star file is loaded.", "No Star Loaded",
                                                   Buttons::OK, Icon::Critical}}));
    prompts.messages.clear();

    LoadAndFill(WriteFile("faint.txt", {DataLine("2454123.5", "9.1", "V", "R Leo"),
                                        DataLine("2454125.5", "<12.5", "V", "R Leo"),
                                        DataLine("2454130.5", "11.2", "V", "R Leo")}));
    EXPECT_EQ(ColorAt(2454125.5, 12.5), kFainterThan);
    commands->Run(cmd::ShowWindow, 2454124, 2454127, 9, 13);
    commands->Run(cmd::mnuFaint_Click);
    EXPECT_TRUE(view().omitFainterChecked && state().overlay.OmitFainter);
    EXPECT_EQ(view().starLabel, QString("R LEO - (2 Points)"));
    EXPECT_NE(ColorAt(2454125.5, 12.5), kFainterThan);
    // The full view again, still fitted to every row, the fainter-than estimate included.
    EXPECT_EQ(state().view.JDMagnification, 1.0f);
    EXPECT_EQ(state().view.MagMagnification, 1.0f);
    EXPECT_EQ(state().view.WinMagBottom, 12.5 + 0.5);

    commands->Run(cmd::mnuFaint_Click);
    EXPECT_FALSE(view().omitFainterChecked || state().overlay.OmitFainter);
    EXPECT_EQ(view().starLabel, QString("R LEO - (3 Points)"));
    EXPECT_EQ(ColorAt(2454125.5, 12.5), kFainterThan);
    EXPECT_TRUE(prompts.messages.empty());
}

// ---- Navigation ---------------------------------------------------------------------------

// Equal up to the rounding of 0.66 of a width, far below a pixel.
void ExpectEdges(const Edges& got, const Edges& want) {
    EXPECT_NEAR(got.left, want.left, 1e-6) << testing::PrintToString(got);
    EXPECT_NEAR(got.right, want.right, 1e-6) << testing::PrintToString(got);
    EXPECT_NEAR(got.top, want.top, 1e-6) << testing::PrintToString(got);
    EXPECT_NEAR(got.bottom, want.bottom, 1e-6) << testing::PrintToString(got);
}

constexpr double kFirst = 2454000.5;
constexpr double kLast = 2455000.5;
// The full view's magnitude edges: 0.5 beyond the brightest and the faintest observation.
constexpr double kTop = 8.5;
constexpr double kBottom = 12.5;

// Five observations over 1000 days, the one of observer XYZ at day 500.
class Navigation : public Commands {
  protected:
    void SetUp() override {
        Commands::SetUp();
        LoadAndFill(WriteFile("long.txt", {DataLine("2454000.5", "9.0", "V", "R Leo"),
                                           DataLine("2454100.5", "10.0", "R", "R Leo"),
                                           DataLine("2454500.5", "11.0", "V", "R Leo", "", "XYZ"),
                                           DataLine("2454600.5", "10.2", "V", "R Leo"),
                                           DataLine("2455000.5", "12.0", "V", "R Leo")}));
        ASSERT_EQ(view().look, Look::Plot);
        ASSERT_EQ(EdgesOf(state().view), (Edges{kFirst - 5, kLast + 5, kTop, kBottom}));
    }

    void Show(const Edges& e) { commands->Run(cmd::ShowWindow, e.left, e.right, e.top, e.bottom); }
};

TEST_F(Navigation, EachMoveShiftsAZoomedWindowByItsStepWithoutZoomingAndRedrawsIt) {
    struct Case {
        const char* name;
        Step command;
        Edges from;
        Edges want;
        QString label;
    };
    const Edges middle = {kFirst + 500, kFirst + 600, 9.5, 10.5};
    const QString one = "R LEO - (1 Points)";
    const std::vector<Case> cases = {
        {"Back stops with the first observation 0.66 of the width from the right edge",
         &cmd::cmdBack_Click,
         {kFirst + 20, kFirst + 120, 9.5, 10.5},
         {kFirst - 34, kFirst + 66, 9.5, 10.5},
         one},
        {"Back", &cmd::cmdBack_Click, middle, {kFirst + 434, kFirst + 534, 9.5, 10.5}, one},
        {"Forward stops 5 days after the last observation",
         &cmd::cmdForward_Click,
         {kLast - 110, kLast - 10, 9.5, 10.5},
         {kLast - 95, kLast + 5, 9.5, 10.5},
         one},
        {"Forward", &cmd::cmdForward_Click, middle, {kFirst + 566, kFirst + 666, 9.5, 10.5}, one},
        {"Beginning keeps the width",
         &cmd::cmdBegin_Click,
         middle,
         {kFirst - 5, kFirst + 95, 9.5, 10.5},
         one},
        {"End", &cmd::cmdEnder_Click, middle, {kLast - 95, kLast + 5, 9.5, 10.5}, one},
        {"Brighter",
         &cmd::cmdUp_Click,
         middle,
         {kFirst + 500, kFirst + 600, 9.0, 10.0},
         "R LEO - (2 Points)"},
        {"Dimmer",
         &cmd::CmdDown_Click,
         middle,
         {kFirst + 500, kFirst + 600, 10.0, 11.0},
         "R LEO - (2 Points)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Show(c.from);
        const PlotWindowState before = state().view;
        const size_t presents = host.presented.size();
        commands->Run(*c.command);

        const PlotWindowState& v = state().view;
        ExpectEdges(EdgesOf(v), c.want);
        EXPECT_EQ(v.WinJDWidth, before.WinJDWidth);
        EXPECT_EQ(v.WinMagHeight, before.WinMagHeight);
        EXPECT_EQ(v.JDMagnification, before.JDMagnification);
        EXPECT_EQ(v.MagMagnification, before.MagMagnification);
        // Redrawn in the new window.
        EXPECT_GT(host.presented.size(), presents);
        EXPECT_NEAR(picView.ScaleLeft(), v.WinJDLeft - kFirst, 1e-6);
        EXPECT_EQ(picView.ScaleTop(), v.WinMagTop);
        EXPECT_EQ(view().starLabel, c.label);
    }
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(Navigation, MovesAlongAnAxisThatShowsAllItsDataChangeNothingAndDrawNothing) {
    const std::vector<Step> jdMoves = {&cmd::cmdBack_Click, &cmd::cmdForward_Click,
                                       &cmd::cmdBegin_Click, &cmd::cmdEnder_Click};
    const std::vector<Step> magMoves = {&cmd::cmdUp_Click, &cmd::CmdDown_Click};
    std::vector<Step> allMoves = jdMoves;
    allMoves.insert(allMoves.end(), magMoves.begin(), magMoves.end());
    struct Case {
        const char* name;
        std::optional<Edges> zoom;  // nothing: the full view
        std::vector<Step> moves;
    };
    const std::vector<Case> cases = {
        {"full view", std::nullopt, allMoves},
        {"JD zoom only", Edges{kFirst + 500, kFirst + 600, kTop, kBottom}, magMoves},
        {"magnitude zoom only", Edges{kFirst - 5, kLast + 5, 9.5, 10.5}, jdMoves},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.zoom)
            Show(*c.zoom);
        else
            commands->Run(cmd::cmdReset_Click);
        // A stroke across each surface, which any redraw would wipe.
        for (Canvas* canvas : {&picView, &picJDScale, &picMagScale})
            canvas->Line(canvas->ScaleLeft(), canvas->ScaleTop(),
                         canvas->ScaleLeft() + canvas->ScaleWidth(),
                         canvas->ScaleTop() + canvas->ScaleHeight(), kBlue);
        const QImage plot = picView.image();
        const QImage jdScale = picJDScale.image();
        const QImage magScale = picMagScale.image();
        const Edges edges = EdgesOf(state().view);
        const size_t presents = host.presented.size();
        for (Step move : c.moves) {
            commands->Run(*move);
            EXPECT_EQ(EdgesOf(state().view), edges);
        }
        EXPECT_EQ(host.presented.size(), presents);
        EXPECT_EQ(picView.image(), plot);
        EXPECT_EQ(picJDScale.image(), jdScale);
        EXPECT_EQ(picMagScale.image(), magScale);
    }
}

TEST_F(Navigation, BrighterAndDimmerGoOnPastTheBrightestAndFaintestObservations) {
    Show({kFirst + 500, kFirst + 600, 9.5, 10.5});
    for (int i = 0; i < 30; ++i) commands->Run(cmd::CmdDown_Click);
    EXPECT_EQ(EdgesOf(state().view), (Edges{kFirst + 500, kFirst + 600, 24.5, 25.5}));
    EXPECT_EQ(picView.ScaleTop(), 24.5);
    for (int i = 0; i < 60; ++i) commands->Run(cmd::cmdUp_Click);
    EXPECT_EQ(EdgesOf(state().view), (Edges{kFirst + 500, kFirst + 600, -5.5, -4.5}));
    EXPECT_EQ(picView.ScaleTop(), -5.5);
    EXPECT_EQ(state().view.WinMagHeight, 1.0);
}

TEST_F(Navigation, RefreshTakesTheMarksAndOverlaysAwayAndKeepsTheWindow) {
    Show({kFirst + 450, kFirst + 650, 9.5, 11.5});
    MarkObserver("XYZ");
    ASSERT_EQ(ColorAt(kFirst + 500, 11.0), kBlue);
    binsShown() = polyShown() = true;
    const PlotWindowState shown = state().view;

    commands->Run(cmd::cmdRefresh_Click);
    EXPECT_EQ(EdgesOf(state().view), EdgesOf(shown));
    EXPECT_EQ(state().view.JDMagnification, shown.JDMagnification);
    EXPECT_EQ(marks().MarkCount, 0);
    EXPECT_FALSE(marks().ObserverMarked);
    EXPECT_FALSE(binsShown() || polyShown());
    const std::optional<ObsRow> marked = table().RowById(3);
    ASSERT_TRUE(marked);
    EXPECT_EQ(marked->PunktFarb, kBandV);
    EXPECT_EQ(marked->Marked, "");
    EXPECT_EQ(ColorAt(kFirst + 500, 11.0), kBandV);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(Navigation, ResetReturnsToTheFullViewAndTakesTheMarksAwayButKeepsTheTool) {
    Show({kFirst + 450, kFirst + 650, 9.5, 11.5});
    state().overlay.tool = Tool::Box;
    MarkObserver("XYZ");
    binsShown() = true;
    bins().BinJD = {kFirst + 550};

    commands->Run(cmd::cmdReset_Click);
    EXPECT_EQ(EdgesOf(state().view), (Edges{kFirst - 5, kLast + 5, kTop, kBottom}));
    EXPECT_EQ(state().view.JDMagnification, 1.0f);
    EXPECT_EQ(state().view.MagMagnification, 1.0f);
    EXPECT_EQ(view().panels[1], QString("Magnification = 1 X"));
    EXPECT_EQ(view().cursorName, QString("XHairs"));
    EXPECT_EQ(marks().MarkCount, 0);
    EXPECT_TRUE(bins().BinJD.empty());
    EXPECT_FALSE(binsShown());
    EXPECT_EQ(state().overlay.tool, Tool::Box);
    EXPECT_EQ(table().RowById(3)->PunktFarb, kBandV);
    EXPECT_EQ(ColorAt(kFirst + 500, 11.0), kBandV);
    EXPECT_EQ(ColorAt(kFirst + 100, 10.0), kBandR);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(Navigation, StatsWindowSwitchedOnShowsTheFiguresOfTheViewAtOnce) {
    Show({kFirst + 450, kFirst + 650, 9.5, 11.5});
    const size_t presents = host.presented.size();
    commands->Run(cmd::mnuStats_Click);
    EXPECT_TRUE(view().statsChecked && view().statsWindowOpen);
    EXPECT_EQ(view().statsLines, (std::vector<QString>{"High Mag. = 10.2   JD = 2454600.5",
                                                       "Low Mag. = 11   JD = 2454500.5"}));
    EXPECT_EQ(host.presented.size(), presents);

    // Its close box only takes the check mark away: the next redraw brings the window back
    // with the figures of the new view, still unchecked; the menu item then checks it.
    commands->Run(cmd::frmStats_Unload);
    EXPECT_FALSE(view().statsChecked || view().statsWindowOpen);
    commands->Run(cmd::cmdBack_Click);
    EXPECT_TRUE(view().statsWindowOpen);
    EXPECT_FALSE(view().statsChecked);
    EXPECT_EQ(view().statsLines, (std::vector<QString>{"High Mag. = 11   JD = 2454500.5",
                                                       "Low Mag. = 11   JD = 2454500.5"}));
    commands->Run(cmd::mnuStats_Click);
    EXPECT_TRUE(view().statsChecked && view().statsWindowOpen);
    commands->Run(cmd::mnuStats_Click);
    EXPECT_FALSE(view().statsChecked || view().statsWindowOpen || state().overlay.StatsShown);
}

TEST_F(Navigation, AFrameOfNoSizeIsReportedByScalerUnlessTheWholeWindowIsZero) {
    struct Case {
        const char* name;
        std::function<void(PlotWindowState&)> change;
        bool reported;
    };
    const std::vector<Case> cases = {
        {"no height", [](PlotWindowState& v) { v.WinMagBottom = v.WinMagTop; }, true},
        {"every edge and the JD base 0",
         [](PlotWindowState& v) {
             v.WinJDLeft = v.WinJDRight = v.WinMagTop = v.WinMagBottom = v.JDFirst = 0;
         },
         false},
        {"every edge 0 but the JD base",
         [](PlotWindowState& v) { v.WinJDLeft = v.WinJDRight = v.WinMagTop = v.WinMagBottom = 0; },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        commands->Run(cmd::cmdReset_Click);
        prompts.messages.clear();
        c.change(state().view);
        commands->Run(cmd::Redraw, true);
        std::vector<Msg> want;
        if (c.reported)
            want.push_back({"Error \"Invalid property value\" encountered in module Scaler.",
                            "Error", Buttons::OK, Icon::None});
        EXPECT_EQ(prompts.messages, want);
    }
}

}  // namespace
}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// The facade of the command layer: each command runs only when the needs declared for it in
// CommandNeeds.h are met.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "analysis/Bins.h"
#include "analysis/PeriodDialogs.h"
#include "app/CommandNeeds.h"
#include "core/SabrixError.h"
#include "interaction/RecordFields.h"
#include "plot/PlotImageFile.h"
#include "support/CommandsFixture.h"

namespace sabrix {
namespace {

using test::DataLine;
using test::EdgesOf;

// Runs the command with arguments that would change something if it ran: the other file
// loaded, a corner of the plot pressed, the first line of the list chosen, and so on.
#pragma GCC diagnostic push
#pragma GCC diagnostic error "-Wswitch"
void Invoke(MainWindowCommands& c, Command command, const std::string& other) {
    const std::vector<RecordField> noFields;
    switch (command) {
        case Command::OpenWorkingTable:
            c.OpenWorkingTable();
            return;
        case Command::UnloadStar:
            c.UnloadStar();
            return;
        case Command::CloseWorkingTable:
            c.CloseWorkingTable(0);
            return;
        case Command::mnuLoad_Click:
            c.mnuLoad_Click();
            return;
        case Command::LoadStarFile:
            c.LoadStarFile(other);
            return;
        case Command::PollFill:
            c.PollFill();
            return;
        case Command::FinishFill:
            c.FinishFill();
            return;
        case Command::CancelLoad:
            c.CancelLoad();
            return;
        case Command::mnuXYZ_Click:
            c.mnuXYZ_Click();
            return;
        case Command::LoadThreeColumnFile:
            c.LoadThreeColumnFile(other);
            return;
        case Command::mnuCalendar_Click:
            c.mnuCalendar_Click();
            return;
        case Command::mnuRecent_Click:
            c.mnuRecent_Click(0);
            return;
        case Command::DropFile:
            c.DropFile(other);
            return;
        case Command::QueryUnload:
            EXPECT_FALSE(c.QueryUnload());
            return;
        case Command::PrepareConfiguration:
            EXPECT_FALSE(c.PrepareConfiguration());
            return;
        case Command::Configure:
            EXPECT_TRUE(c.Configure([](Settings& s) { return !(s.ConnectMarked = true); }));
            return;
        case Command::mnuSave_Click:
            c.mnuSave_Click();
            return;
        case Command::mnuSaveXYZ_Click:
            c.mnuSaveXYZ_Click();
            return;
        case Command::mnuSaveDownload_Click:
            c.mnuSaveDownload_Click();
            return;
        case Command::mnuExport_Click:
            c.mnuExport_Click();
            return;
        case Command::ExportPlotImage:
            EXPECT_FALSE(c.ExportPlotImage(other + ".png", 100, 100));
            return;
        case Command::PlotImageOf:
            EXPECT_THROW(c.PlotImageOf(PlotImageFormat::Png, 100, 100), SabrixError);
            return;
        case Command::Redraw:
            c.Redraw(true);
            return;
        case Command::cmdReset_Click:
            c.cmdReset_Click();
            return;
        case Command::cmdRefresh_Click:
            c.cmdRefresh_Click();
            return;
        case Command::mnuFaint_Click:
            c.mnuFaint_Click();
            return;
        case Command::mnuDisc_Click:
            c.mnuDisc_Click();
            return;
        case Command::lstBands_ItemCheck:
            c.lstBands_ItemCheck("V", false);
            return;
        case Command::lstBands_DblClick:
            c.lstBands_DblClick("V");
            return;
        case Command::cmdAllBands_Click:
            c.cmdAllBands_Click();
            return;
        case Command::ShowOnlyBands:
            c.ShowOnlyBands({"V"});
            return;
        case Command::cmdBack_Click:
            c.cmdBack_Click();
            return;
        case Command::cmdForward_Click:
            c.cmdForward_Click();
            return;
        case Command::cmdBegin_Click:
            c.cmdBegin_Click();
            return;
        case Command::cmdEnder_Click:
            c.cmdEnder_Click();
            return;
        case Command::cmdUp_Click:
            c.cmdUp_Click();
            return;
        case Command::CmdDown_Click:
            c.CmdDown_Click();
            return;
        case Command::ShowWindow:
            c.ShowWindow(2454122, 2454123, 9, 10);
            return;
        case Command::mnuStats_Click:
            c.mnuStats_Click();
            return;
        case Command::frmStats_Unload:
            c.frmStats_Unload();
            return;
        case Command::cmdLocate_Click:
            c.cmdLocate_Click();
            return;
        case Command::cmdBox_Click:
            c.cmdBox_Click();
            return;
        case Command::cmdZoomBox_Click:
            c.cmdZoomBox_Click();
            return;
        case Command::cmdMag_Click:
            c.cmdMag_Click();
            return;
        case Command::cmdJDZoom_Click:
            c.cmdJDZoom_Click();
            return;
        case Command::cmdMagZoom_Click:
            c.cmdMagZoom_Click();
            return;
        // Pressed, moved and released at JD 2454125, magnitude 10 with the magnify tool.
        case Command::picView_MouseDown:
            c.picView_MouseDown(1, 0, 1.5, 10);
            return;
        case Command::picView_MouseMove:
            c.picView_MouseMove(1, 0, 1.6, 10.1);
            return;
        case Command::picView_MouseUp:
            c.picView_MouseUp(1, 0, 1.6, 10.1);
            return;
        case Command::picJDScale_MouseDown:
            c.picJDScale_MouseDown(1, 0, 2454125, 10);
            return;
        case Command::picMagScale_MouseDown:
            c.picMagScale_MouseDown(1, 0, 10, 10);
            return;
        case Command::picJDScale_MouseMove:
            c.picJDScale_MouseMove(0, 0, 2454125, 10);
            return;
        case Command::picMagScale_MouseMove:
            c.picMagScale_MouseMove(0, 0, 10, 10);
            return;
        case Command::Form_MouseMove:
            c.Form_MouseMove();
            return;
        case Command::WheelZoom:
            c.WheelZoom(1, false, 1.5, 10);
            return;
        case Command::mnuPrevious_Click:
            c.mnuPrevious_Click();
            return;
        case Command::mnuDocs_Click:
            c.mnuDocs_Click();
            return;
        case Command::mnuViewer_Click:
            c.mnuViewer_Click();
            return;
        case Command::mnuManage_Click:
            c.mnuManage_Click();
            return;
        case Command::mnuWebSite_Click:
            c.mnuWebSite_Click();
            return;
        case Command::OpenURL:
            c.OpenURL("https://example.org/");
            return;
        case Command::cmdBin_Click:
            c.cmdBin_Click();
            return;
        case Command::mnuAvg_Click:
            c.mnuAvg_Click();
            return;
        case Command::cmdPoly_Click:
            c.cmdPoly_Click();
            return;
        case Command::mnuPoly_Click:
            c.mnuPoly_Click();
            return;
        case Command::EnterBins:
            EXPECT_FALSE(c.EnterBins(InitialBinFields(c.state())));
            return;
        case Command::PlotPolyFit:
            EXPECT_FALSE(c.PlotPolyFit("2"));
            return;
        case Command::mnuPeriod_Click:
            c.mnuPeriod_Click();
            return;
        case Command::PeriodSearch:
            EXPECT_FALSE(c.PeriodSearch(PeriodSearchFields{{"0.5", "6", "10"}}).close);
            return;
        case Command::PeriodWindowEvent:
            c.PeriodWindowEvent(PeriodogramEvent{.kind = PeriodogramEvent::Kind::StepBack});
            return;
        case Command::CancelPeriodSearch:
            c.CancelPeriodSearch();
            return;
        case Command::ClosePeriodWindow:
            c.ClosePeriodWindow();
            return;
        case Command::ShowPhasePlot:
            EXPECT_FALSE(c.ShowPhasePlot(2.5, std::nullopt).isEmpty());
            return;
        case Command::mnuTimePlot_Click:
            c.mnuTimePlot_Click();
            return;
        case Command::BoxFinder:
            c.BoxFinder(-100, 0, 100, 20);
            return;
        case Command::Finder:
            c.Finder(1.5, 10);
            return;
        case Command::lstRecords_Click:
            c.lstRecords_Click({0}, 0);
            return;
        case Command::cmdLog_Click:
            c.cmdLog_Click();
            return;
        case Command::cmdDelete_Click:
            c.cmdDelete_Click();
            return;
        case Command::cmdEdit_Click:
            c.cmdEdit_Click();
            return;
        case Command::cmdMark_Click:
            c.cmdMark_Click();
            return;
        case Command::cmdDiscrepant_Click:
            c.cmdDiscrepant_Click();
            return;
        case Command::cmdClearDiscrepant_Click:
            c.cmdClearDiscrepant_Click();
            return;
        case Command::mnuUndo_Click:
            c.mnuUndo_Click();
            return;
        case Command::mnuRedo_Click:
            c.mnuRedo_Click();
            return;
        case Command::cmd0_Click:
            c.cmd0_Click(3);
            return;
        case Command::cmdMoreColors_Click:
            c.cmdMoreColors_Click();
            return;
        case Command::cmdClose_Click:
            c.cmdClose_Click();
            return;
        case Command::frmSelect_Unload:
            c.frmSelect_Unload();
            return;
        case Command::SaveEditedRecord:
            EXPECT_FALSE(c.SaveEditedRecord(1, noFields));
            return;
        case Command::PointTip:
            EXPECT_FALSE(c.PointTip(0, 10));
            return;
        case Command::kCount:
            return;
    }
}
#pragma GCC diagnostic pop

using CommandNeeds = test::CommandsFixture;

TEST_F(CommandNeeds, EveryCommandIsRefusedWhileALoadASaveOrAPlotRuns) {
    const std::string other = WriteFile("tcrb.txt", {DataLine("2454200.5", "2.0", "V", "T CrB")});
    auto snapshot = [&] {
        return std::make_tuple(
            EdgesOf(state().view), state().view.JDMagnification, state().star.FileLoaded,
            state().star.FileEdited, state().overlay.OmitFainter, state().overlay.OmitDiscrepant,
            state().star.HiddenBands, marks().ObserverMarked,
            commands->TableReady() ? table().Count() : -1, prompts.messages.size(),
            prompts.fileDialogs.size(), host.presented.size(), picView.revision(),
            state().overlay.tool, view().panels, view().rubberBand.has_value(),
            state().overlay.StatsShown, view().statsChecked, state().overlay.CalendarDates,
            view().recentFiles, binsShown(), polyShown(), commands->recordList() != nullptr,
            state().settings.ConnectMarked, view().phasePlot,
            commands->periodAnalysis() != nullptr);
    };
    // Every command that needs more than Anytime, from inside each turn that a job hands the
    // event loop.
    int turns = 0;
    auto tryEveryCommand = [&] {
        if (!view().busy) return;
        ++turns;
        for (const CommandNeed& need : kCommandNeeds) {
            if (need.needs == Needs::Anytime) continue;
            SCOPED_TRACE(need.name);
            const auto before = snapshot();
            Invoke(*commands, need.command, other);
            EXPECT_EQ(snapshot(), before);
        }
    };

    commands->setPreferencesFolder(dir.path());
    LoadAndFill(WriteRLeo());
    commands->ShowWindow(2454124, 2454126, 9, 11);
    commands->cmdBack_Click();
    ASSERT_TRUE(view().previousViewAvailable);
    commands->cmdMag_Click();
    MarkObserver("XYZ");
    state().star.FileEdited = true;
    host.onPresent = [&](const WindowView&) { tryEveryCommand(); };
    host.onYield = tryEveryCommand;

    commands->Redraw(true);
    EXPECT_GT(turns, 0) << "plot";

    // With the record list open, its commands have rows to work on.
    commands->BoxFinder(-100, 0, 100, 20);
    ASSERT_NE(commands->recordList(), nullptr);
    turns = 0;
    prompts.answer(Answer::No);  // the star layout, not Save as Download File
    commands->mnuSave_Click();
    EXPECT_GT(turns, 0) << "save";
    EXPECT_FALSE(state().star.FileEdited);

    turns = 0;
    commands->LoadStarFile(other);
    EXPECT_GT(turns, 0) << "load";
    EXPECT_EQ(view().starLabel, QString("T CRB - (1 Points)"));
    EXPECT_EQ(prompts.messages.size(), 1u);  // "Are you SURE?" alone
}

}  // namespace
}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// What each command of the main window needs before it may run, declared once, here. The
// command layer refuses a command whose needs are not met before the command starts: it does
// nothing and returns the view unchanged (a command that answers a question answers "no").
// The window disables its menus on the same grounds; the tests build their "refused while
// busy" check from this list.
//
// A new command gets an enumerator in Command and a line in kCommandNeeds (same order), a
// member of its controller, and a forwarder in MainWindowCommands that names the enumerator.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace sabrix {

enum class Needs {
    // Runs at any time, also during a long job: cancelling a load, the pointer's readouts, a
    // window closing, the working table's own life.
    Anytime,
    // No long job runs (an import, a save, a plot, the bins or the fit).
    Idle,
    // Idle, and the table holds every row of what is loaded (none is being read or filled):
    // the loads, the saves and the configuration.
    Table,
    // Idle, and a star is loaded and plotted: the plot, its navigation, zooms and overlays.
    // These work from the plotted columns while the rows are still being filled.
    Plot,
    // Plot and Table: the commands that read or write the rows behind the points.
    Rows,
};

enum class Command {
    // The working table and loading.
    OpenWorkingTable,
    UnloadStar,
    CloseWorkingTable,
    mnuLoad_Click,
    LoadStarFile,
    PollFill,
    FinishFill,
    CancelLoad,
    mnuXYZ_Click,
    LoadThreeColumnFile,
    mnuCalendar_Click,
    mnuRecent_Click,
    DropFile,
    QueryUnload,
    PrepareConfiguration,
    Configure,
    // Saving and exporting.
    mnuSave_Click,
    mnuSaveXYZ_Click,
    mnuSaveDownload_Click,
    mnuExport_Click,
    ExportPlotImage,
    PlotImageOf,
    // The plot and its navigation.
    Redraw,
    cmdReset_Click,
    cmdRefresh_Click,
    mnuFaint_Click,
    mnuDisc_Click,
    cmdBack_Click,
    cmdForward_Click,
    cmdBegin_Click,
    cmdEnder_Click,
    cmdUp_Click,
    CmdDown_Click,
    ShowWindow,
    mnuStats_Click,
    frmStats_Unload,
    // The band panel.
    lstBands_ItemCheck,
    lstBands_DblClick,
    cmdAllBands_Click,
    ShowOnlyBands,
    // The tools and the mouse.
    cmdLocate_Click,
    cmdBox_Click,
    cmdZoomBox_Click,
    cmdMag_Click,
    cmdJDZoom_Click,
    cmdMagZoom_Click,
    picView_MouseDown,
    picView_MouseMove,
    picView_MouseUp,
    picJDScale_MouseDown,
    picMagScale_MouseDown,
    picJDScale_MouseMove,
    picMagScale_MouseMove,
    Form_MouseMove,
    WheelZoom,
    mnuPrevious_Click,
    // The outside programs.
    mnuDocs_Click,
    mnuViewer_Click,
    mnuManage_Click,
    mnuWebSite_Click,
    OpenURL,
    // The averages and the fit.
    cmdBin_Click,
    mnuAvg_Click,
    cmdPoly_Click,
    mnuPoly_Click,
    EnterBins,
    PlotPolyFit,
    // The period search and the phase plot.
    mnuPeriod_Click,
    PeriodSearch,
    PeriodWindowEvent,
    CancelPeriodSearch,
    ClosePeriodWindow,
    ShowPhasePlot,
    mnuTimePlot_Click,
    mnuMinimum_Click,
    mnuMaximum_Click,
    mnuMinimaList_Click,
    TimeOfExtremumInBox,
    MinimaWindowEvent,
    OcWindowEvent,
    // The records behind the points.
    BoxFinder,
    Finder,
    lstRecords_Click,
    cmdLog_Click,
    cmdDelete_Click,
    cmdEdit_Click,
    cmdMark_Click,
    cmdDiscrepant_Click,
    cmdClearDiscrepant_Click,
    cmd0_Click,
    cmdMoreColors_Click,
    cmdClose_Click,
    frmSelect_Unload,
    SaveEditedRecord,
    mnuUndo_Click,
    mnuRedo_Click,
    PointTip,
    // Not a command: the number of commands.
    kCount,
};

struct CommandNeed {
    Command command;
    std::string_view name;
    Needs needs;
};

#define SABRIX_NEEDS(command, needs)             \
    CommandNeed {                                \
        Command::command, #command, Needs::needs \
    }
inline constexpr std::array kCommandNeeds = {
    SABRIX_NEEDS(OpenWorkingTable, Anytime),
    SABRIX_NEEDS(UnloadStar, Anytime),
    SABRIX_NEEDS(CloseWorkingTable, Anytime),
    SABRIX_NEEDS(mnuLoad_Click, Table),
    SABRIX_NEEDS(LoadStarFile, Table),
    // The fill is taken in between jobs; its own state says whether there is one.
    SABRIX_NEEDS(PollFill, Idle),
    SABRIX_NEEDS(FinishFill, Idle),
    SABRIX_NEEDS(CancelLoad, Anytime),
    SABRIX_NEEDS(mnuXYZ_Click, Table),
    SABRIX_NEEDS(LoadThreeColumnFile, Table),
    SABRIX_NEEDS(mnuCalendar_Click, Idle),
    SABRIX_NEEDS(mnuRecent_Click, Table),
    SABRIX_NEEDS(DropFile, Table),
    SABRIX_NEEDS(QueryUnload, Idle),
    SABRIX_NEEDS(PrepareConfiguration, Table),
    SABRIX_NEEDS(Configure, Idle),
    // A save with no star loaded says so.
    SABRIX_NEEDS(mnuSave_Click, Table),
    SABRIX_NEEDS(mnuSaveXYZ_Click, Table),
    SABRIX_NEEDS(mnuSaveDownload_Click, Table),
    // Says "No star file is loaded." itself.
    SABRIX_NEEDS(mnuExport_Click, Idle),
    SABRIX_NEEDS(ExportPlotImage, Plot),
    SABRIX_NEEDS(PlotImageOf, Plot),
    SABRIX_NEEDS(Redraw, Plot),
    SABRIX_NEEDS(cmdReset_Click, Plot),
    SABRIX_NEEDS(cmdRefresh_Click, Plot),
    SABRIX_NEEDS(mnuFaint_Click, Idle),
    SABRIX_NEEDS(mnuDisc_Click, Idle),
    SABRIX_NEEDS(cmdBack_Click, Plot),
    SABRIX_NEEDS(cmdForward_Click, Plot),
    SABRIX_NEEDS(cmdBegin_Click, Plot),
    SABRIX_NEEDS(cmdEnder_Click, Plot),
    SABRIX_NEEDS(cmdUp_Click, Plot),
    SABRIX_NEEDS(CmdDown_Click, Plot),
    SABRIX_NEEDS(ShowWindow, Plot),
    SABRIX_NEEDS(mnuStats_Click, Idle),
    // The stats window's close box: the window has gone whatever runs.
    SABRIX_NEEDS(frmStats_Unload, Anytime),
    SABRIX_NEEDS(lstBands_ItemCheck, Plot),
    SABRIX_NEEDS(lstBands_DblClick, Plot),
    SABRIX_NEEDS(cmdAllBands_Click, Plot),
    SABRIX_NEEDS(ShowOnlyBands, Plot),
    SABRIX_NEEDS(cmdLocate_Click, Idle),
    SABRIX_NEEDS(cmdBox_Click, Idle),
    SABRIX_NEEDS(cmdZoomBox_Click, Idle),
    SABRIX_NEEDS(cmdMag_Click, Idle),
    SABRIX_NEEDS(cmdJDZoom_Click, Idle),
    SABRIX_NEEDS(cmdMagZoom_Click, Idle),
    SABRIX_NEEDS(picView_MouseDown, Plot),
    SABRIX_NEEDS(picView_MouseMove, Idle),
    SABRIX_NEEDS(picView_MouseUp, Plot),
    SABRIX_NEEDS(picJDScale_MouseDown, Plot),
    SABRIX_NEEDS(picMagScale_MouseDown, Plot),
    // The readouts follow the pointer and change nothing else.
    SABRIX_NEEDS(picJDScale_MouseMove, Anytime),
    SABRIX_NEEDS(picMagScale_MouseMove, Anytime),
    SABRIX_NEEDS(Form_MouseMove, Anytime),
    SABRIX_NEEDS(WheelZoom, Plot),
    SABRIX_NEEDS(mnuPrevious_Click, Plot),
    SABRIX_NEEDS(mnuDocs_Click, Idle),
    SABRIX_NEEDS(mnuViewer_Click, Idle),
    SABRIX_NEEDS(mnuManage_Click, Idle),
    SABRIX_NEEDS(mnuWebSite_Click, Idle),
    SABRIX_NEEDS(OpenURL, Idle),
    // These say "No star file is loaded." themselves.
    SABRIX_NEEDS(cmdBin_Click, Idle),
    SABRIX_NEEDS(mnuAvg_Click, Idle),
    SABRIX_NEEDS(cmdPoly_Click, Idle),
    SABRIX_NEEDS(mnuPoly_Click, Idle),
    SABRIX_NEEDS(EnterBins, Plot),
    SABRIX_NEEDS(PlotPolyFit, Plot),
    // Says "No star file is loaded." itself.
    SABRIX_NEEDS(mnuPeriod_Click, Idle),
    SABRIX_NEEDS(PeriodSearch, Plot),
    // The window's actions; its Cancel and Close also stop the search that runs.
    SABRIX_NEEDS(PeriodWindowEvent, Plot),
    SABRIX_NEEDS(CancelPeriodSearch, Anytime),
    SABRIX_NEEDS(ClosePeriodWindow, Anytime),
    SABRIX_NEEDS(ShowPhasePlot, Plot),
    SABRIX_NEEDS(mnuTimePlot_Click, Plot),
    // These say "No star file is loaded." themselves.
    SABRIX_NEEDS(mnuMinimum_Click, Idle),
    SABRIX_NEEDS(mnuMaximum_Click, Idle),
    SABRIX_NEEDS(mnuMinimaList_Click, Idle),
    SABRIX_NEEDS(TimeOfExtremumInBox, Plot),
    SABRIX_NEEDS(MinimaWindowEvent, Idle),
    SABRIX_NEEDS(OcWindowEvent, Idle),
    SABRIX_NEEDS(BoxFinder, Rows),
    SABRIX_NEEDS(Finder, Rows),
    // The record list's own commands also need the list open (RecordsController).
    SABRIX_NEEDS(lstRecords_Click, Idle),
    SABRIX_NEEDS(cmdLog_Click, Rows),
    SABRIX_NEEDS(cmdDelete_Click, Rows),
    SABRIX_NEEDS(cmdEdit_Click, Rows),
    SABRIX_NEEDS(cmdMark_Click, Rows),
    SABRIX_NEEDS(cmdDiscrepant_Click, Rows),
    SABRIX_NEEDS(cmdClearDiscrepant_Click, Rows),
    SABRIX_NEEDS(cmd0_Click, Rows),
    SABRIX_NEEDS(cmdMoreColors_Click, Rows),
    SABRIX_NEEDS(cmdClose_Click, Idle),
    SABRIX_NEEDS(frmSelect_Unload, Idle),
    SABRIX_NEEDS(SaveEditedRecord, Rows),
    SABRIX_NEEDS(mnuUndo_Click, Rows),
    SABRIX_NEEDS(mnuRedo_Click, Rows),
    // The pointer resting on a point: nothing while a job runs or the rows are still coming.
    SABRIX_NEEDS(PointTip, Rows),
};
#undef SABRIX_NEEDS

// Each command's line stands at the place of its enumerator.
constexpr bool CommandNeedsInOrder() {
    for (size_t i = 0; i < kCommandNeeds.size(); ++i)
        if (static_cast<size_t>(kCommandNeeds[i].command) != i) return false;
    return true;
}
static_assert(CommandNeedsInOrder(), "kCommandNeeds must list every Command in its order");
static_assert(kCommandNeeds.size() == static_cast<size_t>(Command::kCount),
              "kCommandNeeds must list every Command");

constexpr Needs NeedsOf(Command command) {
    return kCommandNeeds[static_cast<size_t>(command)].needs;
}

}  // namespace sabrix

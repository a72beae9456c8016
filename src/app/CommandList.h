// Every command of the main window, declared once: its name (the handler's name, kept for
// searching), what it needs before it may run, how the window shows it and the controller
// function that runs it. The window builds its menus, menu items, shortcuts and tool buttons
// from these declarations in the order of kCommands; frmPlot, the command line and the tests
// run a command as commands.Run(cmd::cmdBack_Click).
//
// A new command: a member of the controller that owns the work, a declaration here and its
// place in kCommands (menu items appear in that order), and its test.
#pragma once

#include <QByteArray>
#include <QString>
#include <tuple>

#include "analysis/PeriodDialogs.h"
#include "app/AnalysisController.h"
#include "app/CommandNeeds.h"
#include "app/LoadController.h"
#include "app/MinimaController.h"
#include "app/PeriodController.h"
#include "app/PlotController.h"
#include "app/RecordsController.h"
#include "app/SaveController.h"
#include "app/ShellController.h"
#include "core/SabrixError.h"

// A face names only what it has; g++ 12 would warn about every field a designated
// initializer leaves to its default.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace sabrix::cmd {

using M = MenuPlace;
using L = LoadController;
using S = SaveController;
using P = PlotController;
using A = AnalysisController;
using T = PeriodController;
using R = RecordsController;
using H = ShellController;
using N = MinimaController;

// ---- The working table and loading -------------------------------------------------------

// Form_Load: opens the working table; on failure the view's endRun is 1, after the message.
inline constexpr auto OpenWorkingTable =
    Declare("OpenWorkingTable", Needs::Anytime, &L::OpenWorkingTable);
// Forgets the loaded star and puts a fresh working table in place; false when it could not.
inline constexpr auto UnloadStar = Declare("UnloadStar", Needs::Anytime, &L::UnloadStar);
// The end of the run: closes and deletes the working table; returns the exit code.
inline constexpr auto CloseWorkingTable =
    Declare("CloseWorkingTable", Needs::Anytime, &L::CloseWorkingTable);
inline constexpr auto mnuLoad_Click =
    Declare("mnuLoad_Click", Needs::Table, &L::mnuLoad_Click,
            {.menu = M::Files, .text = "&Load a File", .shortcut = "Ctrl+O"});
// A star file chosen elsewhere; the rows come behind the plot unless RowFill::None.
inline constexpr auto LoadStarFile = Declare("LoadStarFile", Needs::Table, &L::LoadStarFile);
// The fill is taken in between jobs; its own state says whether there is one.
inline constexpr auto PollFill = Declare("PollFill", Needs::Idle, &L::PollFill);
inline constexpr auto FinishFill = Declare("FinishFill", Needs::Idle, &L::FinishFill);
// "Cancel" beside the progress bar, and Escape.
inline constexpr auto CancelLoad = Declare("CancelLoad", Needs::Anytime, &L::CancelLoad);

// ---- Saving --------------------------------------------------------------------------------

// A save with no star loaded says so.
inline constexpr auto mnuSave_Click =
    Declare("mnuSave_Click", Needs::Table, &S::mnuSave_Click,
            {.menu = M::Files, .text = "&Save to Star File", .shortcut = "Ctrl+S"});
inline constexpr auto mnuSaveDownload_Click =
    Declare("mnuSaveDownload_Click", Needs::Table, &S::mnuSaveDownload_Click,
            {.menu = M::Files, .text = "Save as &Download File", .shortcut = "Ctrl+Shift+D"});

// ---- The plot and its navigation -------------------------------------------------------------

inline constexpr auto mnuFaint_Click = Declare(
    "mnuFaint_Click", Needs::Idle, &P::mnuFaint_Click,
    {.menu = M::Files, .text = "Omit \"&fainter thans\"", .shortcut = "Ctrl+F", .checkable = true});
inline constexpr auto mnuDisc_Click =
    Declare("mnuDisc_Click", Needs::Idle, &P::mnuDisc_Click,
            {.menu = M::Files, .text = "Omit d&iscrepant", .checkable = true});
inline constexpr auto mnuXYZ_Click = Declare("mnuXYZ_Click", Needs::Table, &L::mnuXYZ_Click,
                                             {.menu = M::Files,
                                              .text = "Load &3-Column File",
                                              .shortcut = "Ctrl+Shift+O",
                                              .separatorBefore = "mnuSpacer6"});
// A three-column file chosen elsewhere; no time offset: offered for reduced times.
inline constexpr auto LoadThreeColumnFile =
    Declare("LoadThreeColumnFile", Needs::Table, &L::LoadThreeColumnFile);
inline constexpr auto mnuSaveXYZ_Click =
    Declare("mnuSaveXYZ_Click", Needs::Table, &S::mnuSaveXYZ_Click,
            {.menu = M::Files, .text = "Save 3-Colu&mn File", .shortcut = "Ctrl+Shift+S"});
// Says "No star file is loaded." itself.
inline constexpr auto mnuExport_Click =
    Declare("mnuExport_Click", Needs::Idle, &S::mnuExport_Click,
            {.menu = M::Files, .text = "&Export Plot Image", .shortcut = "Ctrl+E"});
// Draws the current view afresh at width x height into the file; false after a message.
inline constexpr auto ExportPlotImage =
    Declare("ExportPlotImage", Needs::Plot, &S::ExportPlotImage);
// The bytes of that picture for the command line; throws SabrixError when it cannot.
inline constexpr auto PlotImageOf = Declare(
    "PlotImageOf", Needs::Plot, &S::PlotImageOf, {},
    []() -> QByteArray { throw SabrixError("Nothing is plotted."); }, true);
// An item of the recent-file list (0 the newest): the questions of "Load a File", the load.
inline constexpr auto mnuRecent_Click =
    Declare("mnuRecent_Click", Needs::Table, &L::mnuRecent_Click,
            {.menu = M::Files, .separatorBefore = "mnuSpacerRecent", .count = kMostRecentFiles});
// A file dropped on the window, or handed over by a later start.
inline constexpr auto DropFile = Declare("DropFile", Needs::Table, &L::DropFile);
inline constexpr WindowCommand mnuExit1_Click{
    "mnuExit1_Click",
    Needs::Anytime,
    {.menu = M::Files, .text = "E&xit", .shortcut = "Ctrl+Q", .separatorBefore = "mnuSpacer7"}};

// ---- The records behind the points -----------------------------------------------------------

// Edit menu: takes back the last change to the table, or makes it again.
inline constexpr auto mnuUndo_Click =
    Declare("mnuUndo_Click", Needs::Rows, &R::mnuUndo_Click,
            {.menu = M::Edit, .text = "&Undo", .shortcut = "Ctrl+Z", .startsDisabled = true});
inline constexpr auto mnuRedo_Click =
    Declare("mnuRedo_Click", Needs::Rows, &R::mnuRedo_Click,
            {.menu = M::Edit, .text = "&Redo", .shortcut = "Ctrl+Shift+Z", .startsDisabled = true});
inline constexpr auto BoxFinder = Declare("BoxFinder", Needs::Rows, &R::BoxFinder);
inline constexpr auto Finder = Declare("Finder", Needs::Rows, &R::Finder);
// The record list's own commands also need the list open (RecordsController).
inline constexpr auto lstRecords_Click =
    Declare("lstRecords_Click", Needs::Idle,
            static_cast<void (R::*)(const std::vector<int>&, int)>(&R::lstRecords_Click));
inline constexpr auto cmdLog_Click = Declare("cmdLog_Click", Needs::Rows, &R::cmdLog_Click);
inline constexpr auto cmdDelete_Click =
    Declare("cmdDelete_Click", Needs::Rows, &R::cmdDelete_Click);
inline constexpr auto cmdEdit_Click = Declare("cmdEdit_Click", Needs::Rows, &R::cmdEdit_Click);
inline constexpr auto cmdMark_Click = Declare("cmdMark_Click", Needs::Rows, &R::cmdMark_Click);
inline constexpr auto cmdDiscrepant_Click =
    Declare("cmdDiscrepant_Click", Needs::Rows, &R::cmdDiscrepant_Click);
inline constexpr auto cmdClearDiscrepant_Click =
    Declare("cmdClearDiscrepant_Click", Needs::Rows, &R::cmdClearDiscrepant_Click);
inline constexpr auto cmd0_Click = Declare("cmd0_Click", Needs::Rows, &R::cmd0_Click);
inline constexpr auto cmdMoreColors_Click =
    Declare("cmdMoreColors_Click", Needs::Rows, &R::cmdMoreColors_Click);
inline constexpr auto cmdClose_Click = Declare("cmdClose_Click", Needs::Idle, &R::cmdClose_Click);
inline constexpr auto frmSelect_Unload =
    Declare("frmSelect_Unload", Needs::Idle, &R::frmSelect_Unload);
// OK of the record editor; false keeps the editor open.
inline constexpr auto SaveEditedRecord =
    Declare("SaveEditedRecord", Needs::Rows, &R::SaveEditedRecord);
// The pointer resting on a point: nothing while a job runs or the rows are still coming.
inline constexpr auto PointTip = Declare("PointTip", Needs::Rows, &R::PointTip);

// ---- The averages, the fit and the period search ---------------------------------------------

// These say "No star file is loaded." themselves.
inline constexpr auto mnuAvg_Click =
    Declare("mnuAvg_Click", Needs::Idle, &A::mnuAvg_Click,
            {.menu = M::Tools, .text = "&Average Values", .shortcut = "Ctrl+B"});
inline constexpr auto mnuPoly_Click =
    Declare("mnuPoly_Click", Needs::Idle, &A::mnuPoly_Click,
            {.menu = M::Tools, .text = "&Polynomial Fit", .shortcut = "Ctrl+P"});
inline constexpr auto cmdBin_Click = Declare(
    "cmdBin_Click", Needs::Idle, &A::cmdBin_Click,
    {.shortcut = "Ctrl+Alt+B", .button = "cmdBin", .toolTip = "Averages", .buttonLeft = 7785});
inline constexpr auto cmdPoly_Click = Declare("cmdPoly_Click", Needs::Idle, &A::cmdPoly_Click,
                                              {.shortcut = "Ctrl+Alt+P",
                                               .button = "cmdPoly",
                                               .toolTip = "Polynomial Fit",
                                               .buttonLeft = 8265});
// Enter of the bins dialog and Plot of the degree dialog; false keeps the dialog open.
inline constexpr auto EnterBins = Declare("EnterBins", Needs::Plot, &A::EnterBins);
inline constexpr auto PlotPolyFit = Declare("PlotPolyFit", Needs::Plot, &A::PlotPolyFit);
// Says "No star file is loaded." itself.
inline constexpr auto mnuPeriod_Click = Declare("mnuPeriod_Click", Needs::Idle, &T::mnuPeriod_Click,
                                                {.menu = M::Tools,
                                                 .text = "Period &Search",
                                                 .shortcut = "Ctrl+R",
                                                 .button = "cmdPeriod",
                                                 .toolTip = "Period Search",
                                                 .buttonLeft = 8745});
// The dialog's Search without the dialog: refuses a range it cannot use, else searches.
inline constexpr auto PeriodSearch =
    Declare("PeriodSearch", Needs::Plot, &T::Search, {}, [] { return PeriodSearchAnswer{false}; });
// The window's actions; its Cancel and Close also stop the search that runs.
inline constexpr auto PeriodWindowEvent =
    Declare("PeriodWindowEvent", Needs::Plot, &T::PeriodWindowEvent);
inline constexpr auto CancelPeriodSearch =
    Declare("CancelPeriodSearch", Needs::Anytime, &T::CancelPeriodSearch);
inline constexpr auto ClosePeriodWindow =
    Declare("ClosePeriodWindow", Needs::Anytime, &T::ClosePeriodWindow);
// The phase plot for the period and the epoch (none: the time of the brightest). Returns the
// refusal said, or an empty text.
inline constexpr auto ShowPhasePlot = Declare("ShowPhasePlot", Needs::Plot, &T::ShowPhasePlot, {},
                                              [] { return QStringLiteral("The plot is busy."); });
inline constexpr auto mnuTimePlot_Click = Declare(
    "mnuTimePlot_Click", Needs::Plot, &T::mnuTimePlot_Click,
    {.menu = M::Tools, .text = "&Time Plot", .shortcut = "Ctrl+Shift+T", .startsDisabled = true});

// ---- The times of minimum and the O-C diagram ---------------------------------------------

// The next box drawn on the light curve finds a minimum (or a maximum); they say "No star
// file is loaded." themselves.
inline constexpr auto mnuMinimum_Click =
    Declare("mnuMinimum_Click", Needs::Idle, &N::mnuMinimum_Click,
            {.menu = M::Tools, .text = "Time of M&inimum", .separatorBefore = "mnuSpacerMinima"});
inline constexpr auto mnuMaximum_Click = Declare("mnuMaximum_Click", Needs::Idle,
                                                 &N::mnuMaximum_Click,
                                                 {.menu = M::Tools, .text = "Time of Ma&ximum"});
// The "Times of minimum" window with the star's list.
inline constexpr auto mnuMinimaList_Click =
    Declare("mnuMinimaList_Click", Needs::Idle, &N::mnuMinimaList_Click,
            {.menu = M::Tools, .text = "Times of Minimum &List"});
// The tool's box without the mouse, corners in picView's frame.
inline constexpr auto TimeOfExtremumInBox =
    Declare("TimeOfExtremumInBox", Needs::Plot, &N::TimeOfExtremumInBox);
inline constexpr auto MinimaWindowEvent =
    Declare("MinimaWindowEvent", Needs::Idle, &N::MinimaWindowEvent);
inline constexpr auto OcWindowEvent = Declare("OcWindowEvent", Needs::Idle, &N::OcWindowEvent);

// ---- The outside programs, the stats window and the views --------------------------------------

inline constexpr auto mnuWebSite_Click = Declare(
    "mnuWebSite_Click", Needs::Idle, &H::mnuWebSite_Click,
    {.menu = M::Tools, .text = "&Download Data File (WWW)", .separatorBefore = "mnuSpacer3"});
inline constexpr auto mnuStats_Click = Declare("mnuStats_Click", Needs::Idle, &P::mnuStats_Click,
                                               {.menu = M::Tools,
                                                .text = "Stats &Window",
                                                .shortcut = "Ctrl+T",
                                                .separatorBefore = "mnuSpacer5",
                                                .checkable = true});
// The stats window's close box: the window has gone whatever runs.
inline constexpr auto frmStats_Unload =
    Declare("frmStats_Unload", Needs::Anytime, &P::frmStats_Unload);
inline constexpr auto mnuCalendar_Click =
    Declare("mnuCalendar_Click", Needs::Idle, &L::mnuCalendar_Click,
            {.menu = M::Tools, .text = "&Calendar Dates", .checkable = true});
// Shows and hides the band panel (the panel's own toggle).
inline constexpr WindowCommand mnuBands_Click{
    "mnuBands_Click",
    Needs::Anytime,
    {.menu = M::Tools, .text = "&Band Panel", .shortcut = "Ctrl+Shift+B"}};
inline constexpr auto mnuViewer_Click =
    Declare("mnuViewer_Click", Needs::Idle, &H::mnuViewer_Click,
            {.menu = M::Tools, .text = "&View Files", .separatorBefore = "mnuspacer4"});
inline constexpr auto mnuManage_Click = Declare("mnuManage_Click", Needs::Idle, &H::mnuManage_Click,
                                                {.menu = M::Tools, .text = "&Manage Files"});
inline constexpr auto mnuPrevious_Click =
    Declare("mnuPrevious_Click", Needs::Plot, &P::mnuPrevious_Click,
            {.menu = M::Tools,
             .text = "P&revious View",
             .shortcut = "Backspace",
             .separatorBefore = "mnuSpacerPrevious",
             .startsDisabled = true,
             .plotKey = "Backspace"});
inline constexpr WindowCommand mnuConfig_Click{
    "mnuConfig_Click", Needs::Table, {.menu = M::Bar, .text = "&Configure"}};
inline constexpr auto mnuDocs_Click =
    Declare("mnuDocs_Click", Needs::Idle, &H::mnuDocs_Click,
            {.menu = M::Help, .text = "&Documentation", .shortcut = "F1"});
inline constexpr WindowCommand mnuAbout_Click{
    "mnuAbout_Click",
    Needs::Idle,
    {.menu = M::Help, .text = "&About Sabrix", .separatorBefore = "mnuSpace"}};
inline constexpr WindowCommand mnuExit_Click{
    "mnuExit_Click", Needs::Anytime, {.menu = M::Bar, .text = "E&xit"}};
inline constexpr auto OpenURL = Declare("OpenURL", Needs::Idle, &H::OpenURL);
// Questions before the run ends and before the configuration dialog; Configure runs the
// dialog on the settings and returns whether the program goes on.
inline constexpr auto QueryUnload = Declare("QueryUnload", Needs::Idle, &L::QueryUnload);
inline constexpr auto PrepareConfiguration =
    Declare("PrepareConfiguration", Needs::Table, &L::PrepareConfiguration);
inline constexpr auto Configure =
    Declare("Configure", Needs::Idle, &L::Configure, {}, [] { return true; });

// ---- The plot: redraw, reset, navigation, the band panel ---------------------------------------

// The redraw sequence: the frames, the plot, then (withOverlays) the overlays.
inline constexpr auto Redraw = Declare("Redraw", Needs::Plot, &P::Redraw);
inline constexpr auto cmdReset_Click = Declare(
    "cmdReset_Click", Needs::Plot, &P::cmdReset_Click,
    {.shortcut = "Ctrl+0", .button = "cmdReset", .toolTip = "Reset Plot", .buttonLeft = 7185});
inline constexpr auto cmdRefresh_Click =
    Declare("cmdRefresh_Click", Needs::Plot, &P::cmdRefresh_Click,
            {.button = "cmdRefresh",
             .toolTip = "Refresh Plot Screen",
             .buttonLeft = 6600,
             .plotKey = "F5"});
// The navigation buttons.
inline constexpr auto cmdBegin_Click = Declare(
    "cmdBegin_Click", Needs::Plot, &P::cmdBegin_Click,
    {.button = "cmdBegin", .toolTip = "Beginning of Plot", .buttonLeft = 3465, .plotKey = "Home"});
inline constexpr auto cmdBack_Click =
    Declare("cmdBack_Click", Needs::Plot, &P::cmdBack_Click,
            {.button = "cmdBack", .toolTip = "Back", .buttonLeft = 3945, .plotKey = "Left"});
inline constexpr auto cmdForward_Click =
    Declare("cmdForward_Click", Needs::Plot, &P::cmdForward_Click,
            {.button = "cmdForward", .toolTip = "Forward", .buttonLeft = 4425, .plotKey = "Right"});
inline constexpr auto cmdEnder_Click =
    Declare("cmdEnder_Click", Needs::Plot, &P::cmdEnder_Click,
            {.button = "cmdEnder", .toolTip = "End of Plot", .buttonLeft = 4905, .plotKey = "End"});
inline constexpr auto CmdDown_Click =
    Declare("CmdDown_Click", Needs::Plot, &P::CmdDown_Click,
            {.button = "CmdDown", .toolTip = "Dimmer", .buttonLeft = 5505, .plotKey = "Down"});
inline constexpr auto cmdUp_Click =
    Declare("cmdUp_Click", Needs::Plot, &P::cmdUp_Click,
            {.button = "cmdUp", .toolTip = "Brighter", .buttonLeft = 5985, .plotKey = "Up"});
// Shows the given window of the loaded star (nothing for an empty or reversed edge pair).
inline constexpr auto ShowWindow = Declare("ShowWindow", Needs::Plot, &P::ShowWindow);
inline constexpr auto lstBands_ItemCheck =
    Declare("lstBands_ItemCheck", Needs::Plot, &P::lstBands_ItemCheck);
inline constexpr auto lstBands_DblClick =
    Declare("lstBands_DblClick", Needs::Plot, &P::lstBands_DblClick);
inline constexpr auto cmdAllBands_Click =
    Declare("cmdAllBands_Click", Needs::Plot, &P::cmdAllBands_Click);
inline constexpr auto ShowOnlyBands = Declare("ShowOnlyBands", Needs::Plot, &P::ShowOnlyBands);

// ---- The tools and the mouse -----------------------------------------------------------------

inline constexpr auto cmdZoomBox_Click =
    Declare("cmdZoomBox_Click", Needs::Idle, &P::cmdZoomBox_Click,
            {.shortcut = "Ctrl+1",
             .checkable = true,
             .button = "cmdZoomBox",
             .toolTip = "Select Zoom",
             .buttonLeft = 0});
inline constexpr auto cmdBox_Click = Declare("cmdBox_Click", Needs::Idle, &P::cmdBox_Click,
                                             {.shortcut = "Ctrl+2",
                                              .checkable = true,
                                              .button = "cmdBox",
                                              .toolTip = "Select Edits",
                                              .buttonLeft = 600});
inline constexpr auto cmdLocate_Click = Declare("cmdLocate_Click", Needs::Idle, &P::cmdLocate_Click,
                                                {.shortcut = "Ctrl+3",
                                                 .checkable = true,
                                                 .button = "cmdLocate",
                                                 .toolTip = "Locate Point",
                                                 .buttonLeft = 1185});
inline constexpr auto cmdMag_Click = Declare("cmdMag_Click", Needs::Idle, &P::cmdMag_Click,
                                             {.shortcut = "Ctrl+4",
                                              .checkable = true,
                                              .button = "cmdMag",
                                              .toolTip = "Zoom In/Out",
                                              .buttonLeft = 1800});
inline constexpr auto cmdJDZoom_Click = Declare("cmdJDZoom_Click", Needs::Idle, &P::cmdJDZoom_Click,
                                                {.shortcut = "Ctrl+5",
                                                 .checkable = true,
                                                 .button = "cmdJDZoom",
                                                 .toolTip = "Expand/Contract JD",
                                                 .buttonLeft = 2385});
inline constexpr auto cmdMagZoom_Click =
    Declare("cmdMagZoom_Click", Needs::Idle, &P::cmdMagZoom_Click,
            {.shortcut = "Ctrl+6",
             .checkable = true,
             .button = "cmdMagZoom",
             .toolTip = "Expand/Contract Mag",
             .buttonLeft = 2865});
// x and y in picView's frame; the button and shift codes of PictureBox.
inline constexpr auto picView_MouseDown =
    Declare("picView_MouseDown", Needs::Plot, &P::picView_MouseDown);
inline constexpr auto picView_MouseMove =
    Declare("picView_MouseMove", Needs::Idle, &P::picView_MouseMove);
inline constexpr auto picView_MouseUp =
    Declare("picView_MouseUp", Needs::Plot, &P::picView_MouseUp);
// The scale strips, in their own frames: x of the JD strip, y of the magnitude strip.
inline constexpr auto picJDScale_MouseDown =
    Declare("picJDScale_MouseDown", Needs::Plot, &P::picJDScale_MouseDown);
inline constexpr auto picMagScale_MouseDown =
    Declare("picMagScale_MouseDown", Needs::Plot, &P::picMagScale_MouseDown);
// The readouts follow the pointer and change nothing else.
inline constexpr auto picJDScale_MouseMove =
    Declare("picJDScale_MouseMove", Needs::Anytime, &P::picJDScale_MouseMove);
inline constexpr auto picMagScale_MouseMove =
    Declare("picMagScale_MouseMove", Needs::Anytime, &P::picMagScale_MouseMove);
inline constexpr auto Form_MouseMove =
    Declare("Form_MouseMove", Needs::Anytime, &P::Form_MouseMove);
// The mouse wheel over the plot: a burst of notches, zoomed at the pointer, drawn once.
inline constexpr auto WheelZoom = Declare("WheelZoom", Needs::Plot, &P::WheelZoom);

// Every command, in the order of the window's menus.
inline constexpr auto kCommands = std::tuple{
    &OpenWorkingTable,
    &UnloadStar,
    &CloseWorkingTable,
    &mnuLoad_Click,
    &LoadStarFile,
    &PollFill,
    &FinishFill,
    &CancelLoad,
    &mnuSave_Click,
    &mnuSaveDownload_Click,
    &mnuFaint_Click,
    &mnuDisc_Click,
    &mnuXYZ_Click,
    &LoadThreeColumnFile,
    &mnuSaveXYZ_Click,
    &mnuExport_Click,
    &ExportPlotImage,
    &PlotImageOf,
    &mnuRecent_Click,
    &DropFile,
    &mnuExit1_Click,
    &mnuUndo_Click,
    &mnuRedo_Click,
    &BoxFinder,
    &Finder,
    &lstRecords_Click,
    &cmdLog_Click,
    &cmdDelete_Click,
    &cmdEdit_Click,
    &cmdMark_Click,
    &cmdDiscrepant_Click,
    &cmdClearDiscrepant_Click,
    &cmd0_Click,
    &cmdMoreColors_Click,
    &cmdClose_Click,
    &frmSelect_Unload,
    &SaveEditedRecord,
    &PointTip,
    &mnuAvg_Click,
    &mnuPoly_Click,
    &cmdBin_Click,
    &cmdPoly_Click,
    &EnterBins,
    &PlotPolyFit,
    &mnuPeriod_Click,
    &PeriodSearch,
    &PeriodWindowEvent,
    &CancelPeriodSearch,
    &ClosePeriodWindow,
    &ShowPhasePlot,
    &mnuTimePlot_Click,
    &mnuMinimum_Click,
    &mnuMaximum_Click,
    &mnuMinimaList_Click,
    &TimeOfExtremumInBox,
    &MinimaWindowEvent,
    &OcWindowEvent,
    &mnuWebSite_Click,
    &mnuStats_Click,
    &frmStats_Unload,
    &mnuCalendar_Click,
    &mnuBands_Click,
    &mnuViewer_Click,
    &mnuManage_Click,
    &mnuPrevious_Click,
    &mnuConfig_Click,
    &mnuDocs_Click,
    &mnuAbout_Click,
    &mnuExit_Click,
    &OpenURL,
    &QueryUnload,
    &PrepareConfiguration,
    &Configure,
    &Redraw,
    &cmdReset_Click,
    &cmdRefresh_Click,
    &cmdBegin_Click,
    &cmdBack_Click,
    &cmdForward_Click,
    &cmdEnder_Click,
    &CmdDown_Click,
    &cmdUp_Click,
    &ShowWindow,
    &lstBands_ItemCheck,
    &lstBands_DblClick,
    &cmdAllBands_Click,
    &ShowOnlyBands,
    &cmdZoomBox_Click,
    &cmdBox_Click,
    &cmdLocate_Click,
    &cmdMag_Click,
    &cmdJDZoom_Click,
    &cmdMagZoom_Click,
    &picView_MouseDown,
    &picView_MouseMove,
    &picView_MouseUp,
    &picJDScale_MouseDown,
    &picMagScale_MouseDown,
    &picJDScale_MouseMove,
    &picMagScale_MouseMove,
    &Form_MouseMove,
    &WheelZoom,
};

// Calls f with each declaration of kCommands, in order.
template <typename F>
constexpr void ForEachCommand(F&& f) {
    std::apply([&](const auto*... declaration) { (f(*declaration), ...); }, kCommands);
}

}  // namespace sabrix::cmd

#pragma GCC diagnostic pop

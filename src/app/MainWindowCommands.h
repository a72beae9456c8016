// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of the main window, without the window: the one door through which frmPlot,
// the command line and the tests run them. Each command keeps its name (cmdBack_Click,
// mnuSave_Click, ...) and is a forwarder: it checks the command's needs (CommandNeeds.h),
// refusing it when they are not met (the view returned unchanged, or "no"), and hands it to
// the controller that owns that part of the work:
//
//   LoadController      loads, the fill behind the plot, unloading, the working table,
//                       Sabrix.prefs and the questions before exit and configuration
//   SaveController      the three saves and "Export Plot Image"
//   PlotController      reset, refresh, navigation, the stats window, the tools, the mouse
//   AnalysisController  the averages and the polynomial fit
//   PeriodController    the period search, its window and the phase plot
//   RecordsController   box selection and locate, the record list, the editor, marking
//   ShellController     the user guide, the text viewer, the file manager, the web page
//
// The controllers share a CommandContext: the application state, the working table, the
// three canvases, the questions (Prompts), the host that shows the view during long jobs,
// and the WindowView that each command leaves for the window to apply.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/CommandContext.h"
#include "app/LoadController.h"

namespace sabrix {

class AnalysisController;
class AnalysisDialogs;
class DesktopOpener;
class ImageExportDialog;
class PeriodAnalysis;
class MinimaController;
class MinimaDialogs;
struct ListedExtremum;
struct MinimaEvent;
struct OcEvent;
class PeriodController;
class PeriodDialogs;
class PlotController;
class RecordDialogs;
class RecordList;
class RecordsController;
class SaveController;
class ShellController;
struct BinDialogFields;
struct Bins;
struct FourierModel;
struct PeriodSearchAnswer;
struct PeriodSearchFields;
struct PeriodogramEvent;
struct PolySample;
struct RecordField;
enum class PlotImageFormat;

class MainWindowCommands {
  public:
    using Canvases = CommandCanvases;
    using TableFiles = sabrix::TableFiles;
    using RowFill = LoadController::RowFill;

    MainWindowCommands(AppState state, TableFiles files, Prompts& prompts, WindowHost& host,
                       Canvases canvases);
    ~MainWindowCommands();

    // ---- What the window, the command line and the tests read, and the seams they set ----

    const AppState& state() const { return context_.state; }
    // The working table; null before OpenWorkingTable, after a failure to replace it and
    // after CloseWorkingTable.
    const ObsTable* table() const { return context_.table.get(); }
    const WindowView& view() const { return context_.view; }
    // True when the table holds every row of the loaded file (see Needs::Table).
    bool TableReady() const { return context_.TableReady(); }
    // The lines of the star file that the last load wrote to Errors.txt.
    int64_t rejectedLines() const;
    // The lines of the download file loaded (LoadController::downloadSource); null when none.
    const DownloadSource* downloadSource() const;
    const Preferences& preferences() const;
    // The record list while it is open; null otherwise.
    const RecordList* recordList() const;
    // The averages of the last Enter of the bins dialog, and the samples of the fitted curve
    // over the plot window (none before a fit is plotted).
    const Bins& bins() const;
    std::vector<PolySample> PolyCurve() const;

    // The clock of the dated header lines; the system clock unless a test sets another.
    void setClock(const Clock* clock) { context_.clock = clock; }
    // Reads Sabrix.prefs of the program folder and keeps it from then on (LoadController).
    void setPreferencesFolder(const std::string& programDir);
    // The desktop that opens the user guide and the rest, and where the user guide is.
    void setDesktop(DesktopOpener& opener, std::string userGuide);
    // The dialogs the commands open; none (the default) opens nothing.
    void setAnalysisDialogs(AnalysisDialogs* dialogs);
    void setPeriodDialogs(PeriodDialogs* dialogs);
    void setRecordDialogs(RecordDialogs* dialogs);
    void setMinimaDialogs(MinimaDialogs* dialogs);
    // The loaded star's times of minimum (read from beside its file on first use).
    const std::vector<ListedExtremum>& minimaList();
    // The search of the open period search window; null when none is open.
    const PeriodAnalysis* periodAnalysis() const;
    // The Fourier model drawn over the plot; null when none is.
    const FourierModel* periodModel() const;
    // What the phase plot folds while it is shown; nothing on the light curve.
    const std::optional<PhaseFold>& phaseFold() const { return context_.fold; }
    void setImageExportDialog(ImageExportDialog* dialog);

    // ---- The working table and loading (LoadController) ---------------------------------

    // Form_Load: opens the working table. On failure the view's endRun is 1, after the message.
    const WindowView& OpenWorkingTable();
    // Forgets the loaded star and puts a fresh working table in place. Returns false when the
    // table could not be replaced (the message said, the view's endRun 1).
    bool UnloadStar();
    // The end of the run: closes and deletes the working table. Returns the exit code.
    int CloseWorkingTable(int exitCode);
    // "Load a File" asks for the file, then (a star is loaded) whether to unload it and, while
    // edits are unsaved, whether to save them first; LoadStarFile takes a
    // file chosen elsewhere. The plot comes first; with RowFill::Behind the rows are written
    // behind it (view().filling: the window calls PollFill on a timer, the command line
    // FinishFill); with RowFill::None they never are.
    const WindowView& mnuLoad_Click();
    const WindowView& LoadStarFile(const std::string& path, RowFill fill = RowFill::Behind);
    const WindowView& PollFill();
    const WindowView& FinishFill();
    // "Cancel" beside the progress bar, and Escape: stops the load that runs.
    const WindowView& CancelLoad();
    const WindowView& mnuXYZ_Click();
    // A three-column file chosen elsewhere; timeOffset as LoadController says (nothing: offered
    // for reduced times).
    const WindowView& LoadThreeColumnFile(const std::string& path,
                                          std::optional<double> timeOffset = std::nullopt);
    const WindowView& mnuCalendar_Click();
    // An item of the recent-file list (0 the newest), and a file dropped on the window (or
    // handed over by a second start): the questions of "Load a File", then the load.
    const WindowView& mnuRecent_Click(size_t index);
    // A handed-over file may say its kind and time offset, as the command line does.
    const WindowView& DropFile(const std::string& path,
                               std::optional<ObservationFileKind> kind = std::nullopt,
                               std::optional<double> timeOffset = std::nullopt);
    // Before the run ends: false when the user wants another chance to save, or a job runs.
    bool QueryUnload();
    // Before the configuration dialog: asks to unload a loaded star (and, while edits are
    // unsaved, whether to save them first) and does. Returns whether the dialog may open.
    bool PrepareConfiguration();
    // Runs the configuration dialog on the settings; returns whether the program goes on.
    bool Configure(const std::function<bool(Settings&)>& dialog);

    // ---- Saving and exporting (SaveController) -------------------------------------------

    const WindowView& mnuSave_Click();
    const WindowView& mnuSaveXYZ_Click();
    const WindowView& mnuSaveDownload_Click();
    const WindowView& mnuExport_Click();
    // Draws the current view afresh at width x height into the file, in the format its name
    // says. Returns false, after a message, when it cannot (see SaveController).
    bool ExportPlotImage(const std::string& path, int width, int height);
    // The bytes of that picture, without size limits (the command line). Throws SabrixError
    // when nothing is plotted, the drawing fails or the picture cannot be encoded.
    QByteArray PlotImageOf(PlotImageFormat format, int width, int height);

    // ---- The plot and its navigation (PlotController) -------------------------------------

    // The redraw sequence: the frames, the plot, then (withOverlays) the overlays. Also what
    // a resize of the window runs.
    const WindowView& Redraw(bool withOverlays);
    const WindowView& cmdReset_Click();
    const WindowView& cmdRefresh_Click();
    const WindowView& mnuFaint_Click();
    const WindowView& mnuDisc_Click();
    const WindowView& lstBands_ItemCheck(const std::string& band, bool shown);
    const WindowView& lstBands_DblClick(const std::string& band);
    const WindowView& cmdAllBands_Click();
    // The tooltip of the pointer resting at (x, y) of picView: the details of the shown
    // observation under it; nothing when none is there or the command may not run.
    std::optional<QString> PointTip(double x, double y);
    const WindowView& ShowOnlyBands(const std::set<std::string>& bands);
    const WindowView& cmdBack_Click();
    const WindowView& cmdForward_Click();
    const WindowView& cmdBegin_Click();
    const WindowView& cmdEnder_Click();
    const WindowView& cmdUp_Click();
    const WindowView& CmdDown_Click();
    // Shows the given window of the loaded star and redraws (nothing for an empty or
    // reversed edge pair).
    const WindowView& ShowWindow(double jdLeft, double jdRight, double magTop, double magBottom);
    // The stats window: the menu toggle, and its own close box.
    const WindowView& mnuStats_Click();
    const WindowView& frmStats_Unload();

    // ---- The tools and the mouse (PlotController) -----------------------------------------

    const WindowView& cmdLocate_Click();
    const WindowView& cmdBox_Click();
    const WindowView& cmdZoomBox_Click();
    const WindowView& cmdMag_Click();
    const WindowView& cmdJDZoom_Click();
    const WindowView& cmdMagZoom_Click();
    // x and y in picView's frame; the button and shift codes of PictureBox.
    const WindowView& picView_MouseDown(int button, int shift, double x, double y);
    const WindowView& picView_MouseMove(int button, int shift, double x, double y);
    const WindowView& picView_MouseUp(int button, int shift, double x, double y);
    // The scale strips, in their own frames; Form_MouseMove: the window itself.
    const WindowView& picJDScale_MouseDown(int button, int shift, double x, double y);
    const WindowView& picMagScale_MouseDown(int button, int shift, double x, double y);
    const WindowView& picJDScale_MouseMove(int button, int shift, double x, double y);
    const WindowView& picMagScale_MouseMove(int button, int shift, double x, double y);
    const WindowView& Form_MouseMove();
    // The mouse wheel over the plot: a burst of notches, zoomed at the pointer, drawn once.
    const WindowView& WheelZoom(int notches, bool magnitude, double x, double y);
    const WindowView& mnuPrevious_Click();

    // ---- The outside programs (ShellController) -------------------------------------------

    const WindowView& mnuDocs_Click();
    const WindowView& mnuViewer_Click();
    const WindowView& mnuManage_Click();
    const WindowView& mnuWebSite_Click();
    const WindowView& OpenURL(const QString& url);

    // ---- The averages and the fit (AnalysisController) ------------------------------------

    const WindowView& cmdBin_Click();
    const WindowView& mnuAvg_Click();
    const WindowView& cmdPoly_Click();
    const WindowView& mnuPoly_Click();
    // Enter of the bins dialog and Plot of the degree dialog; false keeps the dialog open.
    bool EnterBins(const BinDialogFields& fields);
    bool PlotPolyFit(const QString& degreeText);

    // ---- The period search and the phase plot (PeriodController) ---------------------------
    // Tools > Period Search: the dialog, then the window with the periodogram (a job).
    const WindowView& mnuPeriod_Click();
    // The dialog's Search without the dialog: refuses a range it cannot use (close false, the
    // field to correct), else searches the observations shown and opens the window.
    PeriodSearchAnswer PeriodSearch(const PeriodSearchFields& fields);
    // An action of the period search window (its Cancel and Close go to the two below).
    const WindowView& PeriodWindowEvent(const PeriodogramEvent& event);
    const WindowView& CancelPeriodSearch();
    const WindowView& ClosePeriodWindow();
    // The phase plot of the observations shown for the period and the epoch (none: the time
    // of the brightest, or the model's maximum), with the model of `harmonics` harmonics drawn
    // over it (0: none). Returns the refusal said, or an empty text.
    QString ShowPhasePlot(double period, std::optional<double> epoch, int harmonics = 0);
    // "Time Plot": back to the light curve.
    const WindowView& mnuTimePlot_Click();

    // ---- The times of minimum and the O-C diagram (MinimaController) -----------------------
    // Tools > Time of Minimum / Time of Maximum: the next box drawn finds the extremum.
    const WindowView& mnuMinimum_Click();
    const WindowView& mnuMaximum_Click();
    // Tools > Times of Minimum: the list window.
    const WindowView& mnuMinimaList_Click();
    // The tool's box without the mouse, corners in picView's frame.
    const WindowView& TimeOfExtremumInBox(double x1, double y1, double x2, double y2);
    const WindowView& MinimaWindowEvent(const MinimaEvent& event);
    const WindowView& OcWindowEvent(const OcEvent& event);

    // ---- The records behind the points (RecordsController) --------------------------------

    const WindowView& BoxFinder(double x1, double y1, double x2, double y2);
    const WindowView& Finder(double x, double y);
    const WindowView& lstRecords_Click(const std::vector<int>& lines, int current);
    const WindowView& cmdLog_Click();
    const WindowView& cmdDelete_Click();
    const WindowView& cmdEdit_Click();
    const WindowView& cmdMark_Click();
    const WindowView& cmdDiscrepant_Click();
    const WindowView& cmdClearDiscrepant_Click();
    const WindowView& cmd0_Click(int index);
    const WindowView& cmdMoreColors_Click();
    const WindowView& cmdClose_Click();
    const WindowView& frmSelect_Unload();
    // OK of the record editor; false keeps the editor open.
    bool SaveEditedRecord(int64_t id, const std::vector<RecordField>& fields);
    // Edit menu: takes back the last change to the table, or makes the last one taken back
    // again; nothing when there is none.
    const WindowView& mnuUndo_Click();
    const WindowView& mnuRedo_Click();

  private:
    friend struct test::CommandsTestPeer;

    // Runs the action when the command's needs are met; returns the view either way.
    template <typename Action>
    const WindowView& Run(Command command, Action&& action) {
        if (context_.Allows(command)) action();
        return context_.view;
    }
    // Returns the action's answer when the command's needs are met, else refused.
    template <typename Action>
    bool Ask(Command command, bool refused, Action&& action) {
        return context_.Allows(command) ? action() : refused;
    }

    CommandContext context_;
    std::unique_ptr<LoadController> loads_;
    std::unique_ptr<RecordsController> records_;
    std::unique_ptr<PlotController> plot_;
    std::unique_ptr<AnalysisController> analysis_;
    std::unique_ptr<PeriodController> period_;
    std::unique_ptr<SaveController> saves_;
    std::unique_ptr<ShellController> shell_;
    std::unique_ptr<MinimaController> minima_;
};

}  // namespace sabrix

// The commands of the main window, without the window: loading, unloading, saving, the redraw
// sequence, reset, refresh, navigation, "Omit fainter thans", the stats window toggle, and the
// questions before exit and configuration. It owns the application state and the working
// table, draws on the three canvases it is given, asks its questions through Prompts and
// describes the window it leaves in a WindowView. The main window's slots call a command and
// apply the view it returns; the command line and the tests drive the same commands with no
// window, so there is one load flow per file kind.
//
// Commands refuse at their top (returning the view unchanged) while a long job runs: during
// imports, saves and plots the host's event loop turns, and a second command must not start
// inside the first. A star file's rows are written behind its first plot; until they all are,
// the commands that need them refuse too (TableReady), while the plot and its navigation work.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "analysis/AnalysisDialogs.h"
#include "app/WindowHost.h"
#include "app/WindowView.h"
#include "core/AppState.h"
#include "core/Clock.h"
#include "core/DesktopOpener.h"
#include "core/EventPacer.h"
#include "core/ObservationFileKind.h"
#include "core/Preferences.h"
#include "core/Prompts.h"
#include "data/ObsTable.h"
#include "data/SaveCommands.h"
#include "dialogs/ImageExportDialog.h"
#include "interaction/RecordDialogs.h"
#include "interaction/RecordList.h"
#include "interaction/ViewHistory.h"
#include "plot/Canvas.h"
#include "plot/PlotImageFile.h"

namespace sabrix {

class MainWindowCommands : private SaveDisplay {
  public:
    // The surfaces of the plot: picView and the two scale strips. The owner keeps them sized
    // to what the user sees; they must outlive the commands.
    struct Canvases {
        Canvas& picView;
        Canvas& picJDScale;
        Canvas& picMagScale;
    };
    // Where the working table lives: the program folder's working database for the windows,
    // a scratch file for the command line; unloading replaces it with a copy of the template.
    struct TableFiles {
        std::string database;
        std::string templateDatabase;
    };

    MainWindowCommands(AppState state, TableFiles files, Prompts& prompts, WindowHost& host,
                       Canvases canvases);
    ~MainWindowCommands() override;

    AppState& state() { return state_; }
    const AppState& state() const { return state_; }
    // The working table; null before OpenWorkingTable, after a failure to replace it and after
    // CloseWorkingTable.
    ObsTable* table() { return table_.get(); }
    const WindowView& view() const { return view_; }
    // The clock of the dated header lines; the system clock unless a test sets another.
    void setClock(const Clock* clock) { clock_ = clock; }
    // The desktop that opens the user guide, the text viewer, the file manager and the
    // download page, and where the user guide is; until set, nothing is opened (the
    // commands say so). The opener must outlive the commands.
    void setDesktop(DesktopOpener& opener, std::string userGuide);
    // The lines of the star file that the last load wrote to Errors.txt.
    int64_t rejectedLines() const { return rejectedLines_; }

    // Form_Load: opens the working table. On failure the view's endRun is 1, after the message.
    const WindowView& OpenWorkingTable();
    // Forgets the loaded star: the state of the star reset, the canvases cleared, the empty
    // look, and a fresh working table. Returns false when the table could not be replaced;
    // the message has been shown and the view's endRun is 1.
    bool UnloadStar();
    // The end of the run: closes and deletes the working table. Returns the exit code: 1 when
    // the table could not be deleted (after its message, unless exitCode was 1 already).
    int CloseWorkingTable(int exitCode);

    // The one guard of the commands that read or write rows of the table (loads, the saves,
    // Save as Download File, the configuration, and the selection, record list and marking):
    // true when the table holds every row of the loaded file. False while a load reads the file or
    // fills the table behind its plot, and after a load that kept only the plotted columns. The
    // plot, the navigation, the zooms, the stats window, the averages and the fit work from the
    // columns and need no rows.
    bool TableReady() const;

    // Loading. "Load a File" asks to unload a loaded star, then for the file; LoadStarFile
    // takes a file chosen elsewhere (the command line). The three-column commands likewise.
    // A star file is drawn from its plotted columns as soon as it has been read; with
    // RowFill::Behind its rows are then written on the table's own thread while the user
    // looks at the plot (view().filling, PollFill); with RowFill::None they are never written
    // (a render that needs only the columns; the table then stays not ready).
    enum class RowFill { Behind, None };
    const WindowView& mnuLoad_Click();
    const WindowView& LoadStarFile(const std::string& path, RowFill fill = RowFill::Behind);
    // The fill behind the plot: moves the progress bar; once the fill has ended, the table is
    // ready, or, when it failed, its message has been said and the window is empty. The
    // window calls it on a timer while view().filling. Does nothing during a job.
    const WindowView& PollFill();
    // Waits for the fill to end, then as PollFill (the command line and the tests).
    const WindowView& FinishFill();
    // "Cancel" beside the progress bar, and Escape: stops the load that runs (reading or
    // filling). The table is empty again and the window shows its empty look naming no file;
    // nothing is said. A read stops at its next line; a fill at once, or after the command
    // that is on its way. Allowed while busy; does nothing when no load runs.
    const WindowView& CancelLoad();
    const WindowView& mnuXYZ_Click();
    const WindowView& LoadThreeColumnFile(const std::string& path);

    // Sabrix.prefs: the "Calendar Dates" check and the files loaded last. Reads the file of the
    // program folder; from then on every successful load puts its file first in the list and
    // every change is written back. Until set (the command line), nothing is kept.
    void setPreferencesFolder(const std::string& programDir);
    const Preferences& preferences() const { return preferences_; }
    // "Calendar Dates": turns the calendar labels of the JD strip and the date in the pointer
    // readout on or off, keeps the choice and draws the JD strip again.
    const WindowView& mnuCalendar_Click();
    // An item of the recent-file list (0 the newest): loads that file as its kind's menu
    // command would, after the same question when a star is loaded. A file that is no longer
    // there is said so and taken off the list. An index beyond the list does nothing.
    const WindowView& mnuRecent_Click(size_t index);
    // A file dropped on the main window: loaded as the kind GuessObservationFileKind finds,
    // after that kind's question when a star is loaded. A path that is no file is said so.
    const WindowView& DropFile(const std::string& path);

    // Saving.
    const WindowView& mnuSave_Click();
    const WindowView& mnuSaveXYZ_Click();
    const WindowView& mnuSaveDownload_Click();

    // "Export Plot Image" (ExportCommands.cpp). Asks for the size and format through the
    // dialog set here (none: the command does nothing), offering the last choice, at first the
    // size that gives the exported plot the size of picView, in PNG; then for the file (the
    // star's name in the loaded file's folder offered). A name with the extension of a format
    // (.png, .svg, .pdf, any case) is written in that format; any other name gets the chosen
    // format's extension appended (and the question before it replaces a file).
    void setImageExportDialog(ImageExportDialog* dialog) { imageExportDialog_ = dialog; }
    const WindowView& mnuExport_Click();
    // Draws the current view afresh at width x height (label, both strips, the plot, the
    // marks and the overlay shown) into the file, in the format its name says. Returns true
    // when written. Returns false, after a message, when nothing is plotted, the name has no
    // image extension, the size is outside the export limits (PlotImageSizeAllowed) or the
    // file cannot be written; an existing file then keeps its content.
    bool ExportPlotImage(const std::string& path, int width, int height);
    // The bytes of that picture, without size limits (the command line's own apply). Throws
    // SabrixError when the drawing fails or the picture cannot be encoded.
    QByteArray PlotImageOf(PlotImageFormat format, int width, int height);

    // The redraw sequence: the frames, then the plot; the overlays follow when withOverlays.
    // Does nothing while nothing is loaded. Also what a resize of the window runs.
    const WindowView& Redraw(bool withOverlays);
    const WindowView& cmdReset_Click();
    const WindowView& cmdRefresh_Click();
    const WindowView& mnuFaint_Click();
    const WindowView& cmdBack_Click();
    const WindowView& cmdForward_Click();
    const WindowView& cmdBegin_Click();
    const WindowView& cmdEnder_Click();
    const WindowView& cmdUp_Click();
    const WindowView& CmdDown_Click();
    // Shows the given window of the loaded star, the magnification factors set to how much
    // narrower and lower it is than the full view, and redraws. Returns the view unchanged
    // when nothing is loaded or an edge pair is empty or reversed.
    const WindowView& ShowWindow(double jdLeft, double jdRight, double magTop, double magBottom);

    // The tool buttons: each makes its tool the current one and shows its cursor.
    const WindowView& cmdLocate_Click();
    const WindowView& cmdBox_Click();
    const WindowView& cmdZoomBox_Click();
    const WindowView& cmdMag_Click();
    const WindowView& cmdJDZoom_Click();
    const WindowView& cmdMagZoom_Click();

    // The mouse on the plot, x and y in picView's frame (days since JDFirst, magnitude); the
    // codes of PictureBox (button 1 left, 2 right, 4 middle; shift 1 Shift, 2 Ctrl, 4 Alt).
    const WindowView& picView_MouseDown(int button, int shift, double x, double y);
    const WindowView& picView_MouseMove(int button, int shift, double x, double y);
    const WindowView& picView_MouseUp(int button, int shift, double x, double y);
    // The scale strips, in their own frames (full JDs across the JD strip, magnitudes down the
    // magnitude strip): a press draws a grey reference line across the plot, a move shows the
    // readout. Form_MouseMove: the pointer over the window itself clears the readouts.
    const WindowView& picJDScale_MouseDown(int button, int shift, double x, double y);
    const WindowView& picMagScale_MouseDown(int button, int shift, double x, double y);
    const WindowView& picJDScale_MouseMove(int button, int shift, double x, double y);
    const WindowView& picMagScale_MouseMove(int button, int shift, double x, double y);
    const WindowView& Form_MouseMove();
    // The mouse wheel over the plot: each notch a plain JD zoom press at the pointer (in for
    // notches forward, out for backward), of the magnitude axis instead when magnitude is set;
    // a burst of notches is drawn once.
    const WindowView& WheelZoom(int notches, bool magnitude, double x, double y);
    // "Previous View": the window before the last zoom or navigation step (up to 50 back).
    const WindowView& mnuPrevious_Click();

    // The stats window: the menu toggle, and its own close box.
    const WindowView& mnuStats_Click();
    const WindowView& frmStats_Unload();

    // The outside programs. Documentation opens the user guide in the browser and clears
    // status panel 1; View Files asks for a file and opens it in the text editor (cancel
    // opens nothing); Manage Files opens the file manager on the files folder; Download Data
    // File opens DownloadPageAddress() through OpenURL. A target that the desktop cannot
    // open is said in a message; nothing else changes.
    const WindowView& mnuDocs_Click();
    const WindowView& mnuViewer_Click();
    const WindowView& mnuManage_Click();
    const WindowView& mnuWebSite_Click();
    // Opens the address in the default browser: "Could not find associated Browser" when the
    // desktop has nothing to open it with, "Web Page not Opened" when opening failed.
    const WindowView& OpenURL(const QString& url);
    // The averages and the polynomial fit. The dialogs open through the AnalysisDialogs given
    // (none: the commands only turn their overlay on). The buttons open their dialog modally,
    // "Average Values" opens the bins dialog modelessly.
    void setAnalysisDialogs(AnalysisDialogs* dialogs) { analysisDialogs_ = dialogs; }
    const WindowView& cmdBin_Click();
    const WindowView& mnuAvg_Click();
    const WindowView& cmdPoly_Click();
    const WindowView& mnuPoly_Click();
    // Enter of the bins dialog: refuses fields it cannot use with a message that says what to
    // type (returns false: the dialog stays open, nothing changed); otherwise brings the window
    // back to the full magnitude range ending at JDLast + 5, redraws, computes the bins,
    // writes the bin file when asked (to binFile when given, else where the save dialog
    // says), fills the stats window and draws the bins. Returns true then.
    bool EnterBins(const BinDialogFields& fields,
                   const std::optional<std::string>& binFile = std::nullopt);
    // Plot of the degree dialog: the same window and redraw, then the fit of every row and
    // the curve. Returns false, with the overlay off and after its message, when the degree
    // is refused or the fit overflows (the dialog stays open for another degree).
    bool PlotPolyFit(const QString& degreeText);

    // Box selection and locate. BoxFinder lists the rows inside a select-edits box (corners
    // in picView's frame, any order) in the record list, modeless; an empty box says "No
    // records selected." and redraws. Finder lists the rows near a locate press, modal; near
    // no row it shows nothing. While the list is open either one lists its rows in it instead.
    // The list opens through the RecordDialogs given; without them the list is kept here only
    // (the tests drive it through the commands below).
    void setRecordDialogs(RecordDialogs* dialogs) { recordDialogs_ = dialogs; }
    const WindowView& BoxFinder(double x1, double y1, double x2, double y2);
    const WindowView& Finder(double x, double y);
    // The record list while it is open; null otherwise.
    const RecordList* recordList() const { return recordList_ ? &*recordList_ : nullptr; }
    // The record list's events. Every action works on the rows of the chosen lines, found by
    // their IDs. Log, Delete and Edit warn "You did not select a star" and Mark Observer "You
    // did not select a record" while no line is chosen.
    const WindowView& lstRecords_Click(const std::vector<int>& lines, int current);
    // Appends the chosen lines, each ended by CR LF, to a text file the user chooses.
    const WindowView& cmdLog_Click();
    // Asks, then deletes the chosen rows in one transaction, says "Database successfully
    // updated.", closes the list and redraws.
    const WindowView& cmdDelete_Click();
    // Opens the record editor on the row of the line clicked last.
    const WindowView& cmdEdit_Click();
    const WindowView& cmdMark_Click();
    // A colour square: marks the observer of the line clicked last in palette colour index
    // (0 to 15); the list stays open and the marks show when it closes.
    const WindowView& cmd0_Click(int index);
    // Marks in a colour of the colour dialog (cancel: nothing), closes the list and redraws.
    const WindowView& cmdMoreColors_Click();
    // Close: the locate tool, and a redraw after edits or markings. frmSelect_Unload: the
    // title-bar close, the list goes without either.
    const WindowView& cmdClose_Click();
    const WindowView& frmSelect_Unload();
    // OK of the record editor for the row with that ID: refuses fields it cannot write with a
    // message naming the field (returns false: the editor stays open, nothing changed);
    // otherwise writes the row in one statement (its band colour unless it is marked), sets
    // FileEdited, lists the row anew and redraws. Returns true then.
    bool SaveEditedRecord(int64_t id, const std::vector<RecordField>& fields);

    // Before the run ends: true when it may end, false when the user wants another chance to
    // save unsaved edits (asked only while edits are unsaved) or a job runs.
    bool QueryUnload();
    // Before the configuration dialog: with a star loaded, asks to unload it and does.
    // Returns true when the dialog may open (FilePath then names the unloaded file's folder).
    bool PrepareConfiguration();

  private:
    class Job;

    // SaveDisplay.
    void hidePlotForSave() override;
    void setProgressCaption(const QString& caption) override;
    void restorePlotAfterSave() override;
    void yield() override;

    // The question before loading a file of the kind while a star is loaded. Returns true when
    // the load may go on (nothing loaded, or OK).
    bool AskToUnload(ObservationFileKind kind);
    // The question, then the load of the file of that kind.
    const WindowView& LoadFileOfKind(ObservationFileKind kind, const std::string& path);
    // After a successful load: the file goes first in the recent-file list.
    void RememberLoadedFile(ObservationFileKind kind, const std::string& path);
    // Writes Sabrix.prefs (a failure is said) and shows the check and the list.
    void KeepPreferences();

    // Shows the view, then the message; returns the answer.
    Answer Say(const QString& text, const QString& title, Buttons buttons, Icon icon,
               std::optional<Answer> dismissed = std::nullopt);
    void SayModuleError(const std::exception& e, const char* module);
    // Reads FilePath's columns, draws them and starts the fill (as fill says). Returns whether
    // the star is loaded; after a failure its message has been said and the table is empty.
    bool ImportStarFile(RowFill fill);
    // The window after a load: the plot with the file named in panel 1, or the empty look.
    void ShowLoadedFile(bool loaded, const QString& panelOne);
    // The progress controls and the Cancel button of a fill that runs, or none.
    void ShowFillProgress();
    const WindowView& TakeFillStatus(const ObsTable::FillStatus& status);
    // Starts the table's fill behind the columns. Returns false after saying why and unloading.
    bool StartRowFill(ObsTable::RowSource rows, PlotColumns columns);
    // FindExtremes for the loaded table. Returns false after telling the user why.
    bool FitPlotWindow();
    void RunPlotter();
    // Takes the observer marks away (UnMarkObs) when there are any; MarkCount becomes 0.
    void RemoveMarks();
    void ClearCanvases();
    // Opens a file or folder; when the desktop cannot, says so naming what and where.
    void OpenLocalTarget(const std::string& path, const QString& what, const QString& title);
    // Runs a navigation move and, when it moved the window, the redraw sequence.
    const WindowView& Move(bool (*move)(PlotWindowState&));
    // A zoom or navigation step: the window before it goes into the history, then the
    // redraw sequence.
    void Stepped(const PlotWindowState& before);
    void ForgetViews();
    const WindowView& ChooseTool(Tool tool);
    // The end of a zoom-box drag.
    void FinishZoomBox(double x1, double y1, double x2, double y2);
    void SayNoStarLoaded();
    const WindowView& ShowBinsDialog(bool modal);
    const WindowView& ShowPolyDialog();
    // Enter's and Plot's window: the full magnitude range, the JD width kept, ending at
    // JDLast + 5; "Magnification = 1 X".
    void ShowFullRangeAtEnd();
    // The bin file's path, asked for (with the overwrite question); nothing on cancel.
    std::optional<std::string> ChooseBinFile();
    // The current view drawn afresh on other canvases (frames, plot, overlay shown); returns
    // the star label.
    QString DrawViewOnto(PlotAreaCanvases& canvases, EventPacer& pacer);
    // Steps 3 and 4 of the redraw sequence.
    void DrawBins();
    void DrawPoly();
    bool PlotShown() const { return table_ && state_.star.FileLoaded && !Busy(); }
    // The one check of every command that reads or writes the rows behind the points: a
    // star is shown and its rows are all in the table (see TableReady).
    bool RowsReady() const { return PlotShown() && TableReady(); }
    // Opens the record list on the records, or lists them in the open one.
    void ShowRecords(std::vector<ListedRecord> records, bool modal);
    void OnRecordListEvent(const RecordListEvent& event);
    // The open list reads its rows again and shows them.
    void RefreshRecordList();
    void UpdateRecordList();
    void CloseRecordList();
    // Says "You did not select a star" (or "... a record") when no line is chosen.
    bool WarnWhenNoneChosen(bool record = false);
    bool Busy() const { return view_.busy; }

    AppState state_;
    TableFiles files_;
    Prompts& prompts_;
    WindowHost& host_;
    Canvases canvases_;
    std::unique_ptr<ObsTable> table_;
    WindowView view_;
    SystemClock systemClock_;
    const Clock* clock_ = &systemClock_;
    // The pacer of the job that runs; null between jobs.
    EventPacer* pacer_ = nullptr;
    int64_t rejectedLines_ = 0;
    // The load that runs: reading the file (a job), or filling the table behind the plot.
    enum class LoadPhase { None, Reading, Filling };
    LoadPhase loadPhase_ = LoadPhase::None;
    bool cancelRequested_ = false;
    // The load command is on the stack (its messages may turn the event loop).
    bool inLoadCommand_ = false;
    // The loaded star's rows were never written (RowFill::None).
    bool rowsAbsent_ = false;
    QString loadCaption_;
    ViewHistory history_;
    AnalysisDialogs* analysisDialogs_ = nullptr;
    ImageExportDialog* imageExportDialog_ = nullptr;
    // The size and format of the last export of this run.
    std::optional<ImageExportChoice> lastExport_;
    // A box being dragged on the plot: which kind, and its corners in picView's frame.
    enum class Drag { None, Select, Zoom };
    Drag drag_ = Drag::None;
    double boxStartX_ = 0;
    double boxStartY_ = 0;
    double boxEndX_ = 0;
    double boxEndY_ = 0;
    RecordDialogs* recordDialogs_ = nullptr;
    std::optional<RecordList> recordList_;
    NoDesktopOpener noDesktop_;
    DesktopOpener* desktop_ = &noDesktop_;
    std::string userGuide_;
    std::string preferencesFolder_;
    Preferences preferences_;
};

// A long job: the view is busy (every command refused, the window shows it) and the event
// loop turns at the pacer's rhythm until the job ends; then the view's busy flag is what it
// was before.
class MainWindowCommands::Job {
  public:
    explicit Job(MainWindowCommands& commands)
        : commands_(commands),
          wasBusy_(commands.view_.busy),
          outerPacer_(commands.pacer_),
          pacer_([&commands] {
              commands.host_.present(commands.view_);
              commands.host_.yield();
          }) {
        commands_.view_.busy = true;
        commands_.pacer_ = &pacer_;
        commands_.host_.present(commands_.view_);
    }
    ~Job() {
        commands_.pacer_ = outerPacer_;
        commands_.view_.busy = wasBusy_;
    }
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;

    EventPacer& pacer() { return pacer_; }

  private:
    MainWindowCommands& commands_;
    bool wasBusy_;
    EventPacer* outerPacer_;
    EventPacer pacer_;
};

}  // namespace sabrix

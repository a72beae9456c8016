// SPDX-License-Identifier: GPL-3.0-or-later
// The ground that the controllers of the command layer share: the application state, the
// observer marks, the working table and whether its rows are all in, the view the window is
// to show, the three plot surfaces, the questions (Prompts), the window's host and the clock;
// and the steps every command uses: Say, the runner of long jobs (Job), the redraw sequence
// (Redraw) and the fit of the plot window to the data (FitPlotWindow).
//
// Each controller (LoadController, PlotController, ...) keeps a reference to the one context
// and its own state beside it. MainWindowCommands owns the context and the controllers and
// runs each command (CommandList.h) on its controller once the command's needs are met.
// Nothing but the controllers changes the context.
#pragma once

#include <QString>
#include <QUndoStack>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/CommandNeeds.h"
#include "app/WindowHost.h"
#include "app/WindowView.h"
#include "core/AppState.h"
#include "core/Clock.h"
#include "core/EventPacer.h"
#include "core/Prompts.h"
#include "data/ObsTable.h"
#include "plot/Canvas.h"
#include "plot/ObserverMarks.h"
#include "plot/PlotFrame.h"

namespace sabrix {

namespace test {
// The tests' way into the state of the command layer (tests/support).
struct CommandsTestPeer;
}  // namespace test

// The surfaces of the plot: picView and the two scale strips. The owner keeps them sized to
// what the user sees; they must outlive the commands.
struct CommandCanvases {
    Canvas& picView;
    Canvas& picJDScale;
    Canvas& picMagScale;
};

// Where the working table lives: the program folder's working database for the windows, a
// scratch file for the command line; unloading replaces it with a copy of the template.
struct TableFiles {
    std::string database;
    std::string templateDatabase;
};

// How far the working table holds the rows of what is loaded.
enum class TableRows {
    // Every row (or nothing is loaded): the commands that read or write rows may run.
    Complete,
    // A load reads its file (a job); the rows come with it or after it.
    Reading,
    // A star file's rows are being written behind its plot, on the table's own thread.
    Filling,
    // The star was loaded for its plot alone (a render): its rows never come.
    PlotOnly,
};

// Something the redraw sequence draws over the light curve (the averages, the fit). The
// controller that keeps it registers it with CommandContext::AddOverlay.
class PlotOverlay {
  public:
    virtual ~PlotOverlay() = default;
    // Draws onto the window's picView when the overlay is shown (the last steps of
    // Redraw(true)); a failure is said and may take the overlay off.
    virtual void DrawOverlay() = 0;
    // Draws the overlay as shown onto another picView (an exported picture); says and changes
    // nothing. Throws what the drawing throws.
    virtual void DrawOverlayOnto(Canvas& picView) const = 0;
    // Reset and Refresh: the overlay is no longer drawn; with forget its figures go too.
    virtual void HideOverlay(bool forget) = 0;
};

class CommandContext {
  public:
    class Job;

    CommandContext(AppState state, TableFiles files, Prompts& prompts, WindowHost& host,
                   CommandCanvases canvases);
    CommandContext(const CommandContext&) = delete;
    CommandContext& operator=(const CommandContext&) = delete;

    AppState state;
    ObserverMarks marks;
    const TableFiles files;
    // Null before the table is opened, after a failure to replace it and at the end of the run.
    std::unique_ptr<ObsTable> table;
    TableRows rows = TableRows::Complete;
    // The caption of the load that runs ("Loading 340 Records for PDS 110"), shown over the
    // progress bar while the rows are filled behind the plot.
    QString loadCaption;
    WindowView view;
    // The changes made to the table since the load or the last save, for Undo and Redo: delete,
    // record edit, discrepant mark and clear. Observer marks and views are not among them.
    QUndoStack edits;
    Prompts& prompts;
    WindowHost& host;
    const CommandCanvases canvases;
    // The clock of dated header lines; the system clock unless a test sets another.
    const Clock* clock = &systemClock_;

    // Makes the change (its redo), keeps it for Undo and follows the stack (FollowEdits).
    void PushEdit(QUndoCommand* edit);
    // FileEdited follows the stack: set unless it stands where the last load or save left
    // it; the Edit menu's texts name the change Undo and Redo would take.
    void FollowEdits();
    // Forgets every change (load, unload, save): the stack is empty and clean.
    void ClearEdits();

    // What the commands need (see CommandNeeds.h). Busy: a long job runs. TableReady: the
    // table holds every row of what is loaded. PlotShown: a star is loaded and shown, and no
    // job runs.
    bool Busy() const { return view.busy; }
    bool TableReady() const { return table && rows == TableRows::Complete; }
    bool PlotShown() const { return table && state.star.FileLoaded && !Busy(); }
    // Whether these needs of a command are met now (cmd::Finder.needs); a command whose needs
    // are not met does nothing.
    bool Allows(Needs needs) const;

    // Shows the view as the command has left it so far.
    void Present() { host.present(view); }
    // Shows the view, then the message; returns the answer.
    Answer Say(const QString& text, const QString& title, Buttons buttons, Icon icon,
               std::optional<Answer> dismissed = std::nullopt);
    // "Error "description" encountered in module M." titled "Error".
    void SayModuleError(const std::exception& e, const char* module);
    // Runs the action of the command named; an exception that escapes it is said as the
    // command's failure ("Error ... encountered in module NAME."), and the program goes on.
    // The one catch around every command (MainWindowCommands::Run, the dialogs' events).
    void Guarded(std::string_view name, const std::function<void()>& action);
    // "No star file is loaded." titled "No Star Loaded".
    void SayNoStarLoaded();
    // A turn of a long loop: lets the event loop run at the pacer's rhythm during a job; does
    // nothing outside one.
    void Yield();

    // The redraw sequence: the frames, the plot, then (withOverlays) each overlay, and last
    // the highlights (the record list's rings), with or without overlays. Does nothing while
    // nothing is loaded or a job runs. Also what a resize of the window runs.
    void Redraw(bool withOverlays);
    // The observations that count (PointFilter::Counted: hidden bands and Omit discrepant
    // leave theirs out; omitted fainter-thans still count), for the loaded table as it is
    // now: what every analysis, selection and window fit of the commands reads.
    // Shows everything when no table is there. Throws what the table throws.
    PointFilter Shown() const;
    // FindExtremes for the loaded table. Returns false after telling the user why (the empty
    // look when the table holds no row).
    bool FitPlotWindow();
    void ClearCanvases();
    // Takes the observer marks away (UnMarkObs) when there are any; a failure is said.
    void RemoveMarks();
    // The progress controls and the Cancel button of a fill that runs, or none.
    void ShowLoadProgress();

    // The frame of the plot (PlotFrame.h): what x is. The light curve's unless a controller
    // has shown the plot in another (the phase plot).
    const PlotFrame& Frame() const { return *frame_; }
    // The light curve's window: the plot's own, or the one the plot returns to from another
    // frame.
    const PlotWindowState& LightCurveWindow() const {
        return OnLightCurve() ? state.view : timeWindow_;
    }
    // The plot in the frame (from the light curve, or from another frame), its whole window
    // shown, the overlays forgotten; then the redraw sequence.
    void ShowFrame(std::shared_ptr<const PlotFrame> frame);
    // Back to the light curve's frame and window, the overlays forgotten, without a redraw.
    // Returns false (nothing changed) on the light curve.
    bool ShowLightCurve();
    // What each controller drops when the plot changes its frame (the views to go back to are
    // of the other frame).
    void OnSwitchPlot(std::function<void()> drop) { switchers_.push_back(std::move(drop)); }

    // The overlays of the redraw sequence, in the order they draw.
    void AddOverlay(PlotOverlay& overlay) { overlays_.push_back(&overlay); }
    const std::vector<PlotOverlay*>& overlays() const { return overlays_; }
    void HideOverlays(bool forget);
    // What every redraw draws last over the plot; on the screen only, never in an export.
    void AddHighlight(std::function<void()> draw) { highlights_.push_back(std::move(draw)); }

    // What each controller forgets when the loaded star goes (UnloadStar, the end of the run).
    void OnForgetStar(std::function<void()> forget) { forgetters_.push_back(std::move(forget)); }
    void ForgetStar();

  private:
    bool OnLightCurve() const { return frame_ == lightCurve_; }
    void SwitchFrame(std::shared_ptr<const PlotFrame> frame);
    void RunPlotter();
    // The band panel's lines for the table and state as they are now.
    void ShowBandLines();

    SystemClock systemClock_;
    const std::shared_ptr<const PlotFrame> lightCurve_ = std::make_shared<TimeFrame>();
    std::shared_ptr<const PlotFrame> frame_ = lightCurve_;
    // The light curve's window while the plot is in another frame.
    PlotWindowState timeWindow_;
    // The pacer of the job that runs; null between jobs.
    EventPacer* pacer_ = nullptr;
    std::vector<PlotOverlay*> overlays_;
    std::vector<std::function<void()>> highlights_;
    std::vector<std::function<void()>> forgetters_;
    std::vector<std::function<void()>> switchers_;
};

// A long job: the view is busy (every command but a few is refused, the window shows it) and
// the event loop turns at the pacer's rhythm until the job ends; then the view's busy flag is
// what it was before.
class CommandContext::Job {
  public:
    explicit Job(CommandContext& context);
    ~Job();
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;

    EventPacer& pacer() { return pacer_; }

  private:
    CommandContext& context_;
    bool wasBusy_;
    EventPacer* outerPacer_;
    EventPacer pacer_;
};

}  // namespace sabrix

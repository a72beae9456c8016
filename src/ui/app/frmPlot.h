// SPDX-License-Identifier: GPL-3.0-or-later
// The main window. Its controls (frmPlotUi: menus, buttons, the plot surfaces, the status
// bar) are public members under their own names, the same as their object names. Its commands
// run on MainWindowCommands, which owns the application state and the working table; each
// slot calls one command and applies the WindowView it returns. The window itself ends the
// run (ShutDown) and runs the configuration dialog.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/MainWindowCommands.h"
#include "app/SettingsSeams.h"
#include "app/WindowHost.h"
#include "core/AppState.h"
#include "core/Preferences.h"
#include "core/Prompts.h"
#include "data/ObsTable.h"
#include "interaction/FormLayout.h"
#include "interaction/WheelBurst.h"
#include "ui/analysis/QtAnalysisDialogs.h"
#include "ui/analysis/QtMinimaDialogs.h"
#include "ui/analysis/QtPeriodDialogs.h"
#include "ui/app/frmPlotUi.h"
#include "ui/dialogs/QtImageExportDialog.h"
#include "ui/interaction/QtRecordDialogs.h"

namespace sabrix {

class frmStats;
class QtDesktopOpener;

class frmPlot : public QMainWindow, public frmPlotUi, private WindowHost {
    Q_OBJECT

  public:
    // The window takes over the application state. The working database of programDir must
    // have been prepared; Form_Load() binds it.
    frmPlot(AppState state, std::string programDir, Prompts& prompts, SettingsSeams seams,
            QWidget* parent = nullptr);
    ~frmPlot() override;

    MainWindowCommands& commands() { return *commands_; }
    const AppState& state() const { return commands_->state(); }
    Prompts& prompts() { return prompts_; }
    const std::string& programDir() const { return programDir_; }
    // The working table; null after ShutDown (or before Form_Load).
    const ObsTable* table() const { return commands_->table(); }

    // Called instead of ending the process when the run ends; the default is QueueProgramEnd.
    std::function<void(int exitCode)> endProgram;
    // Quits the application's event loop with the code, also when it has not started yet.
    static void QueueProgramEnd(int exitCode);
    // The exit code of the run: 0, or 1 when the working database could not be handled.
    int exitCode() const { return exitCode_; }
    bool isShutDown() const { return shutDownDone_; }

    // The main window's frame, the band panel and the period search window's place as they
    // are now; parts that cannot be told now (a maximized window's frame) as restored.
    RememberedLayout currentLayout() const;
    // Shows the band panel as remembered and has the period search window open where it was;
    // the main window's frame is placed by the start-up.
    void restoreLayout(const RememberedLayout& layout);

    // Status bar panels, numbered 1 to 4; other numbers are ignored (and read as empty).
    void setPanelText(int panel, const QString& text);
    QString panelText(int panel) const;

    // Shows what the commands left: the look, texts, progress, cursor, check marks and the
    // stats window. While the view is busy (a long job runs), every menu command and button
    // is disabled and closing the window is refused; afterwards each gets back the state it
    // had. A view that ends the run ends it.
    void Apply(const WindowView& view);
    // Disables (or enables again) the commands while a job runs; Apply calls it.
    void setBusy(bool busy);
    bool isBusy() const { return busy_; }

    // The record list and record editor of the window.
    QtRecordDialogs& recordDialogs() { return *recordDialogs_; }

    // The stats window, created on first use.
    frmStats* statsWindow();

    // Binds the working database. Returns false after showing the failure and ending the run.
    bool Form_Load();
    // With no star loaded: hides the plot surfaces and the button frame.
    void Form_Activate();
    // Lays the controls out for the window's current size.
    void Form_Resize();
    // The width the plot's layout fills: the window's, less a docked band panel.
    int layoutWidth() const;
    // Forgets the loaded star and empties the window and the working database. Returns true
    // when the window is ready for the next star, false when a failure ended the run.
    bool UnloadStar();
    // Ends the run: deletes the working database, closes the other windows and this one.
    // A second call does nothing.
    void ShutDown();

    // The redraw sequence of the commands, applied.
    void Redraw(bool withOverlays);
    // Loads a star file or a three-column file chosen elsewhere (the command line): the part
    // of "Load a File" or "Load 3-Column File" that follows its open dialog. timeOffset as
    // MainWindowCommands::LoadThreeColumnFile says.
    void LoadStarFile(const std::string& path);
    void LoadThreeColumnFile(const std::string& path, std::optional<double> timeOffset);

    // Runs a command of the window (CommandList.h) and applies the view it leaves; after a
    // load the plot takes the keyboard.
    template <typename C, typename... P, typename... Args>
    void Run(const CommandDeclaration<C, void, P...>& command, Args&&... args) {
        const bool loaded = state().star.FileLoaded;
        Apply(commands_->Run(command, std::forward<Args>(args)...));
        if (!loaded) FocusLoadedPlot();
    }

  public slots:
    // The band panel: a line's check box, a double click on a line.
    void lstBands_ItemCheck(int line, bool shown);
    void lstBands_DblClick(int line);
    void picView_MouseMove(int button, int shift, double x, double y);
    // Collects wheel turns over the plot; they are drawn together on the next turn of the
    // event loop (or after the job that runs).
    void picView_Wheel(int angleDelta, int shift, double x, double y);
    void mnuExit_Click();
    void mnuExit1_Click();
    void mnuConfig_Click();
    void mnuAbout_Click();
    void frmStats_Unload();
    void cmdCancel_Click();
    // The fill behind the plot, polled while it runs.
    void tmrFill_Timer();

  protected:
    void closeEvent(QCloseEvent* event) override;
    // A single local file dragged over the window is accepted; dropped, it loads (queued, so
    // the drag ends before the load runs).
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // WindowHost.
    void present(const WindowView& view) override;
    void yield() override;

    // Connects the controls of frmPlotUi to the commands they run.
    void connectControls();
    void FocusLoadedPlot();
    void applyLayout();
    // The navigation keys of the plot: arrows, Home, End and F5. Returns whether the key was
    // one of them.
    bool HandlePlotKey(int key);
    void Form_MouseMove();
    void PlaceStatsWindow();
    void QueueWheel();
    void FlushWheel();

    std::string programDir_;
    Prompts& prompts_;
    SettingsSeams seams_;
    FormLayout layout_;
    // Whether panel 3 is wide enough for the readout with its calendar date.
    bool readoutFitsDate_ = false;
    bool plotHadFocus_ = false;
    QPointer<frmStats> stats_;
    bool busy_ = false;
    std::vector<QPointer<QAction>> disabledActionsWhileBusy_;
    bool cmdLoadWasEnabled_ = false;
    bool shutDownStarted_ = false;
    // The window was closed during the read of a load: it closes once the load has stopped.
    bool closeAfterLoad_ = false;
    QTimer tmrFill_;
    bool shutDownDone_ = false;
    int exitCode_ = 0;
    bool redrawPending_ = false;
    // The pointer resting on the plot for half a second shows the point's details.
    QTimer tmrTip_;
    double tipX_ = 0;
    double tipY_ = 0;
    void tmrTip_Timer();
    // The width the layout was last fitted to (see layoutWidth).
    int layoutWidth_ = -1;
    // Wheel turns not drawn yet.
    WheelBurst wheel_;
    std::unique_ptr<QtDesktopOpener> desktop_;
    std::unique_ptr<MainWindowCommands> commands_;
    std::unique_ptr<QtAnalysisDialogs> analysisDialogs_;
    std::unique_ptr<QtRecordDialogs> recordDialogs_;
    std::unique_ptr<QtImageExportDialog> imageExportDialog_;
    std::unique_ptr<QtPeriodDialogs> periodDialogs_;
    std::unique_ptr<QtMinimaDialogs> minimaDialogs_;
    // The layout the start-up restored; a window it did not place keeps none.
    std::optional<RememberedLayout> restoredLayout_;
};

}  // namespace sabrix

// The main window: menu bar, the "Load a File" button, the frame of sixteen tool buttons, the
// plot surface with its two scale strips, the star label, the status bar with four panels
// and the progress bar, and the start-up display (logo and titles) shown while no star is
// loaded. Its commands run on MainWindowCommands, which owns the application state and the
// working table; each slot calls one command and applies the WindowView it returns. The
// window itself ends the run (ShutDown) and runs the configuration dialog.
//
// Controls are public members under their own names; their object names are the same.
#pragma once

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analysis/QtAnalysisDialogs.h"
#include "app/MainWindowCommands.h"
#include "app/SettingsSeams.h"
#include "app/WindowHost.h"
#include "core/AppState.h"
#include "core/Preferences.h"
#include "core/Prompts.h"
#include "data/ObsTable.h"
#include "dialogs/QtImageExportDialog.h"
#include "interaction/FormLayout.h"
#include "interaction/QtRecordDialogs.h"
#include "plot/PictureBox.h"

namespace sabrix {

class frmStats;
class QtDesktopOpener;

class frmPlot : public QMainWindow, private WindowHost {
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
    // Forgets the loaded star and empties the window and the working database. Returns true
    // when the window is ready for the next star, false when a failure ended the run.
    bool UnloadStar();
    // Ends the run: deletes the working database, closes the other windows and this one.
    // A second call does nothing.
    void ShutDown();

    // The redraw sequence of the commands, applied.
    void Redraw(bool withOverlays);
    // Loads a star file chosen elsewhere (the command line): the part of "Load a File" that
    // follows its open dialog.
    void LoadStarFile(const std::string& path);

    // Controls. Null until the constructor makes them: events reach the window's event filter
    // while it is still being built.
    QMenu* mnuFiles = nullptr;
    QAction* mnuLoad = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuFaint = nullptr;
    QAction* mnuSpacer6 = nullptr;
    QAction* mnuXYZ = nullptr;
    QAction* mnuSaveXYZ = nullptr;
    QAction* mnuSaveDownload = nullptr;
    QAction* mnuExport = nullptr;
    // The files loaded last, newest first; items without a file are hidden.
    QAction* mnuSpacerRecent = nullptr;
    std::array<QAction*, kMostRecentFiles> mnuRecent{};
    QAction* mnuSpacer7 = nullptr;
    QAction* mnuExit1 = nullptr;
    QMenu* mnuTools = nullptr;
    QAction* mnuAvg = nullptr;
    QAction* mnuPoly = nullptr;
    QAction* mnuSpacer3 = nullptr;
    QAction* mnuWebSite = nullptr;
    QAction* mnuSpacer5 = nullptr;
    QAction* mnuStats = nullptr;
    QAction* mnuCalendar = nullptr;
    QAction* mnuspacer4 = nullptr;
    QAction* mnuViewer = nullptr;
    QAction* mnuManage = nullptr;
    QAction* mnuSpacerPrevious = nullptr;
    QAction* mnuPrevious = nullptr;
    QAction* mnuConfig = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuDocs = nullptr;
    QAction* mnuSpace = nullptr;
    QAction* mnuAbout = nullptr;
    QAction* mnuExit = nullptr;

    QPushButton* cmdLoad = nullptr;
    QFrame* fraButtons = nullptr;
    QPushButton* cmdZoomBox = nullptr;
    QPushButton* cmdBox = nullptr;
    QPushButton* cmdLocate = nullptr;
    QPushButton* cmdMag = nullptr;
    QPushButton* cmdJDZoom = nullptr;
    QPushButton* cmdMagZoom = nullptr;
    QPushButton* cmdBegin = nullptr;
    QPushButton* cmdBack = nullptr;
    QPushButton* cmdForward = nullptr;
    QPushButton* cmdEnder = nullptr;
    QPushButton* CmdDown = nullptr;
    QPushButton* cmdUp = nullptr;
    QPushButton* cmdRefresh = nullptr;
    QPushButton* cmdReset = nullptr;
    QPushButton* cmdBin = nullptr;
    QPushButton* cmdPoly = nullptr;

    QLabel* lblStarName = nullptr;
    PictureBox* picView = nullptr;
    PictureBox* picJDScale = nullptr;
    PictureBox* picMagScale = nullptr;
    QStatusBar* staPlot = nullptr;
    QProgressBar* prgLoad = nullptr;
    QLabel* lblPrg = nullptr;
    // "Cancel" beside the progress bar while a load runs (Escape does the same).
    QPushButton* cmdCancel = nullptr;
    QLabel* picNorvane = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* lblCopyright = nullptr;

  public slots:
    void mnuLoad_Click();
    void cmdLoad_Click();
    void mnuSave_Click();
    void mnuXYZ_Click();
    void mnuSaveXYZ_Click();
    void mnuSaveDownload_Click();
    void mnuExport_Click();
    void mnuFaint_Click();
    void cmdReset_Click();
    void cmdRefresh_Click();
    void cmdBack_Click();
    void cmdForward_Click();
    void cmdBegin_Click();
    void cmdEnder_Click();
    void cmdUp_Click();
    void CmdDown_Click();
    void cmdZoomBox_Click();
    void cmdBox_Click();
    void cmdLocate_Click();
    void cmdMag_Click();
    void cmdJDZoom_Click();
    void cmdMagZoom_Click();
    void mnuPrevious_Click();
    void cmdBin_Click();
    void mnuAvg_Click();
    void cmdPoly_Click();
    void mnuPoly_Click();
    void picView_MouseDown(int button, int shift, double x, double y);
    void picView_MouseMove(int button, int shift, double x, double y);
    void picView_MouseUp(int button, int shift, double x, double y);
    void picJDScale_MouseDown(int button, int shift, double x, double y);
    void picJDScale_MouseMove(int button, int shift, double x, double y);
    void picMagScale_MouseDown(int button, int shift, double x, double y);
    void picMagScale_MouseMove(int button, int shift, double x, double y);
    // Collects wheel turns over the plot; they are drawn together on the next turn of the
    // event loop (or after the job that runs).
    void picView_Wheel(int angleDelta, int shift, double x, double y);
    void mnuExit_Click();
    void mnuExit1_Click();
    void mnuConfig_Click();
    void mnuStats_Click();
    void mnuCalendar_Click();
    void mnuRecent_Click(size_t index);
    void mnuAbout_Click();
    void frmStats_Unload();
    void mnuDocs_Click();
    void mnuViewer_Click();
    void mnuManage_Click();
    void mnuWebSite_Click();
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

    void buildMenus();
    void buildControls();
    QPushButton* addToolButton(const char* name, const char* toolTip, float left);
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
    QWidget* client_ = nullptr;
    std::array<QLabel*, 4> panels_{};
    // Whether panel 3 is wide enough for the readout with its calendar date.
    bool readoutFitsDate_ = false;
    std::vector<QAction*> menuCommands_;
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
    // Wheel turns not drawn yet: eighths of a degree, where and which axis.
    int wheelEighths_ = 0;
    double wheelX_ = 0;
    double wheelY_ = 0;
    bool wheelMagnitude_ = false;
    bool wheelQueued_ = false;
    bool wheelWaitsForJob_ = false;
    std::unique_ptr<QtDesktopOpener> desktop_;
    std::unique_ptr<MainWindowCommands> commands_;
    std::unique_ptr<QtAnalysisDialogs> analysisDialogs_;
    std::unique_ptr<QtRecordDialogs> recordDialogs_;
    std::unique_ptr<QtImageExportDialog> imageExportDialog_;
};

}  // namespace sabrix

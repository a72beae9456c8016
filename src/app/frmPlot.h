// The main window: menu bar, the "Load a File" button, the frame of sixteen tool buttons, the
// plot surface with its two scale strips, the star label, the status bar with four panels
// and the progress bar, and the start-up display (logo and titles) shown while no star is
// loaded. It owns the application state and the connection to the working database, ends
// the run (ShutDown) and guards the configuration dialog.
//
// Controls are public members under their own names, so the commands built on this window
// reach them directly; their object names are the same.
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
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "core/Clock.h"
#include "core/Prompts.h"
#include "core/SettingsSeams.h"
#include "data/ObsTable.h"
#include "data/SaveCommands.h"
#include "interaction/FormLayout.h"
#include "plot/PictureBox.h"

namespace sabrix {

class frmStats;

class frmPlot : public QMainWindow, public SaveDisplay {
    Q_OBJECT

  public:
    // The window takes over the application state. The working database of programDir must
    // have been prepared; Form_Load() binds it.
    frmPlot(AppState state, std::string programDir, Prompts& prompts, SettingsSeams seams,
            QWidget* parent = nullptr);
    ~frmPlot() override;

    AppState& state() { return state_; }
    const AppState& state() const { return state_; }
    Prompts& prompts() { return prompts_; }
    const std::string& programDir() const { return programDir_; }
    // The connection to the working database; null after ShutDown (or before Form_Load).
    ObsTable* table() { return Data1.get(); }

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

    // While busy (a long job runs), every menu command and button is disabled and closing
    // the window is refused; afterwards each gets back the state it had.
    void setBusy(bool busy);
    bool isBusy() const { return busy_; }

    // The stats window, created on first use.
    frmStats* statsWindow();

    // Binds the working database. Returns false after showing the failure and ending the run.
    bool Form_Load();
    // With no star loaded: hides the plot surfaces and the button frame.
    void Form_Activate();
    // Lays the controls out for the window's current size.
    void Form_Resize();
    // The empty look and the plot look of the window.
    void HidePlotView();
    void ShowPlotView();
    // Forgets the loaded star and empties the window and the working database. Returns true
    // when the window is ready for the next star, false when a failure ended the run.
    bool UnloadStar();
    // Ends the run: deletes the working database, closes the other windows and this one.
    // A second call does nothing.
    void ShutDown();

    // The redraw sequence: the three frames (Scaler), then the plot (Plotter), whose outcome
    // goes to the star label, status panel 2, the cursor and the stats window. The overlays
    // join it once they exist. Does nothing while nothing is loaded.
    void Redraw(bool withOverlays);
    // Loads a star file chosen elsewhere (the command line): the part of "Load a File" that
    // follows its open dialog.
    void LoadStarFile(const std::string& path);
    // Reads FilePath into the table and draws it; the outcome is in FileLoaded and StateOK.
    void ImportStarFile();
    // The clock of the dated header lines; the system clock unless a test sets another.
    void setClock(const Clock* clock) { clock_ = clock; }

    // What a save needs of the window.
    void hidePlotForSave() override;
    void setProgressCaption(const QString& caption) override;
    void restorePlotAfterSave() override;
    void yield() override;

    // Controls.
    QMenu* mnuFiles;
    QAction* mnuLoad;
    QAction* mnuSave;
    QAction* mnuFaint;
    QAction* mnuSpacer6;
    QAction* mnuXYZ;
    QAction* mnuSaveXYZ;
    QAction* mnuSpacer7;
    QAction* mnuExit1;
    QMenu* mnuTools;
    QAction* mnuAvg;
    QAction* mnuPoly;
    QAction* mnuSpacer3;
    QAction* mnuWebSite;
    QAction* mnuSpacer5;
    QAction* mnuStats;
    QAction* mnuspacer4;
    QAction* mnuViewer;
    QAction* mnuManage;
    QAction* mnuConfig;
    QMenu* mnuHelp;
    QAction* mnuDocs;
    QAction* mnuSpace;
    QAction* mnuAbout;
    QAction* mnuExit;

    QPushButton* cmdLoad;
    QFrame* fraButtons;
    QPushButton* cmdZoomBox;
    QPushButton* cmdBox;
    QPushButton* cmdLocate;
    QPushButton* cmdMag;
    QPushButton* cmdJDZoom;
    QPushButton* cmdMagZoom;
    QPushButton* cmdBegin;
    QPushButton* cmdBack;
    QPushButton* cmdForward;
    QPushButton* cmdEnder;
    QPushButton* CmdDown;
    QPushButton* cmdUp;
    QPushButton* cmdRefresh;
    QPushButton* cmdReset;
    QPushButton* cmdBin;
    QPushButton* cmdPoly;

    QLabel* lblStarName;
    PictureBox* picView;
    PictureBox* picJDScale;
    PictureBox* picMagScale;
    QStatusBar* staPlot;
    QProgressBar* prgLoad;
    QLabel* lblPrg;
    QLabel* picNorvane;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* lblCopyright;

    std::unique_ptr<ObsTable> Data1;

  public slots:
    void mnuLoad_Click();
    void cmdLoad_Click();
    void mnuSave_Click();
    void mnuXYZ_Click();
    void mnuSaveXYZ_Click();
    void mnuFaint_Click();
    void cmdReset_Click();
    void mnuExit_Click();
    void mnuExit1_Click();
    void mnuConfig_Click();
    void mnuStats_Click();
    void mnuAbout_Click();
    void frmStats_Unload();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenus();
    void buildControls();
    QPushButton* addToolButton(const char* name, const char* toolTip, float left);
    void applyLayout();
    // The save question; true when the user wants another chance to save.
    bool WantsToSaveFirst();
    // Shows a failure that ends the run, then ends it.
    void EndAfterFailure(const QString& text, const QString& title, Icon icon);
    // The working database at path could not be opened: says so and ends the run.
    void EndAfterOpenFailure(const std::string& path, const std::exception& e);
    void Form_MouseMove();
    // Plotter and what the window does around it.
    void RunPlotter();
    // FindExtremes for the window. Returns false after telling the user why: an empty table
    // ("No Observations", the empty look, StateOK false) or a failure of the table.
    bool FitPlotWindow();
    // Shows or hides the plot, both strips and the button frame together.
    void SetPlotPicturesVisible(bool visible);
    // Clears the drawings of the plot and both strips.
    void ClearPictures();

    AppState state_;
    std::string programDir_;
    Prompts& prompts_;
    SettingsSeams seams_;
    FormLayout layout_;
    QWidget* client_ = nullptr;
    std::array<QLabel*, 4> panels_{};
    std::vector<QAction*> commands_;
    QPointer<frmStats> stats_;
    bool busy_ = false;
    std::vector<QPointer<QAction>> disabledActionsWhileBusy_;
    bool cmdLoadWasEnabled_ = false;
    bool shutDownStarted_ = false;
    bool shutDownDone_ = false;
    int exitCode_ = 0;
    SystemClock systemClock_;
    const Clock* clock_ = &systemClock_;
    bool redrawPending_ = false;
};

}  // namespace sabrix

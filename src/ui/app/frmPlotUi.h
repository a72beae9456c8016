// SPDX-License-Identifier: GPL-3.0-or-later
// The controls of the main window and how they are built, as a form designer would generate
// them: menus with their shortcuts and tool buttons, made from the command declarations
// (CommandList.h), the "Load a File" button, the frame of sixteen tool
// buttons, the plot surface with its two scale strips, the star label, the progress bar with
// its caption and "Cancel", the start-up display (logo and titles) and the status bar with
// four panels. setupUi makes them and leaves the window in its empty look; it connects
// nothing: frmPlot connects the controls to its slots and lays them out.
//
// Controls are public members under their own names; their object names are the same.
#pragma once

#include <QAction>
#include <QDockWidget>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include "app/CommandNeeds.h"
#include "core/Preferences.h"
#include "ui/app/BandPanelWidget.h"
#include "ui/plot/PictureBox.h"

namespace sabrix {

class frmPlotUi {
  public:
    // Builds every control into window (children of it, so it owns them), titles and sizes
    // the window, and hides the plot surfaces and the button frame.
    void setupUi(QMainWindow* window);

    // The menu commands a running job disables: every item and key that runs something (the
    // recent files included), not the menus, separators, the band panel or Previous View.
    std::vector<QAction*> menuCommands() const;
    // The menu items (or the window's key) of the command of that name, and its tool button
    // (null when it has none).
    std::vector<QAction*> actionsOf(std::string_view command) const;
    QPushButton* buttonOf(std::string_view command) const;

    // Null until setupUi makes them.
    QMenu* mnuFiles = nullptr;
    QAction* mnuLoad = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuFaint = nullptr;
    QAction* mnuDisc = nullptr;
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
    QMenu* mnuEdit = nullptr;
    QAction* mnuUndo = nullptr;
    QAction* mnuRedo = nullptr;
    QMenu* mnuTools = nullptr;
    QAction* mnuAvg = nullptr;
    QAction* mnuPoly = nullptr;
    QAction* mnuPeriod = nullptr;
    // Enabled on the phase plot.
    QAction* mnuTimePlot = nullptr;
    // The times of minimum: the box tool for a minimum or a maximum, and the list window.
    QAction* mnuMinimum = nullptr;
    QAction* mnuMaximum = nullptr;
    QAction* mnuMinimaList = nullptr;
    QAction* mnuSpacer3 = nullptr;
    QAction* mnuWebSite = nullptr;
    QAction* mnuSpacer5 = nullptr;
    QAction* mnuStats = nullptr;
    QAction* mnuCalendar = nullptr;
    // "Band Panel": shows and hides dckBands (its own toggle action).
    QAction* mnuBands = nullptr;
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

    // The central widget, parent of every control but the menus and the status bar.
    QWidget* frmPlotClient = nullptr;
    // The band panel, docked at the right of the plot; hidden until asked for.
    QDockWidget* dckBands = nullptr;
    BandPanelWidget* bandPanel = nullptr;
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
    QPushButton* cmdPeriod = nullptr;

    QLabel* lblStarName = nullptr;
    PictureBox* picView = nullptr;
    PictureBox* picJDScale = nullptr;
    PictureBox* picMagScale = nullptr;
    QStatusBar* staPlot = nullptr;
    // The four panels of the status bar, left to right (staPlotPanel1 to staPlotPanel4).
    std::array<QLabel*, 4> staPlotPanels{};
    QProgressBar* prgLoad = nullptr;
    QLabel* lblPrg = nullptr;
    // "Cancel" beside the progress bar while a load runs; Escape (keyCancel) does the same.
    QPushButton* cmdCancel = nullptr;
    QShortcut* keyCancel = nullptr;
    QLabel* picNorvane = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* lblCopyright = nullptr;

  private:
    QMenu* menuOf(QMainWindow* window, MenuPlace place);
    // The menu item, the window's key and the tool button of a command, as its face says.
    void addCommand(QMainWindow* window, std::string_view name, const CommandFace& face);
    void setupMenus(QMainWindow* window);
    void setupControls(QMainWindow* window);
    void setupStatusBar(QMainWindow* window);
    void setupBandPanel(QMainWindow* window);

    std::vector<std::pair<std::string_view, QAction*>> actions_;
    std::vector<std::pair<std::string_view, QPushButton*>> buttons_;
};

}  // namespace sabrix

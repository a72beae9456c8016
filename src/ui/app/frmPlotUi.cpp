// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/frmPlotUi.h"

#include <QIcon>
#include <QMenuBar>
#include <QPixmap>
#include <algorithm>
#include <string>

#include "ui/core/QtResources.h"
#include "interaction/FormLayout.h"
#include "shell/AboutText.h"

namespace sabrix {

namespace {

QAction* AddItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

QAction* AddSpacer(QMenu* menu, const char* name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(QLatin1String(name));
    return action;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

// A tool button of the frame, its picture named as the button; disabled until the frame
// decides.
QPushButton* AddToolButton(QFrame* frame, const char* name, const char* toolTip, float left) {
    auto* button = new QPushButton(frame);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(QLatin1String(toolTip));
    button->setGeometry(TwipsToPixels(left), TwipsToPixels(kToolButtonTop),
                        TwipsToPixels(kToolButtonSize), TwipsToPixels(kToolButtonSize));
    button->setIcon(
        QIcon(QStringLiteral(":/icons/") + QLatin1String(name) + QStringLiteral(".png")));
    button->setIconSize(QSize(24, 24));
    button->setFocusPolicy(Qt::NoFocus);
    button->setEnabled(false);
    return button;
}

}  // namespace

void frmPlotUi::setupUi(QMainWindow* window) {
    LoadResources();
    window->setObjectName(QStringLiteral("frmPlot"));
    window->setWindowTitle(QStringLiteral("Sabrix"));
    window->setWindowIcon(QIcon(QStringLiteral(":/images/logo.png")));
    setupBandPanel(window);
    setupMenus(window);
    setupControls(window);
    setupStatusBar(window);
    window->setMinimumSize(TwipsToPixels(kDesignWidthTwips), TwipsToPixels(kDesignHeightTwips));
    window->resize(TwipsToPixels(kDesignWidthTwips), TwipsToPixels(kDesignHeightTwips));

    // The window opens in its empty look.
    picView->hide();
    picJDScale->hide();
    picMagScale->hide();
    fraButtons->hide();
}

std::vector<QAction*> frmPlotUi::menuCommands() const {
    std::vector<QAction*> commands = {
        mnuLoad, mnuSave,   mnuFaint,    mnuXYZ,          mnuSaveXYZ, mnuDisc,      mnuExit1,
        mnuAvg,  mnuPoly,   mnuWebSite,  mnuStats,        mnuViewer,  mnuManage,    mnuConfig,
        mnuDocs, mnuAbout,  mnuExit,     mnuSaveDownload, mnuExport,  mnuCalendar,  mnuUndo,
        mnuRedo, mnuPeriod, mnuTimePlot, mnuMinimum,      mnuMaximum, mnuMinimaList};
    commands.insert(commands.end(), mnuRecent.begin(), mnuRecent.end());
    return commands;
}

void frmPlotUi::setupBandPanel(QMainWindow* window) {
    dckBands = new QDockWidget(QStringLiteral("Bands"), window);
    dckBands->setObjectName(QStringLiteral("dckBands"));
    dckBands->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    bandPanel = new BandPanelWidget(dckBands);
    dckBands->setWidget(bandPanel);
    window->addDockWidget(Qt::RightDockWidgetArea, dckBands);
    dckBands->hide();
}

void frmPlotUi::setupMenus(QMainWindow* window) {
    QMenuBar* bar = window->menuBar();
    mnuFiles = bar->addMenu(QStringLiteral("Files"));
    mnuFiles->setObjectName(QStringLiteral("mnuFiles"));
    mnuLoad = AddItem(mnuFiles, "mnuLoad", QStringLiteral("Load a File"));
    mnuSave = AddItem(mnuFiles, "mnuSave", QStringLiteral("Save to Star File"));
    mnuSaveDownload = AddItem(mnuFiles, "mnuSaveDownload", QStringLiteral("Save as Download File"));
    mnuFaint = AddItem(mnuFiles, "mnuFaint", QStringLiteral("Omit \"fainter thans\""));
    mnuFaint->setCheckable(true);
    mnuDisc = AddItem(mnuFiles, "mnuDisc", QStringLiteral("Omit discrepant"));
    mnuDisc->setCheckable(true);
    mnuSpacer6 = AddSpacer(mnuFiles, "mnuSpacer6");
    mnuXYZ = AddItem(mnuFiles, "mnuXYZ", QStringLiteral("Load 3-Column File"));
    mnuSaveXYZ = AddItem(mnuFiles, "mnuSaveXYZ", QStringLiteral("Save 3-Column File"));
    mnuExport = AddItem(mnuFiles, "mnuExport", QStringLiteral("Export Plot Image"));
    mnuSpacerRecent = AddSpacer(mnuFiles, "mnuSpacerRecent");
    mnuSpacerRecent->setVisible(false);
    for (size_t i = 0; i < mnuRecent.size(); ++i) {
        const std::string name = "mnuRecent" + std::to_string(i + 1);
        mnuRecent[i] = AddItem(mnuFiles, name.c_str(), QString());
        mnuRecent[i]->setVisible(false);
    }
    mnuSpacer7 = AddSpacer(mnuFiles, "mnuSpacer7");
    mnuExit1 = AddItem(mnuFiles, "mnuExit1", QStringLiteral("Exit"));

    mnuEdit = bar->addMenu(QStringLiteral("Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuUndo = AddItem(mnuEdit, "mnuUndo", QStringLiteral("Undo"));
    mnuUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnuUndo->setEnabled(false);
    mnuRedo = AddItem(mnuEdit, "mnuRedo", QStringLiteral("Redo"));
    mnuRedo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    mnuRedo->setEnabled(false);
    // Also from the record list, where the changes are made.
    mnuUndo->setShortcutContext(Qt::ApplicationShortcut);
    mnuRedo->setShortcutContext(Qt::ApplicationShortcut);

    mnuTools = bar->addMenu(QStringLiteral("Tools"));
    mnuTools->setObjectName(QStringLiteral("mnuTools"));
    mnuAvg = AddItem(mnuTools, "mnuAvg", QStringLiteral("Average Values"));
    mnuPoly = AddItem(mnuTools, "mnuPoly", QStringLiteral("Polynomial Fit"));
    mnuPeriod = AddItem(mnuTools, "mnuPeriod", QStringLiteral("Period Search"));
    mnuTimePlot = AddItem(mnuTools, "mnuTimePlot", QStringLiteral("Time Plot"));
    mnuTimePlot->setEnabled(false);
    mnuMinimum = AddItem(mnuTools, "mnuMinimum", QStringLiteral("Time of Minimum"));
    mnuMaximum = AddItem(mnuTools, "mnuMaximum", QStringLiteral("Time of Maximum"));
    mnuMinimaList = AddItem(mnuTools, "mnuMinimaList", QStringLiteral("Times of Minimum List"));
    mnuSpacer3 = AddSpacer(mnuTools, "mnuSpacer3");
    mnuWebSite = AddItem(mnuTools, "mnuWebSite", QStringLiteral("Download Data File (WWW)"));
    mnuSpacer5 = AddSpacer(mnuTools, "mnuSpacer5");
    mnuStats = AddItem(mnuTools, "mnuStats", QStringLiteral("Stats Window"));
    mnuStats->setCheckable(true);
    mnuCalendar = AddItem(mnuTools, "mnuCalendar", QStringLiteral("Calendar Dates"));
    mnuCalendar->setCheckable(true);
    mnuBands = dckBands->toggleViewAction();
    mnuBands->setObjectName(QStringLiteral("mnuBands"));
    mnuBands->setText(QStringLiteral("Band Panel"));
    mnuBands->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+B")));
    mnuTools->addAction(mnuBands);
    mnuspacer4 = AddSpacer(mnuTools, "mnuspacer4");
    mnuViewer = AddItem(mnuTools, "mnuViewer", QStringLiteral("View Files"));
    mnuManage = AddItem(mnuTools, "mnuManage", QStringLiteral("Manage Files"));
    mnuSpacerPrevious = AddSpacer(mnuTools, "mnuSpacerPrevious");
    mnuPrevious = AddItem(mnuTools, "mnuPrevious", QStringLiteral("Previous View"));
    mnuPrevious->setShortcut(QKeySequence(Qt::Key_Backspace));
    mnuPrevious->setEnabled(false);

    mnuConfig = bar->addAction(QStringLiteral("Configure"));
    mnuConfig->setObjectName(QStringLiteral("mnuConfig"));

    mnuHelp = bar->addMenu(QStringLiteral("Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuDocs = AddItem(mnuHelp, "mnuDocs", QStringLiteral("Documentation"));
    mnuSpace = AddSpacer(mnuHelp, "mnuSpace");
    mnuAbout = AddItem(mnuHelp, "mnuAbout", QStringLiteral("About Sabrix"));

    mnuExit = bar->addAction(QStringLiteral("Exit"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));

    mnuLoad->setShortcut(QKeySequence::Open);
    mnuSave->setShortcut(QKeySequence::Save);
    mnuXYZ->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+O")));
    mnuSaveXYZ->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    mnuFaint->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
    mnuExit1->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    mnuAvg->setShortcut(QKeySequence(QStringLiteral("Ctrl+B")));
    mnuPoly->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    mnuPeriod->setShortcut(QKeySequence(QStringLiteral("Ctrl+R")));
    mnuStats->setShortcut(QKeySequence(QStringLiteral("Ctrl+T")));
    mnuDocs->setShortcut(QKeySequence::HelpContents);
    mnuExport->setShortcut(QKeySequence(QStringLiteral("Ctrl+E")));
}

void frmPlotUi::setupControls(QMainWindow* window) {
    frmPlotClient = new QWidget(window);
    frmPlotClient->setObjectName(QStringLiteral("frmPlotClient"));
    frmPlotClient->setMouseTracking(true);
    window->setCentralWidget(frmPlotClient);

    const QString blue = QStringLiteral("color: #0000c0;");
    Label1 = MakeLabel(frmPlotClient, "Label1", QStringLiteral("Sabrix"));
    Label1->setFont(QFont(QStringLiteral("Arial"), 20, QFont::Bold));
    Label1->setStyleSheet(blue);
    Label1->setAlignment(Qt::AlignCenter);
    Label2 = MakeLabel(frmPlotClient, "Label2", QStringLiteral("Plots Variable Star Observations"));
    Label2->setFont(QFont(QStringLiteral("Arial"), 12));
    Label2->setStyleSheet(blue);
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label2->setWordWrap(true);
    Label3 = MakeLabel(frmPlotClient, "Label3", QString());
    lblStarName = MakeLabel(frmPlotClient, "lblStarName", QString());

    picJDScale = new PictureBox(frmPlotClient);
    picJDScale->setObjectName(QStringLiteral("picJDScale"));
    picView = new PictureBox(frmPlotClient);
    picView->setObjectName(QStringLiteral("picView"));
    picView->canvas().ForeColor = 65535;
    // The plot takes the keyboard: arrows, Home, End and F5 move and redraw it.
    picView->setFocusPolicy(Qt::StrongFocus);
    picMagScale = new PictureBox(frmPlotClient);
    picMagScale->setObjectName(QStringLiteral("picMagScale"));

    lblPrg = MakeLabel(frmPlotClient, "lblPrg", QString());
    lblPrg->setAlignment(Qt::AlignCenter);
    // The caption of a fill stands over the plot: its own background keeps it readable there.
    lblPrg->setAutoFillBackground(true);
    lblPrg->hide();
    prgLoad = new QProgressBar(frmPlotClient);
    prgLoad->setObjectName(QStringLiteral("prgLoad"));
    prgLoad->setTextVisible(false);
    prgLoad->hide();
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), frmPlotClient);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->hide();
    keyCancel = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    keyCancel->setContext(Qt::WindowShortcut);

    cmdLoad = new QPushButton(QStringLiteral("Load a File"), frmPlotClient);
    cmdLoad->setObjectName(QStringLiteral("cmdLoad"));

    picNorvane = new QLabel(frmPlotClient);
    picNorvane->setObjectName(QStringLiteral("picNorvane"));
    picNorvane->setPixmap(QPixmap(QStringLiteral(":/images/logo.png")));
    picNorvane->setScaledContents(true);

    lblCopyright = MakeLabel(frmPlotClient, "lblCopyright", CopyrightText());
    lblCopyright->setFont(QFont(QStringLiteral("Arial"), 8));

    fraButtons = new QFrame(frmPlotClient);
    fraButtons->setObjectName(QStringLiteral("fraButtons"));
    fraButtons->setFrameShape(QFrame::NoFrame);
    cmdZoomBox = AddToolButton(fraButtons, "cmdZoomBox", "Select Zoom", 0);
    cmdBox = AddToolButton(fraButtons, "cmdBox", "Select Edits", 600);
    cmdLocate = AddToolButton(fraButtons, "cmdLocate", "Locate Point", 1185);
    cmdMag = AddToolButton(fraButtons, "cmdMag", "Zoom In/Out", 1800);
    cmdJDZoom = AddToolButton(fraButtons, "cmdJDZoom", "Expand/Contract JD", 2385);
    cmdMagZoom = AddToolButton(fraButtons, "cmdMagZoom", "Expand/Contract Mag", 2865);
    // The tool buttons show which tool is active.
    for (QPushButton* button : {cmdZoomBox, cmdBox, cmdLocate, cmdMag, cmdJDZoom, cmdMagZoom}) {
        button->setCheckable(true);
        button->setEnabled(true);
    }
    cmdBegin = AddToolButton(fraButtons, "cmdBegin", "Beginning of Plot", 3465);
    cmdBack = AddToolButton(fraButtons, "cmdBack", "Back", 3945);
    cmdForward = AddToolButton(fraButtons, "cmdForward", "Forward", 4425);
    cmdEnder = AddToolButton(fraButtons, "cmdEnder", "End of Plot", 4905);
    CmdDown = AddToolButton(fraButtons, "CmdDown", "Dimmer", 5505);
    cmdUp = AddToolButton(fraButtons, "cmdUp", "Brighter", 5985);
    cmdRefresh = AddToolButton(fraButtons, "cmdRefresh", "Refresh Plot Screen", 6600);
    cmdReset = AddToolButton(fraButtons, "cmdReset", "Reset Plot", 7185);
    cmdReset->setIcon(QIcon());
    cmdReset->setEnabled(true);
    cmdReset->setStyleSheet(
        QStringLiteral("QPushButton { background-color: #e00000; border: 1px solid #800000; }"
                       "QPushButton:disabled { background-color: #b04040; }"));
    for (QPushButton* button :
         {cmdBegin, cmdBack, cmdForward, cmdEnder, CmdDown, cmdUp, cmdRefresh})
        button->setEnabled(true);
    cmdBin = AddToolButton(fraButtons, "cmdBin", "Averages", 7785);
    cmdPoly = AddToolButton(fraButtons, "cmdPoly", "Polynomial Fit", 8265);
    cmdPeriod = AddToolButton(fraButtons, "cmdPeriod", "Period Search", 8745);
    cmdBin->setEnabled(true);
    cmdPoly->setEnabled(true);
    cmdPeriod->setEnabled(true);
}

void frmPlotUi::setupStatusBar(QMainWindow* window) {
    staPlot = new QStatusBar(window);
    staPlot->setObjectName(QStringLiteral("staPlot"));
    staPlot->setSizeGripEnabled(false);
    window->setStatusBar(staPlot);
    staPlot->setContentsMargins(2, 0, 2, 2);
    const std::array<int, 4> stretch = {4, 2, 1, 1};
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(staPlot);
        panel->setObjectName(QStringLiteral("staPlotPanel") + QString::number(i + 1));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        // The readouts fit "JD = 2455123.4567" and "  Mag = -12.34" whole, and the factor of
        // the deepest JD zoom (about 10^8 over a span of decades) shows whole.
        const std::array<QString, 4> widest = {
            QString(), QStringLiteral("JDMagnification = 000000000.0 X"),
            QStringLiteral("JD = 0000000.0000"), QStringLiteral("  Mag = -00.00")};
        panel->setMinimumWidth(std::max(
            i == 0 ? 120 : 90, panel->fontMetrics().horizontalAdvance(widest[size_t(i)]) + 10));
        panel->setContentsMargins(3, 0, 3, 0);
        staPlot->addPermanentWidget(panel, stretch[static_cast<size_t>(i)]);
        staPlotPanels[static_cast<size_t>(i)] = panel;
    }
}

}  // namespace sabrix

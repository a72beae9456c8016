#include "app/frmPlot.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QShortcut>
#include <algorithm>

#include "core/ErrorText.h"
#include "core/FileSystem.h"
#include "core/ProgramDir.h"
#include "core/QtResources.h"
#include "core/WorkingDatabase.h"
#include "shell/AboutText.h"
#include "shell/QtDesktopOpener.h"
#include "shell/frmAbout.h"
#include "shell/frmStats.h"

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

QRect PixelRect(const TwipRect& r) {
    return QRect(TwipsToPixels(r.Left), TwipsToPixels(r.Top), TwipsToPixels(r.Width),
                 TwipsToPixels(r.Height));
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

}  // namespace

frmPlot::frmPlot(AppState state, std::string programDir, Prompts& prompts, SettingsSeams seams,
                 QWidget* parent)
    : QMainWindow(parent),
      programDir_(std::move(programDir)),
      prompts_(prompts),
      seams_(std::move(seams)),
      layout_(DesignLayout()) {
    LoadResources();
    setObjectName(QStringLiteral("frmPlot"));
    setWindowTitle(QStringLiteral("Sabrix"));
    setWindowIcon(QIcon(QStringLiteral(":/images/logo.png")));
    endProgram = &frmPlot::QueueProgramEnd;
    buildMenus();
    buildControls();
    commands_ = std::make_unique<MainWindowCommands>(
        std::move(state),
        MainWindowCommands::TableFiles{WorkingDatabasePath(programDir_),
                                       TemplateDatabasePath(programDir_)},
        prompts_, static_cast<WindowHost&>(*this),
        MainWindowCommands::Canvases{picView->canvas(), picJDScale->canvas(),
                                     picMagScale->canvas()});
    desktop_ = std::make_unique<QtDesktopOpener>();
    commands_->setDesktop(*desktop_, UserGuidePath(programDir_));
    commands_->setPreferencesFolder(programDir_);
    setAcceptDrops(true);
    analysisDialogs_ = std::make_unique<QtAnalysisDialogs>(this);
    commands_->setAnalysisDialogs(analysisDialogs_.get());
    recordDialogs_ = std::make_unique<QtRecordDialogs>(this);
    commands_->setRecordDialogs(recordDialogs_.get());
    imageExportDialog_ = std::make_unique<QtImageExportDialog>(this);
    commands_->setImageExportDialog(imageExportDialog_.get());
    setMinimumSize(TwipsToPixels(kDesignWidthTwips), TwipsToPixels(kDesignHeightTwips));
    resize(TwipsToPixels(kDesignWidthTwips), TwipsToPixels(kDesignHeightTwips));
    Form_Resize();
}

frmPlot::~frmPlot() = default;

void frmPlot::buildMenus() {
    QMenuBar* bar = menuBar();
    mnuFiles = bar->addMenu(QStringLiteral("Files"));
    mnuFiles->setObjectName(QStringLiteral("mnuFiles"));
    mnuLoad = AddItem(mnuFiles, "mnuLoad", QStringLiteral("Load a File"));
    mnuSave = AddItem(mnuFiles, "mnuSave", QStringLiteral("Save to Star File"));
    mnuSaveDownload = AddItem(mnuFiles, "mnuSaveDownload", QStringLiteral("Save as Download File"));
    mnuFaint = AddItem(mnuFiles, "mnuFaint", QStringLiteral("Omit \"fainter thans\""));
    mnuFaint->setCheckable(true);
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
        connect(mnuRecent[i], &QAction::triggered, this, [this, i] { mnuRecent_Click(i); });
    }
    mnuSpacer7 = AddSpacer(mnuFiles, "mnuSpacer7");
    mnuExit1 = AddItem(mnuFiles, "mnuExit1", QStringLiteral("Exit"));

    mnuTools = bar->addMenu(QStringLiteral("Tools"));
    mnuTools->setObjectName(QStringLiteral("mnuTools"));
    mnuAvg = AddItem(mnuTools, "mnuAvg", QStringLiteral("Average Values"));
    mnuPoly = AddItem(mnuTools, "mnuPoly", QStringLiteral("Polynomial Fit"));
    mnuSpacer3 = AddSpacer(mnuTools, "mnuSpacer3");
    mnuWebSite = AddItem(mnuTools, "mnuWebSite", QStringLiteral("Download Data File (WWW)"));
    mnuSpacer5 = AddSpacer(mnuTools, "mnuSpacer5");
    mnuStats = AddItem(mnuTools, "mnuStats", QStringLiteral("Stats Window"));
    mnuStats->setCheckable(true);
    mnuCalendar = AddItem(mnuTools, "mnuCalendar", QStringLiteral("Calendar Dates"));
    mnuCalendar->setCheckable(true);
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
    mnuStats->setShortcut(QKeySequence(QStringLiteral("Ctrl+T")));
    mnuDocs->setShortcut(QKeySequence::HelpContents);
    mnuExport->setShortcut(QKeySequence(QStringLiteral("Ctrl+E")));

    menuCommands_ = {mnuLoad,   mnuSave,         mnuFaint,  mnuXYZ,     mnuSaveXYZ,
                     mnuExit1,  mnuAvg,          mnuPoly,   mnuWebSite, mnuStats,
                     mnuViewer, mnuManage,       mnuConfig, mnuDocs,    mnuAbout,
                     mnuExit,   mnuSaveDownload, mnuExport, mnuCalendar};
    menuCommands_.insert(menuCommands_.end(), mnuRecent.begin(), mnuRecent.end());
    connect(mnuLoad, &QAction::triggered, this, &frmPlot::mnuLoad_Click);
    connect(mnuSave, &QAction::triggered, this, &frmPlot::mnuSave_Click);
    connect(mnuFaint, &QAction::triggered, this, &frmPlot::mnuFaint_Click);
    connect(mnuXYZ, &QAction::triggered, this, &frmPlot::mnuXYZ_Click);
    connect(mnuSaveXYZ, &QAction::triggered, this, &frmPlot::mnuSaveXYZ_Click);
    connect(mnuSaveDownload, &QAction::triggered, this, &frmPlot::mnuSaveDownload_Click);
    connect(mnuExport, &QAction::triggered, this, &frmPlot::mnuExport_Click);
    connect(mnuExit, &QAction::triggered, this, &frmPlot::mnuExit_Click);
    connect(mnuExit1, &QAction::triggered, this, &frmPlot::mnuExit1_Click);
    connect(mnuConfig, &QAction::triggered, this, &frmPlot::mnuConfig_Click);
    connect(mnuStats, &QAction::triggered, this, &frmPlot::mnuStats_Click);
    connect(mnuCalendar, &QAction::triggered, this, &frmPlot::mnuCalendar_Click);
    connect(mnuAbout, &QAction::triggered, this, &frmPlot::mnuAbout_Click);
    connect(mnuPrevious, &QAction::triggered, this, &frmPlot::mnuPrevious_Click);
    connect(mnuDocs, &QAction::triggered, this, &frmPlot::mnuDocs_Click);
    connect(mnuViewer, &QAction::triggered, this, &frmPlot::mnuViewer_Click);
    connect(mnuManage, &QAction::triggered, this, &frmPlot::mnuManage_Click);
    connect(mnuWebSite, &QAction::triggered, this, &frmPlot::mnuWebSite_Click);
    connect(mnuAvg, &QAction::triggered, this, &frmPlot::mnuAvg_Click);
    connect(mnuPoly, &QAction::triggered, this, &frmPlot::mnuPoly_Click);
}

QPushButton* frmPlot::addToolButton(const char* name, const char* toolTip, float left) {
    auto* button = new QPushButton(fraButtons);
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

void frmPlot::buildControls() {
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("frmPlotClient"));
    client_->setMouseTracking(true);
    client_->installEventFilter(this);
    setCentralWidget(client_);

    const QString blue = QStringLiteral("color: #0000c0;");
    Label1 = MakeLabel(client_, "Label1", QStringLiteral("Sabrix"));
    Label1->setFont(QFont(QStringLiteral("Arial"), 20, QFont::Bold));
    Label1->setStyleSheet(blue);
    Label1->setAlignment(Qt::AlignCenter);
    Label2 = MakeLabel(client_, "Label2", QStringLiteral("Plots Variable Star Observations"));
    Label2->setFont(QFont(QStringLiteral("Arial"), 12));
    Label2->setStyleSheet(blue);
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label2->setWordWrap(true);
    Label3 = MakeLabel(client_, "Label3", QString());
    lblStarName = MakeLabel(client_, "lblStarName", QString());

    picJDScale = new PictureBox(client_);
    picJDScale->setObjectName(QStringLiteral("picJDScale"));
    picView = new PictureBox(client_);
    picView->setObjectName(QStringLiteral("picView"));
    picView->canvas().ForeColor = 65535;
    // The plot takes the keyboard: arrows, Home, End and F5 move and redraw it.
    picView->setFocusPolicy(Qt::StrongFocus);
    picView->installEventFilter(this);
    picMagScale = new PictureBox(client_);
    picMagScale->setObjectName(QStringLiteral("picMagScale"));
    connect(picView, &PictureBox::mouseDown, this, &frmPlot::picView_MouseDown);
    connect(picView, &PictureBox::mouseMove, this, &frmPlot::picView_MouseMove);
    connect(picView, &PictureBox::mouseUp, this, &frmPlot::picView_MouseUp);
    connect(picView, &PictureBox::wheelTurned, this, &frmPlot::picView_Wheel);
    connect(picJDScale, &PictureBox::mouseDown, this, &frmPlot::picJDScale_MouseDown);
    connect(picJDScale, &PictureBox::mouseMove, this, &frmPlot::picJDScale_MouseMove);
    connect(picMagScale, &PictureBox::mouseDown, this, &frmPlot::picMagScale_MouseDown);
    connect(picMagScale, &PictureBox::mouseMove, this, &frmPlot::picMagScale_MouseMove);

    lblPrg = MakeLabel(client_, "lblPrg", QString());
    lblPrg->setAlignment(Qt::AlignCenter);
    // The caption of a fill stands over the plot: its own background keeps it readable there.
    lblPrg->setAutoFillBackground(true);
    lblPrg->hide();
    prgLoad = new QProgressBar(client_);
    prgLoad->setObjectName(QStringLiteral("prgLoad"));
    prgLoad->setTextVisible(false);
    prgLoad->hide();
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), client_);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->hide();
    connect(cmdCancel, &QPushButton::clicked, this, &frmPlot::cmdCancel_Click);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &frmPlot::cmdCancel_Click);
    tmrFill_.setInterval(40);
    connect(&tmrFill_, &QTimer::timeout, this, &frmPlot::tmrFill_Timer);

    cmdLoad = new QPushButton(QStringLiteral("Load a File"), client_);
    cmdLoad->setObjectName(QStringLiteral("cmdLoad"));
    connect(cmdLoad, &QPushButton::clicked, this, &frmPlot::cmdLoad_Click);

    picNorvane = new QLabel(client_);
    picNorvane->setObjectName(QStringLiteral("picNorvane"));
    picNorvane->setPixmap(QPixmap(QStringLiteral(":/images/logo.png")));
    picNorvane->setScaledContents(true);

    lblCopyright = MakeLabel(client_, "lblCopyright", CopyrightText());
    lblCopyright->setFont(QFont(QStringLiteral("Arial"), 8));

    fraButtons = new QFrame(client_);
    fraButtons->setObjectName(QStringLiteral("fraButtons"));
    fraButtons->setFrameShape(QFrame::NoFrame);
    cmdZoomBox = addToolButton("cmdZoomBox", "Select Zoom", 0);
    cmdBox = addToolButton("cmdBox", "Select Edits", 600);
    cmdLocate = addToolButton("cmdLocate", "Locate Point", 1185);
    cmdMag = addToolButton("cmdMag", "Zoom In/Out", 1800);
    cmdJDZoom = addToolButton("cmdJDZoom", "Expand/Contract JD", 2385);
    cmdMagZoom = addToolButton("cmdMagZoom", "Expand/Contract Mag", 2865);
    // The tool buttons show which tool is active.
    for (QPushButton* button : {cmdZoomBox, cmdBox, cmdLocate, cmdMag, cmdJDZoom, cmdMagZoom}) {
        button->setCheckable(true);
        button->setEnabled(true);
    }
    connect(cmdZoomBox, &QPushButton::clicked, this, &frmPlot::cmdZoomBox_Click);
    connect(cmdBox, &QPushButton::clicked, this, &frmPlot::cmdBox_Click);
    connect(cmdLocate, &QPushButton::clicked, this, &frmPlot::cmdLocate_Click);
    connect(cmdMag, &QPushButton::clicked, this, &frmPlot::cmdMag_Click);
    connect(cmdJDZoom, &QPushButton::clicked, this, &frmPlot::cmdJDZoom_Click);
    connect(cmdMagZoom, &QPushButton::clicked, this, &frmPlot::cmdMagZoom_Click);
    cmdBegin = addToolButton("cmdBegin", "Beginning of Plot", 3465);
    cmdBack = addToolButton("cmdBack", "Back", 3945);
    cmdForward = addToolButton("cmdForward", "Forward", 4425);
    cmdEnder = addToolButton("cmdEnder", "End of Plot", 4905);
    CmdDown = addToolButton("CmdDown", "Dimmer", 5505);
    cmdUp = addToolButton("cmdUp", "Brighter", 5985);
    cmdRefresh = addToolButton("cmdRefresh", "Refresh Plot Screen", 6600);
    cmdReset = addToolButton("cmdReset", "Reset Plot", 7185);
    cmdReset->setIcon(QIcon());
    cmdReset->setEnabled(true);
    connect(cmdReset, &QPushButton::clicked, this, &frmPlot::cmdReset_Click);
    cmdReset->setStyleSheet(
        QStringLiteral("QPushButton { background-color: #e00000; border: 1px solid #800000; }"
                       "QPushButton:disabled { background-color: #b04040; }"));
    for (QPushButton* button :
         {cmdBegin, cmdBack, cmdForward, cmdEnder, CmdDown, cmdUp, cmdRefresh})
        button->setEnabled(true);
    connect(cmdBegin, &QPushButton::clicked, this, &frmPlot::cmdBegin_Click);
    connect(cmdBack, &QPushButton::clicked, this, &frmPlot::cmdBack_Click);
    connect(cmdForward, &QPushButton::clicked, this, &frmPlot::cmdForward_Click);
    connect(cmdEnder, &QPushButton::clicked, this, &frmPlot::cmdEnder_Click);
    connect(CmdDown, &QPushButton::clicked, this, &frmPlot::CmdDown_Click);
    connect(cmdUp, &QPushButton::clicked, this, &frmPlot::cmdUp_Click);
    connect(cmdRefresh, &QPushButton::clicked, this, &frmPlot::cmdRefresh_Click);
    cmdBin = addToolButton("cmdBin", "Averages", 7785);
    cmdPoly = addToolButton("cmdPoly", "Polynomial Fit", 8385);
    cmdBin->setEnabled(true);
    cmdPoly->setEnabled(true);
    connect(cmdBin, &QPushButton::clicked, this, &frmPlot::cmdBin_Click);
    connect(cmdPoly, &QPushButton::clicked, this, &frmPlot::cmdPoly_Click);

    staPlot = new QStatusBar(this);
    staPlot->setObjectName(QStringLiteral("staPlot"));
    staPlot->setSizeGripEnabled(false);
    setStatusBar(staPlot);
    staPlot->setContentsMargins(2, 0, 2, 2);
    const std::array<int, 4> stretch = {4, 2, 1, 1};
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(staPlot);
        panel->setObjectName(QStringLiteral("staPlotPanel") + QString::number(i + 1));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        // The readouts fit "JD = 2455123.4567" and "  Mag = -12.34" whole.
        const std::array<QString, 4> widest = {QString(), QString(),
                                               QStringLiteral("JD = 0000000.0000"),
                                               QStringLiteral("  Mag = -00.00")};
        panel->setMinimumWidth(std::max(
            i == 0 ? 120 : 90, panel->fontMetrics().horizontalAdvance(widest[size_t(i)]) + 10));
        panel->setContentsMargins(3, 0, 3, 0);
        staPlot->addPermanentWidget(panel, stretch[static_cast<size_t>(i)]);
        panels_[static_cast<size_t>(i)] = panel;
    }

    // The window opens in its empty look.
    picView->hide();
    picJDScale->hide();
    picMagScale->hide();
    fraButtons->hide();
}

void frmPlot::setPanelText(int panel, const QString& text) {
    if (panel < 1 || panel > 4) return;
    panels_[static_cast<size_t>(panel - 1)]->setText(text);
}

QString frmPlot::panelText(int panel) const {
    if (panel < 1 || panel > 4) return QString();
    return panels_[static_cast<size_t>(panel - 1)]->text();
}

void frmPlot::setBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy) {
        disabledActionsWhileBusy_.clear();
        for (QAction* action : menuCommands_) {
            if (!action->isEnabled()) continue;
            action->setEnabled(false);
            disabledActionsWhileBusy_.emplace_back(action);
        }
        cmdLoadWasEnabled_ = cmdLoad->isEnabled();
        cmdLoad->setEnabled(false);
    } else {
        for (const QPointer<QAction>& action : disabledActionsWhileBusy_)
            if (action) action->setEnabled(true);
        disabledActionsWhileBusy_.clear();
        cmdLoad->setEnabled(cmdLoadWasEnabled_);
    }
    // Disabling the containers keeps each button's own state for afterwards. A disabled plot
    // loses the keyboard; it gets it back, so the arrows go on moving it.
    if (busy) plotHadFocus_ = picView->hasFocus();
    fraButtons->setEnabled(!busy);
    picView->setEnabled(!busy);
    if (!busy && plotHadFocus_) picView->setFocus();
    // Wheel notches that came while the job ran are drawn now, in one go.
    if (!busy && wheelWaitsForJob_) {
        wheelWaitsForJob_ = false;
        QueueWheel();
    }
    picJDScale->setEnabled(!busy);
    picMagScale->setEnabled(!busy);
    // A resize during the job blanked the canvases; whatever the job was (a plot, an import,
    // a save), the plot is drawn again once it is over.
    if (!busy && redrawPending_) {
        redrawPending_ = false;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (state().star.FileLoaded && !isBusy()) Redraw(true);
            },
            Qt::QueuedConnection);
    }
}

frmStats* frmPlot::statsWindow() {
    if (!stats_) {
        stats_ = new frmStats(this);
        connect(stats_, &frmStats::unloaded, this, &frmPlot::frmStats_Unload);
    }
    return stats_;
}

void frmPlot::PlaceStatsWindow() {
    // Beside the main window, never over the plot: to the right where the screen has room,
    // else to the left, else at the screen's edge nearest the right.
    const QRect frame = frameGeometry();
    const QSize size = stats_->frameGeometry().size();
    QPoint place(frame.right() + 8, frame.top());
    if (const QScreen* shown = screen()) {
        const QRect area = shown->availableGeometry();
        if (place.x() + size.width() - 1 > area.right()) {
            const int left = frame.left() - 8 - size.width();
            place.setX(left >= area.left() ? left
                                           : std::max(area.left(), area.right() - size.width()));
        }
        place.setY(
            std::clamp(place.y(), area.top(), std::max(area.top(), area.bottom() - size.height())));
    }
    stats_->move(place);
}

bool frmPlot::Form_Load() {
    Apply(commands_->OpenWorkingTable());
    if (commands_->view().endRun) return false;
    fraButtons->hide();
    return true;
}

void frmPlot::Form_Activate() {
    if (state().star.FileLoaded) return;
    picView->hide();
    picJDScale->hide();
    picMagScale->hide();
    fraButtons->hide();
}

void frmPlot::Form_Resize() {
    ApplyFormResize(layout_, static_cast<float>(width()) * kTwipsPerPixel,
                    static_cast<float>(height()) * kTwipsPerPixel, isMinimized());
    applyLayout();
    if (!commands_ || !state().star.FileLoaded) return;
    // A resize that arrives while a job runs (the plot yields to the event loop) is drawn
    // once the job is over.
    if (busy_) {
        redrawPending_ = true;
        return;
    }
    Redraw(true);
}

void frmPlot::applyLayout() {
    Label1->setGeometry(PixelRect(layout_.Label1));
    Label2->setGeometry(PixelRect(layout_.Label2));
    Label3->setGeometry(PixelRect(layout_.Label3));
    lblStarName->setGeometry(PixelRect(layout_.lblStarName));
    picJDScale->setGeometry(PixelRect(layout_.picJDScale));
    picView->setGeometry(PixelRect(layout_.picView));
    picMagScale->setGeometry(PixelRect(layout_.picMagScale));
    for (PictureBox* picture : {picJDScale, picView, picMagScale}) picture->fitCanvas();
    lblPrg->setGeometry(PixelRect(layout_.lblPrg));
    cmdLoad->setGeometry(PixelRect(layout_.cmdLoad));
    prgLoad->setGeometry(PixelRect(layout_.prgLoad));
    const QRect bar = prgLoad->geometry();
    const int cancelHeight = std::max(bar.height(), cmdCancel->sizeHint().height());
    cmdCancel->setGeometry(bar.right() + 8, bar.center().y() - cancelHeight / 2,
                           cmdCancel->sizeHint().width(), cancelHeight);
    fraButtons->setGeometry(PixelRect(layout_.fraButtons));
    lblCopyright->setGeometry(PixelRect(layout_.lblCopyright));
    picNorvane->setGeometry(PixelRect(layout_.picNorvane));
    // The status bar sits on the window's bottom edge by itself (QMainWindow keeps it there).
}

bool frmPlot::UnloadStar() {
    const bool unloaded = commands_->UnloadStar();
    Apply(commands_->view());
    return unloaded;
}

void frmPlot::QueueProgramEnd(int exitCode) {
    // Queued: an exit asked for before exec() starts would otherwise be forgotten by it, and
    // the program would run on with no window.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [exitCode] { QCoreApplication::exit(exitCode); },
        Qt::QueuedConnection);
}

void frmPlot::ShutDown() {
    // Closing this window below runs the close handler, which comes back here.
    if (shutDownStarted_) return;
    shutDownStarted_ = true;

    exitCode_ = commands_->CloseWorkingTable(exitCode_);
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isWindow() && child->isVisible()) child->close();
    close();
    shutDownDone_ = true;
    if (endProgram) endProgram(exitCode_);
}

void frmPlot::mnuExit_Click() {
    if (busy_ || !commands_->QueryUnload()) return;
    ShutDown();
}

void frmPlot::mnuExit1_Click() {
    mnuExit_Click();
}

void frmPlot::closeEvent(QCloseEvent* event) {
    // Closing during the read of a load asks nothing: the load stops, then the window closes.
    // (A fill behind the plot stops with the working table in ShutDown.)
    if (!shutDownStarted_ && busy_ && commands_->view().cancelShown) {
        closeAfterLoad_ = true;
        Apply(commands_->CancelLoad());
        event->ignore();
        return;
    }
    // Form_QueryUnload.
    if (!shutDownStarted_ && (busy_ || !commands_->QueryUnload())) {
        event->ignore();
        return;
    }
    event->accept();
    // Form_Unload.
    ShutDown();
}

void frmPlot::mnuConfig_Click() {
    if (busy_) return;
    const bool goOn = commands_->PrepareConfiguration();
    Apply(commands_->view());
    if (!goOn) return;
    hide();
    const bool keepRunning = commands_->Configure([this](Settings& settings) {
        return !seams_.runConfiguration ||
               seams_.runConfiguration(this, settings, programDir_, prompts_);
    });
    if (!keepRunning) {
        ShutDown();
        return;
    }
    show();
}

void frmPlot::mnuStats_Click() {
    // The item has flipped its own check mark already; the commands decide on the state.
    Apply(commands_->mnuStats_Click());
}

void frmPlot::frmStats_Unload() {
    // Also reached when Apply closes the window: then the commands know already.
    if (!commands_->view().statsWindowOpen) {
        mnuStats->setChecked(commands_->view().statsChecked);
        return;
    }
    Apply(commands_->frmStats_Unload());
}

void frmPlot::mnuAbout_Click() {
    frmAbout about(this);
    about.exec();
}

void frmPlot::Form_MouseMove() {
    if (!commands_) return;  // still being built
    Apply(commands_->Form_MouseMove());
}

void frmPlot::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmPlot::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) Form_Resize();
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) Form_Activate();
}

bool frmPlot::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::MouseMove) Form_MouseMove();
    if (watched == picView && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier)
            if (HandlePlotKey(key->key())) return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace sabrix

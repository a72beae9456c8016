// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/frmPlot.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMetaObject>
#include <QScreen>
#include <QShortcut>
#include <algorithm>
#include <type_traits>

#include "core/ErrorText.h"
#include "core/FileSystem.h"
#include "core/ProgramDir.h"
#include "core/WorkingDatabase.h"
#include "interaction/SideWindowPlace.h"
#include "ui/shell/QtDesktopOpener.h"
#include "ui/shell/frmAbout.h"
#include "ui/shell/frmStats.h"

namespace sabrix {

namespace {

QRect PixelRect(const TwipRect& r) {
    return QRect(TwipsToPixels(r.Left), TwipsToPixels(r.Top), TwipsToPixels(r.Width),
                 TwipsToPixels(r.Height));
}

}  // namespace

frmPlot::frmPlot(AppState state, std::string programDir, Prompts& prompts, SettingsSeams seams,
                 QWidget* parent)
    : QMainWindow(parent),
      programDir_(std::move(programDir)),
      prompts_(prompts),
      seams_(std::move(seams)),
      layout_(DesignLayout()) {
    setupUi(this);
    endProgram = &frmPlot::QueueProgramEnd;
    connectControls();
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
    recordDialogs_ = std::make_unique<QtRecordDialogs>(this, picView);
    commands_->setRecordDialogs(recordDialogs_.get());
    imageExportDialog_ = std::make_unique<QtImageExportDialog>(this);
    commands_->setImageExportDialog(imageExportDialog_.get());
    periodDialogs_ = std::make_unique<QtPeriodDialogs>(this);
    commands_->setPeriodDialogs(periodDialogs_.get());
    minimaDialogs_ = std::make_unique<QtMinimaDialogs>(this);
    commands_->setMinimaDialogs(minimaDialogs_.get());
    Form_Resize();
}

frmPlot::~frmPlot() = default;

void frmPlot::connectControls() {
    // Every menu item, key and tool button runs the command it was made for.
    cmd::ForEachCommand([this](const auto& command) {
        using Declaration = std::remove_cvref_t<decltype(command)>;
        if constexpr (!std::is_same_v<Declaration, WindowCommand>) {
            if constexpr (std::is_invocable_v<typename Declaration::Method,
                                              typename Declaration::ControllerType&> &&
                          std::is_void_v<typename Declaration::ResultType>) {
                for (QAction* action : actionsOf(command.name))
                    connect(action, &QAction::triggered, this, [this, &command] { Run(command); });
                if (QPushButton* button = buttonOf(command.name))
                    connect(button, &QPushButton::clicked, this,
                            [this, &command] { Run(command); });
            }
        }
    });
    for (size_t i = 0; i < mnuRecent.size(); ++i)
        connect(mnuRecent[i], &QAction::triggered, this,
                [this, i] { Run(cmd::mnuRecent_Click, i); });
    connect(mnuExit, &QAction::triggered, this, &frmPlot::mnuExit_Click);
    connect(mnuExit1, &QAction::triggered, this, &frmPlot::mnuExit1_Click);
    connect(mnuConfig, &QAction::triggered, this, &frmPlot::mnuConfig_Click);
    connect(mnuAbout, &QAction::triggered, this, &frmPlot::mnuAbout_Click);
    connect(cmdLoad, &QPushButton::clicked, this, [this] { Run(cmd::mnuLoad_Click); });

    connect(bandPanel, &BandPanelWidget::lineChecked, this, &frmPlot::lstBands_ItemCheck);
    connect(bandPanel, &BandPanelWidget::lineDoubleClicked, this, &frmPlot::lstBands_DblClick);
    connect(bandPanel, &BandPanelWidget::allBandsClicked, this,
            [this] { Run(cmd::cmdAllBands_Click); });
    connect(dckBands, &QDockWidget::visibilityChanged, this, [this] {
        // Once the dock has taken its place: the plot keeps at least its design width beside
        // the panel (the window grows instead), and is laid out in the room it has.
        QTimer::singleShot(0, this, [this] {
            if (dckBands->isVisible() && !dckBands->isFloating() && !isMaximized() &&
                !isFullScreen()) {
                const int lacking = TwipsToPixels(kDesignWidthTwips) - frmPlotClient->width();
                // No wider than the screen, and moved back onto it when it grew over its edge.
                const QRect area = screen() ? screen()->availableGeometry() : QRect();
                const QSize margins = frameGeometry().size() - size();
                int widest = width() + std::max(lacking, 0);
                if (area.isValid()) widest = std::min(widest, area.width() - margins.width());
                if (lacking > 0 && widest > width()) {
                    const QPoint place = frameGeometry().topLeft();
                    resize(widest, height());
                    if (area.isValid())
                        move(FrameInside(QRect(place, size() + margins), area).topLeft());
                }
            }
            if (layoutWidth() != layoutWidth_) Form_Resize();
        });
    });

    // The pointer over the window clears the readouts; the plot takes its navigation keys;
    // the plot area follows the client's width, which the band panel takes a part of.
    frmPlotClient->installEventFilter(this);
    picView->installEventFilter(this);
    const auto mouse = [this](PictureBox* picture,
                              void (PictureBox::*signal)(int, int, double, double),
                              const auto& command) {
        connect(picture, signal, this, [this, &command](int button, int shift, double x, double y) {
            Run(command, button, shift, x, y);
        });
    };
    mouse(picView, &PictureBox::mouseDown, cmd::picView_MouseDown);
    connect(picView, &PictureBox::mouseMove, this, &frmPlot::picView_MouseMove);
    mouse(picView, &PictureBox::mouseUp, cmd::picView_MouseUp);
    connect(picView, &PictureBox::wheelTurned, this, &frmPlot::picView_Wheel);
    connect(picJDScale, &PictureBox::mouseDown, this,
            [this](int, int, double x, double) { Run(cmd::picJDScale_MouseDown, x); });
    connect(picJDScale, &PictureBox::mouseMove, this,
            [this](int, int, double x, double) { Run(cmd::picJDScale_MouseMove, x); });
    connect(picMagScale, &PictureBox::mouseDown, this,
            [this](int, int, double, double y) { Run(cmd::picMagScale_MouseDown, y); });
    connect(picMagScale, &PictureBox::mouseMove, this,
            [this](int, int, double, double y) { Run(cmd::picMagScale_MouseMove, y); });

    connect(cmdCancel, &QPushButton::clicked, this, &frmPlot::cmdCancel_Click);
    connect(keyCancel, &QShortcut::activated, this, &frmPlot::cmdCancel_Click);
    tmrTip_.setSingleShot(true);
    tmrTip_.setInterval(500);
    connect(&tmrTip_, &QTimer::timeout, this, &frmPlot::tmrTip_Timer);
    tmrFill_.setInterval(40);
    connect(&tmrFill_, &QTimer::timeout, this, &frmPlot::tmrFill_Timer);
}

void frmPlot::setPanelText(int panel, const QString& text) {
    if (panel < 1 || panel > 4) return;
    staPlotPanels[static_cast<size_t>(panel - 1)]->setText(text);
}

QString frmPlot::panelText(int panel) const {
    if (panel < 1 || panel > 4) return QString();
    return staPlotPanels[static_cast<size_t>(panel - 1)]->text();
}

void frmPlot::setBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy) {
        disabledActionsWhileBusy_.clear();
        for (QAction* action : menuCommands()) {
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
    if (!busy && wheel_.JobEnded()) QueueWheel();
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
    const QScreen* shown = screen();
    stats_->move(SideWindowPlace(frameGeometry(), stats_->frameGeometry().size(),
                                 shown ? std::optional(shown->availableGeometry()) : std::nullopt));
}

bool frmPlot::Form_Load() {
    Apply(commands_->Run(cmd::OpenWorkingTable));
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

int frmPlot::layoutWidth() const {
    // The design fills the window's width; a docked band panel takes its share of it.
    const bool docked = dckBands->isVisible() && !dckBands->isFloating();
    return docked ? frmPlotClient->width() : width();
}

void frmPlot::Form_Resize() {
    layoutWidth_ = layoutWidth();
    ApplyFormResize(layout_, static_cast<float>(layoutWidth_) * kTwipsPerPixel,
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
    const bool unloaded = commands_->Run(cmd::UnloadStar);
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

RememberedLayout frmPlot::currentLayout() const {
    RememberedLayout layout = restoredLayout_.value_or(RememberedLayout{});
    if (!isMaximized() && !isMinimized() && !isFullScreen())
        layout.mainWindow = QRect(frameGeometry().topLeft(), size());
    // Hidden with the window (during the configuration) it still counts as shown.
    layout.bandPanelShown = !dckBands->isHidden();
    if (!dckBands->isHidden()) layout.bandPanelWidth = dckBands->width();
    layout.periodWindow = periodDialogs_->place();
    return layout;
}

void frmPlot::restoreLayout(const RememberedLayout& layout) {
    restoredLayout_ = layout;
    periodDialogs_->setRememberedPlace(layout.periodWindow);
    if (!layout.bandPanelShown.value_or(false)) return;
    dckBands->show();
    if (layout.bandPanelWidth > 0)
        resizeDocks({dckBands}, {std::min(layout.bandPanelWidth, width() / 2)}, Qt::Horizontal);
}

void frmPlot::ShutDown() {
    // Closing this window below runs the close handler, which comes back here.
    if (shutDownStarted_) return;
    shutDownStarted_ = true;

    // The layout is a convenience: a settings file that cannot be written keeps the old one.
    if (seams_.writeLayout && restoredLayout_) {
        try {
            seams_.writeLayout(programDir_, currentLayout());
        } catch (const std::exception&) {
        }
    }

    exitCode_ = commands_->Run(cmd::CloseWorkingTable, exitCode_);
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isWindow() && child->isVisible()) child->close();
    close();
    shutDownDone_ = true;
    if (endProgram) endProgram(exitCode_);
}

void frmPlot::mnuExit_Click() {
    if (busy_ || !commands_->Run(cmd::QueryUnload)) return;
    ShutDown();
}

void frmPlot::mnuExit1_Click() {
    mnuExit_Click();
}

void frmPlot::closeEvent(QCloseEvent* event) {
    // Closing during the read of a load or a period search asks nothing: the job stops, then
    // the window closes. (A fill behind the plot stops with the working table in ShutDown.)
    if (!shutDownStarted_ && busy_ && commands_->view().cancelShown) {
        closeAfterLoad_ = true;
        cmdCancel_Click();
        event->ignore();
        return;
    }
    // Form_QueryUnload.
    if (!shutDownStarted_ && (busy_ || !commands_->Run(cmd::QueryUnload))) {
        event->ignore();
        return;
    }
    event->accept();
    // Form_Unload.
    ShutDown();
}

void frmPlot::mnuConfig_Click() {
    if (busy_) return;
    const bool goOn = commands_->Run(cmd::PrepareConfiguration);
    Apply(commands_->view());
    if (!goOn) return;
    hide();
    const bool keepRunning = commands_->Run(cmd::Configure, [this](Settings& settings) {
        return !seams_.runConfiguration ||
               seams_.runConfiguration(this, settings, programDir_, prompts_);
    });
    if (!keepRunning) {
        ShutDown();
        return;
    }
    show();
}

void frmPlot::frmStats_Unload() {
    // Also reached when Apply closes the window: then the commands know already.
    if (!commands_->view().statsWindowOpen) {
        mnuStats->setChecked(commands_->view().statsChecked);
        return;
    }
    Apply(commands_->Run(cmd::frmStats_Unload));
}

void frmPlot::mnuAbout_Click() {
    frmAbout about(this);
    about.exec();
}

void frmPlot::Form_MouseMove() {
    if (!commands_) return;  // still being built
    Apply(commands_->Run(cmd::Form_MouseMove));
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
    if (watched == frmPlotClient && event->type() == QEvent::MouseMove) Form_MouseMove();
    // Showing, hiding or widening the band panel resizes the client, not the window.
    if (watched == frmPlotClient && event->type() == QEvent::Resize &&
        layoutWidth() != layoutWidth_)
        Form_Resize();
    if (watched == picView && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier)
            if (HandlePlotKey(key->key())) return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace sabrix

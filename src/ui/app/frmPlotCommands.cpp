// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's command slots and how the window shows what the commands leave. Each
// slot runs one command of MainWindowCommands and applies the view it returns.
#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMetaObject>
#include <QMimeData>
#include <QToolTip>
#include <QUrl>
#include <algorithm>
#include <string_view>
#include <type_traits>
#include <utility>

#include "app/RecordsController.h"
#include "core/ErrorText.h"
#include "ui/app/frmPlot.h"
#include "ui/shell/frmStats.h"

namespace sabrix {

void frmPlot::present(const WindowView& view) {
    Apply(view);
}

void frmPlot::yield() {
    QCoreApplication::processEvents();
}

void frmPlot::Apply(const WindowView& view) {
    using Look = WindowView::Look;
    const bool plot = view.look == Look::Plot;
    const bool logo = !plot;
    for (QWidget* widget : {static_cast<QWidget*>(picView), static_cast<QWidget*>(picJDScale),
                            static_cast<QWidget*>(picMagScale), static_cast<QWidget*>(fraButtons),
                            static_cast<QWidget*>(lblStarName)})
        widget->setVisible(plot);
    picNorvane->setVisible(logo);
    Label1->setVisible(view.look == Look::Start);
    Label2->setVisible(view.look == Look::Start);
    lblCopyright->setVisible(view.look == Look::Start);
    cmdLoad->setVisible(view.look == Look::Start);

    lblStarName->setText(view.starLabel);
    for (int panel = 1; panel <= 4; ++panel)
        setPanelText(panel, view.panels[static_cast<size_t>(panel - 1)]);
    // Apply runs on every pointer move and job turn: the cursor image loads only when it changes.
    if (picView->toolCursorName() != view.cursorName) picView->setToolCursor(view.cursorName);

    cmdCancel->setVisible(view.cancelShown);
    if (view.filling && !tmrFill_.isActive()) tmrFill_.start();
    if (!view.filling) tmrFill_.stop();
    lblPrg->setText(view.progressCaption);
    lblPrg->setVisible(view.captionShown);
    if (prgLoad->maximum() != view.progressMaximum) prgLoad->setRange(0, view.progressMaximum);
    prgLoad->setValue(view.progressValue);
    prgLoad->setVisible(view.progressBarShown);

    const std::pair<QPushButton*, Tool> toolButtons[] = {
        {cmdLocate, Tool::Locate}, {cmdBox, Tool::Box},       {cmdZoomBox, Tool::ZoomBox},
        {cmdMag, Tool::Magnify},   {cmdJDZoom, Tool::JDZoom}, {cmdMagZoom, Tool::MagZoom}};
    for (const auto& [button, tool] : toolButtons) button->setChecked(view.tool == tool);
    if (view.rubberBand) {
        const auto& [x1, y1, x2, y2] = *view.rubberBand;
        picView->setRubberBand(x1, y1, x2, y2);
    } else if (picView->rubberBand()) {
        picView->clearRubberBand();
    }

    mnuFaint->setChecked(view.omitFainterChecked);
    mnuDisc->setChecked(view.omitDiscrepantChecked);
    bandPanel->setLines(view.bandLines);
    bandPanel->setEnabled(!view.busy && !view.bandLines.empty());
    mnuStats->setChecked(view.statsChecked);
    mnuCalendar->setChecked(view.calendarChecked);
    // Panel 3 fits the readout whole, with the date when it shows one. (The menu item's own
    // check changes as it is clicked, before this runs, so it cannot tell what the panel fits.)
    if (readoutFitsDate_ != view.calendarChecked) {
        readoutFitsDate_ = view.calendarChecked;
        QLabel* readout = staPlotPanels[2];
        const QString widest = view.calendarChecked
                                   ? QStringLiteral("JD = 0000000.0000  0000-00-00 00:00 UTC")
                                   : QStringLiteral("JD = 0000000.0000");
        readout->setMinimumWidth(
            std::max(90, readout->fontMetrics().horizontalAdvance(widest) + 10));
    }
    for (size_t i = 0; i < mnuRecent.size(); ++i) {
        const bool listed = i < view.recentFiles.size();
        mnuRecent[i]->setVisible(listed);
        if (!listed) continue;
        QString caption = view.recentFiles[i];
        caption.replace(u'&', QStringLiteral("&&"));
        mnuRecent[i]->setText(QStringLiteral("&") + QString::number(i + 1) + u' ' + caption);
    }
    mnuSpacerRecent->setVisible(!view.recentFiles.empty());
    if (view.statsWindowOpen) {
        frmStats* stats = statsWindow();
        QStringList lines(view.statsLines.begin(), view.statsLines.end());
        const QString text = lines.join(u'\n');
        if (stats->text() != text) {
            stats->clear();
            for (const QString& line : view.statsLines) stats->printLine(line);
        }
        if (!stats->isVisible()) {
            PlaceStatsWindow();
            stats->show();
        }
    } else if (stats_ && stats_->isVisible()) {
        stats_->close();
    }

    const bool wasBusy = busy_;
    setBusy(view.busy);
    if (!view.busy) {
        mnuPrevious->setEnabled(view.previousViewAvailable);
        mnuTimePlot->setEnabled(view.phasePlot);
        // The phase plot shows its whole cycle: no time to move through.
        for (QPushButton* button : {cmdBegin, cmdBack, cmdForward, cmdEnder})
            button->setEnabled(!view.phasePlot);
        // The name of the change, as "Undo Delete 3 Records"; plain and greyed when none.
        mnuUndo->setText(view.undoText.isEmpty() ? QStringLiteral("Undo") : view.undoText);
        mnuRedo->setText(view.redoText.isEmpty() ? QStringLiteral("Redo") : view.redoText);
        mnuUndo->setEnabled(!view.undoText.isEmpty() && !view.filling);
        mnuRedo->setEnabled(!view.redoText.isEmpty() && !view.filling);
        // The commands that need every row wait for the fill behind the plot.
        for (QAction* action : {mnuLoad, mnuSave, mnuXYZ, mnuSaveXYZ, mnuSaveDownload, mnuConfig})
            action->setEnabled(!view.filling);
        for (QAction* action : mnuRecent) action->setEnabled(!view.filling);
        cmdLoad->setEnabled(!view.filling);
    }
    if (view.busy && !wasBusy) QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!view.busy && wasBusy) QApplication::restoreOverrideCursor();
    // What the plot pictures show changed under them.
    for (PictureBox* picture : {picJDScale, picView, picMagScale}) picture->syncWithCanvas();

    if (view.endRun) {
        exitCode_ = *view.endRun;
        ShutDown();
        return;
    }
    if (closeAfterLoad_ && !view.busy) {
        closeAfterLoad_ = false;
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

void frmPlot::Redraw(bool withOverlays) {
    Run(cmd::Redraw, withOverlays);
}

void frmPlot::LoadStarFile(const std::string& path) {
    Run(cmd::LoadStarFile, path);
}

void frmPlot::LoadThreeColumnFile(const std::string& path, std::optional<double> timeOffset) {
    Run(cmd::LoadThreeColumnFile, path, timeOffset);
}

void frmPlot::FocusLoadedPlot() {
    if (state().star.FileLoaded) picView->setFocus();
}

namespace {

// The one local file a drag carries; empty for anything else (several files, web addresses,
// text).
QString DraggedFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return QString();
    const QUrl url = data->urls().front();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

}  // namespace

void frmPlot::dragEnterEvent(QDragEnterEvent* event) {
    if (!busy_ && !DraggedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void frmPlot::dropEvent(QDropEvent* event) {
    const QString file = DraggedFile(event->mimeData());
    if (file.isEmpty()) return;
    event->acceptProposedAction();
    QMetaObject::invokeMethod(
        this, [this, path = PathBytes(file)] { Run(cmd::DropFile, path); }, Qt::QueuedConnection);
}

void frmPlot::lstBands_ItemCheck(int line, bool shown) {
    const std::vector<BandLine>& lines = bandPanel->lines();
    if (line < 0 || line >= static_cast<int>(lines.size())) return;
    // The lines of the two kinds of observation are the two Omit items.
    switch (const BandLine chosen = lines[static_cast<size_t>(line)]; chosen.kind) {
        case BandLine::Kind::Band:
            Run(cmd::lstBands_ItemCheck, chosen.band, shown);
            return;
        case BandLine::Kind::FainterThan:
            Run(cmd::mnuFaint_Click);
            return;
        case BandLine::Kind::Discrepant:
            Run(cmd::mnuDisc_Click);
            return;
    }
}

void frmPlot::lstBands_DblClick(int line) {
    const std::vector<BandLine>& lines = bandPanel->lines();
    if (line < 0 || line >= static_cast<int>(lines.size())) return;
    const BandLine chosen = lines[static_cast<size_t>(line)];
    if (chosen.kind == BandLine::Kind::Band) Run(cmd::lstBands_DblClick, chosen.band);
}

void frmPlot::picView_MouseMove(int button, int shift, double x, double y) {
    Run(cmd::picView_MouseMove, button, shift, x, y);
    // Every move starts the half second again; a drag shows nothing.
    tipX_ = x;
    tipY_ = y;
    if (button == 0)
        tmrTip_.start();
    else
        tmrTip_.stop();
}

void frmPlot::tmrTip_Timer() {
    if (busy_ || !picView->underMouse()) return;
    const std::optional<QString> tip = commands_->Run(cmd::PointTip, tipX_, tipY_);
    if (!tip) return;
    // The tip goes when the pointer leaves the point's neighbourhood.
    const QPoint at = picView->mapFromGlobal(QCursor::pos());
    const int reach = static_cast<int>(RecordsController::kPointTipPixels);
    QToolTip::showText(QCursor::pos(), *tip, picView,
                       QRect(at.x() - reach, at.y() - reach, 2 * reach + 1, 2 * reach + 1));
}

void frmPlot::picView_Wheel(int angleDelta, int shift, double x, double y) {
    if (wheel_.Add(angleDelta, shift == 2 /* Ctrl */, x, y)) QueueWheel();
}

void frmPlot::QueueWheel() {
    QMetaObject::invokeMethod(this, &frmPlot::FlushWheel, Qt::QueuedConnection);
}

void frmPlot::FlushWheel() {
    if (const auto zoom = wheel_.Flush(busy_))
        Run(cmd::WheelZoom, zoom->notches, zoom->magnitude, zoom->x, zoom->y);
}

void frmPlot::cmdCancel_Click() {
    if (commands_->view().periodSearching) {
        Run(cmd::CancelPeriodSearch);
        return;
    }
    Run(cmd::CancelLoad);
}

void frmPlot::tmrFill_Timer() {
    Run(cmd::PollFill);
}

bool frmPlot::HandlePlotKey(int key) {
    bool handled = false;
    cmd::ForEachCommand([&](const auto& command) {
        using Declaration = std::remove_cvref_t<decltype(command)>;
        if constexpr (!std::is_same_v<Declaration, WindowCommand>) {
            if constexpr (std::is_invocable_v<typename Declaration::Method,
                                              typename Declaration::ControllerType&> &&
                          std::is_void_v<typename Declaration::ResultType>) {
                const std::string_view plotKey = command.face.plotKey;
                if (handled || plotKey.empty() ||
                    QKeySequence(QString::fromLatin1(plotKey.data(), qsizetype(plotKey.size()))) !=
                        QKeySequence(key))
                    return;
                handled = true;
                Run(command);
            }
        }
    });
    return handled;
}

}  // namespace sabrix

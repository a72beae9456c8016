// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's command slots and how the window shows what the commands leave. Each
// slot runs one command of MainWindowCommands and applies the view it returns.
#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMetaObject>
#include <QMimeData>
#include <QToolTip>
#include <QUrl>
#include <algorithm>
#include <utility>

#include "app/RecordsController.h"
#include "ui/app/frmPlot.h"
#include "core/ErrorText.h"
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
    Apply(commands_->Redraw(withOverlays));
}

void frmPlot::LoadStarFile(const std::string& path) {
    Apply(commands_->LoadStarFile(path));
    if (state().star.FileLoaded) picView->setFocus();
}

void frmPlot::LoadThreeColumnFile(const std::string& path, std::optional<double> timeOffset) {
    Apply(commands_->LoadThreeColumnFile(path, timeOffset));
    if (state().star.FileLoaded) picView->setFocus();
}

void frmPlot::cmdLoad_Click() {
    mnuLoad_Click();
}

void frmPlot::mnuLoad_Click() {
    Apply(commands_->mnuLoad_Click());
    if (state().star.FileLoaded) picView->setFocus();
}

void frmPlot::mnuXYZ_Click() {
    Apply(commands_->mnuXYZ_Click());
    if (state().star.FileLoaded) picView->setFocus();
}

void frmPlot::mnuCalendar_Click() {
    Apply(commands_->mnuCalendar_Click());
}

void frmPlot::mnuRecent_Click(size_t index) {
    Apply(commands_->mnuRecent_Click(index));
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
        this,
        [this, path = PathBytes(file)] {
            Apply(commands_->DropFile(path));
            if (state().star.FileLoaded) picView->setFocus();
        },
        Qt::QueuedConnection);
}

void frmPlot::mnuSave_Click() {
    Apply(commands_->mnuSave_Click());
}

void frmPlot::mnuSaveXYZ_Click() {
    Apply(commands_->mnuSaveXYZ_Click());
}

void frmPlot::mnuSaveDownload_Click() {
    Apply(commands_->mnuSaveDownload_Click());
}

void frmPlot::mnuExport_Click() {
    Apply(commands_->mnuExport_Click());
}

void frmPlot::mnuFaint_Click() {
    Apply(commands_->mnuFaint_Click());
}

void frmPlot::mnuDisc_Click() {
    Apply(commands_->mnuDisc_Click());
}

void frmPlot::lstBands_ItemCheck(int line, bool shown) {
    const std::vector<BandLine>& lines = bandPanel->lines();
    if (line < 0 || line >= static_cast<int>(lines.size())) return;
    // The lines of the two kinds of observation are the two Omit items.
    switch (const BandLine chosen = lines[static_cast<size_t>(line)]; chosen.kind) {
        case BandLine::Kind::Band:
            Apply(commands_->lstBands_ItemCheck(chosen.band, shown));
            return;
        case BandLine::Kind::FainterThan:
            Apply(commands_->mnuFaint_Click());
            return;
        case BandLine::Kind::Discrepant:
            Apply(commands_->mnuDisc_Click());
            return;
    }
}

void frmPlot::lstBands_DblClick(int line) {
    const std::vector<BandLine>& lines = bandPanel->lines();
    if (line < 0 || line >= static_cast<int>(lines.size())) return;
    const BandLine chosen = lines[static_cast<size_t>(line)];
    if (chosen.kind == BandLine::Kind::Band) Apply(commands_->lstBands_DblClick(chosen.band));
}

void frmPlot::cmdAllBands_Click() {
    Apply(commands_->cmdAllBands_Click());
}

void frmPlot::cmdReset_Click() {
    Apply(commands_->cmdReset_Click());
}

void frmPlot::cmdRefresh_Click() {
    Apply(commands_->cmdRefresh_Click());
}

void frmPlot::cmdBin_Click() {
    Apply(commands_->cmdBin_Click());
}

void frmPlot::mnuAvg_Click() {
    Apply(commands_->mnuAvg_Click());
}

void frmPlot::cmdPoly_Click() {
    Apply(commands_->cmdPoly_Click());
}

void frmPlot::mnuPoly_Click() {
    Apply(commands_->mnuPoly_Click());
}

void frmPlot::mnuPeriod_Click() {
    Apply(commands_->mnuPeriod_Click());
}

void frmPlot::mnuTimePlot_Click() {
    Apply(commands_->mnuTimePlot_Click());
}

void frmPlot::mnuMinimum_Click() {
    Apply(commands_->mnuMinimum_Click());
}

void frmPlot::mnuMaximum_Click() {
    Apply(commands_->mnuMaximum_Click());
}

void frmPlot::mnuMinimaList_Click() {
    Apply(commands_->mnuMinimaList_Click());
}

void frmPlot::cmdBack_Click() {
    Apply(commands_->cmdBack_Click());
}

void frmPlot::cmdForward_Click() {
    Apply(commands_->cmdForward_Click());
}

void frmPlot::cmdBegin_Click() {
    Apply(commands_->cmdBegin_Click());
}

void frmPlot::cmdEnder_Click() {
    Apply(commands_->cmdEnder_Click());
}

void frmPlot::cmdUp_Click() {
    Apply(commands_->cmdUp_Click());
}

void frmPlot::CmdDown_Click() {
    Apply(commands_->CmdDown_Click());
}

void frmPlot::cmdZoomBox_Click() {
    Apply(commands_->cmdZoomBox_Click());
}

void frmPlot::cmdBox_Click() {
    Apply(commands_->cmdBox_Click());
}

void frmPlot::cmdLocate_Click() {
    Apply(commands_->cmdLocate_Click());
}

void frmPlot::cmdMag_Click() {
    Apply(commands_->cmdMag_Click());
}

void frmPlot::cmdJDZoom_Click() {
    Apply(commands_->cmdJDZoom_Click());
}

void frmPlot::cmdMagZoom_Click() {
    Apply(commands_->cmdMagZoom_Click());
}

void frmPlot::mnuPrevious_Click() {
    Apply(commands_->mnuPrevious_Click());
}

void frmPlot::mnuUndo_Click() {
    Apply(commands_->mnuUndo_Click());
}

void frmPlot::mnuRedo_Click() {
    Apply(commands_->mnuRedo_Click());
}

void frmPlot::picView_MouseDown(int button, int shift, double x, double y) {
    Apply(commands_->picView_MouseDown(button, shift, x, y));
}

void frmPlot::picView_MouseMove(int button, int shift, double x, double y) {
    Apply(commands_->picView_MouseMove(button, shift, x, y));
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
    const std::optional<QString> tip = commands_->PointTip(tipX_, tipY_);
    if (!tip) return;
    // The tip goes when the pointer leaves the point's neighbourhood.
    const QPoint at = picView->mapFromGlobal(QCursor::pos());
    const int reach = static_cast<int>(RecordsController::kPointTipPixels);
    QToolTip::showText(QCursor::pos(), *tip, picView,
                       QRect(at.x() - reach, at.y() - reach, 2 * reach + 1, 2 * reach + 1));
}

void frmPlot::picView_MouseUp(int button, int shift, double x, double y) {
    Apply(commands_->picView_MouseUp(button, shift, x, y));
}

void frmPlot::picJDScale_MouseDown(int button, int shift, double x, double y) {
    Apply(commands_->picJDScale_MouseDown(button, shift, x, y));
}

void frmPlot::picJDScale_MouseMove(int button, int shift, double x, double y) {
    Apply(commands_->picJDScale_MouseMove(button, shift, x, y));
}

void frmPlot::picMagScale_MouseDown(int button, int shift, double x, double y) {
    Apply(commands_->picMagScale_MouseDown(button, shift, x, y));
}

void frmPlot::picMagScale_MouseMove(int button, int shift, double x, double y) {
    Apply(commands_->picMagScale_MouseMove(button, shift, x, y));
}

void frmPlot::picView_Wheel(int angleDelta, int shift, double x, double y) {
    if (wheel_.Add(angleDelta, shift == 2 /* Ctrl */, x, y)) QueueWheel();
}

void frmPlot::QueueWheel() {
    QMetaObject::invokeMethod(this, &frmPlot::FlushWheel, Qt::QueuedConnection);
}

void frmPlot::FlushWheel() {
    if (const auto zoom = wheel_.Flush(busy_))
        Apply(commands_->WheelZoom(zoom->notches, zoom->magnitude, zoom->x, zoom->y));
}

void frmPlot::mnuDocs_Click() {
    Apply(commands_->mnuDocs_Click());
}

void frmPlot::mnuViewer_Click() {
    Apply(commands_->mnuViewer_Click());
}

void frmPlot::mnuManage_Click() {
    Apply(commands_->mnuManage_Click());
}

void frmPlot::mnuWebSite_Click() {
    Apply(commands_->mnuWebSite_Click());
}

void frmPlot::cmdCancel_Click() {
    if (commands_->view().periodSearching) {
        Apply(commands_->CancelPeriodSearch());
        return;
    }
    Apply(commands_->CancelLoad());
}

void frmPlot::tmrFill_Timer() {
    Apply(commands_->PollFill());
}

bool frmPlot::HandlePlotKey(int key) {
    switch (key) {
        case Qt::Key_Left:
            cmdBack_Click();
            return true;
        case Qt::Key_Right:
            cmdForward_Click();
            return true;
        case Qt::Key_Up:
            cmdUp_Click();
            return true;
        case Qt::Key_Down:
            CmdDown_Click();
            return true;
        case Qt::Key_Home:
            cmdBegin_Click();
            return true;
        case Qt::Key_End:
            cmdEnder_Click();
            return true;
        case Qt::Key_F5:
            cmdRefresh_Click();
            return true;
        case Qt::Key_Backspace:
            // Also the shortcut of "Previous View"; here for when the window is not active.
            mnuPrevious_Click();
            return true;
        default:
            return false;
    }
}

}  // namespace sabrix

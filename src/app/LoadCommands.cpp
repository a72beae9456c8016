// SPDX-License-Identifier: GPL-3.0-or-later
// LoadController: the load of a star file, the fill of the table behind the first plot, and
// cancelling a load.
#include <algorithm>
#include <exception>

#include "app/LoadController.h"
#include "core/ErrorText.h"
#include "data/StarFileImport.h"
#include "data/TextFields.h"
#include "plot/PlotWindow.h"

namespace sabrix {

void LoadController::mnuLoad_Click() {
    if (const std::optional<std::string> path = ChooseFileToLoad())
        LoadFileOfKind(ObservationFileKind::StarFile, *path);
}

std::optional<std::string> LoadController::ChooseFileToLoad() {
    FileDialogOptions options;
    options.filter = QStringLiteral("All Files (*.*)|*.*|");
    options.initialFolder = DisplayText(ctx_.state.settings.FilePath);
    const std::optional<QString> path = ctx_.prompts.openFile(options);
    if (!path) return std::nullopt;
    return PathBytes(*path);
}

void LoadController::LoadStarFile(const std::string& path, RowFill fill) {
    if (ctx_.state.star.FileLoaded && !UnloadStar()) return;
    ctx_.state.settings.FilePath = path;
    // A fill that ends while the load's own messages are up is taken in after the load.
    inLoadCommand_ = true;
    const bool loaded = ImportStarFile(fill);
    inLoadCommand_ = false;
    if (ctx_.view.endRun) return;
    ShowLoadedFile(loaded, QStringLiteral("File: ") + DisplayText(path));
    if (loaded) RememberLoadedFile(ObservationFileKind::StarFile, path);
    // Cancel asked for while the rejected lines were being reported.
    if (cancelRequested_ && ctx_.rows == TableRows::Filling) CancelLoad();
}

void LoadController::ShowLoadedFile(bool loaded, const QString& panelOne) {
    ctx_.ShowLoadProgress();
    if (!loaded) {
        // Nothing is loaded: the status bar names no file and no magnification.
        ctx_.view.look = WindowView::Look::Start;
        for (QString& panel : ctx_.view.panels) panel.clear();
        return;
    }
    ctx_.view.look = WindowView::Look::Plot;
    ctx_.view.panels[0] = panelOne;
    ctx_.view.panels[1] = PlainMagnificationText(ctx_.state);
}

bool LoadController::ImportStarFile(RowFill fill) {
    ctx_.view.look = WindowView::Look::Loading;
    rejectedLines_ = 0;
    cancelRequested_ = false;
    ctx_.loadCaption.clear();
    ctx_.rows = TableRows::Reading;
    ctx_.view.cancelShown = true;
    StarFileScan scan;
    bool failed = false;
    QString failure;
    try {
        CommandContext::Job job(ctx_);
        ImportCallbacks callbacks;
        callbacks.started = [this](int32_t recordCount) {
            ctx_.state.star.RecordCount = recordCount;
            ctx_.view.progressMaximum = std::max(recordCount, 1);
            ctx_.view.progressValue = 0;
            ctx_.view.progressBarShown = true;
            ctx_.host.present(ctx_.view);
        };
        callbacks.firstRow = [this](const std::string& caption) {
            ctx_.loadCaption = DisplayText(caption);
            ctx_.view.progressCaption = ctx_.loadCaption;
            ctx_.view.captionShown = true;
            ctx_.host.present(ctx_.view);
        };
        callbacks.progress = [this](int64_t n) { ctx_.view.progressValue = static_cast<int>(n); };
        callbacks.yield = [&job] { job.pacer().tick(); };
        callbacks.cancelled = [this] { return cancelRequested_; };
        scan =
            ScanStarFile(ctx_.state.settings.FilePath, ctx_.state.star.FilesFolder + "/Errors.txt",
                         ctx_.state.settings, callbacks);
    } catch (const std::exception& e) {
        failed = true;
        failure = DisplayText(e.what());
    }
    const ImportResult& result = scan.result;
    ctx_.state.star.RecordCount = result.recordCount;
    rejectedLines_ = result.rejected;
    if (failed || result.outcome != ImportResult::Outcome::Loaded) {
        ctx_.table->CancelFill();
        ctx_.rows = TableRows::Complete;
        ctx_.view.cancelShown = false;
    }
    if (failed) {
        ctx_.Say(LoadFailureText(failure), QStringLiteral("Error"), Buttons::OK, Icon::Critical);
        UnloadStar();
        return false;
    }
    const std::optional<ImportMessage> message = ImportMessageFor(result);
    const auto tell = [&] {
        if (message) ctx_.Say(message->text, message->title, Buttons::OK, message->icon);
    };
    switch (result.outcome) {
        case ImportResult::Outcome::Loaded:
            // The rows are written on the table's thread while this one draws the plot. The
            // fill starts only now: started with the read, it shared the cores with it and
            // delayed the first plot more than it shortened the whole load.
            if (fill == RowFill::Behind) {
                if (!StartRowFill(std::move(scan.rows), std::move(scan.columns))) return false;
            } else {
                ctx_.table->AdoptPlotColumns(std::move(scan.columns));
            }
            ctx_.rows = fill == RowFill::Behind ? TableRows::Filling : TableRows::PlotOnly;
            ctx_.state.star.StarName = result.starName;
            ctx_.state.star.BackupMade = false;
            downloadSource_ = std::move(scan.source);
            ctx_.view.progressValue = 0;
            ctx_.ShowLoadProgress();
            if (!ctx_.FitPlotWindow()) {
                // Nothing can be shown: the rows go again, so the next load starts empty.
                UnloadStar();
                return false;
            }
            ctx_.state.star.FileLoaded = true;
            ctx_.Redraw(false);
            tell();
            return true;
        case ImportResult::Outcome::NoDataLines:
            tell();
            return false;
        case ImportResult::Outcome::Cancelled:
            // Nothing of the file is kept, and nothing is said: the user asked for it.
            UnloadStar();
            return false;
        case ImportResult::Outcome::CannotOpen:
        case ImportResult::Outcome::InputPastEnd:
        case ImportResult::Outcome::ConversionFailed:
            ctx_.view.look = WindowView::Look::Start;
            tell();
            // The import stored nothing; unloading gives the empty window and a fresh table.
            UnloadStar();
            return false;
    }
    return false;
}

bool LoadController::StartRowFill(ObsTable::RowSource rows, PlotColumns columns) {
    try {
        ctx_.table->StartFill(std::move(rows), std::move(columns));
        return true;
    } catch (const std::exception& e) {
        ctx_.rows = TableRows::Complete;
        ctx_.view.cancelShown = false;
        ctx_.Say(LoadFailureText(DisplayText(e.what())), QStringLiteral("Error"), Buttons::OK,
                 Icon::Critical);
        UnloadStar();
        return false;
    }
}

void LoadController::PollFill() {
    if (ctx_.rows != TableRows::Filling || inLoadCommand_) return;
    if (cancelRequested_)
        CancelLoad();
    else
        TakeFillStatus(ctx_.table->PollFill());
}

void LoadController::FinishFill() {
    if (ctx_.rows != TableRows::Filling || inLoadCommand_) return;
    TakeFillStatus(ctx_.table->WaitForFill());
}

void LoadController::TakeFillStatus(const ObsTable::FillStatus& status) {
    using State = ObsTable::FillStatus::State;
    if (status.state == State::Running) {
        ctx_.view.progressValue = static_cast<int>(status.rowsWritten);
        return;
    }
    ctx_.rows = TableRows::Complete;
    ctx_.ShowLoadProgress();
    if (status.state == State::Done) return;
    // The rows could not all be written: as when a line abandons the import, nothing of the
    // file stays and the window goes back to its empty look.
    ImportResult failure;
    failure.outcome = status.failedJD.empty() ? ImportResult::Outcome::CannotOpen
                                              : ImportResult::Outcome::ConversionFailed;
    failure.lastJD = status.failedJD;
    failure.description = status.description;
    const std::optional<ImportMessage> message = ImportMessageFor(failure);
    ctx_.view.look = WindowView::Look::Start;
    if (message) ctx_.Say(message->text, message->title, Buttons::OK, message->icon);
    if (UnloadStar()) ShowLoadedFile(false, QString());
}

void LoadController::CancelLoad() {
    if (ctx_.rows != TableRows::Reading && ctx_.rows != TableRows::Filling) return;
    cancelRequested_ = true;
    // The read stops at its next line and the load command empties the window; a fill is
    // stopped here, unless a command is on its way (then PollFill stops it afterwards).
    if (ctx_.rows == TableRows::Reading || inLoadCommand_ || ctx_.Busy()) return;
    ctx_.table->CancelFill();
    if (UnloadStar()) ShowLoadedFile(false, QString());
}

}  // namespace sabrix

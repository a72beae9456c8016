// The commands of MainWindowCommands that load a file: "Load a File" and "Load 3-Column File",
// the fill of the table behind the first plot, and cancelling a load.
//
// A star file is read twice. The first read (on this thread, a job) takes the plotted columns
// of every data line, writes Errors.txt and finds every line that abandons the import; the
// window is then fitted and the light curve drawn from the columns. The second read runs on
// the table's own fill thread, started as the plot is drawn, writing the rows; the window
// polls it (PollFill) and, once it has ended, the commands that need the rows work again.
#include <algorithm>
#include <exception>

#include "app/MainWindowCommands.h"
#include "core/ErrorText.h"
#include "data/StarFileImport.h"
#include "data/TextFields.h"
#include "data/XYZLoadCommand.h"
#include "plot/PlotWindow.h"

namespace sabrix {

namespace {
// Thrown out of a three-column load's line callback when the user cancels: no std::exception,
// so the load's own failure message does not take it for a fault.
struct LoadCancelled {};
}  // namespace

bool MainWindowCommands::TableReady() const {
    return table_ && loadPhase_ == LoadPhase::None && !rowsAbsent_;
}

const WindowView& MainWindowCommands::mnuLoad_Click() {
    if (Busy() || !TableReady()) return view_;
    if (!AskToUnload(ObservationFileKind::StarFile)) return view_;
    if (state_.star.FileLoaded && !UnloadStar()) return view_;
    host_.present(view_);
    host_.yield();
    ClearCanvases();
    FileDialogOptions options;
    options.filter = QStringLiteral("All Files (*.*)|*.*|");
    options.initialFolder = DisplayText(state_.settings.FilePath);
    const std::optional<QString> path = prompts_.openFile(options);
    if (!path) return view_;
    return LoadStarFile(PathBytes(*path));
}

const WindowView& MainWindowCommands::LoadStarFile(const std::string& path, RowFill fill) {
    if (Busy() || !TableReady()) return view_;
    if (state_.star.FileLoaded && !UnloadStar()) return view_;
    state_.settings.FilePath = path;
    // A fill that ends while the load's own messages are up is taken in after the load.
    inLoadCommand_ = true;
    const bool loaded = ImportStarFile(fill);
    inLoadCommand_ = false;
    if (view_.endRun) return view_;
    ShowLoadedFile(loaded, QStringLiteral("File: ") + DisplayText(path));
    if (loaded) RememberLoadedFile(ObservationFileKind::StarFile, path);
    // Cancel asked for while the rejected lines were being reported.
    if (cancelRequested_ && loadPhase_ == LoadPhase::Filling) return CancelLoad();
    return view_;
}

void MainWindowCommands::ShowLoadedFile(bool loaded, const QString& panelOne) {
    ShowFillProgress();
    // Whatever failed on the way has been said; the next command starts afresh.
    state_.overlay.StateOK = true;
    if (!loaded) {
        // Nothing is loaded: the status bar names no file.
        view_.look = WindowView::Look::Empty;
        view_.panels[0].clear();
    } else {
        view_.look = WindowView::Look::Plot;
        view_.panels[0] = panelOne;
    }
    view_.panels[1] = PlainMagnificationText(state_);
}

void MainWindowCommands::ShowFillProgress() {
    const bool filling = loadPhase_ == LoadPhase::Filling;
    view_.filling = filling;
    view_.cancelShown = filling;
    view_.progressBarShown = filling;
    view_.captionShown = filling;
    if (filling) view_.progressCaption = loadCaption_;
}

bool MainWindowCommands::ImportStarFile(RowFill fill) {
    view_.look = WindowView::Look::Loading;
    rejectedLines_ = 0;
    cancelRequested_ = false;
    loadCaption_.clear();
    loadPhase_ = LoadPhase::Reading;
    view_.cancelShown = true;
    StarFileScan scan;
    bool failed = false;
    QString failure;
    try {
        Job job(*this);
        ImportCallbacks callbacks;
        callbacks.started = [this](int32_t recordCount) {
            state_.star.RecordCount = recordCount;
            view_.progressMaximum = std::max(recordCount, 1);
            view_.progressValue = 0;
            view_.progressBarShown = true;
            host_.present(view_);
        };
        callbacks.firstRow = [this](const std::string& caption) {
            loadCaption_ = DisplayText(caption);
            view_.progressCaption = loadCaption_;
            view_.captionShown = true;
            host_.present(view_);
        };
        callbacks.progress = [this](int64_t n) { view_.progressValue = static_cast<int>(n); };
        callbacks.yield = [&job] { job.pacer().tick(); };
        callbacks.cancelled = [this] { return cancelRequested_; };
        scan = ScanStarFile(state_.settings.FilePath, state_.star.FilesFolder + "/Errors.txt",
                            state_.settings, callbacks);
    } catch (const std::exception& e) {
        failed = true;
        failure = DisplayText(e.what());
    }
    const ImportResult& result = scan.result;
    state_.star.RecordCount = result.recordCount;
    rejectedLines_ = result.rejected;
    if (failed || result.outcome != ImportResult::Outcome::Loaded) {
        table_->CancelFill();
        loadPhase_ = LoadPhase::None;
        view_.cancelShown = false;
    }
    if (failed) {
        Say(LoadFailureText(failure), QStringLiteral("Error"), Buttons::OK, Icon::Critical);
        UnloadStar();
        return false;
    }
    const std::optional<ImportMessage> message = ImportMessageFor(result);
    const auto tell = [&] {
        if (message) Say(message->text, message->title, Buttons::OK, message->icon);
    };
    switch (result.outcome) {
        case ImportResult::Outcome::Loaded:
            // The rows are written on the table's thread while this one draws the plot. The
            // fill starts only now: started with the read, it shared the cores with it and
            // delayed the first plot more than it shortened the whole load.
            if (fill == RowFill::Behind) {
                if (!StartRowFill(std::move(scan.rows), std::move(scan.columns))) return false;
            } else {
                table_->AdoptPlotColumns(std::move(scan.columns));
            }
            rowsAbsent_ = fill == RowFill::None;
            loadPhase_ = fill == RowFill::Behind ? LoadPhase::Filling : LoadPhase::None;
            state_.star.StarName = result.starName;
            state_.star.BackupMade = false;
            view_.progressValue = 0;
            ShowFillProgress();
            if (!FitPlotWindow()) {
                // Nothing can be shown: the rows go again, so the next load starts empty.
                UnloadStar();
                return false;
            }
            state_.star.FileLoaded = true;
            Redraw(false);
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
            view_.look = WindowView::Look::Empty;
            tell();
            // The import stored nothing; unloading gives the empty window and a fresh table.
            UnloadStar();
            return false;
    }
    return false;
}

bool MainWindowCommands::StartRowFill(ObsTable::RowSource rows, PlotColumns columns) {
    try {
        table_->StartFill(std::move(rows), std::move(columns));
        return true;
    } catch (const std::exception& e) {
        loadPhase_ = LoadPhase::None;
        view_.cancelShown = false;
        Say(LoadFailureText(DisplayText(e.what())), QStringLiteral("Error"), Buttons::OK,
            Icon::Critical);
        UnloadStar();
        return false;
    }
}

const WindowView& MainWindowCommands::PollFill() {
    if (loadPhase_ != LoadPhase::Filling || inLoadCommand_ || Busy()) return view_;
    if (cancelRequested_) return CancelLoad();
    return TakeFillStatus(table_->PollFill());
}

const WindowView& MainWindowCommands::FinishFill() {
    if (loadPhase_ != LoadPhase::Filling || inLoadCommand_ || Busy()) return view_;
    return TakeFillStatus(table_->WaitForFill());
}

const WindowView& MainWindowCommands::TakeFillStatus(const ObsTable::FillStatus& status) {
    using State = ObsTable::FillStatus::State;
    if (status.state == State::Running) {
        view_.progressValue = static_cast<int>(status.rowsWritten);
        return view_;
    }
    loadPhase_ = LoadPhase::None;
    ShowFillProgress();
    if (status.state == State::Done) return view_;
    // The rows could not all be written: as when a line abandons the import, nothing of the
    // file stays and the window goes back to its empty look.
    ImportResult failure;
    failure.outcome = status.failedJD.empty() ? ImportResult::Outcome::CannotOpen
                                              : ImportResult::Outcome::ConversionFailed;
    failure.lastJD = status.failedJD;
    failure.description = status.description;
    const std::optional<ImportMessage> message = ImportMessageFor(failure);
    view_.look = WindowView::Look::Empty;
    if (message) Say(message->text, message->title, Buttons::OK, message->icon);
    if (UnloadStar()) ShowLoadedFile(false, QString());
    return view_;
}

const WindowView& MainWindowCommands::CancelLoad() {
    if (loadPhase_ == LoadPhase::None) return view_;
    cancelRequested_ = true;
    // The read stops at its next line and the load command empties the window; a fill is
    // stopped here, unless a command is on its way (then PollFill stops it afterwards).
    if (loadPhase_ == LoadPhase::Reading || inLoadCommand_ || Busy()) return view_;
    table_->CancelFill();
    if (UnloadStar()) ShowLoadedFile(false, QString());
    return view_;
}

const WindowView& MainWindowCommands::mnuXYZ_Click() {
    if (Busy() || !TableReady()) return view_;
    if (!AskToUnload(ObservationFileKind::ThreeColumnFile)) return view_;
    if (state_.star.FileLoaded && !UnloadStar()) return view_;
    host_.present(view_);
    host_.yield();
    ClearCanvases();
    const std::optional<QString> path = prompts_.openFile(XYZOpenDialogOptions(state_));
    if (!path) return view_;
    return LoadThreeColumnFile(PathBytes(*path));
}

const WindowView& MainWindowCommands::LoadThreeColumnFile(const std::string& path) {
    if (Busy() || !TableReady()) return view_;
    if (state_.star.FileLoaded && !UnloadStar()) return view_;
    if (!XYZBeginLoad(state_, path)) {
        Say(LoadFailureText(QStringLiteral("The file name ") + DisplayText(path) +
                            QStringLiteral(" has no \".\".")),
            QStringLiteral("Error"), Buttons::OK, Icon::Critical);
        return view_;
    }
    view_.panels[0] = XYZFileStatusText(state_);
    view_.panels[1] = PlainMagnificationText(state_);
    view_.look = WindowView::Look::Loading;
    XYZLoadOutcome outcome = XYZLoadOutcome::Failed;
    bool cancelled = false;
    cancelRequested_ = false;
    loadPhase_ = LoadPhase::Reading;
    view_.cancelShown = true;
    try {
        Job job(*this);
        XYZLoadCallbacks callbacks;
        callbacks.counted = [this](int32_t lineCount) {
            view_.progressCaption = XYZLoadingCaption(lineCount);
            view_.captionShown = true;
            view_.progressMaximum = lineCount + 10;
            view_.progressValue = 0;
            view_.progressBarShown = true;
            host_.present(view_);
        };
        callbacks.beforeLine = [this, &job](int64_t rowsStored) {
            view_.progressValue = static_cast<int>(rowsStored);
            job.pacer().tick();
            if (cancelRequested_) throw LoadCancelled{};
        };
        // The messages of a failed load come over the window as it was during the load.
        outcome = XYZLoadFile(state_, *table_, prompts_, callbacks);
    } catch (const LoadCancelled&) {
        // The load's transaction has been rolled back on the way out.
        cancelled = true;
    }
    loadPhase_ = LoadPhase::None;
    view_.cancelShown = false;
    view_.progressBarShown = false;
    view_.captionShown = false;
    if (cancelled) {
        if (UnloadStar()) ShowLoadedFile(false, QString());
        return view_;
    }
    const bool loaded = outcome == XYZLoadOutcome::Loaded && FitPlotWindow();
    if (loaded)
        Redraw(false);
    else if (!UnloadStar())
        return view_;
    ShowLoadedFile(loaded, XYZFileStatusText(state_));
    if (loaded) RememberLoadedFile(ObservationFileKind::ThreeColumnFile, path);
    return view_;
}

bool MainWindowCommands::FitPlotWindow() {
    try {
        if (FindExtremes(state_.view, *table_)) return true;
        view_.look = WindowView::Look::Empty;
        Say(NoObservationsText(state_.star.StarName), QStringLiteral("No Observations"),
            Buttons::OK, Icon::None);
        state_.overlay.StateOK = false;
    } catch (const std::exception& e) {
        SayModuleError(e, "FindExtremes");
    }
    return false;
}

}  // namespace sabrix

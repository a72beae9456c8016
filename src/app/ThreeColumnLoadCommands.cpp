// LoadController: "Load 3-Column File", which stores every line of the file in the table in one
// pass (one transaction) and then draws the plot.
#include <exception>

#include "app/LoadController.h"
#include "core/ErrorText.h"
#include "data/ThreeColumnFile.h"
#include "plot/PlotWindow.h"

namespace sabrix {

namespace {

// Status bar panel 1 while and after the file loads: "File: " + path.
QString StatusText(const LoadedStar& star) {
    return QStringLiteral("File: ") + DisplayText(star.ThreeColumnFilePath);
}

}  // namespace

void LoadController::mnuXYZ_Click() {
    if (const std::optional<std::string> path = ChooseFileToLoad())
        LoadFileOfKind(ObservationFileKind::ThreeColumnFile, *path);
}

void LoadController::LoadThreeColumnFile(const std::string& path) {
    if (ctx_.state.star.FileLoaded && !UnloadStar()) return;
    // The star is named after the file; marking the data as three-column before the name is
    // known would leave the flag set with nothing loaded, and the saves would then answer with
    // the wrong message.
    const std::optional<std::string> name = ThreeColumnStarName(path);
    if (!name) {
        ctx_.Say(LoadFailureText(QStringLiteral("The file name ") + DisplayText(path) +
                                 QStringLiteral(" has no \".\".")),
                 QStringLiteral("Error"), Buttons::OK, Icon::Critical);
        return;
    }
    LoadedStar& star = ctx_.state.star;
    star.ThreeColumnFilePath = path;
    star.ThreeColumnFormat = true;
    star.StarName = *name;
    star.BackupMade = false;
    ctx_.view.panels[0] = StatusText(star);
    ctx_.view.panels[1] = PlainMagnificationText(ctx_.state);
    ctx_.view.look = WindowView::Look::Loading;
    cancelRequested_ = false;
    ctx_.rows = TableRows::Reading;
    ctx_.view.cancelShown = true;
    std::optional<int64_t> stored;
    bool failed = false;
    {
        CommandContext::Job job(ctx_);
        XYZLoadCallbacks callbacks;
        callbacks.counted = [this](int32_t lineCount) {
            ctx_.state.star.RecordCount = lineCount;
            ctx_.view.progressCaption = QStringLiteral("Loading ") + QString::number(lineCount) +
                                        QStringLiteral(" Records.");
            ctx_.view.captionShown = true;
            ctx_.view.progressMaximum = lineCount + 10;
            ctx_.view.progressValue = 0;
            ctx_.view.progressBarShown = true;
            ctx_.Present();
        };
        callbacks.beforeLine = [this, &job](int64_t rowsStored) {
            ctx_.view.progressValue = static_cast<int>(rowsStored);
            job.pacer().tick();
        };
        callbacks.cancelled = [this] { return cancelRequested_; };
        // The messages of a failed load come over the window as it was during the load; the
        // table is as empty as before it.
        try {
            stored = XYZLoadRows(path, *ctx_.table, star.StarName,
                                 ctx_.state.overlay.DefaultPointColor, callbacks);
        } catch (const ThreeColumnFileNotFoundError& e) {
            failed = true;
            ctx_.Say(DisplayText(e.what()), QStringLiteral("File Error"), Buttons::OK,
                     Icon::Exclamation);
        } catch (const std::exception& e) {
            failed = true;
            ctx_.Say(LoadFailureText(DisplayText(e.what())), QStringLiteral("Error"), Buttons::OK,
                     Icon::Critical);
        }
    }
    ctx_.rows = TableRows::Complete;
    ctx_.view.cancelShown = false;
    ctx_.view.progressBarShown = false;
    ctx_.view.captionShown = false;
    if (!failed && !stored) {
        // Cancelled: nothing was stored, and nothing is said.
        if (UnloadStar()) ShowLoadedFile(false, QString());
        return;
    }
    if (!failed) star.FileLoaded = true;
    const bool loaded = !failed && ctx_.FitPlotWindow();
    if (loaded)
        ctx_.Redraw(false);
    else if (!UnloadStar())
        return;
    ShowLoadedFile(loaded, StatusText(ctx_.state.star));
    if (loaded) RememberLoadedFile(ObservationFileKind::ThreeColumnFile, path);
}

}  // namespace sabrix

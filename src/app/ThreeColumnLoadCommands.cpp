// SPDX-License-Identifier: GPL-3.0-or-later
// LoadController: "Load 3-Column File", which stores every line of the file in the table in one
// pass (one transaction) and then draws the plot.
#include <cmath>
#include <exception>

#include "app/LoadController.h"
#include "core/ErrorText.h"
#include "core/NumberText.h"
#include "data/ThreeColumnFile.h"
#include "plot/PlotWindow.h"

namespace sabrix {

namespace {

// Times of a three-column file below this are reduced Julian Dates: no date of a telescope's
// observation is this near the start of the Julian period.
constexpr double kReducedTimesBelow = 100000;
constexpr double kReducedByMoreBelow = 30000;
// An offset beyond this puts every time far past any calendar.
constexpr double kLargestTimeOffset = 1e8;

// The offset typed: a number of days (blanks around it allowed). Nothing for anything else.
std::optional<double> ReadTimeOffset(const QString& typed) {
    double days = 0;
    if (!ParseNumber(typed.trimmed().toStdString(), days) || !std::isfinite(days) ||
        std::abs(days) > kLargestTimeOffset)
        return std::nullopt;
    return days;
}

// Status bar panel 1 while and after the file loads: "File: " + path.
QString StatusText(const LoadedStar& star) {
    return QStringLiteral("File: ") + DisplayText(star.ThreeColumnFilePath);
}

}  // namespace

void LoadController::mnuXYZ_Click() {
    if (const std::optional<std::string> path = ChooseFileToLoad())
        LoadFileOfKind(ObservationFileKind::ThreeColumnFile, *path);
}

void LoadController::LoadThreeColumnFile(const std::string& path,
                                         std::optional<double> timeOffset) {
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
    if (loaded) {
        star.TimeOffset = timeOffset.value_or(0);
        ctx_.Redraw(false);
    } else if (!UnloadStar()) {
        return;
    }
    ShowLoadedFile(loaded, StatusText(ctx_.state.star));
    if (!loaded) return;
    RememberLoadedFile(ObservationFileKind::ThreeColumnFile, path);
    if (!timeOffset) OfferTimeOffset();
}

void LoadController::OfferTimeOffset() {
    const PlotWindowState& view = ctx_.state.view;
    if (!(view.JDLast < kReducedTimesBelow)) return;
    const QString title = QStringLiteral("Reduced Times");
    const QString text =
        QStringLiteral("Every time in ") + DisplayText(ctx_.state.star.ThreeColumnFilePath) +
        QStringLiteral(
            " is below 100000:\r\nreduced Julian Dates, such as HJD - 2450000?\r\n\r\n"
            "Days to add to the times on the JD scale, in the pointer readout\r\nand in the "
            "calendar dates (the file keeps its own times):");
    // Times of this century's observations less 2450000 stay below 30000; those of the last
    // decades less 2400000 (or the Modified JD) lie above it.
    QString typed =
        view.JDFirst >= kReducedByMoreBelow ? QStringLiteral("2400000") : QStringLiteral("2450000");
    for (;;) {
        // The plot shows behind the question.
        ctx_.Present();
        const std::optional<QString> answer = ctx_.prompts.inputText(text, title, typed);
        if (!answer || answer->trimmed().isEmpty()) return;
        typed = *answer;
        const std::optional<double> days = ReadTimeOffset(typed);
        if (days) {
            if (*days == 0) return;
            ctx_.state.star.TimeOffset = *days;
            ctx_.Redraw(false);
            return;
        }
        ctx_.Say(QStringLiteral("Type the offset as a number of days, for example 2450000."), title,
                 Buttons::OK, Icon::Exclamation);
    }
}

}  // namespace sabrix

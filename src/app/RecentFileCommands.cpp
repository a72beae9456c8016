// SPDX-License-Identifier: GPL-3.0-or-later
// LoadController: the commands around Sabrix.prefs and the loads that skip the open dialog:
// "Calendar Dates", the recent-file items of the Files menu and a file dropped on the main
// window. The loads run the two load flows of LoadCommands.cpp after their question.
#include <filesystem>
#include <vector>

#include "app/LoadController.h"
#include "core/ErrorText.h"
#include "core/FileSystem.h"
#include "core/SabrixError.h"
#include "core/TrimBlanks.h"
#include "data/FileKindGuess.h"
#include "plot/AxisScales.h"

namespace sabrix {

namespace {

// The path as the list keeps it: absolute, so that a file named on the command line loads
// again from wherever the program starts next.
std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

std::vector<QString> RecentFileCaptions(const Preferences& preferences) {
    std::vector<QString> captions;
    for (const RecentFile& file : preferences.RecentFiles) {
        QString caption = DisplayText(file.path);
        if (file.kind == ObservationFileKind::ThreeColumnFile)
            caption += QStringLiteral(" (3-column file)");
        captions.push_back(caption);
    }
    return captions;
}

}  // namespace

void LoadController::setPreferencesFolder(const std::string& programDir) {
    preferencesFolder_ = programDir;
    preferences_ = ReadPreferences(programDir);
    ctx_.state.overlay.CalendarDates = preferences_.CalendarDates;
    ctx_.view.calendarChecked = preferences_.CalendarDates;
    ctx_.view.recentFiles = RecentFileCaptions(preferences_);
}

void LoadController::KeepPreferences() {
    ctx_.view.calendarChecked = preferences_.CalendarDates;
    ctx_.view.recentFiles = RecentFileCaptions(preferences_);
    if (preferencesFolder_.empty()) return;
    try {
        WritePreferences(preferencesFolder_, preferences_);
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "WritePreferences");
    }
}

void LoadController::RememberLoadedFile(ObservationFileKind kind, const std::string& path) {
    if (preferencesFolder_.empty()) return;
    RememberRecentFile(preferences_, RecentFile{kind, AbsolutePath(path)});
    KeepPreferences();
}

void LoadController::AdoptSavedFile(const std::string& path) {
    ctx_.state.settings.FilePath = path;
    ctx_.state.star.BackupMade = false;
    ctx_.view.panels[0] = QStringLiteral("File: ") + DisplayText(path);
    RememberLoadedFile(ObservationFileKind::StarFile, path);
}

void LoadController::mnuCalendar_Click() {
    ctx_.state.overlay.CalendarDates = !ctx_.state.overlay.CalendarDates;
    preferences_.CalendarDates = ctx_.state.overlay.CalendarDates;
    KeepPreferences();
    // Panel 3 shows the old form until the pointer moves again.
    ctx_.view.panels[2].clear();
    if (!ctx_.PlotShown()) return;
    // Only the labels change: the strip is drawn again in the frame Scaler set for it.
    try {
        WriteJDScale(
            ctx_.canvases.picJDScale, ctx_.state.view,
            ctx_.state.overlay.CalendarDates ? JDLabels::CalendarDates : JDLabels::JulianDates,
            ctx_.state.star.TimeOffset);
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "WriteJDScale");
    }
}

bool LoadController::MayUnload(ObservationFileKind kind) {
    if (!ctx_.state.star.FileLoaded) return true;
    return AskToUnload(kind) && QueryUnload();
}

bool LoadController::AskToUnload(ObservationFileKind kind) {
    const QString name = DisplayText(TrimBlanks(ctx_.state.star.StarName));
    if (kind == ObservationFileKind::ThreeColumnFile)
        return ctx_.Say(QStringLiteral("Unload current file ") + name + QStringLiteral(" ?"),
                        QStringLiteral("Unload Current File?"), Buttons::OKCancel,
                        Icon::Question) == Answer::OK;
    return ctx_.Say(QStringLiteral("Unload current star ") + name.toUpper() + QStringLiteral(" ?"),
                    QStringLiteral("Unload Current Star?"), Buttons::OKCancel,
                    Icon::Question) == Answer::OK;
}

void LoadController::LoadFileOfKind(ObservationFileKind kind, const std::string& path,
                                    std::optional<double> timeOffset) {
    if (!MayUnload(kind)) return;
    if (kind == ObservationFileKind::StarFile)
        LoadStarFile(path, RowFill::Behind);
    else
        LoadThreeColumnFile(path, timeOffset);
}

void LoadController::mnuRecent_Click(size_t index) {
    if (index >= preferences_.RecentFiles.size()) return;
    const RecentFile file = preferences_.RecentFiles[index];
    if (!FileExists(file.path)) {
        // A folder or a pipe under the old name is there all the same; it cannot be loaded.
        std::error_code error;
        const bool there = std::filesystem::exists(file.path, error);
        ctx_.Say(QStringLiteral("The file ") + DisplayText(file.path) +
                     (there ? QStringLiteral(" is no longer a regular file.")
                            : QStringLiteral(" is no longer there.")) +
                     QStringLiteral(" It has been taken off the list of recent files."),
                 there ? QStringLiteral("Not a File") : QStringLiteral("File Not Found"),
                 Buttons::OK, Icon::Exclamation);
        ForgetRecentFile(preferences_, file.path);
        KeepPreferences();
        return;
    }
    LoadFileOfKind(file.kind, file.path);
}

void LoadController::DropFile(const std::string& path, std::optional<ObservationFileKind> kind,
                              std::optional<double> timeOffset) {
    if (!FileExists(path)) {
        ctx_.Say(DisplayText(path) + QStringLiteral(" is not a file that can be loaded."),
                 QStringLiteral("File Not Found"), Buttons::OK, Icon::Exclamation);
        return;
    }
    LoadFileOfKind(kind.value_or(GuessObservationFileKind(path)), path, timeOffset);
}

}  // namespace sabrix

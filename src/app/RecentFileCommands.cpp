// The commands around Sabrix.prefs and loads that skip the open dialog: "Calendar Dates", the
// recent-file items of the Files menu and a file dropped on the main window. The loads run
// the two load flows of MainWindowCommands.cpp after their question.
#include <filesystem>
#include <vector>

#include "app/MainWindowCommands.h"
#include "core/ErrorText.h"
#include "core/FileSystem.h"
#include "core/SabrixError.h"
#include "core/TrimBlanks.h"
#include "data/FileKindGuess.h"
#include "data/XYZLoadCommand.h"
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

void MainWindowCommands::setPreferencesFolder(const std::string& programDir) {
    preferencesFolder_ = programDir;
    preferences_ = ReadPreferences(programDir);
    state_.overlay.CalendarDates = preferences_.CalendarDates;
    view_.calendarChecked = preferences_.CalendarDates;
    view_.recentFiles = RecentFileCaptions(preferences_);
}

void MainWindowCommands::KeepPreferences() {
    view_.calendarChecked = preferences_.CalendarDates;
    view_.recentFiles = RecentFileCaptions(preferences_);
    if (preferencesFolder_.empty()) return;
    try {
        WritePreferences(preferencesFolder_, preferences_);
    } catch (const std::exception& e) {
        SayModuleError(e, "WritePreferences");
    }
}

void MainWindowCommands::RememberLoadedFile(ObservationFileKind kind, const std::string& path) {
    if (preferencesFolder_.empty()) return;
    RememberRecentFile(preferences_, RecentFile{kind, AbsolutePath(path)});
    KeepPreferences();
}

const WindowView& MainWindowCommands::mnuCalendar_Click() {
    if (Busy()) return view_;
    state_.overlay.CalendarDates = !state_.overlay.CalendarDates;
    preferences_.CalendarDates = state_.overlay.CalendarDates;
    KeepPreferences();
    // Panel 3 shows the old form until the pointer moves again.
    view_.panels[2].clear();
    if (!PlotShown()) return view_;
    // Only the labels change: the strip is drawn again in the frame Scaler set for it.
    try {
        WriteJDScale(
            canvases_.picJDScale, state_.view,
            state_.overlay.CalendarDates ? JDLabels::CalendarDates : JDLabels::JulianDates);
    } catch (const std::exception& e) {
        SayModuleError(e, "WriteJDScale");
    }
    return view_;
}

bool MainWindowCommands::AskToUnload(ObservationFileKind kind) {
    if (!state_.star.FileLoaded) return true;
    if (kind == ObservationFileKind::ThreeColumnFile) return AskUnloadForXYZ(state_, prompts_);
    return Say(QStringLiteral("Unload current star ") +
                   DisplayText(TrimBlanks(state_.star.StarName)).toUpper() + QStringLiteral(" ?"),
               QStringLiteral("Unload Current Star?"), Buttons::OKCancel,
               Icon::Question) == Answer::OK;
}

const WindowView& MainWindowCommands::LoadFileOfKind(ObservationFileKind kind,
                                                     const std::string& path) {
    if (!AskToUnload(kind)) return view_;
    return kind == ObservationFileKind::StarFile ? LoadStarFile(path) : LoadThreeColumnFile(path);
}

const WindowView& MainWindowCommands::mnuRecent_Click(size_t index) {
    if (Busy() || !TableReady() || index >= preferences_.RecentFiles.size()) return view_;
    const RecentFile file = preferences_.RecentFiles[index];
    if (!FileExists(file.path)) {
        // A folder or a pipe under the old name is there all the same; it cannot be loaded.
        std::error_code error;
        const bool there = std::filesystem::exists(file.path, error);
        Say(QStringLiteral("The file ") + DisplayText(file.path) +
                (there ? QStringLiteral(" is no longer a regular file.")
                       : QStringLiteral(" is no longer there.")) +
                QStringLiteral(" It has been taken off the list of recent files."),
            there ? QStringLiteral("Not a File") : QStringLiteral("File Not Found"), Buttons::OK,
            Icon::Exclamation);
        ForgetRecentFile(preferences_, file.path);
        KeepPreferences();
        return view_;
    }
    return LoadFileOfKind(file.kind, file.path);
}

const WindowView& MainWindowCommands::DropFile(const std::string& path) {
    if (Busy() || !TableReady()) return view_;
    if (!FileExists(path)) {
        Say(DisplayText(path) + QStringLiteral(" is not a file that can be loaded."),
            QStringLiteral("File Not Found"), Buttons::OK, Icon::Exclamation);
        return view_;
    }
    return LoadFileOfKind(GuessObservationFileKind(path), path);
}

}  // namespace sabrix

#include "data/XYZLoadCommand.h"

#include <exception>

#include "core/ErrorText.h"
#include "core/NumberText.h"
#include "data/TextFields.h"

namespace sabrix {

bool AskUnloadForXYZ(const AppState& state, Prompts& prompts) {
    if (!state.star.FileLoaded) return true;
    const Answer answer =
        prompts.message(QStringLiteral("Unload current file ") +
                            DisplayText(TrimBlanks(state.star.StarName)) + QStringLiteral(" ?"),
                        QStringLiteral("Unload Current File?"), Buttons::OKCancel, Icon::Question);
    return answer == Answer::OK;
}

FileDialogOptions XYZOpenDialogOptions(const AppState& state) {
    FileDialogOptions options;
    options.filter = QStringLiteral("All Files (*.*)|*.*|");
    options.initialFolder = DisplayText(state.star.FilesFolder);
    return options;
}

bool XYZBeginLoad(AppState& state, const std::string& path) {
    const std::optional<std::string> name = ThreeColumnStarName(path);
    // Marking the data as three-column before the name is known would leave the flag set
    // with nothing loaded, and the save commands would then answer with the wrong message.
    if (!name) return false;
    state.star.ThreeColumnFilePath = path;
    state.star.ThreeColumnFormat = true;
    state.star.StarName = *name;
    state.star.BackupMade = false;
    return true;
}

QString XYZFileStatusText(const AppState& state) {
    return QStringLiteral("File: ") + DisplayText(state.star.ThreeColumnFilePath);
}

QString XYZLoadingCaption(int32_t recordCount) {
    return QStringLiteral("Loading ") + QString::number(recordCount) + QStringLiteral(" Records.");
}

XYZLoadOutcome XYZLoadFile(AppState& state, ObsTable& table, Prompts& prompts,
                           const XYZLoadCallbacks& callbacks) {
    XYZLoadCallbacks wrapped = callbacks;
    wrapped.counted = [&state, &callbacks](int32_t lineCount) {
        state.star.RecordCount = lineCount;
        if (callbacks.counted) callbacks.counted(lineCount);
    };
    try {
        XYZLoadRows(state.star.ThreeColumnFilePath, table, state.star.StarName,
                    state.overlay.DefaultPointColor, wrapped);
        state.star.FileLoaded = true;
        return XYZLoadOutcome::Loaded;
    } catch (const ThreeColumnFileNotFound& e) {
        prompts.message(DisplayText(e.what()), QStringLiteral("File Error"), Buttons::OK,
                        Icon::Exclamation);
        return XYZLoadOutcome::FileNotFound;
    } catch (const std::exception& e) {
        prompts.message(LoadFailureText(DisplayText(e.what())), QStringLiteral("Error"),
                        Buttons::OK, Icon::Critical);
        return XYZLoadOutcome::Failed;
    }
}

}  // namespace sabrix

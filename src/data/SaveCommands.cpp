#include "data/SaveCommands.h"

#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "core/AtomicFile.h"
#include "core/ErrorText.h"
#include "core/FileSystem.h"
#include "data/BackupCopy.h"
#include "data/DownloadFileExport.h"
#include "data/StarFileExport.h"
#include "data/TextFields.h"
#include "data/ThreeColumnFile.h"

namespace fs = std::filesystem;

namespace sabrix {

namespace {

const QString kBackingUp = QStringLiteral("Backing up file. . . .");
const QString kSaving = QStringLiteral("Saving. . . .");
constexpr const char* kAlwaysSave = "/alwayssave";

bool AlwaysSave(const AppState& state) {
    return state.CommandLine == kAlwaysSave;
}

void NoStarLoaded(Prompts& prompts) {
    prompts.message(QStringLiteral("No star file is loaded."), QStringLiteral("No Star Loaded"),
                    Buttons::OK, Icon::Critical);
}

void WrongFormatThreeColumn(Prompts& prompts) {
    prompts.message(QStringLiteral("This file is in 3-column format. Use the \"Save "
                                   "3-Column\" menu item."),
                    QStringLiteral("Wrong File Format"), Buttons::OK, Icon::Information);
}

void NoChanges(Prompts& prompts) {
    prompts.message(QStringLiteral("There have been no changes to save."),
                    QStringLiteral("No Changes"), Buttons::OK, Icon::Information);
}

void SaveError(Prompts& prompts, const QString& description, const char* module) {
    prompts.message(QStringLiteral("Error ") + description + QStringLiteral(" occured in module ") +
                        QString::fromLatin1(module),
                    QStringLiteral("Save Error"), Buttons::OK, Icon::Exclamation);
}

void ModuleError(Prompts& prompts, const std::exception& e, const char* module) {
    prompts.message(ModuleErrorText(DisplayText(e.what()), QString::fromLatin1(module)),
                    QStringLiteral("Error"), Buttons::OK, Icon::None);
}

// The loaded file as it was loaded is copied once; a later save of the same load must not
// replace that copy with the program's own earlier output. The copy starts here, behind the
// building of the new text, and is put in place by BackUpOnce.
std::unique_ptr<BackupCopy> StartBackup(const LoadedStar& star, const std::string& loadedPath) {
    if (star.BackupMade) return nullptr;
    return std::make_unique<BackupCopy>(loadedPath, SaveBackupPath(loadedPath));
}

void BackUpOnce(LoadedStar& star, const std::unique_ptr<BackupCopy>& backup, SaveDisplay& display) {
    if (!backup) return;
    display.yield();
    backup->Commit();
    star.BackupMade = true;
}

// True when both name one existing file (a link or another spelling of the path included).
bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return fs::equivalent(a, b, error);
}

// A save of the table to a file that the user chooses: the whole text is built first, then the
// file that backupOf names for the chosen output (none: no backup) is backed up once per load,
// then the output is replaced. Returns true when written (FileEdited is then cleared); false
// on cancel or after the failure's message naming the module.
bool SaveToChosenFile(AppState& state, Prompts& prompts, SaveDisplay& display,
                      const QString& firstCaption, const FileDialogOptions& options,
                      const std::function<std::string()>& buildText,
                      const std::function<std::optional<std::string>(const std::string&)>& backupOf,
                      const char* module) {
    display.hidePlotForSave();
    display.setProgressCaption(firstCaption);
    bool saved = false;
    try {
        const std::optional<QString> chosen = prompts.saveFile(options);
        if (chosen && !chosen->isEmpty()) {
            const std::string output = PathBytes(*chosen);
            const std::optional<std::string> loaded = backupOf(output);
            std::unique_ptr<BackupCopy> backup;
            if (loaded) backup = StartBackup(state.star, *loaded);
            // Built first, so that a table that cannot be written leaves every file alone.
            const std::string text = buildText();
            if (loaded) {
                if (firstCaption != kBackingUp) display.setProgressCaption(kBackingUp);
                BackUpOnce(state.star, backup, display);
            }
            display.setProgressCaption(kSaving);
            WriteFileAtomically(output, [&text](QIODevice& out) { WriteAllBytes(out, text); });
            state.star.FileEdited = false;
            saved = true;
        }
    } catch (const std::exception& e) {
        ModuleError(prompts, e, module);
    }
    display.restorePlotAfterSave();
    return saved;
}

}  // namespace

namespace {

// The backup a file takes when no other file competes for the name.
std::string PlainBackupPath(const std::string& path) {
    const std::string backup = BackupPathFor(path);
    return backup == path ? path + ".bak" : backup;
}

}  // namespace

std::string SaveBackupPath(const std::string& path) {
    const std::string plain = PlainBackupPath(path);
    const fs::path given(path);
    const std::string name = given.filename().string();
    const std::string plainName = fs::path(plain).filename().string();
    const fs::path folder = given.has_parent_path() ? given.parent_path() : fs::path(".");
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string other = it->path().filename().string();
        if (other == name || !it->is_regular_file(error)) continue;
        // Another file that takes, or may take, the same backup name: "star.csv" beside
        // "star.txt", or "star.txt" beside "star.txt.old". Each then gets a backup named
        // after its whole name, which no other file can claim.
        if (PlainBackupPath(other) == plainName || other + ".bak" == plainName)
            return path + ".bak";
    }
    return plain;
}

bool SaveFile(AppState& state, ObsTable& table, Prompts& prompts, const Clock& clock,
              SaveDisplay& display) {
    display.hidePlotForSave();
    display.setProgressCaption(kBackingUp);
    bool saved = false;
    try {
        const std::string& path = state.settings.FilePath;
        const std::unique_ptr<BackupCopy> backup = StartBackup(state.star, path);
        // Every magnitude is formatted before the backup or the star file is touched, so a
        // row that does not fit the layout leaves both files as they were.
        const std::string text =
            StarFileText(table, state.star.StarName, clock.now(), [&display] { display.yield(); });
        BackUpOnce(state.star, backup, display);
        display.setProgressCaption(kSaving);
        WriteFileAtomically(path, [&text](QIODevice& out) { WriteAllBytes(out, text); });
        state.star.FileEdited = false;
        saved = true;
    } catch (const FormatNumError&) {
        prompts.message(QStringLiteral("Cannot format Number"), QStringLiteral("OOPS!!"),
                        Buttons::OK, Icon::None);
    } catch (const std::exception& e) {
        ModuleError(prompts, e, "SaveFile");
    }
    display.restorePlotAfterSave();
    return saved;
}

namespace {
// Both saves of a star file need a star file loaded; otherwise says why and returns false.
bool StarReadyToSave(const AppState& state, Prompts& prompts) {
    if (state.star.ThreeColumnFormat) {
        WrongFormatThreeColumn(prompts);
        return false;
    }
    if (!state.star.FileLoaded) {
        NoStarLoaded(prompts);
        return false;
    }
    return true;
}
}  // namespace

void mnuSave_Click(AppState& state, ObsTable& table, Prompts& prompts, const Clock& clock,
                   SaveDisplay& display) {
    try {
        if (!StarReadyToSave(state, prompts)) return;
        if (AlwaysSave(state)) {
            SaveFile(state, table, prompts, clock, display);
            return;
        }
        if (state.star.FileEdited) {
            const Answer answer =
                prompts.message(QStringLiteral("Are you SURE you want to overwrite ") +
                                    DisplayText(state.settings.FilePath) + QStringLiteral("?"),
                                QStringLiteral("Are you SURE?"), Buttons::YesNo, Icon::None);
            if (answer == Answer::Yes) SaveFile(state, table, prompts, clock, display);
            return;
        }
        NoChanges(prompts);
    } catch (const std::exception& e) {
        SaveError(prompts, DisplayText(e.what()), "mnuSave");
    }
}

bool XYZSaveFile(AppState& state, ObsTable& table, Prompts& prompts, SaveDisplay& display) {
    FileDialogOptions options;
    options.filter = QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt|");
    options.initialFolder = DisplayText(state.settings.FilePath);
    // Only the loaded file is backed up: any other file chosen here is replaced for good.
    options.confirmOverwrite = true;
    return SaveToChosenFile(
        state, prompts, display, kBackingUp, options,
        [&] { return ThreeColumnFileText(table, [&display] { display.yield(); }); },
        [&](const std::string&) { return std::optional(state.star.ThreeColumnFilePath); },
        "XYZSaveFile");
}

void mnuSaveXYZ_Click(AppState& state, ObsTable& table, Prompts& prompts, SaveDisplay& display) {
    try {
        if (!state.star.ThreeColumnFormat) {
            prompts.message(QStringLiteral("This file is not in 3-column format. Use the \"Save "
                                           "to Star File\" menu item."),
                            QStringLiteral("Wrong File Format"), Buttons::OK, Icon::Information);
            return;
        }
        if (!state.star.FileLoaded) {
            NoStarLoaded(prompts);
            return;
        }
        if (AlwaysSave(state) || state.star.FileEdited) {
            XYZSaveFile(state, table, prompts, display);
            return;
        }
        NoChanges(prompts);
    } catch (const std::exception& e) {
        SaveError(prompts, DisplayText(e.what()), "mnuSaveXYZ");
    }
}

bool DownloadSaveFile(AppState& state, ObsTable& table, Prompts& prompts, SaveDisplay& display) {
    FileDialogOptions options;
    options.filter = QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt|");
    options.fileName = DisplayText(state.settings.FilePath);
    options.initialFolder = DisplayText(state.settings.FilePath);
    options.confirmOverwrite = true;
    return SaveToChosenFile(
        state, prompts, display, kSaving, options,
        [&] { return DownloadFileText(table, [&display] { display.yield(); }); },
        [&](const std::string& output) {
            // Replacing the loaded file keeps it as it was loaded; any other file chosen
            // here is the user's to replace.
            const std::string& loaded = state.settings.FilePath;
            return SameFile(output, loaded) ? std::optional(loaded) : std::nullopt;
        },
        "DownloadSaveFile");
}

void mnuSaveDownload_Click(AppState& state, ObsTable& table, Prompts& prompts,
                           SaveDisplay& display) {
    try {
        if (!StarReadyToSave(state, prompts)) return;
        DownloadSaveFile(state, table, prompts, display);
    } catch (const std::exception& e) {
        SaveError(prompts, DisplayText(e.what()), "mnuSaveDownload");
    }
}

}  // namespace sabrix

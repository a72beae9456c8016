// SPDX-License-Identifier: GPL-3.0-or-later
// SaveController: "Save to Star File", "Save 3-Column File" and "Save as Download File".
//
// A save never destroys data: the whole output is built and checked first, the loaded file
// is copied to its backup (once per load), and the output replaces its target only after it
// was written completely. Every failure ends in a message; the program keeps running,
// FileEdited stays set and the target keeps its old content. While a save runs the plot gives
// way to the logo and the caption of the step.
#include <exception>
#include <filesystem>
#include <optional>

#include "app/LoadController.h"
#include "app/SaveController.h"
#include "core/AtomicFile.h"
#include "core/ErrorText.h"
#include "core/FileSystem.h"
#include "data/BackupCopy.h"
#include "data/DownloadFileExport.h"
#include "data/SaveBackup.h"
#include "data/StarFileExport.h"
#include "data/TextFields.h"
#include "data/ThreeColumnFile.h"

namespace sabrix {

namespace {

const QString kBackingUp = QStringLiteral("Backing up file. . . .");
const QString kSaving = QStringLiteral("Saving. . . .");

// True when both name one existing file (a link or another spelling of the path included).
bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

}  // namespace

SaveController::SaveController(CommandContext& context, LoadController& loads)
    : ctx_(context), loads_(loads) {}

void SaveController::mnuSave_Click() {
    CommandContext::Job job(ctx_);
    try {
        if (!StarReadyToSave()) return;
        if (AlwaysSave()) {
            SaveFile();
            return;
        }
        if (ctx_.state.star.FileEdited && loads_.downloadSource() != nullptr) {
            OfferDownloadSaveOver(ctx_.state.settings.FilePath);
            return;
        }
        if (ctx_.state.star.FileEdited) {
            const Answer answer =
                ctx_.Say(QStringLiteral("Are you SURE you want to overwrite ") +
                             DisplayText(ctx_.state.settings.FilePath) + QStringLiteral("?"),
                         QStringLiteral("Are you SURE?"), Buttons::YesNo, Icon::None);
            if (answer == Answer::Yes) SaveFile();
            return;
        }
        SayNoChanges();
    } catch (const std::exception& e) {
        SaySaveError(e, "mnuSave");
    }
}

void SaveController::mnuSaveXYZ_Click() {
    CommandContext::Job job(ctx_);
    try {
        if (!ctx_.state.star.ThreeColumnFormat) {
            ctx_.Say(QStringLiteral("This file is not in 3-column format. Use the \"Save to Star "
                                    "File\" menu item."),
                     QStringLiteral("Wrong File Format"), Buttons::OK, Icon::Information);
            return;
        }
        if (!ctx_.state.star.FileLoaded) {
            ctx_.SayNoStarLoaded();
            return;
        }
        if (AlwaysSave() || ctx_.state.star.FileEdited) {
            XYZSaveFile();
            return;
        }
        SayNoChanges();
    } catch (const std::exception& e) {
        SaySaveError(e, "mnuSaveXYZ");
    }
}

void SaveController::mnuSaveDownload_Click() {
    CommandContext::Job job(ctx_);
    try {
        if (StarReadyToSave()) DownloadSaveFile();
    } catch (const std::exception& e) {
        SaySaveError(e, "mnuSaveDownload");
    }
}

bool SaveController::AlwaysSave() const {
    return ctx_.state.CommandLine == "/alwayssave";
}

bool SaveController::StarReadyToSave() {
    if (ctx_.state.star.ThreeColumnFormat) {
        ctx_.Say(QStringLiteral("This file is in 3-column format. Use the \"Save 3-Column\" menu "
                                "item."),
                 QStringLiteral("Wrong File Format"), Buttons::OK, Icon::Information);
        return false;
    }
    if (!ctx_.state.star.FileLoaded) {
        ctx_.SayNoStarLoaded();
        return false;
    }
    return true;
}

void SaveController::SayNoChanges() {
    ctx_.Say(QStringLiteral("There have been no changes to save."), QStringLiteral("No Changes"),
             Buttons::OK, Icon::Information);
}

void SaveController::SaySaveError(const std::exception& e, const char* module) {
    ctx_.Say(QStringLiteral("Error ") + DisplayText(e.what()) +
                 QStringLiteral(" occured in module ") + QString::fromLatin1(module),
             QStringLiteral("Save Error"), Buttons::OK, Icon::Exclamation);
}

void SaveController::HidePlot(const QString& caption) {
    ctx_.view.look = WindowView::Look::Saving;
    ctx_.view.captionShown = true;
    ShowStep(caption);
}

void SaveController::ShowStep(const QString& caption) {
    ctx_.view.progressCaption = caption;
    ctx_.Present();
    ctx_.host.yield();
}

void SaveController::RestorePlot() {
    ctx_.view.look = ctx_.state.star.FileLoaded ? WindowView::Look::Plot : WindowView::Look::Start;
    ctx_.view.captionShown = false;
    ctx_.Present();
}

std::unique_ptr<BackupCopy> SaveController::StartBackup(const std::string& loadedPath) {
    // The loaded file as it was loaded is copied once; a later save of the same load must not
    // replace that copy with the program's own earlier output.
    if (ctx_.state.star.BackupMade) return nullptr;
    return std::make_unique<BackupCopy>(loadedPath, SaveBackupPath(loadedPath));
}

void SaveController::BackUpOnce(const std::unique_ptr<BackupCopy>& backup) {
    if (!backup) return;
    ctx_.Yield();
    backup->Commit();
    ctx_.state.star.BackupMade = true;
}

void SaveController::SaveFile() {
    HidePlot(kBackingUp);
    std::optional<StarLayoutMisfit> misfit;
    try {
        const std::string& path = ctx_.state.settings.FilePath;
        const std::unique_ptr<BackupCopy> backup = StartBackup(path);
        // Every magnitude is formatted before the backup or the star file is touched, so a
        // row that does not fit the layout leaves both files as they were.
        const std::string text = StarFileText(*ctx_.table, ctx_.state.star.StarName,
                                              ctx_.clock->now(), [this] { ctx_.Yield(); });
        BackUpOnce(backup);
        ShowStep(kSaving);
        WriteFileAtomically(path, [&text](QIODevice& out) { WriteAllBytes(out, text); });
        ctx_.ClearEdits();
        // The loaded file is in the star layout now.
        loads_.KeepDownloadSource(std::nullopt);
    } catch (const StarLayoutMisfit& e) {
        misfit = e;
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "SaveFile");
    }
    RestorePlot();
    // Asked over the plot: nothing has been written, and the download layout holds every
    // value of every row.
    if (misfit) OfferDownloadSave(*misfit);
}

void SaveController::OfferDownloadSave(const StarLayoutMisfit& misfit) {
    const Answer answer =
        ctx_.Say(DisplayText(misfit.what()) + QStringLiteral("\r\n\r\nNothing has been saved. ") +
                     QStringLiteral("Save as Download File instead? It keeps every value."),
                 QStringLiteral("OOPS!!"), Buttons::YesNo, Icon::Question);
    if (answer == Answer::Yes) DownloadSaveFile();
}

void SaveController::OfferDownloadSaveOver(const std::string& path) {
    const Answer answer = ctx_.Say(
        DisplayText(path) +
            QStringLiteral(
                " is a download file. The star layout keeps no band, uncertainty, comparison "
                "stars, charts, air mass, validation flag, HJD or other download fields of these "
                "observations, and cuts their comments to six characters.\r\n\r\n"
                "Yes: Save as Download File, which keeps every field.\r\n"
                "No: overwrite it in the star layout.\r\nCancel: save nothing."),
        QStringLiteral("Are you SURE?"), Buttons::YesNoCancel, Icon::Exclamation);
    if (answer == Answer::Yes)
        DownloadSaveFile();
    else if (answer == Answer::No)
        SaveFile();
}

void SaveController::XYZSaveFile() {
    FileDialogOptions options;
    options.filter = QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt|");
    options.initialFolder = DisplayText(ctx_.state.settings.FilePath);
    // Only the loaded file is backed up: any other file chosen here is replaced for good.
    options.confirmOverwrite = true;
    SaveToChosenFile(
        kBackingUp, BehindDialog::Steps, options,
        [this] { return ThreeColumnFileText(*ctx_.table, [this] { ctx_.Yield(); }); },
        [this](const std::string&) { return std::optional(ctx_.state.star.ThreeColumnFilePath); },
        "XYZSaveFile");
}

void SaveController::DownloadSaveFile() {
    FileDialogOptions options;
    options.filter = QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt|");
    options.fileName = DisplayText(ctx_.state.settings.FilePath);
    options.initialFolder = DisplayText(ctx_.state.settings.FilePath);
    options.confirmOverwrite = true;
    // The dialog comes over the plot, also when the question of a save that the star file
    // layout refused opens it.
    std::optional<DownloadSource> text;
    const std::optional<std::string> written = SaveToChosenFile(
        kSaving, BehindDialog::Plot, options,
        [this, &text] {
            text = DownloadFileText(
                *ctx_.table, loads_.downloadSource(), [this] { ctx_.Yield(); },
                &loads_.typedNumbers());
            return text->bytes();
        },
        [this](const std::string& output) -> std::optional<std::string> {
            // Replacing the loaded file keeps it as it was loaded; any other file chosen
            // here is the user's to replace.
            const std::string& loaded = ctx_.state.settings.FilePath;
            if (SameFile(output, loaded)) return loaded;
            return std::nullopt;
        },
        "DownloadSaveFile");
    // Save As: the edits are in the file written now, so it is the loaded file from here on;
    // the file loaded before keeps what it held. (A device chosen in the dialog is no file to
    // load.)
    if (!written || !FileExists(*written)) return;
    if (!SameFile(*written, ctx_.state.settings.FilePath)) loads_.AdoptSavedFile(*written);
    // The next save starts from the lines just written.
    loads_.KeepDownloadSource(std::move(text));
}

std::optional<std::string> SaveController::SaveToChosenFile(
    const QString& firstCaption, BehindDialog behindDialog, const FileDialogOptions& options,
    const std::function<std::string()>& buildText,
    const std::function<std::optional<std::string>(const std::string&)>& backupOf,
    const char* module) {
    if (behindDialog == BehindDialog::Steps) HidePlot(firstCaption);
    std::optional<std::string> written;
    try {
        const std::optional<QString> chosen = ctx_.prompts.saveFile(options);
        if (chosen && !chosen->isEmpty()) {
            if (behindDialog == BehindDialog::Plot) HidePlot(firstCaption);
            const std::string output = PathBytes(*chosen);
            const std::optional<std::string> loaded = backupOf(output);
            std::unique_ptr<BackupCopy> backup;
            if (loaded) backup = StartBackup(*loaded);
            // Built first, so that a table that cannot be written leaves every file alone.
            const std::string text = buildText();
            if (loaded) {
                if (firstCaption != kBackingUp) ShowStep(kBackingUp);
                BackUpOnce(backup);
            }
            ShowStep(kSaving);
            WriteFileAtomically(output, [&text](QIODevice& out) { WriteAllBytes(out, text); });
            ctx_.ClearEdits();
            written = output;
        }
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, module);
    }
    RestorePlot();
    return written;
}

}  // namespace sabrix

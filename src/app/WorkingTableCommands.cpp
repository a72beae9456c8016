// SPDX-License-Identifier: GPL-3.0-or-later
// LoadController: the working table's life (opened at the start, replaced by a fresh copy of
// the template when the star goes, deleted at the end of the run), and the questions before
// the run ends and before the configuration.
#include <exception>

#include "app/LoadController.h"
#include "core/ErrorText.h"
#include "core/FileSystem.h"
#include "core/WorkingDatabase.h"

namespace sabrix {

namespace {

// The working database is a fresh copy of the template: when the template itself is no
// database, the template is named, not the copy that inherited its damage.
QString OpenFailureText(const TableFiles& files, const std::exception& e) {
    try {
        ObsTable::CheckDatabase(files.templateDatabase);
    } catch (const std::exception& damage) {
        return QStringLiteral("The template database ") + DisplayText(files.templateDatabase) +
               QStringLiteral(" is damaged (") + DisplayText(damage.what()) +
               QStringLiteral("). Put the template of the installed program in its place.");
    }
    return QStringLiteral("The working database ") + DisplayText(files.database) +
           QStringLiteral(" could not be opened (") + DisplayText(e.what()) + QStringLiteral(").");
}

// The folder FilePath names: FilePath itself when it is one (the data folder of the
// settings), else the folder of the file it names, with its trailing "/".
std::string FolderOfFilePath(const std::string& path) {
    if (path.empty() || FolderExists(path)) return path;
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

LoadController::LoadController(CommandContext& context) : ctx_(context) {
    ctx_.OnForgetStar([this] {
        downloadSource_.reset();
        typedNumbers_.clear();
    });
}

void LoadController::OpenWorkingTable() {
    try {
        ctx_.table = std::make_unique<ObsTable>(ctx_.files.database);
    } catch (const std::exception& e) {
        ctx_.Say(OpenFailureText(ctx_.files, e), QStringLiteral("Working Database Error"),
                 Buttons::OK, Icon::Critical);
        ctx_.view.endRun = 1;
    }
}

bool LoadController::UnloadStar() {
    // The readers and writers of the program close their files before they return, so no
    // file is open here. What the controllers keep of the star goes first: the record list's
    // lines, for one, stand for rows of the table that is going.
    ctx_.ForgetStar();
    // The next file dialog starts where the file unloaded was.
    const std::string folder = FolderOfFilePath(ctx_.state.settings.FilePath);
    ResetStarState(ctx_.state);
    ctx_.state.settings.FilePath = folder;
    ctx_.marks = ObserverMarks{};
    ctx_.view.tool = ctx_.state.overlay.tool;
    if (ctx_.view.tool == Tool::Locate) ctx_.view.cursorName = QStringLiteral("XHairs");
    ctx_.ClearCanvases();
    ctx_.view.starLabel.clear();
    // Nothing is loaded: no file, magnification or pointer readout is named any more.
    for (QString& panel : ctx_.view.panels) panel.clear();
    ctx_.view.look = WindowView::Look::Start;
    ctx_.view.progressCaption.clear();
    ctx_.view.captionShown = false;
    ctx_.view.progressBarShown = false;
    // A fill behind the plot stops with the table it fills.
    ctx_.rows = TableRows::Complete;
    ctx_.view.filling = false;
    ctx_.view.cancelShown = false;

    ctx_.table.reset();
    try {
        ReplaceWithTemplate(ctx_.files.templateDatabase, ctx_.files.database);
        ctx_.table = std::make_unique<ObsTable>(ctx_.files.database);
    } catch (const FatalFileError& e) {
        ctx_.Say(DisplayText(e.what()), e.title(), Buttons::OK, e.icon());
        ctx_.view.endRun = 1;
        return false;
    } catch (const std::exception& e) {
        ctx_.table.reset();
        ctx_.Say(OpenFailureText(ctx_.files, e), QStringLiteral("Working Database Error"),
                 Buttons::OK, Icon::Critical);
        ctx_.view.endRun = 1;
        return false;
    }
    return true;
}

int LoadController::CloseWorkingTable(int exitCode) {
    // A fill that runs stops and rolls back with its table, before the file goes.
    ctx_.table.reset();
    ctx_.rows = TableRows::Complete;
    ctx_.view.filling = false;
    ctx_.view.cancelShown = false;
    if (FileExists(ctx_.files.database)) {
        try {
            DeleteDatabaseFiles(ctx_.files.database);
        } catch (const FatalFileError& e) {
            // After an earlier failure that already ended the run, one message is enough.
            if (exitCode == 0)
                ctx_.prompts.message(DisplayText(e.what()), e.title(), Buttons::OK, e.icon());
            exitCode = 1;
        }
    }
    ctx_.ForgetStar();
    return exitCode;
}

const std::string& LoadController::LoadedFile() const {
    // A three-column file is not FilePath, which keeps naming the star file or the folder.
    const LoadedStar& star = ctx_.state.star;
    return star.ThreeColumnFormat ? star.ThreeColumnFilePath : ctx_.state.settings.FilePath;
}

bool LoadController::QueryUnload() {
    // The question depends on the edits alone.
    if (!ctx_.state.star.FileEdited) return true;
    const QString text = QStringLiteral("You have edited file ") + DisplayText(LoadedFile()) +
                         QStringLiteral(
                             " but have not saved it. Would you like another "
                             "chance to save?");
    // Closing the question without an answer keeps the program and its edits.
    return ctx_.Say(text, QStringLiteral("Do You Want to Save?"), Buttons::YesNo, Icon::None,
                    Answer::Yes) != Answer::Yes;
}

bool LoadController::PrepareConfiguration() {
    if (!ctx_.state.star.FileLoaded) return true;
    const QString text = QStringLiteral(
                             "You cannot change the configuration while a file is loaded.\r\n\r\n"
                             "Do you want to unload the file ") +
                         DisplayText(LoadedFile()) + QStringLiteral("?");
    if (ctx_.Say(text, QStringLiteral("Cannot Reconfigure"), Buttons::YesNoCancel, Icon::None) !=
        Answer::Yes)
        return false;
    // Unsaved edits get the chance to be saved that Exit gives them. The unload leaves
    // FilePath naming the unloaded file's folder, where the dialog starts.
    return QueryUnload() && UnloadStar();
}

bool LoadController::Configure(const std::function<bool(Settings&)>& dialog) {
    try {
        return dialog(ctx_.state.settings);
    } catch (const std::exception& e) {
        // Said over the hidden window: the view is not shown again first.
        ctx_.prompts.message(
            ModuleErrorText(DisplayText(e.what()), QStringLiteral("mnuConfig_Click")),
            QStringLiteral("Error"), Buttons::OK, Icon::None);
        return true;
    }
}

}  // namespace sabrix

#include "app/MainWindowCommands.h"

#include <algorithm>
#include <exception>

#include "core/ErrorText.h"
#include "core/FileSystem.h"
#include "core/WorkingDatabase.h"
#include "data/TextFields.h"
#include "plot/PlotWindow.h"

namespace sabrix {

MainWindowCommands::MainWindowCommands(AppState state, TableFiles files, Prompts& prompts,
                                       WindowHost& host, Canvases canvases)
    : state_(std::move(state)),
      files_(std::move(files)),
      prompts_(prompts),
      host_(host),
      canvases_(canvases) {
    view_.omitFainterChecked = state_.overlay.OmitFainter;
}

MainWindowCommands::~MainWindowCommands() = default;

Answer MainWindowCommands::Say(const QString& text, const QString& title, Buttons buttons,
                               Icon icon, std::optional<Answer> dismissed) {
    // What the user sees behind the box is what the command has done so far.
    host_.present(view_);
    return prompts_.message(text, title, buttons, icon, dismissed);
}

void MainWindowCommands::SayModuleError(const std::exception& e, const char* module) {
    Say(ModuleErrorText(DisplayText(e.what()), QString::fromLatin1(module)),
        QStringLiteral("Error"), Buttons::OK, Icon::None);
}

// ---- The working table -------------------------------------------------------------------

namespace {

QString OpenFailureText(const std::string& path, const std::exception& e) {
    return QStringLiteral("The working database ") + DisplayText(path) +
           QStringLiteral(" could not be opened (") + DisplayText(e.what()) + QStringLiteral(").");
}

}  // namespace

const WindowView& MainWindowCommands::OpenWorkingTable() {
    try {
        table_ = std::make_unique<ObsTable>(files_.database);
    } catch (const std::exception& e) {
        Say(OpenFailureText(files_.database, e), QStringLiteral("Working Database Error"),
            Buttons::OK, Icon::Critical);
        view_.endRun = 1;
    }
    return view_;
}

void MainWindowCommands::ClearCanvases() {
    canvases_.picView.Cls();
    canvases_.picJDScale.Cls();
    canvases_.picMagScale.Cls();
}

bool MainWindowCommands::UnloadStar() {
    // The readers and writers of the program close their files before they return, so no
    // file is open here.
    // The list's lines stand for rows of the table that is going.
    CloseRecordList();
    ResetStarState(state_);
    marks_ = ObserverMarks{};
    bins_ = Bins{};
    binsShown_ = polyShown_ = false;
    ForgetViews();
    drag_ = Drag::None;
    view_.rubberBand.reset();
    view_.tool = state_.overlay.tool;
    if (view_.tool == Tool::Locate) view_.cursorName = QStringLiteral("XHairs");
    ClearCanvases();
    view_.starLabel.clear();
    view_.panels[1].clear();
    view_.look = WindowView::Look::Empty;
    view_.progressCaption.clear();
    view_.captionShown = false;
    view_.progressBarShown = false;
    // A fill behind the plot stops with the table it fills.
    loadPhase_ = LoadPhase::None;
    rowsAbsent_ = false;
    view_.filling = false;
    view_.cancelShown = false;

    table_.reset();
    try {
        ReplaceWithTemplate(files_.templateDatabase, files_.database);
        table_ = std::make_unique<ObsTable>(files_.database);
    } catch (const FatalFileError& e) {
        Say(DisplayText(e.what()), e.title(), Buttons::OK, e.icon());
        view_.endRun = 1;
        return false;
    } catch (const std::exception& e) {
        table_.reset();
        Say(OpenFailureText(files_.database, e), QStringLiteral("Working Database Error"),
            Buttons::OK, Icon::Critical);
        view_.endRun = 1;
        return false;
    }
    return true;
}

int MainWindowCommands::CloseWorkingTable(int exitCode) {
    // A fill that runs stops and rolls back with its table, before the file goes.
    table_.reset();
    loadPhase_ = LoadPhase::None;
    view_.filling = false;
    view_.cancelShown = false;
    if (FileExists(files_.database)) {
        try {
            DeleteDatabaseFiles(files_.database);
        } catch (const FatalFileError& e) {
            // After an earlier failure that already ended the run, one message is enough.
            if (exitCode == 0)
                prompts_.message(DisplayText(e.what()), e.title(), Buttons::OK, e.icon());
            exitCode = 1;
        }
    }
    polyRegression_.reset();
    bins_.BinJD.clear();
    bins_.BinMag.clear();
    bins_.BinSD.clear();
    return exitCode;
}

// ---- Saving ------------------------------------------------------------------------------

const WindowView& MainWindowCommands::mnuSave_Click() {
    if (Busy() || !TableReady()) return view_;
    Job job(*this);
    sabrix::mnuSave_Click(state_, *table_, prompts_, *clock_, *this);
    return view_;
}

const WindowView& MainWindowCommands::mnuSaveXYZ_Click() {
    if (Busy() || !TableReady()) return view_;
    Job job(*this);
    sabrix::mnuSaveXYZ_Click(state_, *table_, prompts_, *this);
    return view_;
}

void MainWindowCommands::hidePlotForSave() {
    view_.look = WindowView::Look::Saving;
    view_.captionShown = true;
    host_.present(view_);
}

void MainWindowCommands::setProgressCaption(const QString& caption) {
    view_.progressCaption = caption;
    host_.present(view_);
    host_.yield();
}

void MainWindowCommands::restorePlotAfterSave() {
    view_.look = state_.star.FileLoaded ? WindowView::Look::Plot : WindowView::Look::Empty;
    view_.captionShown = false;
    host_.present(view_);
}

void MainWindowCommands::yield() {
    if (pacer_) pacer_->tick();
}

// ---- Exit and configuration --------------------------------------------------------------

bool MainWindowCommands::QueryUnload() {
    if (Busy()) return false;
    // The question depends on the edits alone.
    if (!state_.star.FileEdited) return true;
    const QString text = QStringLiteral("You have edited file ") +
                         DisplayText(state_.settings.FilePath) +
                         QStringLiteral(
                             " but have not saved it. Would you like another "
                             "chance to save?");
    // Closing the question without an answer keeps the program and its edits.
    return Say(text, QStringLiteral("Do You Want to Save?"), Buttons::YesNo, Icon::None,
               Answer::Yes) != Answer::Yes;
}

bool MainWindowCommands::PrepareConfiguration() {
    if (Busy() || !TableReady()) return false;
    if (!state_.star.FileLoaded) return true;
    const std::string keptPath = state_.settings.FilePath;
    const QString text = QStringLiteral(
                             "You cannot change the configuration while a file is loaded.\r\n\r\n"
                             "Do you want to unload the file ") +
                         DisplayText(keptPath) + QStringLiteral("?");
    if (Say(text, QStringLiteral("Cannot Reconfigure"), Buttons::YesNoCancel, Icon::None) !=
        Answer::Yes)
        return false;
    if (!UnloadStar()) return false;
    // The dialog starts in the folder of the file just unloaded.
    const auto slash = keptPath.find_last_of('/');
    state_.settings.FilePath =
        slash == std::string::npos ? std::string() : keptPath.substr(0, slash + 1);
    return true;
}

}  // namespace sabrix

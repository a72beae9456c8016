#include "app/MainWindowCommands.h"

#include <algorithm>
#include <exception>

#include "core/ErrorText.h"
#include "core/FileSystem.h"
#include "core/WorkingDatabase.h"
#include "data/StarFileImport.h"
#include "data/TextFields.h"
#include "data/XYZLoadCommand.h"
#include "plot/PlotWindow.h"
#include "plot/Plotter.h"

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
    table_.reset();
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
    state_.overlay.PolyRegression.reset();
    state_.overlay.StateOK = false;
    state_.overlay.BinJD.clear();
    state_.overlay.BinMag.clear();
    state_.overlay.BinSD.clear();
    return exitCode;
}

// ---- Loading -----------------------------------------------------------------------------

const WindowView& MainWindowCommands::mnuLoad_Click() {
    if (Busy() || !table_) return view_;
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

const WindowView& MainWindowCommands::LoadStarFile(const std::string& path) {
    if (Busy() || !table_) return view_;
    if (state_.star.FileLoaded && !UnloadStar()) return view_;
    state_.settings.FilePath = path;
    const bool loaded = ImportStarFile();
    if (view_.endRun) return view_;
    ShowLoadedFile(loaded, QStringLiteral("File: ") + DisplayText(path));
    if (loaded) RememberLoadedFile(ObservationFileKind::StarFile, path);
    return view_;
}

void MainWindowCommands::ShowLoadedFile(bool loaded, const QString& panelOne) {
    view_.progressBarShown = false;
    view_.captionShown = false;
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

bool MainWindowCommands::ImportStarFile() {
    view_.look = WindowView::Look::Loading;
    rejectedLines_ = 0;
    ImportResult result;
    bool failed = false;
    QString failure;
    {
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
            view_.progressCaption = DisplayText(caption);
            view_.captionShown = true;
            host_.present(view_);
        };
        callbacks.progress = [this](int64_t n) { view_.progressValue = static_cast<int>(n); };
        callbacks.yield = [&job] { job.pacer().tick(); };
        try {
            result = ImportStarFileRows(state_.settings.FilePath,
                                        state_.star.FilesFolder + "/Errors.txt", *table_,
                                        state_.settings, callbacks);
        } catch (const std::exception& e) {
            failed = true;
            failure = DisplayText(e.what());
        }
    }
    state_.star.RecordCount = result.recordCount;
    rejectedLines_ = result.rejected;
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
            state_.star.StarName = result.starName;
            state_.star.BackupMade = false;
            view_.progressBarShown = false;
            view_.captionShown = false;
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

const WindowView& MainWindowCommands::mnuXYZ_Click() {
    if (Busy() || !table_) return view_;
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
    if (Busy() || !table_) return view_;
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
    XYZLoadOutcome outcome;
    {
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
        };
        // The messages of a failed load come over the window as it was during the load.
        outcome = XYZLoadFile(state_, *table_, prompts_, callbacks);
    }
    view_.progressBarShown = false;
    view_.captionShown = false;
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

// ---- Saving ------------------------------------------------------------------------------

const WindowView& MainWindowCommands::mnuSave_Click() {
    if (Busy() || !table_) return view_;
    Job job(*this);
    sabrix::mnuSave_Click(state_, *table_, prompts_, *clock_, *this);
    return view_;
}

const WindowView& MainWindowCommands::mnuSaveXYZ_Click() {
    if (Busy() || !table_) return view_;
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
    // The question depends on the edits alone: other windows clear StateOK while they are
    // open, and closing then must not drop unsaved edits.
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
    if (Busy()) return false;
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

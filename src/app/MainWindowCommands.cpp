// SPDX-License-Identifier: GPL-3.0-or-later
// The owner of the controllers, and the one catch around every command.
#include "app/MainWindowCommands.h"

#include "app/AnalysisController.h"
#include "app/PeriodController.h"
#include "app/PlotController.h"
#include "app/RecordsController.h"
#include "app/SaveController.h"
#include "app/ShellController.h"

namespace sabrix {

MainWindowCommands::MainWindowCommands(AppState state, TableFiles files, Prompts& prompts,
                                       WindowHost& host, Canvases canvases)
    : context_(std::move(state), std::move(files), prompts, host, canvases),
      loads_(std::make_unique<LoadController>(context_)),
      records_(std::make_unique<RecordsController>(context_, loads_->typedNumbers())),
      plot_(std::make_unique<PlotController>(context_)),
      analysis_(std::make_unique<AnalysisController>(context_)),
      period_(std::make_unique<PeriodController>(context_)),
      saves_(std::make_unique<SaveController>(context_, *loads_)),
      shell_(std::make_unique<ShellController>(context_)),
      minima_(std::make_unique<MinimaController>(context_)) {
    // A box drawn with the armed tool goes to the times of minimum, not to the record list.
    plot_->onExtremumBox = [this](double x1, double y1, double x2, double y2) {
        minima_->TimeOfExtremumInBox(x1, y1, x2, y2);
    };
    minima_->armBox = [this] { plot_->ArmExtremumBox(); };
    // A locate press and a select-edits box list their rows.
    plot_->onLocate = [this](double x, double y) { records_->Finder(x, y); };
    plot_->onSelectBox = [this](double x1, double y1, double x2, double y2) {
        records_->BoxFinder(x1, y1, x2, y2);
    };
}

MainWindowCommands::~MainWindowCommands() = default;

int64_t MainWindowCommands::rejectedLines() const {
    return loads_->rejectedLines();
}

const DownloadSource* MainWindowCommands::downloadSource() const {
    return loads_->downloadSource();
}

const Preferences& MainWindowCommands::preferences() const {
    return loads_->preferences();
}

const RecordList* MainWindowCommands::recordList() const {
    return records_->recordList();
}

const Bins& MainWindowCommands::bins() const {
    return analysis_->bins();
}

std::vector<PolySample> MainWindowCommands::PolyCurve() const {
    return analysis_->PolyCurve();
}

void MainWindowCommands::setPreferencesFolder(const std::string& programDir) {
    loads_->setPreferencesFolder(programDir);
}

void MainWindowCommands::setDesktop(DesktopOpener& opener, std::string userGuide) {
    shell_->setDesktop(opener, std::move(userGuide));
}

void MainWindowCommands::setAnalysisDialogs(AnalysisDialogs* dialogs) {
    analysis_->setAnalysisDialogs(dialogs);
}

void MainWindowCommands::setPeriodDialogs(PeriodDialogs* dialogs) {
    period_->setPeriodDialogs(dialogs);
}

const PeriodAnalysis* MainWindowCommands::periodAnalysis() const {
    return period_->analysis();
}

const std::optional<PhaseFold>& MainWindowCommands::phaseFold() const {
    return period_->fold();
}

const FourierModel* MainWindowCommands::periodModel() const {
    return period_->model();
}

void MainWindowCommands::setRecordDialogs(RecordDialogs* dialogs) {
    records_->setRecordDialogs(dialogs);
}

void MainWindowCommands::setMinimaDialogs(MinimaDialogs* dialogs) {
    minima_->setMinimaDialogs(dialogs);
}

const std::vector<ListedExtremum>& MainWindowCommands::minimaList() {
    return minima_->list();
}

void MainWindowCommands::setImageExportDialog(ImageExportDialog* dialog) {
    saves_->setImageExportDialog(dialog);
    period_->setImageExportDialog(dialog);
    minima_->setImageExportDialog(dialog);
}

void MainWindowCommands::Guarded(std::string_view name, bool failuresToCaller,
                                 const std::function<void()>& action) {
    if (failuresToCaller)
        action();
    else
        context_.Guarded(name, action);
}

}  // namespace sabrix

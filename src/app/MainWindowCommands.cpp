// SPDX-License-Identifier: GPL-3.0-or-later
// The facade's forwarders: each command checks its needs and hands over to its controller.
#include "app/MainWindowCommands.h"

#include "app/AnalysisController.h"
#include "app/MinimaController.h"
#include "app/PeriodController.h"
#include "app/PlotController.h"
#include "app/RecordsController.h"
#include "app/SaveController.h"
#include "app/ShellController.h"
#include "core/SabrixError.h"

namespace sabrix {

MainWindowCommands::MainWindowCommands(AppState state, TableFiles files, Prompts& prompts,
                                       WindowHost& host, Canvases canvases)
    : context_(std::move(state), std::move(files), prompts, host, canvases),
      loads_(std::make_unique<LoadController>(context_)),
      records_(std::make_unique<RecordsController>(context_)),
      plot_(std::make_unique<PlotController>(context_, *records_)),
      analysis_(std::make_unique<AnalysisController>(context_)),
      period_(std::make_unique<PeriodController>(context_)),
      saves_(std::make_unique<SaveController>(context_, *loads_)),
      shell_(std::make_unique<ShellController>(context_)),
      minima_(std::make_unique<MinimaController>(context_)) {
    plot_->onExtremumBox = [this](double x1, double y1, double x2, double y2) {
        minima_->TimeOfExtremumInBox(x1, y1, x2, y2);
    };
    minima_->armBox = [this] { plot_->ArmExtremumBox(); };
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

void MainWindowCommands::setMinimaDialogs(MinimaDialogs* dialogs) {
    minima_->setMinimaDialogs(dialogs);
}

const std::vector<ListedExtremum>& MainWindowCommands::minimaList() {
    return minima_->list();
}

const WindowView& MainWindowCommands::mnuMinimum_Click() {
    return Run(Command::mnuMinimum_Click, [&] { minima_->mnuMinimum_Click(); });
}

const WindowView& MainWindowCommands::mnuMaximum_Click() {
    return Run(Command::mnuMaximum_Click, [&] { minima_->mnuMaximum_Click(); });
}

const WindowView& MainWindowCommands::mnuMinimaList_Click() {
    return Run(Command::mnuMinimaList_Click, [&] { minima_->mnuMinimaList_Click(); });
}

const WindowView& MainWindowCommands::TimeOfExtremumInBox(double x1, double y1, double x2,
                                                          double y2) {
    return Run(Command::TimeOfExtremumInBox, [&] { minima_->TimeOfExtremumInBox(x1, y1, x2, y2); });
}

const WindowView& MainWindowCommands::MinimaWindowEvent(const MinimaEvent& event) {
    return Run(Command::MinimaWindowEvent, [&] { minima_->MinimaWindowEvent(event); });
}

const WindowView& MainWindowCommands::OcWindowEvent(const OcEvent& event) {
    return Run(Command::OcWindowEvent, [&] { minima_->OcWindowEvent(event); });
}

const FourierModel* MainWindowCommands::periodModel() const {
    return period_->model();
}

void MainWindowCommands::setRecordDialogs(RecordDialogs* dialogs) {
    records_->setRecordDialogs(dialogs);
}

void MainWindowCommands::setImageExportDialog(ImageExportDialog* dialog) {
    saves_->setImageExportDialog(dialog);
    period_->setImageExportDialog(dialog);
    minima_->setImageExportDialog(dialog);
}

const WindowView& MainWindowCommands::OpenWorkingTable() {
    return Run(Command::OpenWorkingTable, [&] { loads_->OpenWorkingTable(); });
}

bool MainWindowCommands::UnloadStar() {
    return Ask(Command::UnloadStar, false, [&] { return loads_->UnloadStar(); });
}

int MainWindowCommands::CloseWorkingTable(int exitCode) {
    return loads_->CloseWorkingTable(exitCode);
}

const WindowView& MainWindowCommands::mnuLoad_Click() {
    return Run(Command::mnuLoad_Click, [&] { loads_->mnuLoad_Click(); });
}

const WindowView& MainWindowCommands::LoadStarFile(const std::string& path, RowFill fill) {
    return Run(Command::LoadStarFile, [&] { loads_->LoadStarFile(path, fill); });
}

const WindowView& MainWindowCommands::PollFill() {
    return Run(Command::PollFill, [&] { loads_->PollFill(); });
}

const WindowView& MainWindowCommands::FinishFill() {
    return Run(Command::FinishFill, [&] { loads_->FinishFill(); });
}

const WindowView& MainWindowCommands::CancelLoad() {
    return Run(Command::CancelLoad, [&] { loads_->CancelLoad(); });
}

const WindowView& MainWindowCommands::mnuXYZ_Click() {
    return Run(Command::mnuXYZ_Click, [&] { loads_->mnuXYZ_Click(); });
}

const WindowView& MainWindowCommands::LoadThreeColumnFile(const std::string& path,
                                                          std::optional<double> timeOffset) {
    return Run(Command::LoadThreeColumnFile,
               [&] { loads_->LoadThreeColumnFile(path, timeOffset); });
}

const WindowView& MainWindowCommands::mnuCalendar_Click() {
    return Run(Command::mnuCalendar_Click, [&] { loads_->mnuCalendar_Click(); });
}

const WindowView& MainWindowCommands::mnuRecent_Click(size_t index) {
    return Run(Command::mnuRecent_Click, [&] { loads_->mnuRecent_Click(index); });
}

const WindowView& MainWindowCommands::DropFile(const std::string& path,
                                               std::optional<ObservationFileKind> kind,
                                               std::optional<double> timeOffset) {
    return Run(Command::DropFile, [&] { loads_->DropFile(path, kind, timeOffset); });
}

bool MainWindowCommands::QueryUnload() {
    return Ask(Command::QueryUnload, false, [&] { return loads_->QueryUnload(); });
}

bool MainWindowCommands::PrepareConfiguration() {
    return Ask(Command::PrepareConfiguration, false,
               [&] { return loads_->PrepareConfiguration(); });
}

bool MainWindowCommands::Configure(const std::function<bool(Settings&)>& dialog) {
    return Ask(Command::Configure, true, [&] { return loads_->Configure(dialog); });
}

const WindowView& MainWindowCommands::mnuSave_Click() {
    return Run(Command::mnuSave_Click, [&] { saves_->mnuSave_Click(); });
}

const WindowView& MainWindowCommands::mnuSaveXYZ_Click() {
    return Run(Command::mnuSaveXYZ_Click, [&] { saves_->mnuSaveXYZ_Click(); });
}

const WindowView& MainWindowCommands::mnuSaveDownload_Click() {
    return Run(Command::mnuSaveDownload_Click, [&] { saves_->mnuSaveDownload_Click(); });
}

const WindowView& MainWindowCommands::mnuExport_Click() {
    return Run(Command::mnuExport_Click, [&] { saves_->mnuExport_Click(); });
}

bool MainWindowCommands::ExportPlotImage(const std::string& path, int width, int height) {
    return Ask(Command::ExportPlotImage, false,
               [&] { return saves_->ExportPlotImage(path, width, height); });
}

QByteArray MainWindowCommands::PlotImageOf(PlotImageFormat format, int width, int height) {
    if (!context_.Allows(Command::PlotImageOf)) throw SabrixError("Nothing is plotted.");
    return saves_->PlotImageOf(format, width, height);
}

const WindowView& MainWindowCommands::Redraw(bool withOverlays) {
    return Run(Command::Redraw, [&] { context_.Redraw(withOverlays); });
}

const WindowView& MainWindowCommands::cmdReset_Click() {
    return Run(Command::cmdReset_Click, [&] { plot_->cmdReset_Click(); });
}

const WindowView& MainWindowCommands::cmdRefresh_Click() {
    return Run(Command::cmdRefresh_Click, [&] { plot_->cmdRefresh_Click(); });
}

const WindowView& MainWindowCommands::mnuFaint_Click() {
    return Run(Command::mnuFaint_Click, [&] { plot_->mnuFaint_Click(); });
}

const WindowView& MainWindowCommands::mnuDisc_Click() {
    return Run(Command::mnuDisc_Click, [&] { plot_->mnuDisc_Click(); });
}

const WindowView& MainWindowCommands::lstBands_ItemCheck(const std::string& band, bool shown) {
    return Run(Command::lstBands_ItemCheck, [&] { plot_->lstBands_ItemCheck(band, shown); });
}

const WindowView& MainWindowCommands::lstBands_DblClick(const std::string& band) {
    return Run(Command::lstBands_DblClick, [&] { plot_->lstBands_DblClick(band); });
}

const WindowView& MainWindowCommands::ShowOnlyBands(const std::set<std::string>& bands) {
    return Run(Command::ShowOnlyBands, [&] { plot_->ShowOnlyBands(bands); });
}

std::optional<QString> MainWindowCommands::PointTip(double x, double y) {
    if (!context_.Allows(Command::PointTip)) return std::nullopt;
    return records_->PointTip(x, y);
}

const WindowView& MainWindowCommands::cmdAllBands_Click() {
    return Run(Command::cmdAllBands_Click, [&] { plot_->cmdAllBands_Click(); });
}

const WindowView& MainWindowCommands::cmdBack_Click() {
    return Run(Command::cmdBack_Click, [&] { plot_->cmdBack_Click(); });
}

const WindowView& MainWindowCommands::cmdForward_Click() {
    return Run(Command::cmdForward_Click, [&] { plot_->cmdForward_Click(); });
}

const WindowView& MainWindowCommands::cmdBegin_Click() {
    return Run(Command::cmdBegin_Click, [&] { plot_->cmdBegin_Click(); });
}

const WindowView& MainWindowCommands::cmdEnder_Click() {
    return Run(Command::cmdEnder_Click, [&] { plot_->cmdEnder_Click(); });
}

const WindowView& MainWindowCommands::cmdUp_Click() {
    return Run(Command::cmdUp_Click, [&] { plot_->cmdUp_Click(); });
}

const WindowView& MainWindowCommands::CmdDown_Click() {
    return Run(Command::CmdDown_Click, [&] { plot_->CmdDown_Click(); });
}

const WindowView& MainWindowCommands::ShowWindow(double jdLeft, double jdRight, double magTop,
                                                 double magBottom) {
    return Run(Command::ShowWindow, [&] { plot_->ShowWindow(jdLeft, jdRight, magTop, magBottom); });
}

const WindowView& MainWindowCommands::mnuStats_Click() {
    return Run(Command::mnuStats_Click, [&] { plot_->mnuStats_Click(); });
}

const WindowView& MainWindowCommands::frmStats_Unload() {
    return Run(Command::frmStats_Unload, [&] { plot_->frmStats_Unload(); });
}

const WindowView& MainWindowCommands::cmdLocate_Click() {
    return Run(Command::cmdLocate_Click, [&] { plot_->cmdLocate_Click(); });
}

const WindowView& MainWindowCommands::cmdBox_Click() {
    return Run(Command::cmdBox_Click, [&] { plot_->cmdBox_Click(); });
}

const WindowView& MainWindowCommands::cmdZoomBox_Click() {
    return Run(Command::cmdZoomBox_Click, [&] { plot_->cmdZoomBox_Click(); });
}

const WindowView& MainWindowCommands::cmdMag_Click() {
    return Run(Command::cmdMag_Click, [&] { plot_->cmdMag_Click(); });
}

const WindowView& MainWindowCommands::cmdJDZoom_Click() {
    return Run(Command::cmdJDZoom_Click, [&] { plot_->cmdJDZoom_Click(); });
}

const WindowView& MainWindowCommands::cmdMagZoom_Click() {
    return Run(Command::cmdMagZoom_Click, [&] { plot_->cmdMagZoom_Click(); });
}

const WindowView& MainWindowCommands::picView_MouseDown(int button, int shift, double x, double y) {
    return Run(Command::picView_MouseDown, [&] { plot_->picView_MouseDown(button, shift, x, y); });
}

const WindowView& MainWindowCommands::picView_MouseMove(int button, int shift, double x, double y) {
    return Run(Command::picView_MouseMove, [&] { plot_->picView_MouseMove(button, shift, x, y); });
}

const WindowView& MainWindowCommands::picView_MouseUp(int button, int shift, double x, double y) {
    return Run(Command::picView_MouseUp, [&] { plot_->picView_MouseUp(button, shift, x, y); });
}

const WindowView& MainWindowCommands::picJDScale_MouseDown(int, int, double x, double) {
    return Run(Command::picJDScale_MouseDown, [&] { plot_->picJDScale_MouseDown(x); });
}

const WindowView& MainWindowCommands::picMagScale_MouseDown(int, int, double, double y) {
    return Run(Command::picMagScale_MouseDown, [&] { plot_->picMagScale_MouseDown(y); });
}

const WindowView& MainWindowCommands::picJDScale_MouseMove(int, int, double x, double) {
    return Run(Command::picJDScale_MouseMove, [&] { plot_->picJDScale_MouseMove(x); });
}

const WindowView& MainWindowCommands::picMagScale_MouseMove(int, int, double, double y) {
    return Run(Command::picMagScale_MouseMove, [&] { plot_->picMagScale_MouseMove(y); });
}

const WindowView& MainWindowCommands::Form_MouseMove() {
    return Run(Command::Form_MouseMove, [&] { plot_->Form_MouseMove(); });
}

const WindowView& MainWindowCommands::WheelZoom(int notches, bool magnitude, double x, double y) {
    return Run(Command::WheelZoom, [&] { plot_->WheelZoom(notches, magnitude, x, y); });
}

const WindowView& MainWindowCommands::mnuPrevious_Click() {
    return Run(Command::mnuPrevious_Click, [&] { plot_->mnuPrevious_Click(); });
}

const WindowView& MainWindowCommands::mnuDocs_Click() {
    return Run(Command::mnuDocs_Click, [&] { shell_->mnuDocs_Click(); });
}

const WindowView& MainWindowCommands::mnuViewer_Click() {
    return Run(Command::mnuViewer_Click, [&] { shell_->mnuViewer_Click(); });
}

const WindowView& MainWindowCommands::mnuManage_Click() {
    return Run(Command::mnuManage_Click, [&] { shell_->mnuManage_Click(); });
}

const WindowView& MainWindowCommands::mnuWebSite_Click() {
    return Run(Command::mnuWebSite_Click, [&] { shell_->mnuWebSite_Click(); });
}

const WindowView& MainWindowCommands::OpenURL(const QString& url) {
    return Run(Command::OpenURL, [&] { shell_->OpenURL(url); });
}

const WindowView& MainWindowCommands::cmdBin_Click() {
    return Run(Command::cmdBin_Click, [&] { analysis_->cmdBin_Click(); });
}

const WindowView& MainWindowCommands::mnuAvg_Click() {
    return Run(Command::mnuAvg_Click, [&] { analysis_->mnuAvg_Click(); });
}

const WindowView& MainWindowCommands::cmdPoly_Click() {
    return Run(Command::cmdPoly_Click, [&] { analysis_->cmdPoly_Click(); });
}

const WindowView& MainWindowCommands::mnuPoly_Click() {
    return Run(Command::mnuPoly_Click, [&] { analysis_->mnuPoly_Click(); });
}

bool MainWindowCommands::EnterBins(const BinDialogFields& fields) {
    return Ask(Command::EnterBins, false, [&] { return analysis_->EnterBins(fields); });
}

bool MainWindowCommands::PlotPolyFit(const QString& degreeText) {
    return Ask(Command::PlotPolyFit, false, [&] { return analysis_->PlotPolyFit(degreeText); });
}

const WindowView& MainWindowCommands::mnuPeriod_Click() {
    return Run(Command::mnuPeriod_Click, [&] { period_->mnuPeriod_Click(); });
}

PeriodSearchAnswer MainWindowCommands::PeriodSearch(const PeriodSearchFields& fields) {
    PeriodSearchAnswer answer{false};
    Run(Command::PeriodSearch, [&] { answer = period_->Search(fields); });
    return answer;
}

const WindowView& MainWindowCommands::PeriodWindowEvent(const PeriodogramEvent& event) {
    return Run(Command::PeriodWindowEvent, [&] { period_->PeriodWindowEvent(event); });
}

const WindowView& MainWindowCommands::CancelPeriodSearch() {
    return Run(Command::CancelPeriodSearch, [&] { period_->CancelPeriodSearch(); });
}

const WindowView& MainWindowCommands::ClosePeriodWindow() {
    return Run(Command::ClosePeriodWindow, [&] { period_->ClosePeriodWindow(); });
}

QString MainWindowCommands::ShowPhasePlot(double period, std::optional<double> epoch,
                                          int harmonics) {
    QString refusal = QStringLiteral("The plot is busy.");
    Run(Command::ShowPhasePlot,
        [&] { refusal = period_->ShowPhasePlot(period, epoch, harmonics); });
    return refusal;
}

const WindowView& MainWindowCommands::mnuTimePlot_Click() {
    return Run(Command::mnuTimePlot_Click, [&] { period_->mnuTimePlot_Click(); });
}

const WindowView& MainWindowCommands::BoxFinder(double x1, double y1, double x2, double y2) {
    return Run(Command::BoxFinder, [&] { records_->BoxFinder(x1, y1, x2, y2); });
}

const WindowView& MainWindowCommands::Finder(double x, double y) {
    return Run(Command::Finder, [&] { records_->Finder(x, y); });
}

const WindowView& MainWindowCommands::lstRecords_Click(const std::vector<int>& lines, int current) {
    return Run(Command::lstRecords_Click, [&] { records_->lstRecords_Click(lines, current); });
}

const WindowView& MainWindowCommands::cmdLog_Click() {
    return Run(Command::cmdLog_Click, [&] { records_->cmdLog_Click(); });
}

const WindowView& MainWindowCommands::cmdDelete_Click() {
    return Run(Command::cmdDelete_Click, [&] { records_->cmdDelete_Click(); });
}

const WindowView& MainWindowCommands::cmdEdit_Click() {
    return Run(Command::cmdEdit_Click, [&] { records_->cmdEdit_Click(); });
}

const WindowView& MainWindowCommands::cmdMark_Click() {
    return Run(Command::cmdMark_Click, [&] { records_->cmdMark_Click(); });
}

const WindowView& MainWindowCommands::cmdDiscrepant_Click() {
    return Run(Command::cmdDiscrepant_Click, [&] { records_->cmdDiscrepant_Click(true); });
}

const WindowView& MainWindowCommands::cmdClearDiscrepant_Click() {
    return Run(Command::cmdClearDiscrepant_Click, [&] { records_->cmdDiscrepant_Click(false); });
}

const WindowView& MainWindowCommands::mnuUndo_Click() {
    return Run(Command::mnuUndo_Click, [&] { records_->mnuUndo_Click(); });
}

const WindowView& MainWindowCommands::mnuRedo_Click() {
    return Run(Command::mnuRedo_Click, [&] { records_->mnuRedo_Click(); });
}

const WindowView& MainWindowCommands::cmd0_Click(int index) {
    return Run(Command::cmd0_Click, [&] { records_->cmd0_Click(index); });
}

const WindowView& MainWindowCommands::cmdMoreColors_Click() {
    return Run(Command::cmdMoreColors_Click, [&] { records_->cmdMoreColors_Click(); });
}

const WindowView& MainWindowCommands::cmdClose_Click() {
    return Run(Command::cmdClose_Click, [&] { records_->cmdClose_Click(); });
}

const WindowView& MainWindowCommands::frmSelect_Unload() {
    return Run(Command::frmSelect_Unload, [&] { records_->frmSelect_Unload(); });
}

bool MainWindowCommands::SaveEditedRecord(int64_t id, const std::vector<RecordField>& fields) {
    return Ask(Command::SaveEditedRecord, false,
               [&] { return records_->SaveEditedRecord(id, fields); });
}

}  // namespace sabrix

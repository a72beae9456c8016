// The commands of MainWindowCommands that put an overlay over the light curve: the averages in
// bins and the polynomial fit, and their steps in the redraw sequence.
#include <exception>

#include "analysis/Bins.h"
#include "analysis/PolyFit.h"
#include "app/MainWindowCommands.h"
#include "core/AtomicFile.h"
#include "core/ErrorText.h"
#include "core/FileSystem.h"

namespace sabrix {

namespace {

const QString kMagnificationOne = QStringLiteral("Magnification = 1 X");

}  // namespace

const WindowView& MainWindowCommands::cmdBin_Click() {
    return ShowBinsDialog(true);
}

const WindowView& MainWindowCommands::mnuAvg_Click() {
    return ShowBinsDialog(false);
}

const WindowView& MainWindowCommands::cmdPoly_Click() {
    return ShowPolyDialog();
}

const WindowView& MainWindowCommands::mnuPoly_Click() {
    return ShowPolyDialog();
}

void MainWindowCommands::SayNoStarLoaded() {
    Say(QStringLiteral("No star file is loaded."), QStringLiteral("No Star Loaded"), Buttons::OK,
        Icon::Critical);
}

const WindowView& MainWindowCommands::ShowBinsDialog(bool modal) {
    if (!Busy() && !state_.star.FileLoaded) SayNoStarLoaded();
    if (!PlotShown()) return view_;
    binsShown_ = true;
    polyShown_ = false;
    if (!analysisDialogs_) return view_;
    analysisDialogs_->showBins(
        InitialBinFields(state_), modal,
        [this](const BinDialogFields& fields) {
            const bool done = EnterBins(fields);
            host_.present(view_);
            return done;
        },
        [this] { binsShown_ = false; });
    return view_;
}

const WindowView& MainWindowCommands::ShowPolyDialog() {
    if (!Busy() && !state_.star.FileLoaded) SayNoStarLoaded();
    if (!PlotShown()) return view_;
    binsShown_ = false;
    polyShown_ = true;
    if (!analysisDialogs_) return view_;
    analysisDialogs_->showPoly(
        QString::number(state_.settings.PolyFit),
        [this](const QString& degree) {
            const bool done = PlotPolyFit(degree);
            host_.present(view_);
            return done;
        },
        [this] { polyShown_ = false; });
    return view_;
}

void MainWindowCommands::ShowFullRangeAtEnd() {
    PlotWindowState& v = state_.view;
    v.MagnificationShown = 1;
    v.WinMagBottom = v.MagFaintest + 0.5;
    v.WinMagTop = v.MagBrightest - 0.5;
    v.WinJDRight = v.JDLast + 5.0;
    v.WinJDLeft = v.WinJDRight - v.WinJDWidth;
    v.WinMagHeight = v.WinMagBottom - v.WinMagTop;
}

std::optional<std::string> MainWindowCommands::ChooseBinFile() {
    // FilePath names the loaded file; the dialog offers its folder.
    std::string folder = state_.settings.FilePath;
    if (FileExists(folder)) {
        const auto slash = folder.find_last_of('/');
        folder = slash == std::string::npos ? std::string() : folder.substr(0, slash);
    }
    FileDialogOptions options;
    options.fileName = DisplayText(folder + "/" + state_.star.StarName + "Avg.txt");
    options.filter = QStringLiteral("All Files (*.*)|*.*|");
    options.initialFolder = DisplayText(folder);
    for (;;) {
        const std::optional<QString> chosen = prompts_.saveFile(options);
        if (!chosen) return std::nullopt;
        const std::string path = PathBytes(*chosen);
        if (!FileExists(path)) return path;
        const QString question = QStringLiteral("The file ") + *chosen +
                                 QStringLiteral(" already exists.\r\nDo you want to overwrite it?");
        if (Say(question, QStringLiteral("Sabrix"), Buttons::YesNo, Icon::None) == Answer::Yes)
            return path;
    }
}

bool MainWindowCommands::EnterBins(const BinDialogFields& fields,
                                   const std::optional<std::string>& binFile) {
    if (!PlotShown()) return false;
    QString refusal;
    const std::optional<BinRequest> request = ReadBinFields(fields, refusal);
    if (!request) {
        Say(refusal, QStringLiteral("Load Bins"), Buttons::OK, Icon::Exclamation);
        return false;
    }
    binsShown_ = true;
    polyShown_ = false;
    ShowFullRangeAtEnd();
    bins_.BinJD.clear();
    bins_.BinMag.clear();
    bins_.BinSD.clear();
    bins_.Sigma = request->Sigma;
    Redraw(false);
    view_.panels[1] = kMagnificationOne;

    // LoadBind: the file first (its dialog before the computation), then the bins.
    std::optional<std::string> path = binFile;
    if (request->printBinFile && !path) path = ChooseBinFile();
    if (!request->printBinFile) path.reset();
    try {
        Job job(*this);
        LoadBins(*table_, state_.view, request->width, bins_,
                 [&job](int64_t) { job.pacer().tick(); });
    } catch (const std::exception&) {
        // As a failed computation always has: no bins, and the next redraw says so.
        bins_.BinJD.clear();
        bins_.BinMag.clear();
        bins_.BinSD.clear();
        return true;
    }
    if (path) {
        try {
            const std::string text =
                BinFileHeader(state_.star.StarName, clock_->now()) + BinFileLines(bins_);
            WriteFileAtomically(*path, [&text](QIODevice& device) { WriteAllBytes(device, text); });
        } catch (const std::exception& e) {
            SayModuleError(e, "LoadBind");
        }
    }
    if (!bins_.BinMag.empty() && state_.overlay.StatsShown) {
        view_.statsWindowOpen = true;
        view_.statsLines = BinStatsLines(FindHiLoBinMags(bins_));
    }
    DrawBins();
    return true;
}

void MainWindowCommands::DrawBins() {
    BinPlotOutcome outcome = BinPlotOutcome::Drawn;
    try {
        outcome = BinPlotter(state_.view, bins_, canvases_.picView);
    } catch (const std::exception& e) {
        SayModuleError(e, "BinPlotter");
        return;
    }
    if (outcome != BinPlotOutcome::TooFew) return;
    Say(TooFewBinsText(), QStringLiteral("Error"), Buttons::OK, Icon::None);
    binsShown_ = false;
    Redraw(false);
}

bool MainWindowCommands::PlotPolyFit(const QString& degreeText) {
    if (!PlotShown()) return false;
    binsShown_ = false;
    polyShown_ = true;
    ShowFullRangeAtEnd();
    Redraw(false);
    view_.panels[1] = kMagnificationOne;
    std::shared_ptr<RegressionObject> regression;
    try {
        Job job(*this);
        regression = LoadPoly(*table_, state_.view, ReadDegree(degreeText));
    } catch (const std::exception& e) {
        polyShown_ = false;
        polyRegression_.reset();
        SayModuleError(e, "LoadPoly");
        return false;
    }
    polyRegression_ = regression;
    if (!regression) {
        // No curve of a fit that failed, on this plot or a later one; the dialog stays for a
        // lower degree.
        polyShown_ = false;
        Say(PolyOverflowText(), QStringLiteral("Memory Error"), Buttons::OK, Icon::Critical);
        return false;
    }
    DrawPoly();
    return polyShown_;
}

std::vector<PolySample> MainWindowCommands::PolyCurve() {
    if (!polyRegression_) return {};
    return SamplePolyCurve(*polyRegression_, state_.view);
}

void MainWindowCommands::DrawPoly() {
    if (!polyRegression_) {
        polyShown_ = false;
        return;
    }
    try {
        std::vector<QString> lines = PlotPoly(state_.view, *polyRegression_, canvases_.picView);
        if (state_.overlay.StatsShown) {
            view_.statsWindowOpen = true;
            view_.statsLines = std::move(lines);
        }
    } catch (const SabrixError&) {
        polyRegression_.reset();
        polyShown_ = false;
        Say(PolyOverflowText(), QStringLiteral("Memory Error"), Buttons::OK, Icon::Critical);
        Redraw(false);
    } catch (const std::exception& e) {
        SayModuleError(e, "PlotPoly");
    }
}

}  // namespace sabrix

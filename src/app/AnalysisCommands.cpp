// SPDX-License-Identifier: GPL-3.0-or-later
// AnalysisController: the averages in bins and the polynomial fit, and their steps in the
// redraw sequence.
#include <exception>

#include "analysis/Bins.h"
#include "analysis/PolyFit.h"
#include "analysis/ShownObservations.h"
#include "app/CommandList.h"
#include "app/AnalysisController.h"
#include "core/AtomicFile.h"
#include "core/ErrorText.h"
#include "core/FileSystem.h"

namespace sabrix {

namespace {

const QString kMagnificationOne = QStringLiteral("Magnification = 1 X");
const QString kFitNeedsTime = QStringLiteral(
    "The polynomial fit is a curve in time: choose Time Plot to fit the light curve.");

}  // namespace

AnalysisController::AnalysisController(CommandContext& context) : ctx_(context) {
    ctx_.AddOverlay(*this);
    ctx_.OnForgetStar([this] {
        bins_ = Bins{};
        phaseBins_.clear();
        binsShown_ = polyShown_ = false;
        polyRegression_.reset();
    });
}

void AnalysisController::cmdBin_Click() {
    ShowBinsDialog(true);
}

void AnalysisController::mnuAvg_Click() {
    ShowBinsDialog(false);
}

void AnalysisController::cmdPoly_Click() {
    ShowPolyDialog();
}

void AnalysisController::mnuPoly_Click() {
    ShowPolyDialog();
}

void AnalysisController::ShowBinsDialog(bool modal) {
    if (!ctx_.state.star.FileLoaded) {
        ctx_.SayNoStarLoaded();
        return;
    }
    if (!ctx_.table) return;
    binsShown_ = true;
    polyShown_ = false;
    if (!analysisDialogs_) return;
    analysisDialogs_->showBins(
        ctx_.Frame().Cyclic() ? InitialPhaseBinFields(ctx_.state.settings.DefaultSigma)
                              : InitialBinFields(ctx_.state),
        modal,
        [this](const BinDialogFields& fields) {
            const bool done = ctx_.Allows(cmd::EnterBins.needs) && EnterBins(fields);
            ctx_.Present();
            return done;
        },
        [this] { binsShown_ = false; });
}

void AnalysisController::ShowPolyDialog() {
    if (!ctx_.state.star.FileLoaded) {
        ctx_.SayNoStarLoaded();
        return;
    }
    if (!ctx_.table) return;
    if (ctx_.Frame().Cyclic()) {
        ctx_.Say(kFitNeedsTime, QStringLiteral("Polynomial Fit"), Buttons::OK, Icon::Exclamation);
        return;
    }
    binsShown_ = false;
    polyShown_ = true;
    if (!analysisDialogs_) return;
    analysisDialogs_->showPoly(
        QString::number(ctx_.state.settings.PolyFit),
        [this](const QString& degree) {
            const bool done = ctx_.Allows(cmd::PlotPolyFit.needs) && PlotPolyFit(degree);
            ctx_.Present();
            return done;
        },
        [this] { polyShown_ = false; });
}

void AnalysisController::ShowFullRangeAtEnd() {
    PlotWindowState& v = ctx_.state.view;
    v.MagnificationShown = 1;
    v.WinMagBottom = v.MagFaintest + 0.5;
    v.WinMagTop = v.MagBrightest - 0.5;
    v.WinJDRight = v.JDLast + 5.0;
    v.WinJDLeft = v.WinJDRight - v.WinJDWidth;
    v.WinMagHeight = v.WinMagBottom - v.WinMagTop;
}

std::optional<std::string> AnalysisController::ChooseBinFile() {
    // FilePath names the loaded file; the dialog offers its folder.
    std::string folder = ctx_.state.settings.FilePath;
    if (FileExists(folder)) {
        const auto slash = folder.find_last_of('/');
        folder = slash == std::string::npos ? std::string() : folder.substr(0, slash);
    }
    FileDialogOptions options;
    options.fileName = DisplayText(folder + "/" + ctx_.state.star.StarName + "Avg.txt");
    options.filter = QStringLiteral("All Files (*.*)|*.*|");
    options.initialFolder = DisplayText(folder);
    for (;;) {
        const std::optional<QString> chosen = ctx_.prompts.saveFile(options);
        if (!chosen) return std::nullopt;
        const std::string path = PathBytes(*chosen);
        if (!FileExists(path)) return path;
        const QString question = QStringLiteral("The file ") + *chosen +
                                 QStringLiteral(" already exists.\r\nDo you want to overwrite it?");
        if (ctx_.Say(question, QStringLiteral("Sabrix"), Buttons::YesNo, Icon::None) == Answer::Yes)
            return path;
    }
}

bool AnalysisController::EnterBins(const BinDialogFields& fields) {
    if (ctx_.Frame().Cyclic()) return EnterPhaseBins(fields);
    QString refusal;
    const std::optional<BinRequest> request = ReadBinFields(fields, refusal);
    if (!request) {
        ctx_.Say(refusal, QStringLiteral("Load Bins"), Buttons::OK, Icon::Exclamation);
        return false;
    }
    binsShown_ = true;
    polyShown_ = false;
    ShowFullRangeAtEnd();
    bins_.BinJD.clear();
    bins_.BinMag.clear();
    bins_.BinSD.clear();
    bins_.Sigma = request->Sigma;
    ctx_.Redraw(false);
    ctx_.view.panels[1] = kMagnificationOne;

    // LoadBind: the file first (its dialog before the computation), then the bins.
    std::optional<std::string> path;
    if (request->printBinFile) path = ChooseBinFile();
    try {
        CommandContext::Job job(ctx_);
        LoadBins(*ctx_.table, ctx_.Shown(), ctx_.state.view, request->width, bins_,
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
                BinFileHeader(ctx_.state.star.StarName, ctx_.clock->now()) + BinFileLines(bins_);
            WriteFileAtomically(*path, [&text](QIODevice& device) { WriteAllBytes(device, text); });
        } catch (const std::exception& e) {
            ctx_.SayModuleError(e, "LoadBind");
        }
    }
    if (!bins_.BinMag.empty() && ctx_.state.overlay.StatsShown) {
        ctx_.view.statsWindowOpen = true;
        ctx_.view.statsLines = BinStatsLines(FindHiLoBinMags(bins_));
    }
    DrawBins();
    return true;
}

bool AnalysisController::EnterPhaseBins(const BinDialogFields& fields) {
    QString refusal;
    const std::optional<PhaseBinRequest> request = ReadPhaseBinFields(fields, refusal);
    if (!request) {
        ctx_.Say(refusal, QStringLiteral("Load Phase Bins"), Buttons::OK, Icon::Exclamation);
        return false;
    }
    // The own phase and the magnitude drawn (a residual on the residuals' plot) of each
    // observation; fainter-than estimates are limits, not magnitudes.
    const PlotFrame& frame = ctx_.Frame();
    const PlotColumns& columns = ctx_.table->Columns();
    const PointFilter shows = PointFilter::Of(ctx_.state, columns);
    const auto [jdA, jdB] = frame.RowsFor(ctx_.state.view.JDFirst, ctx_.state.view.JDLast);
    std::vector<double> phases;
    std::vector<double> mags;
    for (const ObsPoint& point : columns.InWindow(jdA, jdB)) {
        if (point.faint || !shows.Shows(point.band, point.faint, point.discrepant)) continue;
        const FramePlace place = frame.Place(point);
        if (place.count == 0) continue;
        phases.push_back(place.x[0]);
        mags.push_back(place.y);
    }
    // The phases are folded already: one cycle from 0.
    phaseBins_ = PhaseBins(phases, mags, 0, 1, request->width);
    phaseSigma_ = request->Sigma;
    binsShown_ = true;
    polyShown_ = false;
    ctx_.Redraw(false);
    DrawBins();
    return true;
}

void AnalysisController::DrawBins() {
    if (ctx_.Frame().Cyclic()) {
        PhaseBinPlotter(phaseBins_, phaseSigma_ / 2.0, ctx_.state.view, ctx_.canvases.picView);
        return;
    }
    BinPlotOutcome outcome = BinPlotOutcome::Drawn;
    try {
        outcome = BinPlotter(ctx_.state.view, bins_, ctx_.canvases.picView);
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "BinPlotter");
        return;
    }
    if (outcome != BinPlotOutcome::TooFew) return;
    ctx_.Say(TooFewBinsText(), QStringLiteral("Error"), Buttons::OK, Icon::None);
    binsShown_ = false;
    ctx_.Redraw(false);
}

bool AnalysisController::PlotPolyFit(const QString& degreeText) {
    if (ctx_.Frame().Cyclic()) {
        ctx_.Say(kFitNeedsTime, QStringLiteral("Polynomial Fit"), Buttons::OK, Icon::Exclamation);
        return false;
    }
    if (const std::optional<QString> refusal = DegreeRefusal(degreeText)) {
        ctx_.Say(*refusal, QStringLiteral("Polynomial Fit"), Buttons::OK, Icon::Exclamation);
        return false;
    }
    binsShown_ = false;
    polyShown_ = true;
    ShowFullRangeAtEnd();
    ctx_.Redraw(false);
    ctx_.view.panels[1] = kMagnificationOne;
    std::shared_ptr<RegressionObject> regression;
    try {
        CommandContext::Job job(ctx_);
        regression = LoadPoly(*ctx_.table, ctx_.Shown(), ctx_.state.view, ReadDegree(degreeText));
    } catch (const std::exception& e) {
        polyShown_ = false;
        polyRegression_.reset();
        ctx_.SayModuleError(e, "LoadPoly");
        return false;
    }
    polyRegression_ = regression;
    if (!regression) {
        // No curve of a fit that failed, on this plot or a later one; the dialog stays for a
        // lower degree.
        polyShown_ = false;
        ctx_.Say(PolyOverflowText(), QStringLiteral("Memory Error"), Buttons::OK, Icon::Critical);
        return false;
    }
    DrawPoly();
    return polyShown_;
}

std::vector<PolySample> AnalysisController::PolyCurve() const {
    if (!polyRegression_) return {};
    return SamplePolyCurve(*polyRegression_, ctx_.state.view);
}

void AnalysisController::DrawPoly() {
    if (!polyRegression_) {
        polyShown_ = false;
        return;
    }
    try {
        std::vector<QString> lines =
            PlotPoly(ctx_.state.view, *polyRegression_, ctx_.canvases.picView);
        if (ctx_.state.overlay.StatsShown) {
            ctx_.view.statsWindowOpen = true;
            ctx_.view.statsLines = std::move(lines);
        }
    } catch (const SabrixError&) {
        polyRegression_.reset();
        polyShown_ = false;
        ctx_.Say(PolyOverflowText(), QStringLiteral("Memory Error"), Buttons::OK, Icon::Critical);
        ctx_.Redraw(false);
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "PlotPoly");
    }
}

void AnalysisController::DrawOverlay() {
    if (binsShown_) DrawBins();
    if (polyShown_) DrawPoly();
}

void AnalysisController::DrawOverlayOnto(Canvas& picView) const {
    // An overlay that the window could not draw was turned off there, with its message.
    if (binsShown_ && ctx_.Frame().Cyclic())
        PhaseBinPlotter(phaseBins_, phaseSigma_ / 2.0, ctx_.state.view, picView);
    else if (binsShown_)
        BinPlotter(ctx_.state.view, bins_, picView);
    if (polyShown_ && polyRegression_) PlotPoly(ctx_.state.view, *polyRegression_, picView);
}

void AnalysisController::HideOverlay(bool forget) {
    binsShown_ = polyShown_ = false;
    if (!forget) return;
    phaseBins_.clear();
    bins_.BinJD.clear();
    bins_.BinMag.clear();
    bins_.BinSD.clear();
}

}  // namespace sabrix

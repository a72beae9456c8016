// SPDX-License-Identifier: GPL-3.0-or-later
// PeriodController: the period search, its window and the phase plot.
#include <chrono>
#include <cmath>
#include <exception>
#include <thread>

#include "analysis/ModelPlot.h"
#include "analysis/PhaseFolding.h"
#include "analysis/ShownObservations.h"
#include "app/CommandList.h"
#include "app/PeriodController.h"
#include "core/ErrorText.h"
#include "core/EventPacer.h"
#include "core/FileSystem.h"
#include "core/NumberText.h"
#include "core/TrimBlanks.h"
#include "dialogs/ImageExportDialog.h"
#include "plot/PlotImage.h"

namespace sabrix {

namespace {

const QString kTitle = QStringLiteral("Period Search");
const QString kComputing = QStringLiteral("Computing the periodogram . . .");
// The window's progress is shown at about this pace while the search runs.
constexpr std::chrono::milliseconds kPollInterval{15};
constexpr int kProgressSteps = 1000;

QString Jd(double jd) {
    return QString::fromStdString(FormatFixed(jd, 1, 4));
}

}  // namespace

PeriodController::PeriodController(CommandContext& context) : ctx_(context) {
    ctx_.AddOverlay(*this);
    ctx_.OnForgetStar([this] {
        ClosePeriodWindow();
        typed_.reset();
        fold_.reset();
    });
    // Reset, Time Plot or another fold: this fold is no longer shown.
    ctx_.OnSwitchPlot([this] { fold_.reset(); });
}

void PeriodController::DrawOverlay() {
    DrawOverlayOnto(ctx_.canvases.picView);
}

void PeriodController::DrawOverlayOnto(Canvas& picView) const {
    if (!model_) return;
    if (fold_)
        DrawModelOverPhase(*model_, fold_->epoch, ctx_.state.view, picView);
    else
        DrawModelOverTime(*model_, ctx_.state.view, picView);
}

PeriodObservations PeriodController::Observations() const {
    const PlotWindowState& w = ctx_.LightCurveWindow();
    return ShownObservations(ctx_.table->Columns(), ctx_.state, w.WinJDLeft, w.WinJDRight);
}

void PeriodController::mnuPeriod_Click() {
    if (!ctx_.state.star.FileLoaded) {
        ctx_.SayNoStarLoaded();
        return;
    }
    if (!ctx_.table) return;
    const PeriodObservations shown = Observations();
    // The data are refused before the dialog: no range would give them a periodogram.
    const PeriodDataOutcome data = PeriodData::Make(shown.times, shown.mags, shown.sigmas, false);
    if (!data.data) {
        ctx_.Say(data.refusal, kTitle, Buttons::OK, Icon::Exclamation);
        return;
    }
    PeriodSearchFields fields;
    const PeriodRange defaults = DefaultPeriodRange(shown.times);
    fields.defaults = PeriodRangeText(defaults);
    fields.range = fields.defaults;
    fields.useUncertainties = true;
    if (typed_) {
        fields.range = typed_->range;
        fields.harmonics = typed_->harmonics;
        fields.useUncertainties = typed_->useUncertainties;
    }
    fields.uncertaintiesAvailable = UncertaintiesUsable(shown.sigmas, shown.times.size());
    fields.summary = QStringLiteral("%1 observations shown, JD %2 to %3")
                         .arg(shown.times.size())
                         .arg(Jd(shown.times.front() + ctx_.state.star.TimeOffset))
                         .arg(Jd(shown.times.back() + ctx_.state.star.TimeOffset));
    if (defaults.minimumRaised) fields.summary += QLatin1Char('\n') + RaisedMinimumText(defaults);
    if (!dialogs_) return;
    std::optional<PeriodSearchFields> accepted;
    const double span = data.data->span();
    dialogs_->showSearch(fields, [this, span, &accepted](const PeriodSearchFields& typed) {
        if (!ctx_.Allows(cmd::PeriodSearch.needs)) return PeriodSearchAnswer{false};
        const FrequencyGridOutcome grid = ReadPeriodRange(typed.range, span, typed.defaults);
        if (!grid.grid) {
            ctx_.Say(grid.refusal, kTitle, Buttons::OK, Icon::Exclamation);
            ctx_.Present();
            return PeriodSearchAnswer{false, grid.field};
        }
        accepted = typed;
        return PeriodSearchAnswer{};
    });
    // The search runs once the dialog has gone.
    if (accepted && ctx_.Allows(cmd::PeriodSearch.needs)) Search(*accepted);
}

PeriodSearchAnswer PeriodController::Search(const PeriodSearchFields& fields) {
    PeriodObservations shown = Observations();
    const PeriodDataOutcome data = PeriodData::Make(shown.times, shown.mags, shown.sigmas, false);
    if (!data.data) {
        ctx_.Say(data.refusal, kTitle, Buttons::OK, Icon::Exclamation);
        return PeriodSearchAnswer{};
    }
    const FrequencyGridOutcome grid =
        ReadPeriodRange(fields.range, data.data->span(), fields.defaults);
    if (!grid.grid) {
        ctx_.Say(grid.refusal, kTitle, Buttons::OK, Icon::Exclamation);
        return PeriodSearchAnswer{false, grid.field};
    }
    typed_ = fields;
    job_.Cancel();
    const QString name = ctx_.state.star.ThreeColumnFormat
                             ? DisplayText(ctx_.state.star.ThreeColumnFilePath)
                             : DisplayText(TrimBlanks(ctx_.state.star.StarName)).toUpper();
    analysis_ = std::make_unique<PeriodAnalysis>(
        name, std::move(shown), fields.useUncertainties, *grid.grid, ctx_.state.star.TimeOffset,
        fields.harmonics, fields.pdm ? SearchMethod::PhaseDispersion : SearchMethod::LombScargle);
    if (dialogs_)
        dialogs_->showResult(analysis_->View(true, kComputing, 0),
                             [this](const PeriodogramEvent& event) {
                                 using Kind = PeriodogramEvent::Kind;
                                 if (event.kind == Kind::Cancel) {
                                     if (ctx_.Allows(cmd::CancelPeriodSearch.needs))
                                         CancelPeriodSearch();
                                 } else if (event.kind == Kind::Close) {
                                     if (ctx_.Allows(cmd::ClosePeriodWindow.needs))
                                         ClosePeriodWindow();
                                 } else if (ctx_.Allows(cmd::PeriodWindowEvent.needs)) {
                                     PeriodWindowEvent(event);
                                 }
                                 ctx_.Present();
                             });
    RunSearch();
    return PeriodSearchAnswer{};
}

void PeriodController::RunSearch() {
    PeriodDataOutcome data = analysis_->CurrentData();
    if (!data.data) {
        ctx_.Say(data.refusal, kTitle, Buttons::OK, Icon::Exclamation);
        if (!analysis_->Abandon()) ClosePeriodWindow();
        UpdateWindow();
        return;
    }
    try {
        job_.Start(std::make_shared<const PeriodData>(std::move(*data.data)), analysis_->grid(),
                   analysis_->SearchOptions());
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "PeriodSearch");
        return;
    }
    // The search runs on its own thread while the main window stays usable: the event loop
    // turns without the view being busy, so navigation, zooms, the readout and the band panel
    // work. A command that starts another search or closes this one moves the generation on;
    // this loop then leaves the window to it.
    const uint64_t generation = ++searchGeneration_;
    PeriodSearchJob::Status status;
    {
        EventPacer pacer([this] {
            ctx_.host.present(ctx_.view);
            ctx_.host.yield();
        });
        for (;;) {
            status = job_.Poll();
            if (generation != searchGeneration_) {
                if (!job_.Running()) ctx_.ShowLoadProgress();
                return;
            }
            if (status.state != PeriodSearchJob::Status::State::Running) break;
            // A redraw meanwhile shows its own progress and then the fill's: set ours again.
            WindowView& v = ctx_.view;
            v.periodSearching = true;
            v.progressCaption = kComputing;
            v.captionShown = v.progressBarShown = v.cancelShown = true;
            v.progressMaximum = kProgressSteps;
            v.progressValue = static_cast<int>(status.fraction * kProgressSteps);
            if (dialogs_ && analysis_)
                dialogs_->updateResult(analysis_->View(true, kComputing, status.fraction));
            pacer.look();
            std::this_thread::sleep_for(kPollInterval);
        }
    }
    ctx_.view.periodSearching = false;
    ctx_.view.progressValue = 0;
    // The progress controls are the fill's again, or none.
    ctx_.ShowLoadProgress();
    if (!analysis_) return;
    using State = PeriodSearchJob::Status::State;
    if (status.state == State::Done && status.result) {
        analysis_->Adopt(std::move(*status.result));
    } else {
        if (status.state == State::Failed)
            ctx_.Say(status.failure, kTitle, Buttons::OK, Icon::Critical);
        // Cancelled or failed: the step before, or no window when there is none.
        if (!analysis_->Abandon()) {
            ClosePeriodWindow();
            return;
        }
    }
    UpdateWindow();
}

void PeriodController::UpdateWindow() {
    if (dialogs_ && analysis_) dialogs_->updateResult(analysis_->View(false, QString(), 0));
}

void PeriodController::PeriodWindowEvent(const PeriodogramEvent& event) {
    // While a search runs the window offers only Cancel and Close.
    if (!analysis_ || job_.Running()) return;
    using Kind = PeriodogramEvent::Kind;
    switch (event.kind) {
        case Kind::FrequencyAxis:
            analysis_->SetAxis(PeriodogramAxis::Frequency);
            break;
        case Kind::PeriodAxis:
            analysis_->SetAxis(PeriodogramAxis::Period);
            break;
        case Kind::Window:
            analysis_->ShowWindow(event.checked);
            break;
        case Kind::Reset:
            analysis_->ResetView();
            break;
        case Kind::ZoomBox:
            analysis_->ZoomToBox(event.x1, event.y1, event.x2, event.y2);
            break;
        case Kind::ChoosePeak:
            analysis_->ChoosePeak(event.peak);
            break;
        case Kind::FoldPeak:
            analysis_->ChoosePeak(event.peak);
            if (const std::optional<PeriodogramPeak> peak = analysis_->ChosenPeak())
                FoldAt(peak->period, std::nullopt);
            break;
        case Kind::Fold: {
            const FoldOutcome fold = analysis_->ReadFold(event.period, event.epoch);
            if (!fold.fold)
                ctx_.Say(fold.refusal, QStringLiteral("Phase Plot"), Buttons::OK,
                         Icon::Exclamation);
            else if (event.epoch.trimmed().isEmpty())
                FoldAt(fold.fold->period, std::nullopt);
            else
                // A typed epoch is a time as the scale shows it, the offset added.
                FoldAt(fold.fold->period, fold.fold->epoch - ctx_.state.star.TimeOffset);
            break;
        }
        case Kind::ModelHarmonics:
            analysis_->SetModelHarmonics(event.harmonics);
            RefitModel();
            break;
        case Kind::ShowModel:
            analysis_->ShowModel(event.checked);
            RefitModel();
            break;
        case Kind::Remove: {
            const QString refusal = analysis_->RemoveChosen();
            if (!refusal.isEmpty()) {
                ctx_.Say(refusal, kTitle, Buttons::OK, Icon::Exclamation);
                break;
            }
            RunSearch();
            return;
        }
        case Kind::StepBack:
            analysis_->StepBack();
            break;
        case Kind::ExportCsv:
            ExportCsv();
            break;
        case Kind::ExportImage:
            ExportImage();
            break;
        case Kind::Cancel:
            CancelPeriodSearch();
            break;
        case Kind::Close:
            ClosePeriodWindow();
            return;
    }
    UpdateWindow();
}

void PeriodController::CancelPeriodSearch() {
    job_.Cancel();
}

void PeriodController::ClosePeriodWindow() {
    ++searchGeneration_;
    ctx_.view.periodSearching = false;
    job_.Cancel();
    if (dialogs_) dialogs_->closeResult();
    analysis_.reset();
    if (model_) {
        model_.reset();
        ctx_.Redraw(true);
    }
}

void PeriodController::ShowFold(const PhaseFold& fold, std::vector<Residual> residuals) {
    if (residuals.empty())
        ctx_.ShowFrame(std::make_shared<PhaseFrame>(fold));
    else
        ctx_.ShowFrame(
            std::make_shared<PhaseFrame>(fold, std::move(residuals), analysis_->RemovedPeriods()));
    fold_ = fold;
    DrawOverlay();
}

void PeriodController::FoldAt(double period, std::optional<double> epoch) {
    const PeriodObservations& shown = analysis_->observations();
    model_.reset();
    if (analysis_->modelShown()) model_ = analysis_->ModelOf(period);
    // Phase 0 at the model's maximum light, or else at the brightest observation.
    const double e = epoch ? *epoch
                     : model_
                         ? ShapeOfModel(*model_, shown.times[shown.times.size() / 2]).epochOfMaximum
                         : analysis_->DefaultEpoch();
    ShowFold(PhaseFold{period, e, shown.jdLeft, shown.jdRight}, analysis_->Residuals());
}

void PeriodController::RefitModel() {
    // The model follows the fold shown: its harmonics, or drawn or not.
    const bool had = model_.has_value();
    model_.reset();
    if (analysis_->modelShown() && fold_) model_ = analysis_->ModelOf(fold_->period);
    if (had || model_) ctx_.Redraw(true);
}

QString PeriodController::ShowPhasePlot(double period, std::optional<double> epoch, int harmonics) {
    QString refusal;
    const PeriodObservations shown = Observations();
    if (!(period >= kShortestPeriod && period <= kLongestPeriod))
        refusal = QStringLiteral("Period: type a number of days from 0.0001 to 10,000,000.");
    else if (epoch && !std::isfinite(*epoch))
        refusal = QStringLiteral("Epoch: type a Julian Date.");
    else if (shown.times.empty())
        refusal = QStringLiteral("No observation is shown: there is nothing to fold.");
    else if (epoch && std::fabs(*epoch - shown.times[shown.times.size() / 2]) > kLongestPeriod)
        refusal = QStringLiteral("Epoch: it must be within 10,000,000 days of the observations.");
    std::optional<FourierModel> model;
    if (refusal.isEmpty() && harmonics > 0) {
        const PeriodDataOutcome data =
            PeriodData::Make(shown.times, shown.mags, shown.sigmas, true);
        if (data.data)
            model = FitFourierModel(*data.data, 1 / period, harmonics);
        else
            refusal = data.refusal;
    }
    if (!refusal.isEmpty()) {
        ctx_.Say(refusal, QStringLiteral("Phase Plot"), Buttons::OK, Icon::Exclamation);
        return refusal;
    }
    const double e = epoch ? *epoch
                     : model
                         ? ShapeOfModel(*model, shown.times[shown.times.size() / 2]).epochOfMaximum
                         : BrightestEpoch(shown.times, shown.mags);
    model_ = model;
    ShowFold(PhaseFold{period, e, shown.jdLeft, shown.jdRight});
    return QString();
}

void PeriodController::mnuTimePlot_Click() {
    // Only the model is still shown.
    if (ctx_.ShowLightCurve()) ctx_.Redraw(true);
}

}  // namespace sabrix

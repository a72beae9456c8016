// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/PeriodAnalysis.h"

#include <algorithm>
#include <cmath>

#include "analysis/PeakSignificance.h"
#include "core/NumberText.h"

namespace sabrix {

namespace {

QString Fixed(double value, int decimals) {
    return QString::fromStdString(FormatFixed(value, 1, decimals));
}

// The picture of one step as it stands: the result, the axis and zoom, the peak chosen.
QString DrawStep(const QString& starName, const PeriodSearchResult* result, size_t step,
                 const PeriodogramPlot& plot, bool windowShown, int chosen, Canvas& view,
                 Canvas& across, Canvas& power) {
    if (result) {
        plot.Draw(result->periodogram, windowShown, result->peaks, chosen, view, across, power);
    } else {
        view.Cls();
        across.Cls();
        power.Cls();
    }
    const bool pdm = result && result->method == SearchMethod::PhaseDispersion;
    const QString name = pdm ? QStringLiteral("phase dispersion") : QStringLiteral("periodogram");
    const QString what =
        step == 0 ? name + QStringLiteral(" of the observations")
                  : QStringLiteral(
                        "%3 of the residuals after %1 %2 "
                        "removed")
                        .arg(step)
                        .arg(step == 1 ? QStringLiteral("period") : QStringLiteral("periods"))
                        .arg(name);
    return starName + QStringLiteral(" - ") + what +
           (pdm ? QStringLiteral(", theta (smaller is better) against ")
                : QStringLiteral(", power against ")) +
           plot.AxisCaption().toLower();
}

}  // namespace

QString WeightingText(Weighting weighting, bool asked) {
    if (weighting == Weighting::Uncertainties)
        return QStringLiteral("weighted by 1/σ² of each uncertainty");
    if (asked) return QStringLiteral("equal weights (not every observation has an uncertainty)");
    return QStringLiteral("equal weights (uncertainties not used)");
}

QString ModelText(const FourierModel& model, const ModelShape& shape, double timeOffset) {
    return QStringLiteral(
               "Model of P = %1 d, %2 %3: %4 mag peak to peak, maximum at JD %5, rms %6 mag")
        .arg(PeriodText(model.period()))
        .arg(model.harmonics())
        .arg(model.harmonics() == 1 ? QStringLiteral("harmonic") : QStringLiteral("harmonics"))
        .arg(Fixed(shape.peakToPeak, 3))
        .arg(Fixed(shape.epochOfMaximum + timeOffset, 4))
        .arg(Fixed(model.rms, 3));
}

PeriodAnalysis::PeriodAnalysis(QString starName, PeriodObservations observations,
                               bool useUncertainties, const FrequencyGrid& grid, double timeOffset,
                               int harmonics, SearchMethod method)
    : starName_(std::move(starName)),
      observations_(std::move(observations)),
      useUncertainties_(useUncertainties),
      grid_(grid),
      timeOffset_(timeOffset),
      method_(method),
      history_(observations_.times, observations_.mags, observations_.sigmas),
      harmonics_(std::clamp(harmonics, 1, kMaxHarmonics)),
      modelHarmonics_(harmonics_) {}

QString PeriodAnalysis::ModelTextOf(double period) const {
    // A fit costs a pass over every observation: kept while the period and harmonics stay.
    if (modelText_ && modelText_->period == period && modelText_->harmonics == modelHarmonics_)
        return modelText_->text;
    QString text;
    if (const std::optional<FourierModel> model = ModelOf(period))
        text = ModelText(*model,
                         ShapeOfModel(*model, observations_.times[observations_.times.size() / 2]),
                         timeOffset_);
    modelText_ = ModelTextCache{period, modelHarmonics_, text};
    return text;
}

void PeriodAnalysis::SetModelHarmonics(int harmonics) {
    modelHarmonics_ = std::clamp(harmonics, 1, kMaxHarmonics);
}

std::optional<FourierModel> PeriodAnalysis::ModelOf(double period) const {
    const PeriodDataOutcome data = PeriodData::Make(observations_.times, observations_.mags,
                                                    observations_.sigmas, useUncertainties_);
    if (!data.data || !(period > 0)) return std::nullopt;
    return FitFourierModel(*data.data, 1 / period, modelHarmonics_);
}

PeriodDataOutcome PeriodAnalysis::CurrentData() const {
    return PeriodData::Make(history_.times(), history_.mags(), history_.sigmas(),
                            useUncertainties_);
}

PeriodSearchOptions PeriodAnalysis::SearchOptions() const {
    PeriodSearchOptions options;
    // The window function costs no more than the sums the power needs; it is kept so that
    // showing it needs no second search.
    options.periodogram.window = method_ == SearchMethod::LombScargle;
    options.method = method_;
    options.periodogram.harmonics = harmonics_;
    return options;
}

void PeriodAnalysis::Adopt(PeriodSearchResult result) {
    if (!AwaitsResult()) return;
    results_.push_back(std::make_shared<const PeriodSearchResult>(std::move(result)));
    ResetView();
    chosen_ = results_.back()->peaks.empty() ? -1 : 0;
}

bool PeriodAnalysis::Abandon() {
    if (!AwaitsResult()) return true;
    if (history_.removed().empty()) return false;
    StepBack();
    return true;
}

const PeriodSearchResult* PeriodAnalysis::current() const {
    if (AwaitsResult()) return nullptr;
    return results_.back().get();
}

void PeriodAnalysis::ResetView() {
    if (const PeriodSearchResult* result = current()) plot_.Reset(result->periodogram);
}

bool PeriodAnalysis::ZoomToBox(double x1, double y1, double x2, double y2) {
    return current() != nullptr && plot_.ZoomToBox(x1, y1, x2, y2);
}

void PeriodAnalysis::ChoosePeak(int peak) {
    const PeriodSearchResult* result = current();
    chosen_ = result && peak >= 0 && peak < static_cast<int>(result->peaks.size()) ? peak : -1;
}

std::optional<PeriodogramPeak> PeriodAnalysis::ChosenPeak() const {
    const PeriodSearchResult* result = current();
    if (!result || chosen_ < 0) return std::nullopt;
    return result->peaks[static_cast<size_t>(chosen_)];
}

QString PeriodAnalysis::RemoveChosen() {
    const std::optional<PeriodogramPeak> peak = ChosenPeak();
    if (!peak) return QStringLiteral("Choose a peak in the table first.");
    const PrewhiteningHistory::Outcome outcome =
        history_.Remove(peak->frequency, useUncertainties_, modelHarmonics_);
    if (!outcome.fit) return outcome.refusal;
    const PeriodDataOutcome residuals = CurrentData();
    if (!residuals.data) {
        history_.StepBack();
        return residuals.refusal;
    }
    chosen_ = -1;
    return QString();
}

bool PeriodAnalysis::StepBack() {
    const std::vector<FourierModel> removed = history_.removed();
    if (!history_.StepBack()) return false;
    // The step removed may not have had its periodogram yet.
    results_.resize(history_.removed().size() + 1);
    ResetView();
    chosen_ = -1;
    // The peak whose model was removed, chosen again.
    if (const PeriodSearchResult* result = current()) {
        const double frequency = removed.back().frequency;
        double nearest = INFINITY;
        for (size_t i = 0; i < result->peaks.size(); ++i) {
            const double distance = std::fabs(result->peaks[i].frequency - frequency);
            if (distance < nearest) {
                nearest = distance;
                chosen_ = static_cast<int>(i);
            }
        }
    }
    return true;
}

std::vector<double> PeriodAnalysis::RemovedPeriods() const {
    std::vector<double> periods;
    for (const FourierModel& fit : history_.removed()) periods.push_back(1 / fit.frequency);
    return periods;
}

std::vector<Residual> PeriodAnalysis::Residuals() const {
    std::vector<Residual> residuals;
    if (history_.removed().empty()) return residuals;
    const std::vector<double>& mags = history_.mags();
    const std::vector<int64_t>& ids = observations_.ids;
    for (size_t i = 0; i < mags.size() && i < ids.size(); ++i)
        residuals.push_back(Residual{ids[i], mags[i]});
    return residuals;
}

double PeriodAnalysis::DefaultEpoch() const {
    return BrightestEpoch(observations_.times, observations_.mags);
}

FoldOutcome PeriodAnalysis::ReadFold(const QString& period, const QString& epoch) const {
    return ReadFoldFields(period, epoch, DefaultEpoch());
}

PeriodogramWindowView PeriodAnalysis::View(bool computing, const QString& caption,
                                           double progress) const {
    PeriodogramWindowView view;
    view.title = QStringLiteral("Period Search - ") + starName_;
    const PeriodObservations& o = observations_;
    const auto [first, last] = std::minmax_element(o.times.begin(), o.times.end());
    const bool pdm = method_ == SearchMethod::PhaseDispersion;
    const Weighting weighting = useUncertainties_ && UncertaintiesUsable(o.sigmas, o.times.size())
                                    ? Weighting::Uncertainties
                                    : Weighting::Equal;
    // Theta counts every observation once, whatever its uncertainty.
    view.summary = QStringLiteral("%1 observations, JD %2 to %3, %4")
                       .arg(o.times.size())
                       .arg(o.times.empty() ? QString() : Fixed(*first + timeOffset_, 4))
                       .arg(o.times.empty() ? QString() : Fixed(*last + timeOffset_, 4))
                       .arg(pdm ? QStringLiteral("equal weights (phase dispersion uses no "
                                                 "uncertainties)")
                                : WeightingText(weighting, useUncertainties_));
    const size_t step = history_.removed().size();
    const QString name = pdm ? QStringLiteral("Phase dispersion (theta, smaller is better)")
                             : QStringLiteral("Periodogram");
    view.heading = step == 0
                       ? name + QStringLiteral(" of the observations")
                       : QStringLiteral("%3 of the residuals after %1 %2 removed")
                             .arg(step)
                             .arg(step == 1 ? QStringLiteral("period") : QStringLiteral("periods"))
                             .arg(name);
    if (pdm) {
        view.valueCaption = QStringLiteral("Theta (smaller is better)");
        view.windowAvailable = false;
    }
    view.axisCaption = plot_.AxisCaption();
    view.periodAxis = plot_.axis() == PeriodogramAxis::Period;
    view.windowShown = windowShown_;
    const PeriodSearchResult* result = current();
    if (result) {
        for (const PeriodogramPeak& peak : result->peaks)
            view.peaks.push_back({Fixed(peak.period, 7), Fixed(peak.frequency, 7),
                                  Fixed(peak.power, 4), Fixed(peak.amplitude, 4),
                                  std::isnan(peak.fap)
                                      ? QString()
                                      : QString::fromStdString(FalseAlarmText(peak.fap)),
                                  QString::fromStdString(UncertaintyText(peak.sigmaPeriod))});
        view.chosen = chosen_;
        if (chosen_ >= 0) {
            const double period = result->peaks[static_cast<size_t>(chosen_)].period;
            view.foldPeriod = PeriodText(period);
            view.model = ModelTextOf(period);
        }
        for (const QString& note : {NoSignificantPeriodText(*result), EdgeMaximumText(*result)})
            if (!note.isEmpty()) view.notes.push_back(note);
    }
    if (o.severalBands)
        view.notes.push_back(
            QStringLiteral("Bands with different zero points make false peaks: "
                           "show one band in the band panel."));
    view.modelHarmonics = modelHarmonics_;
    view.modelShown = modelShown_;
    const std::vector<FourierModel> removed = history_.removed();
    for (size_t i = 0; i < removed.size(); ++i) {
        const ModelShape shape = ShapeOfModel(removed[i], removed[i].referenceTime);
        view.removed.push_back(QStringLiteral("%1. P = %2 d, %3 %4, %5 mag peak to peak, power %6")
                                   .arg(i + 1)
                                   .arg(PeriodText(removed[i].period()))
                                   .arg(removed[i].harmonics())
                                   .arg(removed[i].harmonics() == 1 ? QStringLiteral("harmonic")
                                                                    : QStringLiteral("harmonics"))
                                   .arg(Fixed(shape.peakToPeak, 4))
                                   .arg(Fixed(removed[i].power, 4)));
    }
    view.computing = computing;
    view.progressCaption = caption;
    view.progress = progress;
    view.canRemove = !computing && chosen_ >= 0 && result != nullptr;
    view.canStepBack = !computing && !removed.empty();
    view.canExport = !computing && result != nullptr;
    // The picture as it stands now, kept by the window for its redraws (a resize) until the
    // next view: it shares the result and copies the rest.
    view.draw = [starName = starName_, shared = result ? results_.back() : nullptr, step,
                 plot = plot_, windowShown = windowShown_,
                 chosen = chosen_](Canvas& plotCanvas, Canvas& across, Canvas& power) {
        return DrawStep(starName, shared.get(), step, plot, windowShown, chosen, plotCanvas, across,
                        power);
    };
    return view;
}

QString PeriodAnalysis::Draw(Canvas& plot, Canvas& across, Canvas& power) const {
    return DrawStep(starName_, current(), history_.removed().size(), plot_, windowShown_, chosen_,
                    plot, across, power);
}

}  // namespace sabrix

#include "analysis/PeriodAnalysis.h"

#include <algorithm>

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

PeriodAnalysis::PeriodAnalysis(QString starName, PeriodObservations observations,
                               bool useUncertainties, const FrequencyGrid& grid, double timeOffset,
                               SearchMethod method)
    : starName_(std::move(starName)),
      observations_(std::move(observations)),
      useUncertainties_(useUncertainties),
      grid_(grid),
      timeOffset_(timeOffset),
      method_(method),
      history_(observations_.times, observations_.mags, observations_.sigmas) {}

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
        history_.Remove(peak->frequency, useUncertainties_);
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
    if (!history_.StepBack()) return false;
    // The step removed may not have had its periodogram yet.
    results_.resize(history_.removed().size() + 1);
    ResetView();
    chosen_ = -1;
    return true;
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
    const Weighting weighting = useUncertainties_ && UncertaintiesUsable(o.sigmas, o.times.size())
                                    ? Weighting::Uncertainties
                                    : Weighting::Equal;
    view.summary = QStringLiteral("%1 observations, JD %2 to %3, %4")
                       .arg(o.times.size())
                       .arg(o.times.empty() ? QString() : Fixed(*first + timeOffset_, 4))
                       .arg(o.times.empty() ? QString() : Fixed(*last + timeOffset_, 4))
                       .arg(WeightingText(weighting, useUncertainties_));
    const size_t step = history_.removed().size();
    const bool pdm = method_ == SearchMethod::PhaseDispersion;
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
                                  Fixed(peak.power, 4), Fixed(peak.amplitude, 4)});
        view.chosen = chosen_;
        if (chosen_ >= 0)
            view.foldPeriod = PeriodText(result->peaks[static_cast<size_t>(chosen_)].period);
    }
    const std::vector<SinusoidFit> removed = history_.removed();
    for (size_t i = 0; i < removed.size(); ++i)
        view.removed.push_back(QStringLiteral("%1. P = %2 d, semi-amplitude %3 mag, power %4")
                                   .arg(i + 1)
                                   .arg(PeriodText(1 / removed[i].frequency))
                                   .arg(Fixed(removed[i].amplitude(), 4))
                                   .arg(Fixed(removed[i].power, 4)));
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

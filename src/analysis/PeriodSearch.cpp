// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/PeriodSearch.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>

#include "analysis/PeakSignificance.h"
#include "analysis/PhaseDispersion.h"
#include "core/SabrixError.h"

namespace sabrix {

namespace {
QString NotEnoughMemoryText() {
    return QStringLiteral(
        "There is not enough memory for this periodogram. Type a longer minimum period or "
        "fewer samples per peak.");
}
}  // namespace

std::optional<PeriodSearchResult> RunPeriodSearch(const PeriodData& data, const FrequencyGrid& grid,
                                                  const PeriodSearchOptions& options,
                                                  JobControl& control) {
    if (options.method == SearchMethod::PhaseDispersion) {
        control.SetTotal(PdmCost(data.size(), grid, options.peakCount));
        std::optional<Periodogram> theta =
            ComputePdm(data, grid, options.periodogram.workers, control);
        if (!theta) return std::nullopt;
        std::optional<std::vector<PeriodogramPeak>> minima =
            FindPdmMinima(data, *theta, options.peakCount, control);
        if (!minima) return std::nullopt;
        PeriodSearchResult result;
        result.periodogram = std::move(*theta);
        result.peaks = std::move(*minima);
        // Theta has no false-alarm probability nor period uncertainty of its own.
        for (PeriodogramPeak& peak : result.peaks) peak.sigmaPeriod = NAN;
        result.method = SearchMethod::PhaseDispersion;
        return result;
    }
    const int harmonics = options.periodogram.harmonics;
    control.SetTotal(PeriodogramCost(data.size(), grid, options.periodogram.method, harmonics) +
                     PeakRefinementCost(data.size(), options.peakCount, harmonics));
    std::optional<Periodogram> periodogram =
        ComputePeriodogram(data, grid, options.periodogram, control);
    if (!periodogram) return std::nullopt;
    std::optional<std::vector<PeriodogramPeak>> peaks = FindPeaks(
        data, *periodogram, options.peakCount, options.periodogram.workers, control, harmonics);
    if (!peaks) return std::nullopt;
    PeriodSearchResult result;
    result.harmonics = harmonics;
    const std::vector<double>& power = periodogram->power;
    if (!power.empty()) {
        const auto highest = std::max_element(power.begin(), power.end()) - power.begin();
        result.maximumAtEdge =
            highest == 0 || highest + 1 == static_cast<std::ptrdiff_t>(power.size());
    }
    result.periodogram = std::move(*periodogram);
    result.peaks = std::move(*peaks);
    result.weighting = data.weighting();
    const double fMax = grid.at(grid.count - 1);
    const double timeVariance = TimeVariance(data);
    for (PeriodogramPeak& peak : result.peaks) {
        if (harmonics == 1)
            peak.fap = BaluevFalseAlarm(peak.power, data.size(), fMax, timeVariance);
        const double rms = std::sqrt(std::max(0.0, data.variance() * (1 - peak.power)));
        peak.sigmaPeriod =
            PeriodUncertainty(peak.period, peak.amplitude, rms, data.size(), data.span());
    }
    return result;
}

QString NoSignificantPeriodText(const PeriodSearchResult& result) {
    if (result.peaks.empty() || !(result.peaks.front().fap > kSignificantFap)) return QString();
    return QStringLiteral("No significant period in this range (false-alarm probability %1)")
        .arg(QString::fromStdString(FalseAlarmText(result.peaks.front().fap)));
}

QString EdgeMaximumText(const PeriodSearchResult& result) {
    if (!result.maximumAtEdge) return QString();
    return QStringLiteral(
        "The highest power lies at the edge of the range: the period may be outside it.");
}

PeriodSearchJob::~PeriodSearchJob() {
    Cancel();
}

void PeriodSearchJob::Start(std::shared_ptr<const PeriodData> data, const FrequencyGrid& grid,
                            const PeriodSearchOptions& options) {
    if (thread_.joinable()) throw SabrixError("A period search is running already.");
    control_ = std::make_unique<JobControl>();
    finished_.store(false);
    result_.reset();
    failure_.clear();
    JobControl* control = control_.get();
    thread_ = std::thread([this, data = std::move(data), grid, options, control] {
        try {
            result_ = RunPeriodSearch(*data, grid, options, *control);
        } catch (const std::bad_alloc&) {
            failure_ = NotEnoughMemoryText();
        } catch (const std::length_error&) {
            failure_ = NotEnoughMemoryText();
        } catch (const std::exception& e) {
            failure_ = QString::fromStdString(e.what());
        }
        finished_.store(true, std::memory_order_release);
    });
}

PeriodSearchJob::Status PeriodSearchJob::Collect() {
    thread_.join();
    Status status;
    if (!failure_.isEmpty()) {
        status.state = Status::State::Failed;
        status.failure = failure_;
    } else if (result_) {
        status.state = Status::State::Done;
        status.fraction = 1;
        status.result = std::move(result_);
    }
    result_.reset();
    failure_.clear();
    return status;
}

PeriodSearchJob::Status PeriodSearchJob::Poll() {
    if (!thread_.joinable()) return {};
    if (finished_.load(std::memory_order_acquire)) return Collect();
    Status status;
    status.state = Status::State::Running;
    status.fraction = control_->fraction();
    return status;
}

PeriodSearchJob::Status PeriodSearchJob::Wait() {
    if (!thread_.joinable()) return {};
    return Collect();
}

void PeriodSearchJob::Cancel() {
    if (!thread_.joinable()) return;
    control_->Cancel();
    thread_.join();
    result_.reset();
    failure_.clear();
}

}  // namespace sabrix

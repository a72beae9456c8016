// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/Prewhitening.h"

#include <numbers>

#include "analysis/LombScargle.h"

namespace sabrix {

double SinusoidFit::At(double t) const {
    double cycles = frequency * (t - referenceTime);
    cycles -= std::nearbyint(cycles);
    const double angle = 2 * std::numbers::pi * cycles;
    return offset + a * std::cos(angle) + b * std::sin(angle);
}

SinusoidFit FitSinusoid(const PeriodData& data, double frequency) {
    const TrigSums sums = ExactTrigSums(data, frequency);
    const LombScargleTerms terms = SolveLombScargle(sums, data.variance());
    SinusoidFit fit;
    fit.frequency = frequency;
    fit.referenceTime = data.referenceTime();
    fit.a = terms.a;
    fit.b = terms.b;
    // The fit is y ~ a (cos - C) + b (sin - S) about the weighted mean.
    fit.offset = data.meanMag() - terms.a * sums.c - terms.b * sums.s;
    fit.power = terms.power;
    return fit;
}

std::vector<double> SubtractSinusoid(std::span<const double> times, std::span<const double> mags,
                                     const SinusoidFit& fit) {
    std::vector<double> residuals(std::min(times.size(), mags.size()));
    for (size_t i = 0; i < residuals.size(); ++i) residuals[i] = mags[i] - fit.At(times[i]);
    return residuals;
}

PrewhiteningHistory::PrewhiteningHistory(std::vector<double> times, std::vector<double> mags,
                                         std::vector<double> sigmas)
    : times_(std::move(times)), mags_(std::move(mags)), sigmas_(std::move(sigmas)) {}

std::vector<SinusoidFit> PrewhiteningHistory::removed() const {
    std::vector<SinusoidFit> fits;
    for (const Step& step : steps_) fits.push_back(step.fit);
    return fits;
}

PrewhiteningHistory::Outcome PrewhiteningHistory::Remove(double frequency, bool useUncertainties) {
    Outcome outcome;
    PeriodDataOutcome data = PeriodData::Make(times_, mags(), sigmas_, useUncertainties);
    if (!data.data) {
        outcome.refusal = data.refusal;
        return outcome;
    }
    const SinusoidFit fit = FitSinusoid(*data.data, frequency);
    steps_.push_back({fit, SubtractSinusoid(times_, mags(), fit)});
    outcome.fit = fit;
    return outcome;
}

bool PrewhiteningHistory::StepBack() {
    if (steps_.empty()) return false;
    steps_.pop_back();
    return true;
}

}  // namespace sabrix

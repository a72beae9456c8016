// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/Prewhitening.h"

namespace sabrix {

PrewhiteningHistory::PrewhiteningHistory(std::vector<double> times, std::vector<double> mags,
                                         std::vector<double> sigmas)
    : times_(std::move(times)), mags_(std::move(mags)), sigmas_(std::move(sigmas)) {}

std::vector<FourierModel> PrewhiteningHistory::removed() const {
    std::vector<FourierModel> fits;
    for (const Step& step : steps_) fits.push_back(step.fit);
    return fits;
}

PrewhiteningHistory::Outcome PrewhiteningHistory::Remove(double frequency, bool useUncertainties,
                                                         int harmonics) {
    Outcome outcome;
    PeriodDataOutcome data = PeriodData::Make(times_, mags(), sigmas_, useUncertainties);
    if (!data.data) {
        outcome.refusal = data.refusal;
        return outcome;
    }
    const FourierModel fit = FitFourierModel(*data.data, frequency, harmonics);
    steps_.push_back({fit, SubtractModel(times_, mags(), fit)});
    outcome.fit = fit;
    return outcome;
}

bool PrewhiteningHistory::StepBack() {
    if (steps_.empty()) return false;
    steps_.pop_back();
    return true;
}

}  // namespace sabrix

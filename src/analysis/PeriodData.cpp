// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/PeriodData.h"

#include <algorithm>
#include <cmath>

namespace sabrix {

bool UncertaintiesUsable(std::span<const double> sigmas, size_t count) {
    if (sigmas.size() != count || count == 0) return false;
    return std::all_of(sigmas.begin(), sigmas.end(), [](double s) {
        return std::isfinite(s) && s > 0 && std::isfinite(1 / (s * s));
    });
}

PeriodDataOutcome PeriodData::Make(std::span<const double> times, std::span<const double> mags,
                                   std::span<const double> sigmas, bool useUncertainties) {
    PeriodDataOutcome outcome;
    const size_t n = std::min(times.size(), mags.size());
    if (n == 0) {
        outcome.refusal = QStringLiteral("No observation is shown: there is nothing to search.");
        return outcome;
    }
    if (n < 3) {
        outcome.refusal =
            QStringLiteral("A period search needs at least 3 observations; %1 %2 shown.")
                .arg(n)
                .arg(n == 1 ? QStringLiteral("is") : QStringLiteral("are"));
        return outcome;
    }
    for (size_t i = 0; i < n; ++i) {
        if (!std::isfinite(times[i]) || !std::isfinite(mags[i])) {
            outcome.refusal = QStringLiteral(
                "An observation shown has a time or a magnitude that is not a number.");
            return outcome;
        }
    }
    const auto [first, last] = std::minmax_element(times.begin(), times.begin() + n);
    if (*first == *last) {
        outcome.refusal = QStringLiteral(
            "All the observations shown are at the same time: a period search needs them spread "
            "over time.");
        return outcome;
    }
    if (std::all_of(mags.begin(), mags.begin() + n, [&](double m) { return m == mags[0]; })) {
        outcome.refusal = QStringLiteral(
            "All the observations shown have the same magnitude: there is no variation to "
            "search.");
        return outcome;
    }

    PeriodData data;
    data.weighting_ =
        useUncertainties && UncertaintiesUsable(sigmas.first(std::min(sigmas.size(), n)), n)
            ? Weighting::Uncertainties
            : Weighting::Equal;
    data.referenceTime_ = *first + (*last - *first) / 2;
    data.span_ = *last - *first;
    data.times_.resize(n);
    data.weights_.resize(n);
    data.residuals_.resize(n);
    double weightSum = 0;
    for (size_t i = 0; i < n; ++i) {
        data.times_[i] = times[i] - data.referenceTime_;
        const double w =
            data.weighting_ == Weighting::Uncertainties ? 1 / (sigmas[i] * sigmas[i]) : 1.0;
        data.weights_[i] = w;
        weightSum += w;
    }
    // The mean about the first magnitude: a sum of 10^6 magnitudes near 10 would otherwise
    // keep fewer digits of their scatter.
    const double origin = mags[0];
    double mean = 0;
    for (size_t i = 0; i < n; ++i) {
        data.weights_[i] /= weightSum;
        mean += data.weights_[i] * (mags[i] - origin);
    }
    double variance = 0;
    for (size_t i = 0; i < n; ++i) {
        const double r = (mags[i] - origin) - mean;
        data.residuals_[i] = r;
        variance += data.weights_[i] * r * r;
    }
    data.meanMag_ = origin + mean;
    data.variance_ = variance;
    if (!(variance > 0)) {
        // Magnitudes that differ only in the last bit can leave no variance after the mean.
        outcome.refusal = QStringLiteral(
            "All the observations shown have the same magnitude: there is no variation to "
            "search.");
        return outcome;
    }
    outcome.data = std::move(data);
    return outcome;
}

}  // namespace sabrix

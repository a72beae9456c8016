// SPDX-License-Identifier: GPL-3.0-or-later
// The observations of a period search, prepared once for every evaluation of the periodogram:
// the times less a reference time in the middle of the data, weights that sum to 1, and the
// magnitudes less their weighted mean; or the message that says why these observations give
// no periodogram.
//
// Reference time. A JD near 2,450,000 times 20 cycles/day is about 5 x 10^7 cycles, and the
// phase of each term keeps only about 10^-8 cycle of it; taken from the middle of the data
// (tRef = (first + last) / 2) the same term over a span of 2,400 days is at most 24,000
// cycles and keeps ten times more. The statistic does not depend on the origin of time; the
// fitted cos and sin coefficients do, so every fit says which reference time it uses.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace sabrix {

enum class Weighting { Equal, Uncertainties };

// True when there are `count` uncertainties and every one is a finite number > 0: only then
// can the weights be 1 / sigma^2.
bool UncertaintiesUsable(std::span<const double> sigmas, size_t count);

struct PeriodDataOutcome;

class PeriodData {
  public:
    // Prepares times and mags (one each per observation, in any order) with weights
    // 1 / sigma^2 when useUncertainties is set and UncertaintiesUsable(sigmas), else equal
    // weights. Refuses (data empty, refusal set) no observation, fewer than 3, all at one time,
    // all of one magnitude, and a time or magnitude that is not a finite number.
    static PeriodDataOutcome Make(std::span<const double> times, std::span<const double> mags,
                                  std::span<const double> sigmas, bool useUncertainties);

    // Times less referenceTime(), in the order given.
    const std::vector<double>& times() const { return times_; }
    // Weights, summing to 1.
    const std::vector<double>& weights() const { return weights_; }
    // Magnitudes less meanMag().
    const std::vector<double>& residuals() const { return residuals_; }
    int64_t size() const { return static_cast<int64_t>(times_.size()); }
    double referenceTime() const { return referenceTime_; }
    // The weighted mean magnitude.
    double meanMag() const { return meanMag_; }
    // The weighted variance of the magnitudes, sum w (y - mean)^2 (> 0).
    double variance() const { return variance_; }
    // Last time less first time (> 0).
    double span() const { return span_; }
    Weighting weighting() const { return weighting_; }

  private:
    PeriodData() = default;
    std::vector<double> times_;
    std::vector<double> weights_;
    std::vector<double> residuals_;
    double referenceTime_ = 0;
    double meanMag_ = 0;
    double variance_ = 0;
    double span_ = 0;
    Weighting weighting_ = Weighting::Equal;
};

// Either the prepared data or the message the window shows instead of a periodogram.
struct PeriodDataOutcome {
    std::optional<PeriodData> data;
    QString refusal;
};

}  // namespace sabrix

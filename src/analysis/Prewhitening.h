// SPDX-License-Identifier: GPL-3.0-or-later
// Several periods: the sinusoid plus constant fitted at one frequency (weighted least squares),
// its removal from the magnitudes, and the history of the frequencies removed so far, so that
// the periodogram of the residuals can be computed and the last removal undone. The
// observations of the table are never changed; the history works on its own copy.
#pragma once

#include <QString>
#include <cmath>
#include <optional>
#include <span>
#include <vector>

#include "analysis/PeriodData.h"

namespace sabrix {

// mag(t) = offset + a cos(2 pi f (t - referenceTime)) + b sin(2 pi f (t - referenceTime)).
struct SinusoidFit {
    double frequency = 0;
    double referenceTime = 0;
    double offset = 0;
    double a = 0;
    double b = 0;
    // The periodogram's power at the frequency: the share of the variance removed.
    double power = 0;

    double amplitude() const { return std::hypot(a, b); }
    double At(double t) const;
};

// The weighted least-squares fit of offset + a cos + b sin at the frequency (> 0).
SinusoidFit FitSinusoid(const PeriodData& data, double frequency);

// mags[i] - fit.At(times[i]) for each observation.
std::vector<double> SubtractSinusoid(std::span<const double> times, std::span<const double> mags,
                                     const SinusoidFit& fit);

class PrewhiteningHistory {
  public:
    // Starts from these observations (one time and magnitude each, the uncertainties empty or
    // one each) with nothing removed.
    PrewhiteningHistory(std::vector<double> times, std::vector<double> mags,
                        std::vector<double> sigmas);

    const std::vector<double>& times() const { return times_; }
    // The magnitudes less every sinusoid removed so far.
    const std::vector<double>& mags() const { return steps_.empty() ? mags_ : steps_.back().mags; }
    const std::vector<double>& sigmas() const { return sigmas_; }
    // The fits removed so far, the first first.
    std::vector<SinusoidFit> removed() const;

    struct Outcome {
        std::optional<SinusoidFit> fit;
        QString refusal;
    };
    // Fits the sinusoid at the frequency to the current magnitudes (weighted as
    // PeriodData::Make weighs them) and removes it. Returns the fit; or, with nothing changed,
    // the refusal of PeriodData::Make (residuals that are all one value).
    Outcome Remove(double frequency, bool useUncertainties);
    // Undoes the last removal. Returns false, with nothing changed, when none is left.
    bool StepBack();

  private:
    struct Step {
        SinusoidFit fit;
        std::vector<double> mags;
    };
    std::vector<double> times_;
    std::vector<double> mags_;
    std::vector<double> sigmas_;
    std::vector<Step> steps_;
};

}  // namespace sabrix

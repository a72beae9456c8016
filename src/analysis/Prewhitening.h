// SPDX-License-Identifier: GPL-3.0-or-later
// Several periods: the Fourier model fitted at one frequency (FourierModel.h), its removal from
// the magnitudes, and the history of the frequencies removed so far, so that
// the periodogram of the residuals can be computed and the last removal undone. The
// observations of the table are never changed; the history works on its own copy.
#pragma once

#include <QString>
#include <optional>
#include <span>
#include <vector>

#include "analysis/FourierModel.h"
#include "analysis/PeriodData.h"

namespace sabrix {

class PrewhiteningHistory {
  public:
    // Starts from these observations (one time and magnitude each, the uncertainties empty or
    // one each) with nothing removed.
    PrewhiteningHistory(std::vector<double> times, std::vector<double> mags,
                        std::vector<double> sigmas);

    const std::vector<double>& times() const { return times_; }
    // The magnitudes less every model removed so far.
    const std::vector<double>& mags() const { return steps_.empty() ? mags_ : steps_.back().mags; }
    const std::vector<double>& sigmas() const { return sigmas_; }
    // The models removed so far, the first first.
    std::vector<FourierModel> removed() const;

    struct Outcome {
        std::optional<FourierModel> fit;
        QString refusal;
    };
    // Fits the model of H harmonics at the frequency to the current magnitudes (weighted as
    // PeriodData::Make weighs them) and removes it. Returns the fit; or, with nothing changed,
    // the refusal of PeriodData::Make (residuals that are all one value).
    Outcome Remove(double frequency, bool useUncertainties, int harmonics = 1);
    // Undoes the last removal. Returns false, with nothing changed, when none is left.
    bool StepBack();

  private:
    struct Step {
        FourierModel fit;
        std::vector<double> mags;
    };
    std::vector<double> times_;
    std::vector<double> mags_;
    std::vector<double> sigmas_;
    std::vector<Step> steps_;
};

}  // namespace sabrix

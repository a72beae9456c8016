// SPDX-License-Identifier: GPL-3.0-or-later
// The folded light curve: the phase of each observation for a period and an epoch, the
// default epoch, the two cycles the phase plot draws, the mean curve in phase bins, and the
// reading of the typed period, epoch and bin width.
//
// The phase of an observation (FoldPhase) and the two cycles are those of the phase plot
// (plot/PhasePlot.h).
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "analysis/Bins.h"
#include "core/AppState.h"
#include "plot/Canvas.h"
#include "plot/PhasePlot.h"

namespace sabrix {

// The time of the brightest observation (the smallest magnitude), the earliest among equals:
// phase 0 at maximum light. Requires at least one observation.
double BrightestEpoch(std::span<const double> times, std::span<const double> mags);

// Calls draw(phase, mag, index) twice for each observation, in the order given: at its phase
// p, then at p + 1 (p < 0.5) or p - 1 (p >= 0.5), so that the points cover [-0.5, 1.5).
void ForEachTwoCyclePoint(std::span<const double> times, std::span<const double> mags, double epoch,
                          double period,
                          const std::function<void(double phase, double mag, int64_t index)>& draw);

inline constexpr double kDefaultPhaseBinWidth = 0.05;
inline constexpr double kMinPhaseBinWidth = 0.001;

struct PhaseBin {
    double from = 0;    // phase, inclusive
    double to = 0;      // phase, exclusive
    double centre = 0;  // (from + to) / 2
    double mean = 0;
    // The sample standard deviation (0 for a bin of one observation).
    double sd = 0;
    int64_t count = 0;
};

// The mean curve: bins [0, w), [w, 2w), ... of width w (kMinPhaseBinWidth to 1; a width
// outside is taken as the nearer limit) up to phase 1 (the last one narrower when 1 / w is not
// whole), with the mean and standard deviation of the
// magnitudes of the observations whose phase falls in each. Only the bins that hold an
// observation, in phase order.
std::vector<PhaseBin> PhaseBins(std::span<const double> times, std::span<const double> mags,
                                double epoch, double period, double width);

// Draws the mean curve over the phase plot (picView in the frame of the phase window view:
// x = phase - JDFirst): a red line through the bin means in phase order across both cycles,
// with white error bars of halfBar standard deviations above and below each mean, as the
// averages are drawn over the light curve. Draws nothing for no bin.
void PhaseBinPlotter(const std::vector<PhaseBin>& bins, double halfBar, const PlotWindowState& view,
                     Canvas& picView);

struct FoldRequest {
    double period = 0;
    double epoch = 0;
};

struct FoldOutcome {
    std::optional<FoldRequest> fold;
    QString refusal;  // names the field
};

// Reads a typed period (days, kShortestPeriod to kLongestPeriod) and epoch (a JD within
// kLongestPeriod of defaultEpoch, no check for a NaN defaultEpoch; an empty text takes
// defaultEpoch).
FoldOutcome ReadFoldFields(const QString& period, const QString& epoch, double defaultEpoch);

// Reads a typed bin width (a phase from 0.001 to 0.5). Nothing, with refusal set, when refused.
std::optional<double> ReadPhaseBinWidth(const QString& width, QString& refusal);

// The averages dialog on the phase plot: the fields it opens with (width 0.05, the default
// sigma), and their reading at Enter (the width as ReadPhaseBinWidth, the error bar as
// ReadSigmaField). Nothing, with refusal set, when a field is refused.
BinDialogFields InitialPhaseBinFields(int16_t defaultSigma);
struct PhaseBinRequest {
    double width = kDefaultPhaseBinWidth;
    int16_t Sigma = 2;
};
std::optional<PhaseBinRequest> ReadPhaseBinFields(const BinDialogFields& fields, QString& refusal);

}  // namespace sabrix

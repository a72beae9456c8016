// SPDX-License-Identifier: GPL-3.0-or-later
// The highest separate peaks of a periodogram, each refined on the exact statistic: what the
// period search lists (period, frequency, power, semi-amplitude) and offers to fold on.
//
// Separate: a peak is about 1/T wide (T the span of the times), so a local maximum of the grid
// closer than 1/T to a higher one belongs to that one's peak and is not listed. Maxima at the
// two ends of the grid are not peaks (the power may go on rising beyond the range).
#pragma once

#include <cmath>
#include <optional>
#include <vector>

#include "analysis/JobControl.h"
#include "analysis/PeriodData.h"
#include "analysis/Periodogram.h"

namespace sabrix {

struct PeriodogramPeak {
    double frequency = 0;  // cycles/day
    double period = 0;     // days, 1 / frequency
    double power = 0;
    // Semi-amplitude of the fitted sinusoid (of the first harmonic), in magnitudes.
    double amplitude = 0;
    // The false-alarm probability of the power (see PeakSignificance.h); NaN for a periodogram
    // of several harmonics, which has no such bound.
    double fap = NAN;
    // The uncertainty of the period, days.
    double sigmaPeriod = 0;
};

inline constexpr int kListedPeaks = 10;

// The estimated work of refining `count` peaks of N observations, in the units of
// PeriodogramCost.
int64_t PeakRefinementCost(int64_t observations, int count, int harmonics = 1);

// Up to `count` peaks of the periodogram of data, highest first: the interior local maxima of
// the grid's power, taken from the highest down, each at least 1/T from those taken before;
// each then refined (Brent's parabolic and golden-section search) to the maximum of the exact
// statistic (of `harmonics` harmonics) between its two neighbouring grid frequencies, to about
// 10^-5 of a grid step.
// Refines on `workers` threads (0: WorkerCount()). An empty list when the grid has no interior
// maximum; nothing when cancelled.
std::optional<std::vector<PeriodogramPeak>> FindPeaks(const PeriodData& data,
                                                      const Periodogram& periodogram, int count,
                                                      int workers, JobControl& control,
                                                      int harmonics = 1);

}  // namespace sabrix

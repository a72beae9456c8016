// SPDX-License-Identifier: GPL-3.0-or-later
// The direct path of the periodogram (see Periodogram.h): every observation at every
// frequency, with the cosines and sines stepped by rotations.
#pragma once

#include <cstdint>
#include <span>

#include "analysis/FrequencyGrid.h"
#include "analysis/JobControl.h"
#include "analysis/PeriodData.h"

namespace sabrix {

// Estimated work for N observations and M frequencies, in nanoseconds.
int64_t DirectPeriodogramCost(int64_t observations, int64_t frequencies);

// Fills power[k] (and window[k] when window is not empty) for every frequency k of the grid,
// on `workers` threads. Returns false when cancelled (the arrays are then partly filled).
bool DirectPeriodogram(const PeriodData& data, const FrequencyGrid& grid, std::span<double> power,
                       std::span<double> window, int workers, JobControl& control);

}  // namespace sabrix

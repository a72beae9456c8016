// SPDX-License-Identifier: GPL-3.0-or-later
// Phase dispersion minimisation (Stellingwerf 1978): for a trial period, how much the
// magnitudes scatter about their mean curve when folded on it, as a share of their whole
// scatter. It needs no sinusoidal shape, so it finds the orbital period of an eclipsing binary
// where the periodogram peaks at half of it.
//
// For trial frequency f the phase of each observation is frac((t - t1) f), t1 the earliest
// time; the phases fall into 10 equal bins [j/10, (j+1)/10). With n_j observations in bin j
// and s_j^2 their sample variance (divisor n_j - 1), over the M bins holding at least two,
//
//     s^2     = sum_j (n_j - 1) s_j^2 / (sum_j n_j - M)
//     theta   = s^2 / sigma^2,     sigma^2 the sample variance of all N magnitudes.
//
// Theta is near 1 without a signal and falls towards 0 at the true period (and at its
// multiples). Every observation counts once, without weights. Example: magnitudes 1, 2, 1, 2
// at times 0, 1, 2, 3 over period 2 fold into two bins of equal magnitudes: theta = 0.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "analysis/JobControl.h"
#include "analysis/PeriodData.h"
#include "analysis/Periodogram.h"
#include "analysis/PeriodogramPeaks.h"

namespace sabrix {

inline constexpr int kPdmBins = 10;

// Theta of the observations at one frequency (cycles/day), as defined above. Returns 1 when
// no bin holds two observations or all magnitudes are equal (nothing to explain).
double PdmTheta(std::span<const double> times, std::span<const double> mags, double frequency);

// The estimated work of theta over the grid, in the units of PeriodogramCost.
int64_t PdmCost(int64_t observations, const FrequencyGrid& grid, int minima);

// Theta of the data (its times and magnitudes; the weights are not used) at every frequency
// of the grid, in Periodogram::power; window is left empty. Spreads over `workers` threads (0:
// WorkerCount()) and advances control. Nothing when cancelled.
std::optional<Periodogram> ComputePdm(const PeriodData& data, const FrequencyGrid& grid,
                                      int workers, JobControl& control);

// Up to `count` deepest minima of theta, deepest first: the interior local minima of the grid,
// each at least 1/T from the deeper ones taken before, each refined on finer grids between its
// two neighbouring frequencies. A peak's power is theta there, its amplitude half the range of
// the 10 bins' mean magnitudes. Empty when the grid has no interior minimum; nothing when
// cancelled.
std::optional<std::vector<PeriodogramPeak>> FindPdmMinima(const PeriodData& data,
                                                          const Periodogram& theta, int count,
                                                          JobControl& control);

}  // namespace sabrix

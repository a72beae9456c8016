// SPDX-License-Identifier: GPL-3.0-or-later
// The generalised Lomb-Scargle periodogram (see LombScargle.h) over a grid of frequencies, by
// one of two paths with the same result within 1e-3 in power at every frequency:
//
// - Direct: every observation at every frequency, the cosine and sine stepped from one
//   frequency to the next by a rotation and computed afresh every 256 frequencies, which
//   bounds the drift of the rotations to about 10^-13. Cost N M for N observations and M
//   frequencies; exact to rounding. Used for small inputs and by the tests.
// - Fast (Press & Rybicki 1989): the weights and weighted magnitudes are spread onto a regular
//   grid of times by Lagrange interpolation weights (extirpolation), and one FFT (FFTW) gives
//   their sums at every frequency of a block at once; the sums at twice the frequency give
//   the squares and products. Cost about N + M log M. Where the sampling hardly tells cos from
//   sin (near f = 0, or where every observation falls at one phase) the power is sensitive to
//   the small errors of the sums, so those few frequencies are computed again exactly.
//
// Both spread over the machine's threads, report their progress to a JobControl in estimated
// nanoseconds of work, and return within about 0.1 s of a cancel.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "analysis/FrequencyGrid.h"
#include "analysis/JobControl.h"
#include "analysis/PeriodData.h"

namespace sabrix {

enum class PeriodogramMethod { Automatic, Direct, Fast };

struct PeriodogramOptions {
    PeriodogramMethod method = PeriodogramMethod::Automatic;
    // Also the spectral window (LombScargleTerms::window) at each frequency.
    bool window = false;
    // Threads to use; 0 for WorkerCount().
    int workers = 0;
    // Harmonics of the model compared at each frequency (1 to kMaxHarmonics of
    // FourierModel.h): 1 is the periodogram above; more are computed directly whatever the
    // method.
    int harmonics = 1;
};

struct Periodogram {
    FrequencyGrid grid;
    // One value per frequency of the grid, 0 to 1.
    std::vector<double> power;
    // The spectral window |sum w exp(2 pi i f t)|^2 of the times with the same weights, 0 to
    // 1 (1 at f = 0): the periodogram of the sampling alone. Its peaks are where a signal
    // makes aliases: at a signal f0, the periodogram also rises at f0 +- each peak of the
    // window (for nightly data, f0 +- 1 cycle/day). Empty unless asked for.
    std::vector<double> window;
    // The path that computed it (never Automatic).
    PeriodogramMethod method = PeriodogramMethod::Direct;
};

// The quicker path for N observations over the grid: Direct when its estimated cost is the
// smaller.
PeriodogramMethod ChooseMethod(int64_t observations, const FrequencyGrid& grid);

// The estimated work of the path (Automatic: the chosen one), in the units that
// ComputePeriodogram reports to JobControl::Advance.
int64_t PeriodogramCost(int64_t observations, const FrequencyGrid& grid, PeriodogramMethod method,
                        int harmonics = 1);

// The periodogram of the data over the grid. Advances control by about PeriodogramCost (the
// caller sets the total). Returns nothing when control is cancelled. Throws std::bad_alloc
// when memory runs out and SabrixError when FFTW cannot plan a transform.
std::optional<Periodogram> ComputePeriodogram(const PeriodData& data, const FrequencyGrid& grid,
                                              const PeriodogramOptions& options,
                                              JobControl& control);

}  // namespace sabrix

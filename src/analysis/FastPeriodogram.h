// SPDX-License-Identifier: GPL-3.0-or-later
// The fast path of the periodogram (see Periodogram.h): extirpolation of the observations onto
// a regular grid of times and FFTs of that grid with FFTW.
//
// The grid of frequencies is cut into blocks of at most kMaxFftLength / kOversampling
// frequencies. For a block centred on fc, each observation's term h exp(2 pi i fc tau) is spread
// over the kOrder grid points nearest to its place x = N frac(step tau) (the grid is periodic in
// N points) with Lagrange weights, so that the grid's backward FFT at index j - centre is
// sum h exp(2 pi i (fc + (j - centre) step) tau) for every frequency j of the block. The error
// of the interpolation grows with |j - centre| / N: at most 1 / (2 kOversampling) here.
#pragma once

#include <cstdint>
#include <span>

#include "analysis/FrequencyGrid.h"
#include "analysis/JobControl.h"
#include "analysis/PeriodData.h"

namespace sabrix {

// Estimated work for N observations and M frequencies, in nanoseconds.
int64_t FastPeriodogramCost(int64_t observations, int64_t frequencies);

// As DirectPeriodogram. Throws SabrixError when FFTW cannot plan a transform.
bool FastPeriodogram(const PeriodData& data, const FrequencyGrid& grid, std::span<double> power,
                     std::span<double> window, int workers, JobControl& control);

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// How much a peak of the one-harmonic periodogram can be trusted: the false-alarm probability
// of its power and the uncertainty of its period.
//
// False-alarm probability (Baluev 2008, MNRAS 385, 1279): the chance that noise alone gives a
// highest power of at least z somewhere between frequency 0 and fMax. With N observations,
// NH = N - 1, NK = N - 3, Teff = sqrt(4 pi Var_w(t)) and W = fMax Teff:
//   fapSingle = (1 - z)^(NK / 2)
//   tau = gamma(NH) W (1 - z)^((NK - 1) / 2) sqrt(NH z / 2),
//   gamma(n) = sqrt(2 / n) Gamma(n / 2) / Gamma((n - 1) / 2)
//   FAP = 1 - (1 - fapSingle) exp(-tau)
// An upper bound, close for small values; it ignores the aliases of the sampling.
//
// Uncertainty of a period (Montgomery & O'Donoghue 1999): for a sinusoid of semi-amplitude A
// fitted to N observations over a span T with residual rms sigma,
//   sigma_f = sqrt(6 / N) sigma / (pi T A),   sigma_P = sigma_f P^2.
#pragma once

#include <cstdint>
#include <string>

#include "analysis/PeriodData.h"

namespace sabrix {

// The false-alarm probability (0 to 1) of power z (0 to 1) for N observations whose times
// have the weighted variance timeVariance (days^2), searched up to fMax (cycles/day). 1 for
// fewer than 4 observations.
double BaluevFalseAlarm(double z, int64_t n, double fMax, double timeVariance);

// The weighted variance of the data's times.
double TimeVariance(const PeriodData& data);

// sigma_P in days for the period (days) of a fit of semi-amplitude A (> 0) and residual rms
// sigma; infinity for A = 0.
double PeriodUncertainty(double period, double amplitude, double residualRms, int64_t n,
                         double span);

// A false-alarm probability as the window and the command line show it: "0.0123",
// "3.2e-05" below 0.001, "<1e-300" below that.
std::string FalseAlarmText(double fap);
// An uncertainty with two significant digits: "0.00012", "3.4e-07" below 1e-4, "-" for none.
std::string UncertaintyText(double sigma);

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// The generalised Lomb-Scargle periodogram (floating mean) at one frequency: the trigonometric
// sums over the prepared observations, and what they give, the power (0 to 1) and the fitted
// sinusoid. Every way of computing the periodogram (direct, fast, refinement of a peak) ends in
// SolveLombScargle, so the guards live in one place.
//
// With weights w summing to 1, y = mag - mean, tau = t - tRef, omega = 2 pi f:
//   C  = sum w cos(omega tau)       S  = sum w sin(omega tau)
//   C2 = sum w cos(2 omega tau)     S2 = sum w sin(2 omega tau)
//   YC = sum w y cos(omega tau)     YS = sum w y sin(omega tau)
// and then CC = (1 + C2)/2 - C^2, SS = (1 - C2)/2 - S^2, CS = S2/2 - C S, D = CC SS - CS^2,
//   power = (SS YC^2 + CC YS^2 - 2 CS YC YS) / (YY D),  YY = sum w y^2,
// the fraction of the weighted variance that the best sinusoid plus constant at f explains.
// Its coefficients, mag ~ mean + a (cos - C) + b (sin - S), are a = (YC SS - YS CS) / D and
// b = (YS CC - YC CS) / D; the semi-amplitude is sqrt(a^2 + b^2).
#pragma once

#include "analysis/PeriodData.h"

namespace sabrix {

struct TrigSums {
    double c = 0;
    double s = 0;
    double c2 = 0;
    double s2 = 0;
    double yc = 0;
    double ys = 0;
};

struct LombScargleTerms {
    double power = 0;
    double a = 0;
    double b = 0;
    // The smaller eigenvalue of the weighted covariance of cos and sin (0 to 0.5): how well
    // the sampling tells the two apart at this frequency. Near 0 (f -> 0, or a frequency at
    // which every observation falls at one phase) the power rests on a small denominator.
    double conditioning = 0;
    // The spectral window, C^2 + S^2 (0 to 1).
    double window = 0;
};

// The power and the fit from the sums; variance is YY (> 0). Where D is zero to rounding the
// two functions are one, and the fit uses that one alone; with no variance of cos and sin at
// all (every observation at one phase) the power is 0. The power is kept within 0 to 1.
LombScargleTerms SolveLombScargle(const TrigSums& sums, double variance);

// The sums at one frequency (cycles/day), by one sine and cosine per observation.
TrigSums ExactTrigSums(const PeriodData& data, double frequency);

// SolveLombScargle(ExactTrigSums(data, frequency), data.variance()).
LombScargleTerms ExactLombScargle(const PeriodData& data, double frequency);

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// The O-C diagram: observed times of minimum against an ephemeris. The ephemeris computes the
// times C = T0 + E P; an observed time O gets the cycle E = round((O - T0) / P) and
// O - C = O - (T0 + E P), in days. A straight line through O - C against E corrects the
// ephemeris: O - C = c0 + c1 E means T0' = T0 + c0 and P' = P + c1. A parabola
// O - C = c0 + c1 E + c2 E^2 measures a steady change of the period, dP/dE = 2 c2.
//
// Example: T0 = 2450000, P = 1; O = 2450010.02 is cycle 10, O - C = +0.02 d.
#pragma once

#include <optional>
#include <span>
#include <vector>

namespace sabrix {

struct Ephemeris {
    double epoch = 0;   // T0, JD
    double period = 0;  // P, days
};

struct OcPoint {
    double cycle = 0;  // E, a whole number
    double oc = 0;     // O - C, days
    double error = 0;  // days; 0 when unknown
};

// The point of each time (errors may be empty, else one per time). Empty when the period is
// not > 0 or an input is not finite.
std::vector<OcPoint> ComputeOc(const Ephemeris& ephemeris, std::span<const double> times,
                               std::span<const double> errors);

// A fit of O - C against E, with one-sigma errors. The errors are taken from the scatter of the
// points about the fit (the reduced chi-square scales the covariance), with weights 1/error^2
// when every point has an error > 0, else equal weights; so they need one point more than the
// coefficients (else they are 0).
struct OcFit {
    Ephemeris corrected;
    double epochError = 0;
    double periodError = 0;
    // The parabola only: dP/dE (days per cycle) and its error; 0 for the line.
    double periodChange = 0;
    double periodChangeError = 0;
    int degree = 1;
    // The coefficients c0, c1, c2 of O - C against E.
    double c[3] = {0, 0, 0};
    double at(double cycle) const { return c[0] + cycle * (c[1] + cycle * c[2]); }
};

// The line (degree 1) or parabola (degree 2) through the points, corrected against ephemeris.
// Nothing when the points cannot fix it (fewer than degree + 1 distinct cycles).
std::optional<OcFit> FitOc(const Ephemeris& ephemeris, std::span<const OcPoint> points, int degree);

}  // namespace sabrix

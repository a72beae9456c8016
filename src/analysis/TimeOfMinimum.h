// SPDX-License-Identifier: GPL-3.0-or-later
// The time of one minimum (or maximum) of light and its error, from the observations inside a
// box drawn around it.
//
// Kwee & van Woerden (1956). The magnitudes are interpolated linearly to Z' equally spaced
// times (Z' the number of distinct times, step dt). For a trial time T on that grid each point
// before T is paired with its mirror image after T, and S(T) is the mean squared difference of
// the pairs, the same number of pairs (a quarter of the points) at every trial. S at T1 - dt,
// T1 and T1 + dt (T1 the grid time where S is least, found downhill from the faintest
// interpolated point, the brightest for a maximum) fixes the parabola
// S(T) = A T^2 + B T + C, and
//
//     T0 = -B / (2A),      sigma_T0^2 = (4AC - B^2) / (4 A^2 (Z - 1)),
//
// Z = Z'' / 4 the number of independent pairs, Z'' the interpolated points that the pairs use.
// The method assumes a symmetric extremum with both branches observed.
//
// Fallback. When a branch holds fewer than 3 observations, the box is too short for 3 pairs,
// or S does not curve upwards around T1 (an asymmetric or ragged extremum), a parabola in
// magnitude is fitted by least squares to all the observations instead; its vertex is the
// time, and the error follows from the covariance of its coefficients and the scatter about it.
#pragma once

#include <QString>
#include <optional>
#include <span>
#include <string_view>

namespace sabrix {

enum class Extremum { Minimum, Maximum };
enum class ExtremumMethod { KweeVanWoerden, Parabola };

struct TimeOfExtremum {
    double time = 0;   // as the times given (JD)
    double error = 0;  // days, one sigma
    int count = 0;     // observations used
    ExtremumMethod method = ExtremumMethod::KweeVanWoerden;
    Extremum kind = Extremum::Minimum;
};

struct TimeOfExtremumOutcome {
    std::optional<TimeOfExtremum> value;
    // When refused: why, for the user.
    QString refusal;
};

// The time of the extremum of the observations (any order). Refused for fewer than 5
// observations at distinct times, for a time or magnitude that is not a finite number, and
// when the fallback parabola opens the wrong way or puts its vertex outside the observations'
// times (the box holds no minimum, or no maximum).
TimeOfExtremumOutcome FindTimeOfExtremum(std::span<const double> times,
                                         std::span<const double> mags, Extremum kind);

// "KvW" or "parabola": how a time was found, as the lists and files name it.
const char* ExtremumMethodName(ExtremumMethod method);
std::optional<ExtremumMethod> ExtremumMethodFromName(std::string_view name);

}  // namespace sabrix

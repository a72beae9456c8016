// SPDX-License-Identifier: GPL-3.0-or-later
// Observations of one sinusoid for the tests of the period search: period 3.7 d, semi-
// amplitude 0.4 mag about 12, unevenly spread over the nights, in the three-column form
// (time, magnitude, uncertainty 0.01).
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "core/NumberText.h"

namespace sabrix::test {

inline constexpr double kSinusoidPeriod = 3.7;
inline constexpr double kSinusoidEpoch = 2455001.3;

inline std::vector<std::string> SinusoidLines(int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        const double t = kSinusoidEpoch + i * 1.5 + 0.3 * std::sin(i * 1.7);
        const double mag = 12 + 0.4 * std::sin(2 * M_PI * (t - kSinusoidEpoch) / kSinusoidPeriod);
        lines.push_back(FormatFixed(t, 1, 5) + " " + FormatFixed(mag, 1, 4) + " 0.01");
    }
    return lines;
}

}  // namespace sabrix::test

// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/PeakSignificance.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string>

#include "core/NumberText.h"

namespace sabrix {

double BaluevFalseAlarm(double z, int64_t n, double fMax, double timeVariance) {
    if (n < 4 || !(z > 0)) return 1;
    if (!(z < 1)) return 0;
    const double nh = static_cast<double>(n - 1);
    const double nk = static_cast<double>(n - 3);
    const double logRest = std::log1p(-z);
    const double fapSingle = std::exp(nk / 2 * logRest);
    const double gamma =
        std::sqrt(2 / nh) * std::exp(std::lgamma(nh / 2) - std::lgamma((nh - 1) / 2));
    const double w = fMax * std::sqrt(4 * std::numbers::pi * std::max(timeVariance, 0.0));
    const double tau = gamma * w * std::exp((nk - 1) / 2 * logRest) * std::sqrt(nh * z / 2);
    return std::clamp(-std::expm1(-tau) + fapSingle * std::exp(-tau), 0.0, 1.0);
}

double TimeVariance(const PeriodData& data) {
    double mean = 0, square = 0;
    for (int64_t i = 0; i < data.size(); ++i) {
        const double w = data.weights()[static_cast<size_t>(i)];
        const double t = data.times()[static_cast<size_t>(i)];
        mean += w * t;
        square += w * t * t;
    }
    return std::max(0.0, square - mean * mean);
}

double PeriodUncertainty(double period, double amplitude, double residualRms, int64_t n,
                         double span) {
    if (!(amplitude > 0) || n <= 0 || !(span > 0)) return INFINITY;
    const double sigmaF = std::sqrt(6.0 / static_cast<double>(n)) * residualRms /
                          (std::numbers::pi * span * amplitude);
    return sigmaF * period * period;
}

std::string FalseAlarmText(double fap) {
    if (fap >= 0.001) return FormatFixed(fap, 1, 4);
    if (fap < 1e-300) return "<1e-300";
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, fap, std::chars_format::scientific, 1);
    return std::string(text, end.ptr);
}

std::string UncertaintyText(double sigma) {
    if (!std::isfinite(sigma)) return "-";
    char text[32];
    const auto end =
        sigma != 0 && std::fabs(sigma) < 1e-4
            ? std::to_chars(text, text + sizeof text, sigma, std::chars_format::scientific, 1)
            : std::to_chars(text, text + sizeof text, sigma, std::chars_format::general, 2);
    return std::string(text, end.ptr);
}

}  // namespace sabrix

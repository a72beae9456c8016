// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/OMinusC.h"

#include <algorithm>
#include <cmath>

#include "analysis/LowPolynomialFit.h"

namespace sabrix {

std::vector<OcPoint> ComputeOc(const Ephemeris& ephemeris, std::span<const double> times,
                               std::span<const double> errors) {
    std::vector<OcPoint> points;
    if (!(ephemeris.period > 0) || !std::isfinite(ephemeris.period) ||
        !std::isfinite(ephemeris.epoch) || (!errors.empty() && errors.size() != times.size()))
        return points;
    for (size_t i = 0; i < times.size(); ++i) {
        if (!std::isfinite(times[i])) return {};
        OcPoint p;
        p.cycle = std::round((times[i] - ephemeris.epoch) / ephemeris.period);
        p.oc = times[i] - (ephemeris.epoch + p.cycle * ephemeris.period);
        p.error = errors.empty() ? 0 : errors[i];
        points.push_back(p);
    }
    return points;
}

std::optional<OcFit> FitOc(const Ephemeris& ephemeris, std::span<const OcPoint> points,
                           int degree) {
    std::vector<double> x, y, w;
    const bool weighted =
        !points.empty() && std::all_of(points.begin(), points.end(), [](const OcPoint& p) {
            return p.error > 0 && std::isfinite(p.error);
        });
    for (const OcPoint& p : points) {
        x.push_back(p.cycle);
        y.push_back(p.oc);
        if (weighted) w.push_back(1 / (p.error * p.error));
    }
    const std::optional<LowPolynomialFit> fit = FitLowPolynomial(x, y, w, degree);
    if (!fit) return std::nullopt;
    OcFit result;
    result.degree = degree;
    for (int k = 0; k < 3; ++k) result.c[k] = fit->c[k];
    result.corrected.epoch = ephemeris.epoch + fit->c[0];
    result.corrected.period = ephemeris.period + fit->c[1];
    result.epochError = std::sqrt(fit->Covariance(0, 0));
    result.periodError = std::sqrt(fit->Covariance(1, 1));
    if (degree == 2) {
        result.periodChange = 2 * fit->c[2];
        result.periodChangeError = 2 * std::sqrt(fit->Covariance(2, 2));
    }
    return result;
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ShownObservations.h"

#include <algorithm>

#include "data/PointFilter.h"

namespace sabrix {

namespace {

PeriodObservations Observations(const PlotColumns& columns, const AppState& state, double jdLeft,
                                double jdRight, bool limits) {
    const PointFilter shows = PointFilter::Of(state, columns);
    PeriodObservations shown;
    shown.jdLeft = jdLeft;
    shown.jdRight = jdRight;
    uint32_t firstBand = 0;
    for (const ObsPoint& point : columns.InWindow(jdLeft, jdRight)) {
        if ((point.faint && !limits) || !shows.Shows(point.band, point.faint, point.discrepant))
            continue;
        if (shown.times.empty()) firstBand = point.band;
        if (point.band != firstBand) shown.severalBands = true;
        shown.times.push_back(point.JD);
        shown.mags.push_back(point.MagStored);
        shown.sigmas.push_back(point.uncertainty);
    }
    return shown;
}

}  // namespace

PeriodObservations ShownObservations(const PlotColumns& columns, const AppState& state,
                                     double jdLeft, double jdRight) {
    return Observations(columns, state, jdLeft, jdRight, false);
}

PeriodObservations DrawnObservations(const PlotColumns& columns, const AppState& state,
                                     double jdLeft, double jdRight) {
    return Observations(columns, state, jdLeft, jdRight, true);
}

std::vector<int64_t> PhasePointIds(const PlotColumns& columns, const AppState& state,
                                   const PhaseFold& fold, double phaseA, double phaseB, double magA,
                                   double magB) {
    // As a selection on the light curve: omitted fainter-than estimates still count.
    const PointFilter shows = PointFilter::Counted(state, columns);
    // Plain variables, not a structured binding: clang 14 cannot capture one in a lambda.
    const double phaseLow = std::min(phaseA, phaseB);
    const double phaseHigh = std::max(phaseA, phaseB);
    const double magLow = std::min(magA, magB);
    const double magHigh = std::max(magA, magB);
    const auto inside = [&](double phase) { return phase >= phaseLow && phase <= phaseHigh; };
    std::vector<int64_t> ids;
    for (const ObsPoint& point : columns.InWindow(fold.jdLeft, fold.jdRight)) {
        if (!shows.Shows(point.band, point.faint, point.discrepant)) continue;
        if (point.MagStored < magLow || point.MagStored > magHigh) continue;
        const double phase = FoldPhase(point.JD, fold.epoch, fold.period);
        if (inside(phase) || inside(OtherCyclePhase(phase))) ids.push_back(point.ID);
    }
    return ids;
}

}  // namespace sabrix

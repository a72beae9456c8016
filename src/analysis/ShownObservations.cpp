// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ShownObservations.h"

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
        shown.ids.push_back(point.ID);
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

}  // namespace sabrix

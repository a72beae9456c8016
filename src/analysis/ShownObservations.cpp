#include "analysis/ShownObservations.h"

#include <algorithm>

namespace sabrix {

bool PlotShowsPoint(const ObsPoint& point, const AppState& state) {
    return !(point.faint && state.overlay.OmitFainter);
}

namespace {

PeriodObservations Observations(const PlotColumns& columns, const AppState& state, double jdLeft,
                                double jdRight, bool limits) {
    PeriodObservations shown;
    shown.jdLeft = jdLeft;
    shown.jdRight = jdRight;
    for (const ObsPoint& point : columns.InWindow(jdLeft, jdRight)) {
        if ((point.faint && !limits) || !PlotShowsPoint(point, state)) continue;
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
    const auto [phaseLow, phaseHigh] = std::minmax(phaseA, phaseB);
    const auto [magLow, magHigh] = std::minmax(magA, magB);
    const auto inside = [&](double phase) { return phase >= phaseLow && phase <= phaseHigh; };
    std::vector<int64_t> ids;
    for (const ObsPoint& point : columns.InWindow(fold.jdLeft, fold.jdRight)) {
        if (!PlotShowsPoint(point, state)) continue;
        if (point.MagStored < magLow || point.MagStored > magHigh) continue;
        const double phase = FoldPhase(point.JD, fold.epoch, fold.period);
        if (inside(phase) || inside(OtherCyclePhase(phase))) ids.push_back(point.ID);
    }
    return ids;
}

}  // namespace sabrix

// The observations that the plot shows, as the analyses take them: the one place that says
// which points of a JD range count as shown. The period search, its phase plot's default epoch
// and the command line take their observations from here, so a filter of what the plot shows
// (hidden bands, discrepant observations left out) belongs in PlotShowsPoint and reaches them
// all.
#pragma once

#include "analysis/PeriodAnalysis.h"
#include "core/AppState.h"
#include "data/PlotColumns.h"
#include "plot/PhasePlot.h"

namespace sabrix {

// Whether the plot, with the state's settings, draws the point: a fainter-than estimate is
// left out under "Omit fainter thans".
bool PlotShowsPoint(const ObsPoint& point, const AppState& state);

// The observations shown with JD from jdLeft to jdRight (inclusive) that the period search
// uses: those PlotShowsPoint draws, fainter-than estimates always left out (they are limits,
// not magnitudes), in JD order, with their magnitudes as stored and their uncertainties (0 for
// none). Empty when the range holds none.
PeriodObservations ShownObservations(const PlotColumns& columns, const AppState& state,
                                     double jdLeft, double jdRight);

// The observations that the plot draws with JD from jdLeft to jdRight: those PlotShowsPoint
// draws, fainter-than estimates among them unless omitted, as ShownObservations gives them.
PeriodObservations DrawnObservations(const PlotColumns& columns, const AppState& state,
                                     double jdLeft, double jdRight);

// The IDs of the points that the phase plot of the fold draws (PlotShowsPoint, JD in the fold's
// range) with either of their two copies inside the bounds: phases from phaseA to phaseB and
// magnitudes (as stored) from magA to magB, inclusive, either order. In JD order; empty when
// none is inside.
std::vector<int64_t> PhasePointIds(const PlotColumns& columns, const AppState& state,
                                   const PhaseFold& fold, double phaseA, double phaseB, double magA,
                                   double magB);

}  // namespace sabrix

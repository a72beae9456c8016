// SPDX-License-Identifier: GPL-3.0-or-later
// The observations that the plot shows, as the period search takes them: the points of a JD
// range that the state's PointFilter shows (hidden bands, Omit fainter thans, Omit
// discrepant). The period search, its phase plot's default epoch and the command line take their
// observations from here.
#pragma once

#include "analysis/PeriodAnalysis.h"
#include "core/AppState.h"
#include "data/PlotColumns.h"

namespace sabrix {

// The observations shown with JD from jdLeft to jdRight (inclusive) that the period search
// uses: those the state's PointFilter shows, fainter-than estimates always left out (they are
// limits, not magnitudes), in JD order, with their magnitudes as stored and their uncertainties (0
// for none). Empty when the range holds none.
PeriodObservations ShownObservations(const PlotColumns& columns, const AppState& state,
                                     double jdLeft, double jdRight);

// The observations that the plot draws with JD from jdLeft to jdRight: those the PointFilter
// shows, fainter-than estimates among them unless omitted, as ShownObservations gives them.
PeriodObservations DrawnObservations(const PlotColumns& columns, const AppState& state,
                                     double jdLeft, double jdRight);

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// The rings around the points of the chosen lines of the record list, drawn over the plot
// while the list is open, so the user sees which observations the lines are.
#pragma once

#include <cstdint>
#include <vector>

#include "core/AppState.h"
#include "data/PlotColumns.h"
#include "plot/Canvas.h"
#include "plot/PlotFrame.h"

namespace sabrix {

// The ring's radius in pixels; a point is drawn 3 pixels wide.
constexpr double kRingRadius = 5;

// Draws a ring in colour around each place where the frame draws a point of the view's window
// whose ID is in ids (sorted ascending), onto picView (x - JDFirst across). A pixel is ringed
// once however many points share it, so a million chosen points cost a walk, not a million
// circles. Returns the number of rings drawn.
int64_t DrawRecordRings(Canvas& picView, const PlotFrame& frame, const PlotWindowState& view,
                        const PlotColumns& columns, const std::vector<int64_t>& ids, int32_t color);

}  // namespace sabrix

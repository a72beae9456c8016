// SPDX-License-Identifier: GPL-3.0-or-later
// The moves of the navigation buttons: each shifts the plot window through the data without
// zooming (the width and height of the window, and both magnification factors, stay as they
// are) and says whether it moved. A JD move does nothing while the JD magnification is exactly
// 1 (the full view shows every observation already), a magnitude move nothing while the
// magnitude magnification is exactly 1.
//
// A JD step is 0.66 of the window's width. Example: JDFirst = 1000, JDLast = 2000 and a window
// 100 days wide from 1020 to 1120: Back gives 1000 - 34 to 1066 (it stops when the first
// observation is 0.66 of the width from the right edge); Forward from 1885 to 1985 gives
// 1905 to 2005 (it stops 5 days after the last observation).
#pragma once

#include "core/AppState.h"

namespace sabrix {

// The margin of the window after the last (and before the first) observation, in days.
inline constexpr double kNavigationJDMargin = 5.0;
// The share of the window's width that Back and Forward move it.
inline constexpr double kJDStep = 0.66;
// The magnitudes that Brighter and Dimmer move the window.
inline constexpr double kMagStep = 0.5;

bool StepBack(PlotWindowState& view);
bool StepForward(PlotWindowState& view);
// The window's left edge 5 days before the first observation, its width kept.
bool GoToBeginning(PlotWindowState& view);
// The window's right edge 5 days after the last observation, its width kept.
bool GoToEnd(PlotWindowState& view);
// Half a magnitude brighter (up) or fainter (down); there is no limit at either end.
bool StepBrighter(PlotWindowState& view);
bool StepDimmer(PlotWindowState& view);

}  // namespace sabrix

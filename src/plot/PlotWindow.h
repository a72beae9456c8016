// SPDX-License-Identifier: GPL-3.0-or-later
// The plot window: the rectangle of Julian Date (across) by magnitude (down) that the plot
// surface shows, fitted to the data, and the three coordinate frames derived from it.
//
// Frames. picView works in days since the JD base JDFirst, so that its coordinates stay small;
// the JD strip works in full JDs across and 0 (top) to 20 (bottom) down; the magnitude strip
// works in 0 to 20 across and magnitudes down. Example: JDFirst = 2455000, a window from
// JD 2454995 to 2455105 and magnitude 8.5 to 12.5 gives picView the frame (-5, 8.5)-(105, 12.5),
// picJDScale (2454995, 0)-(2455105, 20) and picMagScale (0, 8.5)-(20, 12.5).
#pragma once

#include <QString>
#include <string>

#include "core/AppState.h"
#include "data/ObsTable.h"
#include "plot/Canvas.h"

namespace sabrix {

// Fits the plot window to the rows that `shown` shows (to every row when it shows none, so
// the window stays where the data are): margins of 5 days and 0.5 magnitude around the
// extremes; a table of one row gets a window 210 days wide and 3 magnitudes high with the JD
// base moved to its left edge. Sets every extreme and window member of the view except the
// two magnification factors.
// Returns true on success; false for an empty table, leaving the view unchanged (the caller
// then shows NoObservationsText). Database failures throw SQLite::Exception and leave the view
// unchanged.
bool FindExtremes(PlotWindowState& view, const ObsTable& table, const PointFilter& shown);

// The message shown, titled "No Observations", when the table holds no row to fit.
QString NoObservationsText(const std::string& starName);

// Sets the user scale of a surface from its four edges (width = right - left, height =
// bottom - top). Throws SabrixError when the width or height is zero; the scale is then
// unchanged.
void SetUserScale(Canvas& surface, double left, double top, double right, double bottom);

// Applies the three frames, in the order picView, picJDScale, picMagScale. Throws SabrixError
// on a zero-size frame; the surfaces after the failing one keep their old frames.
void Scaler(const PlotWindowState& view, Canvas& picView, Canvas& picJDScale, Canvas& picMagScale);

// True when a failure of Scaler is to be passed over without a message: nothing is loaded, so
// the window edges and the JD base are all 0.
bool ScalerErrorIsSilent(const PlotWindowState& view);

// The text of the status bar's magnification panel for the current tool: the JD factor
// rounded to one decimal for the JD and zoom-box tools ("JDMagnification = 2.5 X"), the
// magnitude factor unrounded for the magnitude zoom ("MagMagnification = 1.25 X"), otherwise
// "Magnification = " with the rounded JD factor ("Magnification = 1 X").
QString MagnificationStatusText(const AppState& state);
// "Magnification = " + the JD factor rounded to one decimal (halves to even) + " X", whatever
// the tool: what a load and "Reset Plot" show ("Magnification = 1 X").
QString PlainMagnificationText(const AppState& state);

// Gives the surfaces their design look: picView black with a yellow drawing colour, the two
// strips black with white, and the strips' label fonts.
void ApplyDesignLook(Canvas& picView, Canvas& picJDScale, Canvas& picMagScale);

}  // namespace sabrix

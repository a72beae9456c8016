// SPDX-License-Identifier: GPL-3.0-or-later
// The light-curve plotter: draws the observations inside the plot window onto picView, one
// filled dot of one-pixel radius per row in the row's colour, redraws both scale strips, and
// works out what the main window shows around the plot (star label, status text, cursor, stats
// lines). It draws only on the canvases it is given and touches no window, so the main window,
// the command line and the tests run the same code.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/AppState.h"
#include "data/ObsTable.h"
#include "plot/Canvas.h"
#include "plot/ObserverMarks.h"
#include "plot/PlotFrame.h"

namespace sabrix {

// What a plot leaves for the main window to apply to its controls. A member that is empty
// (nullopt) means "leave the control as it is".
struct PlotOutcome {
    // Rows drawn.
    int64_t points = 0;
    // The star label: "NAME - (N Points)", or "File: PATH - (N Points)" for three-column data;
    // the stored star name + " - (0 Points)" when the window holds no row to draw.
    std::optional<QString> starLabel;
    // Panel 2 of the status bar (see MagnificationStatusText).
    std::optional<QString> statusText;
    // The cursor of the current tool: "Magnify1", "MagZoom", "JDZoom2" or "XHairs".
    std::optional<QString> cursorName;
    // The new content of the stats window, set only when the stats window is shown: the
    // brightest and faintest rows in view, or no line when the window holds no row.
    std::optional<std::vector<QString>> statsLines;
    // Messages to show in order, each in a box titled "Error" with an OK button.
    std::vector<QString> errorMessages;
};

// Draws the plot for the state's window, assuming Scaler has set the three frames: both
// strips, then picView cleared and every row with JD inside the window (bounds included) that
// the state shows (PointFilter::Of: hidden bands, OmitFainter, OmitDiscrepant), three-pixel bars
// above and below each dot for three-column data, and the marked observers' points joined when
// marks.ObserverMarked and ConnectMarked. Calls tick once per row and once per mark line (the
// caller paces its turns of the event loop with it, see EventPacer). Never throws: failures end up
// in errorMessages ("Error ... encountered in module Plotter." and the like). When no row is drawn,
// the label takes the "(0 Points)" form and the status text and cursor stay unset; when the walk
// fails after the first row, the remaining rows, the mark lines and the label are skipped.
//
// The frame (PlotFrame.h) says what x is: the rows drawn are those it places inside the
// window's x range, each at every x it gives; it draws the x strip and gives the label; the
// mark lines are drawn only where it joins marks.
PlotOutcome Plotter(const AppState& state, const ObserverMarks& marks, const ObsTable& table,
                    Canvas& picView, Canvas& picJDScale, Canvas& picMagScale,
                    const std::function<void()>& tick, const PlotFrame& frame = TimeFrame());

// Joins the points of each observer marking, in the order they were marked, with lines in the
// marking's colour on picView (x = JD - the view's JDFirst); a marking number with no points
// is passed over. Calls tick before each line. Throws SabrixError ("Type mismatch") when a text
// of MarkList is not a number; nothing is drawn then.
void PlotMarkLines(const ObserverMarks& marks, const PlotWindowState& view, Canvas& picView,
                   const std::function<void()>& tick);

// The lines of the stats window for the view: "High Mag. = M   JD = J" for the brightest shown
// row drawn inside the window and "Low Mag. = M   JD = J" for the faintest, where the frame
// says they are ("Phase = 0.25" on the phase plot); no line when the window shows no row.
std::vector<QString> StatsLines(const PlotFrame& frame, const PlotWindowState& view,
                                const PlotColumns& columns, const PointFilter& shown);

}  // namespace sabrix

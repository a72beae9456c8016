// The plot area as one picture, with no window: what the main window shows of a loaded star
// (the star label on top, the JD strip above the plot, the plot, and the magnitude strip at its
// right), laid out as the main window lays out its controls. Used by the command line's render.
#pragma once

#include <QImage>
#include <QRect>

#include "core/AppState.h"
#include "data/ObsTable.h"
#include "plot/Plotter.h"

namespace sabrix {

// The layout of the plot area in a picture of the given size, in pixels. The plot takes what
// the label row, the strips and the margins leave; the strips are 25 pixels thick.
struct PlotAreaLayout {
    QRect label;
    QRect jdScale;
    QRect view;
    QRect magScale;
};
PlotAreaLayout LayOutPlotArea(int width, int height);

// Runs the redraw sequence (frames, then the plot) on canvases of the layout's sizes and
// returns the composed picture, width x height pixels (at least 1 x 1). When outcome is given,
// it receives what the plot reported; a failure of the frames (other than with nothing loaded)
// is added to its messages as "Error ... encountered in module Scaler.". Never throws for a
// failure of the table; the picture then shows what was drawn.
QImage RenderPlotArea(const AppState& state, const ObsTable& table, int width, int height,
                      PlotOutcome* outcome);

}  // namespace sabrix

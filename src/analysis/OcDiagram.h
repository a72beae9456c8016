// SPDX-License-Identifier: GPL-3.0-or-later
// The O-C window without its widgets: the star's times of minimum against the ephemeris the
// user typed, the points left out of the fits, the line (and on request the parabola) fitted
// to the others, the part of the diagram shown, and the drawing of it onto canvases in the
// layout of the main plot (the diagram, the cycle scale above it, the O-C scale at its
// right). x is the cycle E, y is O - C in days (later above, so a star that runs late climbs).
// The times are the points of a plot frame of their own (OcFrame), which the drawing and the
// box walk as the light curve's readers walk theirs.
#pragma once

#include <QIODevice>
#include <QString>
#include <optional>
#include <vector>

#include "analysis/MinimaFile.h"
#include "analysis/OMinusC.h"
#include "analysis/OcFrame.h"
#include "data/PlotColumns.h"
#include "plot/Canvas.h"
#include "plot/ScaleTicks.h"

namespace sabrix {

class OcDiagram {
  public:
    // The list and the ephemeris; shows the whole diagram.
    void Set(std::vector<ListedExtremum> list, const Ephemeris& ephemeris);
    const std::vector<ListedExtremum>& list() const { return list_; }
    const Ephemeris& ephemeris() const { return ephemeris_; }
    // One point per time of the list, in its order.
    const std::vector<OcPoint>& points() const { return points_; }

    void SetQuadratic(bool on) { quadratic_ = on; }
    bool quadratic() const { return quadratic_; }
    // The fits of the points not left out; nothing when too few are left.
    std::optional<OcFit> Line() const;
    std::optional<OcFit> Parabola() const;
    // What the window prints under the diagram: the corrected ephemeris with its errors, and
    // dP/dE when the parabola is asked for; or why there is no fit.
    std::vector<QString> FitLines() const;

    // Back to every point with a margin.
    void Reset();
    // Shows the box between two corners (cycle, O-C), either order. False, changing nothing,
    // for a box of no width or height.
    bool ZoomToBox(double x1, double y1, double x2, double y2);
    // Leaves out the points inside the box (or takes back those inside when every one of them
    // was left out already). Returns how many changed.
    int ToggleInBox(double x1, double y1, double x2, double y2);

    double left() const { return left_; }
    double right() const { return right_; }
    double bottom() const { return bottom_; }
    double top() const { return top_; }

    // Sets the frames and draws: the scales, the zero line, each point with its error bar
    // (white, grey when left out), the line in yellow and the parabola in cyan.
    void Draw(Canvas& plot, Canvas& across, Canvas& down) const;

    // "cycle,oc,error,time,omitted", then a line per point in list order. Throws SabrixError
    // when out refuses a write.
    void WriteCsv(QIODevice& out) const;

  private:
    std::vector<ListedExtremum> list_;
    Ephemeris ephemeris_;
    std::vector<OcPoint> points_;
    // The times as points of the frame: ID i + 1 for the time i of the list.
    PlotColumns columns_;
    bool quadratic_ = false;
    double left_ = -1, right_ = 1, bottom_ = -0.01, top_ = 0.01;
};

}  // namespace sabrix

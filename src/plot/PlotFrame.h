// SPDX-License-Identifier: GPL-3.0-or-later
// The frame of the plot: what x means. The plot window (PlotWindowState) is a rectangle of x
// across by magnitude down; its "JD" members hold x, whatever x is, and picView works in
// x - JDFirst. The frame says where each observation is drawn (one x on the light curve, two
// on the phase plot, one for each cycle drawn), which rows a window can hold, how the x scale
// and the pointer readout are labelled, and which moves and analyses apply. Every reader of
// the plot (the plotter, the rings, the hover details, selection and locate, the stats window,
// the averages, the exports) asks the frame, so none of them needs to know which plot it is.
//
// TimeFrame: x is the JD (reduced by the star's TimeOffset). PhaseFrame (PhasePlot.h): x is the
// phase of the JD for a period and an epoch, drawn over two cycles.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "core/AppState.h"
#include "data/PlotColumns.h"
#include "data/PointFilter.h"
#include "plot/Canvas.h"

namespace sabrix {

// Where a frame draws an observation: count x's (0 when the frame does not draw it), the first
// the observation's own x (a phase in [0, 1) on the phase plot), the others its copies; y is the
// magnitude drawn.
struct FramePlace {
    int count = 0;
    double x[2] = {0, 0};
    double y = 0;
};

// An observation the frame draws, with the place it draws it.
struct FramePoint {
    const ObsPoint* point;
    FramePlace place;
};

class PlotFrame {
  public:
    virtual ~PlotFrame() = default;

    // The JD range of the rows that may be drawn with an x from xLow to xHigh.
    virtual std::pair<double, double> RowsFor(double xLow, double xHigh) const = 0;
    virtual FramePlace Place(const ObsPoint& point) const = 0;
    // The window of the whole frame, for the light curve's window it was chosen from.
    virtual PlotWindowState WholeWindow(const PlotWindowState& lightCurve) const = 0;

    // Clears the x strip and draws its scale for the window.
    virtual void WriteScale(Canvas& picJDScale, const AppState& state) const = 0;
    // The star label: "NAME - (N Points)" on the light curve.
    virtual QString Label(const QString& starName, int64_t points) const = 0;
    // The status bar's panels 3 and 4 with the pointer at (x, y) on picView (x is the frame's x
    // less the window's JDFirst, as the mouse reports it).
    virtual std::pair<QString, QString> Readout(double x, double y,
                                                const AppState& state) const = 0;
    // Panel 3 with the pointer over the x strip at x.
    virtual QString ScaleReadout(double x, const AppState& state) const = 0;
    // Where the stats window says an observation is: "JD = 2455001.25", "Phase = 0.253".
    virtual QString PlaceText(const ObsPoint& point, const FramePlace& place) const = 0;

    // Back, Forward, Beginning and End move the window through x.
    virtual bool StepsAcross() const = 0;
    // The observer marks are joined by lines (in the order observed).
    virtual bool JoinsMarks() const = 0;
    // x repeats after 1: averages are taken over one cycle of the own x's and drawn in each
    // cycle shown; there is no curve in time to fit.
    virtual bool Cyclic() const = 0;
};

// The light curve.
class TimeFrame final : public PlotFrame {
  public:
    std::pair<double, double> RowsFor(double xLow, double xHigh) const override {
        return {xLow, xHigh};
    }
    FramePlace Place(const ObsPoint& point) const override {
        return FramePlace{1, {point.JD, 0}, point.MagStored};
    }
    PlotWindowState WholeWindow(const PlotWindowState& lightCurve) const override {
        return lightCurve;
    }
    void WriteScale(Canvas& picJDScale, const AppState& state) const override;
    QString Label(const QString& starName, int64_t points) const override;
    std::pair<QString, QString> Readout(double x, double y, const AppState& state) const override;
    QString ScaleReadout(double x, const AppState& state) const override;
    QString PlaceText(const ObsPoint& point, const FramePlace& place) const override;
    bool StepsAcross() const override { return true; }
    bool JoinsMarks() const override { return true; }
    bool Cyclic() const override { return false; }
};

// The walks every reader of the frame shares. Each visits only the points that `shown` shows,
// in JD order.
//
// The points of the window's x range (bounds included) that the frame draws.
void ForEachFramePoint(const PlotFrame& frame, const PlotColumns& columns, const PointFilter& shown,
                       double xLow, double xHigh,
                       const std::function<void(const FramePoint&)>& visit);
// The IDs of the points with an x in [xLow, xHigh] and y in [yLow, yHigh] (either order).
std::vector<int64_t> FrameIdsInBox(const PlotFrame& frame, const PlotColumns& columns,
                                   const PointFilter& shown, double xA, double xB, double yA,
                                   double yB);
// The point nearest to (x, y) inside the ellipse of half-axes xReach and yReach (distances
// measured in those reaches); the lower ID among equally near ones. Nothing when none is inside.
std::optional<ObsPoint> FrameNearest(const PlotFrame& frame, const PlotColumns& columns,
                                     const PointFilter& shown, double x, double y, double xReach,
                                     double yReach);

struct FrameExtremes {
    FramePoint bright;
    FramePoint faint;
};
// The brightest and faintest points drawn in the window's x range (the lower ID among equals);
// nothing when it shows none.
std::optional<FrameExtremes> FrameExtremesIn(const PlotFrame& frame, const PlotColumns& columns,
                                             const PointFilter& shown, const PlotWindowState& view);

}  // namespace sabrix

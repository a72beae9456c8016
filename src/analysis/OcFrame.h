// SPDX-License-Identifier: GPL-3.0-or-later
// The O-C diagram as a frame of the plot (PlotFrame.h): its points are the listed times of
// minimum (the point's JD the time, its ID the place in the list counted from 1, its
// uncertainty the time's error), each drawn once at x = its cycle E and y = its O - C in days
// under the ephemeris (OMinusC.h). So the diagram's box selection and drawing walk the points
// as every other plot does. Example: T0 = 2450000, P = 1: the time 2450010.02 is drawn at
// (10, +0.02).
#pragma once

#include "analysis/OMinusC.h"
#include "plot/PlotFrame.h"

namespace sabrix {

class OcFrame final : public PlotFrame {
  public:
    explicit OcFrame(const Ephemeris& ephemeris) : ephemeris_(ephemeris) {}

    // The times whose cycles can fall from xLow to xHigh: half a period beyond either end.
    std::pair<double, double> RowsFor(double xLow, double xHigh) const override;
    FramePlace Place(const ObsPoint& point) const override;
    PlotWindowState WholeWindow(const PlotWindowState& window) const override { return window; }
    // The cycle scale for the window's x (WinJDLeft to WinJDRight).
    void WriteScale(Canvas& strip, const AppState& state) const override;
    // "NAME - O-C of 4 times".
    QString Label(const QString& starName, int64_t points) const override;
    // "E = 12.4" and "O-C = 0.00123 d".
    std::pair<QString, QString> Readout(double x, double y, const AppState& state) const override;
    QString ScaleReadout(double x, const AppState& state) const override;
    // "E = 12, T = 2459015.11407".
    QString PlaceText(const ObsPoint& point, const FramePlace& place) const override;
    bool StepsAcross() const override { return false; }
    bool JoinsMarks() const override { return false; }
    bool Cyclic() const override { return false; }

  private:
    Ephemeris ephemeris_;
};

}  // namespace sabrix

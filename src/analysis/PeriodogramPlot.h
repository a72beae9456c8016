// SPDX-License-Identifier: GPL-3.0-or-later
// The periodogram as a picture: power against frequency or against period, with the scale of
// the quantity across above the plot and the power scale at its right (the layout of the main
// window's plot, so the picture exports as the plot does), the window function on request, and
// the listed peaks numbered. It keeps what the user looks at (the axis, the part zoomed to)
// and draws onto canvases it is given.
//
// Frames. The plot's x is the frequency in cycles/day, or the base-10 logarithm of the period
// in days (so periods from 0.05 d to 2,400 d share the width fairly); its y is the power, 0 at
// the bottom. Example: frequencies 0.01 to 2 c/d on the period axis run from log10(0.5) =
// -0.301 at the left to log10(100) = 2 at the right.
#pragma once

#include <QString>
#include <vector>

#include "analysis/Periodogram.h"
#include "analysis/PeriodogramPeaks.h"
#include "plot/Canvas.h"
#include "plot/ScaleTicks.h"

namespace sabrix {

enum class PeriodogramAxis { Frequency, Period };

class PeriodogramPlot {
  public:
    // Shows the whole periodogram: every frequency of its grid, power from 0 to a little above
    // its highest value (at least up to 0.05).
    void Reset(const Periodogram& periodogram);

    PeriodogramAxis axis() const { return axis_; }
    // The other quantity across; the frequencies shown stay the same.
    void SetAxis(PeriodogramAxis axis) { axis_ = axis; }

    // Shows the box between two corners in the plot's frame (either order), cut to the grid's
    // frequencies and to power 0 to 1. Returns false, changing nothing, for a box of no width
    // or height, or one that holds no frequency of the grid.
    bool ZoomToBox(double x1, double y1, double x2, double y2);

    // The frequencies and powers shown.
    double lowFrequency() const { return fLow_; }
    double highFrequency() const { return fHigh_; }
    double lowPower() const { return pLow_; }
    double highPower() const { return pHigh_; }

    // The plot's x of a frequency, and the frequency at an x, on the current axis.
    double XOf(double frequency) const;
    double FrequencyAt(double x) const;

    // "Frequency (cycles/day)" or "Period (days, logarithmic)".
    QString AxisCaption() const;

    // Sets the three frames and draws: the scale across, the power scale, and on the plot the
    // window function in grey (when asked and computed), the power in yellow, and the number
    // of each peak (1 the highest) in white above it, the chosen one (-1: none) with a red
    // mark.
    void Draw(const Periodogram& periodogram, bool withWindow,
              const std::vector<PeriodogramPeak>& peaks, int chosen, Canvas& plot, Canvas& across,
              Canvas& power) const;

    // Sets the frame of the strip across (or of the power strip) as Draw does and lays out
    // its scale: frequencies and powers on linear scales, periods on a logarithmic one
    // (ScaleTicks.h).
    ScaleLayout AcrossScale(Canvas& across) const;
    ScaleLayout PowerScale(Canvas& power) const;

  private:
    PeriodogramAxis axis_ = PeriodogramAxis::Period;
    double gridLow_ = 0;
    double gridHigh_ = 1;
    double fLow_ = 0;
    double fHigh_ = 1;
    double pLow_ = 0;
    double pHigh_ = 1;
};

}  // namespace sabrix

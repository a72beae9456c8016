// SPDX-License-Identifier: GPL-3.0-or-later
// Ticks and labels of a scale strip along any linear quantity (a phase, a frequency, a power,
// or the logarithm of a period): where the ticks go and what their labels say, and their
// drawing on a strip above a plot (across) or at its right (down), in the style of the JD and
// magnitude strips (AxisScales.h).
//
// A strip across works in the quantity across and 0 (top) to 20 (bottom) down: major ticks
// from 15 to 20, minor from 17.5 to 20, labels centred on their tick with their top at -1. A
// strip down works in 0 to 20 across and the quantity down: major ticks from 0 to 5, minor
// from 0 to 2, labels from 6 across, centred on their tick.
#pragma once

#include <QString>
#include <vector>

#include "plot/Canvas.h"

namespace sabrix {

struct ScaleTick {
    double at = 0;  // where on the strip, in its frame
    QString label;  // empty for a minor tick
};

// The smallest step of 1, 2 or 5 times a power of ten that divides span into at most `most`
// intervals (span > 0, most >= 1): NiceStep(2, 10) = 0.2, NiceStep(20, 5) = 5,
// NiceStep(0.03, 4) = 0.01. 0 when span is not a finite number > 0.
double NiceStep(double span, int most);

// The decimals a label of a multiple of step needs: 0 for 1, 1 for 0.5, 2 for 0.05.
int StepDecimals(double step);

// Labelled ticks at the multiples of step between low and high (inclusive, either order) and
// minor ticks halfway between; empty when step is not > 0 or there would be more than 10,000.
std::vector<ScaleTick> LinearTicks(double low, double high, double step);

// Clears the strip and draws the ticks on it, across or down. Labels are left out when they
// would stand beyond the strip or cover the label before them.
void DrawTicksAcross(Canvas& strip, const std::vector<ScaleTick>& ticks);
void DrawTicksDown(Canvas& strip, const std::vector<ScaleTick>& ticks);

}  // namespace sabrix

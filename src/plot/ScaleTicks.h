// SPDX-License-Identifier: GPL-3.0-or-later
// Ticks and labels of a scale strip along any quantity (a phase, a frequency, a power, a
// period on a logarithmic strip), and the one rule by which every scale strip of the program,
// the JD and magnitude strips included (AxisScales.h), chooses its step: the finest of the
// steps tried whose labels stand clear of each other, with at least three labels on a strip
// of 300 pixels or more wherever three fit.
//
// A strip across works in the quantity across and 0 (top) to 20 (bottom) down: major ticks
// from 15 to 20, minor from 17.5 to 20, labels centred on their tick with their top at -1. A
// strip down works in 0 to 20 across and the quantity down: major ticks from 0 to 5, minor
// from 0 to 2, labels from 6 across, centred on their tick.
#pragma once

#include <QString>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "plot/Canvas.h"

namespace sabrix {

struct ScaleTick {
    double at = 0;  // where on the strip, in its frame
    QString label;  // empty for a minor tick
};

// A label of a strip as placed: the value it names (in the strip's frame), its text, the
// pixel its tick stands at along the strip, and the pixels it covers along the strip (its
// first pixel and its length).
struct ScaleLabel {
    double value = 0;
    QString text;
    double centre = 0;
    double length = 0;
    double start = 0;
};

// The ticks of a strip (in its frame) and its labels, and the step between labelled ticks.
struct ScaleLayout {
    double step = 0;
    std::vector<double> major;
    std::vector<double> minor;
    std::vector<ScaleLabel> labels;
};

// Pixels kept free between neighbouring labels across a strip: a label reads as one number
// only with clear space around it.
inline constexpr double kAcrossLabelGap = 14;
// Steps finer than a label could ever be told apart by are not tried: a label needs pixels.
inline constexpr double kLeastPixelsPerStep = 6;

// Places labels along a strip of extent pixels: each is centred on its tick, moved inside
// the strip when it would stand over an edge, and left out when it is longer than the strip.
// Nothing when two labels centred on their ticks would come closer than gap; a label moved
// in from an edge that would then come closer than gap to its neighbour is left out.
std::optional<std::vector<ScaleLabel>> PlaceScaleLabels(std::vector<ScaleLabel> labels,
                                                        double extent, double gap);

// The rule every scale strip chooses its ticks by. Of count ways of laying out a strip of
// extent pixels, finest first (lay(i) lays out the i-th, without placing its labels, or gives
// nothing for one not worth trying), the first whose labels PlaceScaleLabels places with gap;
// on a strip of 300 pixels or more where that shows fewer than three labels, the coarsest
// finer one that shows three with its labels a few pixels apart (failing that, the one of
// those that shows the most, when it shows more). Empty (step 0) when none places.
ScaleLayout ChooseScaleLayout(size_t count, double extent, double gap,
                              const std::function<std::optional<ScaleLayout>(size_t)>& lay);

// Steps of 1, 2 and 5 times a power of ten from 10^lowest to 10^highest, smallest first.
std::vector<double> DecimalSteps(int lowest, int highest);

enum class StripRun { Across, Down };

// A strip along a linear quantity from low to high (either order; the strip's frame places
// it): ticks at the multiples of a step of 1, 2 or 5 times a power of ten as
// ChooseScaleLayout chooses it, labelled as LinearTicks labels them and measured in the
// strip's font, minor ticks halfway between. Labels are kept apart by kAcrossLabelGap
// across, by a label's height down. Ticks outside the strip are left out.
ScaleLayout LayOutLinearScale(const Canvas& strip, double low, double high, StripRun run);

// A strip across whose frame holds the base-10 logarithm of a quantity (a period), from
// logLow to logHigh (either order): labels name the quantity. Within less than a decade,
// ticks at the multiples of a step of 1, 2 or 5 times a power of ten; over a decade or more,
// at whole multiples of the powers of ten, labelled every one, at 1, 2 and 5, at the powers
// of ten, or at every second, fifth, tenth... power of ten, as ChooseScaleLayout chooses, the
// other whole multiples (or powers) minor.
ScaleLayout LayOutLogScale(const Canvas& strip, double logLow, double logHigh);

// Clears the strip and draws the layout on it, across or down.
void DrawScaleAcross(Canvas& strip, const ScaleLayout& layout);
void DrawScaleDown(Canvas& strip, const ScaleLayout& layout);

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
// would stand beyond the strip or cover the label before them. (For ticks chosen elsewhere;
// LayOutLinearScale and DrawScaleAcross choose the step by the labels as well.)
void DrawTicksAcross(Canvas& strip, const std::vector<ScaleTick>& ticks);
void DrawTicksDown(Canvas& strip, const std::vector<ScaleTick>& ticks);

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/PhasePlot.h"

#include <algorithm>
#include <cmath>

#include "core/NumberText.h"
#include "plot/ScaleTicks.h"

namespace sabrix {

namespace {
// The phase scale's labels are tenths of a cycle until a zoom leaves fewer than about five
// of them in the window; then a finer step gives about five.
constexpr double kPhaseLabelStep = 0.1;
constexpr int kFewestPhaseLabels = 5;
constexpr int kPeriodDecimals = 7;
}  // namespace

double FoldPhase(double t, double epoch, double period) {
    const double cycles = (t - epoch) / period;
    const double phase = cycles - std::floor(cycles);
    // -1e-17 cycles gives 1 - 1e-17, which rounds to 1.
    return phase >= 1 ? 0 : phase;
}

PlotWindowState PhaseWindow(const PlotWindowState& timeView) {
    PlotWindowState v = timeView;
    v.JDFirst = kPhasePlotLeft;
    v.JDLast = kPhasePlotRight;
    v.JDMargin = 0;
    v.WinJDLeft = kPhasePlotLeft;
    v.WinJDRight = kPhasePlotRight;
    v.WinJDWidth = kPhasePlotRight - kPhasePlotLeft;
    v.JDMagnification = 1.0f;
    return v;
}

QString PeriodText(double period) {
    return QString::fromStdString(FormatDouble(RoundHalfEven(period, kPeriodDecimals)));
}

std::vector<ScaleTick> PhaseScaleTicks(const PlotWindowState& view) {
    const double width = std::abs(view.WinJDRight - view.WinJDLeft);
    const double step = std::min(kPhaseLabelStep, NiceStep(width, kFewestPhaseLabels));
    return LinearTicks(view.WinJDLeft, view.WinJDRight, step);
}

void WritePhaseScale(Canvas& picJDScale, const PlotWindowState& view) {
    DrawTicksAcross(picJDScale, PhaseScaleTicks(view));
}

}  // namespace sabrix

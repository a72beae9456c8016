// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ModelPlot.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "plot/PhasePlot.h"

namespace sabrix {

namespace {

// Cyan, apart from the red of the averages, the white of the polynomial fit and the yellow
// of the points of a three-column file.
constexpr int32_t kModelColor = 0xFFFF00;

void Polyline(int samples, double from, double to, const std::function<double(double)>& at,
              double xOrigin, Canvas& picView) {
    std::vector<Canvas::Segment> segments;
    segments.reserve(static_cast<size_t>(samples));
    double x0 = from, y0 = at(from);
    for (int i = 1; i <= samples; ++i) {
        const double x1 = from + (to - from) * i / samples;
        const double y1 = at(x1);
        segments.push_back({x0 - xOrigin, y0, x1 - xOrigin, y1, kModelColor});
        x0 = x1;
        y0 = y1;
    }
    picView.Lines(segments);
}

}  // namespace

void DrawModelOverPhase(const FourierModel& model, double epoch, const PlotWindowState& view,
                        Canvas& picView) {
    constexpr int kSamples = 800;
    const double period = model.period();
    Polyline(
        kSamples, kPhasePlotLeft, kPhasePlotRight,
        [&](double phase) { return model.At(epoch + phase * period); }, view.JDFirst, picView);
}

void DrawModelOverTime(const FourierModel& model, const PlotWindowState& view, Canvas& picView) {
    constexpr double kPerCycle = 40;
    constexpr double kMost = 20000;
    const double width = view.WinJDRight - view.WinJDLeft;
    if (!(width > 0)) return;
    const double samples = std::clamp(width * model.frequency * kPerCycle, 200.0, kMost);
    Polyline(
        static_cast<int>(samples), view.WinJDLeft, view.WinJDRight,
        [&](double t) { return model.At(t); }, view.JDFirst, picView);
}

}  // namespace sabrix

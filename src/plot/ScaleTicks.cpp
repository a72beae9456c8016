// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/ScaleTicks.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "core/NumberText.h"

namespace sabrix {

namespace {

constexpr double kMajorTop = 15;
constexpr double kMinorTop = 17.5;
constexpr double kStripEnd = 20;
constexpr double kLabelTop = -1;
constexpr double kMajorLength = 5;
constexpr double kMinorLength = 2;
constexpr double kLabelLeft = 6;
constexpr double kMostTicks = 10000;
// Pixels kept free between two labels.
constexpr double kLabelGap = 4;

// Labels placed along one pixel axis, each kept clear of the one before it and inside the
// strip's pixels.
class PixelLabelRow {
  public:
    explicit PixelLabelRow(double extent) : extent_(extent) {}
    // The first pixel of a label of the given length centred on centre, or nothing.
    std::optional<double> place(double centre, double length) {
        const double start = centre - length / 2;
        if (start < 0 || start + length > extent_ || start < end_ + kLabelGap) return std::nullopt;
        end_ = start + length;
        return start;
    }

  private:
    double extent_;
    double end_ = -std::numeric_limits<double>::infinity();
};

}  // namespace

double NiceStep(double span, int most) {
    if (!(span > 0) || !std::isfinite(span) || most < 1) return 0;
    const double least = span / most;
    const double decade = std::pow(10.0, std::floor(std::log10(least)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0})
        if (decade * factor >= least * (1 - 1e-12)) return decade * factor;
    return decade * 10;
}

int StepDecimals(double step) {
    int decimals = 0;
    while (decimals < 12 && std::abs(step - std::round(step)) > 1e-9 * std::max(1.0, step)) {
        step *= 10;
        ++decimals;
    }
    return decimals;
}

std::vector<ScaleTick> LinearTicks(double low, double high, double step) {
    if (low > high) std::swap(low, high);
    std::vector<ScaleTick> ticks;
    if (!(step > 0) || !std::isfinite(low) || !std::isfinite(high) ||
        (high - low) / step > kMostTicks)
        return ticks;
    const int decimals = StepDecimals(step);
    const double first = std::ceil(low / step - 0.5);
    const double last = std::floor(high / step + 0.5);
    for (double k = first; k <= last; ++k) {
        const double at = k * step;
        // Multiples are counted in steps, so 0.1 * 3 labels as "0.3", and -0 as "0".
        const double shown = RoundHalfEven(at, decimals) + 0.0;
        if (at >= low - step * 1e-9 && at <= high + step * 1e-9)
            ticks.push_back({at, QString::fromStdString(FormatDouble(shown))});
        const double half = at + step / 2;
        if (half >= low && half <= high) ticks.push_back({half, QString()});
    }
    return ticks;
}

void DrawTicksAcross(Canvas& strip, const std::vector<ScaleTick>& ticks) {
    strip.Cls();
    PixelLabelRow row(strip.pixelWidth());
    for (const ScaleTick& tick : ticks) {
        const bool major = !tick.label.isEmpty();
        strip.Line(tick.at, major ? kMajorTop : kMinorTop, tick.at, kStripEnd);
        if (!major) continue;
        const double length = strip.TextWidth(tick.label) / std::abs(strip.PixelsToUserX(1));
        const std::optional<double> start = row.place(strip.toPixel(tick.at, 0).x(), length);
        if (!start) continue;
        strip.CurrentX = strip.userX(*start);
        strip.CurrentY = kLabelTop;
        strip.Print(tick.label);
    }
}

void DrawTicksDown(Canvas& strip, const std::vector<ScaleTick>& ticks) {
    strip.Cls();
    PixelLabelRow row(strip.pixelHeight());
    // Labels are placed from the top of the strip down, whichever way the quantity runs.
    std::vector<const ScaleTick*> order;
    for (const ScaleTick& tick : ticks) order.push_back(&tick);
    std::sort(order.begin(), order.end(), [&](const ScaleTick* a, const ScaleTick* b) {
        return strip.toPixel(0, a->at).y() < strip.toPixel(0, b->at).y();
    });
    for (const ScaleTick* tick : order) {
        const bool major = !tick->label.isEmpty();
        strip.Line(0, tick->at, major ? kMajorLength : kMinorLength, tick->at);
        if (!major) continue;
        const double length = strip.TextHeight(tick->label) / std::abs(strip.PixelsToUserY(1));
        const std::optional<double> start = row.place(strip.toPixel(0, tick->at).y(), length);
        if (!start) continue;
        strip.CurrentX = kLabelLeft;
        strip.CurrentY = strip.userY(*start);
        strip.Print(tick->label);
    }
}

}  // namespace sabrix

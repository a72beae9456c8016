// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/ScaleTicks.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

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
// A strip of 300 pixels or more that would show fewer than three labels takes a finer step
// when its labels clear each other by the least gap.
constexpr double kLeastLabelGap = 5;
constexpr double kStripWantingThreeLabels = 300;

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

double PixelAlong(const Canvas& strip, StripRun run, double at) {
    return run == StripRun::Across ? strip.toPixel(at, 0).x() : strip.toPixel(0, at).y();
}

double LabelLength(const Canvas& strip, StripRun run, const QString& text) {
    return run == StripRun::Across ? strip.TextWidth(text) / std::abs(strip.PixelsToUserX(1))
                                   : strip.TextHeight(text) / std::abs(strip.PixelsToUserY(1));
}

double Extent(const Canvas& strip, StripRun run) {
    return run == StripRun::Across ? strip.pixelWidth() : strip.pixelHeight();
}

// The layout of ticks already placed in the strip's frame (a labelled tick major, the others
// minor), their labels measured but not yet placed; the ticks beyond the strip left out.
ScaleLayout LayoutOfTicks(const Canvas& strip, StripRun run, const std::vector<ScaleTick>& ticks,
                          double step) {
    ScaleLayout layout;
    layout.step = step;
    const double extent = Extent(strip, run);
    for (const ScaleTick& tick : ticks) {
        const double pixel = PixelAlong(strip, run, tick.at);
        if (!std::isfinite(pixel) || pixel < -0.5 || pixel > extent + 0.5) continue;
        if (tick.label.isEmpty()) {
            layout.minor.push_back(tick.at);
            continue;
        }
        layout.major.push_back(tick.at);
        layout.labels.push_back(
            {tick.at, tick.label, pixel, LabelLength(strip, run, tick.label), 0});
    }
    return layout;
}

// A strip along a quantity from low to high (low < high) whose frame holds placeOf(quantity):
// ticks at the multiples of a 1-2-5 step of the quantity.
ScaleLayout LayOutSteps(const Canvas& strip, double low, double high, StripRun run,
                        double (*placeOf)(double)) {
    const double span = high - low;
    const double extent = Extent(strip, run);
    if (!(span > 0) || !std::isfinite(span) || !(extent > 0)) return {};
    const double gap =
        run == StripRun::Across ? kAcrossLabelGap : LabelLength(strip, run, QStringLiteral("0"));
    const std::vector<double> steps =
        DecimalSteps(static_cast<int>(std::floor(std::log10(span * kLeastPixelsPerStep / extent))),
                     static_cast<int>(std::ceil(std::log10(span))) + 1);
    return ChooseScaleLayout(steps.size(), extent, gap,
                             [&](size_t i) -> std::optional<ScaleLayout> {
                                 std::vector<ScaleTick> ticks = LinearTicks(low, high, steps[i]);
                                 if (ticks.empty()) return std::nullopt;
                                 double last = std::numeric_limits<double>::quiet_NaN();
                                 for (ScaleTick& tick : ticks) {
                                     tick.at = placeOf(tick.at);
                                     if (tick.label.isEmpty()) continue;
                                     const double pixel = PixelAlong(strip, run, tick.at);
                                     if (std::abs(pixel - last) < kLeastPixelsPerStep)
                                         return std::nullopt;
                                     last = pixel;
                                 }
                                 return LayoutOfTicks(strip, run, ticks, steps[i]);
                             });
}

double Identity(double x) {
    return x;
}

double Log10(double x) {
    return x > 0 ? std::log10(x) : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace

std::optional<std::vector<ScaleLabel>> PlaceScaleLabels(std::vector<ScaleLabel> labels,
                                                        double extent, double gap) {
    std::sort(labels.begin(), labels.end(),
              [](const ScaleLabel& a, const ScaleLabel& b) { return a.centre < b.centre; });
    for (size_t i = 0; i + 1 < labels.size(); ++i)
        if (labels[i + 1].centre - labels[i].centre <
            (labels[i].length + labels[i + 1].length) / 2 + gap)
            return std::nullopt;
    std::vector<ScaleLabel> placed;
    std::vector<bool> moved;
    for (ScaleLabel label : labels) {
        if (label.length > extent) continue;
        const double centred = label.centre - label.length / 2;
        label.start = std::clamp(centred, 0.0, extent - label.length);
        const bool wasMoved = label.start != centred;
        if (!placed.empty() && label.start < placed.back().start + placed.back().length + gap) {
            if (!moved.back()) continue;  // this one stands at the right edge
            placed.pop_back();
            moved.pop_back();
        }
        placed.push_back(label);
        moved.push_back(wasMoved);
    }
    return placed;
}

ScaleLayout ChooseScaleLayout(size_t count, double extent, double gap,
                              const std::function<std::optional<ScaleLayout>(size_t)>& lay) {
    // The layouts tried whose labels came too close, finest first.
    std::vector<ScaleLayout> finer;
    for (size_t i = 0; i < count; ++i) {
        std::optional<ScaleLayout> layout = lay(i);
        if (!layout) continue;
        std::optional<std::vector<ScaleLabel>> labels =
            PlaceScaleLabels(layout->labels, extent, gap);
        if (!labels) {
            finer.push_back(*std::move(layout));
            continue;
        }
        layout->labels = *std::move(labels);
        if (extent < kStripWantingThreeLabels || layout->labels.size() >= 3) return *layout;
        std::optional<ScaleLayout> most;
        for (auto it = finer.rbegin(); it != finer.rend(); ++it) {
            std::optional<std::vector<ScaleLabel>> closer =
                PlaceScaleLabels(it->labels, extent, kLeastLabelGap);
            if (!closer) break;  // finer ones come closer still
            if (closer->size() > (most ? most->labels : layout->labels).size()) {
                most = *std::move(it);
                most->labels = *std::move(closer);
                if (most->labels.size() >= 3) break;
            }
        }
        return most ? *most : *layout;
    }
    return {};
}

std::vector<double> DecimalSteps(int lowest, int highest) {
    std::vector<double> steps;
    for (int e = lowest; e <= highest; ++e)
        for (const double factor : {1.0, 2.0, 5.0}) steps.push_back(factor * std::pow(10.0, e));
    return steps;
}

ScaleLayout LayOutLinearScale(const Canvas& strip, double low, double high, StripRun run) {
    if (low > high) std::swap(low, high);
    return LayOutSteps(strip, low, high, run, Identity);
}

ScaleLayout LayOutLogScale(const Canvas& strip, double logLow, double logHigh) {
    if (logLow > logHigh) std::swap(logLow, logHigh);
    const double decades = logHigh - logLow;
    if (!(decades > 0) || !std::isfinite(decades)) return {};
    if (decades < 1)
        return LayOutSteps(strip, std::pow(10.0, logLow), std::pow(10.0, logHigh), StripRun::Across,
                           Log10);
    // Over decades: all whole multiples of the powers of ten labelled, or 1, 2 and 5, or the
    // powers of ten, or every every-th power of ten.
    std::vector<int> every = {-3, -2, 1};
    for (const double k : DecimalSteps(0, 3))
        if (k > 1 && k <= decades) every.push_back(static_cast<int>(k));
    const double pixelsPerDecade = std::abs(1 / strip.PixelsToUserX(1));
    const auto floorMod = [](int a, int m) { return ((a % m) + m) % m; };
    return ChooseScaleLayout(
        every.size(), strip.pixelWidth(), kAcrossLabelGap,
        [&](size_t i) -> std::optional<ScaleLayout> {
            // The closest labelled ticks: 9 and 10, 5 and 10, or powers of ten.
            const double closest = every[i] == -3   ? std::log10(10.0 / 9)
                                   : every[i] == -2 ? std::log10(2.0)
                                                    : every[i];
            if (closest * pixelsPerDecade < kLeastPixelsPerStep) return std::nullopt;
            std::vector<ScaleTick> ticks;
            for (int d = static_cast<int>(std::floor(logLow));
                 d <= static_cast<int>(std::ceil(logHigh)); ++d) {
                const double power = std::pow(10.0, d);
                for (int m = 1; m <= 9; ++m) {
                    const double at = std::log10(m * power);
                    if (at < logLow || at > logHigh) continue;
                    if (every[i] > 1 && m > 1) continue;  // the powers of ten alone
                    const bool labelled = every[i] == -3 ||
                                          (every[i] == -2 && (m == 2 || m == 5)) ||
                                          (m == 1 && floorMod(d, std::max(every[i], 1)) == 0);
                    const double value = RoundHalfEven(m * power, std::max(0, -d));
                    ticks.push_back(
                        {at, labelled ? QString::fromStdString(FormatDouble(value)) : QString()});
                }
            }
            return LayoutOfTicks(strip, StripRun::Across, ticks, std::max(every[i], 1));
        });
}

void DrawScaleAcross(Canvas& strip, const ScaleLayout& layout) {
    strip.Cls();
    for (const double x : layout.minor) strip.Line(x, kMinorTop, x, kStripEnd);
    for (const double x : layout.major) strip.Line(x, kMajorTop, x, kStripEnd);
    for (const ScaleLabel& label : layout.labels) {
        strip.CurrentX = strip.userX(label.start);
        strip.CurrentY = kLabelTop;
        strip.Print(label.text);
    }
}

void DrawScaleDown(Canvas& strip, const ScaleLayout& layout) {
    strip.Cls();
    for (const double y : layout.minor) strip.Line(0, y, kMinorLength, y);
    for (const double y : layout.major) strip.Line(0, y, kMajorLength, y);
    for (const ScaleLabel& label : layout.labels) {
        strip.CurrentX = kLabelLeft;
        strip.CurrentY = strip.userY(label.start);
        strip.Print(label.text);
    }
}

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

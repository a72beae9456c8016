// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/PeriodogramPlot.h"

#include <algorithm>
#include <cmath>

#include "core/NumberText.h"

namespace sabrix {

namespace {

constexpr int32_t kYellow = 65535;
constexpr int32_t kGrey = 8421504;
constexpr int32_t kWhite = 16777215;
constexpr int32_t kRed = 255;
// The power axis ends this much above the highest power, within these limits.
constexpr double kHeadroom = 1.1;
constexpr double kLowestTop = 0.05;
constexpr double kHighestTop = 1.05;
// Pixels a label of a scale takes with its gap, across and down.
constexpr int kPixelsPerLabelAcross = 70;
constexpr int kPixelsPerLabelDown = 40;
constexpr double kChosenRadiusPixels = 5;
constexpr double kPeakNumberGapPixels = 4;

std::vector<ScaleTick> LogPeriodTicks(double logLow, double logHigh, int pixels) {
    std::vector<ScaleTick> ticks;
    const double decades = logHigh - logLow;
    if (!(decades > 0) || !std::isfinite(decades)) return ticks;
    const int room = std::max(1, pixels / kPixelsPerLabelAcross);
    if (decades < 1) {
        // Less than a decade: evenly stepped periods, placed where their logarithms fall.
        const double low = std::pow(10.0, logLow);
        const double high = std::pow(10.0, logHigh);
        for (ScaleTick tick : LinearTicks(low, high, NiceStep(high - low, room))) {
            if (!(tick.at > 0)) continue;
            tick.at = std::log10(tick.at);
            ticks.push_back(tick);
        }
        return ticks;
    }
    // A decade or more: 1, 2 and 5 times each power of ten labelled while there is room for
    // three labels a decade, else the powers of ten alone; the other whole multiples minor.
    const bool oneTwoFive = decades * 3 <= room;
    for (double d = std::floor(logLow); d <= std::ceil(logHigh); ++d) {
        const double power = std::pow(10.0, d);
        for (int m = 1; m <= 9; ++m) {
            const double at = std::log10(m * power);
            if (at < logLow || at > logHigh) continue;
            const bool labelled = m == 1 || (oneTwoFive && (m == 2 || m == 5));
            ticks.push_back(
                {at, labelled ? QString::fromStdString(FormatDouble(m * power)) : QString()});
        }
    }
    return ticks;
}

}  // namespace

void PeriodogramPlot::Reset(const Periodogram& periodogram) {
    const FrequencyGrid& grid = periodogram.grid;
    gridLow_ = grid.first;
    gridHigh_ = grid.at(std::max<int64_t>(grid.count - 1, 0));
    fLow_ = gridLow_;
    fHigh_ = gridHigh_;
    double highest = 0;
    for (const double p : periodogram.power) highest = std::max(highest, p);
    pLow_ = 0;
    pHigh_ = std::clamp(highest * kHeadroom, kLowestTop, kHighestTop);
}

bool PeriodogramPlot::ZoomToBox(double x1, double y1, double x2, double y2) {
    double fa = FrequencyAt(x1);
    double fb = FrequencyAt(x2);
    if (fa > fb) std::swap(fa, fb);
    fa = std::max(fa, gridLow_);
    fb = std::min(fb, gridHigh_);
    const double pa = std::max(0.0, std::min(y1, y2));
    const double pb = std::min(1.0, std::max(y1, y2));
    if (!(fb > fa) || !(pb > pa)) return false;
    fLow_ = fa;
    fHigh_ = fb;
    pLow_ = pa;
    pHigh_ = pb;
    return true;
}

double PeriodogramPlot::XOf(double frequency) const {
    return axis_ == PeriodogramAxis::Frequency ? frequency : -std::log10(frequency);
}

double PeriodogramPlot::FrequencyAt(double x) const {
    return axis_ == PeriodogramAxis::Frequency ? x : std::pow(10.0, -x);
}

QString PeriodogramPlot::AxisCaption() const {
    return axis_ == PeriodogramAxis::Frequency ? QStringLiteral("Frequency (cycles/day)")
                                               : QStringLiteral("Period (days, logarithmic)");
}

std::vector<ScaleTick> PeriodogramPlot::AcrossTicks(int pixels) const {
    const double left = std::min(XOf(fLow_), XOf(fHigh_));
    const double right = std::max(XOf(fLow_), XOf(fHigh_));
    if (axis_ == PeriodogramAxis::Period) return LogPeriodTicks(left, right, pixels);
    return LinearTicks(left, right,
                       NiceStep(right - left, std::max(1, pixels / kPixelsPerLabelAcross)));
}

std::vector<ScaleTick> PeriodogramPlot::PowerTicks(int pixels) const {
    return LinearTicks(pLow_, pHigh_,
                       NiceStep(pHigh_ - pLow_, std::max(1, pixels / kPixelsPerLabelDown)));
}

void PeriodogramPlot::Draw(const Periodogram& periodogram, bool withWindow,
                           const std::vector<PeriodogramPeak>& peaks, int chosen, Canvas& plot,
                           Canvas& across, Canvas& power) const {
    const double left = std::min(XOf(fLow_), XOf(fHigh_));
    const double right = std::max(XOf(fLow_), XOf(fHigh_));
    plot.SetUserScale(left, pHigh_, right - left, pLow_ - pHigh_);
    across.SetUserScale(left, 0, right - left, 20);
    power.SetUserScale(0, pHigh_, 20, pLow_ - pHigh_);
    DrawTicksAcross(across, AcrossTicks(across.pixelWidth()));
    DrawTicksDown(power, PowerTicks(power.pixelHeight()));
    plot.Cls();

    const FrequencyGrid& grid = periodogram.grid;
    if (grid.count <= 0 || grid.step <= 0) return;
    // The grid frequencies shown, with one more at each end so the curve runs to the edges.
    const auto k0 =
        static_cast<int64_t>(std::max(0.0, std::floor((fLow_ - grid.first) / grid.step) - 1));
    const auto k1 = static_cast<int64_t>(std::min(
        static_cast<double>(grid.count - 1), std::ceil((fHigh_ - grid.first) / grid.step) + 1));
    const bool rising = axis_ == PeriodogramAxis::Frequency;

    // One pixel column may hold thousands of frequencies: each column is drawn as the span
    // of its values, joined to the next column by a line, so the picture shows every peak
    // however many frequencies there are.
    const auto drawCurve = [&](const std::vector<double>& values, int32_t color) {
        std::vector<Canvas::Segment> joins;
        bool open = false;
        int column = 0;
        double low = 0;
        double high = 0;
        double lastX = 0;
        double lastY = 0;
        const auto closeColumn = [&] {
            if (open && high > low) plot.Line(lastX, low, lastX, high, color);
        };
        for (int64_t i = k0; i <= k1; ++i) {
            const int64_t k = rising ? i : k1 - (i - k0);
            const double x = XOf(grid.at(k));
            const double y = values[static_cast<size_t>(k)];
            const int c = static_cast<int>(std::floor(plot.toPixel(x, y).x()));
            if (open && c == column) {
                low = std::min(low, y);
                high = std::max(high, y);
                lastY = y;
                continue;
            }
            closeColumn();
            if (open) joins.push_back({lastX, lastY, x, y, color});
            open = true;
            column = c;
            low = high = lastY = y;
            lastX = x;
        }
        closeColumn();
        plot.Lines(joins);
    };
    if (withWindow && periodogram.window.size() == periodogram.power.size())
        drawCurve(periodogram.window, kGrey);
    drawCurve(periodogram.power, kYellow);

    const int32_t foreColor = plot.ForeColor;
    plot.ForeColor = kWhite;
    for (size_t n = 0; n < peaks.size(); ++n) {
        const PeriodogramPeak& peak = peaks[n];
        if (peak.frequency < fLow_ || peak.frequency > fHigh_) continue;
        const double x = XOf(peak.frequency);
        if (static_cast<int>(n) == chosen) {
            const bool solid = plot.FillSolid;
            plot.FillSolid = false;
            plot.Circle(x, peak.power, std::abs(plot.PixelsToUserX(kChosenRadiusPixels)), kRed);
            plot.FillSolid = solid;
        }
        const QString number = QString::number(n + 1);
        const QPointF at = plot.toPixel(x, peak.power);
        const double textHeight = std::abs(plot.TextHeight(number) / plot.PixelsToUserY(1));
        const double top = std::max(0.0, at.y() - kPeakNumberGapPixels - textHeight);
        plot.CurrentX = x - plot.TextWidth(number) / 2 * (plot.ScaleWidth() < 0 ? -1 : 1);
        plot.CurrentY = plot.userY(top);
        plot.Print(number);
    }
    plot.ForeColor = foreColor;
}

}  // namespace sabrix

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
constexpr double kChosenRadiusPixels = 5;
constexpr double kPeakNumberGapPixels = 4;

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

ScaleLayout PeriodogramPlot::AcrossScale(Canvas& across) const {
    const double left = std::min(XOf(fLow_), XOf(fHigh_));
    const double right = std::max(XOf(fLow_), XOf(fHigh_));
    across.SetUserScale(left, 0, right - left, 20);
    return axis_ == PeriodogramAxis::Period
               ? LayOutLogScale(across, left, right)
               : LayOutLinearScale(across, left, right, StripRun::Across);
}

ScaleLayout PeriodogramPlot::PowerScale(Canvas& power) const {
    power.SetUserScale(0, pHigh_, 20, pLow_ - pHigh_);
    return LayOutLinearScale(power, pLow_, pHigh_, StripRun::Down);
}

void PeriodogramPlot::Draw(const Periodogram& periodogram, bool withWindow,
                           const std::vector<PeriodogramPeak>& peaks, int chosen, Canvas& plot,
                           Canvas& across, Canvas& power) const {
    const double left = std::min(XOf(fLow_), XOf(fHigh_));
    const double right = std::max(XOf(fLow_), XOf(fHigh_));
    plot.SetUserScale(left, pHigh_, right - left, pLow_ - pHigh_);
    DrawScaleAcross(across, AcrossScale(across));
    DrawScaleDown(power, PowerScale(power));
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

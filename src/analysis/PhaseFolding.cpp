// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/PhaseFolding.h"

#include <algorithm>
#include <cmath>

#include "analysis/FrequencyGrid.h"
#include "core/NumberText.h"

namespace sabrix {

double BrightestEpoch(std::span<const double> times, std::span<const double> mags) {
    const size_t n = std::min(times.size(), mags.size());
    size_t best = 0;
    for (size_t i = 1; i < n; ++i)
        if (mags[i] < mags[best] || (mags[i] == mags[best] && times[i] < times[best])) best = i;
    return times[best];
}

void ForEachTwoCyclePoint(
    std::span<const double> times, std::span<const double> mags, double epoch, double period,
    const std::function<void(double phase, double mag, int64_t index)>& draw) {
    const size_t n = std::min(times.size(), mags.size());
    for (size_t i = 0; i < n; ++i) {
        const double phase = FoldPhase(times[i], epoch, period);
        const auto index = static_cast<int64_t>(i);
        draw(phase, mags[i], index);
        draw(OtherCyclePhase(phase), mags[i], index);
    }
}

std::vector<PhaseBin> PhaseBins(std::span<const double> times, std::span<const double> mags,
                                double epoch, double period, double width) {
    const size_t n = std::min(times.size(), mags.size());
    width = std::isnan(width) ? kDefaultPhaseBinWidth : std::clamp(width, kMinPhaseBinWidth, 1.0);
    // A width that divides 1 up to rounding (0.05 * 20 = 1.0000000000000002) makes no sliver.
    const auto bins = static_cast<int64_t>(std::ceil(1 / width - 1e-9));
    std::vector<int64_t> counts(static_cast<size_t>(bins));
    std::vector<double> sums(static_cast<size_t>(bins));
    std::vector<double> squares(static_cast<size_t>(bins));
    std::vector<int64_t> binOf(n);
    for (size_t i = 0; i < n; ++i) {
        const double phase = FoldPhase(times[i], epoch, period);
        binOf[i] = std::min(bins - 1, static_cast<int64_t>(phase / width));
        ++counts[binOf[i]];
        sums[binOf[i]] += mags[i];
    }
    // Deviations from each bin's mean in a second pass: magnitudes near 10 with a scatter of
    // 0.01 would lose digits in sum x^2 - n mean^2.
    for (size_t i = 0; i < n; ++i) {
        const double d = mags[i] - sums[binOf[i]] / static_cast<double>(counts[binOf[i]]);
        squares[binOf[i]] += d * d;
    }
    std::vector<PhaseBin> result;
    for (int64_t b = 0; b < bins; ++b) {
        if (counts[b] == 0) continue;
        PhaseBin bin;
        bin.from = static_cast<double>(b) * width;
        bin.to = std::min(1.0, static_cast<double>(b + 1) * width);
        bin.centre = (bin.from + bin.to) / 2;
        bin.count = counts[b];
        bin.mean = sums[b] / static_cast<double>(counts[b]);
        bin.sd = counts[b] > 1 ? std::sqrt(squares[b] / static_cast<double>(counts[b] - 1)) : 0;
        result.push_back(bin);
    }
    return result;
}

void PhaseBinPlotter(const std::vector<PhaseBin>& bins, double halfBar, const PlotWindowState& view,
                     Canvas& picView) {
    constexpr int32_t kWhite = 16777215;
    // The curve of the means stands out from points of any band: 2 pixels of bright orange
    // over a black outline that parts it from the points it crosses.
    constexpr int32_t kCurve = 255 + 256 * 120;
    constexpr int32_t kOutline = 0;
    constexpr int kCurveWidth = 2;
    constexpr int kOutlineWidth = 4;
    if (bins.empty()) return;
    // Each bin three times, a cycle apart, so the curve runs unbroken through both cycles and
    // on past their ends to the next mean.
    struct Mean {
        double phase;
        const PhaseBin* bin;
    };
    std::vector<Mean> means;
    for (const int cycle : {-1, 0, 1})
        for (const PhaseBin& bin : bins) means.push_back({bin.centre + cycle, &bin});
    std::vector<Canvas::Segment> lines;
    std::vector<Canvas::Segment> curve;
    const Mean* previous = nullptr;
    for (const Mean& m : means) {
        const double x = m.phase - view.JDFirst;
        const double mean = m.bin->mean;
        const bool shown = m.phase >= kPhasePlotLeft && m.phase < kPhasePlotRight;
        if (shown) {
            lines.push_back({x, mean, x, mean - halfBar * m.bin->sd, kWhite});
            lines.push_back({x, mean, x, mean + halfBar * m.bin->sd, kWhite});
        }
        if (previous)
            curve.push_back({previous->phase - view.JDFirst, previous->bin->mean, x, mean, kCurve});
        previous = &m;
    }
    picView.Lines(lines);
    const int width = picView.DrawWidth;
    std::vector<Canvas::Segment> outline = curve;
    for (Canvas::Segment& segment : outline) segment.color = kOutline;
    picView.DrawWidth = kOutlineWidth;
    picView.Lines(outline);
    picView.DrawWidth = kCurveWidth;
    picView.Lines(curve);
    picView.DrawWidth = width;
}

FoldOutcome ReadFoldFields(const QString& period, const QString& epoch, double defaultEpoch) {
    FoldOutcome outcome;
    FoldRequest fold;
    if (!ParseNumber(period.toStdString(), fold.period) || !(fold.period >= kShortestPeriod) ||
        !(fold.period <= kLongestPeriod)) {
        outcome.refusal = QStringLiteral(
            "Period: type a number of days from 0.0001 to 10,000,000, for example 0.5668.");
        return outcome;
    }
    fold.epoch = defaultEpoch;
    if (!epoch.trimmed().isEmpty() &&
        (!ParseNumber(epoch.toStdString(), fold.epoch) || !std::isfinite(fold.epoch))) {
        outcome.refusal = QStringLiteral(
            "Epoch: type a Julian Date, for example 2451234.5678, or leave it empty for the "
            "time of the brightest observation.");
        return outcome;
    }
    if (std::fabs(fold.epoch - defaultEpoch) > kLongestPeriod) {
        outcome.refusal =
            QStringLiteral("Epoch: it must be within 10,000,000 days of the observations.");
        return outcome;
    }
    outcome.fold = fold;
    return outcome;
}

std::optional<double> ReadPhaseBinWidth(const QString& width, QString& refusal) {
    double value = 0;
    if (!ParseNumber(width.toStdString(), value) || !(value >= kMinPhaseBinWidth) || value > 0.5) {
        refusal =
            QStringLiteral("Phase bin width: type a phase from 0.001 to 0.5, for example 0.05.");
        return std::nullopt;
    }
    return value;
}

BinDialogFields InitialPhaseBinFields(int16_t defaultSigma) {
    BinDialogFields fields;
    fields.phase = true;
    fields.binWidth = QString::fromStdString(FormatDouble(kDefaultPhaseBinWidth));
    fields.sigma = QString::number(defaultSigma);
    return fields;
}

std::optional<PhaseBinRequest> ReadPhaseBinFields(const BinDialogFields& fields, QString& refusal) {
    PhaseBinRequest request;
    const std::optional<double> width = ReadPhaseBinWidth(fields.binWidth, refusal);
    if (!width) return std::nullopt;
    const std::optional<int16_t> sigma = ReadSigmaField(fields.sigma, refusal);
    if (!sigma) return std::nullopt;
    request.width = *width;
    request.Sigma = *sigma;
    return request;
}

}  // namespace sabrix

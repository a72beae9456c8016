// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/PolyFit.h"

#include <cmath>
#include <limits>

#include "core/NumberText.h"
#include "core/SabrixError.h"

namespace sabrix {

QString PolyOverflowText() {
    return QStringLiteral("Out of memory. Choose lower degree of fit.");
}

namespace {

// The number a degree text names; nothing for a text that is not a finite number.
std::optional<double> DegreeNumber(const QString& text) {
    double value = 0;
    if (!ParseNumber(text.toStdString(), value) || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

std::optional<QString> DegreeRefusal(const QString& text) {
    const std::optional<double> value = DegreeNumber(text);
    if (!value || *value == std::floor(*value)) return std::nullopt;
    return QStringLiteral("Type the degree of fit as a whole number from 0 to 40, for example 3.");
}

int32_t ReadDegree(const QString& text) {
    const std::optional<double> value = DegreeNumber(text);
    if (!value) throw SabrixError("Type mismatch");
    if (const std::optional<QString> refusal = DegreeRefusal(text))
        throw SabrixError(refusal->toStdString());
    if (*value < -32768 || *value > 32767) throw SabrixError("Overflow");
    return static_cast<int32_t>(*value);
}

std::shared_ptr<RegressionObject> LoadPoly(const ObsTable& table, const PointFilter& shown,
                                           const PlotWindowState& view, int32_t degree) {
    auto regression = std::make_shared<RegressionObject>();
    regression->SetDegree(degree);
    const std::optional<DataExtremes> extremes = table.Extremes(shown);
    if (!extremes) throw SabrixError("No current record");
    regression->SetXRange(extremes->JDFirst - view.JDFirst, extremes->JDLast - view.JDFirst);
    constexpr double kAll = std::numeric_limits<double>::max();
    bool overflow = false;
    table.ForEachMagnitudeInWindow(-kAll, kAll, shown, [&](double jd, double mag) {
        if (!overflow && !regression->XYAdd(jd - view.JDFirst, mag)) overflow = true;
    });
    if (overflow) return nullptr;
    return regression;
}

std::vector<PolySample> SamplePolyCurve(RegressionObject& regression, const PlotWindowState& view) {
    std::vector<PolySample> samples;
    const double left = view.WinJDLeft;
    const double right = view.WinJDRight;
    const double span = right - left;
    if (!(span >= 0) || !std::isfinite(span)) return samples;
    if (span < kMostPolySamples) {
        samples.reserve(static_cast<size_t>(span) + 1);
        for (double t = left; t <= right; t += 1.0)
            samples.push_back({t, regression.RegVal(t - view.JDFirst)});
        return samples;
    }
    // A day each would be one sample per day of a span of 10^9 days: more memory than there
    // is, and no more curve than a million samples show.
    const auto count = static_cast<size_t>(kMostPolySamples);
    samples.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const double t = i + 1 == count ? right : left + span * (double(i) / double(count - 1));
        samples.push_back({t, regression.RegVal(t - view.JDFirst)});
    }
    return samples;
}

std::vector<QString> PlotPoly(const PlotWindowState& view, RegressionObject& regression,
                              Canvas& picView) {
    constexpr int32_t kWhite = 16777215;
    const std::vector<PolySample> samples = SamplePolyCurve(regression, view);
    std::vector<float> mags;
    mags.reserve(samples.size());
    for (const PolySample& s : samples) {
        const auto mag = static_cast<float>(s.mag);
        if (!std::isfinite(mag)) throw SabrixError("Overflow");
        mags.push_back(mag);
    }
    if (samples.empty()) return {QStringLiteral("Polynomial")};
    std::vector<Canvas::Segment> segments;
    segments.reserve(samples.size());
    double x0 = samples[0].jd - view.JDFirst;
    double y0 = mags[0];
    for (size_t i = 0; i < samples.size(); ++i) {
        const double x1 = samples[i].jd - view.JDFirst;
        const double y1 = mags[i];
        segments.push_back({x0, y0, x1, y1, kWhite});
        x0 = x1;
        y0 = y1;
    }
    picView.Lines(segments);
    float high = mags[0];
    float low = mags[0];
    double highJD = samples[0].jd;
    double lowJD = samples[0].jd;
    for (size_t i = 0; i < samples.size(); ++i) {
        if (mags[i] < high) {
            high = mags[i];
            highJD = samples[i].jd;
        }
        if (mags[i] > low) {
            low = mags[i];
            lowJD = samples[i].jd;
        }
    }
    return {QStringLiteral("Polynomial"),
            QString::fromStdString("High Mag. = " + FormatSingle(high) +
                                   "  JD = " + FormatDouble(highJD)),
            QString::fromStdString("Low Mag. = " + FormatSingle(low) +
                                   "  JD = " + FormatDouble(lowJD))};
}

std::string PolyCurveText(const std::vector<PolySample>& samples) {
    std::string text;
    for (const PolySample& s : samples) {
        text += FormatDouble(s.jd);
        text += ' ';
        text += FormatDouble(s.mag);
        text += "\r\n";
    }
    return text;
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/Bins.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "core/NumberText.h"
#include "data/TextFields.h"

namespace sabrix {

namespace {

constexpr int32_t kRed = 255;
constexpr int32_t kWhite = 16777215;

// An edge as the text it is carried as, read back.
double AsEdgeText(double value) {
    double parsed = value;
    ParseNumber(FormatDouble(value), parsed);
    return parsed;
}

// A value of at most 15 significant digits as a whole number of units of 10^-decimals:
// 2450000.1234 is 24500001234 units of 10^-4.
struct Units {
    int64_t count = 0;
    int decimals = 0;
};
constexpr int64_t kFifteenDigits = 1'000'000'000'000'000;
// The most empty bins walked one by one where the exact jump cannot carry the edges.
constexpr double kLongestWalk = 1e6;

std::optional<Units> AsUnits(double value) {
    const std::string text = FormatDouble(value);
    Units units;
    bool point = false;
    for (const char c : text) {
        if (c == '-') continue;
        if (c == '.') {
            point = true;
            continue;
        }
        if (units.count >= kFifteenDigits / 10) return std::nullopt;
        units.count = units.count * 10 + (c - '0');
        if (point) ++units.decimals;
    }
    if (!text.empty() && text.front() == '-') units.count = -units.count;
    return units;
}

// The edge that many steps of the walk further, when the walk carries each of those steps
// exactly: when the edge, the width and every edge between them fit in 15 significant
// digits, each step's text is the exact decimal sum, and so is the edge after them. Nothing
// when they do not fit (a width with more decimals than the edges can carry): the walk then
// goes bin by bin.
std::optional<double> EdgeAfterSteps(double edge, double width, int64_t steps) {
    std::optional<Units> e = AsUnits(edge);
    std::optional<Units> w = AsUnits(width);
    if (!e || !w || w->count <= 0) return std::nullopt;
    const int decimals = std::max(e->decimals, w->decimals);
    for (Units* u : {&*e, &*w})
        for (; u->decimals < decimals; ++u->decimals) {
            if (std::abs(u->count) >= kFifteenDigits / 10) return std::nullopt;
            u->count *= 10;
        }
    if (steps > (kFifteenDigits - 1 - e->count) / w->count) return std::nullopt;
    const int64_t count = e->count + steps * w->count;
    std::string text = std::to_string(std::abs(count));
    if (decimals > 0) {
        if (text.size() <= static_cast<size_t>(decimals))
            text.insert(0, static_cast<size_t>(decimals) + 1 - text.size(), '0');
        text.insert(text.size() - static_cast<size_t>(decimals), ".");
    }
    double value = 0;
    if (!ParseNumber(count < 0 ? "-" + text : text, value)) return std::nullopt;
    return value;
}

}  // namespace

BinDialogFields InitialBinFields(const AppState& state) {
    BinDialogFields fields;
    fields.fromJD = QString::fromStdString(FormatDouble(state.view.JDFirst));
    fields.toJD = QString::fromStdString(FormatDouble(state.view.JDLast));
    fields.sigma = QString::number(state.settings.DefaultSigma);
    return fields;
}

std::optional<BinRequest> ReadBinFields(const BinDialogFields& fields, QString& refusal) {
    BinRequest request;
    const std::string width = fields.binWidth.toStdString();
    if (!ParseNumber(width, request.width) || !std::isfinite(request.width) ||
        RoundHalfEven(request.width, 0) < 1) {
        refusal = QStringLiteral(
            "Type the bin size as a number of days greater than 0.5, for example 10.");
        return std::nullopt;
    }
    const std::optional<int16_t> sigma = ReadSigmaField(fields.sigma, refusal);
    if (!sigma) return std::nullopt;
    request.Sigma = *sigma;
    request.printBinFile = fields.printBinFile;
    return request;
}

std::optional<int16_t> ReadSigmaField(const QString& sigma, QString& refusal) {
    double value = 0;
    if (!ParseNumber(sigma.toStdString(), value) || !(value >= 0) || value > 32767 ||
        value != std::floor(value)) {
        refusal = QStringLiteral(
            "Type the error bar as a whole number of sigmas, 0 or more, for example 2.");
        return std::nullopt;
    }
    return static_cast<int16_t>(value);
}

int64_t BinLimit(double jdFirst, double jdLast, double width) {
    const double span = RoundHalfEven(jdLast - jdFirst, 0);
    const double w = RoundHalfEven(width, 0);
    // A width beyond the span makes one bin; the whole numbers then stay in range.
    if (w > span) return 1;
    // A span of made-up times beyond int64_t: no limit the walk could reach.
    if (!(span < 9e18)) return std::numeric_limits<int64_t>::max();
    return static_cast<int64_t>(span) / static_cast<int64_t>(w) + 1;
}

int64_t LoadBins(const ObsTable& table, const PointFilter& shown, const PlotWindowState& view,
                 double width, Bins& bins, const std::function<void(int64_t stored)>& progress) {
    bins.BinJD.clear();
    bins.BinMag.clear();
    bins.BinSD.clear();
    const int64_t limit = BinLimit(view.JDFirst, view.JDLast, width);
    // The rows in JD order, read once: a bin is then two binary searches, and a stretch of
    // empty bins is crossed in one step, so the cost follows the rows, not the span.
    struct JDMag {
        double jd;
        double mag;
    };
    std::vector<JDMag> rows;
    constexpr double kAll = std::numeric_limits<double>::max();
    table.ForEachMagnitudeInWindow(-kAll, kAll, shown, [&rows](double jd, double mag) {
        rows.push_back({jd, mag});
    });
    const auto byJD = [](const JDMag& row, double jd) { return row.jd < jd; };
    double from = AsEdgeText(view.JDFirst);
    double to = AsEdgeText(view.JDFirst + width);
    int64_t stored = 0;
    for (;;) {
        // Both edges belong to the bin. One walk gives the count, the sample standard deviation
        // (Welford's running form) and the sum of the magnitudes; the sum is kept in
        // double, as a single-precision sum of many rows drifts off the mean.
        const auto first = std::lower_bound(rows.begin(), rows.end(), from, byJD);
        const auto last = std::upper_bound(rows.begin(), rows.end(), to,
                                           [](double jd, const JDMag& row) { return jd < row.jd; });
        const int64_t n = last - first;
        if (n != 0) {
            double sum = 0;
            double mean = 0;
            double m2 = 0;
            int64_t k = 0;
            for (auto it = first; it != last; ++it) {
                sum += it->mag;
                ++k;
                const double delta = it->mag - mean;
                mean += delta / static_cast<double>(k);
                m2 += delta * (it->mag - mean);
            }
            const float sd = n < 2 ? 0.0f : static_cast<float>(std::sqrt(m2 / double(n - 1)));
            bins.BinJD.push_back((to - from) / 2 + from);
            bins.BinMag.push_back(static_cast<float>(sum / double(n)));
            bins.BinSD.push_back(sd);
            ++stored;
        }
        if (!(to < view.WinJDRight)) break;
        if (progress) progress(stored);
        if (n == 0) {
            // The bins before the next row are empty: all but the last two before it (or before
            // the walk's end) are passed over at once, to the edges the walk would reach.
            const double next =
                last == rows.end() ? view.WinJDRight : std::min(last->jd, view.WinJDRight);
            const double skip = std::floor((next - to) / width) - 1;
            if (skip >= 1 && skip < double(kFifteenDigits)) {
                const auto steps = static_cast<int64_t>(skip);
                const std::optional<double> newFrom = EdgeAfterSteps(from, width, steps);
                const std::optional<double> newTo = EdgeAfterSteps(to, width, steps);
                if (newFrom && newTo) {
                    from = *newFrom;
                    to = *newTo;
                } else if (skip > kLongestWalk) {
                    // Edges too long for an exact sum: a stretch of up to a million bins is
                    // walked bin by bin, as the edges' texts give them; a longer one (times
                    // of 10^13 days and more) is jumped in double, else the walk would go on
                    // for ages.
                    from = AsEdgeText(from + skip * width);
                    to = AsEdgeText(to + skip * width);
                }
            }
        }
        const double nextTo = AsEdgeText(to + width);
        // An edge so large that a bin's width is lost in its text cannot move on.
        if (!(nextTo > to)) break;
        from = AsEdgeText(from + width);
        to = nextTo;
        if (stored == limit) break;
    }
    return limit;
}

std::string BinFileHeader(const std::string& starName, const QDateTime& now) {
    const std::string stamp = now.toString(QStringLiteral("M/d/yyyy h:mm:ss AP")).toStdString();
    return "Bins plotted for   " + starName + "   at " + stamp +
           "\r\n\r\n     JD             Mag        Std Dev\r\n";
}

std::string BinFileLines(const Bins& bins) {
    std::string text;
    for (size_t k = 0; k < bins.BinJD.size(); ++k) {
        text += FormatFixed(bins.BinJD[k], 7, 4);
        text += "      ";
        text += RightJustify(FormatFixed(bins.BinMag[k], 1, 4), 7);
        text += "      ";
        text += FormatFixed(bins.BinSD[k], 1, 4);
        text += "\r\n";
    }
    return text;
}

HiLoBinMags FindHiLoBinMags(const Bins& bins) {
    HiLoBinMags r;
    if (bins.BinMag.empty()) return r;
    r.hiMag = r.loMag = bins.BinMag[0];
    r.hiJD = static_cast<float>(bins.BinJD[0]);
    r.loJD = bins.BinJD[0];
    for (size_t k = 1; k < bins.BinMag.size(); ++k) {
        if (bins.BinMag[k] < r.hiMag) {
            r.hiMag = bins.BinMag[k];
            r.hiJD = static_cast<float>(bins.BinJD[k]);
        }
        if (bins.BinMag[k] > r.loMag) {
            r.loMag = bins.BinMag[k];
            r.loJD = bins.BinJD[k];
        }
    }
    return r;
}

std::vector<QString> BinStatsLines(const HiLoBinMags& hiLo) {
    return {QStringLiteral("Averages"),
            QString::fromStdString("High Mag. = " + FormatSingle(hiLo.hiMag) +
                                   "  JD = " + FormatSingle(hiLo.hiJD)),
            QString::fromStdString("Low Mag. = " + FormatSingle(hiLo.loMag) +
                                   "  JD = " + FormatDouble(hiLo.loJD))};
}

BinPlotOutcome BinPlotter(const PlotWindowState& view, const Bins& o, Canvas& picView) {
    const size_t count = o.BinJD.size();
    if (count == 0 || count == 2) return BinPlotOutcome::TooFew;
    if (count == 1) return BinPlotOutcome::NothingDrawn;
    const size_t last = count - 1;
    const PlotWindowState& v = view;
    const double r = std::fabs(picView.PixelsToUserX(0.5));
    const double h = o.Sigma / 2.0;
    const auto x = [&](size_t k) { return o.BinJD[k] - v.JDFirst; };
    const auto m = [&](size_t k) { return static_cast<double>(o.BinMag[k]); };
    // The segments in the order the walk draws them: each drawn bin's two white bars, then
    // the red line to it.
    std::vector<Canvas::Segment> lines;
    size_t previous = 0;
    size_t i = 1;
    size_t j = 0;
    for (;;) {
        const bool inRange = v.WinJDLeft <= o.BinJD[i] && o.BinJD[i] <= v.WinJDRight + 100;
        if (inRange) {
            const double sd = o.BinSD[i];
            lines.push_back({x(i), m(i), x(i), m(i) - h * sd, kWhite});
            lines.push_back({x(i), m(i), x(i), m(i) + h * sd, kWhite});
            lines.push_back({x(previous), m(previous), x(i), m(i), kRed});
        }
        previous = i;
        // The walk stops one bin earlier after a bin outside the window: the last bin is then
        // never reached, as the curve has always been drawn.
        if (inRange ? i + 1 < last : i + 1 + 1 < last) {
            ++i;
        } else {
            j = i + 1;
            break;
        }
    }
    picView.Lines(lines);
    const int32_t fill = picView.FillColor;
    picView.FillColor = kRed;
    picView.Circle(x(j), m(j), r, kRed);
    picView.FillColor = fill;
    picView.Line(x(previous), m(previous), x(j), m(j), kRed);
    return BinPlotOutcome::Drawn;
}

QString TooFewBinsText() {
    return QStringLiteral("Too few bins for the number of days in plot.");
}

}  // namespace sabrix

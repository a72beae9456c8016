#include "analysis/Bins.h"

#include <QDateTime>
#include <cmath>

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
    double sigma = 0;
    if (!ParseNumber(fields.sigma.toStdString(), sigma) || !(sigma >= 0) || sigma > 32767 ||
        sigma != std::floor(sigma)) {
        refusal = QStringLiteral(
            "Type the error bar as a whole number of sigmas, 0 or more, for example 2.");
        return std::nullopt;
    }
    request.Sigma = static_cast<int16_t>(sigma);
    request.printBinFile = fields.printBinFile;
    return request;
}

int64_t BinLimit(double jdFirst, double jdLast, double width) {
    const double span = RoundHalfEven(jdLast - jdFirst, 0);
    const double w = RoundHalfEven(width, 0);
    // A width beyond the span makes one bin; the whole numbers then stay in range.
    if (w > span) return 1;
    return static_cast<int64_t>(span) / static_cast<int64_t>(w) + 1;
}

int64_t LoadBins(const ObsTable& table, const PlotWindowState& view, double width,
                 OverlayState& overlay, const std::function<void(int64_t stored)>& progress) {
    overlay.BinJD.clear();
    overlay.BinMag.clear();
    overlay.BinSD.clear();
    const int64_t limit = BinLimit(view.JDFirst, view.JDLast, width);
    double from = AsEdgeText(view.JDFirst);
    double to = AsEdgeText(view.JDFirst + width);
    std::vector<float> mags;
    int64_t stored = 0;
    for (;;) {
        // One walk over the bin's rows, in JD order, gives what three queries gave: the
        // count, the sample standard deviation (Welford's running form) and the
        // magnitudes, summed in single precision in descending JD order.
        mags.clear();
        int64_t n = 0;
        double mean = 0;
        double m2 = 0;
        table.ForEachMagnitudeInWindow(from, to, [&](double, double mag) {
            ++n;
            const double delta = mag - mean;
            mean += delta / static_cast<double>(n);
            m2 += delta * (mag - mean);
            mags.push_back(static_cast<float>(mag));
        });
        if (n != 0) {
            float sum = 0;
            for (auto it = mags.rbegin(); it != mags.rend(); ++it) sum += *it;
            const float sd = n < 2 ? 0.0f : static_cast<float>(std::sqrt(m2 / double(n - 1)));
            overlay.BinJD.push_back((to - from) / 2 + from);
            overlay.BinMag.push_back(static_cast<float>(double(sum) / double(n)));
            overlay.BinSD.push_back(sd);
            ++stored;
        }
        if (!(to < view.WinJDRight)) break;
        if (progress) progress(stored);
        from = AsEdgeText(from + width);
        to = AsEdgeText(to + width);
        if (stored == limit) break;
    }
    return limit;
}

std::string BinFileHeader(const std::string& starName, const QDateTime& now) {
    const std::string stamp = now.toString(QStringLiteral("M/d/yyyy h:mm:ss AP")).toStdString();
    return "Bins plotted for   " + starName + "   at " + stamp +
           "\r\n\r\n     JD             Mag        Std Dev\r\n";
}

std::string BinFileLines(const OverlayState& overlay) {
    std::string text;
    for (size_t k = 0; k < overlay.BinJD.size(); ++k) {
        text += FormatFixed(overlay.BinJD[k], 7, 4);
        text += "      ";
        text += RightJustify(FormatFixed(overlay.BinMag[k], 1, 4), 7);
        text += "      ";
        text += FormatFixed(overlay.BinSD[k], 1, 4);
        text += "\r\n";
    }
    return text;
}

HiLoBinMags FindHiLoBinMags(const OverlayState& overlay) {
    HiLoBinMags r;
    if (overlay.BinMag.empty()) return r;
    r.hiMag = r.loMag = overlay.BinMag[0];
    r.hiJD = static_cast<float>(overlay.BinJD[0]);
    r.loJD = overlay.BinJD[0];
    for (size_t k = 1; k < overlay.BinMag.size(); ++k) {
        if (overlay.BinMag[k] < r.hiMag) {
            r.hiMag = overlay.BinMag[k];
            r.hiJD = static_cast<float>(overlay.BinJD[k]);
        }
        if (overlay.BinMag[k] > r.loMag) {
            r.loMag = overlay.BinMag[k];
            r.loJD = overlay.BinJD[k];
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

BinPlotOutcome BinPlotter(const AppState& state, Canvas& picView) {
    const OverlayState& o = state.overlay;
    const size_t count = o.BinJD.size();
    if (count == 0 || count == 2) return BinPlotOutcome::TooFew;
    if (count == 1) return BinPlotOutcome::NothingDrawn;
    const size_t last = count - 1;
    const PlotWindowState& v = state.view;
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

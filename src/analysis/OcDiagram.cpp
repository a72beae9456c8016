// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/OcDiagram.h"

#include <algorithm>
#include <cmath>

#include "core/AtomicFile.h"
#include "core/NumberText.h"
#include "data/PointFilter.h"

namespace sabrix {

namespace {

constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kGrey = 0x808080;
constexpr int32_t kYellow = 0x00FFFF;  // BGR, as the canvas takes colours
constexpr int32_t kCyan = 0xFFFF00;
constexpr int32_t kDarkGrey = 0x404040;

QString Number(double v, int decimals) {
    return QString::fromStdString(FormatFixed(v, 1, decimals));
}

QString Short(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2e", v);
    return QString::fromLatin1(text);
}

}  // namespace

void OcDiagram::Set(std::vector<ListedExtremum> list, const Ephemeris& ephemeris) {
    list_ = std::move(list);
    ephemeris_ = ephemeris;
    std::vector<double> times, errors;
    for (const ListedExtremum& e : list_) {
        times.push_back(e.value.time);
        errors.push_back(e.value.error);
    }
    points_ = ComputeOc(ephemeris_, times, errors);
    PlotColumns::Builder columns;
    for (size_t i = 0; i < points_.size(); ++i) {
        ObsPoint point;
        point.JD = times[i];
        point.ID = static_cast<int64_t>(i) + 1;
        point.MagStored = points_[i].oc;
        point.Mag = static_cast<float>(points_[i].oc);
        point.uncertainty = static_cast<float>(points_[i].error);
        columns.Add(point, {}, {});
    }
    columns_ = std::move(columns).Build();
    Reset();
}

std::optional<OcFit> OcDiagram::Line() const {
    std::vector<OcPoint> used;
    for (size_t i = 0; i < points_.size(); ++i)
        if (!list_[i].omitted) used.push_back(points_[i]);
    return FitOc(ephemeris_, used, 1);
}

std::optional<OcFit> OcDiagram::Parabola() const {
    std::vector<OcPoint> used;
    for (size_t i = 0; i < points_.size(); ++i)
        if (!list_[i].omitted) used.push_back(points_[i]);
    return FitOc(ephemeris_, used, 2);
}

std::vector<QString> OcDiagram::FitLines() const {
    std::vector<QString> lines;
    const std::optional<OcFit> line = Line();
    if (!line) {
        lines.push_back(
            QStringLiteral("No fit: at least two times at different cycles are "
                           "needed."));
        return lines;
    }
    lines.push_back(QStringLiteral("Line: T0 = %1 ± %2, P = %3 ± %4 d")
                        .arg(Number(line->corrected.epoch, 5), Number(line->epochError, 5),
                             Number(line->corrected.period, 8), Number(line->periodError, 8)));
    if (quadratic_) {
        const std::optional<OcFit> parabola = Parabola();
        lines.push_back(
            parabola ? QStringLiteral("Parabola: dP/dE = %1 ± %2 d/cycle")
                           .arg(Short(parabola->periodChange), Short(parabola->periodChangeError))
                     : QStringLiteral("Parabola: at least three cycles are needed."));
    }
    return lines;
}

void OcDiagram::Reset() {
    if (points_.empty()) {
        left_ = -1, right_ = 1, bottom_ = -0.01, top_ = 0.01;
        return;
    }
    double lo = INFINITY, hi = -INFINITY, low = INFINITY, high = -INFINITY;
    for (const OcPoint& p : points_) {
        lo = std::min(lo, p.cycle);
        hi = std::max(hi, p.cycle);
        low = std::min(low, p.oc - p.error);
        high = std::max(high, p.oc + p.error);
    }
    const double dx = std::max(1.0, (hi - lo) * 0.05);
    const double dy = std::max(1e-4, (high - low) * 0.1);
    left_ = lo - dx;
    right_ = hi + dx;
    bottom_ = low - dy;
    top_ = high + dy;
}

bool OcDiagram::ZoomToBox(double x1, double y1, double x2, double y2) {
    if (!(std::fabs(x2 - x1) > 0) || !(std::fabs(y2 - y1) > 0)) return false;
    left_ = std::min(x1, x2);
    right_ = std::max(x1, x2);
    bottom_ = std::min(y1, y2);
    top_ = std::max(y1, y2);
    return true;
}

int OcDiagram::ToggleInBox(double x1, double y1, double x2, double y2) {
    const std::vector<int64_t> inside =
        FrameIdsInBox(OcFrame(ephemeris_), columns_, PointFilter(), x1, x2, y1, y2);
    const auto listed = [this](int64_t id) -> ListedExtremum& {
        return list_[static_cast<size_t>(id - 1)];
    };
    const bool allOut =
        std::all_of(inside.begin(), inside.end(), [&](int64_t id) { return listed(id).omitted; });
    for (const int64_t id : inside) listed(id).omitted = !allOut;
    return static_cast<int>(inside.size());
}

void OcDiagram::Draw(Canvas& plot, Canvas& across, Canvas& down) const {
    plot.SetUserScale(left_, top_, right_ - left_, bottom_ - top_);
    across.SetUserScale(left_, 0, right_ - left_, 20);
    down.SetUserScale(0, top_, 20, bottom_ - top_);
    plot.Cls();
    across.Cls();
    down.Cls();
    const OcFrame frame(ephemeris_);
    AppState window;
    window.view.WinJDLeft = left_;
    window.view.WinJDRight = right_;
    frame.WriteScale(across, window);
    const double yStep = NiceStep(top_ - bottom_, std::max(2, down.pixelHeight() / 40));
    DrawTicksDown(down, LinearTicks(bottom_, top_, yStep));
    plot.Line(left_, 0, right_, 0, kDarkGrey);
    const auto curve = [&](const OcFit& fit, int32_t color) {
        constexpr int kSteps = 200;
        std::vector<Canvas::Segment> segments;
        for (int k = 0; k < kSteps; ++k) {
            const double a = left_ + (right_ - left_) * k / kSteps;
            const double b = left_ + (right_ - left_) * (k + 1) / kSteps;
            segments.push_back({a, fit.at(a), b, fit.at(b), color});
        }
        plot.Lines(segments);
    };
    if (const std::optional<OcFit> line = Line()) curve(*line, kYellow);
    if (quadratic_)
        if (const std::optional<OcFit> parabola = Parabola()) curve(*parabola, kCyan);
    const double radius = std::fabs(plot.PixelsToUserX(3));
    ForEachFramePoint(frame, columns_, PointFilter(), left_, right_, [&](const FramePoint& p) {
        const size_t i = static_cast<size_t>(p.point->ID - 1);
        const double x = p.place.x[0];
        const double y = p.place.y;
        const double error = points_[i].error;
        const int32_t color = list_[i].omitted ? kGrey : kWhite;
        if (error > 0) plot.Line(x, y - error, x, y + error, color);
        plot.Circle(x, y, radius, color);
    });
}

void OcDiagram::WriteCsv(QIODevice& out) const {
    std::string text = "cycle,oc,error,time,omitted\r\n";
    for (size_t i = 0; i < points_.size(); ++i) {
        const OcPoint& p = points_[i];
        text += FormatDouble(p.cycle) + ',' + FormatDouble(p.oc) + ',' + FormatDouble(p.error) +
                ',' + FormatDoubleExactly(list_[i].value.time) + ',' +
                (list_[i].omitted ? "1" : "0") + "\r\n";
    }
    WriteAllBytes(out, text);
}

}  // namespace sabrix

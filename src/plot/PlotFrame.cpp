// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/PlotFrame.h"

#include <algorithm>

#include "core/NumberText.h"
#include "plot/AxisScales.h"
#include "plot/PointerReadout.h"

namespace sabrix {

void TimeFrame::WriteScale(Canvas& picJDScale, const AppState& state) const {
    WriteJDScale(picJDScale, state.view,
                 state.overlay.CalendarDates ? JDLabels::CalendarDates : JDLabels::JulianDates,
                 state.star.TimeOffset);
}

QString TimeFrame::Label(const QString& starName, int64_t points) const {
    return starName + QStringLiteral(" - (") + QString::number(points) + QStringLiteral(" Points)");
}

std::pair<QString, QString> TimeFrame::Readout(double x, double y, const AppState& state) const {
    return PlotReadout(x, y, state.view.JDFirst + state.star.TimeOffset,
                       state.overlay.CalendarDates);
}

QString TimeFrame::ScaleReadout(double x, const AppState& state) const {
    return JDScaleReadout(x + state.star.TimeOffset, state.overlay.CalendarDates).first;
}

QString TimeFrame::PlaceText(const ObsPoint& point, const FramePlace&) const {
    return QStringLiteral("JD = ") + QString::fromStdString(FormatDouble(point.JD));
}

void ForEachFramePoint(const PlotFrame& frame, const PlotColumns& columns, const PointFilter& shown,
                       double xLow, double xHigh,
                       const std::function<void(const FramePoint&)>& visit) {
    if (xLow > xHigh) std::swap(xLow, xHigh);
    const auto [jdA, jdB] = frame.RowsFor(xLow, xHigh);
    for (const ObsPoint& point : columns.InWindow(jdA, jdB)) {
        if (!shown.Shows(point.band, point.faint, point.discrepant)) continue;
        FramePlace place = frame.Place(point);
        // Only the copies inside the range; the own x first among them.
        int inside = 0;
        for (int k = 0; k < place.count; ++k)
            if (place.x[k] >= xLow && place.x[k] <= xHigh) place.x[inside++] = place.x[k];
        place.count = inside;
        if (inside > 0) visit(FramePoint{&point, place});
    }
}

std::vector<int64_t> FrameIdsInBox(const PlotFrame& frame, const PlotColumns& columns,
                                   const PointFilter& shown, double xA, double xB, double yA,
                                   double yB) {
    const double yLow = std::min(yA, yB);
    const double yHigh = std::max(yA, yB);
    std::vector<int64_t> ids;
    ForEachFramePoint(frame, columns, shown, xA, xB, [&](const FramePoint& p) {
        if (p.place.y >= yLow && p.place.y <= yHigh) ids.push_back(p.point->ID);
    });
    return ids;
}

std::optional<ObsPoint> FrameNearest(const PlotFrame& frame, const PlotColumns& columns,
                                     const PointFilter& shown, double x, double y, double xReach,
                                     double yReach) {
    if (!(xReach > 0) || !(yReach > 0)) return std::nullopt;
    const ObsPoint* nearest = nullptr;
    double best = 1;  // inside the ellipse: at most 1
    ForEachFramePoint(frame, columns, shown, x - xReach, x + xReach, [&](const FramePoint& p) {
        const double dy = (p.place.y - y) / yReach;
        for (int k = 0; k < p.place.count; ++k) {
            const double dx = (p.place.x[k] - x) / xReach;
            const double d = dx * dx + dy * dy;
            if (d > best || (nearest && d == best && p.point->ID > nearest->ID)) continue;
            best = d;
            nearest = p.point;
        }
    });
    if (!nearest) return std::nullopt;
    return *nearest;
}

std::optional<FrameExtremes> FrameExtremesIn(const PlotFrame& frame, const PlotColumns& columns,
                                             const PointFilter& shown,
                                             const PlotWindowState& view) {
    // Brightest: the smallest magnitude, the lowest ID among equals; faintest: the largest,
    // the highest ID among equals (the first and last rows in magnitude order).
    std::optional<FrameExtremes> e;
    ForEachFramePoint(frame, columns, shown, view.WinJDLeft, view.WinJDRight,
                      [&](const FramePoint& p) {
                          if (!e) e = FrameExtremes{p, p};
                          const double y = p.place.y;
                          const int64_t id = p.point->ID;
                          const FramePoint& b = e->bright;
                          const FramePoint& f = e->faint;
                          if (y < b.place.y || (y == b.place.y && id < b.point->ID)) e->bright = p;
                          if (y > f.place.y || (y == f.place.y && id > f.point->ID)) e->faint = p;
                      });
    return e;
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/OcFrame.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "core/NumberText.h"
#include "plot/ScaleTicks.h"

namespace sabrix {

namespace {

QString Fixed(double value, int decimals) {
    return QString::fromStdString(FormatFixed(value, 1, decimals));
}

}  // namespace

std::pair<double, double> OcFrame::RowsFor(double xLow, double xHigh) const {
    const double a = ephemeris_.epoch + (xLow - 0.5) * ephemeris_.period;
    const double b = ephemeris_.epoch + (xHigh + 0.5) * ephemeris_.period;
    return {std::min(a, b), std::max(a, b)};
}

FramePlace OcFrame::Place(const ObsPoint& point) const {
    const double time = point.JD;
    const std::vector<OcPoint> oc =
        ComputeOc(ephemeris_, std::span<const double>(&time, 1), std::span<const double>());
    if (oc.empty()) return {};
    return FramePlace{1, {oc[0].cycle, 0}, oc[0].oc};
}

void OcFrame::WriteScale(Canvas& strip, const AppState& state) const {
    const double left = state.view.WinJDLeft;
    const double right = state.view.WinJDRight;
    strip.SetUserScale(left, 0, right - left, 20);
    const double step = NiceStep(right - left, std::max(2, strip.pixelWidth() / 80));
    DrawTicksAcross(strip, LinearTicks(left, right, step));
}

QString OcFrame::Label(const QString& starName, int64_t points) const {
    return starName + QStringLiteral(" - O-C of %1 %2")
                          .arg(points)
                          .arg(points == 1 ? QStringLiteral("time") : QStringLiteral("times"));
}

std::pair<QString, QString> OcFrame::Readout(double x, double y, const AppState& state) const {
    return {ScaleReadout(x, state), QStringLiteral("O-C = ") + Fixed(y, 5) + QStringLiteral(" d")};
}

QString OcFrame::ScaleReadout(double x, const AppState&) const {
    return QStringLiteral("E = ") + Fixed(x, 1);
}

QString OcFrame::PlaceText(const ObsPoint& point, const FramePlace& place) const {
    return QStringLiteral("E = ") + Fixed(place.x[0], 0) + QStringLiteral(", T = ") +
           Fixed(point.JD, 5);
}

}  // namespace sabrix

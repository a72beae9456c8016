// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/PhasePlot.h"

#include <algorithm>
#include <cmath>

#include "core/NumberText.h"
#include "plot/PointerReadout.h"
#include "plot/ScaleTicks.h"

namespace sabrix {

namespace {
constexpr int kPeriodDecimals = 7;
// The residuals' window: a tenth of their range above and below them, at least this much.
constexpr double kLeastResidualMargin = 0.01;
}  // namespace

double FoldPhase(double t, double epoch, double period) {
    const double cycles = (t - epoch) / period;
    const double phase = cycles - std::floor(cycles);
    // -1e-17 cycles gives 1 - 1e-17, which rounds to 1.
    return phase >= 1 ? 0 : phase;
}

PlotWindowState PhaseWindow(const PlotWindowState& timeView) {
    PlotWindowState v = timeView;
    v.JDFirst = kPhasePlotLeft;
    v.JDLast = kPhasePlotRight;
    v.JDMargin = 0;
    v.WinJDLeft = kPhasePlotLeft;
    v.WinJDRight = kPhasePlotRight;
    v.WinJDWidth = kPhasePlotRight - kPhasePlotLeft;
    v.JDMagnification = 1.0f;
    return v;
}

QString PeriodText(double period) {
    return QString::fromStdString(FormatDouble(RoundHalfEven(period, kPeriodDecimals)));
}

void WritePhaseScale(Canvas& picJDScale, const PlotWindowState& view) {
    DrawScaleAcross(picJDScale, LayOutLinearScale(picJDScale, view.WinJDLeft, view.WinJDRight,
                                                  StripRun::Across));
}

PhaseFrame::PhaseFrame(const PhaseFold& fold, std::vector<Residual> residuals,
                       const std::vector<double>& removedPeriods)
    : fold_(fold), residuals_(std::move(residuals)) {
    std::sort(residuals_.begin(), residuals_.end(),
              [](const Residual& a, const Residual& b) { return a.id < b.id; });
    for (const double period : removedPeriods)
        removed_ += (removed_.isEmpty() ? QString() : QStringLiteral(", ")) + PeriodText(period) +
                    QStringLiteral(" d");
}

FramePlace PhaseFrame::Place(const ObsPoint& point) const {
    double y = point.MagStored;
    if (!removed_.isEmpty()) {
        const auto it = std::lower_bound(residuals_.begin(), residuals_.end(), point.ID,
                                         [](const Residual& r, int64_t id) { return r.id < id; });
        // An observation the search did not take (a fainter-than estimate) has no residual.
        if (it == residuals_.end() || it->id != point.ID) return FramePlace{};
        y = it->mag;
    }
    const double phase = FoldPhase(point.JD, fold_.epoch, fold_.period);
    return FramePlace{2, {phase, OtherCyclePhase(phase)}, y};
}

PlotWindowState PhaseFrame::WholeWindow(const PlotWindowState& lightCurve) const {
    PlotWindowState v = PhaseWindow(lightCurve);
    if (removed_.isEmpty() || residuals_.empty()) return v;
    const auto [low, high] =
        std::minmax_element(residuals_.begin(), residuals_.end(),
                            [](const Residual& a, const Residual& b) { return a.mag < b.mag; });
    const double margin = std::max(kLeastResidualMargin, (high->mag - low->mag) / 10);
    v.MagBrightest = static_cast<float>(low->mag);
    v.MagFaintest = static_cast<float>(high->mag);
    v.WinMagTop = low->mag - margin;
    v.WinMagBottom = high->mag + margin;
    v.WinMagHeight = v.WinMagBottom - v.WinMagTop;
    v.MagMagnification = 1.0f;
    return v;
}

void PhaseFrame::WriteScale(Canvas& picJDScale, const AppState& state) const {
    WritePhaseScale(picJDScale, state.view);
}

QString PhaseFrame::Label(const QString& starName, int64_t) const {
    QString label =
        starName + QStringLiteral(" - P = ") + PeriodText(fold_.period) + QStringLiteral(" d");
    if (!removed_.isEmpty()) label += QStringLiteral(", residuals after ") + removed_;
    return label;
}

std::pair<QString, QString> PhaseFrame::Readout(double x, double y, const AppState& state) const {
    return PhasePlotReadout(x, y, state.view.JDFirst);
}

QString PhaseFrame::ScaleReadout(double x, const AppState&) const {
    return PhaseScaleReadout(x).first;
}

QString PhaseFrame::PlaceText(const ObsPoint&, const FramePlace& place) const {
    // The own phase, whichever copy is in the window.
    const double phase = place.x[0] < 0    ? place.x[0] + 1
                         : place.x[0] >= 1 ? place.x[0] - 1
                                           : place.x[0];
    return PhaseScaleReadout(phase).first;
}

}  // namespace sabrix

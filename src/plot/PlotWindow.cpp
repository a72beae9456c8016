// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/PlotWindow.h"

#include "core/ErrorText.h"
#include "core/NumberText.h"
#include "plot/AxisScales.h"

namespace sabrix {

namespace {
constexpr double kJDMargin = 5.0;
constexpr double kMagMargin = 0.5;
// A single observation has no extent of its own; these widen its window to 210 x 3.
constexpr double kSingleJDMargin = 100.0;
constexpr double kSingleMagMargin = 1.0;
constexpr int32_t kYellow = 65535;
constexpr int32_t kWhite = 16777215;
constexpr int32_t kBlack = 0;
}  // namespace

bool FindExtremes(PlotWindowState& view, const ObsTable& table, const PointFilter& shown) {
    std::optional<DataExtremes> extremes = table.Extremes(shown);
    if (!extremes && !shown.ShowsAll()) extremes = table.Extremes(PointFilter());
    if (!extremes) return false;
    PlotWindowState v = view;
    v.MagBrightest = extremes->MagBrightest;
    v.MagFaintest = extremes->MagFaintest;
    v.JDFirst = extremes->JDFirst;
    v.JDLast = extremes->JDLast;
    v.JDMargin = kJDMargin;
    double magMargin = kMagMargin;
    double jdMargin = kJDMargin;
    if (extremes->Count == 1) {
        magMargin += kSingleMagMargin;
        jdMargin += kSingleJDMargin;
    }
    v.SetMagWindow(static_cast<double>(v.MagBrightest) - magMargin,
                   static_cast<double>(v.MagFaintest) + magMargin);
    v.SetJDWindow(v.JDFirst - jdMargin, v.JDLast + jdMargin);
    // The JD base follows the left edge of a single observation's window, so that picView
    // starts at 0.
    if (extremes->Count == 1) v.JDFirst = v.WinJDLeft;
    view = v;
    return true;
}

QString NoObservationsText(const std::string& starName) {
    return QStringLiteral("No observations of ") + DisplayText(starName) +
           QStringLiteral(" in this JD interval.");
}

void SetUserScale(Canvas& surface, double left, double top, double right, double bottom) {
    surface.SetUserScale(left, top, right - left, bottom - top);
}

void Scaler(const PlotWindowState& view, Canvas& picView, Canvas& picJDScale, Canvas& picMagScale) {
    SetUserScale(picView, view.WinJDLeft - view.JDFirst, view.WinMagTop,
                 view.WinJDRight - view.JDFirst, view.WinMagBottom);
    SetUserScale(picJDScale, view.WinJDLeft, 0, view.WinJDRight, 20);
    SetUserScale(picMagScale, 0, view.WinMagTop, 20, view.WinMagBottom);
}

bool ScalerErrorIsSilent(const PlotWindowState& view) {
    return view.WinJDLeft == 0 && view.JDFirst == 0 && view.WinMagTop == 0 &&
           view.WinJDRight == 0 && view.WinMagBottom == 0;
}

QString MagnificationStatusText(const AppState& state) {
    const OverlayState& o = state.overlay;
    const PlotWindowState& v = state.view;
    const auto rounded = [](float factor) {
        return QString::fromStdString(FormatDouble(RoundHalfEven(factor, 1)));
    };
    if (o.JDZoomMode() || o.ZoomBoxMode())
        return QStringLiteral("JDMagnification = ") + rounded(v.JDMagnification) +
               QStringLiteral(" X");
    if (o.MagZoomMode())
        return QStringLiteral("MagMagnification = ") +
               QString::fromStdString(FormatSingle(v.MagMagnification)) + QStringLiteral(" X");
    return PlainMagnificationText(state);
}

QString PlainMagnificationText(const AppState& state) {
    const double rounded = RoundHalfEven(static_cast<double>(state.view.JDMagnification), 1);
    return QStringLiteral("Magnification = ") + QString::fromStdString(FormatDouble(rounded)) +
           QStringLiteral(" X");
}

void ApplyDesignLook(Canvas& picView, Canvas& picJDScale, Canvas& picMagScale) {
    picView.BackColor = kBlack;
    picView.ForeColor = kYellow;
    picJDScale.BackColor = kBlack;
    picJDScale.ForeColor = kWhite;
    picJDScale.Font = JDScaleFont();
    picMagScale.BackColor = kBlack;
    picMagScale.ForeColor = kWhite;
    picMagScale.Font = MagScaleFont();
}

}  // namespace sabrix

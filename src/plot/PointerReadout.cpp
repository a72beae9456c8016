// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/PointerReadout.h"

#include "core/CalendarDate.h"
#include "core/NumberText.h"

namespace sabrix {

namespace {
QString Text(const std::string& text) {
    return QString::fromStdString(text);
}
}  // namespace

QString CalendarReadout(double jd) {
    const std::optional<CalendarDateTime> date = CalendarDateOfJD(jd, 60);
    if (!date) return QString();
    return Text("  " + DateText(*date) + " " + MinuteText(*date) + " UTC");
}

std::pair<QString, QString> PlotReadout(double x, double y, double jdFirst, bool calendarDates) {
    // The mouse delivers single-precision coordinates.
    const double jd = static_cast<double>(static_cast<float>(x)) + jdFirst;
    const double mag = RoundHalfEven(static_cast<double>(static_cast<float>(y)), 2);
    return {QStringLiteral("JD = ") + Text(FormatFixed(jd, 7, 4)) +
                (calendarDates ? CalendarReadout(jd) : QString()),
            QStringLiteral("  Mag = ") + Text(FormatDouble(mag))};
}

std::pair<QString, QString> JDScaleReadout(double jd, bool calendarDates) {
    return {QStringLiteral("JD = ") + Text(FormatSingle(static_cast<float>(jd))) +
                (calendarDates ? CalendarReadout(jd) : QString()),
            QString()};
}

std::pair<QString, QString> PhasePlotReadout(double x, double y, double phaseFirst) {
    const double phase = static_cast<double>(static_cast<float>(x)) + phaseFirst;
    return {PhaseScaleReadout(phase).first, PlotReadout(x, y, 0).second};
}

std::pair<QString, QString> PhaseScaleReadout(double phase) {
    // + 0.0: a phase just below 0 shows as "0", not "-0".
    return {QStringLiteral("Phase = ") + Text(FormatDouble(RoundHalfEven(phase, 3) + 0.0)),
            QString()};
}

std::pair<QString, QString> MagScaleReadout(double mag) {
    return {QString(), QStringLiteral("Mag = ") + Text(FormatSingle(static_cast<float>(mag)))};
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// The pointer readouts of the status bar (panel 3 the JD, panel 4 the magnitude) while the
// pointer moves over the plot or a scale strip.
#pragma once

#include <QString>
#include <utility>

namespace sabrix {

// Over the plot: "JD = 2455123.4567" (x + jdFirst with seven integer digits and four
// decimals) and "  Mag = 9.12" (y rounded to two decimals). With calendarDates the JD is
// followed by its date and time: "JD = 2451545.0000  2000-01-01 12:00 UTC".
std::pair<QString, QString> PlotReadout(double x, double y, double jdFirst,
                                        bool calendarDates = false);
// Over the JD strip: "JD = 2455123" (the JD as a single-precision number) and nothing; with
// calendarDates followed by the date and time of the JD under the pointer.
std::pair<QString, QString> JDScaleReadout(double jd, bool calendarDates = false);
// The readout's date and time of a JD: "  2000-01-01 12:00 UTC", nothing when the JD is beyond
// the calendar's range.
QString CalendarReadout(double jd);
// Over the phase plot, whose x is phase - phaseFirst: "Phase = 0.253" (three decimals) and
// the magnitude as PlotReadout shows it; over its phase strip the phase alone.
std::pair<QString, QString> PhasePlotReadout(double x, double y, double phaseFirst);
std::pair<QString, QString> PhaseScaleReadout(double phase);
// Over the magnitude strip: nothing and "Mag = 9.123" (single precision).
std::pair<QString, QString> MagScaleReadout(double mag);

}  // namespace sabrix

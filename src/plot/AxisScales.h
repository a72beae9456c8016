// SPDX-License-Identifier: GPL-3.0-or-later
// The two scale strips beside the plot: JD ticks and labels on the strip above the plot, and
// magnitude ticks and labels on the strip at its right. Both draw in the frames that Scaler
// sets (JD strip: full JDs across, 0 at the top to 20 at the bottom; magnitude strip: 0 to 20
// across, magnitudes down) in the strip's own foreground colour and font.
//
// JD strip: major ticks from 15 to 20 at every JD that is a multiple of the tick step, labelled
// with the JD centred over the tick and starting at -1; minor ticks from 17.5 to 20 halfway
// between. Magnitude strip: ticks from 0 to 2 every half magnitude and from 0 to 5 at every
// whole magnitude, labelled at 6 and centred on the tick, from the whole magnitude at or above
// the top edge to the one at or above the bottom edge.
#pragma once

#include <QFont>
#include <cstdint>

#include "core/AppState.h"
#include "plot/Canvas.h"

namespace sabrix {

// The whole number of days between labelled JD ticks for a window of the given width (in
// days): about a tenth (or a fifth) of the width brought down to a multiple of 100, or half of
// it brought down to an even number for narrow windows; 100 when that comes out as 0.
// Widths 10 -> 4, 150 -> 74, 1200 -> 200, 36000 -> 3600. Never returns 0.
int64_t JDTickStep(double windowWidth);

// What the labels of the JD strip say: the JD, or the calendar date in UTC (CalendarDate.h).
enum class JDLabels { JulianDates, CalendarDates };

// The days between the labelled ticks of the JD strip for the view: JDTickStep of its width
// when the window holds two multiples of it, else the largest step of 1, 2 or 5 times a power
// of ten (down to 10^-8 day) of which it holds two; for calendar labels, below a day, the
// largest step of a clock (12 hours ... 1 minute ... 1 second ... 0.001 second) of which it
// holds two, counted from midnight. So every window of 0.00001 day or more gets two labelled
// ticks at least. 0 when WriteJDScale draws no tick.
double JDLabelStep(const PlotWindowState& view, JDLabels labels = JDLabels::JulianDates);

// How much of the date a calendar label shows, by the days between labels: the year for a
// year or more ("2000"), year and month for a month or more ("2000-01"), the day for a day or
// more ("2000-01-15"), the minute for a minute or more ("2000-01-15 12:00"), the second for a
// second or more ("2000-01-15 12:00:05"), and tenths, hundredths or thousandths of a second
// below that ("2000-01-15 12:00:05.2"). So neighbouring labels never read the same.
enum class CalendarLabelForm {
    Year,
    YearMonth,
    Day,
    Minute,
    Second,
    TenthSecond,
    HundredthSecond,
    Millisecond
};
CalendarLabelForm CalendarLabelFormFor(double stepDays);

// The calendar label of the JD in that form, rounded to the last unit it shows; the JD's own
// text for a JD beyond the calendar's range (10^12 days). On the strip a label of a time on
// the same date as the label before it shows the time alone ("12:00:05.4").
QString CalendarTickLabel(double jd, CalendarLabelForm form);

// Clears the JD strip and draws its ticks and labels for the view's JD window, the labels as
// asked. The labels name the times with timeOffset added (LoadedStar::TimeOffset: a window of
// 2100 to 2200 with an offset of 2450000 is labelled 2452100 to 2452200), and the ticks fall
// on round times so named. Draws no tick for a window whose edges are not finite numbers or
// lie beyond 10^15 days, or that would take more than a million ticks (a width far smaller
// than the distance between the edges).
void WriteJDScale(Canvas& picJDScale, const PlotWindowState& view,
                  JDLabels labels = JDLabels::JulianDates, double timeOffset = 0);

// Clears the magnitude strip and draws its ticks and labels for the view's magnitude window.
// Draws no tick when the window's edges are not finite or span more than 100000 magnitudes.
void WriteMagScale(Canvas& picMagScale, const PlotWindowState& view);

// The label fonts that read well in strips 25 pixels high (JD) and 45 pixels wide (magnitude).
QFont JDScaleFont();
QFont MagScaleFont();

}  // namespace sabrix

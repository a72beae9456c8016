// SPDX-License-Identifier: GPL-3.0-or-later
// The two scale strips beside the plot: JD ticks and labels on the strip above the plot, and
// magnitude ticks and labels on the strip at its right. Both draw in the frames that Scaler
// sets (JD strip: full JDs across, 0 at the top to 20 at the bottom; magnitude strip: 0 to 20
// across, magnitudes down) in the strip's own foreground colour and font.
//
// JD strip: major ticks from 15 to 20 at every multiple of the step (ScaleLayout), labelled
// with the JD centred over the tick and starting at -1; minor ticks from 17.5 to 20 halfway
// between. Magnitude strip: major ticks from 0 to 5 at every multiple of the step, labelled at
// 6 and centred on the tick, and minor ticks from 0 to 2 halfway between.
#pragma once

#include <QFont>
#include <QString>
#include <cstdint>
#include <vector>

#include "core/AppState.h"
#include "plot/Canvas.h"
#include "plot/ScaleTicks.h"

namespace sabrix {

// What the labels of the JD strip say: the JD, or the calendar date in UTC (CalendarDate.h).
enum class JDLabels { JulianDates, CalendarDates };

// The ticks of a strip and its labels (ScaleLayout). The step between labelled ticks (in days
// or magnitudes; a month or a year counted by its mean length) is 1, 2 or 5 times a power of
// ten (for calendar labels: a clock's steps, whole days, months or years) as
// ChooseScaleLayout chooses it, so labels never overlap and a strip of 300 pixels or more
// shows three where they fit. A label that would stand over an edge of the strip is moved
// inside it, or left out when it would then come close to its neighbour. Minor ticks stand
// halfway between. Empty (step 0) for a window whose edges are not finite or lie beyond 10^15
// days (magnitudes: span more than 100000).
ScaleLayout LayOutJDScale(const Canvas& picJDScale, const PlotWindowState& view,
                          JDLabels labels = JDLabels::JulianDates, double timeOffset = 0);
// The magnitude strip measures its labels in the font they will be printed in, which it may
// shrink to fit; its font is left as it was.
ScaleLayout LayOutMagScale(Canvas& picMagScale, const PlotWindowState& view);

// The step of LayOutJDScale on a strip of that many pixels in the JD strip's font: what the
// labels of a window of that width are spaced by. 0 when the strip gets no tick.
double JDLabelStep(const PlotWindowState& view, JDLabels labels = JDLabels::JulianDates,
                   int pixelWidth = 1000);

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

// Clears the JD strip and draws its ticks and labels for the view's JD window as
// LayOutJDScale lays them out, the labels as asked. The labels name the times with timeOffset
// added (LoadedStar::TimeOffset: a window of 2100 to 2200 with an offset of 2450000 is
// labelled 2452100 to 2452200), and the ticks fall on round times so named.
void WriteJDScale(Canvas& picJDScale, const PlotWindowState& view,
                  JDLabels labels = JDLabels::JulianDates, double timeOffset = 0);

// Clears the magnitude strip and draws its ticks and labels for the view's magnitude window
// as LayOutMagScale lays them out.
void WriteMagScale(Canvas& picMagScale, const PlotWindowState& view);

// The label fonts that read well in strips 25 pixels high (JD) and 45 pixels wide (magnitude).
QFont JDScaleFont();
QFont MagScaleFont();

}  // namespace sabrix

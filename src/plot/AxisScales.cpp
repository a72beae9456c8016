// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/AxisScales.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "core/CalendarDate.h"
#include "core/NumberText.h"
#include "plot/ScaleTicks.h"

namespace sabrix {

namespace {

// Beyond this a JD is no date at all; such a window gets a bare strip.
constexpr double kLargestJD = 1e15;
constexpr double kMostMagnitudes = 100000;

constexpr double kHalfTickLength = 2;
constexpr double kWholeTickLength = 5;
constexpr double kMagLabelLeft = 6;

// Room kept free between neighbouring magnitude labels.
constexpr double kMagLabelGapFactor = 1.0;  // times the label's height

constexpr double kSecondsPerDay = 86400;
// The steps of a clock below a day, in seconds: the calendar labels of a window of hours or
// seconds fall on whole hours, minutes, seconds and their tenths rather than on tenths of a
// day.
constexpr double kClockSteps[] = {0.001, 0.002, 0.005, 0.01, 0.02, 0.05,  0.1,   0.2,  0.5,
                                  1,     2,     5,     10,   15,   30,    60,    120,  300,
                                  600,   900,   1800,  3600, 7200, 10800, 21600, 43200};
constexpr int kMonthSteps[] = {1, 2, 3, 6};

// One way of spacing the labelled ticks of a strip: every `days` from origin (decimal steps
// and a clock's), or the first day of every count-th month or year of the calendar.
struct TickStep {
    enum class Kind { Days, Months, Years } kind = Kind::Days;
    double days = 0;  // the step, or the shortest step of months or years
    double origin = 0;
    int count = 0;
};

// The JD of midnight starting the day; Gregorian from 1582-10-15 on, Julian before.
double JDOfDate(int64_t year, int month, int day) {
    const int64_t a = (14 - month) / 12;
    const int64_t y = year + 4800 - a;
    const int64_t m = month + 12 * a - 3;
    const int64_t gregorian = day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
    const int64_t julian = day + (153 * m + 2) / 5 + 365 * y + y / 4 - 32083;
    const int64_t jdn = gregorian >= 2299161 ? gregorian : julian;
    return static_cast<double>(jdn) - 0.5;
}

// The places of a step's labelled ticks inside [low, high], ascending.
std::vector<double> MajorTicks(const TickStep& step, double low, double high) {
    std::vector<double> ticks;
    if (step.kind == TickStep::Kind::Days) {
        const double k0 = std::ceil((low - step.origin) / step.days);
        const double k1 = std::floor((high - step.origin) / step.days);
        for (double k = k0; k <= k1; ++k) ticks.push_back(step.origin + k * step.days);
        return ticks;
    }
    const std::optional<CalendarDateTime> first = CalendarDateOfJD(low);
    if (!first) return ticks;
    int64_t year = first->year;
    int month = step.kind == TickStep::Kind::Years ? 1 : first->month;
    const auto floorMod = [](int64_t a, int64_t m) { return ((a % m) + m) % m; };
    if (step.kind == TickStep::Kind::Years) {
        year -= floorMod(year, step.count);
    } else {
        month -= static_cast<int>(floorMod(month - 1, step.count));
    }
    for (;;) {
        const double jd = JDOfDate(year, month, 1);
        if (jd > high) break;
        if (jd >= low) ticks.push_back(jd);
        if (step.kind == TickStep::Kind::Years) {
            year += step.count;
        } else if ((month += step.count) > 12) {
            month -= 12;
            ++year;
        }
    }
    return ticks;
}

// The minor ticks halfway between the labelled ones, and beyond the first and the last by
// the same distance, inside [low, high].
std::vector<double> MinorTicks(const std::vector<double>& major, const TickStep& step, double low,
                               double high) {
    std::vector<double> minor;
    const auto keep = [&](double at) {
        if (at >= low && at <= high) minor.push_back(at);
    };
    if (major.empty()) {
        if (step.kind == TickStep::Kind::Days)
            keep(step.origin + (std::floor((low - step.origin) / step.days) + 0.5) * step.days);
        return minor;
    }
    const double before = major.size() > 1 ? major[1] - major[0] : step.days;
    keep(major.front() - before / 2);
    for (size_t i = 0; i + 1 < major.size(); ++i) keep((major[i] + major[i + 1]) / 2);
    const double after = major.size() > 1 ? major.back() - major[major.size() - 2] : step.days;
    keep(major.back() + after / 2);
    return minor;
}

}  // namespace

CalendarLabelForm CalendarLabelFormFor(double stepDays) {
    const double seconds = std::abs(stepDays) * kSecondsPerDay;
    if (seconds >= 365 * kSecondsPerDay) return CalendarLabelForm::Year;
    // Labels a month or more apart name different months.
    if (seconds >= 31 * kSecondsPerDay) return CalendarLabelForm::YearMonth;
    if (seconds >= kSecondsPerDay) return CalendarLabelForm::Day;
    // The steps below a day are a clock's (or decimal days, whose labels read rounded): a
    // step of a minute or more names minutes, of a second or more seconds. The tolerance
    // keeps 60 seconds that a division left a hair short a minute.
    if (seconds >= 60 * (1 - 1e-9)) return CalendarLabelForm::Minute;
    if (seconds >= 1 - 1e-9) return CalendarLabelForm::Second;
    if (seconds >= 0.1 * (1 - 1e-9)) return CalendarLabelForm::TenthSecond;
    if (seconds >= 0.01 * (1 - 1e-9)) return CalendarLabelForm::HundredthSecond;
    return CalendarLabelForm::Millisecond;
}

namespace {

// The decimals of the second that a form shows, and the milliseconds it rounds to.
int SecondDecimals(CalendarLabelForm form) {
    switch (form) {
        case CalendarLabelForm::TenthSecond:
            return 1;
        case CalendarLabelForm::HundredthSecond:
            return 2;
        case CalendarLabelForm::Millisecond:
            return 3;
        default:
            return 0;
    }
}

int64_t RoundingMilliseconds(CalendarLabelForm form) {
    if (form == CalendarLabelForm::Minute) return 60000;
    int64_t milliseconds = 1000;
    for (int i = 0; i < SecondDecimals(form); ++i) milliseconds /= 10;
    return milliseconds;
}

// A calendar label as its date and its time of day (empty for the forms without one).
struct CalendarLabelParts {
    std::string date;
    std::string time;
};

std::optional<CalendarLabelParts> CalendarLabelOf(double jd, CalendarLabelForm form) {
    const std::optional<CalendarDateTime> date =
        CalendarDateOfJDInMilliseconds(jd, RoundingMilliseconds(form));
    if (!date) return std::nullopt;
    const std::string day = DateText(*date);
    switch (form) {
        case CalendarLabelForm::Year:
            return CalendarLabelParts{day.substr(0, day.size() - 6), {}};
        case CalendarLabelForm::YearMonth:
            return CalendarLabelParts{day.substr(0, day.size() - 3), {}};
        case CalendarLabelForm::Day:
            return CalendarLabelParts{day, {}};
        case CalendarLabelForm::Minute:
            return CalendarLabelParts{day, MinuteText(*date)};
        default:
            return CalendarLabelParts{day, SecondText(*date, SecondDecimals(form))};
    }
}

}  // namespace

QString CalendarTickLabel(double jd, CalendarLabelForm form) {
    const std::optional<CalendarLabelParts> parts = CalendarLabelOf(jd, form);
    if (!parts) return QString::fromStdString(FormatDouble(jd));
    if (parts->time.empty()) return QString::fromStdString(parts->date);
    return QString::fromStdString(parts->date + " " + parts->time);
}

namespace {

// The steps the JD strip tries, finest first: 1, 2 or 5 times a power of ten days for Julian
// Dates; a clock's steps, whole days, months and years for calendar dates.
std::vector<TickStep> JDSteps(JDLabels labels) {
    std::vector<TickStep> steps;
    if (labels == JDLabels::JulianDates) {
        for (const double days : DecimalSteps(-8, 15))
            steps.push_back({TickStep::Kind::Days, days});
        return steps;
    }
    for (const double seconds : kClockSteps)
        steps.push_back({TickStep::Kind::Days, seconds / kSecondsPerDay, 0.5});
    for (const double days : {1.0, 2.0, 5.0, 10.0})
        steps.push_back({TickStep::Kind::Days, days, 0.5});
    for (const int months : kMonthSteps)
        steps.push_back({TickStep::Kind::Months, 28.0 * months, 0, months});
    // Up to 2 x 10^9 years, which spans every date the calendar labels; 5 x 10^9 would not
    // fit the step's count.
    for (const double years : DecimalSteps(0, 9))
        if (years <= std::numeric_limits<int>::max())
            steps.push_back({TickStep::Kind::Years, 365.0 * years, 0, static_cast<int>(years)});
    return steps;
}

CalendarLabelForm FormOfStep(const TickStep& step) {
    if (step.kind == TickStep::Kind::Years) return CalendarLabelForm::Year;
    if (step.kind == TickStep::Kind::Months) return CalendarLabelForm::YearMonth;
    return CalendarLabelFormFor(step.days);
}

ScaleLayout LayOutJD(const Canvas& strip, const PlotWindowState& view, JDLabels labels,
                     double timeOffset) {
    if (!(std::abs(view.WinJDLeft) <= kLargestJD && std::abs(view.WinJDRight) <= kLargestJD))
        return {};
    // Only what the strip shows of the window gets ticks: a window far wider than the strip's
    // frame would otherwise ask for ticks beyond counting.
    const double stripLeft = strip.ScaleLeft() + std::min(0.0, strip.ScaleWidth());
    const double stripRight = strip.ScaleLeft() + std::max(0.0, strip.ScaleWidth());
    const double low = std::max(std::min(view.WinJDLeft, view.WinJDRight), stripLeft) + timeOffset;
    const double high =
        std::min(std::max(view.WinJDLeft, view.WinJDRight), stripRight) + timeOffset;
    if (!(std::abs(low) <= kLargestJD && std::abs(high) <= kLargestJD) || !(high > low)) return {};
    const double extent = strip.pixelWidth();
    const double pixelsPerDay = std::abs(1 / strip.PixelsToUserX(1));
    if (!std::isfinite(pixelsPerDay) || pixelsPerDay <= 0) return {};
    const auto pixelOf = [&](double jd) { return strip.toPixel(jd - timeOffset, 0).x(); };
    const auto lay = [&](const TickStep& step) -> std::optional<ScaleLayout> {
        if (step.days * pixelsPerDay < kLeastPixelsPerStep) return std::nullopt;
        ScaleLayout layout;
        layout.step = step.days;
        if (step.kind != TickStep::Kind::Days) {
            if (!CalendarDateOfJD(low) || !CalendarDateOfJD(high)) return std::nullopt;
            layout.step =
                step.kind == TickStep::Kind::Years ? 365.25 * step.count : 30.436875 * step.count;
        }
        const std::vector<double> major = MajorTicks(step, low, high);
        for (const double jd : major) layout.major.push_back(jd - timeOffset);
        for (const double jd : MinorTicks(major, step, low, high))
            layout.minor.push_back(jd - timeOffset);
        const int decimals = StepDecimals(step.days);
        const CalendarLabelForm form = FormOfStep(step);
        for (const double jd : major) {
            QString text;
            std::optional<CalendarLabelParts> parts;
            if (labels == JDLabels::CalendarDates) parts = CalendarLabelOf(jd, form);
            if (parts) {
                text = QString::fromStdString(
                    parts->time.empty() ? parts->date : parts->date + " " + parts->time);
            } else {
                text = QString::fromStdString(FormatDouble(RoundHalfEven(jd, decimals) + 0.0));
            }
            layout.labels.push_back(
                {jd - timeOffset, text, pixelOf(jd), strip.TextWidth(text) * pixelsPerDay, 0});
        }
        return layout;
    };
    const auto choose = [&](const std::vector<TickStep>& steps) {
        return ChooseScaleLayout(steps.size(), extent, kAcrossLabelGap,
                                 [&](size_t i) { return lay(steps[i]); });
    };
    ScaleLayout chosen = choose(JDSteps(labels));
    if (chosen.major.empty() && labels == JDLabels::CalendarDates)  // beyond the calendar
        chosen = choose(JDSteps(JDLabels::JulianDates));
    return chosen;
}

}  // namespace

ScaleLayout LayOutJDScale(const Canvas& picJDScale, const PlotWindowState& view, JDLabels labels,
                          double timeOffset) {
    return LayOutJD(picJDScale, view, labels, timeOffset);
}

double JDLabelStep(const PlotWindowState& view, JDLabels labels, int pixelWidth) {
    const double width = view.WinJDRight - view.WinJDLeft;
    if (!(std::isfinite(width) && width > 0)) return 0;
    Canvas strip(std::max(1, pixelWidth), 25);
    strip.Font = JDScaleFont();
    strip.SetUserScale(view.WinJDLeft, 0, width, 20);
    return LayOutJD(strip, view, labels, 0).step;
}

void WriteJDScale(Canvas& picJDScale, const PlotWindowState& view, JDLabels labels,
                  double timeOffset) {
    DrawScaleAcross(picJDScale, LayOutJD(picJDScale, view, labels, timeOffset));
}

namespace {

// The least room between a whole tick and its label, and between a label and the strip's
// right edge, in the strip's units (20 across).
constexpr double kMagLabelGap = 0.25;
// The smallest font a magnitude label shrinks to when it would not fit the strip otherwise.
constexpr int kSmallestMagLabelPixels = 7;

// Where the labels of the magnitude strip stand, how long the whole ticks beside them are,
// and the font they are printed in.
struct MagLabelFit {
    double left = kMagLabelLeft;
    double wholeTick = kWholeTickLength;
    QFont font;
};

// Right of the whole ticks when the widest label fits there; else further left, over whole
// ticks shortened to make room, but never over the half ticks; and in a smaller font when
// even that is too narrow ("14.00002" in a strip 45 pixels wide).
MagLabelFit FitMagLabels(Canvas& strip, const std::vector<QString>& texts) {
    const QFont original = strip.Font;
    MagLabelFit fit;
    fit.font = original;
    const double room = 20 - kMagLabelGap;
    const double leftmost = kHalfTickLength + kMagLabelGap;
    int pixels = original.pixelSize();
    for (;;) {
        strip.Font = fit.font;
        double widest = 0;
        for (const QString& text : texts) widest = std::max(widest, strip.TextWidth(text));
        fit.left = std::min(kMagLabelLeft, room - widest);
        if (fit.left >= leftmost || pixels <= kSmallestMagLabelPixels) break;
        fit.font.setPixelSize(--pixels);
    }
    strip.Font = original;
    fit.left = std::max(fit.left, leftmost);
    fit.wholeTick = std::min(kWholeTickLength, fit.left - kMagLabelGap);
    return fit;
}

ScaleLayout LayOutMag(Canvas& strip, const PlotWindowState& view, MagLabelFit& fit) {
    if (!(std::abs(view.WinMagTop) <= kLargestJD && std::abs(view.WinMagBottom) <= kLargestJD))
        return {};
    const double stripTop = strip.ScaleTop() + std::min(0.0, strip.ScaleHeight());
    const double stripBottom = strip.ScaleTop() + std::max(0.0, strip.ScaleHeight());
    const double low = std::max(std::min(view.WinMagTop, view.WinMagBottom), stripTop);
    const double high = std::min(std::max(view.WinMagTop, view.WinMagBottom), stripBottom);
    if (!(std::abs(low) <= kLargestJD && std::abs(high) <= kLargestJD) || !(high > low) ||
        high - low > kMostMagnitudes)
        return {};
    const double extent = strip.pixelHeight();
    const double pixelsPerMag = std::abs(1 / strip.PixelsToUserY(1));
    if (!std::isfinite(pixelsPerMag) || pixelsPerMag <= 0) return {};
    const double gap = kMagLabelGapFactor * strip.TextHeight(QStringLiteral("0")) * pixelsPerMag;
    std::vector<TickStep> steps;
    for (const double step : DecimalSteps(-8, 5)) steps.push_back({TickStep::Kind::Days, step});
    const QFont original = strip.Font;
    const auto lay = [&](const TickStep& step) -> std::optional<ScaleLayout> {
        if (step.days * pixelsPerMag < kLeastPixelsPerStep) return std::nullopt;
        ScaleLayout layout;
        layout.step = step.days;
        layout.major = MajorTicks(step, low, high);
        layout.minor = MinorTicks(layout.major, step, low, high);
        const int decimals = StepDecimals(step.days);
        std::vector<QString> texts;
        for (const double m : layout.major)
            texts.push_back(QString::fromStdString(FormatDouble(RoundHalfEven(m, decimals) + 0.0)));
        fit = FitMagLabels(strip, texts);
        strip.Font = fit.font;
        for (size_t i = 0; i < texts.size(); ++i)
            layout.labels.push_back({layout.major[i], texts[i],
                                     strip.toPixel(0, layout.major[i]).y(),
                                     strip.TextHeight(texts[i]) * pixelsPerMag, 0});
        strip.Font = original;
        return layout;
    };
    ScaleLayout chosen =
        ChooseScaleLayout(steps.size(), extent, gap, [&](size_t i) { return lay(steps[i]); });
    // The fit of the step chosen, not of the last one tried.
    std::vector<QString> texts;
    for (const double m : chosen.major)
        texts.push_back(QString::fromStdString(
            FormatDouble(RoundHalfEven(m, StepDecimals(chosen.step)) + 0.0)));
    fit = FitMagLabels(strip, texts);
    return chosen;
}

}  // namespace

ScaleLayout LayOutMagScale(Canvas& picMagScale, const PlotWindowState& view) {
    MagLabelFit fit;
    return LayOutMag(picMagScale, view, fit);
}

void WriteMagScale(Canvas& picMagScale, const PlotWindowState& view) {
    picMagScale.Cls();
    MagLabelFit fit;
    const ScaleLayout layout = LayOutMag(picMagScale, view, fit);
    for (const double m : layout.minor) picMagScale.Line(0, m, kHalfTickLength, m);
    for (const double m : layout.major) picMagScale.Line(0, m, fit.wholeTick, m);
    const QFont original = picMagScale.Font;
    picMagScale.Font = fit.font;
    for (const ScaleLabel& label : layout.labels) {
        picMagScale.CurrentX = fit.left;
        picMagScale.CurrentY = picMagScale.userY(label.start);
        picMagScale.Print(label.text);
    }
    picMagScale.Font = original;
}

QFont JDScaleFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    return font;
}

QFont MagScaleFont() {
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPixelSize(10);
    return font;
}

}  // namespace sabrix

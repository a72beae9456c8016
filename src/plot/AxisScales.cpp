// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/AxisScales.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "core/CalendarDate.h"
#include "core/NumberText.h"
#include "plot/ScaleTicks.h"

namespace sabrix {

namespace {

// Beyond this a JD is no date at all, and whole-day arithmetic would leave the range of
// int64_t; such a window gets a bare strip.
constexpr double kLargestJD = 1e15;
constexpr int64_t kMostMagnitudes = 100000;
// More ticks than this would blacken the strip; only a width that disagrees wildly with the
// window's edges can ask for so many.
constexpr int64_t kMostJDTicks = 1000000;

constexpr double kMajorTickTop = 15;
constexpr double kMinorTickTop = 17.5;
constexpr double kStripBottom = 20;
constexpr double kLabelTop = -1;
constexpr double kHalfTickLength = 2;
constexpr double kWholeTickLength = 5;
constexpr double kMagLabelLeft = 6;

int64_t FloorDiv100(int64_t value) {
    return static_cast<int64_t>(std::floor(static_cast<double>(value) / 100.0)) * 100;
}

int64_t FloorMod(int64_t a, int64_t m) {
    const int64_t r = a % m;
    return r < 0 ? r + m : r;
}

// Calls draw(x) for every whole x in [first, last] with x % step == remainder, taking the
// remainder with the sign of x as the scale's rule does. Visits only candidates that are
// congruent modulo the step, so a wide window costs a few steps, not one test per day.
template <typename Draw>
void ForEachTick(int64_t first, int64_t last, int64_t step, int64_t remainder, Draw draw) {
    const int64_t stride = step < 0 ? -step : step;
    for (int64_t x = first + FloorMod(remainder - first, stride); x <= last; x += stride)
        if (x % step == remainder) draw(x);
}

}  // namespace

int64_t JDTickStep(double windowWidth) {
    if (!std::isfinite(windowWidth)) return 100;
    const double clamped = std::clamp(windowWidth, -kLargestJD, kLargestJD);
    const auto n = static_cast<int64_t>(RoundHalfEven(clamped, 0));
    int64_t s = FloorDiv100(n / 10);
    if (s == 0) s = 100;
    if (n / s > 11) s = FloorDiv100(n / 5);
    // s can only be 0 here for n / 5 < 100, which the test above already ruled out.
    if (s != 0 && n / s < 2)
        s = static_cast<int64_t>(std::floor(static_cast<double>(n / 2) / 2.0)) * 2;
    if (s == 0) s = 100;
    return s;
}

namespace {

// Steps of 1, 2 and 5 times a power of ten below `below`, largest first, down to `smallest`.
// Stops at the first step that tryStep takes (returns true for); returns whether one did.
template <typename Try>
bool ForEachFinerStep(double below, double smallest, Try tryStep) {
    for (double decade = std::pow(10.0, std::ceil(std::log10(below))); decade >= smallest;
         decade /= 10) {
        for (const double factor : {5.0, 2.0, 1.0}) {
            const double step = decade * factor;
            if (step < below && step >= smallest && tryStep(step)) return true;
        }
    }
    return false;
}

// The steps of a clock below a day, in seconds, largest first: the calendar labels of a
// window of hours or seconds fall on whole hours, minutes, seconds and their tenths rather
// than on tenths of a day.
constexpr double kClockSteps[] = {43200, 21600, 10800, 7200, 3600, 1800,  900,   600,  300,
                                  120,   60,    30,    15,   10,   5,     2,     1,    0.5,
                                  0.2,   0.1,   0.05,  0.02, 0.01, 0.005, 0.002, 0.001};
constexpr double kSecondsPerDay = 86400;

// The multiples of step that lie inside [low, high].
int64_t MultiplesInside(double low, double high, double step) {
    const double first = std::ceil(low / step);
    const double last = std::floor(high / step);
    return last >= first ? static_cast<int64_t>(last - first) + 1 : 0;
}

// Labels along one edge of a strip: each is moved inside the strip's extent [low, high]
// when it would stand over an edge, and left out when it would then cover the label before
// it or is longer than the strip.
class LabelRow {
  public:
    LabelRow(double low, double high) : low_(low), high_(high) {}
    // The start of a label of the given length centred on at, or nothing.
    std::optional<double> place(double at, double length) {
        if (length > high_ - low_) return std::nullopt;
        const double start = std::clamp(at - length / 2, low_, high_ - length);
        if (start < end_) return std::nullopt;
        end_ = start + length;
        return start;
    }

  private:
    double low_;
    double high_;
    double end_ = -std::numeric_limits<double>::infinity();
};

// The smallest steps a finer scale goes down to, well below the narrowest window a zoom
// shows (0.00001 day, 0.0001 magnitude): a label of a JD near 10^7 then still holds every
// digit a double gives.
constexpr double kFinestJDStep = 1e-8;
constexpr double kFinestMagStep = 1e-8;

}  // namespace

namespace {

// Where the JD strip puts its labelled ticks: every step days by the scale's rule (wholeDays),
// or at origin + the multiples of a finer step when the window holds fewer than two of those.
// The finer steps are 1, 2 or 5 times a power of ten days; calendar labels take a clock's
// steps below a day, counted from midnight (origin 0.5).
struct JDTicks {
    bool wholeDays = false;
    int64_t first = 0;
    int64_t last = 0;
    int64_t step = 0;
    double fine = 0;
    double origin = 0;
    double low = 0;
    double high = 0;

    double stepDays() const { return wholeDays ? std::abs(static_cast<double>(step)) : fine; }
};

// The multiples of step after origin that lie inside [low, high].
int64_t TicksInside(double low, double high, double origin, double step) {
    return MultiplesInside(low - origin, high - origin, step);
}

std::optional<JDTicks> ChooseJDTicks(const PlotWindowState& view, JDLabels labels) {
    const double left = std::floor(view.WinJDLeft);
    const double right = std::floor(view.WinJDRight);
    if (!(std::abs(left) <= kLargestJD && std::abs(right) <= kLargestJD)) return std::nullopt;
    JDTicks ticks;
    ticks.first = static_cast<int64_t>(left);
    ticks.last = static_cast<int64_t>(right);
    ticks.step = JDTickStep(view.WinJDWidth);
    // Divided, not multiplied: a step of 10^13 days times a million ticks is beyond int64_t.
    if ((ticks.last - ticks.first) / std::abs(ticks.step) > kMostJDTicks) return std::nullopt;
    ticks.low = std::min(view.WinJDLeft, view.WinJDRight);
    ticks.high = std::max(view.WinJDLeft, view.WinJDRight);

    // The whole-day ticks, unless they would label fewer than two places in the window.
    int64_t labelled = 0;
    ForEachTick(ticks.first, ticks.last, ticks.step, 0, [&](int64_t x) {
        const auto jd = static_cast<double>(x);
        if (jd >= ticks.low && jd <= ticks.high) ++labelled;
    });
    if (labelled >= 2) {
        ticks.wholeDays = true;
        return ticks;
    }
    // A finer step: the largest that labels two places.
    const auto take = [&](double origin, double fine) {
        if (TicksInside(ticks.low, ticks.high, origin, fine) < 2) return false;
        ticks.origin = origin;
        ticks.fine = fine;
        return true;
    };
    const double below = static_cast<double>(std::abs(ticks.step));
    if (labels == JDLabels::JulianDates) {
        if (!ForEachFinerStep(below, kFinestJDStep, [&](double fine) { return take(0, fine); }))
            return std::nullopt;
        return ticks;
    }
    if (ForEachFinerStep(below, 1, [&](double fine) { return take(0, fine); })) return ticks;
    for (const double seconds : kClockSteps)
        if (take(0.5, seconds / kSecondsPerDay)) return ticks;
    return std::nullopt;
}

}  // namespace

double JDLabelStep(const PlotWindowState& view, JDLabels labels) {
    const std::optional<JDTicks> ticks = ChooseJDTicks(view, labels);
    return ticks ? ticks->stepDays() : 0;
}

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

void WriteJDScale(Canvas& picJDScale, const PlotWindowState& view, JDLabels labels,
                  double timeOffset) {
    picJDScale.Cls();
    // The ticks fall on round times as the strip names them, the offset added; each is drawn
    // where its stored time lies in the strip's frame.
    PlotWindowState shown = view;
    shown.WinJDLeft += timeOffset;
    shown.WinJDRight += timeOffset;
    const std::optional<JDTicks> ticks = ChooseJDTicks(shown, labels);
    if (!ticks) return;
    const double low = ticks->low;
    const double high = ticks->high;
    const CalendarLabelForm form = CalendarLabelFormFor(ticks->stepDays());
    const auto at = [timeOffset](double jd) { return jd - timeOffset; };
    LabelRow row(at(low), at(high));
    // Labels of times name their date once: a label on the date of the label before it
    // shows the time alone, so that labels seconds apart still fit beside each other.
    std::string shownDate;
    const auto label = [&](double jd, int decimals) {
        if (jd < low || jd > high) return;  // a label of a tick outside the strip shows cut
        QString text;
        std::string date;
        if (labels == JDLabels::JulianDates) {
            text = QString::fromStdString(FormatDouble(RoundHalfEven(jd, decimals)));
        } else if (const std::optional<CalendarLabelParts> parts = CalendarLabelOf(jd, form)) {
            date = parts->date;
            text = QString::fromStdString(parts->time.empty() ? parts->date
                                          : date == shownDate ? parts->time
                                                              : parts->date + " " + parts->time);
        } else {
            text = QString::fromStdString(FormatDouble(jd));
        }
        const std::optional<double> start = row.place(at(jd), picJDScale.TextWidth(text));
        if (!start) return;
        shownDate = date;
        picJDScale.CurrentX = *start;
        picJDScale.CurrentY = kLabelTop;
        picJDScale.Print(text);
    };

    if (ticks->wholeDays) {
        ForEachTick(ticks->first, ticks->last, ticks->step, ticks->step / 2, [&](int64_t x) {
            const auto jd = static_cast<double>(x);
            picJDScale.Line(at(jd), kMinorTickTop, at(jd), kStripBottom);
        });
        ForEachTick(ticks->first, ticks->last, ticks->step, 0, [&](int64_t x) {
            const auto jd = static_cast<double>(x);
            picJDScale.Line(at(jd), kMajorTickTop, at(jd), kStripBottom);
            label(jd, 0);
        });
        return;
    }
    const double fine = ticks->fine;
    const double origin = ticks->origin;
    const int decimals = StepDecimals(fine);
    const auto k0 = static_cast<int64_t>(std::floor((low - origin) / fine));
    const auto k1 = static_cast<int64_t>(std::ceil((high - origin) / fine));
    for (int64_t k = k0; k <= k1; ++k) {
        const double jd = origin + static_cast<double>(k) * fine;
        picJDScale.Line(at(jd + fine / 2), kMinorTickTop, at(jd + fine / 2), kStripBottom);
        picJDScale.Line(at(jd), kMajorTickTop, at(jd), kStripBottom);
        label(jd, decimals);
    }
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

}  // namespace

void WriteMagScale(Canvas& picMagScale, const PlotWindowState& view) {
    picMagScale.Cls();
    const double top = std::floor(view.WinMagTop);
    const double bottom = std::floor(view.WinMagBottom);
    if (!(std::abs(top) <= kLargestJD && std::abs(bottom) <= kLargestJD)) return;
    if (bottom - top > static_cast<double>(kMostMagnitudes)) return;
    const double low = std::min(view.WinMagTop, view.WinMagBottom);
    const double high = std::max(view.WinMagTop, view.WinMagBottom);

    // The ticks first, the whole ones with the text of their label, so that the labels can
    // be fitted to the strip before anything is drawn.
    struct Tick {
        double m;
        bool whole;
    };
    std::vector<Tick> ticks;
    int decimals = 0;
    // Counted in whole half magnitudes: adding 0.5 to a huge magnitude would never move it.
    const auto halves = static_cast<int64_t>(2 * (bottom - top));
    int64_t labelled = 0;
    for (int64_t i = 0; 2 * i <= halves; ++i) {
        const double m = top + static_cast<double>(i);
        if (m >= low && m <= high) ++labelled;
    }
    if (labelled >= 2) {
        for (int64_t i = 0; i <= halves; ++i)
            ticks.push_back({top + 0.5 * static_cast<double>(i), i % 2 == 0});
    } else {
        // A finer step (0.5, 0.2, 0.1, 0.05 ...): the largest that labels two places.
        ForEachFinerStep(1.0, kFinestMagStep, [&](double fine) {
            if (MultiplesInside(low, high, fine) < 2) return false;
            decimals = StepDecimals(fine);
            const auto k0 = static_cast<int64_t>(std::floor(low / fine));
            const auto k1 = static_cast<int64_t>(std::ceil(high / fine));
            for (int64_t k = k0; k <= k1; ++k) {
                const double m = static_cast<double>(k) * fine;
                ticks.push_back({m + fine / 2, false});
                ticks.push_back({m, true});
            }
            return true;
        });
    }
    std::vector<std::pair<double, QString>> labels;
    for (const Tick& t : ticks)
        if (t.whole && t.m >= low && t.m <= high)
            labels.emplace_back(t.m,
                                QString::fromStdString(FormatDouble(RoundHalfEven(t.m, decimals))));
    std::vector<QString> texts;
    texts.reserve(labels.size());
    for (const auto& label : labels) texts.push_back(label.second);
    const MagLabelFit fit = FitMagLabels(picMagScale, texts);

    for (const Tick& t : ticks)
        picMagScale.Line(0, t.m, t.whole ? fit.wholeTick : kHalfTickLength, t.m);
    const QFont original = picMagScale.Font;
    picMagScale.Font = fit.font;
    LabelRow row(low, high);
    for (const auto& [m, text] : labels) {
        const std::optional<double> start = row.place(m, picMagScale.TextHeight(text));
        if (!start) continue;
        picMagScale.CurrentX = fit.left;
        picMagScale.CurrentY = *start;
        picMagScale.Print(text);
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

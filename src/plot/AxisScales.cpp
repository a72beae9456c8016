#include "plot/AxisScales.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "core/CalendarDate.h"
#include "core/NumberText.h"

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
template <typename Try>
void ForEachFinerStep(double below, double smallest, Try tryStep) {
    for (double decade = std::pow(10.0, std::ceil(std::log10(below))); decade >= smallest;
         decade /= 10) {
        for (const double factor : {5.0, 2.0, 1.0}) {
            const double step = decade * factor;
            if (step < below && step >= smallest && tryStep(step)) return;
        }
    }
}

// The multiples of step that lie inside [low, high].
int64_t MultiplesInside(double low, double high, double step) {
    const double first = std::ceil(low / step);
    const double last = std::floor(high / step);
    return last >= first ? static_cast<int64_t>(last - first) + 1 : 0;
}

// The decimals a label of the step needs: 0 for whole steps, 1 for 0.5, 2 for 0.05 ...
int DecimalsOf(double step) {
    int decimals = 0;
    while (decimals < 6 && std::abs(step - std::round(step)) > 1e-9 * std::max(1.0, step)) {
        step *= 10;
        ++decimals;
    }
    return decimals;
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

// The smallest steps a finer scale goes down to: a ten-thousandth of a day (the JD's last
// shown decimal), a hundredth of a magnitude.
constexpr double kFinestJDStep = 1e-4;
constexpr double kFinestMagStep = 0.01;

}  // namespace

namespace {

// Where the JD strip puts its labelled ticks: every step days by the scale's rule (wholeDays),
// or at the multiples of a finer step when the window holds fewer than two of those.
struct JDTicks {
    bool wholeDays = false;
    int64_t first = 0;
    int64_t last = 0;
    int64_t step = 0;
    double fine = 0;
    double low = 0;
    double high = 0;

    double stepDays() const { return wholeDays ? std::abs(static_cast<double>(step)) : fine; }
};

std::optional<JDTicks> ChooseJDTicks(const PlotWindowState& view) {
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
    // A finer step of 1, 2 or 5 times a power of ten: the largest that labels two places.
    ForEachFinerStep(static_cast<double>(std::abs(ticks.step)), kFinestJDStep, [&](double fine) {
        if (MultiplesInside(ticks.low, ticks.high, fine) < 2) return false;
        ticks.fine = fine;
        return true;
    });
    if (ticks.fine == 0) return std::nullopt;
    return ticks;
}

}  // namespace

double JDLabelStep(const PlotWindowState& view) {
    const std::optional<JDTicks> ticks = ChooseJDTicks(view);
    return ticks ? ticks->stepDays() : 0;
}

CalendarLabelForm CalendarLabelFormFor(double stepDays) {
    stepDays = std::abs(stepDays);
    if (stepDays >= 365) return CalendarLabelForm::Year;
    // Labels a month or more apart name different months.
    if (stepDays >= 31) return CalendarLabelForm::YearMonth;
    if (stepDays >= 1) return CalendarLabelForm::Day;
    // A hundredth of a day is 14.4 minutes.
    if (stepDays >= 0.01) return CalendarLabelForm::Minute;
    return CalendarLabelForm::Second;
}

QString CalendarTickLabel(double jd, CalendarLabelForm form) {
    const std::optional<CalendarDateTime> date =
        CalendarDateOfJD(jd, form == CalendarLabelForm::Minute ? 60 : 1);
    if (!date) return QString::fromStdString(FormatDouble(jd));
    const std::string day = DateText(*date);
    switch (form) {
        case CalendarLabelForm::Year:
            return QString::fromStdString(day.substr(0, day.size() - 6));
        case CalendarLabelForm::YearMonth:
            return QString::fromStdString(day.substr(0, day.size() - 3));
        case CalendarLabelForm::Day:
            return QString::fromStdString(day);
        case CalendarLabelForm::Minute:
            return QString::fromStdString(day + " " + MinuteText(*date));
        case CalendarLabelForm::Second:
            return QString::fromStdString(day + " " + SecondText(*date));
    }
    return QString();
}

void WriteJDScale(Canvas& picJDScale, const PlotWindowState& view, JDLabels labels) {
    picJDScale.Cls();
    const std::optional<JDTicks> ticks = ChooseJDTicks(view);
    if (!ticks) return;
    const double low = ticks->low;
    const double high = ticks->high;
    const CalendarLabelForm form = CalendarLabelFormFor(ticks->stepDays());
    LabelRow row(low, high);
    const auto label = [&](double jd, int decimals) {
        if (jd < low || jd > high) return;  // a label of a tick outside the strip shows cut
        const QString text =
            labels == JDLabels::CalendarDates
                ? CalendarTickLabel(jd, form)
                : QString::fromStdString(FormatDouble(RoundHalfEven(jd, decimals)));
        const std::optional<double> start = row.place(jd, picJDScale.TextWidth(text));
        if (!start) return;
        picJDScale.CurrentX = *start;
        picJDScale.CurrentY = kLabelTop;
        picJDScale.Print(text);
    };

    if (ticks->wholeDays) {
        ForEachTick(ticks->first, ticks->last, ticks->step, ticks->step / 2, [&](int64_t x) {
            const auto jd = static_cast<double>(x);
            picJDScale.Line(jd, kMinorTickTop, jd, kStripBottom);
        });
        ForEachTick(ticks->first, ticks->last, ticks->step, 0, [&](int64_t x) {
            const auto jd = static_cast<double>(x);
            picJDScale.Line(jd, kMajorTickTop, jd, kStripBottom);
            label(jd, 0);
        });
        return;
    }
    const double fine = ticks->fine;
    const int decimals = DecimalsOf(fine);
    const auto k0 = static_cast<int64_t>(std::floor(low / fine));
    const auto k1 = static_cast<int64_t>(std::ceil(high / fine));
    for (int64_t k = k0; k <= k1; ++k) {
        const double jd = static_cast<double>(k) * fine;
        picJDScale.Line(jd + fine / 2, kMinorTickTop, jd + fine / 2, kStripBottom);
        picJDScale.Line(jd, kMajorTickTop, jd, kStripBottom);
        label(jd, decimals);
    }
}

void WriteMagScale(Canvas& picMagScale, const PlotWindowState& view) {
    picMagScale.Cls();
    const double top = std::floor(view.WinMagTop);
    const double bottom = std::floor(view.WinMagBottom);
    if (!(std::abs(top) <= kLargestJD && std::abs(bottom) <= kLargestJD)) return;
    if (bottom - top > static_cast<double>(kMostMagnitudes)) return;
    const double low = std::min(view.WinMagTop, view.WinMagBottom);
    const double high = std::max(view.WinMagTop, view.WinMagBottom);
    LabelRow labels(low, high);
    const auto tick = [&](double m, double length, int decimals) {
        picMagScale.Line(0, m, length, m);
        if (length < kWholeTickLength || m < low || m > high) return;
        const QString text = QString::fromStdString(FormatDouble(RoundHalfEven(m, decimals)));
        const std::optional<double> start = labels.place(m, picMagScale.TextHeight(text));
        if (!start) return;
        picMagScale.CurrentX = kMagLabelLeft;
        picMagScale.CurrentY = *start;
        picMagScale.Print(text);
    };

    // Counted in whole half magnitudes: adding 0.5 to a huge magnitude would never move it.
    const auto halves = static_cast<int64_t>(2 * (bottom - top));
    int64_t labelled = 0;
    for (int64_t i = 0; 2 * i <= halves; ++i) {
        const double m = top + static_cast<double>(i);
        if (m >= low && m <= high) ++labelled;
    }
    if (labelled >= 2) {
        for (int64_t i = 0; i <= halves; ++i)
            tick(top + 0.5 * static_cast<double>(i), kHalfTickLength, 0);
        for (int64_t i = 0; 2 * i <= halves; ++i)
            tick(top + static_cast<double>(i), kWholeTickLength, 0);
        return;
    }
    // A finer step (0.5, 0.2, 0.1, 0.05 ...): the largest that labels two places.
    ForEachFinerStep(1.0, kFinestMagStep, [&](double fine) {
        if (MultiplesInside(low, high, fine) < 2) return false;
        const int decimals = DecimalsOf(fine);
        const auto k0 = static_cast<int64_t>(std::floor(low / fine));
        const auto k1 = static_cast<int64_t>(std::ceil(high / fine));
        for (int64_t k = k0; k <= k1; ++k) {
            const double m = static_cast<double>(k) * fine;
            tick(m + fine / 2, kHalfTickLength, decimals);
            tick(m, kWholeTickLength, decimals);
        }
        return true;
    });
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

#include "plot/AxisScales.h"

#include <QString>
#include <algorithm>
#include <cmath>

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

void WriteJDScale(Canvas& picJDScale, const PlotWindowState& view) {
    picJDScale.Cls();
    const double left = std::floor(view.WinJDLeft);
    const double right = std::floor(view.WinJDRight);
    if (!(std::abs(left) <= kLargestJD && std::abs(right) <= kLargestJD)) return;
    const auto first = static_cast<int64_t>(left);
    const auto last = static_cast<int64_t>(right);
    const int64_t step = JDTickStep(view.WinJDWidth);
    // Divided, not multiplied: a step of 10^13 days times a million ticks is beyond int64_t.
    if ((last - first) / std::abs(step) > kMostJDTicks) return;

    ForEachTick(first, last, step, step / 2, [&](int64_t x) {
        const auto jd = static_cast<double>(x);
        picJDScale.Line(jd, kMinorTickTop, jd, kStripBottom);
    });
    ForEachTick(first, last, step, 0, [&](int64_t x) {
        const auto jd = static_cast<double>(x);
        picJDScale.Line(jd, kMajorTickTop, jd, kStripBottom);
        const QString label = QString::fromStdString(FormatDouble(jd));
        picJDScale.CurrentX = jd - picJDScale.TextWidth(label) / 2;
        picJDScale.CurrentY = kLabelTop;
        picJDScale.Print(label);
    });
}

void WriteMagScale(Canvas& picMagScale, const PlotWindowState& view) {
    picMagScale.Cls();
    const double top = std::floor(view.WinMagTop);
    const double bottom = std::floor(view.WinMagBottom);
    if (!(std::abs(top) <= kLargestJD && std::abs(bottom) <= kLargestJD)) return;
    if (bottom - top > static_cast<double>(kMostMagnitudes)) return;
    // Counted in whole half magnitudes: adding 0.5 to a huge magnitude would never move it.
    const auto halves = static_cast<int64_t>(2 * (bottom - top));
    for (int64_t i = 0; i <= halves; ++i) {
        const double m = top + 0.5 * static_cast<double>(i);
        picMagScale.Line(0, m, kHalfTickLength, m);
    }
    for (int64_t i = 0; 2 * i <= halves; ++i) {
        const double m = top + static_cast<double>(i);
        picMagScale.Line(0, m, kWholeTickLength, m);
        const QString label = QString::fromStdString(FormatDouble(m));
        picMagScale.CurrentX = kMagLabelLeft;
        picMagScale.CurrentY = m - picMagScale.TextHeight(label) / 2;
        picMagScale.Print(label);
    }
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

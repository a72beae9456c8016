// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/FrequencyGrid.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/NumberText.h"

namespace sabrix {

namespace {

constexpr double kMaxSamplesPerPeak = 100;

// v to `digits` significant digits, downward or upward. The nudge keeps a value that is
// already short (0.05 held as 0.05000000000000000277) from moving a whole last digit.
double RoundSignificant(double v, int digits, bool up) {
    if (!(v > 0) || !std::isfinite(v)) return v;
    const double scale = std::pow(10.0, digits - 1 - static_cast<int>(std::floor(std::log10(v))));
    const double scaled = v * scale;
    return (up ? std::ceil(scaled - 1e-6) : std::floor(scaled + 1e-6)) / scale;
}

QString DaysText(double days) {
    return QString::fromStdString(FormatDouble(days));
}

FrequencyGridOutcome Refuse(PeriodRangeField field, QString message) {
    FrequencyGridOutcome outcome;
    outcome.field = field;
    outcome.refusal = std::move(message);
    return outcome;
}

QString CountText(double count) {
    // Beyond this the count is not worth its digits (and 10^-320 d gives 1/0).
    if (!(count < 1e15)) return QStringLiteral("more than 1,000,000,000,000,000");
    // Thousands separated by commas whatever the locale: "12,345,678".
    QString digits = QString::fromStdString(FormatDouble(count));
    for (int i = digits.size() - 3; i > 0; i -= 3) digits.insert(i, QLatin1Char(','));
    return digits;
}

}  // namespace

PeriodRange DefaultPeriodRange(std::span<const double> times) {
    PeriodRange range;
    std::vector<double> sorted(times.begin(), times.end());
    std::sort(sorted.begin(), sorted.end());
    std::vector<double> gaps;
    gaps.reserve(sorted.size());
    for (size_t i = 1; i < sorted.size(); ++i)
        if (sorted[i] > sorted[i - 1]) gaps.push_back(sorted[i] - sorted[i - 1]);
    if (gaps.empty()) return range;
    range.maxPeriod = sorted.back() - sorted.front();
    const auto middle = gaps.begin() + static_cast<std::ptrdiff_t>(gaps.size() / 2);
    std::nth_element(gaps.begin(), middle, gaps.end());
    double median = *middle;
    if (gaps.size() % 2 == 0) median = (median + *std::max_element(gaps.begin(), middle)) / 2;
    range.minPeriod = std::max(kShortestDefaultPeriod, 2 * median);
    return range;
}

PeriodRangeFields PeriodRangeText(const PeriodRange& range) {
    PeriodRangeFields fields;
    fields.minPeriod = DaysText(RoundSignificant(range.minPeriod, 6, true));
    fields.maxPeriod = DaysText(RoundSignificant(range.maxPeriod, 6, false));
    fields.samplesPerPeak = DaysText(range.samplesPerPeak);
    return fields;
}

FrequencyGridOutcome MakeFrequencyGrid(const PeriodRange& range, double span) {
    if (!(range.minPeriod > 0) || !std::isfinite(range.minPeriod))
        return Refuse(PeriodRangeField::MinPeriod,
                      QStringLiteral("Minimum period: type a number of days greater than 0, for "
                                     "example 0.05."));
    if (!(range.maxPeriod > 0) || !std::isfinite(range.maxPeriod))
        return Refuse(PeriodRangeField::MaxPeriod,
                      QStringLiteral("Maximum period: type a number of days greater than 0, for "
                                     "example 100."));
    if (!(range.samplesPerPeak >= 1 && range.samplesPerPeak <= kMaxSamplesPerPeak))
        return Refuse(PeriodRangeField::SamplesPerPeak,
                      QStringLiteral("Samples per peak: type a number from 1 to 100, for example "
                                     "10."));
    if (!(range.minPeriod < range.maxPeriod))
        return Refuse(PeriodRangeField::MinPeriod,
                      QStringLiteral("Minimum period: it must be less than the maximum period "
                                     "(%1 d).")
                          .arg(DaysText(range.maxPeriod)));
    FrequencyGrid grid;
    grid.first = 1 / range.maxPeriod;
    grid.step = 1 / (range.samplesPerPeak * span);
    const double last = 1 / range.minPeriod;
    // Counted in double: a range of 10^-9 d to 10^9 d must be refused, not overflow. Periods
    // so short that both reciprocals are infinite leave no number (inf - inf): refused too.
    const double count = std::floor((last - grid.first) / grid.step * (1 + 1e-12)) + 1;
    if (!(count <= static_cast<double>(kMaxFrequencies)))
        return Refuse(PeriodRangeField::MinPeriod,
                      QStringLiteral("Minimum period: this range gives %1 frequencies, more than "
                                     "10,000,000. Type a longer minimum period or fewer samples "
                                     "per peak.")
                          .arg(CountText(count)));
    if (count < static_cast<double>(kMinFrequencies))
        return Refuse(PeriodRangeField::MaxPeriod,
                      QStringLiteral("Maximum period: this range gives only %1 frequencies, "
                                     "fewer than 10. Widen the range of periods or type more "
                                     "samples per peak.")
                          .arg(CountText(count)));
    grid.count = static_cast<int64_t>(count);
    FrequencyGridOutcome outcome;
    outcome.grid = grid;
    return outcome;
}

FrequencyGridOutcome ReadPeriodRange(const PeriodRangeFields& fields, double span) {
    PeriodRange range;
    const auto read = [](const QString& text, double& value) {
        return ParseNumber(text.toStdString(), value);
    };
    if (!read(fields.minPeriod, range.minPeriod)) range.minPeriod = NAN;
    if (!read(fields.maxPeriod, range.maxPeriod)) range.maxPeriod = NAN;
    if (!read(fields.samplesPerPeak, range.samplesPerPeak)) range.samplesPerPeak = NAN;
    return MakeFrequencyGrid(range, span);
}

}  // namespace sabrix

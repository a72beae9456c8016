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
    if (times.empty()) return range;
    const auto [first, last] = std::minmax_element(times.begin(), times.end());
    const double span = *last - *first;
    if (!(span > 0)) return range;
    range.maxPeriod = span;
    range.minPeriod = std::min(kShortestDefaultPeriod, span / 2);
    // K T (1 / min - 1 / max) + 1 frequencies at most.
    const double highest =
        (static_cast<double>(kMaxFrequencies) - 1) / (range.samplesPerPeak * span) + 1 / span;
    if (1 / range.minPeriod > highest) {
        range.minPeriod = 1 / highest;
        range.minimumRaised = true;
    }
    return range;
}

QString RaisedMinimumText(const PeriodRange& range) {
    if (!range.minimumRaised) return QString();
    return QStringLiteral(
               "The minimum period was raised to %1 d to keep the search within 10,000,000 "
               "frequencies.")
        .arg(DaysText(RoundSignificant(range.minPeriod, 6, true)));
}

PeriodRangeFields PeriodRangeText(const PeriodRange& range) {
    PeriodRangeFields fields;
    fields.minPeriod = DaysText(RoundSignificant(range.minPeriod, 6, true));
    fields.maxPeriod = DaysText(RoundSignificant(range.maxPeriod, 6, false));
    fields.samplesPerPeak = DaysText(range.samplesPerPeak);
    return fields;
}

FrequencyGridOutcome MakeFrequencyGrid(const PeriodRange& range, double span,
                                       PeriodRangeTyped typed) {
    const auto sensible = [](double period) {
        return period >= kShortestPeriod && period <= kLongestPeriod;
    };
    if (!sensible(range.minPeriod))
        return Refuse(PeriodRangeField::MinPeriod,
                      QStringLiteral("Minimum period: type a number of days from 0.0001 to "
                                     "10,000,000, for example 0.05."));
    if (!sensible(range.maxPeriod))
        return Refuse(PeriodRangeField::MaxPeriod,
                      QStringLiteral("Maximum period: type a number of days from 0.0001 to "
                                     "10,000,000, for example 100."));
    if (!(range.samplesPerPeak >= 1 && range.samplesPerPeak <= kMaxSamplesPerPeak))
        return Refuse(PeriodRangeField::SamplesPerPeak,
                      QStringLiteral("Samples per peak: type a number from 1 to 100, for example "
                                     "10."));
    if (!(range.minPeriod < range.maxPeriod)) {
        if (typed.minPeriod || !typed.maxPeriod)
            return Refuse(PeriodRangeField::MinPeriod,
                          QStringLiteral("Minimum period: it must be less than the maximum "
                                         "period (%1 d).")
                              .arg(DaysText(range.maxPeriod)));
        return Refuse(PeriodRangeField::MaxPeriod,
                      QStringLiteral("Maximum period: it must be greater than the minimum period "
                                     "(%1 d).")
                          .arg(DaysText(range.minPeriod)));
    }
    FrequencyGrid grid;
    grid.first = 1 / range.maxPeriod;
    grid.step = 1 / (range.samplesPerPeak * span);
    const double last = 1 / range.minPeriod;
    // Counted in double: a range of 10^-4 d to 10^7 d over a century must be refused, not
    // overflow.
    const double count = std::floor((last - grid.first) / grid.step * (1 + 1e-12)) + 1;
    if (!(count <= static_cast<double>(kMaxFrequencies))) {
        const QString text = QStringLiteral(
                                 "this range gives %1 frequencies, more than "
                                 "10,000,000.")
                                 .arg(CountText(count));
        if (typed.samplesPerPeak && !typed.minPeriod)
            return Refuse(PeriodRangeField::SamplesPerPeak,
                          QStringLiteral("Samples per peak: ") + text +
                              QStringLiteral(" Type fewer samples per peak."));
        if (typed.maxPeriod && !typed.minPeriod)
            return Refuse(PeriodRangeField::MaxPeriod,
                          QStringLiteral("Maximum period: ") + text +
                              QStringLiteral(" Type a shorter maximum period."));
        return Refuse(PeriodRangeField::MinPeriod,
                      QStringLiteral("Minimum period: ") + text +
                          QStringLiteral(" Type a longer minimum period or fewer samples per "
                                         "peak."));
    }
    if (!(count >= static_cast<double>(kMinFrequencies))) {
        const QString text = QStringLiteral(
                                 "this range gives only %1 frequencies, fewer than 10. Widen the "
                                 "range of periods or type more samples per peak.")
                                 .arg(CountText(count));
        if (typed.minPeriod && !typed.maxPeriod)
            return Refuse(PeriodRangeField::MinPeriod, QStringLiteral("Minimum period: ") + text);
        if (typed.samplesPerPeak && !typed.maxPeriod && !typed.minPeriod)
            return Refuse(PeriodRangeField::SamplesPerPeak,
                          QStringLiteral("Samples per peak: ") + text);
        return Refuse(PeriodRangeField::MaxPeriod, QStringLiteral("Maximum period: ") + text);
    }
    grid.count = static_cast<int64_t>(count);
    FrequencyGridOutcome outcome;
    outcome.grid = grid;
    return outcome;
}

FrequencyGridOutcome ReadPeriodRange(const PeriodRangeFields& fields, double span,
                                     const PeriodRangeFields& defaults) {
    PeriodRange range;
    const auto read = [](const QString& text, double& value) {
        return ParseNumber(text.toStdString(), value);
    };
    if (!read(fields.minPeriod, range.minPeriod)) range.minPeriod = NAN;
    if (!read(fields.maxPeriod, range.maxPeriod)) range.maxPeriod = NAN;
    if (!read(fields.samplesPerPeak, range.samplesPerPeak)) range.samplesPerPeak = NAN;
    const auto typed = [](const QString& text, const QString& byDefault) {
        return byDefault.isEmpty() || text.trimmed() != byDefault.trimmed();
    };
    return MakeFrequencyGrid(
        range, span,
        {typed(fields.minPeriod, defaults.minPeriod), typed(fields.maxPeriod, defaults.maxPeriod),
         typed(fields.samplesPerPeak, defaults.samplesPerPeak)});
}

}  // namespace sabrix

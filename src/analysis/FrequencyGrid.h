// SPDX-License-Identifier: GPL-3.0-or-later
// The frequencies of a periodogram, from the range of periods the user asks for: the fields
// of the period search (minimum and maximum period, samples per peak) as texts, their defaults
// from the data, and the checks that refuse a range naming the field at fault, shared by the
// dialog and the command line.
//
// A peak of the periodogram is about 1/T wide in frequency (T the span of the times), so the
// grid steps by 1/(K T) from 1 / maximum period up to 1 / minimum period, K samples per peak.
// Over T = 2,400 days with periods 0.05 d to 2,400 d and K = 10 that is 1/2400 to 20
// cycles/day in steps of 1/24,000: 479,991 frequencies.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <span>

namespace sabrix {

struct FrequencyGrid {
    double first = 0;  // cycles/day
    double step = 0;   // cycles/day
    int64_t count = 0;
    double at(int64_t k) const { return first + step * static_cast<double>(k); }
};

struct PeriodRange {
    double minPeriod = 0;  // days
    double maxPeriod = 0;  // days
    double samplesPerPeak = 10;
    // The default minimum was raised above 0.05 d to keep the grid within kMaxFrequencies.
    bool minimumRaised = false;
};

// Which fields the user typed (a field left as its default is not blamed for a refusal).
struct PeriodRangeTyped {
    bool minPeriod = true;
    bool maxPeriod = true;
    bool samplesPerPeak = true;
};

struct PeriodRangeFields {
    QString minPeriod;
    QString maxPeriod;
    QString samplesPerPeak;
};

enum class PeriodRangeField { None, MinPeriod, MaxPeriod, SamplesPerPeak };

struct FrequencyGridOutcome {
    std::optional<FrequencyGrid> grid;
    // When refused: the field to correct and the message, which names it.
    PeriodRangeField field = PeriodRangeField::None;
    QString refusal;
};

inline constexpr int64_t kMinFrequencies = 10;
inline constexpr int64_t kMaxFrequencies = 10'000'000;
inline constexpr double kShortestDefaultPeriod = 0.05;
// The periods a search or a fold accepts, days.
inline constexpr double kShortestPeriod = 1e-4;
inline constexpr double kLongestPeriod = 1e7;

// The default range for these times (any order): the maximum period is the span; the minimum
// 0.05 d (half the span when that is shorter), raised (minimumRaised) as far as the grid of
// 10 samples per peak needs to stay within kMaxFrequencies. Uneven sampling has no strict
// Nyquist limit, so the minimum is not tied to the gaps between observations. With fewer than
// two distinct times both periods are 0 (the grid then refuses).
PeriodRange DefaultPeriodRange(std::span<const double> times);

// "The minimum period was raised to 0.0612 d to keep the search within 10,000,000
// frequencies." for a raised range, else "".
QString RaisedMinimumText(const PeriodRange& range);

// The range as the dialog shows it: the periods with at most 6 significant digits (rounded
// down for the maximum and up for the minimum, so the text never leaves the data's range),
// samples per peak by the general conversion.
PeriodRangeFields PeriodRangeText(const PeriodRange& range);

// The grid for span T (> 0): refused when a period is not a number from kShortestPeriod to
// kLongestPeriod or samples per peak not a number from 1 to 100, when the minimum is not below
// the maximum, and when the range gives fewer than 10 or more than 10^7 frequencies (a count
// that is no number included). A refusal of the range as a whole names a field the user
// typed.
FrequencyGridOutcome MakeFrequencyGrid(const PeriodRange& range, double span,
                                       PeriodRangeTyped typed = {});

// Reads the three fields (blanks around a number are ignored), then as MakeFrequencyGrid; a
// field whose text is that of `defaults` counts as not typed.
FrequencyGridOutcome ReadPeriodRange(const PeriodRangeFields& fields, double span,
                                     const PeriodRangeFields& defaults = {});

}  // namespace sabrix

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

// The default range for these times (any order): the maximum period is the span; the minimum
// the larger of 0.05 d and twice the median gap between successive distinct times; 10 samples
// per peak. With fewer than two distinct times both periods are 0 (the grid then refuses).
PeriodRange DefaultPeriodRange(std::span<const double> times);

// The range as the dialog shows it: the periods with at most 6 significant digits (rounded
// down for the maximum and up for the minimum, so the text never leaves the data's range),
// samples per peak by the general conversion.
PeriodRangeFields PeriodRangeText(const PeriodRange& range);

// The grid for span T (> 0): refused when a period is not a number > 0 or samples per peak not
// a number from 1 to 100, when the minimum is not below the maximum, and when the range gives
// fewer than 10 or more than 10^7 frequencies.
FrequencyGridOutcome MakeFrequencyGrid(const PeriodRange& range, double span);

// Reads the three fields (blanks around a number are ignored), then as MakeFrequencyGrid.
FrequencyGridOutcome ReadPeriodRange(const PeriodRangeFields& fields, double span);

}  // namespace sabrix

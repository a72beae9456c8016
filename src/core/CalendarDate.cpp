// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/CalendarDate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace sabrix {

namespace {

constexpr double kLargestJD = 1e12;
constexpr int64_t kMsPerDay = 86400000;
// The day number (JD at noon) of 1582-10-15, the first Gregorian day.
constexpr int64_t kFirstGregorianDay = 2299161;
// The day number of 1970-01-01, where the Gregorian count below starts.
constexpr int64_t kDayOf1970 = 2440588;

int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Years counted from March, so that the leap day ends a year: the month and day follow from
// the day of that year by the same rule in both calendars.
void SetMonthAndDay(int64_t dayOfMarchYear, int64_t marchYear, CalendarDateTime& date) {
    const int64_t monthFromMarch = (5 * dayOfMarchYear + 2) / 153;
    date.day = static_cast<int>(dayOfMarchYear - (153 * monthFromMarch + 2) / 5 + 1);
    date.month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    date.year = marchYear + (date.month <= 2 ? 1 : 0);
}

// Gregorian: 400-year eras of 146097 days, counted from 0000-03-01.
void GregorianDate(int64_t dayNumber, CalendarDateTime& date) {
    const int64_t z = dayNumber - kDayOf1970 + 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    SetMonthAndDay(dayOfYear, yearOfEra + era * 400, date);
}

// Julian calendar: 4-year cycles of 1461 days, counted from -4712-03-01 (day number 60;
// day number 0 is -4712-01-01, a leap year).
void JulianDate(int64_t dayNumber, CalendarDateTime& date) {
    const int64_t z = dayNumber - 60;
    const int64_t cycle = FloorDiv(z, 1461);
    const int64_t dayOfCycle = z - cycle * 1461;
    const int64_t yearOfCycle = (dayOfCycle - dayOfCycle / 1460) / 365;
    SetMonthAndDay(dayOfCycle - 365 * yearOfCycle, -4712 + 4 * cycle + yearOfCycle, date);
}

std::string TwoDigits(int value) {
    char text[4];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

}  // namespace

std::optional<CalendarDateTime> CalendarDateOfJDInMilliseconds(double jd,
                                                               int64_t roundToMilliseconds) {
    if (!std::isfinite(jd) || std::abs(jd) > kLargestJD) return std::nullopt;
    const int64_t unit = roundToMilliseconds < 1 ? 1 : roundToMilliseconds;
    // The day and the part of it apart: the milliseconds of 10^12 days would overflow
    // int64_t, and the part of the day is exact in a double.
    const double fromMidnight = jd + 0.5;
    const double day = std::floor(fromMidnight);
    int64_t dayNumber = static_cast<int64_t>(day);
    int64_t milliseconds =
        static_cast<int64_t>(std::round((fromMidnight - day) * static_cast<double>(kMsPerDay) /
                                        static_cast<double>(unit))) *
        unit;
    if (milliseconds >= kMsPerDay) {
        ++dayNumber;
        milliseconds -= kMsPerDay;
    }
    CalendarDateTime date;
    if (dayNumber >= kFirstGregorianDay)
        GregorianDate(dayNumber, date);
    else
        JulianDate(dayNumber, date);
    const int64_t secondOfDay = milliseconds / 1000;
    date.hour = static_cast<int>(secondOfDay / 3600);
    date.minute = static_cast<int>(secondOfDay / 60 % 60);
    date.second = static_cast<int>(secondOfDay % 60);
    date.millisecond = static_cast<int>(milliseconds % 1000);
    return date;
}

std::optional<CalendarDateTime> CalendarDateOfJD(double jd, int64_t roundToSeconds) {
    return CalendarDateOfJDInMilliseconds(jd, std::clamp<int64_t>(roundToSeconds, 1, 86400) * 1000);
}

std::string DateText(const CalendarDateTime& date) {
    char year[32];
    std::snprintf(year, sizeof year, date.year < 0 ? "%05lld" : "%04lld",
                  static_cast<long long>(date.year));
    return std::string(year) + "-" + TwoDigits(date.month) + "-" + TwoDigits(date.day);
}

std::string MinuteText(const CalendarDateTime& date) {
    return TwoDigits(date.hour) + ":" + TwoDigits(date.minute);
}

std::string SecondText(const CalendarDateTime& date, int decimals) {
    std::string text = MinuteText(date) + ":" + TwoDigits(date.second);
    if (decimals <= 0) return text;
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, "%03d", date.millisecond);
    return text + "." + std::string(fraction, static_cast<size_t>(decimals < 3 ? decimals : 3));
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// Julian Dates as calendar dates and times in UTC. A JD counts days from noon: JD 2451545.0 is
// 2000-01-01 12:00 UTC and JD 2451544.5 the midnight before it. Days from 1582-10-15 (JD
// 2299160.5) on are Gregorian dates, days before it Julian-calendar dates (the day before is
// 1582-10-04), as astronomers date their observations. Years are numbered astronomically: the
// year before 1 is 0, the one before that -1.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sabrix {

struct CalendarDateTime {
    int64_t year = 0;
    int month = 1;  // 1 to 12
    int day = 1;    // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;  // 0 to 999

    bool operator==(const CalendarDateTime&) const = default;
};

// The date and time of a JD, rounded to the nearest multiple of roundToSeconds seconds
// counted from midnight (1: whole seconds, 60: whole minutes; values below 1 count as 1), so
// that 2451545.49999 rounded to minutes is 2000-01-02 00:00, never 23:60. Returns nothing for
// a JD that is not finite or lies beyond 10^12 days from JD 0 (some 2.7 thousand million
// years).
std::optional<CalendarDateTime> CalendarDateOfJD(double jd, int64_t roundToSeconds = 1);
// The same to the nearest multiple of roundToMilliseconds milliseconds (100: tenths of a
// second); the millisecond member then carries the fraction of the second.
std::optional<CalendarDateTime> CalendarDateOfJDInMilliseconds(double jd,
                                                               int64_t roundToMilliseconds);

// "2000-01-01", "-0044-03-15": the year with at least four digits, month and day with two.
std::string DateText(const CalendarDateTime& date);
// "12:05" and "12:05:09"; with decimals (1 to 3) the fraction of the second as well:
// "12:05:09.2", "12:05:09.25", "12:05:09.250".
std::string MinuteText(const CalendarDateTime& date);
std::string SecondText(const CalendarDateTime& date, int decimals = 0);

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/CalendarDate.h"

namespace sabrix {

namespace {

std::string Stamp(double jd, int64_t roundToSeconds = 1) {
    const std::optional<CalendarDateTime> date = CalendarDateOfJD(jd, roundToSeconds);
    return date ? DateText(*date) + " " + SecondText(*date) : "none";
}

}  // namespace

// Gregorian from 1582-10-15 on, the Julian calendar before it; JD 0 is -4712-01-01 noon.
TEST(CalendarDateOfJD, KnownDatesOnBothSidesOfTheCalendarReform) {
    const std::pair<double, const char*> table[] = {
        {2451545.0, "2000-01-01 12:00:00"},  // the J2000 epoch
        {2299160.5, "1582-10-15 00:00:00"},  // the first Gregorian day
        {2299160.0, "1582-10-04 12:00:00"},  // the Julian day before it
        {2440587.5, "1970-01-01 00:00:00"},
        {2451603.5, "2000-02-29 00:00:00"},  // a Gregorian leap day of a century year
        {2415079.5, "1900-03-01 00:00:00"},  // 1900 has no 29 February
        {2436116.31, "1957-10-04 19:26:24"},
        {1842713.0, "0333-01-27 12:00:00"},    // Julian
        {1507900.13, "-0584-05-28 15:07:12"},  // Julian, before the year 0
        {0.0, "-4712-01-01 12:00:00"},
        {-0.5, "-4712-01-01 00:00:00"},
        {-1.0, "-4713-12-31 12:00:00"},
        {2460000.5, "2023-02-25 00:00:00"},
    };
    for (const auto& [jd, want] : table) EXPECT_EQ(Stamp(jd), want) << std::fixed << jd;
}

TEST(CalendarDateOfJD, RoundsToItsUnitSoNoMinuteReadsSixty) {
    EXPECT_EQ(Stamp(2451545.49999999, 60), "2000-01-02 00:00:00");
    EXPECT_EQ(Stamp(2451545.0 + 29.0 / 86400, 60), "2000-01-01 12:00:00");
    EXPECT_EQ(Stamp(2451545.0 + 31.0 / 86400, 60), "2000-01-01 12:01:00");
    // A JD held as a double is a few microseconds off its second: still that second.
    EXPECT_EQ(Stamp(2451545.1), "2000-01-01 14:24:00");
}

TEST(CalendarDateOfJD, FractionsOfASecondRoundToTheirUnitAndCarryIntoTheNextDay) {
    const auto stamp = [](double jd, int64_t unit, int decimals) {
        const std::optional<CalendarDateTime> date = CalendarDateOfJDInMilliseconds(jd, unit);
        return date ? DateText(*date) + " " + SecondText(*date, decimals) : "none";
    };
    const double second = 1.0 / 86400;
    EXPECT_EQ(stamp(2451545.0 + 0.25 * second, 10, 2), "2000-01-01 12:00:00.25");
    EXPECT_EQ(stamp(2451545.0 + 0.26 * second, 100, 1), "2000-01-01 12:00:00.3");
    EXPECT_EQ(stamp(2451545.0 + 59.9996 * second, 1, 3), "2000-01-01 12:01:00.000");
    EXPECT_EQ(stamp(2451545.5 - 0.0004 * second, 1, 3), "2000-01-02 00:00:00.000");
    EXPECT_EQ(stamp(-0.5 - 0.2 * second, 100, 1), "-4713-12-31 23:59:59.8");
    EXPECT_EQ(stamp(std::nan(""), 1, 3), "none");
    EXPECT_EQ(SecondText(CalendarDateTime{2000, 1, 1, 9, 5, 7, 40}), "09:05:07");
}

TEST(CalendarDateOfJD, NoDateForJDsBeyondTheCalendar) {
    for (double jd : {std::nan(""), std::numeric_limits<double>::infinity(), 1e13, -1e13})
        EXPECT_EQ(Stamp(jd), "none") << jd;
    EXPECT_NE(Stamp(1e12), "none");
    EXPECT_NE(Stamp(-1e12), "none");
}

}  // namespace sabrix

// Gregorian arithmetic: leap years, month lengths, weekdays and day counts.
#include "calendar/gregorian.h"

#include <gtest/gtest.h>

namespace {

TEST(IsLeapYear, CenturyAndQuadrennialRules) {
    struct { int year; int leap; } rows[] = {
        {1900, 0}, {2000, 1}, {2016, 1}, {2017, 0}, {2100, 0}, {1600, 1}, {4, 1}, {1, 0}, {32000, 1},
    };
    for (const auto& r : rows) EXPECT_EQ(IsLeapYear(r.year), r.leap) << r.year;
}

TEST(DaysInMonth, LengthsAndInvalidMonths) {
    struct { int year, month, days; } rows[] = {
        {2000, 2, 29}, {1900, 2, 28}, {2017, 4, 30}, {2017, 12, 31}, {2017, 1, 31}, {2017, 9, 30},
        {2017, 0, 0}, {2017, 13, 0}, {2017, -1, 0},
    };
    for (const auto& r : rows) EXPECT_EQ(DaysInMonth(r.year, r.month), r.days) << r.year << "-" << r.month;
}

TEST(DayOfWeek, KnownDates) {
    // 0 = Sunday ... 6 = Saturday
    struct { int y, m, d, weekday; } rows[] = {
        {1, 1, 1, 1},        // counted as a Monday
        {1900, 1, 1, 1},     // Monday
        {2000, 2, 29, 2},    // Tuesday
        {2017, 1, 5, 4},     // Thursday
        {2049, 12, 31, 5},   // Friday
        {1970, 1, 1, 4},     // Thursday
        {2026, 12, 9, 3},    // Wednesday
    };
    for (const auto& r : rows) EXPECT_EQ(DayOfWeek(r.y, r.m, r.d), r.weekday) << r.y << "-" << r.m << "-" << r.d;
}

TEST(DayOfWeek, InvalidMonthReadsNoTable) {
    EXPECT_EQ(DayOfWeek(2017, 0, 1), 0);
    EXPECT_EQ(DayOfWeek(2017, 13, 1), 0);
    EXPECT_EQ(DayOfWeek(2017, 1000, 1), 0);
}

TEST(DaysBetween, SignedDistances) {
    struct { int y1, m1, d1, y2, m2, d2, days; } rows[] = {
        {1900, 1, 31, 1900, 1, 31, 0},
        {1900, 1, 1, 1900, 1, 31, -30},
        {2017, 1, 28, 1900, 1, 31, 42731},
        {2000, 3, 1, 2000, 2, 28, 2},
        {1900, 3, 1, 1900, 2, 28, 1},
        {32767, 12, 31, 1, 1, 1, 11967899},  // the widest span stays in 32 bits
    };
    for (const auto& r : rows)
        EXPECT_EQ(DaysBetween(r.y1, r.m1, r.d1, r.y2, r.m2, r.d2), r.days)
            << r.y1 << "-" << r.m1 << "-" << r.d1 << " minus " << r.y2 << "-" << r.m2 << "-" << r.d2;
}

// Every day from 1800 to 2200: the weekday advances by one, the day count by one, and the day
// number converts back to the same date.
TEST(GregorianSweep, WeekdayDayNumberAndInverseAgreeWithADayCounter) {
    int32_t n = DayNumber(1800, 1, 1);
    int weekday = DayOfWeek(1800, 1, 1);
    for (int y = 1800; y <= 2200; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= DaysInMonth(y, m); ++d) {
                ASSERT_EQ(DayNumber(y, m, d), n) << y << "-" << m << "-" << d;
                ASSERT_EQ(DayOfWeek(y, m, d), weekday) << y << "-" << m << "-" << d;
                ASSERT_EQ(DaysBetween(y, m, d, 1800, 1, 1), n - DayNumber(1800, 1, 1));
                const SolarDate back = SolarFromDayNumber(n);
                ASSERT_EQ(back.year, y);
                ASSERT_EQ(back.month, m);
                ASSERT_EQ(back.day, d);
                ++n;
                weekday = (weekday + 1) % 7;
            }
        }
    }
}

// NextDate is the date of the next day number, over 1600 ... 2400; nothing follows an invalid
// date or the last day there is.
TEST(NextDate, IsTheNextDayNumber) {
    for (int32_t n = DayNumber(1600, 1, 1); n < DayNumber(2400, 12, 31); ++n) {
        const SolarDate next = NextDate(SolarFromDayNumber(n));
        const SolarDate want = SolarFromDayNumber(n + 1);
        ASSERT_TRUE(next.year == want.year && next.month == want.month && next.day == want.day) << n;
    }
    for (const SolarDate& d : {SolarDate{2017, 2, 29}, SolarDate{2017, 13, 1}, SolarDate{2017, 1, 0},
                               SolarDate{kLastYear, 12, 31}}) {
        EXPECT_EQ(NextDate(d).year, 0) << d.year << "-" << d.month << "-" << d.day;
    }
}

TEST(MonthStartDays, EachIsTheSumOfTheMonthsBefore) {
    int sum = 0;
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(kMonthStartDays[m], sum) << m;
        sum += DaysInMonth(2017, m);
    }
}

}  // namespace

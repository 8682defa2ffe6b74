// The lunar year table, its accessors, FromSolar and NextDay.
#include "calendar/lunar.h"

#include <gtest/gtest.h>

#include "calendar/gregorian.h"

namespace {

struct Lunar {
    int year, month, day, isLeap;
};

void ExpectLunar(const LunarDate& got, const Lunar& want, const char* what) {
    EXPECT_EQ(got.year, want.year) << what;
    EXPECT_EQ(got.month, want.month) << what;
    EXPECT_EQ(got.day, want.day) << what;
    EXPECT_EQ(got.isLeap, want.isLeap) << what;
}

TEST(LunarTable, Accessors) {
    EXPECT_EQ(LunarYearDays(1900), 384);
    EXPECT_EQ(LunarYearDays(1901), 354);
    EXPECT_EQ(LunarYearDays(2017), 384);
    EXPECT_EQ(LunarYearDays(2049), 355);
    EXPECT_EQ(LunarYearDays(2050), 384);
    EXPECT_EQ(LunarYearDays(2100), 354);
    EXPECT_EQ(LeapMonth(1900), 8);
    EXPECT_EQ(LeapMonthDays(1900), 29);
    EXPECT_EQ(LeapMonth(2017), 6);
    EXPECT_EQ(LeapMonthDays(2017), 30);
    EXPECT_EQ(LeapMonth(2000), 0);
    EXPECT_EQ(LeapMonthDays(2000), 0);
    // 2017: months 2, 4, 8, 10, 11, 12 long.
    const int long2017[13] = {0, 29, 30, 29, 30, 29, 29, 29, 30, 29, 30, 30, 30};
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(LunarMonthDays(2017, m), long2017[m]) << m;
}

TEST(LunarTable, MendedWordsOf1933And2033) {
    EXPECT_EQ(kLunarYearInfo[1933 - 1900], 0x16A95u);
    EXPECT_EQ(LeapMonth(1933), 5);
    EXPECT_EQ(LeapMonthDays(1933), 30);
    EXPECT_EQ(LunarMonthDays(1933, 6), 29);
    EXPECT_EQ(kLunarYearInfo[2033 - 1900], 0x04AFBu);
    EXPECT_EQ(LeapMonth(2033), 11);
    EXPECT_EQ(LeapMonthDays(2033), 29);
}

TEST(LunarTable, OutsideTheTableAnswersZero) {
    for (int y : {1899, 2101, 0, -5, 100000}) {
        EXPECT_EQ(LeapMonth(y), 0) << y;
        EXPECT_EQ(LunarMonthDays(y, 1), 0) << y;
        EXPECT_EQ(LeapMonthDays(y), 0) << y;
        EXPECT_EQ(LunarYearDays(y), 0) << y;
    }
    EXPECT_EQ(LunarMonthDays(2017, 0), 0);
    EXPECT_EQ(LunarMonthDays(2017, 13), 0);
}

TEST(FromSolar, KnownDates) {
    struct {
        int y, m, d;
        Lunar lunar;
        const char* note;
    } rows[] = {
        // Gregorian        lunar (year, month, day, leap)
        {1900, 1, 31, {1900, 1, 1, 0}, "base date"},
        {1900, 2, 1, {1900, 1, 2, 0}, ""},
        {2017, 1, 5, {2016, 12, 8, 0}, ""},
        {2017, 1, 27, {2016, 12, 30, 0}, "last day of lunar 2016"},
        {2017, 1, 28, {2017, 1, 1, 0}, ""},
        {2017, 7, 22, {2017, 6, 29, 0}, ""},
        {2017, 7, 23, {2017, 6, 1, 1}, "leap 6th month begins"},
        {2017, 8, 21, {2017, 6, 30, 1}, ""},
        {2017, 8, 22, {2017, 7, 1, 0}, ""},
        {2020, 5, 23, {2020, 4, 1, 1}, ""},
        {2020, 6, 21, {2020, 5, 1, 0}, ""},
        {2023, 3, 22, {2023, 2, 1, 1}, ""},
        {2023, 4, 20, {2023, 3, 1, 0}, ""},
        {2049, 12, 31, {2049, 12, 7, 0}, ""},
        {2050, 1, 22, {2049, 12, 29, 0}, ""},
        {2050, 1, 23, {2050, 1, 1, 0}, ""},
        {2051, 2, 10, {2050, 12, 29, 0}, ""},
        {2101, 1, 28, {2100, 12, 29, 0}, "last day of the table"},
        // New moons within a minute or three of midnight: the day that holds the computed instant.
        {2057, 9, 27, {2057, 8, 29, 0}, "new moon 2057-09-28 23:59:59"},
        {2057, 9, 28, {2057, 9, 1, 0}, "new moon 2057-09-28 23:59:59"},
        {2089, 9, 4, {2089, 8, 1, 0}, "new moon 2089-09-04 23:57"},
        {2097, 8, 7, {2097, 7, 1, 0}, "new moon 2097-08-07 23:59:34"},
        // Regression rows: the usual table had 2033 and 1933 wrong.
        {2033, 8, 25, {2033, 8, 1, 0}, "2033 mended"},
        {2033, 11, 22, {2033, 11, 1, 0}, "2033 mended"},
        {2033, 12, 22, {2033, 11, 1, 1}, "2033 mended: leap 11th month"},
        {2034, 1, 19, {2033, 11, 29, 1}, "2033 mended"},
        {2034, 1, 20, {2033, 12, 1, 0}, "2033 mended"},
        {1933, 7, 22, {1933, 5, 30, 1}, "1933 mended: leap 5th month has 30 days"},
        {1933, 7, 23, {1933, 6, 1, 0}, "1933 mended"},
        {1933, 8, 20, {1933, 6, 29, 0}, "1933 mended"},
        {1933, 8, 21, {1933, 7, 1, 0}, "1933 mended"},
    };
    for (const auto& r : rows) {
        const std::string what = std::to_string(r.y) + "-" + std::to_string(r.m) + "-" +
                                 std::to_string(r.d) + " " + r.note;
        ExpectLunar(LunarDate::FromSolar(r.y, r.m, r.d), r.lunar, what.c_str());
    }
}

TEST(FromSolar, AllFieldsOfTheBaseDateAndOfALeapMonth) {
    LunarDate base = LunarDate::FromSolar(1900, 1, 31);
    EXPECT_EQ(base.monthDays, 29);
    EXPECT_EQ(base.atLeapNumber, 0);
    EXPECT_EQ(base.dayOffset, 0);

    LunarDate before = LunarDate::FromSolar(2017, 7, 22);
    EXPECT_EQ(before.atLeapNumber, 1);
    EXPECT_EQ(before.monthDays, 29);
    EXPECT_EQ(before.dayOffset, 28);

    LunarDate leap = LunarDate::FromSolar(2017, 7, 23);
    EXPECT_EQ(leap.atLeapNumber, 1);
    EXPECT_EQ(leap.monthDays, 30);
    EXPECT_EQ(leap.dayOffset, 0);

    EXPECT_EQ(LunarDate::FromSolar(2017, 1, 5).monthDays, 30);
    EXPECT_EQ(LunarDate::FromSolar(2020, 5, 23).monthDays, 29);
    EXPECT_EQ(LunarDate::FromSolar(2017, 8, 22).atLeapNumber, 0);
}

// Independently published new-year days (春节) against the table.
TEST(FromSolar, NewYearDays) {
    struct { int y, m, d; } rows[] = {
        {1901, 2, 19}, {1912, 2, 18}, {1949, 1, 29}, {1950, 2, 17}, {1970, 2, 6}, {1980, 2, 16},
        {1990, 1, 27}, {2000, 2, 5}, {2010, 2, 14}, {2018, 2, 16}, {2019, 2, 5}, {2021, 2, 12},
        {2022, 2, 1}, {2023, 1, 22}, {2024, 2, 10}, {2025, 1, 29}, {2026, 2, 17},
    };
    for (const auto& r : rows) {
        const SolarDate before = SolarFromDayNumber(DayNumber(r.y, r.m, r.d) - 1);
        const LunarDate eve = LunarDate::FromSolar(before.year, before.month, before.day);
        const LunarDate day = LunarDate::FromSolar(r.y, r.m, r.d);
        ExpectLunar(day, {r.y, 1, 1, 0}, std::to_string(r.y).c_str());
        EXPECT_EQ(eve.month, 12) << r.y;
    }
}

TEST(FromSolar, OutsideTheTableIsInvalid) {
    struct { int y, m, d; } rows[] = {
        {1900, 1, 30}, {1900, 1, 1}, {1899, 12, 31}, {1, 1, 1}, {2101, 1, 29}, {2200, 1, 1},
        {2017, 13, 1}, {2017, 0, 1}, {2017, 2, 29}, {2017, 1, 0}, {2017, 1, 32},
    };
    for (const auto& r : rows) {
        const LunarDate l = LunarDate::FromSolar(r.y, r.m, r.d);
        EXPECT_FALSE(l.IsValid()) << r.y << "-" << r.m << "-" << r.d;
        EXPECT_EQ(l.month, 0);
        EXPECT_EQ(l.day, 0);
        EXPECT_EQ(l.monthDays, 0);
    }
}

TEST(NextDay, MonthAndYearBoundaries) {
    LunarDate l = LunarDate::FromSolar(2017, 7, 22);  // 6-29, leap 6th month follows
    EXPECT_EQ(l.NextDay(), 0);
    ExpectLunar(l, {2017, 6, 1, 1}, "into the leap month");
    EXPECT_EQ(l.monthDays, 30);
    EXPECT_EQ(l.dayOffset, 29);

    l = LunarDate::FromSolar(2017, 8, 21);  // leap 6-30
    l.NextDay();
    ExpectLunar(l, {2017, 7, 1, 0}, "out of the leap month");
    EXPECT_EQ(l.atLeapNumber, 0);

    l = LunarDate::FromSolar(2017, 1, 27);  // 2016-12-30
    l.NextDay();
    ExpectLunar(l, {2017, 1, 1, 0}, "new year");
}

TEST(NextDay, PastTheEndOfTheTableTurnsInvalid) {
    LunarDate l = LunarDate::FromSolar(2101, 1, 28);
    ASSERT_TRUE(l.IsValid());
    EXPECT_EQ(l.NextDay(), -1);
    EXPECT_FALSE(l.IsValid());
    EXPECT_EQ(l.NextDay(), -1);
    EXPECT_FALSE(l.IsValid());
}

// Every day of the table: stepping from day 1 of each Gregorian month gives what converting each day
// gives, and the new years found that way lie LunarYearDays apart.
TEST(LunarSweep, SteppingEqualsConvertingEveryDay) {
    int lastNewYearDay = 0;
    int lastNewYear = 0;
    int newYears = 0;
    for (int y = 1900; y <= 2101; ++y) {
        for (int m = 1; m <= 12; ++m) {
            if (y == 2101 && m > 1) break;
            // January 1900 enters the table on the 31st, the base date.
            const int start = (y == 1900 && m == 1) ? 31 : 1;
            const LunarDate first = LunarDate::FromSolar(y, m, start);
            LunarDate stepped = first;
            const int last = (y == 2101 && m == 1) ? 28 : DaysInMonth(y, m);
            for (int d = start; d <= last; ++d) {
                const LunarDate direct = LunarDate::FromSolar(y, m, d);
                ASSERT_TRUE(direct.IsValid()) << y << "-" << m << "-" << d;
                ASSERT_EQ(stepped.year, direct.year) << y << "-" << m << "-" << d;
                ASSERT_EQ(stepped.month, direct.month) << y << "-" << m << "-" << d;
                ASSERT_EQ(stepped.day, direct.day) << y << "-" << m << "-" << d;
                ASSERT_EQ(stepped.isLeap, direct.isLeap) << y << "-" << m << "-" << d;
                ASSERT_EQ(stepped.atLeapNumber, direct.atLeapNumber) << y << "-" << m << "-" << d;
                ASSERT_EQ(stepped.monthDays, direct.monthDays) << y << "-" << m << "-" << d;
                ASSERT_EQ(direct.dayOffset, direct.day - 1);
                ASSERT_EQ(stepped.dayOffset, first.dayOffset + d - start);
                ASSERT_LE(direct.day, direct.monthDays);
                if (direct.month == 1 && direct.day == 1 && !direct.isLeap) {
                    const int today = DayNumber(y, m, d);
                    if (lastNewYear) {
                        EXPECT_EQ(direct.year, lastNewYear + 1);
                        EXPECT_EQ(today - lastNewYearDay, LunarYearDays(lastNewYear)) << lastNewYear;
                    }
                    lastNewYear = direct.year;
                    lastNewYearDay = today;
                    ++newYears;
                }
                stepped.NextDay();
            }
        }
    }
    EXPECT_EQ(newYears, 201);  // 1900 ... 2100
}

}  // namespace

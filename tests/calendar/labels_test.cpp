// Traditional names and the solar-term table. Literals here are GBK, as the functions answer.
#include "calendar/labels.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "calendar/lunar.h"

namespace {

TEST(StemBranchName, SexagenaryCycle) {
    struct { int n; const char* name; } rows[] = {
        {36, "庚子"},   // lunar 1900
        {0, "甲子"},    // 1864
        {59, "癸亥"},
        {60, "甲子"},
        {153, "丁酉"},  // lunar 2017
        {2023 - 1864, "癸卯"},
        {-1, "癸亥"},   // before 1864: still a name, never outside the tables
    };
    for (const auto& r : rows) EXPECT_STREQ(StemBranchName(r.n), r.name) << r.n;
}

TEST(ZodiacName, AnimalsIncludingTheRabbit) {
    struct { int year; const char* name; } rows[] = {
        {1900, "鼠"}, {1903, "兔"}, {2017, "鸡"}, {2019, "猪"}, {2023, "兔"}, {2024, "龙"}, {3, "猪"},
    };
    for (const auto& r : rows) EXPECT_STREQ(ZodiacName(r.year), r.name) << r.year;
}

TEST(LunarMonthName, NamesAndLeapPrefix) {
    struct { int month; uint8_t leap; const char* name; } rows[] = {
        {1, 0, "正"}, {4, 1, "闰四"}, {10, 0, "十"}, {11, 0, "十一"}, {12, 0, "十二"},
        {6, 1, "闰六"}, {11, 1, "闰十一"}, {12, 1, "闰十二"}, {0, 0, ""},
    };
    for (const auto& r : rows) EXPECT_STREQ(LunarMonthName(r.month, r.leap), r.name) << r.month << "/" << int(r.leap);
}

TEST(LunarDayName, AllThirtyDays) {
    const char* want[31] = {"",     "初一", "初二", "初三", "初四", "初五", "初六", "初七", "初八", "初九", "初十",
                            "十一", "十二", "十三", "十四", "十五", "十六", "十七", "十八", "十九", "二十",
                            "廿一", "廿二", "廿三", "廿四", "廿五", "廿六", "廿七", "廿八", "廿九", "三十"};
    for (int d = 1; d <= 30; ++d) EXPECT_STREQ(LunarDayName(d), want[d]) << d;
    EXPECT_STREQ(LunarDayName(0), "");
    EXPECT_STREQ(LunarDayName(31), "");
    EXPECT_STREQ(LunarDayName(-7), "");
}

// Names point into constant tables: a later call leaves an earlier answer as it was.
TEST(ConstantNames, StayValidAcrossCalls) {
    const char* a = LunarDayName(1);
    const char* month = LunarMonthName(11, 1);
    const char* year = StemBranchName(-1);
    LunarDayName(2);
    LunarMonthName(1, 0);
    StemBranchName(0);
    EXPECT_STREQ(a, "初一");
    EXPECT_STREQ(month, "闰十一");
    EXPECT_STREQ(year, "癸亥");
}

TEST(SolarTermName, OrderOfTheTable) {
    struct { int month, which; const char* name; } rows[] = {
        {1, 1, "小寒"}, {1, 2, "大寒"}, {2, 1, "立春"}, {3, 2, "春分"}, {6, 2, "夏至"},
        {9, 2, "秋分"}, {12, 1, "大雪"}, {12, 2, "冬至"}, {0, 1, ""}, {13, 1, ""}, {5, 3, ""},
    };
    for (const auto& r : rows) EXPECT_STREQ(SolarTermName(r.month, r.which), r.name) << r.month << "/" << r.which;
}

TEST(SolarFestivalName, TableRowsAndMisses) {
    EXPECT_STREQ(SolarFestivalName(10, 1), "国庆");
    EXPECT_STREQ(SolarFestivalName(5, 1), "劳动节");
    EXPECT_STREQ(SolarFestivalName(1, 1), "元旦");
    EXPECT_STREQ(SolarFestivalName(6, 1), "儿童节");
    EXPECT_EQ(SolarFestivalName(12, 25), nullptr);
    EXPECT_EQ(SolarFestivalName(1, 2), nullptr);
    EXPECT_EQ(SolarFestivalName(0, 0), nullptr);
}

// Full names for a list of events: the lunar-day and short festival names grow, the rest stay.
TEST(FestivalFullName, ShortNamesGrowOthersStay) {
    const char* rows[][2] = {{"初二", "正月初二"}, {"初三", "正月初三"}, {"国庆", "国庆节"}, {"端午", "端午节"},
                             {"中秋", "中秋节"},   {"春节", "春节"},     {"元旦", "元旦"},   {"初四", "初四"}};
    for (const auto& r : rows) EXPECT_STREQ(FestivalFullName(r[0]), r[1]);
    EXPECT_EQ(FestivalFullName(nullptr), nullptr);
}

TEST(WeekdayName, EightNames) {
    const char* want[8] = {"日", "一", "二", "三", "四", "五", "六", "日"};
    for (int i = 0; i < 8; ++i) EXPECT_STREQ(WeekdayName(i), want[i]);
    EXPECT_STREQ(WeekdayName(8), "");
    EXPECT_STREQ(WeekdayName(-1), "");
}

TEST(FestivalName, LunarFestivalsAndTheEve) {
    struct { int y, m, d; const char* name; } rows[] = {
        {2017, 1, 27, "除夕"},    // lunar 2016-12-30, a 30-day 12th month
        {2017, 1, 28, "春节"},
        {2017, 1, 29, "初二"},
        {2017, 1, 30, "初三"},
        {2017, 2, 11, "元宵节"},
        {2017, 5, 30, "端午"},
        {2017, 8, 28, "七夕节"},
        {2017, 10, 4, "中秋"},
        {2017, 10, 28, "重阳节"},
        {2018, 2, 15, "除夕"},    // lunar 2017-12-29, a 29-day 12th month
        {2017, 1, 5, nullptr},    // lunar 12-8
        {2017, 1, 31, nullptr},   // lunar 1-4
    };
    for (const auto& r : rows) {
        const char* got = LunarDate::FromSolar(r.y, r.m, r.d).FestivalName();
        if (r.name == nullptr) {
            EXPECT_EQ(got, nullptr) << r.y << "-" << r.m << "-" << r.d;
        } else {
            ASSERT_NE(got, nullptr) << r.y << "-" << r.m << "-" << r.d;
            EXPECT_STREQ(got, r.name) << r.y << "-" << r.m << "-" << r.d;
        }
    }
}

TEST(FestivalName, LeapMonthsHaveNoFestivalAndALeapTwelfthTakesTheEve) {
    LunarDate leap5{};
    leap5.year = 2020; leap5.month = 5; leap5.day = 5; leap5.isLeap = 1; leap5.atLeapNumber = 1; leap5.monthDays = 29;
    EXPECT_EQ(leap5.FestivalName(), nullptr);

    LunarDate ordinary12 = leap5;  // last day of an ordinary 12th month followed by a leap 12th
    ordinary12.month = 12; ordinary12.day = 30; ordinary12.monthDays = 30; ordinary12.isLeap = 0;
    EXPECT_EQ(ordinary12.FestivalName(), nullptr);
    LunarDate leap12 = ordinary12;
    leap12.isLeap = 1; leap12.day = 29; leap12.monthDays = 29;
    ASSERT_NE(leap12.FestivalName(), nullptr);
    EXPECT_STREQ(leap12.FestivalName(), "除夕");

    EXPECT_EQ(LunarDate{}.FestivalName(), nullptr);  // invalid record
}

// ---------------------------------------------------------------------------------------------------
// The solar-term table

TEST(SolarTermTable, SizeAndFirstBytes) {
    static_assert(sizeof kSolarTermTable == 14472, "201 years of 72 bytes");
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(kSolarTermTable);
    const unsigned char want[6] = {0x06, 0x02, 0x04, 0x14, 0x13, 0x20};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(bytes[i], want[i]) << i;
}

// Published rows as "day hh:mm" of each month's first and second term, China Standard Time.
// Days must match exactly; hour:minute within one minute (ΔT and the theories differ by seconds).
TEST(SolarTermTable, PublishedRows) {
    struct { int year; const char* row; } rows[] = {
        {1900, "6 02:04 20 19:32 4 13:52 19 10:01 6 08:22 21 09:39 5 13:53 20 21:27 6 07:55 21 21:17 6 12:39 22 05:40 "
               "7 23:10 23 16:36 8 08:51 23 23:20 8 11:17 23 20:20 9 02:13 24 04:55 8 04:40 23 01:48 7 20:56 22 14:42"},
        {2000, "6 09:01 21 02:23 4 20:40 19 16:33 5 14:43 20 15:35 4 19:32 20 02:40 5 12:50 21 01:49 5 16:59 21 09:48 "
               "7 03:14 22 20:43 7 13:03 23 03:49 7 15:59 23 01:28 8 07:38 23 10:47 7 10:48 22 08:19 7 03:37 21 21:37"},
        {2017, "5 11:56 20 05:24 3 23:34 18 19:31 5 17:33 20 18:29 4 22:17 20 05:27 5 15:31 21 04:31 5 19:37 21 12:24 "
               "7 05:51 22 23:15 7 15:40 23 06:20 7 18:39 23 04:02 8 10:22 23 13:27 7 13:38 22 11:05 7 06:33 22 00:28"},
        {2049, "5 06:18 19 23:40 3 17:53 18 13:42 5 11:42 20 12:28 4 16:14 19 23:13 5 09:12 20 22:03 5 13:03 21 05:47 "
               "6 23:08 22 16:36 7 08:57 22 23:47 7 12:05 22 21:42 8 04:04 23 07:24 7 07:38 22 05:19 7 00:46 21 18:51"},
    };
    for (const auto& r : rows) {
        const char* p = r.row;
        for (int m = 1; m <= 12; ++m) {
            SolarTermTime got[2];
            SolarTermDays(r.year, m, &got[0], &got[1]);
            for (int w = 0; w < 2; ++w) {
                int day, hour, minute, used;
                ASSERT_EQ(sscanf(p, "%d %d:%d %n", &day, &hour, &minute, &used), 3);
                p += used;
                EXPECT_EQ(got[w].day, day) << r.year << "-" << m << " term " << w + 1;
                const int diff = (got[w].hour * 60 + got[w].minute) - (hour * 60 + minute);
                EXPECT_LE(std::abs(diff), 1) << r.year << "-" << m << " term " << w + 1;
            }
        }
    }
}

TEST(SolarTermTable, RecordsThatTestTheConventions) {
    SolarTermTime first, second;
    SolarTermDays(2021, 12, &first, &second);
    EXPECT_EQ(second.day, 21);  // the winter solstice of 2021 fell at 23:59 China time
    EXPECT_EQ(second.hour, 23);
    SolarTermDays(1914, 6, &first, &second);
    EXPECT_EQ(first.day, 6);  // 21:59:5x: the minute is rounded without carrying into the hour
    EXPECT_EQ(first.hour, 21);
    EXPECT_EQ(first.minute, 60);
}

TEST(SolarTermTable, EveryRecordIsAPlausibleMoment) {
    int sixties = 0;
    for (int y = 1900; y <= 2100; ++y) {
        for (int m = 1; m <= 12; ++m) {
            SolarTermTime a, b;
            SolarTermDays(y, m, &a, &b);
            ASSERT_GE(a.day, 3) << y << "-" << m;
            ASSERT_LE(a.day, 9) << y << "-" << m;
            ASSERT_GE(b.day, 18) << y << "-" << m;
            ASSERT_LE(b.day, 24) << y << "-" << m;
            for (const SolarTermTime& t : {a, b}) {
                ASSERT_LE(t.hour, 23);
                ASSERT_LE(t.minute, 60);
                sixties += t.minute == 60 ? 1 : 0;
            }
        }
    }
    EXPECT_EQ(sixties, 37);
}

TEST(SolarTermDays, OutsideTheTableGivesZeros) {
    SolarTermTime a{1, 1, 1}, b{1, 1, 1};
    SolarTermDays(1899, 12, &a, &b);
    EXPECT_EQ(a.day, 0);
    EXPECT_EQ(b.day, 0);
    SolarTermDays(2101, 1, &a, &b);
    EXPECT_EQ(a.day, 0);
    SolarTermDays(2100, 13, &a, &b);
    EXPECT_EQ(a.day, 0);
    SolarTermDays(2100, 12, &a, &b);
    EXPECT_NE(a.day, 0);
    SolarTermDays(2017, 1, &a, &b);
    EXPECT_EQ(a.day, 5);
    EXPECT_EQ(b.day, 20);
}

}  // namespace

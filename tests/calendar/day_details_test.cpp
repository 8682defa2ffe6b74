// Day details against published almanac days, and their rules over every day described. Literals
// are GBK, as the functions answer.
#include "calendar/day_details.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

DayDetails At(int32_t n) {
    const SolarDate s = SolarFromDayNumber(n);
    DayDetails out;
    EXPECT_TRUE(ComputeDayDetails(s.year, s.month, s.day, &out)) << s.year << "-" << s.month << "-" << s.day;
    return out;
}
DayDetails At(int y, int m, int d) { return At(DayNumber(y, m, d)); }
template <size_t (*Format)(const DayDetails&, char*, size_t)>
std::string Text(const DayDetails& d, size_t size = kDetailsLineSize) {
    char out[kDetailsLineSize] = "unwritten";
    const size_t n = Format(d, out, size);
    EXPECT_EQ(n, std::string(out).size());
    return out;
}

// Year, month and day names from day pages of a public almanac (1949-10-01: the 甲子 day of the
// founding; 2027-01-27 before 立春 and the new year, 2041-03-04 the day before 惊蛰); 2027-01-15 is
// its 腊八. The 数九 and 伏 columns follow from the terms and the rules checked below.
TEST(DayDetails, AlmanacDays) {
    const char* rows[] = {
        "1949-10-01\t己丑\t牛\t癸酉\t甲子\t39\t-\t-\t-\n",        "2021-12-26\t辛丑\t牛\t庚子\t戊申\t51\t一九第6天\t-\t-\n",
        "2022-12-21\t壬寅\t虎\t壬子\t戊申\t51\t-\t-\t-\n",        "2026-05-06\t丙午\t马\t癸巳\t庚辰\t19\t-\t-\t-\n",
        "2026-12-22\t丙午\t马\t庚子\t庚午\t52\t一九第1天\t冬至 04:50\t-\n",
        "2027-01-15\t丙午\t马\t辛丑\t甲午\t2\t三九第7天\t-\t腊八\n",   "2027-01-27\t丙午\t马\t辛丑\t丙午\t4\t五九第1天\t-\t-\n",
        "2041-03-04\t辛酉\t鸡\t庚寅\t丙申\t10\t九九第2天\t-\t-\n",  "2050-07-20\t庚午\t马\t癸未\t辛丑\t29\t初伏第2天\t-\t-\n",
        "2051-01-28\t庚午\t马\t己丑\t癸丑\t4\t五九第2天\t-\t-\n",   "2061-12-01\t辛巳\t蛇\t己亥\t癸丑\t48\t-\t-\t-\n",
    };
    for (const char* row : rows) EXPECT_EQ(Text<FormatDetailsRow>(At(std::atoi(row), std::atoi(row + 5), std::atoi(row + 8))), row);
}

// Published runs: 三伏 of 2021 (夏至 6-21 is itself a 庚 day and counts): 初伏 7-11, 中伏 7-21 for
// 20 days, 末伏 8-10 to 8-19; 2022's 初伏 from 7-16. 数九 across a new year: 一九 from 2021-12-21
// and 2022-12-22 (冬至) to 九九 ending 2022-03-11 and 2023-03-12; 一九 of 2024 from 12-21.
TEST(DayDetails, PublishedFuAndNine) {
    const char* kNines = "一九二九三九四九五九六九七九八九九九";
    struct { int y, m, d, days; const char* names; int length; } runs[] = {
        {2021, 7, 11, 40, "初伏中伏中伏末伏", 10}, {2022, 7, 16, 1, "初伏", 10},
        {2021, 12, 21, 81, kNines, 9}, {2022, 12, 22, 81, kNines, 9}, {2024, 12, 21, 9, kNines, 9},
    };
    for (const auto& r : runs) {
        const int32_t first = DayNumber(r.y, r.m, r.d);
        EXPECT_EQ(At(first - 1).periodDay + At(first + r.days).periodDay * (r.days > 9), 0) << r.y << "-" << r.m;
        for (int k = 0; k < r.days; ++k) {
            const DayDetails d = At(first + k);
            const int day = k % r.length + 1 + (r.length == 10 && k >= 20 && k < 30 ? 10 : 0);  // 中伏: 20 days
            EXPECT_EQ(std::string(d.nine ? NinePeriodName(d.nine) : FuPeriodName(d.fu)) + std::to_string(d.periodDay),
                      std::string(r.names, k / r.length * 4, 4) + std::to_string(day)) << r.y << " " << k;
        }
    }
}

// The lines: parts left out when they do not apply or do not fit whole; a stored minute of 60; the
// named days.
TEST(DayDetails, Lines) {
    const DayDetails winter = At(2026, 12, 22);
    EXPECT_EQ(Text<FormatDetailsLine>(winter), "丙午年 庚子月 庚午日 · 第52周 · 冬至 04:50 · 一九第1天");
    EXPECT_EQ(Text<FormatGlanceLine>(winter), "冬至 04:50 · 一九第1天");
    EXPECT_EQ(Text<FormatDetailsLine>(winter, 44), "丙午年 庚子月 庚午日 · 第52周");  // the term needs 45
    EXPECT_EQ(Text<FormatDetailsLine>(winter, 1) + Text<FormatDetailsRow>(winter, 50), "");  // a row is whole
    EXPECT_EQ(Text<FormatGlanceLine>(At(2021, 12, 26)), "");  // 一九第6天 is no first day
    EXPECT_EQ(Text<FormatGlanceLine>(At(1914, 6, 6)), "芒种 22:00");  // stored 21:60
    EXPECT_EQ(Text<FormatGlanceLine>(At(1923, 2, 19)), "雨水 24:00");  // stored 23:60: the day stays
    EXPECT_EQ(Text<FormatDetailsLine>(At(2020, 10, 1)), "庚子年 乙酉月 丁丑日 · 第40周 · 国庆节");  // label: 中秋
    DayDetails none;
    EXPECT_FALSE(ComputeDayDetails(2101, 1, 1, &none) || ComputeDayDetails(2023, 2, 29, &none) ||
                 ComputeDayDetails(1900, 1, 30, &none));
    EXPECT_EQ(Text<FormatDetailsLine>(none) + Text<FormatGlanceLine>(none) + Text<FormatDetailsRow>(none), "");
    // Named days from their first years; customary lunar days not in a leap month.
    struct { int y, m, d; const char* glance; } rows[] = {
        {1949, 3, 8, ""}, {1950, 3, 8, "妇女节"}, {1978, 3, 12, ""}, {1979, 3, 12, "植树节"}, {1949, 5, 4, ""},
        {1950, 5, 4, "青年节"}, {1950, 7, 1, "建党节"}, {1950, 8, 1, "建军节"}, {1984, 9, 10, ""}, {1985, 9, 10, "教师节"},
        {1944, 10, 1, ""}, {1901, 2, 11, "小年"}, {2006, 8, 8, "中元节"}, {2006, 9, 7, ""},  // 闰七月十五
    };
    for (const auto& r : rows) EXPECT_EQ(Text<FormatGlanceLine>(At(r.y, r.m, r.d)), r.glance) << r.y << "-" << r.m;
}

// Every day described: the day's name advances by one; the month's changes only on a 节 day, by one,
// and on 立春 to the 寅 month of the stem the five-tigers rule gives for the year starting there; the
// year's only on 正月初一; the ISO week is that of the week's Thursday in its year; every 九 has nine
// days in order; 伏 last 10, 10 or 20, 10 days; each customary lunar day comes once a lunar year.
TEST(DayDetails, WholeRange) {
    const int kTigerStem[5] = {2, 4, 6, 8, 0};  // 甲己 丙寅, 乙庚 戊寅, 丙辛 庚寅, 丁壬 壬寅, 戊癸 甲寅
    DayDetails prev = At(1900, 1, 31);
    int run = 1, nines = 0, fuYears = 0, customs = 0, prevPeriod = 0;
    for (int32_t n = DayNumber(1900, 2, 1); n <= DayNumber(2100, 12, 31); ++n) {
        const DayDetails d = At(n);
        const SolarDate& s = d.date;
        SolarTermTime jie, zhong;  // a 节, then a 中气
        SolarTermDays(s.year, s.month, &jie, &zhong);
        ASSERT_EQ(d.dayCycle, (prev.dayCycle + 1) % 60) << n;
        ASSERT_EQ(d.monthCycle, (prev.monthCycle + (s.day == jie.day)) % 60) << n;
        ASSERT_TRUE(s.month != 2 || s.day != jie.day || d.monthCycle % 10 == kTigerStem[(s.year - 4) % 5]) << n;
        ASSERT_EQ(d.yearCycle != prev.yearCycle, d.lunar.month == 1 && d.lunar.day == 1 && !d.lunar.isLeap) << n;
        const SolarDate thursday = SolarFromDayNumber(n + 3 - (DayOfWeek(s.year, s.month, s.day) + 6) % 7);
        ASSERT_EQ(d.isoWeek, (DaysBetween(thursday.year, thursday.month, thursday.day, thursday.year, 1, 1) + 7) / 7) << n;
        prev = d;
        for (int i = 0; i < d.otherCount; ++i) customs += std::string("腊八 小年 中元节").find(d.others[i]) != std::string::npos;
        const int period = d.nine ? d.nine : d.fu ? 10 + d.fu : 0;  // 1 ... 9 for 九, 11 ... 13 for 伏
        if (period == prevPeriod && period != 0) {
            ASSERT_EQ(d.periodDay, ++run) << n;
            continue;
        }
        const int next = prevPeriod % 10 == 9 || prevPeriod == 13 ? 0 : prevPeriod + 1;  // after 九九 and 末伏: none
        ASSERT_TRUE(prevPeriod == 0 ? period % 10 <= 1 : period == next) << n;
        ASSERT_TRUE(prevPeriod == 0 || run == (prevPeriod < 10 ? 9 : 10) || (prevPeriod == 12 && run == 20)) << n;
        ASSERT_TRUE(period == 0 || d.periodDay == 1) << n;
        nines += period == 1;
        fuYears += period == 13;
        run = 1;
        prevPeriod = period;
    }
    EXPECT_EQ(nines + fuYears, 201 + 201);  // 一九 of the winters 1900/01 ... 2100/01, 末伏 of 1900 ... 2100
    EXPECT_EQ(customs, 200 + 200 + 201);    // 腊八, 小年 of lunar 1900 ... 2099, 中元节 of 1900 ... 2100
}

}  // namespace

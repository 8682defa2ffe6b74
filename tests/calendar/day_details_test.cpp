// Day details against published almanac days, and their rules over every day described. Literals
// are GBK, as the functions answer.
#include "calendar/day_details.h"

#include <gtest/gtest.h>

#include <string>

namespace {

DayDetails At(int y, int m, int d) {
    DayDetails out;
    EXPECT_TRUE(ComputeDayDetails(y, m, d, &out)) << y << "-" << m << "-" << d;
    return out;
}
std::string Names(const DayDetails& d) {
    return std::string(StemBranchName(d.yearCycle)) + " " + StemBranchName(d.monthCycle) + " " + StemBranchName(d.dayCycle);
}
template <size_t (*Format)(const DayDetails&, char*, size_t)>
std::string Text(const DayDetails& d, size_t size = kDetailsLineSize) {
    char out[kDetailsLineSize] = "unwritten";
    const size_t n = Format(d, out, size);
    EXPECT_EQ(n, std::string(out).size());
    return out;
}

// Year, month and day names as almanacs print them (1949-10-01 is the 甲子 day of the founding; the
// rest from day pages of a public almanac).
TEST(DayDetails, StemBranchNamesOfAlmanacDays) {
    struct { int y, m, d; const char* names; } rows[] = {
        {1949, 10, 1, "己丑 癸酉 甲子"}, {2021, 12, 26, "辛丑 庚子 戊申"},
        {2022, 12, 21, "壬寅 壬子 戊申"}, {2026, 5, 6, "丙午 癸巳 庚辰"},  {2026, 12, 22, "丙午 庚子 庚午"},
        {2027, 1, 27, "丙午 辛丑 丙午"},  // before 立春 and the new year: still 丙午, 丑 month
        {2041, 3, 4, "辛酉 庚寅 丙申"},   // the day before 惊蛰
        {2050, 7, 20, "庚午 癸未 辛丑"},  {2051, 1, 28, "庚午 己丑 癸丑"}, {2061, 12, 1, "辛巳 己亥 癸丑"},
    };
    for (const auto& r : rows) EXPECT_EQ(Names(At(r.y, r.m, r.d)), r.names) << r.y << "-" << r.m << "-" << r.d;
}

// 三伏 of 2021 as published (夏至 6-21 is itself a 庚 day and counts): 初伏 7-11, 中伏 7-21 for 20
// days, 末伏 8-10 to 8-19; 2022's 初伏 began 7-16. 数九 across a new year: 一九 from 2021-12-21 and
// 2022-12-22 (冬至), 九九 ending 2022-03-11 and 2023-03-12; 一九 of 2024 from 12-21.
TEST(DayDetails, FuAndNineOfPublishedYears) {
    struct { int y, m, d, days; int nine; } runs[] = {
        {2021, 7, 11, 40, 0}, {2022, 7, 16, 1, 0}, {2021, 12, 21, 81, 1}, {2022, 12, 22, 81, 1}, {2024, 12, 21, 9, 1},
    };
    for (const auto& r : runs) {
        DayDetails before;
        const int32_t first = DayNumber(r.y, r.m, r.d);
        const SolarDate b = SolarFromDayNumber(first - 1);
        ASSERT_TRUE(ComputeDayDetails(b.year, b.month, b.day, &before));
        EXPECT_EQ(before.nine + before.fu + before.periodDay, 0) << r.y << "-" << r.m;
        for (int k = 0; k < r.days; ++k) {
            const SolarDate s = SolarFromDayNumber(first + k);
            const DayDetails d = At(s.year, s.month, s.day);
            const int fu = k < 10 ? 1 : k < 30 ? 2 : 3, fuDay = k < 10 ? k + 1 : k < 30 ? k - 9 : k - 29;
            EXPECT_EQ(d.nine, r.nine ? k / 9 + 1 : 0) << s.year << "-" << s.month << "-" << s.day;
            EXPECT_EQ(d.fu, r.nine ? 0 : fu) << s.year << "-" << s.month << "-" << s.day;
            EXPECT_EQ(d.periodDay, r.nine ? k % 9 + 1 : fuDay) << s.year << "-" << s.month << "-" << s.day;
        }
    }
    const DayDetails after = At(2021, 8, 20), spring = At(2022, 3, 12);
    EXPECT_EQ(after.fu + spring.nine, 0);
}

TEST(DayDetails, IsoWeeks) {
    struct { int y, m, d, week; } rows[] = {
        {2026, 12, 22, 52}, {2020, 12, 31, 53}, {2021, 1, 3, 53}, {2021, 1, 4, 1}, {2024, 12, 30, 1},
        {2027, 1, 1, 53},   {2010, 1, 3, 53},   {2008, 12, 29, 1}, {1900, 2, 1, 5},
    };
    for (const auto& r : rows) EXPECT_EQ(At(r.y, r.m, r.d).isoWeek, r.week) << r.y << "-" << r.m << "-" << r.d;
}

// The lines: parts left out when they do not apply or do not fit whole; a stored minute of 60.
TEST(DayDetails, Lines) {
    const DayDetails winter = At(2026, 12, 22);
    EXPECT_EQ(Text<FormatDetailsLine>(winter), "丙午年 庚子月 庚午日 · 第52周 · 冬至 04:50 · 一九第1天");
    EXPECT_EQ(Text<FormatGlanceLine>(winter), "冬至 04:50 · 一九第1天");
    EXPECT_EQ(Text<FormatDetailsRow>(winter), "2026-12-22\t丙午\t马\t庚子\t庚午\t52\t一九第1天\t冬至 04:50\t-\n");
    EXPECT_EQ(Text<FormatDetailsLine>(winter, 44), "丙午年 庚子月 庚午日 · 第52周");  // the term needs 45
    EXPECT_EQ(Text<FormatDetailsLine>(winter, 1), "");
    EXPECT_EQ(Text<FormatDetailsRow>(winter, 50), "");  // a row is whole or nothing
    EXPECT_EQ(Text<FormatGlanceLine>(At(2021, 12, 26)), "");  // 一九第6天 is no first day
    EXPECT_EQ(Text<FormatGlanceLine>(At(1914, 6, 6)), "芒种 22:00");  // stored 21:60
    EXPECT_EQ(Text<FormatGlanceLine>(At(1923, 2, 19)), "雨水 24:00");  // stored 23:60: the day stays
    EXPECT_EQ(Text<FormatDetailsLine>(At(2020, 10, 1)), "庚子年 乙酉月 丁丑日 · 第40周 · 国庆节");  // label: 中秋
    EXPECT_EQ(Text<FormatDetailsRow>(At(2027, 1, 15)), "2027-01-15\t丙午\t马\t辛丑\t甲午\t2\t三九第7天\t-\t腊八\n");
    DayDetails none;
    EXPECT_FALSE(ComputeDayDetails(1900, 1, 30, &none));
    EXPECT_EQ(Text<FormatDetailsLine>(none) + Text<FormatGlanceLine>(none) + Text<FormatDetailsRow>(none), "");
    EXPECT_FALSE(ComputeDayDetails(2101, 1, 1, &none) || ComputeDayDetails(2023, 2, 29, &none));
}

TEST(DayDetails, NamedDaysFromTheirFirstYears) {
    struct { int y, m, d; const char* glance; } rows[] = {
        {1949, 3, 8, ""},    {1950, 3, 8, "妇女节"}, {1978, 3, 12, ""},   {1979, 3, 12, "植树节"}, {1949, 5, 4, ""},
        {1950, 5, 4, "青年节"}, {1950, 7, 1, "建党节"}, {1950, 8, 1, "建军节"}, {1984, 9, 10, ""}, {1985, 9, 10, "教师节"},
        {1944, 10, 1, ""},   {1901, 2, 11, "小年"},  {2006, 8, 8, "中元节"}, {2006, 9, 7, ""},  // 闰七月十五
    };
    for (const auto& r : rows) EXPECT_EQ(Text<FormatGlanceLine>(At(r.y, r.m, r.d)), r.glance) << r.y << "-" << r.m;
}

// Every day described: the day's name advances by one; the month's changes only on a 节 day, by one,
// and on 立春 is the 寅 month whose stem the five-tigers rule gives for the year starting there; the
// year's changes only on 正月初一; every 九 has nine days and 九九 ends 数九; 伏 are 10, 10 or 20 and
// 10 days; the ISO week changes only on Mondays; each customary lunar day once a lunar year.
TEST(DayDetails, WholeRange) {
    const int kTigerStem[5] = {2, 4, 6, 8, 0};  // 甲己 丙寅, 乙庚 戊寅, 丙辛 庚寅, 丁壬 壬寅, 戊癸 甲寅
    DayDetails prev = At(1900, 1, 31);
    int run = 1, runs = 0, customs = 0;
    std::string fuRuns;
    for (SolarDate s = NextDate(SolarDate{1900, 1, 31}); s.year <= 2100; s = NextDate(s)) {
        const DayDetails d = At(s.year, s.month, s.day);
        const std::string at = std::to_string(s.year) + "-" + std::to_string(s.month) + "-" + std::to_string(s.day);
        ASSERT_EQ(d.dayCycle, (prev.dayCycle + 1) % 60) << at;
        SolarTermTime jie, zhong;
        SolarTermDays(s.year, s.month, &jie, &zhong);
        ASSERT_EQ(d.monthCycle, s.day == jie.day ? (prev.monthCycle + 1) % 60 : prev.monthCycle) << at;
        if (s.month == 2 && s.day == jie.day) {
            ASSERT_EQ(d.monthCycle % 10, kTigerStem[(s.year - 4) % 5]) << at;
        }
        ASSERT_EQ(d.yearCycle != prev.yearCycle, d.lunar.month == 1 && d.lunar.day == 1 && !d.lunar.isLeap) << at;
        ASSERT_EQ(d.isoWeek != prev.isoWeek, DayOfWeek(s.year, s.month, s.day) == 1) << at;
        for (int i = 0; i < d.otherCount; ++i) customs += std::string("腊八 小年 中元节").find(d.others[i]) != std::string::npos;
        const int period = d.nine ? d.nine : d.fu ? 10 + d.fu : 0, prevPeriod = prev.nine ? prev.nine : prev.fu ? 10 + prev.fu : 0;
        if (period == prevPeriod && period != 0) {
            ASSERT_EQ(d.periodDay, ++run) << at;
        } else {
            if (prevPeriod >= 1 && prevPeriod <= 9) {
                ASSERT_EQ(run, 9) << at;
            }
            if (prevPeriod > 10) fuRuns += std::to_string(run) + (prevPeriod == 13 ? " " : ",");
            if (period != 0) {
                ASSERT_EQ(d.periodDay, 1) << at;
            }
            ASSERT_TRUE(period == 0 || prevPeriod == 0 || period == prevPeriod + 1) << at;
            runs += period == 1;
            run = 1;
        }
        prev = d;
    }
    EXPECT_EQ(runs, 201);  // 一九 of the winters 1900/01 ... 2100/01
    EXPECT_EQ(customs, 200 + 200 + 201);  // 腊八, 小年 of lunar 1900 ... 2099, 中元节 of 1900 ... 2100
    int tenTwenty[2] = {0, 0};
    for (size_t i = 0; i < fuRuns.size(); i = fuRuns.find(' ', i) + 1) {
        const std::string year = fuRuns.substr(i, fuRuns.find(' ', i) - i);
        ASSERT_TRUE(year == "10,10,10" || year == "10,20,10") << year;
        ++tenTwenty[year == "10,20,10"];
    }
    EXPECT_EQ(tenTwenty[0] + tenTwenty[1], 201);
}

}  // namespace

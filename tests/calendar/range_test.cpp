// Every public function of calendar/ at and beyond the edges of its range: each answers what its
// header says, computed from the argument as given, and nothing overflows (the sanitizer build runs
// this table under UBSan). Literals are GBK, as the functions answer.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

#include "calendar/gregorian.h"
#include "calendar/labels.h"
#include "calendar/lunar.h"
#include "calendar/month_layout.h"

namespace {

std::string Text(int n) { return std::to_string(n); }
std::string Text(bool b) { return b ? "true" : "false"; }
std::string Text(const char* s) { return s ? s : "(null)"; }
std::string Text(const std::string& s) { return s; }
std::string Text(const SolarDate& d) {
    return std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day);
}
std::string Text(const LunarDate& l) {
    if (!l.IsValid()) return "invalid";
    return std::to_string(l.year) + "-" + (l.isLeap ? "leap " : "") + std::to_string(l.month) + "-" +
           std::to_string(l.day);
}

// "year-month daysInMonth firstWeekday" of LayOutMonth.
std::string Layout(int year, int month) {
    MonthLayout m{};
    LayOutMonth(year, month, &m);
    return std::to_string(m.year) + "-" + std::to_string(m.month) + " " + std::to_string(m.daysInMonth) + " " +
           std::to_string(m.firstWeekday);
}
// "row column" of a day in LayOutMonth's grid.
std::string Cell(int year, int month, int day) {
    MonthLayout m{};
    LayOutMonth(year, month, &m);
    return std::to_string(DayRow(m, day)) + " " + std::to_string(DayColumn(m, day));
}
// "first second": the days of a month's two solar terms.
std::string TermDays(int year, int month) {
    SolarTermTime a{9, 9, 9}, b{9, 9, 9};
    SolarTermDays(year, month, &a, &b);
    return std::to_string(a.day) + " " + std::to_string(b.day);
}
// A lunar record as a caller might build one by hand.
LunarDate Made(int year, int month, int day, int monthDays, int dayOffset) {
    return LunarDate{year, month, day, 0, 0, monthDays, dayOffset};
}
// "status record" after one NextDay.
std::string Step(LunarDate l) {
    const int status = l.NextDay();
    return std::to_string(status) + " " + Text(l);
}
std::string Title(const LunarDate& first, const LunarDate& last) {
    char out[kYearTitleSize];
    ComposeYearTitle(first, last, out, sizeof out);
    return out;
}

struct RangeCase {
    const char* call;           // the call as written, for the failure message
    std::string (*answer)();    // makes the call and renders its answer as text
    const char* want;           // the answer the header promises
};
#define CASE(call, want) {#call, [] { return Text(call); }, want}

TEST(CalendarRanges, EveryFunctionAnswersAsDocumentedAtAndBeyondItsRange) {
    const RangeCase cases[] = {
        // call                                              want
        CASE(IsLeapYear(32764),                              "1"),
        CASE(IsLeapYear(0),                                  "0"),
        CASE(IsLeapYear(-4),                                 "0"),           // was 1
        CASE(IsLeapYear(65536 + 2000),                       "0"),           // was 1: year 2000's bits
        CASE(IsLeapYear(INT_MIN),                            "0"),
        CASE(DaysInMonth(32767, 2),                          "28"),
        CASE(DaysInMonth(2017, 65537),                       "0"),           // was 31: month 1's bits
        CASE(DaysInMonth(32768, 1),                          "0"),
        CASE(DaysInMonth(0, 1),                              "0"),
        CASE(DaysInMonth(2017, INT_MIN),                     "0"),
        CASE(IsValidDate(2016, 2, 29),                       "true"),
        CASE(IsValidDate(2017, 2, 29),                       "false"),
        CASE(IsValidDate(2017, 1, INT_MAX),                  "false"),
        CASE(DayOfWeek(32767, 12, 30),                       "6"),
        CASE(DayOfWeek(-5, 1, 1),                            "0"),           // was 65530
        CASE(DayOfWeek(2017, 1, 32),                         "0"),
        CASE(DayOfWeek(2017, 1, INT_MAX),                    "0"),           // overflowed
        CASE(DayOfWeek(INT_MAX, 12, 31),                     "0"),
        CASE(DayNumber(1, 1, 1),                             "1"),
        CASE(DayNumber(32767, 12, 31),                       "11967900"),    // kLastDayNumber
        CASE(DayNumber(10000000, 1, 1),                      "0"),           // overflowed
        CASE(DayNumber(INT_MAX, 12, 31),                     "0"),           // overflowed
        CASE(DayNumber(INT_MIN, 1, 1),                       "0"),           // overflowed
        CASE(DayNumber(2017, 2, 30),                         "0"),           // was 736390, 2017-03-02's number
        CASE(DaysBetween(32767, 12, 31, 1, 1, 1),            "11967899"),
        CASE(DaysBetween(10000000, 1, 1, 1900, 1, 31),       "0"),           // overflowed
        CASE(SolarFromDayNumber(1),                          "1-1-1"),
        CASE(SolarFromDayNumber(11967900),                   "32767-12-31"),
        CASE(SolarFromDayNumber(11967901),                   "0-0-0"),       // was 32768-1-1
        CASE(SolarFromDayNumber(0),                          "0-0-0"),       // was 0-12-31
        CASE(SolarFromDayNumber(INT_MAX),                    "0-0-0"),       // overflowed
        CASE(SolarFromDayNumber(INT_MIN),                    "0-0-0"),
        CASE(LunarDate::FromSolar(10000000, 1, 1),           "invalid"),     // overflowed
        CASE(LunarDate::FromSolar(INT_MAX, 12, 31),          "invalid"),
        CASE(LunarDate::FromSolar(65536 + 2017, 1, 28),      "invalid"),
        CASE(LunarDate::FromSolar(2017, 65537, 28),          "invalid"),
        CASE(LunarDate::FromSolar(2017, 1, INT_MIN),         "invalid"),
        CASE(Made(1899, 12, 1, 30, 0).IsValid(),             "false"),
        CASE(Made(INT_MIN, 1, 1, 30, 0).IsValid(),           "false"),       // was true: year not 0
        CASE(Step(Made(2100, 12, 29, 29, 0)),                "-1 invalid"),  // the last day of the table
        CASE(Step(Made(5000, 1, 1, 29, 0)),                  "-1 invalid"),  // was 0: a year beyond
        CASE(Step(Made(2017, 1, 31, 30, 0)),                 "-1 invalid"),  // was 0: day past month
        CASE(Step(Made(2017, INT_MAX, 1, 30, 0)),            "-1 invalid"),
        CASE(Step(Made(2017, 1, 1, 30, INT_MAX)),            "-1 invalid"),  // dayOffset overflowed
        CASE(Made(2017, 1, 1, 30, 0).FestivalName(),         "春节"),
        CASE(Made(2017, INT_MAX, INT_MAX, 30, 0).FestivalName(), "(null)"),  // month * 100 overflowed
        CASE(Made(2017, 0, 101, 30, 0).FestivalName(),       "(null)"),      // was 春节: 0 * 100 + 101
        CASE(Title(Made(INT_MIN, 1, 1, 30, 0), Made(0, 0, 0, 0, 0)), ""),    // was 戊辰【猴】年: year - 1864 overflowed
        CASE(Title(Made(2017, 1, 1, 30, 0), Made(65536 + 2017, 1, 1, 30, 0)), "丁酉【鸡】年"),  // was "－癸丑【鸡】年" added
        CASE(Layout(32767, 12),                              "32767-12 31 5"),
        CASE(Layout(-5, 1),                                  "0-0 0 0"),     // was 65531-1 31 65530
        CASE(Layout(10000000, 1),                            "0-0 0 0"),     // overflowed
        CASE(Layout(INT_MAX, 12),                            "0-0 0 0"),     // overflowed
        CASE(Layout(INT_MIN, 1),                             "0-0 0 0"),     // overflowed
        CASE(Layout(2017, 65537),                            "0-0 0 0"),     // was January's layout
        CASE(Cell(2017, 1, 31),                              "4 2"),
        CASE(Cell(2017, 1, 32),                              "-1 -1"),
        CASE(Cell(2017, 1, INT_MAX),                         "-1 -1"),       // overflowed
        CASE(Cell(-5, 1, 31),                                "-1 -1"),       // was 9365 5
        CASE(TermDays(2100, 12),                             "7 22"),
        CASE(TermDays(2101, 1),                              "0 0"),
        CASE(TermDays(67536, 1),                             "0 0"),         // was 6 21: year 2000's
        CASE(TermDays(2017, 65537),                          "0 0"),         // was 5 20: January's
        CASE(TermDays(INT_MIN, 1),                           "0 0"),
        CASE(SolarTermName(12, 2),                           "冬至"),
        CASE(SolarTermName(65537, 1),                        ""),            // was 小寒
        CASE(SolarTermName(1, 65537),                        ""),
        CASE(LunarMonthName(12, 1),                          "闰十二"),
        CASE(LunarMonthName(13, 0),                          ""),            // was 十二
        CASE(LunarMonthName(65537, 0),                       ""),            // was 正
        CASE(LunarMonthName(-1, 1),                          ""),            // was 闰十二
        CASE(LunarDayName(INT_MIN),                          ""),
        CASE(ZodiacName(65536 + 2017),                       "牛"),          // was 鸡, 2017's animal
        CASE(ZodiacName(INT_MIN),                            "鼠"),          // was 猴
        CASE(ZodiacName(INT_MAX),                            "兔"),          // was 羊
        CASE(StemBranchName(INT_MIN),                        "丙辰"),
        CASE(SolarFestivalName(INT_MAX, 1),                  "(null)"),
        CASE(WeekdayName(8),                                 ""),
        CASE(LunarMonthDays(INT_MIN, 1),                     "0"),
        CASE(LunarYearDays(INT_MAX),                         "0"),
    };
    for (const RangeCase& c : cases) EXPECT_EQ(c.answer(), c.want) << c.call;
}

}  // namespace

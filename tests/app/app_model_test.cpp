// The main window's decisions: navigation limits, the box rule and the timer's schedule.
#include <gtest/gtest.h>

#include <climits>

#include "app/app_model.h"

namespace {

TEST(Navigation, StaysWithinFebruary1900AndDecember2100) {
    struct { YearMonth from; int delta; YearMonth to; } rows[] = {
        {{2017, 1}, -1, {2016, 12}}, {{2016, 12}, 1, {2017, 1}},   {{2017, 5}, 0, {2017, 5}},
        {{1900, 2}, -1, {1900, 2}},  {{1900, 3}, -1, {1900, 2}},   {{2100, 12}, 1, {2100, 12}},
        {{2100, 11}, 1, {2100, 12}}, {{1900, 1}, 0, {1900, 2}},    {{2101, 1}, 0, {2100, 12}},
        {{2049, 12}, 1, {2050, 1}},  {{2026, 12}, 1200, {2100, 12}}, {{2026, 12}, -INT_MAX, {1900, 2}},
        {{2026, 12}, INT_MAX, {2100, 12}},
    };
    for (const auto& r : rows) {
        const YearMonth got = StepMonth(r.from, r.delta);
        EXPECT_TRUE(got == r.to) << r.from.year << "-" << r.from.month << " " << r.delta << " gave " << got.year
                                 << "-" << got.month;
    }
    int monthIndex = 0;
    EXPECT_TRUE(MonthOfBoxes(0, &monthIndex) == (YearMonth{1900, 2}));  // January 1900 cannot be shown
    EXPECT_EQ(monthIndex, 1);
    monthIndex = 0;
    EXPECT_TRUE(MonthOfBoxes(1, &monthIndex) == (YearMonth{1901, 1}));
    EXPECT_EQ(monthIndex, 0);
    monthIndex = 11;
    EXPECT_TRUE(MonthOfBoxes(200, &monthIndex) == (YearMonth{2100, 12}));
}

TEST(YearBox, ATypedYearCountsOnlyWithinTheShownRange) {
    struct { const char* text; int year; } rows[] = {
        {"2030", 2030}, {" 2030年 ", 2030}, {"1900", 1900}, {"2100年", 2100}, {"1899", 0}, {"2101", 0},
        {"", 0},        {"年", 0},          {"20x0", 0},    {"2030年x", 0},   {"02030", 2030}, {"999999999999", 0},
        {"-2030", 0},   {"2030 年", 0},
    };
    for (const auto& r : rows) EXPECT_EQ(TypedYear(r.text), r.year) << r.text;
    EXPECT_EQ(TypedYear(nullptr), 0);
}

// The calendar state through the steps the program takes: buttons and keys, "返回", a typed year,
// the boxes and a new date, each from the state the row before left.
TEST(CalendarStateSteps, ShownMonthAndTodayThroughTheProgramsSteps) {
    enum Step { Month, Today, Typed, Boxes };
    struct Row {
        Step step;
        int delta;          // Month: months; Boxes: the month picked, as year * 100 + month
        LocalDate now;      // Today
        const char* typed;  // Typed
        YearMonth shown;
        bool todayShown;
        int todayDay;       // TodayDayShown
        bool todayInRange;
    } rows[] = {
        {Today, 0, {2026, 12, 10}, nullptr, {2026, 12}, true, 10, true},
        {Month, 1, {}, nullptr, {2027, 1}, false, 0, true},
        {Month, -13, {}, nullptr, {2025, 12}, false, 0, true},
        {Typed, 0, {}, "2100年", {2100, 12}, false, 0, true},
        {Month, 1, {}, nullptr, {2100, 12}, false, 0, true},       // the last month stays
        {Typed, 0, {}, "2101", {2100, 12}, false, 0, true},        // refused: unchanged
        {Typed, 0, {}, "abc", {2100, 12}, false, 0, true},
        {Boxes, 190001, {}, nullptr, {1900, 2}, false, 0, true},   // January 1900 held to February
        {Month, -1, {}, nullptr, {1900, 2}, false, 0, true},
        {Today, 0, {2026, 12, 11}, nullptr, {2026, 12}, true, 11, true},  // midnight passed
        {Today, 0, {2101, 3, 4}, nullptr, {2100, 12}, false, 0, false},   // a clock past the range
        {Today, 0, {1899, 12, 31}, nullptr, {1900, 2}, false, 0, false},
        {Today, 0, {1900, 2, 1}, nullptr, {1900, 2}, true, 1, true},
    };
    CalendarState s;
    int line = 0;
    for (const Row& r : rows) {
        ++line;
        bool accepted = true;
        switch (r.step) {
            case Month: s = Stepped(s, r.delta); break;
            case Today:
                EXPECT_TRUE(DateChanged(s, r.now)) << line;
                s = AtToday(s, r.now);
                EXPECT_FALSE(DateChanged(s, r.now)) << line;
                break;
            case Typed: s = WithTypedYear(s, r.typed, &accepted); break;
            case Boxes: s = Showing(s, YearMonth{r.delta / 100, r.delta % 100}); break;
        }
        EXPECT_EQ(accepted, r.step != Typed || TypedYear(r.typed) != 0) << line;
        EXPECT_TRUE(s.shown == r.shown) << line << ": " << s.shown.year << "-" << s.shown.month;
        EXPECT_EQ(s.TodayShown(), r.todayShown) << line;
        EXPECT_EQ(s.TodayDayShown(), r.todayDay) << line;
        EXPECT_EQ(s.TodayInRange() != nullptr, r.todayInRange) << line;
    }
}

TEST(Timer, TodayNotesOnTheSecondTickThenTheHeadlineSchedule) {
    int notes = 0, fetchesWithout = 0, fetchesWith = 0;
    for (int counter = -2; counter < 7200; ++counter) {
        notes += WorkOfTick(counter, false).showTodayNotes ? 1 : 0;
        fetchesWithout += WorkOfTick(counter, false).fetchHeadline ? 1 : 0;
        fetchesWith += WorkOfTick(counter, true).fetchHeadline ? 1 : 0;
    }
    EXPECT_EQ(notes, 1);
    EXPECT_TRUE(WorkOfTick(-1, false).showTodayNotes);
    EXPECT_TRUE(WorkOfTick(0, false).fetchHeadline);  // the third tick
    EXPECT_FALSE(WorkOfTick(-2, false).fetchHeadline);
    EXPECT_EQ(fetchesWithout, 120);  // every 60 ticks without a headline
    EXPECT_EQ(fetchesWith, 2);       // every 3600 ticks with one: ticks 0 and 3600
}

}  // namespace

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

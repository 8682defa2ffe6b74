// The main window's decisions: navigation limits, the box rule, the timer's schedule, and the
// reachable-position rule.
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

TEST(Placement, AStoredPositionMustKeepAPieceOfTheStripOnAMonitor) {
    const std::vector<PixelRect> one{{0, 0, 1024, 768}};
    const std::vector<PixelRect> two{{0, 0, 1024, 768}, {1024, 0, 2944, 1080}};
    const Origin fallback{500, 300};
    struct { Origin stored; const std::vector<PixelRect>* monitors; Origin want; const char* why; } rows[] = {
        {{100, 100}, &one, {100, 100}, "on screen"},
        {{-300, 10}, &one, {-300, 10}, "63 px of the strip on screen"},
        {{-323, 10}, &one, {-323, 10}, "40 px: just enough"},
        {{-324, 10}, &one, {500, 300}, "39 px: too little"},
        {{1000, 10}, &one, {500, 300}, "24 px at the right edge"},
        {{984, 10}, &one, {984, 10}, "40 px at the right edge"},
        {{10, 748}, &one, {10, 748}, "20 px tall at the bottom"},
        {{10, 749}, &one, {500, 300}, "19 px tall at the bottom"},
        {{10, -5}, &one, {10, -5}, "the strip's lower 20 px on screen"},
        {{2000, 500}, &one, {500, 300}, "a monitor that is gone"},
        {{2000, 500}, &two, {2000, 500}, "on the second monitor"},
        {{INT_MAX - 10, 0}, &two, {500, 300}, "damaged value"},
        {{INT_MIN, INT_MIN}, &two, {500, 300}, "damaged value"},
    };
    for (const auto& r : rows) {
        const Origin got = ReachableOrigin(true, r.stored, fallback, 363, 25, *r.monitors, 40, 20);
        EXPECT_EQ(got.x, r.want.x) << r.why;
        EXPECT_EQ(got.y, r.want.y) << r.why;
    }
    // The memo pad: a 10-pixel piece of its title strip suffices.
    EXPECT_EQ(ReachableOrigin(true, Origin{200, 758}, fallback, 185, 16, one, 40, 10).y, 758);
    EXPECT_EQ(ReachableOrigin(true, Origin{200, 759}, fallback, 185, 16, one, 40, 10).y, 300);
    EXPECT_EQ(ReachableOrigin(false, Origin{100, 100}, fallback, 363, 25, one, 40, 20).x, 500);
    EXPECT_EQ(ReachableOrigin(true, Origin{100, 100}, fallback, 363, 25, {}, 40, 20).x, 500);  // no monitor known
}

}  // namespace

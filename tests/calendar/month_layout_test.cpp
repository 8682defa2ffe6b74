// The month layout: cell positions, label rules and the year title.
#include "calendar/month_layout.h"

#include <gtest/gtest.h>

#include <string>

#include "calendar/gregorian.h"
#include "calendar/labels.h"

namespace {

MonthLayout Lay(int year, int month) {
    MonthLayout m{};
    LayOutMonth(year, month, &m);
    return m;
}

std::string Title(const MonthLayout& m) {
    char title[kYearTitleSize];
    ComposeYearTitle(m.cells[1].lunar, m.cells[m.daysInMonth].lunar, title, sizeof title);
    return title;
}

// January 2017, as the grid shows it (day: label).
TEST(LayOutMonth, January2017) {
    const MonthLayout m = Lay(2017, 1);
    ASSERT_EQ(m.daysInMonth, 31);
    EXPECT_EQ(m.firstWeekday, 0);  // 2017-01-01 is a Sunday
    struct { int day; const char* label; const char* festival; int term; int monthName; } rows[] = {
        {1, "元旦", "元旦", 0, 0},      // Gregorian festival on lunar 12-4
        {2, "初五", nullptr, 0, 0},
        {5, "小寒", nullptr, 1, 0},
        {20, "大寒", nullptr, 2, 0},
        {27, "除夕", "除夕", 0, 0},     // lunar 2016-12-30
        {28, "春节", "春节", 0, 0},     // lunar day 1 that is a festival: not the month name, not bold
        {29, "初二", "初二", 0, 0},
        {31, "初四", nullptr, 0, 0},
    };
    for (const auto& r : rows) {
        const DayCell& c = m.cells[r.day];
        EXPECT_STREQ(c.label, r.label) << r.day;
        if (r.festival) {
            ASSERT_NE(c.festival, nullptr) << r.day;
            EXPECT_STREQ(c.festival, r.festival) << r.day;
        } else {
            EXPECT_EQ(c.festival, nullptr) << r.day;
        }
        EXPECT_EQ(c.solarTerm, r.term) << r.day;
        EXPECT_EQ(c.labelIsMonthName, r.monthName) << r.day;
        EXPECT_EQ(c.weekday, DayOfWeek(2017, 1, r.day)) << r.day;
    }
    EXPECT_EQ(Title(m), "丙申【猴】年－丁酉【鸡】年");
}

TEST(LayOutMonth, MonthNamesOnLunarDayOne) {
    struct { int y, m, d; const char* label; } rows[] = {
        {2017, 2, 26, "二月大"},      // 30-day month
        {2017, 3, 28, "三月小"},
        {2017, 7, 23, "闰六月大"},    // leap month
        {2020, 5, 23, "闰四月小"},
        {2033, 12, 22, "闰十一月小"},  // the longest label
        {2017, 11, 18, "十月大"},
    };
    for (const auto& r : rows) {
        const MonthLayout m = Lay(r.y, r.m);
        EXPECT_STREQ(m.cells[r.d].label, r.label) << r.y << "-" << r.m << "-" << r.d;
        EXPECT_EQ(m.cells[r.d].labelIsMonthName, 1) << r.y << "-" << r.m << "-" << r.d;
    }
}

TEST(LayOutMonth, FestivalOverSolarTermOverMonthName) {
    struct { int y, m, d; const char* label; DayTone tone; const char* why; } rows[] = {
        {2000, 2, 4, "除夕", DayTone::Holiday, "eve and 立春 on one day"},
        {2000, 2, 19, "元宵节", DayTone::Holiday, "元宵节 and 雨水"},
        {2001, 6, 21, "夏至", DayTone::SolarTerm, "夏至 on the first day of the leap 4th month"},
        {2000, 3, 5, "惊蛰", DayTone::SolarTerm, "a Sunday solar term is blue"},
        {2000, 1, 1, "元旦", DayTone::Holiday, "a Saturday festival is red"},
        {2017, 1, 7, "初十", DayTone::Saturday, "plain Saturday"},
        {2017, 1, 8, "十一", DayTone::Holiday, "plain Sunday"},
        {2017, 1, 9, "十二", DayTone::Plain, "plain Monday"},
    };
    for (const auto& r : rows) {
        const MonthLayout m = Lay(r.y, r.m);
        EXPECT_STREQ(m.cells[r.d].label, r.label) << r.why;
        EXPECT_EQ(m.cells[r.d].labelIsMonthName, 0) << r.why;
        EXPECT_EQ(ToneOf(m.cells[r.d]), r.tone) << r.why;
    }
}

// A Gregorian festival labels its day from its first year on; the year before, the day shows what it
// would without it (1912-01-01 is lunar 十一月十三, the day the Republic named its new year;
// 1949-10-01 is lunar 八月初十).
TEST(LayOutMonth, GregorianFestivalsFromTheirFirstYear) {
    struct { int y, m, d; const char* label; } rows[] = {
        {1911, 1, 1, "十二月小"}, {1912, 1, 1, "元旦"},   {1949, 5, 1, "初四"},  {1950, 5, 1, "劳动节"},
        {1920, 6, 1, "十五"},     {1950, 6, 1, "儿童节"}, {1949, 10, 1, "初十"}, {1950, 10, 1, "国庆"},
        {1901, 10, 1, "十九"},  {2049, 10, 1, "国庆"},
    };
    for (const auto& r : rows) EXPECT_STREQ(Lay(r.y, r.m).cells[r.d].label, r.label) << r.y << "-" << r.m;
}

TEST(LayOutMonth, RowsAndColumns) {
    // July 2017: day 1 is a Saturday and the month has 31 days: six rows.
    MonthLayout m = Lay(2017, 7);
    EXPECT_EQ(m.firstWeekday, 6);
    EXPECT_EQ(DayRow(m, 1), 0);
    EXPECT_EQ(DayColumn(m, 1), 6);
    EXPECT_EQ(DayRow(m, 30), 5);
    EXPECT_EQ(DayRow(m, 31), 5);
    EXPECT_EQ(DayColumn(m, 31), 1);
    // February 2015: 28 days from a Sunday: four rows.
    m = Lay(2015, 2);
    EXPECT_EQ(m.firstWeekday, 0);
    EXPECT_EQ(DayRow(m, 28), 3);
    EXPECT_EQ(DayColumn(m, 28), 6);
}

TEST(YearTitle, OnePartOrTwo) {
    EXPECT_EQ(Title(Lay(2017, 6)), "丁酉【鸡】年");
    EXPECT_EQ(Title(Lay(2023, 4)), "癸卯【兔】年");
    EXPECT_EQ(Title(Lay(1900, 2)), "庚子【鼠】年");
    EXPECT_EQ(Title(Lay(2049, 12)), "己巳【蛇】年");
    EXPECT_EQ(Title(Lay(2100, 12)), "庚申【猴】年");
    EXPECT_EQ(Title(Lay(2020, 1)), "己亥【猪】年－庚子【鼠】年");
    char small[5];
    ComposeYearTitle(Lay(2017, 6).cells[1].lunar, Lay(2017, 6).cells[30].lunar, small, sizeof small);
    EXPECT_EQ(std::string(small), "丁酉");  // cut to the buffer, NUL-terminated
    char none[8] = "x";
    ComposeYearTitle(LunarDate{}, LunarDate{}, none, sizeof none);
    EXPECT_STREQ(none, "");
}

// Months that touch three lunar months: day 1 and the last day lie in different lunar months and a
// whole lunar month starts and ends in between. The list for February 1900 ... December 2100 from the
// Hong Kong Observatory's conversion tables.
TEST(LayOutMonth, MonthsThatTouchThreeLunarMonths) {
    std::string found;
    for (int y = 1900; y <= 2100; ++y) {
        for (int mo = (y == 1900 ? 2 : 1); mo <= 12; ++mo) {
            const MonthLayout m = Lay(y, mo);
            int starts = 0;
            for (int d = 2; d <= m.daysInMonth; ++d) starts += m.cells[d].lunar.day == 1 ? 1 : 0;
            if (starts >= 2) found += std::to_string(y) + "-" + std::to_string(mo) + " ";
        }
    }
    EXPECT_EQ(found, "1902-10 1938-1 1957-3 1962-7 1967-12 1981-7 1986-12 1989-8 1997-10 2000-7 2049-5 2057-7 2068-5 "
                     "2071-3 2084-8 2095-7 ");
}

// Every month on offer: every day has a valid lunar date and a non-empty label, and the label rule
// holds (festival, else term, else month name on day 1, else day name).
TEST(LayOutMonth, EveryMonthOnOffer) {
    for (int y = 1900; y <= 2100; ++y) {
        for (int mo = (y == 1900 ? 2 : 1); mo <= 12; ++mo) {
            const MonthLayout m = Lay(y, mo);
            int terms = 0;
            for (int d = 1; d <= m.daysInMonth; ++d) {
                const DayCell& c = m.cells[d];
                ASSERT_TRUE(c.lunar.IsValid()) << y << "-" << mo << "-" << d;
                ASSERT_NE(c.label[0], '\0') << y << "-" << mo << "-" << d;
                terms += c.solarTerm != 0;
                if (!c.festival && !c.solarTerm && c.lunar.day != 1) {
                    ASSERT_STREQ(c.label, LunarDayName(c.lunar.day));
                }
            }
            ASSERT_EQ(terms, 2) << y << "-" << mo;
        }
    }
}

TEST(LayOutMonth, MonthsBeyondTheTableLeaveLabelsEmpty) {
    const MonthLayout m = Lay(1900, 1);  // the table starts on 1900-01-31
    EXPECT_FALSE(m.cells[30].lunar.IsValid());
    EXPECT_STREQ(m.cells[30].label, "");
    EXPECT_STREQ(m.cells[6].label, "小寒");
    EXPECT_STREQ(m.cells[1].label, "");  // 元旦 from 1912
    EXPECT_TRUE(m.cells[31].lunar.IsValid());
    EXPECT_STREQ(m.cells[31].label, "春节");
    const MonthLayout late = Lay(2101, 2);
    EXPECT_FALSE(late.cells[1].lunar.IsValid());
    EXPECT_STREQ(late.cells[2].label, "");
    EXPECT_EQ(Lay(2017, 13).daysInMonth, 0);
}

}  // namespace

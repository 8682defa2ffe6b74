// The grid's decisions: cell geometry and hit testing, the lunar-yearly list of each day, marks,
// their places and edges, colours, labels, the day dialog's lines and popup text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "grid/month_model.h"

namespace {

MonthLayout Month(int year, int month) {
    MonthLayout m;
    LayOutMonth(year, month, &m);
    return m;
}

// Every pixel of the 7 x 6 cell area belongs to the day whose box (cell, the line right of it and
// the line above it) holds it; the header band and empty cells belong to no day.
TEST(GridGeometry, EveryPixelHitsTheDayWhoseCellHoldsIt) {
    for (const auto& ym : {std::pair<int, int>{2017, 1}, {2015, 2}, {2016, 10}, {1900, 2}, {2100, 12}}) {
        const MonthLayout m = Month(ym.first, ym.second);
        std::vector<int> pixels(m.daysInMonth + 1, 0);
        for (int y = -5; y < kGridHeight; ++y) {
            for (int x = -5; x < kGridWidth + 5; ++x) {
                const int day = HitTestDay(m, GridPoint{x, y});
                if (day == 0) continue;
                const GridPoint o = CellOrigin(m, day);
                ASSERT_TRUE(x >= o.x && x < o.x + kColumnPitch && y >= o.y && y < o.y + kRowPitch)
                    << ym.first << "-" << ym.second << " day " << day << " at " << x << "," << y;
                ++pixels[day];
            }
        }
        for (int day = 1; day <= m.daysInMonth; ++day) EXPECT_EQ(pixels[day], kColumnPitch * kRowPitch) << day;
    }
}

TEST(GridGeometry, JanuaryAndFebruaryOfKnownShape) {
    const MonthLayout jan = Month(2017, 1);  // day 1 a Sunday
    struct { int day, x, y; } origins[] = {{1, 0, 20}, {7, 312, 20}, {8, 0, 53}, {28, 312, 119}, {31, 104, 152}};
    for (const auto& o : origins) {
        EXPECT_EQ(CellOrigin(jan, o.day).x, o.x) << o.day;
        EXPECT_EQ(CellOrigin(jan, o.day).y, o.y) << o.day;
    }
    const MonthLayout feb = Month(2015, 2);  // 28 days from a Sunday: four rows
    EXPECT_EQ(HitTestDay(feb, GridPoint{330, 140}), 28);
    EXPECT_EQ(HitTestDay(feb, GridPoint{10, 160}), 0);  // row 4 is empty
    const MonthLayout oct = Month(2016, 10);  // 31 days from a Saturday: six rows
    EXPECT_EQ(HitTestDay(oct, GridPoint{0, 190}), 30);
    EXPECT_EQ(HitTestDay(oct, GridPoint{60, 217}), 31);
    EXPECT_EQ(HitTestDay(oct, GridPoint{60, 219}), 0);  // the strip
    EXPECT_EQ(CellOrigin(oct, 0).x, 0);
    EXPECT_EQ(CellOrigin(oct, 32).y, 0);
}

// At twice the scale every pixel answers what its 96 DPI pixel answers; at 120 and 144 DPI the
// centre of each scaled cell hits its day and the cells tile the scaled grid, 1 or 2 pixel lines.
TEST(GridGeometry, ScaledGridHitsAndClicksAsAt96Dpi) {
    const MonthLayout m = Month(2017, 1);
    for (int y = -4; y < 2 * kGridHeight; ++y) {
        for (int x = -4; x < 2 * kGridWidth + 4; ++x) {
            const GridPoint p{x, y}, half{x >= 0 ? x / 2 : -1, y >= 0 ? y / 2 : -1};
            ASSERT_EQ(HitTestDay(m, p, 192), HitTestDay(m, half)) << x << "," << y;
            const ClickTarget a = ClickTargetAt(m, p, 192), b = ClickTargetAt(m, half);
            ASSERT_TRUE(a.kind == b.kind && a.value == b.value) << x << "," << y;
        }
    }
    for (int dpi : {96, 120, 144, 192}) {
        for (int day = 1; day <= m.daysInMonth; ++day) {
            const int column = (day - 1 + m.firstWeekday) % 7, row = (day - 1 + m.firstWeekday) / 7;
            const CellBox c = CellRect(column, row, dpi);
            EXPECT_EQ(HitTestDay(m, GridPoint{(c.left + c.right) / 2, (c.top + c.bottom) / 2}, dpi), day) << dpi;
            EXPECT_EQ(CellOrigin(m, day, dpi).x, c.left) << dpi;
            const int line = CellRect(column + 1, row + 1, dpi).left - c.right;
            EXPECT_TRUE(line >= 1 && line <= 2 && c.right - c.left >= Scale(kCellWidth, dpi) - 1) << dpi << " " << day;
        }
        EXPECT_EQ(CellRect(6, 5, dpi).bottom, Scale(kGridHeight - kStripHeight - 1, dpi)) << dpi;
    }
}

TEST(GridClicks, HeaderOpensTheWeekdayLineUnderItTheDayBelow) {
    const MonthLayout m = Month(2017, 3);  // day 1 a Wednesday
    struct { int x, y; ClickTarget::Kind kind; int value; } rows[] = {
        {5, 0, ClickTarget::Weekday, 0},   {360, 19, ClickTarget::Weekday, 6},
        {60, 20, ClickTarget::Weekday, 1},  // the line under the header, no day below
        {160, 20, ClickTarget::Day, 1},     // the line under the header, day 1 below
        {160, 21, ClickTarget::Day, 1},     {5, 30, ClickTarget::Nothing, 0},  // empty leading cell
        {300, 200, ClickTarget::Nothing, 0},  // empty trailing cell
        {100, 230, ClickTarget::Nothing, 0},  // the strip
    };
    for (const auto& r : rows) {
        const ClickTarget t = ClickTargetAt(m, GridPoint{r.x, r.y});
        EXPECT_EQ(t.kind, r.kind) << r.x << "," << r.y;
        EXPECT_EQ(t.value, r.value) << r.x << "," << r.y;
    }
}

// Exactly sixteen months from February 1900 to December 2100 touch three lunar months; each of
// their days finds the list of its own lunar month.
TEST(LunarLists, EveryDayUsesTheListOfItsOwnLunarMonth) {
    std::vector<std::string> threeMonthMonths;
    for (int year = 1900; year <= 2100; ++year) {
        for (int month = 1; month <= 12; ++month) {
            if (year == 1900 && month == 1) continue;
            const MonthLayout m = Month(year, month);
            const LunarListKeys keys = LunarListKeysOf(m);
            if (keys.month[kLunarMiddle] != 0) threeMonthMonths.push_back(std::to_string(year * 100 + month));
            for (int day = 1; day <= m.daysInMonth; ++day) {
                ASSERT_EQ(keys.month[LunarListOf(m, day)], m.cells[day].lunar.month) << year << "-" << month << "-" << day;
            }
        }
    }
    const std::vector<std::string> published = {"190210", "193801", "195703", "196207", "196712", "198107",
                                                "198612", "198908", "199710", "200007", "204905",
                                                "205707", "206805", "207103", "208408", "209507"};
    EXPECT_EQ(threeMonthMonths, published);
}

NoteEntry Note(const char* text, uint32_t colour = 0) {
    NoteEntry e;
    e.Assign(text, static_cast<int>(std::string(text).size()), colour);
    return e;
}

// A fixed month with notes: marks, their colours, the text colour and the popup text.
TEST(DayLooks, MarksColoursAndPopupText) {
    const MonthLayout m = Month(2017, 1);  // 1 Sun 元旦; 5 小寒 (Thu); 20 大寒 (Fri); 28 春节 (Sat)
    std::vector<NoteEntry> month(32), solar(32), weekly(8);
    std::vector<NoteEntry> lunar[3] = {std::vector<NoteEntry>(32), std::vector<NoteEntry>(32),
                                       std::vector<NoteEntry>(32)};
    month[3] = Note("dated");
    month[4] = Note("", OwnColorFlag | 0x112233);  // colour-only
    month[10] = Note("own", OwnColorFlag | 0x00AABB);
    solar[5] = Note("solar");
    weekly[2] = Note("tuesdays", OwnColorFlag | 0x445566);
    // 28 January 2017 is lunar 1-1 (the Last slot: day 1 is lunar 12-4), 5 January lunar 12-8.
    lunar[kLunarLast][1] = Note("lunar new year");
    lunar[kLunarFirst][8] = Note("laba");
    MonthNotes notes;
    notes.month = month.data();
    notes.solarYearly = solar.data();
    for (int s = 0; s < 3; ++s) notes.lunar[s] = lunar[s].data();
    notes.weekly = weekly.data();

    struct Row {
        int day;
        bool fill;
        uint32_t fillColor;
        bool dot, solarStar, lunarStar;
        uint32_t text;
        const char* popup;
        const char* whole;  // with the holiday line and what is worth a glance
    } rows[] = {
        {1, false, 0, false, false, false, kHolidayColor, "", "元旦 放假"},  // a Sunday
        {2, false, 0, false, false, false, kPlainTextColor, "", "元旦 放假"},
        {3, true, 0xFACE87, true, false, false, kPlainTextColor, "tuesdays\r\ndated", "tuesdays\r\ndated"},
        {4, true, 0x112233, false, false, false, 0xFFFFFF, "", ""},  // colour-only, dark: white text
        // 小寒 with notes: black; 腊八 the same day
        {5, false, 0, false, true, true, kPlainTextColor, "solar\r\nlaba", "小寒 11:56 · 腊八\r\nsolar\r\nlaba"},
        {7, false, 0, false, false, false, kSaturdayColor, "", ""},
        {8, false, 0, false, false, false, kHolidayColor, "", "三九第1天"},  // a Sunday
        {10, true, 0x00AABB, true, false, false, kPlainTextColor, "tuesdays\r\nown", "tuesdays\r\nown"},
        {17, false, 0, true, false, false, kPlainTextColor, "tuesdays", "四九第1天\r\ntuesdays"},  // a dot does not mark
        {18, false, 0, false, false, false, kPlainTextColor, "", ""},  // 四九第2天: only in the dialog
        {20, false, 0, false, false, false, kSolarTermColor, "", "大寒 05:24 · 小年"},
        {28, false, 0, false, false, true, kPlainTextColor, "lunar new year", "春节 放假\r\nlunar new year"},  // marked: black
        {29, false, 0, false, false, false, kHolidayColor, "", "春节 放假"},
    };
    for (const Row& r : rows) {
        const DayLook look = LookOfDay(m, notes, r.day);
        EXPECT_EQ(look.fill.shown, r.fill) << r.day;
        if (r.fill) {
            EXPECT_EQ(look.fill.color, r.fillColor) << r.day;
        }
        EXPECT_EQ(look.dot.shown, r.dot) << r.day;
        if (r.dot) {
            EXPECT_EQ(look.dot.color, 0x445566u);
        }
        EXPECT_EQ(look.solarStar.shown, r.solarStar) << r.day;
        if (r.solarStar) {
            EXPECT_EQ(look.solarStar.color, 0x0000FFu);
        }
        EXPECT_EQ(look.lunarStar.shown, r.lunarStar) << r.day;
        if (r.lunarStar) {
            EXPECT_EQ(look.lunarStar.color, 0xFF0080u);
        }
        EXPECT_EQ(look.textColor, r.text) << r.day;
        EXPECT_EQ(NoteTextOfDay(m, notes, r.day), r.popup) << r.day;
        EXPECT_EQ(PopupTextOfDay(m, HolidayTable::BuiltIn(), notes, r.day), r.whole) << r.day;
    }
    // A term on a day off: the holiday line first; nothing outside the month.
    EXPECT_EQ(PopupTextOfDay(Month(2026, 4), HolidayTable::BuiltIn(), MonthNotes{}, 5), "清明节 放假\r\n清明 02:40");
    EXPECT_EQ(PopupTextOfDay(m, HolidayTable::BuiltIn(), notes, 32), "");
    for (int day = 1; day <= 31; ++day) EXPECT_FALSE(LookOfDay(m, notes, day).boldLabel) << day;  // 春节 is no month name
    EXPECT_TRUE(LookOfDay(Month(2017, 2), MonthNotes{}, 26).boldLabel);  // 二月大
    const HeaderLook header = LookOfHeader(m, notes, 9);  // today the 9th, a Monday
    for (int w = 0; w < 7; ++w) {
        EXPECT_EQ(header.dot[w].shown, w == 2) << w;
        EXPECT_EQ(header.nameColor[w], w == 1 ? kTodayColor : kHeaderTextColor) << w;
    }
    EXPECT_EQ(LookOfHeader(m, notes, 0).nameColor[1], kHeaderTextColor);  // today not shown
}

// Every mark is at least 7 pixels across, inside its cell, clear of the number, the label and the
// other marks; a star's corners stay in its box; a mark's edge stands out from the mark itself.
TEST(CellParts, MarksAreLegibleAndCoverNothing) {
    const auto overlap = [](const CellBox& a, const CellBox& b) {
        return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    };
    const CellBox marks[] = {kWeeklyDotBox, kSolarStarBox, kLunarStarBox};
    for (int i = 0; i < 3; ++i) {
        const CellBox& b = marks[i];
        EXPECT_GE(b.right - b.left, 7) << i;
        EXPECT_GE(b.bottom - b.top, 7) << i;
        EXPECT_TRUE(b.left >= 0 && b.top >= 0 && b.right <= kCellWidth && b.bottom <= kCellHeight) << i;
        EXPECT_FALSE(overlap(b, kNumberBox)) << i;
        EXPECT_FALSE(overlap(b, kLabelBox)) << i;
        for (int j = i + 1; j < 3; ++j) EXPECT_FALSE(overlap(b, marks[j])) << i << " and " << j;
        GridPoint c[10];
        StarCorners(b, 100, 200, c);
        for (const GridPoint& p : c) {
            EXPECT_TRUE(p.x >= 100 + b.left && p.x < 100 + b.right && p.y >= 200 + b.top && p.y < 200 + b.bottom)
                << i << ": " << p.x << "," << p.y;
        }
        EXPECT_EQ(c[0].y, 200 + b.top);  // point up
    }
    EXPECT_LE(kHeaderDotBox.right, 10);
    EXPECT_GE(kHeaderDotBox.bottom - kHeaderDotBox.top, 7);
    const auto luma = [](uint32_t c) { return (299 * (c & 0xFF) + 587 * ((c >> 8) & 0xFF) + 114 * (c >> 16)) / 1000; };
    for (uint32_t color : {0xFFFFFFu, 0x000000u, 0x00A5FFu /* orange */, 0x0000FFu, 0xFF0080u, 0xFACE87u, 0x00FFFFu,
                           0x808080u, 0x7F7F7Fu}) {
        const uint32_t edge = MarkEdgeColor(color);
        EXPECT_GE(std::abs(static_cast<int>(luma(edge)) - static_cast<int>(luma(color))), 127) << std::hex << color;
    }
    // A 休 or 班 box that would hardly show on its cell's fill (COLORREF values, 0x00BBGGRR).
    struct { uint32_t box, fill; bool close; } pairs[] = {  // red 113 apart is close, 114 is not
        {kDayOffColor, 0x0000FF, true}, {kDayOffColor, 0x2222B2, true}, {kDayOffColor, 0x4763FF, true},
        {kDayOffColor, 0x28286B, true}, {kDayOffColor, 0x28286A, false}, {kDayOffColor, kCellBackColor, false},
        {kDayOffColor, 0xFACE87, false}, {kDayOffColor, 0x00A5FF, false}, {kDayOffColor, 0x00A000, false},
        {kWorkdayColor, 0x404040, true}, {kWorkdayColor, 0x000000, false}};
    for (const auto& p : pairs) {
        EXPECT_EQ(CloseColors(p.box, p.fill), p.close) << std::hex << p.box << " " << p.fill;
        EXPECT_EQ(CloseColors(p.fill, p.box), p.close) << std::hex << p.fill << " " << p.box;
        EXPECT_TRUE(CloseColors(p.fill, p.fill));
    }
}

// A cell names a lunar month without its length; the day dialog's date line names it in full.
TEST(DayLines, CellLabelAndDateLineNameTheLunarMonth) {
    struct { int y, m, d; const char* label; const char* date; const char* lunarLine; } rows[] = {
        {2017, 1, 5, "小寒", "2017年1月5日星期四 农历十二月大 初八", "农历每年十二月初八"},
        {2017, 1, 28, "春节", "2017年1月28日星期六 农历正月小 初一", "农历每年正月初一"},
        {2017, 2, 26, "二月", "2017年2月26日星期日 农历二月大 初一", "农历每年二月初一"},
        {2033, 12, 22, "闰十一月", "2033年12月22日星期四 农历闰十一月小 初一", "农历每年十一月初一"},
        {2033, 12, 23, "初二", "2033年12月23日星期五 农历闰十一月小 初二", "农历每年十一月初二"},
        {1900, 1, 5, "", "1900年1月5日星期五", ""},  // before the lunar table
    };
    // The details line under the date line: all of it on a term day, none before the lunar table.
    EXPECT_EQ(LinesOfDay(Month(2026, 12), 22).details, "丙午年 庚子月 庚午日 · 第52周 · 冬至 04:50 · 一九第1天");
    EXPECT_EQ(LinesOfDay(Month(2017, 1), 18).details, "丙申年 辛丑月 乙巳日 · 第3周 · 四九第2天");
    EXPECT_EQ(LinesOfDay(Month(1900, 1), 5).details, "");
    for (const auto& r : rows) {
        const MonthLayout m = Month(r.y, r.m);
        EXPECT_EQ(CellLabel(m.cells[r.d]), r.label) << r.date;
        const DayLines lines = LinesOfDay(m, r.d);
        EXPECT_EQ(lines.date, r.date);
        if (*r.lunarLine != '\0') {
            EXPECT_EQ(lines.lunarYearly, r.lunarLine) << r.date;
        }
    }
    EXPECT_EQ(LinesOfDay(Month(2017, 1), 32).date, "");
}

// October 2026 from the built-in notice: 休 on the National Day span 1 ... 7, 班 on Saturday the
// 10th; nothing on any other day, nor on a day of a year without a notice.
TEST(HolidayOfDay, OctoberTwentyTwentySix) {
    const MonthLayout m = Month(2026, 10);
    for (int day = 1; day <= 31; ++day) {
        const HolidayLook look = HolidayOfDay(m, HolidayTable::BuiltIn(), day);
        const HolidayMark want = day <= 7 ? HolidayMark::Off : day == 10 ? HolidayMark::Work : HolidayMark::None;
        EXPECT_EQ(look.mark, want) << day;
        EXPECT_EQ(look.popupLine, day <= 7 ? "国庆节 放假" : day == 10 ? "国庆节 调休上班" : "") << day;
        EXPECT_STREQ(look.glyph, day <= 7 ? "休" : day == 10 ? "班" : "") << day;
    }
    EXPECT_EQ(HolidayOfDay(Month(2099, 10), HolidayTable::BuiltIn(), 1).mark, HolidayMark::None);
}

// A statutory festival of a year from today's on without an arrangement says so in its popup; other
// days, announced years, past years, years before 2007 and an unknown today say nothing.
TEST(HolidayOfDay, FestivalsOfAYearWhoseArrangementIsAwaited) {
    struct { int y, m, d, today; const char* line; } rows[] = {
        {2027, 1, 1, 2026, "放假安排未公布"},  {2027, 2, 5, 2026, "放假安排未公布"},  // 元旦, 除夕
        {2027, 2, 6, 2027, "放假安排未公布"},  {2027, 4, 5, 2026, "放假安排未公布"},  // 春节, 清明
        {2027, 5, 1, 2026, "放假安排未公布"},  {2027, 6, 9, 2026, "放假安排未公布"},  // 劳动节, 端午
        {2027, 9, 15, 2026, "放假安排未公布"}, {2027, 10, 1, 2026, "放假安排未公布"}, // 中秋, 国庆
        {2027, 2, 7, 2026, ""},                {2027, 2, 20, 2026, ""},                // 初二, 元宵节
        {2027, 6, 1, 2026, ""},                {2027, 2, 6, 0, ""},                    // 儿童节, no today
        {2027, 2, 6, 2028, ""},                {2026, 2, 17, 2026, "春节 放假"},       // past, announced
        {2006, 1, 1, 2005, ""},                {2100, 10, 1, 2026, "放假安排未公布"},
    };
    for (const auto& r : rows) {
        const HolidayLook look = HolidayOfDay(Month(r.y, r.m), HolidayTable::BuiltIn(), r.d, r.today);
        EXPECT_EQ(look.popupLine, r.line) << r.y << "-" << r.m << "-" << r.d << " today " << r.today;
    }
}

}  // namespace

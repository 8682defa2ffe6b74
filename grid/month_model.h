// What the month grid decides, apart from any window: where a day's cell lies, which day or
// weekday a point falls on, which lunar-yearly list a day's note lives in, what marks and colours
// a day shows and what its popup says. Portable; the grid window paints and routes what this says.
#pragma once

#include <cstdint>
#include <string>

#include "calendar/holidays.h"
#include "calendar/month_layout.h"
#include "notes/day_notes.h"
#include "notes/note_codec.h"
#include "platform/dpi.h"

// The grid's pixel layout (client pixels of a 363 x 236 grid): a 20-pixel weekday header, then
// six rows of 51 x 32 cells on a 52 x 33 pitch from y 21, and the bottom strip from y 219.
constexpr int kGridWidth = 363;
constexpr int kGridHeight = 236;
constexpr int kHeaderHeight = 20;
constexpr int kColumnPitch = 52;
constexpr int kRowPitch = 33;
constexpr int kCellWidth = 51;
constexpr int kCellHeight = 32;
constexpr int kStripHeight = 17;

// Colours (0x00BBGGRR).
constexpr uint32_t kHeaderBackColor = 0x8B3D48;  // RGB(72, 61, 139)
constexpr uint32_t kHeaderTextColor = 0x78FFFF;  // RGB(255, 255, 120)
constexpr uint32_t kCellBackColor = 0xE6F5F5;    // RGB(245, 245, 230)
constexpr uint32_t kPlainTextColor = 0x000000;
constexpr uint32_t kTodayColor = 0xFFFF00;       // RGB(0, 255, 255)
constexpr uint32_t kSolarTermColor = 0xFF0000;   // RGB(0, 0, 255)
constexpr uint32_t kSaturdayColor = 0x008000;    // RGB(0, 128, 0)
constexpr uint32_t kHolidayColor = 0x0000FF;     // RGB(255, 0, 0)
constexpr uint32_t kStripColor = 0x00D7FF;       // RGB(255, 215, 0)

struct GridPoint {
    int x;
    int y;
};

// At another display scale every 96 DPI position x of the grid lies at Scale(x, dpi), and a box
// inside a cell at the cell's corner plus its scaled offsets: the grid keeps its proportions, its
// lines a pixel or two wide.

// The reference point of a day's cell, one pixel above its top-left corner: (52 w, 20 + 33 row).
// (0, 0) for a day outside 1 ... daysInMonth.
GridPoint CellOrigin(const MonthLayout& m, int day, int dpi = kBaseDpi);
// The day whose cell (with the line right of it and the line under the row above) holds p;
// 0 for the header band, empty cells, anything left of, right of or below the rows.
int HitTestDay(const MonthLayout& m, GridPoint p, int dpi = kBaseDpi);

// What a left-button release at a point opens.
struct ClickTarget {
    enum Kind { Nothing, Day, Weekday } kind;
    int value;  // the day (1 ... 31) or the weekday column (0 = Sunday ... 6)
};
ClickTarget ClickTargetAt(const MonthLayout& m, GridPoint p, int dpi = kBaseDpi);

// A mark is drawn for a present note, a colour-only note included.
struct Mark {
    bool shown = false;
    uint32_t color = 0;
};

// Everything a day cell shows beyond its number and label text.
struct DayLook {
    Mark fill;         // dated note: the cell's fill (else kCellBackColor)
    Mark dot;          // weekly note: a dot left of the number (kWeeklyDotBox)
    Mark solarStar;    // Gregorian-yearly note: a star right of the number (kSolarStarBox)
    Mark lunarStar;    // lunar-yearly note: a star at the top right (kLunarStarBox)
    uint32_t textColor;  // of the number and label: black on a marked day, white on a dark fill
    bool boldLabel;    // the label names a lunar month
};
DayLook LookOfDay(const MonthLayout& m, const MonthNotes& notes, int day);

// The weekday header: a weekly note's dot, and the name in the today colour for today's weekday
// while today's month is shown.
struct HeaderLook {
    Mark dot[7];
    uint32_t nameColor[7];
};
// todayDay is 0 unless today lies in the shown month.
HeaderLook LookOfHeader(const MonthLayout& m, const MonthNotes& notes, int todayDay);

// The first year the State Council's holiday notices (and so the data) cover; none is expected before.
constexpr int kFirstNoticeYear = 2007;
// Whether year's arrangement is awaited: a year from currentYear (0: not known) and kFirstNoticeYear
// on that the table does not announce.
bool ArrangementAwaited(const HolidayTable& table, int year, int currentYear);
// Whether a day of the month is a festival the law gives days off for: 元旦, 除夕, 春节, 清明,
// 劳动节, 端午, 中秋, 国庆.
bool StatutoryFestival(const MonthLayout& m, int day);

// A statutory day off (休) or adjusted workday (班) of a day of the shown month, from the holiday
// table: the mark's glyph and colour (its box is kHolidayBox), and the popup's first line
// ("国庆节 放假", "国庆节 调休上班"); for a statutory festival of a year whose arrangement is awaited
// (currentYear the year of today) no mark and the line "放假安排未公布". mark None (and "" texts)
// for any other day.
struct HolidayLook {
    HolidayMark mark = HolidayMark::None;
    const char* glyph = "";       // "休" or "班"
    uint32_t color = 0;           // the mark's box; its glyph is white
    std::string popupLine;
};
constexpr uint32_t kDayOffColor = 0x2828DC;   // RGB(220, 40, 40)
constexpr uint32_t kWorkdayColor = 0x505050;  // RGB(80, 80, 80)
HolidayLook HolidayOfDay(const MonthLayout& m, const HolidayTable& table, int day, int currentYear = 0);

// Where the parts of a day cell lie, in pixels from the cell's top-left pixel (right and bottom
// exclusive; a cell is kCellWidth x kCellHeight). The marks keep off the number and the label, each
// at least 7 pixels across.
struct CellBox {
    int left, top, right, bottom;
};
constexpr CellBox kNumberBox{10, 2, 29, 17};   // the day number, drawn from its top-left corner
constexpr CellBox kLabelBox{1, 17, 51, 32};    // the label, one line
constexpr CellBox kWeeklyDotBox{1, 5, 9, 13};
constexpr CellBox kSolarStarBox{29, 1, 40, 12};
constexpr CellBox kLunarStarBox{40, 1, 51, 12};
// The 休/班 box: the right end of the label row, the label keeping to the left of it.
constexpr CellBox kHolidayBox{38, 18, 51, 31};
// The weekday header's dot, from the left of its column; the name starts at x 10.
constexpr CellBox kHeaderDotBox{1, 6, 9, 14};

// A cell-relative box at dpi.
constexpr CellBox ScaleBox(const CellBox& b, int dpi) {
    return CellBox{Scale(b.left, dpi), Scale(b.top, dpi), Scale(b.right, dpi), Scale(b.bottom, dpi)};
}
// The pixels of the cell in column 0 ... 6, row 0 ... 5 at dpi (grid client pixels).
CellBox CellRect(int column, int row, int dpi);

// The ten corners of a five-pointed star, point up, filling box (cell-relative or not: the corners
// are offset by (x, y)).
void StarCorners(const CellBox& box, int x, int y, GridPoint corners[10]);
// The edge a mark is drawn with, so that it shows on any fill: black round a light mark, white
// round a dark one.
uint32_t MarkEdgeColor(uint32_t color);
// Whether a box of one colour would hardly show on a fill of the other (a 休 box on a red note's
// cell): their distance, weighting red, green and blue 2, 4 and 3 as the eye tells them apart, is
// under 160. Such a box gets an edge of MarkEdgeColor, a pixel wide at 96 DPI.
bool CloseColors(uint32_t a, uint32_t b);

// What a cell shows as its label: the layout's label, but a month name without the 大/小 of its
// length ("十一月", "闰四月"), which the day-note dialog's date line names in full.
std::string CellLabel(const DayCell& cell);


// All notes of a day joined by CR LF in the order weekly, dated, Gregorian-yearly, lunar-yearly;
// empty texts are left out. "" when the day has no text.
std::string NoteTextOfDay(const MonthLayout& m, const MonthNotes& notes, int day);

// What is worth a glance on a day of the shown month (FormatGlanceLine: "冬至 04:50 · 一九第1天",
// "腊八"); "" on most days and outside the month.
std::string GlanceOfDay(const MonthLayout& m, int day);
// The popup's text of a day: its holiday line (HolidayOfDay), its glance line, then its notes
// (NoteTextOfDay), the parts present joined by CR LF; "" when the day has none of them.
// currentYear as HolidayOfDay's.
std::string PopupTextOfDay(const MonthLayout& m, const HolidayTable& table, const MonthNotes& notes, int day,
                           int currentYear = 0);

// One Gregorian month laid out as the grid shows it: a cell per day with its weekday, lunar date,
// solar term, festival and the label under the day number; and the lunar year title.
#pragma once

#include <cstddef>
#include <cstdint>

#include "calendar/lunar.h"

struct DayCell {
    uint16_t weekday;          // 0 = Sunday ... 6 = Saturday
    LunarDate lunar;           // invalid (year 0) for a day outside the lunar table
    uint16_t solarTerm;        // 0 = none, 1 = the month's first term, 2 = its second
    char label[18];            // GBK, NUL-terminated
    const char* festival;      // lunar festival, else Gregorian festival of that year, else null
    uint8_t labelIsMonthName;  // 1 when label names the lunar month (drawn bold)
};

// The colour class of a day's number and label before notes are considered: festival over solar
// term over Saturday over Sunday.
enum class DayTone { Plain, Holiday, SolarTerm, Saturday };
DayTone ToneOf(const DayCell& cell);

struct MonthLayout {
    uint16_t year;          // 1 ... 32767, or 0 when LayOutMonth was given no month
    uint16_t month;         // 1 ... 12, or 0 likewise
    uint16_t daysInMonth;   // 28 ... 31, or 0 likewise
    uint16_t firstWeekday;  // weekday of day 1 = column of day 1 in row 0 (0 without a month)
    DayCell cells[32];      // index 1 ... daysInMonth; index 0 carries no day
};

// Lays out (year, month): weekdays, lunar dates (converted once, then stepped), festivals (a
// Gregorian one from its first year on), solar terms and labels. A label is the festival, else the solar term, else "%s月%s" with the lunar month
// name and "大"/"小" on lunar day 1 (labelIsMonthName = 1), else the lunar day's name. Days outside the
// lunar table have an invalid lunar date and, unless a Gregorian festival or solar term names them,
// an empty label. A year outside 1 ... 32767 or a month outside 1 ... 12 is no month: year, month,
// daysInMonth and firstWeekday are 0 and no cell is written.
void LayOutMonth(int year, int month, MonthLayout* out);

// Row (0 ... 5) and column (0 ... 6) of day 1 ... daysInMonth in the grid; -1 for any other day.
inline int DayRow(const MonthLayout& m, int day) {
    return day >= 1 && day <= m.daysInMonth ? (m.firstWeekday + day - 1) / 7 : -1;
}
inline int DayColumn(const MonthLayout& m, int day) {
    return day >= 1 && day <= m.daysInMonth ? (m.firstWeekday + day - 1) % 7 : -1;
}

// "%s【%s】年" for the lunar year of the first day, followed by "－%s【%s】年" for the lunar year of
// the last day when it differs. Writes at most size bytes, NUL included; "" when the first day is
// not a valid lunar date (LunarDate::IsValid), the first part alone when only the last day is not.
void ComposeYearTitle(const LunarDate& firstDay, const LunarDate& lastDay, char* out, size_t size);

constexpr size_t kYearTitleSize = 32;  // the longest title is 26 bytes

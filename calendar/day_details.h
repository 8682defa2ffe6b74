// What a Gregorian day is in the Chinese calendar beyond the grid's one label: the stem-branch
// names of its year, month and day, the zodiac animal, its ISO 8601 week, its place in 数九 or 三伏,
// the instant of a solar term falling on it, and the other days people name. All of it is computed
// from the Gregorian, lunar and solar-term tables; the text the format functions write is GBK.
//
// Days are described from 1900-01-31 (lunar 1900-1-1, the first day whose lunar year is known) to
// 2100-12-31 (the last day of the solar-term table).
#pragma once

#include <cstddef>
#include <cstdint>

#include "calendar/gregorian.h"
#include "calendar/labels.h"
#include "calendar/lunar.h"

constexpr int kMaxOtherDays = 3;  // a Gregorian festival the label hides, a named Gregorian day, a lunar one

struct DayDetails {
    SolarDate date;      // the day described; {0, 0, 0} when there are no details (IsValid false)
    LunarDate lunar;
    // Indexes of StemBranchName (0 = 甲子 ... 59 = 癸亥).
    uint8_t yearCycle;   // of the lunar year: it changes at the lunar new year
    uint8_t monthCycle;  // of the month that begins on a 节 day; its stem follows the year from 立春
    uint8_t dayCycle;    // sixty-day cycle, changing at midnight (1949-10-01 is 甲子)
    uint8_t isoWeek;     // 1 ... 53, the ISO 8601 week (weeks from Monday; week 1 holds a Thursday)
    // 数九: nine periods of nine days from the day of 冬至 (as almanacs print it today; an older
    // reckoning starts at the first 壬 day after 冬至, not taken). 三伏: 初伏 from the third 庚 day
    // counted from the day of 夏至 (that day counting), 中伏 from the fourth, 末伏 from the first 庚
    // day counted from the day of 立秋, ten days long. At most one of nine and fu is non-zero.
    uint8_t nine;        // 1 ... 9 for 一九 ... 九九, else 0
    uint8_t fu;          // 1 初伏, 2 中伏, 3 末伏, else 0
    uint8_t periodDay;   // the day within that 九 (1 ... 9) or 伏 (1 ... 20); 0 outside both
    uint8_t term;        // 0 = no solar term this day, 1 = the month's first term, 2 = its second
    SolarTermTime termTime;  // its instant in UTC+8 when term != 0 (minute 0 ... 60, as stored)
    // Named days the label does not show, constant GBK names: a Gregorian festival of the year that
    // a lunar festival takes the label from, by its full name (FestivalFullName); 妇女节 3-8,
    // 植树节 3-12, 青年节 5-4, 建党节 7-1, 建军节 8-1, 教师节 9-10 from their first years (1950,
    // 1979 for 植树节, 1985 for 教师节); 腊八 (腊月初八), 小年 (腊月廿三) and 中元节 (七月十五)
    // every year, not in a leap month.
    const char* others[kMaxOtherDays];
    uint8_t otherCount;

    bool IsValid() const { return date.year != 0; }
};

// The details of (year, month, day). Outside 1900-01-31 ... 2100-12-31, and for anything that is
// not a date, the record is all zeros (IsValid false) and the answer false.
bool ComputeDayDetails(int year, int month, int day, DayDetails* out);

// "一九" ... "九九" for 1 ... 9, "初伏" "中伏" "末伏" for fu 1 ... 3; "" otherwise.
const char* NinePeriodName(int nine);
const char* FuPeriodName(int fu);

// The format functions write at most size bytes, NUL included, and answer the length written. A
// part that does not fit in full is left out with all after it, so no character is cut; an invalid
// record writes "". The two display lines join their parts by " · ".
constexpr size_t kDetailsLineSize = 128;  // the longest of all days described is 67 bytes

// The second date line of the day's dialog: "丙午年 庚子月 庚午日 · 第52周 · 冬至 04:50 · 一九第1天",
// then each other named day; the parts that do not apply left out. A term's minute stored as 60
// shows as the next hour's :00 (24:00 after 23:60: the term keeps its day, as in the grid).
size_t FormatDetailsLine(const DayDetails& d, char* out, size_t size);

// What is worth a glance in the popup: the term with its time, the other named days, and the
// first day of each 九 or 伏 ("一九第1天", "初伏第1天"); "" on a day with none of them.
size_t FormatGlanceLine(const DayDetails& d, char* out, size_t size);

// One line of the day list, ending in '\n', tab-separated: date (YYYY-MM-DD), year stem-branch,
// zodiac, month stem-branch, day stem-branch, ISO week (a number), "三九第4天" or "中伏第12天" or
// "-", term with its time ("冬至 04:50") or "-", other named days joined by "、" or "-".
size_t FormatDetailsRow(const DayDetails& d, char* out, size_t size);

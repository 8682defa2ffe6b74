// Which note lists a shown month uses and which of their slots a day's notes are in. Portable:
// entry arrays in, pointers out; the lists themselves are read by notes/month_notes.h.
#pragma once

#include <string>

#include "calendar/month_layout.h"
#include "notes/note_codec.h"

// A Gregorian month touches up to three lunar months; each has its own lunar-yearly list, keyed
// by its month number (a leap month shares the number, and so the list, of its ordinary month).
enum LunarListSlot { kLunarFirst = 0, kLunarMiddle = 1, kLunarLast = 2, kLunarSlots = 3 };

// The lunar month number each slot is keyed by for the month, 0 when the slot has no month of its
// own: the middle slot is used only by months that touch three lunar months, the last slot only
// when the last day's month number differs from day 1's.
struct LunarListKeys {
    int month[kLunarSlots];
};
LunarListKeys LunarListKeysOf(const MonthLayout& m);
// The slot whose list holds the lunar-yearly note of a day (kLunarFirst for a day out of range).
LunarListSlot LunarListOf(const MonthLayout& m, int day);

// The shown month's notes: entry arrays of its lists (null = no list, nothing there).
struct MonthNotes {
    const NoteEntry* month = nullptr;        // 32 entries, by day of month
    const NoteEntry* solarYearly = nullptr;  // 32 entries, by day of month
    const NoteEntry* lunar[kLunarSlots] = {nullptr, nullptr, nullptr};  // 32 entries, by lunar day
    const NoteEntry* weekly = nullptr;       // 8 entries, by weekday
    // A list of the month exists but could not be read (held by another program): its notes are
    // missing from the arrays until it can.
    bool unreadable = false;
};

// The notes of one day, any of which may be null.
struct DayNotes {
    const NoteEntry* weekly;
    const NoteEntry* dated;
    const NoteEntry* solarYearly;
    const NoteEntry* lunarYearly;
};
DayNotes NotesOfDay(const MonthLayout& m, const MonthNotes& notes, int day);

// The lines the day-note dialog shows for a day of the shown month: "2017年1月5日星期四 农历十二月大 初八"
// (the lunar month named in full, with 闰 and 大/小; no lunar part for a day outside the lunar
// table), under it the day's details (FormatDetailsLine: "丙申年 辛丑月 ... · 第1周 · 小寒 ..."; empty
// for a day outside calendar/day_details.h's range), "阳历每年1月5日" and "农历每年十二月初八"; all
// empty for a day outside the month.
struct DayLines {
    std::string date, details, solarYearly, lunarYearly;
};
DayLines LinesOfDay(const MonthLayout& m, int day);

// Which lists and slots a month's days use.
#include "notes/day_notes.h"

#include <cstdio>

#include "calendar/day_details.h"
#include "calendar/labels.h"

namespace {

bool InMonth(const MonthLayout& m, int day) { return day >= 1 && day <= m.daysInMonth; }

const NoteEntry* EntryAt(const NoteEntry* list, int index) { return list != nullptr ? &list[index] : nullptr; }

}  // namespace

LunarListKeys LunarListKeysOf(const MonthLayout& m) {
    LunarListKeys keys{{0, 0, 0}};
    if (m.daysInMonth == 0 || !m.cells[1].lunar.IsValid()) return keys;
    const int first = m.cells[1].lunar.month;
    const int last = m.cells[m.daysInMonth].lunar.month;
    keys.month[kLunarFirst] = first;
    if (last != first) keys.month[kLunarLast] = last;
    for (int day = 2; day < m.daysInMonth; ++day) {
        const int number = m.cells[day].lunar.month;
        if (number != first && number != last) {
            keys.month[kLunarMiddle] = number;
            break;
        }
    }
    return keys;
}

LunarListSlot LunarListOf(const MonthLayout& m, int day) {
    if (!InMonth(m, day) || !m.cells[day].lunar.IsValid()) return kLunarFirst;
    const int number = m.cells[day].lunar.month;
    if (number == m.cells[1].lunar.month) return kLunarFirst;
    if (number == m.cells[m.daysInMonth].lunar.month) return kLunarLast;
    return kLunarMiddle;
}

DayNotes NotesOfDay(const MonthLayout& m, const MonthNotes& notes, int day) {
    DayNotes d{nullptr, nullptr, nullptr, nullptr};
    if (!InMonth(m, day)) return d;
    const DayCell& cell = m.cells[day];
    d.weekly = EntryAt(notes.weekly, cell.weekday);
    d.dated = EntryAt(notes.month, day);
    d.solarYearly = EntryAt(notes.solarYearly, day);
    if (cell.lunar.IsValid()) d.lunarYearly = EntryAt(notes.lunar[LunarListOf(m, day)], cell.lunar.day);
    return d;
}

DayLines LinesOfDay(const MonthLayout& m, int day) {
    DayLines lines;
    if (!InMonth(m, day)) return lines;
    const DayCell& c = m.cells[day];
    const char* monthName = LunarMonthName(c.lunar.month, 0);
    const char* dayName = LunarDayName(c.lunar.day);
    char text[96];
    if (c.lunar.IsValid()) {
        std::snprintf(text, sizeof text, "%d年%d月%d日星期%s 农历%s月%s %s", m.year, m.month, day,
                      WeekdayName(c.weekday), LunarMonthName(c.lunar.month, c.lunar.isLeap),
                      c.lunar.monthDays == 30 ? "大" : "小", dayName);
    } else {
        std::snprintf(text, sizeof text, "%d年%d月%d日星期%s", m.year, m.month, day, WeekdayName(c.weekday));
    }
    lines.date = text;
    DayDetails details;
    char detailsLine[kDetailsLineSize];
    if (ComputeDayDetails(m.year, m.month, day, &details) && FormatDetailsLine(details, detailsLine, sizeof detailsLine) > 0)
        lines.details = detailsLine;
    std::snprintf(text, sizeof text, "阳历每年%d月%d日", m.month, day);
    lines.solarYearly = text;
    std::snprintf(text, sizeof text, "农历每年%s月%s", monthName, dayName);
    lines.lunarYearly = text;
    return lines;
}

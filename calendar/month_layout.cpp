// Month layout and the year title.
#include "calendar/month_layout.h"

#include <cstdio>
#include <cstring>

#include "calendar/gregorian.h"
#include "calendar/labels.h"

DayTone ToneOf(const DayCell& cell) {
    if (cell.festival) return DayTone::Holiday;
    if (cell.solarTerm != 0) return DayTone::SolarTerm;
    if (cell.weekday == 6) return DayTone::Saturday;
    if (cell.weekday == 0) return DayTone::Holiday;
    return DayTone::Plain;
}

namespace {

void Copy(char* dst, size_t size, const char* src) {
    std::snprintf(dst, size, "%s", src);
}

void ChooseLabel(int month, DayCell* cell) {
    cell->labelIsMonthName = 0;
    if (cell->festival) {
        Copy(cell->label, sizeof cell->label, cell->festival);
    } else if (cell->solarTerm != 0) {
        Copy(cell->label, sizeof cell->label, SolarTermName(month, cell->solarTerm));
    } else if (!cell->lunar.IsValid()) {
        cell->label[0] = '\0';
    } else if (cell->lunar.day == 1) {
        std::snprintf(cell->label, sizeof cell->label, "%s月%s",
                      LunarMonthName(cell->lunar.month, cell->lunar.isLeap),
                      cell->lunar.monthDays == 30 ? "大" : "小");
        cell->labelIsMonthName = 1;
    } else {
        Copy(cell->label, sizeof cell->label, LunarDayName(cell->lunar.day));
    }
}

}  // namespace

void LayOutMonth(int year, int month, MonthLayout* out) {
    out->daysInMonth = DaysInMonth(year, month);  // 0 unless year and month are in range
    if (out->daysInMonth == 0) {
        out->year = out->month = out->firstWeekday = 0;
        return;
    }
    out->year = static_cast<uint16_t>(year);
    out->month = static_cast<uint16_t>(month);
    out->firstWeekday = DayOfWeek(year, month, 1);

    LunarDate lunar = LunarDate::FromSolar(year, month, 1);
    uint16_t weekday = out->firstWeekday;
    for (int i = 1; i <= out->daysInMonth; ++i) {
        DayCell& cell = out->cells[i];
        cell.weekday = weekday;
        weekday = static_cast<uint16_t>((weekday + 1) % 7);
        cell.lunar = lunar;
        // Step within the table; a month that starts before it converts each day until it enters.
        if (lunar.IsValid()) {
            lunar.NextDay();
        } else if (i < out->daysInMonth) {
            lunar = LunarDate::FromSolar(year, month, i + 1);
        }
        cell.solarTerm = 0;
        cell.festival = cell.lunar.FestivalName();
        if (!cell.festival) cell.festival = SolarFestivalName(year, month, i);
    }

    SolarTermTime first, second;
    SolarTermDays(year, month, &first, &second);
    if (first.day >= 1 && first.day <= out->daysInMonth) out->cells[first.day].solarTerm = 1;
    if (second.day >= 1 && second.day <= out->daysInMonth) out->cells[second.day].solarTerm = 2;

    for (int i = 1; i <= out->daysInMonth; ++i) ChooseLabel(month, &out->cells[i]);
}

void ComposeYearTitle(const LunarDate& firstDay, const LunarDate& lastDay, char* out, size_t size) {
    if (size == 0) return;
    out[0] = '\0';
    if (!firstDay.IsValid()) return;
    // StemBranchName and ZodiacName share no buffer, so one format call can take both.
    int n = std::snprintf(out, size, "%s【%s】年", StemBranchName(firstDay.year - 1864), ZodiacName(firstDay.year));
    if (n < 0 || static_cast<size_t>(n) >= size) return;
    if (lastDay.IsValid() && lastDay.year != firstDay.year) {
        std::snprintf(out + n, size - n, "－%s【%s】年", StemBranchName(lastDay.year - 1864), ZodiacName(lastDay.year));
    }
}

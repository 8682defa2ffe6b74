// vestrel-cal YEAR MONTH: a month as a grid of day cells, 休/班 marked, coloured on a terminal.
#include <cstdio>
#include <string>

#include "calendar/holidays.h"
#include "calendar/labels.h"
#include "calendar/month_layout.h"
#include "cli/modes.h"
#include "cli/terminal_text.h"

namespace {

constexpr int kCellWidth = 10;  // terminal columns per day cell; the longest label is 10 columns

std::string Pad(int columns) { return std::string(columns > 0 ? columns : 0, ' '); }

// Text centred in a cell of kCellWidth columns.
std::string Centre(const std::string& utf8) {
    const int w = DisplayWidth(utf8);
    const int left = (kCellWidth - w) / 2;
    return Pad(left) + utf8 + Pad(kCellWidth - w - left);
}

const char* ToneColor(DayTone tone) {
    switch (tone) {
        case DayTone::Holiday: return "\033[31m";
        case DayTone::SolarTerm: return "\033[34m";
        case DayTone::Saturday: return "\033[32m";
        case DayTone::Plain: break;
    }
    return "";
}

}  // namespace

void PrintMonth(int year, int month, const HolidayTable& holidays, std::ostream& out, const CliEnv& env) {
    MonthLayout m;
    LayOutMonth(year, month, &m);
    char title[kYearTitleSize];
    ComposeYearTitle(m.cells[1].lunar, m.cells[m.daysInMonth].lunar, title, sizeof title);
    char heading[96];
    std::snprintf(heading, sizeof heading, "%d年%d月  %s", year, month, title);
    const std::string head = GbkToUtf8(heading);
    const int total = 7 * kCellWidth;
    out << Pad((total - DisplayWidth(head)) / 2) << head << "\n";

    std::string header;
    for (int w = 0; w < 7; ++w) header += Centre(GbkToUtf8(WeekdayName(w)));
    while (!header.empty() && header.back() == ' ') header.pop_back();
    out << header << "\n";

    const bool todayShown = env.todayYear == year && env.todayMonth == month;
    const int rows = DayRow(m, m.daysInMonth) + 1;
    for (int row = 0; row < 6; ++row) {
        std::string numbers, labels;
        for (int col = 0; col < 7; ++col) {
            const int day = 7 * row + col - m.firstWeekday + 1;
            if (row >= rows || day < 1 || day > m.daysInMonth) {
                numbers += Pad(kCellWidth);
                labels += Pad(kCellWidth);
                continue;
            }
            const DayCell& c = m.cells[day];
            char number[4];
            std::snprintf(number, sizeof number, "%2d", day);
            // The number stays centred; a 休 or 班 mark (two columns) takes the blanks to its right.
            std::string n = Centre(number), l = Centre(GbkToUtf8(c.label));
            const char* mark = MarkText(holidays.Mark(year, month, day));
            if (*mark != '\0') n = n.substr(0, kCellWidth / 2 + 1) + mark + Pad(kCellWidth / 2 - 3);
            if (env.color) {
                std::string on = ToneColor(ToneOf(c));
                if (c.labelIsMonthName) on += "\033[1m";
                if (todayShown && day == env.todayDay) on += "\033[7m";
                if (!on.empty()) {
                    n = on + n + "\033[0m";
                    l = on + l + "\033[0m";
                }
            }
            numbers += n;
            labels += l;
        }
        // Trailing blanks of a row carry nothing.
        while (!numbers.empty() && numbers.back() == ' ') numbers.pop_back();
        while (!labels.empty() && labels.back() == ' ') labels.pop_back();
        out << numbers << "\n" << labels << "\n";
    }
}

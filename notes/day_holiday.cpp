// The day-note dialog's holiday line.
#include "notes/day_holiday.h"

#include <cstdio>

#include "calendar/gregorian.h"

namespace {

// "2025年11月4日" from "2025-11-04"; "" for anything else.
std::string ChineseDate(const std::string& date) {
    int y = 0, m = 0, d = 0;
    if (date.size() != 10 || std::sscanf(date.c_str(), "%4d-%2d-%2d", &y, &m, &d) != 3) return "";
    return std::to_string(y) + "年" + std::to_string(m) + "月" + std::to_string(d) + "日";
}

}  // namespace

std::string HolidaySourceLine(const HolidayTable& table, int year, int month, int day) {
    const char* name = "";
    const HolidayMark mark = table.Mark(year, month, day, &name);
    if (mark == HolidayMark::None) return "";
    // The next year's notice decides a December day it names.
    int noticeYear = year;
    if (month == 12) {
        const int32_t n = DayNumber(year, month, day);
        for (const HolidayDay& d : table.DaysOf(year + 1))
            if (d.dayNumber == n) noticeYear = year + 1;
    }
    std::string line = std::string(name) + (mark == HolidayMark::Off ? " 放假" : " 调休上班");
    const HolidaySource* source = table.Source(noticeYear);
    const std::vector<HolidayNotice>* notices = table.Notices(noticeYear);
    if (source == nullptr || notices == nullptr) return line;
    line += "　来源：";
    if (source->origin != HolidayOrigin::BuiltIn) return line + source->address;
    for (size_t i = 0; i < notices->size(); ++i) {
        const HolidayNotice& n = (*notices)[i];
        const std::string date = ChineseDate(n.date);
        line += (i > 0 ? "、" : "") + n.number + (date.empty() ? "" : "（" + date + "）");
    }
    return line;
}

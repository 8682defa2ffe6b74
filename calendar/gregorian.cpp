// Gregorian date arithmetic.
#include "calendar/gregorian.h"

const int16_t kMonthStartDays[13] = {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

namespace {

// kMonthStartDays reduced modulo 7, indexed 1 ... 12.
const int16_t kMonthStartWeekday[13] = {0, 0, 3, 3, 6, 1, 4, 6, 2, 5, 0, 3, 5};

bool ValidYear(int year) { return year >= kFirstYear && year <= kLastYear; }

}  // namespace

int IsLeapYear(int year) {
    if (!ValidYear(year)) return 0;
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0 ? 1 : 0;
}

uint16_t DaysInMonth(int year, int month) {
    if (!ValidYear(year)) return 0;
    switch (month) {
        case 1: case 3: case 5: case 7: case 8: case 10: case 12: return 31;
        case 4: case 6: case 9: case 11: return 30;
        case 2: return IsLeapYear(year) ? 29 : 28;
        default: return 0;
    }
}

bool IsValidDate(int year, int month, int day) { return day >= 1 && day <= DaysInMonth(year, month); }

uint16_t DayOfWeek(int year, int month, int day) {
    if (!IsValidDate(year, month, day)) return 0;
    const int y1 = year - 1;  // [0, 32766]
    // 1 January of year 1 is a Monday; 365 = 1 (mod 7), so y1 mod 7 stands in for 365 * y1.
    int s = y1 % 7 + day + y1 / 400 - y1 / 100 + kMonthStartWeekday[month] + y1 / 4;  // [1, 8400)
    if (IsLeapYear(year) && month > 2) ++s;
    return static_cast<uint16_t>(s % 7);
}

int32_t DayNumber(int year, int month, int day) {
    if (!IsValidDate(year, month, day)) return 0;
    const int32_t y1 = year - 1;                                     // [0, 32766]
    const int32_t leapDays = y1 / 4 - y1 / 100 + y1 / 400;           // [0, 7944]
    const int32_t before = kMonthStartDays[month];                   // [0, 334]
    const int32_t leapThisYear = (IsLeapYear(year) && month > 2) ? 1 : 0;
    return 365 * y1 + leapDays + before + leapThisYear + day;        // [1, kLastDayNumber]
}

int32_t DaysBetween(int year1, int month1, int day1, int year2, int month2, int day2) {
    const int32_t a = DayNumber(year1, month1, day1);
    const int32_t b = DayNumber(year2, month2, day2);
    return a != 0 && b != 0 ? a - b : 0;
}

SolarDate NextDate(const SolarDate& d) {
    const uint16_t length = IsValidDate(d.year, d.month, d.day) ? DaysInMonth(d.year, d.month) : 0;
    if (length == 0) return SolarDate{0, 0, 0};
    if (d.day < length) return SolarDate{d.year, d.month, static_cast<uint16_t>(d.day + 1)};
    if (d.month < 12) return SolarDate{d.year, static_cast<uint16_t>(d.month + 1), 1};
    if (d.year >= kLastYear) return SolarDate{0, 0, 0};
    return SolarDate{static_cast<uint16_t>(d.year + 1), 1, 1};
}

SolarDate SolarFromDayNumber(int32_t n) {
    if (n < 1 || n > kLastDayNumber) return SolarDate{0, 0, 0};
    // Civil-from-days over 400-year eras (146097 days each), counted from 1 March of year 0 so that
    // the leap day is the last day of the counting year. Day number 1 is 1 January of year 1.
    const int32_t z = n + 305;                 // days since 0000-03-01: [306, kLastDayNumber + 305]
    const int32_t era = z / 146097;                                        // [0, 81]
    const int32_t doe = z - era * 146097;                                  // [0, 146096]
    const int32_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
    const int32_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);           // [0, 365]
    const int32_t mp = (5 * doy + 2) / 153;                                // [0, 11], 0 = March
    const int32_t d = doy - (153 * mp + 2) / 5 + 1;                        // [1, 31]
    const int32_t m = mp < 10 ? mp + 3 : mp - 9;                           // [1, 12]
    const int32_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);                  // [1, kLastYear]
    return SolarDate{static_cast<uint16_t>(y), static_cast<uint16_t>(m), static_cast<uint16_t>(d)};
}

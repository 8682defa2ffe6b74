// The lunar year table and the Gregorian-to-lunar conversion.
#include "calendar/lunar.h"

#include <array>

#include "calendar/gregorian.h"

// Two words differ from the table as it is usually published, which carries known errors there:
//   1933: 0x06E95 gave the leap 5th month 29 days and the 6th 30. The new moon fell at about 00:03
//         China time on 1933-07-23, so the leap 5th month has 30 days and the 6th 29: 0x16A95.
//   2033: 0x04BD7 put the leap month after month 7. By the rule of the winter-solstice year the
//         leap month follows month 11 (29 days), months 2, 5, 7, 9, 10, 11, 12 long: 0x04AFB.
// The words of 2051 ... 2100 are those "solar_term_tool lunar-words" computes. The solar-term tool
// (tools/) checks every word against computed new moons and principal terms.
const uint32_t kLunarYearInfo[kLastLunarYear - kFirstLunarYear + 1] = {
    0x04BD8, 0x04AE0, 0x0A570, 0x054D5, 0x0D260, 0x0D950, 0x16554, 0x056A0, 0x09AD0, 0x055D2,  // 1900
    0x04AE0, 0x0A5B6, 0x0A4D0, 0x0D250, 0x1D255, 0x0B540, 0x0D6A0, 0x0ADA2, 0x095B0, 0x14977,  // 1910
    0x04970, 0x0A4B0, 0x0B4B5, 0x06A50, 0x06D40, 0x1AB54, 0x02B60, 0x09570, 0x052F2, 0x04970,  // 1920
    0x06566, 0x0D4A0, 0x0EA50, 0x16A95, 0x05AD0, 0x02B60, 0x186E3, 0x092E0, 0x1C8D7, 0x0C950,  // 1930
    0x0D4A0, 0x1D8A6, 0x0B550, 0x056A0, 0x1A5B4, 0x025D0, 0x092D0, 0x0D2B2, 0x0A950, 0x0B557,  // 1940
    0x06CA0, 0x0B550, 0x15355, 0x04DA0, 0x0A5B0, 0x14573, 0x052B0, 0x0A9A8, 0x0E950, 0x06AA0,  // 1950
    0x0AEA6, 0x0AB50, 0x04B60, 0x0AAE4, 0x0A570, 0x05260, 0x0F263, 0x0D950, 0x05B57, 0x056A0,  // 1960
    0x096D0, 0x04DD5, 0x04AD0, 0x0A4D0, 0x0D4D4, 0x0D250, 0x0D558, 0x0B540, 0x0B6A0, 0x195A6,  // 1970
    0x095B0, 0x049B0, 0x0A974, 0x0A4B0, 0x0B27A, 0x06A50, 0x06D40, 0x0AF46, 0x0AB60, 0x09570,  // 1980
    0x04AF5, 0x04970, 0x064B0, 0x074A3, 0x0EA50, 0x06B58, 0x05AC0, 0x0AB60, 0x096D5, 0x092E0,  // 1990
    0x0C960, 0x0D954, 0x0D4A0, 0x0DA50, 0x07552, 0x056A0, 0x0ABB7, 0x025D0, 0x092D0, 0x0CAB5,  // 2000
    0x0A950, 0x0B4A0, 0x0BAA4, 0x0AD50, 0x055D9, 0x04BA0, 0x0A5B0, 0x15176, 0x052B0, 0x0A930,  // 2010
    0x07954, 0x06AA0, 0x0AD50, 0x05B52, 0x04B60, 0x0A6E6, 0x0A4E0, 0x0D260, 0x0EA65, 0x0D530,  // 2020
    0x05AA0, 0x076A3, 0x096D0, 0x04AFB, 0x04AD0, 0x0A4D0, 0x1D0B6, 0x0D250, 0x0D520, 0x0DD45,  // 2030
    0x0B5A0, 0x056D0, 0x055B2, 0x049B0, 0x0A577, 0x0A4B0, 0x0AA50, 0x1B255, 0x06D20, 0x0ADA0,  // 2040
    0x14B63, 0x09370, 0x049F8, 0x04970, 0x064B0, 0x168A6, 0x0EA50, 0x06AA0, 0x1A6C4, 0x0AAE0,  // 2050
    0x092E0, 0x0D2E3, 0x0C960, 0x0D557, 0x0D4A0, 0x0DA50, 0x05D55, 0x056A0, 0x0A6D0, 0x055D4,  // 2060
    0x052D0, 0x0A9B8, 0x0A950, 0x0B4A0, 0x0B6A6, 0x0AD50, 0x055A0, 0x0ABA4, 0x0A5B0, 0x052B0,  // 2070
    0x0B273, 0x06930, 0x07337, 0x06AA0, 0x0AD50, 0x14B55, 0x04B60, 0x0A570, 0x054E4, 0x0D160,  // 2080
    0x0E968, 0x0D520, 0x0DAA0, 0x16AA6, 0x056D0, 0x04AE0, 0x0A9D4, 0x0A2D0, 0x0D150, 0x0F252,  // 2090
    0x0D520,                                                                                   // 2100
};

namespace {

constexpr bool InTable(int year) { return year >= kFirstLunarYear && year <= kLastLunarYear; }

// Days of lunar 1900 ... 2100: 1900-01-31 ... 2101-01-28 (the last new-year offset of the table
// below; the whole-range sweep of the tests walks every one of them).
constexpr int32_t kLunarTableDays = 73412;
constexpr int kLunarYears = kLastLunarYear - kFirstLunarYear + 1;

constexpr int PopCount12(uint32_t bits) {
    int n = 0;
    for (uint32_t mask = 0x8000; mask >= 0x10; mask >>= 1) n += (bits & mask) ? 1 : 0;
    return n;
}

// New-year offsets from 1900-01-31 for 1900 ... 2101 (the entry for 2101 ends lunar 2100).
struct NewYearTable {
    std::array<int32_t, kLunarYears + 1> offset{};
    NewYearTable() {
        for (int y = kFirstLunarYear; y <= kLastLunarYear; ++y)
            offset[y - kFirstLunarYear + 1] = offset[y - kFirstLunarYear] + LunarYearDays(y);
    }
};

const NewYearTable& NewYears() {
    static const NewYearTable table;
    return table;
}

}  // namespace

int LeapMonth(int year) {
    return InTable(year) ? static_cast<int>(kLunarYearInfo[year - kFirstLunarYear] & 0xF) : 0;
}

int LunarMonthDays(int year, int month) {
    if (!InTable(year) || month < 1 || month > 12) return 0;
    return (kLunarYearInfo[year - kFirstLunarYear] & (0x10000u >> month)) ? 30 : 29;
}

int LeapMonthDays(int year) {
    if (LeapMonth(year) == 0) return 0;
    return (kLunarYearInfo[year - kFirstLunarYear] & 0x10000u) ? 30 : 29;
}

int LunarYearDays(int year) {
    if (!InTable(year)) return 0;
    return 348 + PopCount12(kLunarYearInfo[year - kFirstLunarYear]) + LeapMonthDays(year);
}

LunarDate LunarDate::FromSolar(int year, int month, int day) {
    LunarDate out{};
    if (!IsValidDate(year, month, day)) return out;
    const auto& newYears = NewYears().offset;
    int32_t r = DaysBetween(year, month, day, 1900, 1, 31);       // days since lunar 1900-1-1
    if (r < 0 || r >= newYears.back()) return out;                // outside lunar 1900 ... 2100

    // A lunar year has 353 ... 385 days, so r / 386 never overshoots the year; step up from there.
    int y = kFirstLunarYear + r / 386;
    while (newYears[y - kFirstLunarYear + 1] <= r) ++y;
    r -= newYears[y - kFirstLunarYear];                           // [0, LunarYearDays(y) - 1]

    // Walk the months in calendar order, the leap month straight after ordinary month L.
    const int leap = LeapMonth(y);
    int m = 1;
    bool inLeap = false;
    int len = LunarMonthDays(y, 1);
    while (r >= len) {
        r -= len;
        if (leap == m && !inLeap) {
            inLeap = true;
        } else {
            inLeap = false;
            ++m;
        }
        len = inLeap ? LeapMonthDays(y) : LunarMonthDays(y, m);
    }

    out.year = y;
    out.month = m;
    out.day = r + 1;
    out.atLeapNumber = (leap > 0 && m == leap) ? 1 : 0;
    out.isLeap = inLeap ? 1 : 0;
    out.monthDays = len;
    out.dayOffset = r;
    return out;
}

int LunarDate::NextDay() {
    const bool made = IsValid() && month >= 1 && month <= 12 && (monthDays == 29 || monthDays == 30) &&
                      day >= 1 && day <= monthDays && dayOffset >= 0 && dayOffset < kLunarTableDays;
    if (!made) {
        *this = LunarDate{};
        return -1;
    }
    ++dayOffset;
    if (day < monthDays) {
        ++day;
        return 0;
    }
    if (atLeapNumber == 1 && isLeap == 0) {
        isLeap = 1;
    } else {
        isLeap = 0;
        if (++month > 12) {
            month = 1;
            if (++year > kLastLunarYear) {
                *this = LunarDate{};
                return -1;
            }
        }
        atLeapNumber = (month == LeapMonth(year)) ? 1 : 0;
    }
    day = 1;
    monthDays = isLeap ? LeapMonthDays(year) : LunarMonthDays(year, month);
    return 0;
}

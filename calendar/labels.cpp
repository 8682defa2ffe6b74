// Traditional calendar names.
#include "calendar/labels.h"

#include <cstdio>
#include <cstring>

#include "calendar/lunar.h"

const SolarFestival kSolarFestivals[] = {
    {1, 1, "元旦"},
    {5, 1, "劳动节"},
    {6, 1, "儿童节"},
    {10, 1, "国庆"},
    {0, 0, nullptr},
};

namespace {

const char* const kStems[10] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
const char* const kBranches[12] = {"子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"};
// Two GBK bytes per animal.
const char kZodiac[] = "鼠牛虎兔龙蛇马羊猴鸡狗猪";
const char kMonthChars[] = "正二三四五六七八九十";
const char kDayTens[] = "初十廿三";
const char kDayUnits[] = "一二三四五六七八九十";

const char* const kSolarTermNames[24] = {
    "小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至",
    "小暑", "大暑", "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至",
};

const char* const kWeekdayNames[8] = {"日", "一", "二", "三", "四", "五", "六", "日"};

// n mod k in [0, k) for any sign of n.
int Mod(int n, int k) { return ((n % k) + k) % k; }

// Copies the two-byte character at index i of a GBK string of such characters.
void AppendChar(char* out, const char* chars, int i) {
    const size_t len = std::strlen(out);
    out[len] = chars[2 * i];
    out[len + 1] = chars[2 * i + 1];
    out[len + 2] = '\0';
}

}  // namespace

const char* StemBranchName(int n) {
    thread_local char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%s%s", kStems[Mod(n, 10)], kBranches[Mod(n, 12)]);
    return buffer;
}

const char* ZodiacName(int year) {
    thread_local char buffer[4];
    buffer[0] = '\0';
    AppendChar(buffer, kZodiac, Mod(year % 12 - 4, 12));  // year - 4 itself could overflow
    return buffer;
}

const char* LunarMonthName(int month, uint8_t leap) {
    thread_local char buffer[8];
    buffer[0] = '\0';
    if (month < 1 || month > 12) return buffer;
    if (leap) std::strcpy(buffer, "闰");
    if (month <= 10) {
        AppendChar(buffer, kMonthChars, month - 1);
    } else {
        std::strcat(buffer, month == 11 ? "十一" : "十二");
    }
    return buffer;
}

const char* LunarDayName(int day) {
    thread_local char buffer[6];
    buffer[0] = '\0';
    if (day < 1 || day > 30) return buffer;
    if (day == 20) {
        std::strcpy(buffer, "二十");
    } else if (day == 30) {
        std::strcpy(buffer, "三十");
    } else {
        AppendChar(buffer, kDayTens, (day - 1) / 10);
        AppendChar(buffer, kDayUnits, (day - 1) % 10);
    }
    return buffer;
}

void SolarTermDays(int year, int month, SolarTermTime* first, SolarTermTime* second) {
    if (year < kSolarTermFirstYear || year >= kSolarTermFirstYear + kSolarTermYears || month < 1 || month > 12) {
        *first = SolarTermTime{0, 0, 0};
        *second = SolarTermTime{0, 0, 0};
        return;
    }
    const int index = 24 * (year - kSolarTermFirstYear) + 2 * (month - 1);  // [0, 24 * kSolarTermYears - 2]
    *first = kSolarTermTable[index];
    *second = kSolarTermTable[index + 1];
}

const char* SolarTermName(int month, int which) {
    if (month < 1 || month > 12 || which < 1 || which > 2) return "";
    return kSolarTermNames[2 * (month - 1) + (which - 1)];
}

const char* SolarFestivalName(int month, int day) {
    for (const SolarFestival* f = kSolarFestivals; f->month != 0; ++f)
        if (f->month == month && f->day == day) return f->name;
    return nullptr;
}

const char* WeekdayName(int index) { return index >= 0 && index <= 7 ? kWeekdayNames[index] : ""; }

const char* LunarDate::FestivalName() const {
    if (!IsValid() || month < 1 || month > 12 || day < 1 || day > 30) return nullptr;
    if (month == 12 && day == monthDays) {
        // In a year whose leap month follows the 12th, the eve is the last day of the leap month.
        if (atLeapNumber == 1 && isLeap == 0) return nullptr;
        return "除夕";
    }
    if (isLeap) return nullptr;
    switch (month * 100 + day) {
        case 101: return "春节";
        case 102: return "初二";
        case 103: return "初三";
        case 115: return "元宵节";
        case 505: return "端午";
        case 707: return "七夕节";
        case 815: return "中秋";
        case 909: return "重阳节";
        default: return nullptr;
    }
}

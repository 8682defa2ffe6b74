// Traditional calendar names.
#include "calendar/labels.h"

#include <cstring>

#include "calendar/lunar.h"

const SolarFestival kSolarFestivals[] = {
    {1, 1, "元旦", 1912},
    {5, 1, "劳动节", 1950},
    {6, 1, "儿童节", 1950},
    {10, 1, "国庆", 1950},
    {0, 0, nullptr, 0},
};

namespace {

const char* const kZodiacNames[12] = {"鼠", "牛", "虎", "兔", "龙", "蛇", "马", "羊", "猴", "鸡", "狗", "猪"};
// Month names by month 1 ... 12, ordinary then leap.
const char* const kLunarMonthNames[2][12] = {
    {"正", "二", "三", "四", "五", "六", "七", "八", "九", "十", "十一", "十二"},
    {"闰正", "闰二", "闰三", "闰四", "闰五", "闰六", "闰七", "闰八", "闰九", "闰十", "闰十一", "闰十二"},
};
const char* const kLunarDayNames[30] = {
    "初一", "初二", "初三", "初四", "初五", "初六", "初七", "初八", "初九", "初十",
    "十一", "十二", "十三", "十四", "十五", "十六", "十七", "十八", "十九", "二十",
    "廿一", "廿二", "廿三", "廿四", "廿五", "廿六", "廿七", "廿八", "廿九", "三十",
};
// The sixty stem-branch names in cycle order: index n names stem n mod 10 and branch n mod 12.
const char* const kStemBranchNames[60] = {
    "甲子", "乙丑", "丙寅", "丁卯", "戊辰", "己巳", "庚午", "辛未", "壬申", "癸酉",
    "甲戌", "乙亥", "丙子", "丁丑", "戊寅", "己卯", "庚辰", "辛巳", "壬午", "癸未",
    "甲申", "乙酉", "丙戌", "丁亥", "戊子", "己丑", "庚寅", "辛卯", "壬辰", "癸巳",
    "甲午", "乙未", "丙申", "丁酉", "戊戌", "己亥", "庚子", "辛丑", "壬寅", "癸卯",
    "甲辰", "乙巳", "丙午", "丁未", "戊申", "己酉", "庚戌", "辛亥", "壬子", "癸丑",
    "甲寅", "乙卯", "丙辰", "丁巳", "戊午", "己未", "庚申", "辛酉", "壬戌", "癸亥",
};

const char* const kSolarTermNames[24] = {
    "小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至",
    "小暑", "大暑", "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至",
};

const char* const kWeekdayNames[8] = {"日", "一", "二", "三", "四", "五", "六", "日"};

// n mod k in [0, k) for any sign of n.
int Mod(int n, int k) { return ((n % k) + k) % k; }

}  // namespace

const char* StemBranchName(int n) {
    // n mod 60 has n's stem (mod 10) and branch (mod 12): 60 is the least common multiple.
    return kStemBranchNames[Mod(n, 60)];
}

const char* ZodiacName(int year) {
    return kZodiacNames[Mod(year % 12 - 4, 12)];  // year - 4 itself could overflow
}

const char* LunarMonthName(int month, uint8_t leap) {
    if (month < 1 || month > 12) return "";
    return kLunarMonthNames[leap ? 1 : 0][month - 1];
}

const char* LunarDayName(int day) { return day >= 1 && day <= 30 ? kLunarDayNames[day - 1] : ""; }

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

const char* SolarFestivalName(int year, int month, int day) {
    for (const SolarFestival* f = kSolarFestivals; f->month != 0; ++f)
        if (f->month == month && f->day == day) return year >= f->firstYear ? f->name : nullptr;
    return nullptr;
}

const char* FestivalFullName(const char* name) {
    if (name == nullptr) return nullptr;
    static const struct { const char* shortName; const char* fullName; } kFull[] = {
        {"初二", "正月初二"}, {"初三", "正月初三"}, {"国庆", "国庆节"}, {"端午", "端午节"}, {"中秋", "中秋节"},
    };
    for (const auto& f : kFull)
        if (std::strcmp(name, f.shortName) == 0) return f.fullName;
    return name;
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

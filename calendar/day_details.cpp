// The details of a day: stem-branch names, ISO week, 数九, 三伏, terms and named days.
#include "calendar/day_details.h"

#include <cstdio>
#include <cstring>

namespace {

// The first and last day described: lunar 1900-1-1 and the last day of the solar-term table.
const SolarDate kFirstDay{1900, 1, 31};
const SolarDate kLastDay{2100, 12, 31};

constexpr int kGeng = 6;  // 庚, the seventh stem (甲 = 0)

// n mod k in [0, k) for any sign of n.
int Mod(int32_t n, int k) { return static_cast<int>(((n % k) + k) % k); }

// DayNumber(1949, 10, 1) = 711766 is a 甲子 day, and 711766 = 46 (mod 60).
int DayCycle(int32_t dayNumber) { return Mod(dayNumber + 14, 60); }  // [0, 59]

// The day number of the first (which = 1) or second (which = 2) term of a month, 0 outside the table.
int32_t TermDayNumber(int year, int month, int which) {
    SolarTermTime first, second;
    SolarTermDays(year, month, &first, &second);
    const SolarTermTime& t = which == 1 ? first : second;
    return t.day != 0 ? DayNumber(year, month, t.day) : 0;
}

// The first 庚 day on or after day number n.
int32_t GengOnOrAfter(int32_t n) { return n + Mod(kGeng - DayCycle(n) % 10, 10); }

// ISO weekday, 1 = Monday ... 7 = Sunday.
int IsoWeekday(int year, int month, int day) {
    const int w = DayOfWeek(year, month, day);  // 0 = Sunday
    return w == 0 ? 7 : w;
}

// 53 when the year begins on a Thursday, or on a Wednesday in a leap year; else 52.
int IsoWeeksInYear(int year) {
    const int jan1 = IsoWeekday(year, 1, 1);
    return jan1 == 4 || (jan1 == 3 && IsLeapYear(year)) ? 53 : 52;
}

int IsoWeek(int year, int month, int day) {
    const int32_t ordinal = DaysBetween(year, month, day, year, 1, 1) + 1;  // [1, 366]
    const int week = (ordinal - IsoWeekday(year, month, day) + 10) / 7;    // [0, 53]
    if (week < 1) return IsoWeeksInYear(year - 1);  // the last week of the year before
    if (week > IsoWeeksInYear(year)) return 1;      // the first week of the year after
    return week;
}

// 数九 from the 冬至 of the year, or of the year before for a day before this year's.
void FindNine(int year, int32_t n, DayDetails* out) {
    int32_t start = TermDayNumber(year, 12, 2);
    if (n < start) start = TermDayNumber(year - 1, 12, 2);  // 0 before 1900: no 数九 then
    if (start == 0 || n < start || n >= start + 81) return;
    out->nine = static_cast<uint8_t>((n - start) / 9 + 1);       // [1, 9]
    out->periodDay = static_cast<uint8_t>((n - start) % 9 + 1);  // [1, 9]
}

// 三伏 of the year: 初伏 and 中伏 ten days each from the third 庚 day on or after 夏至's day, 中伏
// on to the first 庚 day on or after 立秋's day (10 or 20 days), then 末伏 ten days.
void FindFu(int year, int32_t n, DayDetails* out) {
    const int32_t summer = TermDayNumber(year, 6, 2);
    const int32_t autumn = TermDayNumber(year, 8, 1);
    if (summer == 0 || autumn == 0) return;
    const int32_t first = GengOnOrAfter(summer) + 20;
    const int32_t second = first + 10;
    const int32_t last = GengOnOrAfter(autumn);  // second + 10 or second + 20
    int32_t start;
    if (n >= first && n < second) {
        out->fu = 1;
        start = first;
    } else if (n >= second && n < last) {
        out->fu = 2;
        start = second;
    } else if (n >= last && n < last + 10) {
        out->fu = 3;
        start = last;
    } else {
        return;
    }
    out->periodDay = static_cast<uint8_t>(n - start + 1);  // [1, 20]
}

struct NamedDay {
    int month;
    int day;
    int firstYear;  // 0 for a customary day of every year
    const char* name;
};
// Gregorian days the People's Republic keeps from 1950 (the decree of 1949-12-23 for 妇女节,
// 青年节 and 建军节; 建党节, set on 7-1 by the party in 1941, first under the Republic in 1950),
// 植树节 from 1979 (the resolution of 1979-02-23) and 教师节 from 1985 (that of 1985-01-21).
const NamedDay kSolarNamedDays[] = {
    {3, 8, 1950, "妇女节"}, {3, 12, 1979, "植树节"}, {5, 4, 1950, "青年节"},
    {7, 1, 1950, "建党节"}, {8, 1, 1950, "建军节"}, {9, 10, 1985, "教师节"},
};
// Lunar days named by custom, in an ordinary (not a leap) month.
const NamedDay kLunarNamedDays[] = {
    {12, 8, 0, "腊八"}, {12, 23, 0, "小年"}, {7, 15, 0, "中元节"},
};

void FindOthers(const SolarDate& date, DayDetails* out) {
    auto add = [out](const char* name) {
        if (out->otherCount < kMaxOtherDays) out->others[out->otherCount++] = name;
    };
    // The grid shows a lunar festival before a Gregorian one; named alone, 国庆 is 国庆节.
    if (out->lunar.FestivalName() != nullptr)
        if (const char* hidden = SolarFestivalName(date.year, date.month, date.day)) add(FestivalFullName(hidden));
    for (const NamedDay& n : kSolarNamedDays)
        if (n.month == date.month && n.day == date.day && date.year >= n.firstYear) add(n.name);
    if (!out->lunar.isLeap)
        for (const NamedDay& n : kLunarNamedDays)
            if (n.month == out->lunar.month && n.day == out->lunar.day) add(n.name);
}

bool InRange(int year, int month, int day) {
    const int32_t n = DayNumber(year, month, day);  // 0 for no date
    return n >= DayNumber(kFirstDay.year, kFirstDay.month, kFirstDay.day) &&
           n <= DayNumber(kLastDay.year, kLastDay.month, kLastDay.day);
}

// Collects the parts of a line in a caller's buffer: a part is written whole or not at all, and
// once one is left out so is every later one.
class LineWriter {
public:
    LineWriter(char* out, size_t size, const char* separator) : out_(out), size_(size), separator_(separator) {
        if (size_ > 0) out_[0] = '\0';
    }
    // The separator before every part but the first.
    void Part(const char* text) { Append(length_ > 0 ? separator_ : "", text); }
    // Text with no separator before it.
    void End(const char* text) { Append("", text); }
    bool Full() const { return full_; }
    size_t Length() const { return length_; }

private:
    void Append(const char* separator, const char* text) {
        const size_t sep = std::strlen(separator);
        const size_t n = std::strlen(text);
        if (full_ || size_ == 0 || length_ + sep + n >= size_) {
            full_ = true;
            return;
        }
        std::memcpy(out_ + length_, separator, sep);
        std::memcpy(out_ + length_ + sep, text, n);
        length_ += sep + n;
        out_[length_] = '\0';
    }

    char* out_;
    size_t size_;
    const char* separator_;
    size_t length_ = 0;
    bool full_ = false;
};

// "冬至 04:50"; a stored minute of 60 is the next hour's :00.
void TermText(const DayDetails& d, char* out, size_t size) {
    int hour = d.termTime.hour, minute = d.termTime.minute;
    if (minute >= 60) {
        minute = 0;
        ++hour;
    }
    std::snprintf(out, size, "%s %02d:%02d", SolarTermName(d.date.month, d.term), hour, minute);
}

// "三九第4天" or "中伏第12天"; "" outside both.
void PeriodText(const DayDetails& d, char* out, size_t size) {
    const char* name = d.nine ? NinePeriodName(d.nine) : FuPeriodName(d.fu);
    if (*name == '\0')
        *out = '\0';
    else
        std::snprintf(out, size, "%s第%d天", name, d.periodDay);
}

constexpr size_t kPartSize = 32;  // the longest part is 11 bytes

}  // namespace

bool ComputeDayDetails(int year, int month, int day, DayDetails* out) {
    *out = DayDetails{};
    if (!InRange(year, month, day)) return false;
    const int32_t n = DayNumber(year, month, day);
    out->lunar = LunarDate::FromSolar(year, month, day);
    if (!out->lunar.IsValid()) return false;  // never within the range, which the lunar table covers
    out->date = SolarDate{static_cast<uint16_t>(year), static_cast<uint16_t>(month), static_cast<uint16_t>(day)};

    out->yearCycle = static_cast<uint8_t>(Mod(out->lunar.year - 1864, 60));
    // The month of a 节 begins on its day; 12 * year + month counts months so that 甲子 months
    // fall on the 子 month (December) of the years 1863 + 5k, and the 寅 month's stem follows the
    // year that begins at 立春: 丙寅 for a 甲 or 己 year.
    SolarTermTime jie, zhong;
    SolarTermDays(year, month, &jie, &zhong);
    int monthYear = year, monthNumber = month;
    if (day < jie.day && --monthNumber == 0) {
        monthNumber = 12;
        --monthYear;
    }
    out->monthCycle = static_cast<uint8_t>(Mod(12 * monthYear + monthNumber + 12, 60));
    out->dayCycle = static_cast<uint8_t>(DayCycle(n));
    out->isoWeek = static_cast<uint8_t>(IsoWeek(year, month, day));

    FindNine(year, n, out);
    if (out->nine == 0) FindFu(year, n, out);

    if (day == jie.day) {
        out->term = 1;
        out->termTime = jie;
    } else if (day == zhong.day) {
        out->term = 2;
        out->termTime = zhong;
    }
    FindOthers(out->date, out);
    return true;
}

const char* NinePeriodName(int nine) {
    static const char* const kNames[9] = {"一九", "二九", "三九", "四九", "五九", "六九", "七九", "八九", "九九"};
    return nine >= 1 && nine <= 9 ? kNames[nine - 1] : "";
}

const char* FuPeriodName(int fu) {
    static const char* const kNames[3] = {"初伏", "中伏", "末伏"};
    return fu >= 1 && fu <= 3 ? kNames[fu - 1] : "";
}

size_t FormatDetailsLine(const DayDetails& d, char* out, size_t size) {
    LineWriter line(out, size, " · ");
    if (!d.IsValid()) return 0;
    char part[kPartSize];
    std::snprintf(part, sizeof part, "%s年 %s月 %s日", StemBranchName(d.yearCycle), StemBranchName(d.monthCycle),
                  StemBranchName(d.dayCycle));
    line.Part(part);
    std::snprintf(part, sizeof part, "第%d周", d.isoWeek);
    line.Part(part);
    if (d.term != 0) {
        TermText(d, part, sizeof part);
        line.Part(part);
    }
    PeriodText(d, part, sizeof part);
    if (*part) line.Part(part);
    for (int i = 0; i < d.otherCount; ++i) line.Part(d.others[i]);
    return line.Length();
}

size_t FormatGlanceLine(const DayDetails& d, char* out, size_t size) {
    LineWriter line(out, size, " · ");
    if (!d.IsValid()) return 0;
    char part[kPartSize];
    if (d.term != 0) {
        TermText(d, part, sizeof part);
        line.Part(part);
    }
    for (int i = 0; i < d.otherCount; ++i) line.Part(d.others[i]);
    if (d.periodDay == 1) {
        PeriodText(d, part, sizeof part);
        line.Part(part);
    }
    return line.Length();
}

size_t FormatDetailsRow(const DayDetails& d, char* out, size_t size) {
    LineWriter row(out, size, "\t");
    if (!d.IsValid()) return 0;
    char part[kPartSize];
    std::snprintf(part, sizeof part, "%04d-%02d-%02d", d.date.year, d.date.month, d.date.day);
    row.Part(part);
    row.Part(StemBranchName(d.yearCycle));
    row.Part(ZodiacName(d.lunar.year));
    row.Part(StemBranchName(d.monthCycle));
    row.Part(StemBranchName(d.dayCycle));
    std::snprintf(part, sizeof part, "%d", d.isoWeek);
    row.Part(part);
    PeriodText(d, part, sizeof part);
    row.Part(*part ? part : "-");
    if (d.term != 0) TermText(d, part, sizeof part);
    row.Part(d.term != 0 ? part : "-");
    char others[kPartSize] = "-";
    LineWriter list(others, sizeof others, "、");
    for (int i = 0; i < d.otherCount; ++i) list.Part(d.others[i]);
    row.Part(d.otherCount > 0 ? others : "-");
    row.End("\n");
    if (row.Full()) {  // a row is whole or not written
        if (size > 0) out[0] = '\0';
        return 0;
    }
    return row.Length();
}

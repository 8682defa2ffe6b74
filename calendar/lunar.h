// The Chinese lunar calendar of 1900 ... 2100: one packed word per lunar year, its accessors, and the
// conversion of a Gregorian date to its lunar date.
#pragma once

#include <cstdint>

// One word per lunar year 1900 ... 2100 (index year - 1900). Bits, from the least significant:
//   0-3   the month after which the leap month comes (1 ... 12), 0 = no leap month;
//   4-15  month m (1 ... 12) has 30 days when bit (0x10000 >> m) is set, else 29;
//   16    the leap month has 30 days when set, else 29.
constexpr int kFirstLunarYear = 1900;
constexpr int kLastLunarYear = 2100;
extern const uint32_t kLunarYearInfo[kLastLunarYear - kFirstLunarYear + 1];

// The accessors answer 0 for a year outside 1900 ... 2100 (and LunarMonthDays for a month outside
// 1 ... 12): there is no data there, and no table is read out of range.
int LeapMonth(int year);                  // 0 = no leap month, else 1 ... 12
int LunarMonthDays(int year, int month);  // 29 or 30
int LeapMonthDays(int year);              // 0 without a leap month, else 29 or 30
int LunarYearDays(int year);              // 353 ... 385

// A date of the lunar calendar. month is 1-based (1 = 正月); a leap month carries the number of the
// ordinary month it follows and has isLeap = 1. atLeapNumber = 1 when month is the number of the
// year's leap month, in the ordinary month of that number as well as in the leap month itself.
//
// FromSolar covers 1900-01-31 (lunar 1900-1-1) to 2101-01-28 (lunar 2100-12-29). Outside that
// span, and for anything that is not a Gregorian date, it answers the invalid record: every field 0
// (IsValid() false). NextDay past the last day of lunar 2100 also turns the record invalid and
// returns -1; so does NextDay on a record that FromSolar and NextDay could not have made (a year
// outside the table, a month outside 1 ... 12, a day outside 1 ... monthDays, a monthDays other than
// 29 or 30, a dayOffset outside 0 ... the days of the table). An invalid record stays invalid.
struct LunarDate {
    int32_t year;
    int32_t month;
    int32_t day;         // 1 ... 30
    uint8_t atLeapNumber;
    uint8_t isLeap;
    int32_t monthDays;   // 29 or 30: length of the (ordinary or leap) month the date lies in
    int32_t dayOffset;   // days since day 1 of the month FromSolar landed in; NextDay adds 1

    static LunarDate FromSolar(int year, int month, int day);
    int NextDay();  // 0, or -1 when the record is or becomes invalid
    // The year lies in the table (kFirstLunarYear ... kLastLunarYear); the invalid record has year 0.
    bool IsValid() const { return year >= kFirstLunarYear && year <= kLastLunarYear; }

    // Pointer to the constant festival name of this date, or null: also null for an invalid record
    // and for a month or day outside 1 ... 12, 1 ... 30 (labels.cpp).
    const char* FestivalName() const;
};

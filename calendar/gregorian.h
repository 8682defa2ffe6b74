// Gregorian date arithmetic over the proleptic Gregorian calendar: leap years, month lengths,
// weekdays and day counts. Pure functions over constant tables; safe from any thread.
//
// Every function serves the years kFirstYear ... kLastYear, the years a SolarDate can hold. It checks
// its arguments before any arithmetic: a year, month or date outside its range gets the neutral
// answer its comment names (0, or the all-zero date), never a value computed from truncated bits.
#pragma once

#include <cstdint>

// A Gregorian date as the rest of the program keeps it. month is 1-based (1 = January), day 1-based.
struct SolarDate {
    uint16_t year;
    uint16_t month;
    uint16_t day;
};

constexpr int kFirstYear = 1;
constexpr int kLastYear = 32767;
// DayNumber(kLastYear, 12, 31): every day number fits a 32-bit int with room to spare.
constexpr int32_t kLastDayNumber = 11967900;

// Days in a common year before the first of each month, indexed 1 ... 12 (index 0 is unused).
extern const int16_t kMonthStartDays[13];

// 1 for a leap year, else 0; 0 for a year outside kFirstYear ... kLastYear.
int IsLeapYear(int year);

// 28 ... 31; 0 when year is outside kFirstYear ... kLastYear or month outside 1 ... 12.
uint16_t DaysInMonth(int year, int month);

// True when (year, month, day) is a date of the years kFirstYear ... kLastYear.
bool IsValidDate(int year, int month, int day);

// 0 = Sunday, 1 = Monday ... 6 = Saturday. A (year, month, day) that is not a valid date answers 0
// and reads no table.
uint16_t DayOfWeek(int year, int month, int day);

// Day number of a date: 1 January of year 1 is day 1, 31 December of kLastYear is kLastDayNumber.
// 0 for anything that is not a valid date. This is the count every calendar here meets at.
int32_t DayNumber(int year, int month, int day);

// Days from the second date to the first: positive when the first date is the later one. 0 when
// either is not a valid date.
int32_t DaysBetween(int year1, int month1, int day1, int year2, int month2, int day2);

// The day after a valid date, without a division: the next day of its month, or the first of the
// next month or year. {0, 0, 0} for an invalid date or 31 December of kLastYear.
SolarDate NextDate(const SolarDate& d);

// The date of a day number (inverse of DayNumber) for 1 ... kLastDayNumber; {0, 0, 0} outside.
SolarDate SolarFromDayNumber(int32_t n);

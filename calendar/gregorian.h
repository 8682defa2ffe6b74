// Gregorian date arithmetic over the proleptic Gregorian calendar: leap years, month lengths,
// weekdays and day counts. Pure functions over constant tables; safe from any thread.
#pragma once

#include <cstdint>

// A Gregorian date as the rest of the program keeps it. month is 1-based (1 = January), day 1-based.
struct SolarDate {
    uint16_t year;
    uint16_t month;
    uint16_t day;
};

// Days in a common year before the first of each month, indexed 1 ... 12 (index 0 is unused).
extern const int16_t kMonthStartDays[13];

// 1 for a leap year, else 0. Uses the low 16 bits of year as a signed value (years 1 ... 32767).
int IsLeapYear(int year);

// 28 ... 31; 0 when month is outside 1 ... 12.
uint16_t DaysInMonth(int year, int month);

// 0 = Sunday, 1 = Monday ... 6 = Saturday. Year and month are taken as 16-bit signed values.
// A month outside 1 ... 12 is not a date: the answer is 0 and no table is read out of range.
uint16_t DayOfWeek(int year, int month, int day);

// Day number of a date: 1 January of year 1 is day 1. Valid for years 1 ... 32767, where it stays
// below 12,000,000 and so fits any 32-bit int. This is the count every calendar here meets at.
int32_t DayNumber(int year, int month, int day);

// Days from the second date to the first: positive when the first date is the later one.
int32_t DaysBetween(int year1, int month1, int day1, int year2, int month2, int day2);

// The date of a day number (inverse of DayNumber), for day numbers >= 1.
SolarDate SolarFromDayNumber(int32_t n);

// The solar-term table and the Chinese lunar months computed from the ephemeris: what the
// generator writes into calendar/solar_term_table.cpp and what it checks the lunar table against.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/ephemeris.h"

namespace astro {

// One solar term as the table stores it: China Standard Time (UTC+8), the minute rounded from the
// seconds without carrying into the hour (so 21:59:40 is stored as 21:60, on the same day).
struct TermRecord {
    int day, hour, minute;
    int month;         // the Gregorian month the instant falls in (the generator checks it)
    double jdeTT;      // the instant in dynamical time
};

// Term `which` (0 = first, 1 = second) of Gregorian (year, month): the Sun at 285° + 15° * index,
// index = 2 * (month - 1) + which.
TermRecord ComputeTerm(const ephem::Ephemeris& eph, int year, int month, int which);

// UT of a dynamical instant (ΔT of Espenak-Meeus).
double UtOfTt(double jdeTT);

// The offset of the day's reckoning in China at a UT instant, in days: Beijing local mean time
// (UT + 7:45:40) before 1929, China Standard Time (UT + 8) from 1929-01-01. Some sources use UT+8
// throughout; the calendar of the time used local mean time, and so do we.
double ChinaReckoningOffset(double jdUT);

// New moons and principal terms (中气) as civil days of the China reckoning, over the Gregorian
// years firstYear - 2 ... lastYear + 1: everything the month numbering needs.
struct Lunations {
    Lunations(const ephem::Ephemeris& eph, int firstYear, int lastYear);
    std::vector<long> newMoonDays;                  // Julian day numbers, ascending
    std::vector<double> newMoonMinutesFromMidnight; // distance of each new moon from a midnight
    std::vector<long> principalTermDays;
    std::vector<long> solsticeDays;                 // December's principal term, one per year
};

// One lunar month: its first civil day (Julian day number), its number 1 ... 12, whether it is
// the leap month, and the index of its new moon in Lunations.
struct LunarMonth {
    long startDay;
    int number;
    bool leap;
    long newMoon;
};

// Numbers every month of the lunations by the rules of the Chinese calendar: the month that holds
// the winter solstice is month 11; a suì (month 11 to month 11) of 13 months has a leap month, the
// first of its months without a principal term, numbered as the month before it. With
// flippedNewMoon >= 0, that new moon is taken to fall on flippedDay instead (to test how a
// near-midnight new moon decides a year).
std::vector<LunarMonth> NumberLunarMonths(const Lunations& lunations, long flippedNewMoon = -1, long flippedDay = 0);

// A lunar year's word in the layout of kLunarYearInfo and its months (the last entry is the next
// year's first month, which closes the year).
struct LunarYear {
    int year;
    uint32_t word;
    std::vector<LunarMonth> months;
};

std::vector<LunarYear> LunarYearsOf(const std::vector<LunarMonth>& months, int firstYear, int lastYear);

// Minutes from midnight within which a new moon does not decide its day with certainty: 5 minutes
// for the calendar computed by modern astronomy (the truncated lunar theory is good to about half
// a minute, ΔT to seconds); 15 before 1913, when the official calendar came from the Qing
// observatory's older theory of the Sun and Moon.
double UncertainMinutes(long civilDay);

// The check of a lunar year table against astronomy, year by year.
struct YearCheck {
    enum Verdict { Agrees, AgreesIfFlipped, Disagrees } verdict;
    int year;
    uint32_t table, computed;
    std::vector<std::string> notes;  // the uncertain new moons of the year, and what a flip did
};

// A new moon or solar term close to a midnight: its day is what the calendar shows, and an error of
// minutes in the instant would move it.
struct NearMidnight {
    bool newMoon;          // else a solar term
    int termIndex;         // for a term: 0 = 小寒 ... 23 = 冬至 (2 * (month - 1) + which)
    long day;              // the civil day the instant falls on (Julian day number)
    double minutesAfter;   // minutes after that day's midnight: [0, 1440)
    bool meanTime;         // the day is reckoned in Beijing mean time (a new moon before 1929)
};

// Every new moon (in the China reckoning) and solar term (in China Standard Time, as the table
// has them) of the Gregorian years firstYear ... lastYear within `minutes` of a midnight.
std::vector<NearMidnight> NearMidnightInstants(const ephem::Ephemeris& eph, int firstYear, int lastYear,
                                               double minutes);

// Compares table[y - firstYear] with astronomy for firstYear ... lastYear. A year that disagrees is
// AgreesIfFlipped when moving one of its uncertain new moons to the other side of midnight makes
// astronomy give the table's word.
std::vector<YearCheck> CheckLunarTable(const ephem::Ephemeris& eph, const uint32_t* table, int firstYear,
                                       int lastYear);

}  // namespace astro

// Solar terms and lunar months from the ephemeris.
#include "tools/astro_calendar.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace astro {

using ephem::Ephemeris;

double UtOfTt(double jdeTT) { return jdeTT - ephem::DeltaT(ephem::DecimalYear(jdeTT)) / 86400.0; }

double ChinaReckoningOffset(double jdUT) {
    // 1929-01-01 00:00 China Standard Time = 1928-12-31 16:00 UT.
    static const double kSwitch = ephem::JdFromCalendar(1928, 12, 31.0 + 16.0 / 24.0);
    return jdUT < kSwitch ? (7.0 + 45.0 / 60.0 + 40.0 / 3600.0) / 24.0 : 8.0 / 24.0;
}

TermRecord ComputeTerm(const Ephemeris& eph, int year, int month, int which) {
    const int index = 2 * (month - 1) + which;
    const double angle = ephem::NormalizeDegrees(285.0 + 15.0 * index);
    const double guess = ephem::JdFromCalendar(year, month, which == 0 ? 6.0 : 21.0);
    const double jde = eph.SolarLongitudeInstant(angle, guess);
    const double local = UtOfTt(jde) + 8.0 / 24.0;  // the table is in China Standard Time throughout

    int y, m, d;
    double fraction;
    ephem::CalendarFromJd(local, &y, &m, &d, &fraction);
    const double seconds = fraction * 86400.0;
    const int hour = static_cast<int>(seconds / 3600.0);
    const double minutes = (seconds - hour * 3600.0) / 60.0;
    const int wholeMinutes = static_cast<int>(minutes);
    const double restSeconds = (minutes - wholeMinutes) * 60.0;
    TermRecord r;
    r.day = d;
    r.hour = hour;
    r.minute = wholeMinutes + (restSeconds >= 30.0 ? 1 : 0);
    r.month = m;
    r.jdeTT = jde;
    if (y != year) throw std::runtime_error("solar term fell outside its year");
    return r;
}

namespace {

struct Instant {
    long day;        // civil day, Julian day number, China reckoning
    double minutes;  // minutes from the nearest midnight of that reckoning
};

Instant ChinaDay(double jdUT) {
    const double local = jdUT + ChinaReckoningOffset(jdUT);
    const long day = ephem::CivilDayOf(local);
    const double intoDay = (local + 0.5 - std::floor(local + 0.5)) * 1440.0;  // [0, 1440)
    return Instant{day, std::min(intoDay, 1440.0 - intoDay)};
}

}  // namespace

Lunations::Lunations(const Ephemeris& eph, int firstYear, int lastYear) {
    // Principal terms (中气: the Sun at multiples of 30°, each month's second term).
    for (int y = firstYear - 2; y <= lastYear + 1; ++y) {
        for (int m = 1; m <= 12; ++m) {
            const TermRecord t = ComputeTerm(eph, y, m, 1);
            const long day = ChinaDay(UtOfTt(t.jdeTT)).day;
            principalTermDays.push_back(day);
            if (m == 12) solsticeDays.push_back(day);
        }
    }
    // New moons from before the first solstice to after the last.
    const double from = ephem::JdFromCalendar(firstYear - 2, 11, 1.0);
    const double to = ephem::JdFromCalendar(lastYear + 2, 2, 1.0);
    for (double k = std::floor((from - 2451550.09766) / 29.530588861);; k += 1.0) {
        const double jde = eph.NewMoonInstant(Ephemeris::MeanNewMoon(k));
        if (jde > to) break;
        const Instant at = ChinaDay(UtOfTt(jde));
        newMoonDays.push_back(at.day);
        newMoonMinutesFromMidnight.push_back(at.minutes);
    }
}

std::vector<LunarMonth> NumberLunarMonths(const Lunations& lunations, long flippedNewMoon, long flippedDay) {
    std::vector<long> starts = lunations.newMoonDays;
    if (flippedNewMoon >= 0) starts[static_cast<size_t>(flippedNewMoon)] = flippedDay;

    // Index of the month holding a day: the last new moon on or before it.
    auto monthOf = [&](long day) {
        size_t i = 0;
        while (i + 1 < starts.size() && starts[i + 1] <= day) ++i;
        return i;
    };
    auto hasPrincipalTerm = [&](size_t i) {
        for (long z : lunations.principalTermDays)
            if (z >= starts[i] && z < starts[i + 1]) return true;
        return false;
    };

    std::vector<LunarMonth> months;
    const auto& solstice = lunations.solsticeDays;
    for (size_t s = 0; s + 1 < solstice.size(); ++s) {
        const size_t first = monthOf(solstice[s]);     // month 11 at the suì's start
        const size_t next = monthOf(solstice[s + 1]);  // month 11 of the next suì
        const bool leapSui = next - first == 13;
        bool leapTaken = false;
        int number = 11;
        for (size_t i = first; i < next; ++i) {
            LunarMonth m;
            m.newMoon = static_cast<long>(i);
            m.startDay = starts[i];
            m.leap = false;
            if (i != first) {
                if (leapSui && !leapTaken && !hasPrincipalTerm(i)) {
                    m.leap = true;
                    leapTaken = true;
                } else {
                    number = number % 12 + 1;
                }
            }
            m.number = number;
            months.push_back(m);
        }
    }
    return months;
}

std::vector<LunarYear> LunarYearsOf(const std::vector<LunarMonth>& months, int firstYear, int lastYear) {
    std::vector<LunarYear> years;
    for (size_t i = 0; i + 1 < months.size(); ++i) {
        if (months[i].number != 1 || months[i].leap) continue;
        int y, m, d;
        double f;
        ephem::CalendarFromJd(static_cast<double>(months[i].startDay), &y, &m, &d, &f);
        if (y < firstYear || y > lastYear) continue;
        LunarYear year{y, 0, {}};
        size_t j = i;
        do {
            const LunarMonth& mo = months[j];
            const long length = months[j + 1].startDay - mo.startDay;
            if (length != 29 && length != 30) throw std::runtime_error("lunar month of odd length");
            if (mo.leap) {
                year.word |= static_cast<uint32_t>(mo.number);
                if (length == 30) year.word |= 0x10000u;
            } else if (length == 30) {
                year.word |= 0x10000u >> mo.number;
            }
            year.months.push_back(mo);
            ++j;
        } while (j + 1 < months.size() && !(months[j].number == 1 && !months[j].leap));
        if (months[j].number != 1 || months[j].leap) throw std::runtime_error("lunar year runs past the computed months");
        year.months.push_back(months[j]);  // the next new year's month closes the last month
        years.push_back(year);
    }
    return years;
}

double UncertainMinutes(long civilDay) {
    // 1913-01-01 as a Julian day number.
    return civilDay < 2419769 ? 15.0 : 5.0;
}

namespace {

std::string DescribeNewMoon(const Lunations& lunations, const LunarMonth& m) {
    int y, mo, d;
    double f;
    ephem::CalendarFromJd(static_cast<double>(m.startDay), &y, &mo, &d, &f);
    char text[160];
    std::snprintf(text, sizeof text, "new moon of %smonth %d (%04d-%02d-%02d) lies %.1f minutes from midnight",
                  m.leap ? "leap " : "", m.number, y, mo, d,
                  lunations.newMoonMinutesFromMidnight[static_cast<size_t>(m.newMoon)]);
    return text;
}

}  // namespace

std::vector<NearMidnight> NearMidnightInstants(const Ephemeris& eph, int firstYear, int lastYear, double minutes) {
    std::vector<NearMidnight> out;
    auto near = [&](bool newMoon, int termIndex, double local, bool meanTime) {
        const double after = (local + 0.5 - std::floor(local + 0.5)) * 1440.0;
        if (after < minutes || after > 1440.0 - minutes)
            out.push_back(NearMidnight{newMoon, termIndex, ephem::CivilDayOf(local), after, meanTime});
    };
    for (int y = firstYear; y <= lastYear; ++y) {
        // The new moons of this year in its reckoning, then its terms.
        const double start = ephem::JdFromCalendar(y, 1, 1.0), end = ephem::JdFromCalendar(y + 1, 1, 1.0);
        for (double k = std::floor((start - 2451550.09766) / 29.530588861) - 1;; k += 1.0) {
            const double ut = UtOfTt(eph.NewMoonInstant(Ephemeris::MeanNewMoon(k)));
            const double local = ut + ChinaReckoningOffset(ut);
            if (local >= end) break;
            if (local >= start) near(true, -1, local, ChinaReckoningOffset(ut) < 8.0 / 24.0);
        }
        for (int index = 0; index < 24; ++index) {
            const TermRecord t = ComputeTerm(eph, y, index / 2 + 1, index % 2);
            near(false, index, UtOfTt(t.jdeTT) + 8.0 / 24.0, false);
        }
    }
    return out;
}

std::vector<YearCheck> CheckLunarTable(const Ephemeris& eph, const uint32_t* table, int firstYear, int lastYear) {
    const Lunations lunations(eph, firstYear, lastYear);
    const std::vector<LunarYear> years = LunarYearsOf(NumberLunarMonths(lunations), firstYear, lastYear);
    std::vector<YearCheck> checks;
    for (const LunarYear& year : years) {
        YearCheck c{YearCheck::Agrees, year.year, table[year.year - firstYear], year.word, {}};
        std::vector<const LunarMonth*> uncertain;
        for (const LunarMonth& m : year.months) {
            const size_t i = static_cast<size_t>(m.newMoon);
            if (lunations.newMoonMinutesFromMidnight[i] < UncertainMinutes(m.startDay)) {
                uncertain.push_back(&m);
                c.notes.push_back("uncertain: " + DescribeNewMoon(lunations, m));
            }
        }
        if (c.table != c.computed) {
            c.verdict = YearCheck::Disagrees;
            for (const LunarMonth* m : uncertain) {
                // The new moon lies just after midnight (its day is the later one) or just before.
                const size_t i = static_cast<size_t>(m->newMoon);
                for (long shift : {-1L, 1L}) {
                    std::vector<LunarYear> flipped;
                    try {
                        flipped = LunarYearsOf(NumberLunarMonths(lunations, m->newMoon, lunations.newMoonDays[i] + shift),
                                               year.year, year.year);
                    } catch (const std::runtime_error&) {
                        continue;  // that way round gives a month of 28 or 31 days: not this one
                    }
                    if (flipped.size() == 1 && flipped[0].word == c.table) {
                        c.verdict = YearCheck::AgreesIfFlipped;
                        c.notes.push_back("the table's word follows when that new moon falls one day " +
                                          std::string(shift < 0 ? "earlier" : "later"));
                    }
                }
            }
        }
        checks.push_back(c);
    }
    return checks;
}

}  // namespace astro

// The ephemeris against published check values, and the lunar-table check against the table.
#include "tools/ephemeris.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calendar/labels.h"
#include "calendar/lunar.h"
#include "tools/astro_calendar.h"

namespace {

const ephem::Ephemeris& Eph() {
    static const ephem::Ephemeris eph(VESTREL_ASTRO_DATA);
    return eph;
}

TEST(Ephemeris, SeriesHaveTheirPublishedTermCounts) {
    EXPECT_EQ(Eph().earth().TermCount(), 2425u);  // VSOP87D Earth: L 1080, B 348, R 997
    EXPECT_EQ(Eph().nutation().TermCount(), 106u);
    EXPECT_EQ(Eph().moon().TermCount(), 60u);
}

TEST(Ephemeris, Vsop87dEarthAtJ2000MatchesTheCheckFile) {
    // vsop87.chk, VSOP87D Earth, JD 2451545.0
    double l, b, r;
    Eph().earth().Position(2451545.0, &l, &b, &r);
    EXPECT_NEAR(l, 1.7519238681, 1e-10);
    EXPECT_NEAR(b, -0.0000039656, 1e-10);
    EXPECT_NEAR(r, 0.9833276819, 1e-10);
}

TEST(Ephemeris, NutationOfMeeusExample22a) {
    double dPsi, dEps;
    Eph().nutation().At(2446895.5, &dPsi, &dEps);  // 1987-04-10 0h TD
    EXPECT_NEAR(dPsi, -3.788, 0.001);
    EXPECT_NEAR(dEps, 9.443, 0.001);
}

TEST(Ephemeris, MoonOfMeeusExample47a) {
    double lon, dist;
    Eph().moon().Position(2448724.5, &lon, &dist);  // 1992-04-12 0h TD
    EXPECT_NEAR(lon, 133.162655, 1e-6);
    EXPECT_NEAR(dist, 368409.7, 0.1);
}

TEST(Ephemeris, DeltaTFollowsEspenakMeeus) {
    struct { double year, seconds; } rows[] = {{1900.0, -2.79}, {1920.0, 21.20}, {1950.0, 29.07},
                                               {1975.0, 45.45}, {2000.0, 63.86}, {2005.0, 64.67}};
    for (const auto& r : rows) EXPECT_NEAR(ephem::DeltaT(r.year), r.seconds, 0.01) << r.year;
}

TEST(Ephemeris, SolsticeAndNewMoonInstants) {
    // 2021 December solstice: 2021-12-21 15:59 UT (23:59 China time).
    const double jde = Eph().SolarLongitudeInstant(270.0, ephem::JdFromCalendar(2021, 12, 21.0));
    EXPECT_NEAR(ephem::NormalizeDegrees(Eph().SunApparentLongitude(jde)), 270.0, 1e-7);
    int y, m, d;
    double f;
    ephem::CalendarFromJd(astro::UtOfTt(jde), &y, &m, &d, &f);
    EXPECT_EQ(d, 21);
    EXPECT_NEAR(f * 24.0, 15.0 + 59.2 / 60.0, 2.0 / 60.0);
    // New moon of 2000-01-06 18:14 UT.
    const double nm = Eph().NewMoonInstant(ephem::Ephemeris::MeanNewMoon(0));
    ephem::CalendarFromJd(astro::UtOfTt(nm), &y, &m, &d, &f);
    EXPECT_EQ(d, 6);
    EXPECT_NEAR(f * 24.0, 18.0 + 14.0 / 60.0, 1.5 / 60.0);
}

// The frame of the Sun's longitude moves instants by 2.2 s: it must decide no day of the table.
TEST(SolarTermTable, NoDayDependsOnTheFk5Frame) {
    const ephem::Ephemeris fk5(VESTREL_ASTRO_DATA, true);
    int minutesChanged = 0;
    for (int y = 1900; y <= 2100; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (int which = 0; which < 2; ++which) {
                const astro::TermRecord a = astro::ComputeTerm(Eph(), y, m, which);
                const astro::TermRecord b = astro::ComputeTerm(fk5, y, m, which);
                ASSERT_EQ(a.day, b.day) << y << "-" << m << " term " << which + 1;
                ASSERT_EQ(a.month, m);
                minutesChanged += (a.hour != b.hour || a.minute != b.minute) ? 1 : 0;
            }
        }
    }
    EXPECT_GT(minutesChanged, 0);  // the two frames do differ
}

TEST(LunarTableCheck, TheTableAgreesWithAstronomy) {
    const auto checks = astro::CheckLunarTable(Eph(), kLunarYearInfo, kFirstLunarYear, kLastLunarYear);
    ASSERT_EQ(checks.size(), 201u);  // 1900 ... 2100
    for (const auto& c : checks) {
        EXPECT_NE(c.verdict, astro::YearCheck::Disagrees) << c.year;
        // 1906: the Qing calendar put the new moon of 1906-04-23 23:52 (Beijing mean time) on the
        // 24th; astronomy alone cannot settle a new moon 7.7 minutes from midnight in that era.
        const auto want = c.year == 1906 ? astro::YearCheck::AgreesIfFlipped : astro::YearCheck::Agrees;
        EXPECT_EQ(c.verdict, want) << c.year;
    }
    // 1933: the new moon fell about 3 minutes after midnight of 1933-07-23: uncertain, but it agrees.
    ASSERT_FALSE(checks[33].notes.empty());
    EXPECT_NE(checks[33].notes[0].find("1933-07-23"), std::string::npos);
}

// Every new moon and solar term of 1900 ... 2100 within 10 minutes of midnight: both tables put it on
// the day that holds the computed instant, the lunar table's one Qing-era word (1906) aside.
TEST(NearMidnight, TheTablesTakeTheDayHoldingTheInstant) {
    const auto list = astro::NearMidnightInstants(Eph(), 1900, 2100, 10.0);
    int newMoons = 0;
    for (const astro::NearMidnight& n : list) {
        int y, m, d;
        double f;
        ephem::CalendarFromJd(static_cast<double>(n.day), &y, &m, &d, &f);
        ASSERT_TRUE(n.minutesAfter < 10.0 || n.minutesAfter > 1430.0) << y << "-" << m << "-" << d;
        if (n.newMoon) {
            ++newMoons;
            EXPECT_EQ(LunarDate::FromSolar(y, m, d).day, y == 1906 ? 30 : 1) << y << "-" << m << "-" << d;
        } else {
            SolarTermTime t[2];
            SolarTermDays(y, m, &t[0], &t[1]);
            EXPECT_EQ(n.termIndex / 2 + 1, m) << y << "-" << m << "-" << d;
            EXPECT_EQ(t[n.termIndex % 2].day, d) << y << "-" << m << "-" << d;
        }
    }
    EXPECT_EQ(list.size(), 98u);
    EXPECT_EQ(newMoons, 35);
}

// The check must catch the usual table's errors of 1933 and 2033.
TEST(LunarTableCheck, CatchesTheUnmendedWordsOf1933And2033) {
    uint32_t unmended[201];
    std::copy(kLunarYearInfo, kLunarYearInfo + 201, unmended);
    unmended[1933 - 1900] = 0x06E95;
    unmended[2033 - 1900] = 0x04BD7;
    const auto checks = astro::CheckLunarTable(Eph(), unmended, 1900, 2100);
    ASSERT_EQ(checks.size(), 201u);
    EXPECT_EQ(checks[2033 - 1900].verdict, astro::YearCheck::Disagrees);
    EXPECT_EQ(checks[2033 - 1900].computed, 0x04AFBu);
    // 1933 hinges on a new moon 3 minutes after midnight: the unmended word agrees only if it fell
    // before midnight, which astronomy says it did not.
    EXPECT_EQ(checks[1933 - 1900].verdict, astro::YearCheck::AgreesIfFlipped);
    EXPECT_EQ(checks[1933 - 1900].computed, 0x16A95u);
}

}  // namespace

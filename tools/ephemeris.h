// The Sun's and the Moon's apparent geocentric longitudes, ΔT, and the instants of solar terms and
// new moons, from the series in tools/data. Build-time code of the tools; not shipped.
#pragma once

#include <string>
#include <vector>

namespace ephem {

constexpr double kJ2000 = 2451545.0;  // JD of 2000-01-01 12:00 TT

// One series term: a * cos(b + c * t).
struct Term {
    double a, b, c;
};

// VSOP87 version D for the Earth: [variable 0..2 = L, B, R][power of t 0..5] -> terms.
class Vsop87Earth {
public:
    // Reads the file in the Bureau des Longitudes layout; throws std::runtime_error when it can't.
    explicit Vsop87Earth(const std::string& path);
    // Heliocentric L, B (radians, ecliptic and equinox of date) and R (AU) at JDE (TDB ~ TT).
    void Position(double jde, double* l, double* b, double* r) const;
    size_t TermCount() const;

private:
    std::vector<Term> series_[3][6];
};

// One nutation term: multipliers of M', M, F, D, Ω and the coefficients (0.0001").
struct NutationTerm {
    int mMoon, mSun, f, d, om;
    double a, b, c, dd;
};

class Nutation {
public:
    explicit Nutation(const std::string& path);
    // Nutation in longitude and obliquity, arcseconds, at JDE.
    void At(double jde, double* dPsi, double* dEps) const;
    size_t TermCount() const { return terms_.size(); }

private:
    std::vector<NutationTerm> terms_;
};

struct MoonTerm {
    int d, m, mp, f;
    double sl, sr;
};

class MoonTheory {
public:
    explicit MoonTheory(const std::string& path);
    // Geometric geocentric longitude (degrees, [0, 360)) and distance (km) at JDE.
    void Position(double jde, double* longitude, double* distanceKm) const;
    size_t TermCount() const { return terms_.size(); }

private:
    std::vector<MoonTerm> terms_;
};

// ΔT = TT - UT in seconds for a decimal year, from the polynomials of Espenak and Meeus (NASA,
// "Five Millennium Canon of Solar Eclipses", 2006), valid 1860 ... 2150. The alternative not
// taken: Morrison-Stephenson's spline (2004) differs by under a second over 1900 ... 2054.
double DeltaT(double decimalYear);

// Decimal year of a JD, for DeltaT (the polynomials are fitted at year + (month - 0.5) / 12).
double DecimalYear(double jd);

double NormalizeDegrees(double deg);  // [0, 360)
double SignedDegrees(double deg);     // (-180, 180]

class Ephemeris {
public:
    // dataDir holds VSOP87D.ear, nutation-iau1980.tsv and moon-longitude-distance.tsv. With fk5,
    // the Sun's longitude is converted from VSOP87's dynamical equinox to the FK5 frame.
    explicit Ephemeris(const std::string& dataDir, bool fk5 = false);

    // Apparent geocentric longitude of the Sun (degrees, [0, 360)) at JDE: VSOP87D (in the FK5
    // frame when asked), plus nutation in longitude and the annual aberration (-20.4898" / R).
    //
    // The calendar's table is computed in VSOP87's own frame: so it reproduces the published
    // records of the table exactly (1900-01-20 19:32, 1914-06-06 21:60, 26 records of 1900 ... 2054
    // holding minute 60). The FK5 frame moves every instant 2.2 s later and changes 132 of the 3,720
    // minutes of 1900 ... 2054 but no day of 1900 ... 2100 (a test checks that no day depends on it).
    double SunApparentLongitude(double jde) const;
    // Apparent geocentric longitude of the Moon (degrees): geometric + nutation in longitude.
    double MoonApparentLongitude(double jde) const;

    // JDE at which the Sun's apparent longitude reaches angle (degrees), the solution nearest to
    // guess (within about ±20 days); solved to under 1e-6 day.
    double SolarLongitudeInstant(double angle, double guess) const;
    // JDE of the new moon nearest to guess (within about ±10 days): apparent longitudes equal.
    double NewMoonInstant(double guess) const;
    // JDE of the k-th mean new moon counted from the one of 2000-01-06 (Meeus 49.1).
    static double MeanNewMoon(double k);

    const Vsop87Earth& earth() const { return earth_; }
    const Nutation& nutation() const { return nutation_; }
    const MoonTheory& moon() const { return moon_; }

private:
    bool fk5_;
    Vsop87Earth earth_;
    Nutation nutation_;
    MoonTheory moon_;
};

// Julian day number of the civil date (Gregorian) containing local JD jdLocal.
long CivilDayOf(double jdLocal);
// Gregorian date of a JD (fractional day kept in *dayFraction, 0 at midnight).
void CalendarFromJd(double jd, int* year, int* month, int* day, double* dayFraction);
double JdFromCalendar(int year, int month, double day);

}  // namespace ephem

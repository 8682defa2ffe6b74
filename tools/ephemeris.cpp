// Sun and Moon positions from VSOP87D, the IAU 1980 nutation and the truncated ELP-2000/82 series.
#include "tools/ephemeris.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace ephem {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;
constexpr double kArcsec = kDeg / 3600.0;

std::ifstream OpenOrThrow(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot open " + path);
    return in;
}

// Data rows of a .tsv file of tools/data: '#' lines and the header row skipped.
std::vector<std::vector<double>> ReadTsv(const std::string& path, size_t columns) {
    std::ifstream in = OpenOrThrow(path);
    std::vector<std::vector<double>> rows;
    std::string line;
    bool header = true;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (header) {
            header = false;
            continue;
        }
        std::istringstream fields(line);
        std::vector<double> row;
        double v;
        while (fields >> v) row.push_back(v);
        if (row.size() != columns) throw std::runtime_error("bad row in " + path + ": " + line);
        rows.push_back(row);
    }
    return rows;
}

double Poly(double t, std::initializer_list<double> c) {
    double sum = 0.0, p = 1.0;
    for (double k : c) {
        sum += k * p;
        p *= t;
    }
    return sum;
}

}  // namespace

double NormalizeDegrees(double deg) {
    double d = std::fmod(deg, 360.0);
    return d < 0 ? d + 360.0 : d;
}

double SignedDegrees(double deg) {
    double d = NormalizeDegrees(deg);
    return d > 180.0 ? d - 360.0 : d;
}

// ---------------------------------------------------------------------------------------------------
// VSOP87D

Vsop87Earth::Vsop87Earth(const std::string& path) {
    std::ifstream in = OpenOrThrow(path);
    std::string line;
    int variable = -1, power = -1;
    while (std::getline(in, line)) {
        if (line.find("VSOP87") != std::string::npos) {
            // " VSOP87 VERSION D4    EARTH     VARIABLE 1 (LBR)       *T**0    559 TERMS ..."
            const size_t v = line.find("VARIABLE");
            const size_t t = line.find("*T**");
            if (v == std::string::npos || t == std::string::npos) throw std::runtime_error("bad header: " + line);
            variable = std::stoi(line.substr(v + 8)) - 1;
            power = std::stoi(line.substr(t + 4));
            if (variable < 0 || variable > 2 || power < 0 || power > 5)
                throw std::runtime_error("bad header: " + line);
            continue;
        }
        if (variable < 0) continue;
        std::istringstream fields(line);
        std::vector<std::string> words;
        std::string w;
        while (fields >> w) words.push_back(w);
        if (words.size() < 3) continue;
        // The last three numbers of a term line are A, B and C.
        const size_t n = words.size();
        series_[variable][power].push_back(
            Term{std::stod(words[n - 3]), std::stod(words[n - 2]), std::stod(words[n - 1])});
    }
    if (series_[0][0].empty() || series_[1][0].empty() || series_[2][0].empty())
        throw std::runtime_error("no VSOP87 series in " + path);
}

size_t Vsop87Earth::TermCount() const {
    size_t n = 0;
    for (const auto& variable : series_)
        for (const auto& terms : variable) n += terms.size();
    return n;
}

void Vsop87Earth::Position(double jde, double* l, double* b, double* r) const {
    const double t = (jde - kJ2000) / 365250.0;  // Julian millennia
    double out[3];
    for (int v = 0; v < 3; ++v) {
        double sum = 0.0, tp = 1.0;
        for (int p = 0; p < 6; ++p) {
            double s = 0.0;
            for (const Term& term : series_[v][p]) s += term.a * std::cos(term.b + term.c * t);
            sum += s * tp;
            tp *= t;
        }
        out[v] = sum;
    }
    *l = std::fmod(out[0], 2 * kPi);
    if (*l < 0) *l += 2 * kPi;
    *b = out[1];
    *r = out[2];
}

// ---------------------------------------------------------------------------------------------------
// Nutation, IAU 1980 (Meeus chapter 22 for the fundamental arguments)

Nutation::Nutation(const std::string& path) {
    for (const auto& row : ReadTsv(path, 9)) {
        terms_.push_back(NutationTerm{static_cast<int>(row[0]), static_cast<int>(row[1]), static_cast<int>(row[2]),
                                      static_cast<int>(row[3]), static_cast<int>(row[4]), row[5], row[6], row[7],
                                      row[8]});
    }
    if (terms_.size() != 106) throw std::runtime_error("expected 106 nutation terms in " + path);
}

void Nutation::At(double jde, double* dPsi, double* dEps) const {
    const double t = (jde - kJ2000) / 36525.0;
    const double d = Poly(t, {297.85036, 445267.111480, -0.0019142, 1.0 / 189474.0}) * kDeg;
    const double m = Poly(t, {357.52772, 35999.050340, -0.0001603, -1.0 / 300000.0}) * kDeg;
    const double mp = Poly(t, {134.96298, 477198.867398, 0.0086972, 1.0 / 56250.0}) * kDeg;
    const double f = Poly(t, {93.27191, 483202.017538, -0.0036825, 1.0 / 327270.0}) * kDeg;
    const double om = Poly(t, {125.04452, -1934.136261, 0.0020708, 1.0 / 450000.0}) * kDeg;
    double psi = 0.0, eps = 0.0;
    for (const NutationTerm& n : terms_) {
        const double arg = n.mMoon * mp + n.mSun * m + n.f * f + n.d * d + n.om * om;
        psi += (n.a + n.b * t) * std::sin(arg);
        eps += (n.c + n.dd * t) * std::cos(arg);
    }
    *dPsi = psi * 1e-4;
    *dEps = eps * 1e-4;
}

// ---------------------------------------------------------------------------------------------------
// Moon, truncated ELP-2000/82 (Meeus chapter 47)

MoonTheory::MoonTheory(const std::string& path) {
    for (const auto& row : ReadTsv(path, 6)) {
        terms_.push_back(MoonTerm{static_cast<int>(row[0]), static_cast<int>(row[1]), static_cast<int>(row[2]),
                                  static_cast<int>(row[3]), row[4], row[5]});
    }
    if (terms_.size() != 60) throw std::runtime_error("expected 60 lunar terms in " + path);
}

void MoonTheory::Position(double jde, double* longitude, double* distanceKm) const {
    const double t = (jde - kJ2000) / 36525.0;
    const double lp = Poly(t, {218.3164477, 481267.88123421, -0.0015786, 1.0 / 538841.0, -1.0 / 65194000.0});
    const double d = Poly(t, {297.8501921, 445267.1114034, -0.0018819, 1.0 / 545868.0, -1.0 / 113065000.0});
    const double m = Poly(t, {357.5291092, 35999.0502909, -0.0001536, 1.0 / 24490000.0});
    const double mp = Poly(t, {134.9633964, 477198.8675055, 0.0087414, 1.0 / 69699.0, -1.0 / 14712000.0});
    const double f = Poly(t, {93.2720950, 483202.0175233, -0.0036539, -1.0 / 3526000.0, 1.0 / 863310000.0});
    const double a1 = 119.75 + 131.849 * t;
    const double a2 = 53.09 + 479264.290 * t;
    const double e = 1.0 - 0.002516 * t - 0.0000074 * t * t;
    double sl = 0.0, sr = 0.0;
    for (const MoonTerm& term : terms_) {
        const double arg = (term.d * d + term.m * m + term.mp * mp + term.f * f) * kDeg;
        const double factor = term.m == 0 ? 1.0 : (std::abs(term.m) == 1 ? e : e * e);
        sl += term.sl * factor * std::sin(arg);
        sr += term.sr * factor * std::cos(arg);
    }
    sl += 3958.0 * std::sin(a1 * kDeg) + 1962.0 * std::sin((lp - f) * kDeg) + 318.0 * std::sin(a2 * kDeg);
    *longitude = NormalizeDegrees(lp + sl / 1e6);
    *distanceKm = 385000.56 + sr / 1000.0;
}

// ---------------------------------------------------------------------------------------------------
// Time

double DeltaT(double y) {
    if (y < 1900) {
        const double t = y - 1860;
        return Poly(t, {7.62, 0.5737, -0.251754, 0.01680668, -0.0004473624, 1.0 / 233174.0});
    }
    if (y < 1920) {
        const double t = y - 1900;
        return Poly(t, {-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197});
    }
    if (y < 1941) {
        const double t = y - 1920;
        return Poly(t, {21.20, 0.84493, -0.076100, 0.0020936});
    }
    if (y < 1961) {
        const double t = y - 1950;
        return Poly(t, {29.07, 0.407, -1.0 / 233.0, 1.0 / 2547.0});
    }
    if (y < 1986) {
        const double t = y - 1975;
        return Poly(t, {45.45, 1.067, -1.0 / 260.0, -1.0 / 718.0});
    }
    if (y < 2005) {
        const double t = y - 2000;
        return Poly(t, {63.86, 0.3345, -0.060374, 0.0017275, 0.000651814, 0.00002373599});
    }
    if (y < 2050) {
        const double t = y - 2000;
        return Poly(t, {62.92, 0.32217, 0.005589});
    }
    const double u = (y - 1820) / 100.0;
    return -20.0 + 32.0 * u * u - 0.5628 * (2150.0 - y);
}

double JdFromCalendar(int year, int month, double day) {
    // Meeus chapter 7, Gregorian calendar.
    if (month <= 2) {
        year -= 1;
        month += 12;
    }
    const int a = year / 100;
    const int b = 2 - a + a / 4;
    return std::floor(365.25 * (year + 4716)) + std::floor(30.6001 * (month + 1)) + day + b - 1524.5;
}

void CalendarFromJd(double jd, int* year, int* month, int* day, double* dayFraction) {
    const double shifted = jd + 0.5;
    const long z = static_cast<long>(std::floor(shifted));
    const double f = shifted - z;
    const long alpha = static_cast<long>((z - 1867216.25) / 36524.25);
    const long a = z + 1 + alpha - alpha / 4;
    const long b = a + 1524;
    const long c = static_cast<long>((b - 122.1) / 365.25);
    const long d = static_cast<long>(365.25 * c);
    const long e = static_cast<long>((b - d) / 30.6001);
    *day = static_cast<int>(b - d - static_cast<long>(30.6001 * e));
    *month = static_cast<int>(e < 14 ? e - 1 : e - 13);
    *year = static_cast<int>(*month > 2 ? c - 4716 : c - 4715);
    *dayFraction = f;
}

double DecimalYear(double jd) {
    int y, m, d;
    double f;
    CalendarFromJd(jd, &y, &m, &d, &f);
    return y + (m - 0.5) / 12.0;
}

long CivilDayOf(double jdLocal) { return static_cast<long>(std::floor(jdLocal + 0.5)); }

// ---------------------------------------------------------------------------------------------------
// Apparent longitudes and instants

Ephemeris::Ephemeris(const std::string& dataDir, bool fk5)
    : fk5_(fk5),
      earth_(dataDir + "/VSOP87D.ear"),
      nutation_(dataDir + "/nutation-iau1980.tsv"),
      moon_(dataDir + "/moon-longitude-distance.tsv") {}

double Ephemeris::SunApparentLongitude(double jde) const {
    double l, b, r;
    earth_.Position(jde, &l, &b, &r);
    // Geocentric Sun: opposite the Earth.
    const double theta = l / kDeg + 180.0;
    const double beta = -b / kDeg;
    // Optionally from VSOP87's dynamical ecliptic and equinox to the FK5 frame (Meeus 32.3): the
    // longitude drops by 0.09033", which moves a solar term 2.2 s later. The latitude's correction
    // is not needed here.
    double dTheta = 0.0;
    if (fk5_) {
        const double t = (jde - kJ2000) / 36525.0;
        const double lambdaPrime = (theta - 1.397 * t - 0.00031 * t * t) * kDeg;
        dTheta = (-0.09033 + 0.03916 * (std::cos(lambdaPrime) + std::sin(lambdaPrime)) * std::tan(beta * kDeg)) / 3600.0;
    }
    double dPsi, dEps;
    nutation_.At(jde, &dPsi, &dEps);
    const double aberration = -20.4898 / r / 3600.0;
    return NormalizeDegrees(theta + dTheta + dPsi / 3600.0 + aberration);
}

double Ephemeris::MoonApparentLongitude(double jde) const {
    double lon, dist, dPsi, dEps;
    moon_.Position(jde, &lon, &dist);
    nutation_.At(jde, &dPsi, &dEps);
    return NormalizeDegrees(lon + dPsi / 3600.0);
}

double Ephemeris::SolarLongitudeInstant(double angle, double guess) const {
    double jde = guess;
    for (int i = 0; i < 20; ++i) {
        const double diff = SignedDegrees(angle - SunApparentLongitude(jde));
        // The Sun moves 0.953 ... 1.020 degrees a day; the step converges quadratically enough.
        const double step = diff / 0.9856;
        jde += step;
        if (std::abs(step) < 1e-7) break;
    }
    return jde;
}

double Ephemeris::NewMoonInstant(double guess) const {
    double jde = guess;
    for (int i = 0; i < 30; ++i) {
        const double diff = SignedDegrees(SunApparentLongitude(jde) - MoonApparentLongitude(jde));
        const double step = diff / 12.1907;  // mean daily motion of the Moon relative to the Sun
        jde += step;
        if (std::abs(step) < 1e-7) break;
    }
    return jde;
}

double Ephemeris::MeanNewMoon(double k) {
    const double t = k / 1236.85;
    return 2451550.09766 + 29.530588861 * k + 0.00015437 * t * t - 0.000000150 * t * t * t +
           0.00000000073 * t * t * t * t;
}

}  // namespace ephem

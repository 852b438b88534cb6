// Constants of the astronomical routines: one home for each, with its meaning
// and source. Every file that needs one includes this header.
#pragma once

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadToDeg = 180.0 / kPi;
constexpr double kDegToRad = kPi / 180.0;
constexpr double kSqrt2 = 1.4142135623730951; // the parabolic solvers' square root of 2

// Epochs as Julian dates.
constexpr double JD_J2000 = 2451545.0;     // J2000.0: 2000-01-01 12h
constexpr double JD_B1950 = 2433282.0;     // the system's B1950.0 (1949-12-31 12h)
constexpr double JD_GREGORIAN = 2299160.5; // 1582-10-15 0h, first Gregorian day

constexpr double kDaysPerJulianCentury = 36525.0;

constexpr double kKmPerAu = 149597870.0;   // astronomical unit, km (IAU 1976)

// The Earth's equatorial radius, km, in two values that must stay different:
// the Moon's distance comes from its parallax with the IAU 1976 radius, while
// the Earth's shadow on the Moon is drawn with the older 6378.16 km (IAU 1964)
// that its 0.76 umbra factor was fitted with. Making them one moves either the
// Moon's distance or the drawn shadow.
constexpr double kEarthRadiusKm = 6378.14;          // IAU 1976
constexpr double kEarthRadiusKmShadow = 6378.16;    // IAU 1964, lunar-eclipse drawing

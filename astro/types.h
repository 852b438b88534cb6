// Shared value types of the computation library. Plain records, no behaviour.
#pragma once

#include <cstdint>

// A direction or a position (AU), double precision.
struct Vec3 {
    double x, y, z;
};

// 3x3 matrix, row by row: element (r, c) at m[3 * r + c]; multiplies column vectors.
struct Mat3 {
    double m[9];
};

// Q14 fixed point: 16384 stands for 1.0.
struct Vec3Q14 {
    int32_t x, y, z;
};

struct Mat3Q14 {
    int32_t m[9];
};

// Degrees (or hours), minutes, seconds with a separate sign so that -0 30' survives.
struct Dms {
    int32_t sign; // +1 or -1
    int32_t degrees;
    int32_t minutes;
    double seconds;
};

// A clock time. Years are astronomical (year 0 exists); before 1582-10-15 the
// date is in the Julian calendar. zone: hours to add to UT to get the clock time.
struct DateTime {
    int32_t year, month, day, hour, minute;
    double second;
    double zone;
};

// The first six fields of a DateTime read as counts (the chart's step).
struct TimeStep {
    int32_t year, month, day, hour, minute;
    double second;
};

// A date with the site and the derived quantities coordinate conversion needs.
// Fields after altitudeM are derived and kept current by skyContextUpdate.
struct SkyContext {
    DateTime date;          // local clock time with its zone
    double latitudeDeg;     // north positive
    double longitudeDeg;    // east positive
    double altitudeM;       // metres above sea level
    double siderealDeg;     // local mean sidereal time, [0, 360)
    double jd;              // Julian date, UT
    double yearsFrom1975;   // time argument of the Sun series
    double centuriesJ2000;  // Julian centuries from J2000.0
    double obliquityDeg;    // mean obliquity of the ecliptic of the date
    double sinObliquity, cosObliquity;
    Mat3 precessionToJ2000; // V(J2000) = P x V(date)
};

// Records of comets and minor planets: the elements read from an element
// file, the state a Kepler solver returns, the computed position row and the
// tail row. Plain records; the routines that fill them are in astro/orbits.h
// and astro/comet_tails.h.
#pragma once

#include <cstdint>

#include "astro/types.h"

// Sizes of the text fields of OrbitalElements, each with its terminator.
constexpr int kElementIdSize = 7;           // 6 characters
constexpr int kElementDesignationSize = 11; // 10 characters, "%-10s"
constexpr int kElementNameSize = 31;        // 30 characters
constexpr int kElementExtensionSize = 16;   // 15 characters, "%-15s"
constexpr int kElementLineSize = 206;       // a whole 205-byte line

// One comet or minor planet as read from its element file.
// Angles are degrees referred to the equinox of the year `equinox`.
struct OrbitalElements {
    char type;                                  // 'C' comet, 'M' minor planet, 'N' never computed
    char id[kElementIdSize];
    char designation[kElementDesignationSize];
    char name[kElementNameSize];
    char extension[kElementExtensionSize];
    double perihelionJd;       // T, Julian date
    double eccentricity;       // e
    double perihelionDistance; // q, AU
    double argPerihelion;      // omega, degrees
    double ascendingNode;      // Omega, degrees
    double inclination;        // i, degrees
    double equinox;            // year of the angles (2000 when blank)
    double absMagnitude;       // H (6 when blank)
    double slope;              // K (10 when blank)
    double dustTailLength;     // AU (0.01 when blank)
    double ionTailLength;      // AU (0.01 when blank)
    double dustParameter;      // radiation-pressure parameter (1 when blank)
    char lineText[kElementLineSize];
};

// Two-body state in the orbit plane: x towards perihelion, y along the motion
// at perihelion, z and vz always 0. r, trueAnomaly and the velocity are only
// written when the caller asks for the velocity.
struct OrbitState {
    double x, y, z;       // AU
    double vx, vy, vz;    // AU per day
    double r;             // heliocentric distance, AU
    double trueAnomaly;   // radians, atan2(y, x)
};

// Number of points of an orbit outline made when a body is added.
constexpr int kSmallBodyOutlineSegments = 160;
constexpr int kSmallBodyOutlinePoints = kSmallBodyOutlineSegments + 1;

// One loaded comet or minor planet as computed for the chart's time.
struct BodyPosition {
    char type;             // copied from the element record when the body is added
    double raJ2000;        // degrees, [0, 360), referred to the equinoxJd of the computation
    double decJ2000;       // degrees
    double raDate;         // degrees, [0, 360), equinox of the date of the computation
    double decDate;        // degrees
    double sunDistance;    // r, AU
    double earthDistance;  // delta, AU
    Vec3 geoUnit;          // geocentric unit vector, same frame as raJ2000
    Vec3Q14 geoUnitQ14;    // the same in Q14
    Vec3 helio;            // heliocentric position, AU, same frame
    int32_t magnitude10;   // floor(10 m + 0.5)
    int32_t outlineCount;  // kSmallBodyOutlinePoints, or 0 without an outline
    Vec3* outline;         // J2000 heliocentric points, AU; malloc'd, owned by the row
    double jd;             // Julian date of the last computation; 0 when added
};

// Sample counts of a comet's tails.
constexpr int kTailAges = 10;
constexpr int kDustTailPoints = 2 * kTailAges; // two particle sizes per age
constexpr int kIonTailPoints = kTailAges;

// A comet's dust and ion tails; each half carries its own count and stamp so
// that either can be recomputed alone. Dust point 2j + s is the grain of size
// s released j tenths of the maximum dust age ago; point 0 of each tail is the
// nucleus. Directions and positions are equatorial J2000.
struct CometTail {
    int32_t dustCount;                 // kTailAges, or 0 without a dust tail
    Vec3 dustGeo[kDustTailPoints];     // geocentric unit vectors
    Vec3 dustHelio[kDustTailPoints];   // heliocentric positions, AU
    double dustJd;                     // Julian date of the last dust computation; 0 when added
    int32_t ionCount;                  // kTailAges, or 0 without an ion tail
    Vec3 ionGeo[kIonTailPoints];
    Vec3 ionHelio[kIonTailPoints];
    double ionJd;
    double spreadJd;                   // Julian date of the spreads below; 0 when added
    double ionSpreadAu, dustSpreadAu;  // how far from the nucleus each tail can reach (cometTailSpread)
};

// Computed places of the Sun, the Moon, the planets and the Galilean moons, as
// the chart state holds them. Plain records; the theories in sun_moon.h,
// planets.h and galilean.h fill them.
//
// Angles in degrees, right ascensions in degrees [0, 360) (planets (0, 360]),
// distances of the Sun and planets in AU, of the Moon in km.
#pragma once

#include <cstdint>

#include "astro/types.h"

// The chart's Sun. ephemSun fills every field up to earthHelio; the ephemeris
// update writes the eclipse fields and the horizontal place.
struct SunRecord {
    double raJ2000Deg, decJ2000Deg;   // geocentric, J2000.0
    double raDateDeg, decDateDeg;     // geocentric, equinox of date
    double eclLonDeg, eclLatDeg;      // ecliptic of date; latitude always 0
    double distanceAu;
    double semidiameterDeg;           // atan(696000 km / distance)
    double eclipseMagnitude;          // -1.0: no eclipse
    double eclipsePositionAngleDeg;   // kept from the last overlap
    double pDeg;                      // position angle of the rotation axis
    double b0Deg;                     // heliographic latitude of the disc centre
    double etaDeg;                    // auxiliary angle of the physical ephemeris
    double l0Deg;                     // Carrington longitude of the disc centre
    int32_t earthFixed[3];            // earthHelio by packPositionFixed
    Vec3 unit;                        // towards the Sun, J2000.0
    Vec3Q14 unitQ14;
    Vec3 earthHelio;                  // the Earth, heliocentric, AU, J2000.0 equatorial
    double azimuthDeg, altitudeDeg;   // from the south through the west
};

// The chart's Moon. The axis angle and both librations are 0 outside
// JD 1538798 to 3364651 (exclusive).
struct MoonRecord {
    double raJ2000Deg, decJ2000Deg;       // topocentric, J2000.0
    double raDateDeg, decDateDeg;         // topocentric, equinox of date
    double raGeoJ2000Deg, decGeoJ2000Deg; // geocentric, J2000.0
    double eclLonDeg, eclLatDeg;          // geocentric, ecliptic of date
    double azimuthDeg, altitudeDeg;       // of the topocentric place; azimuth from the south
    double distanceKm;                    // topocentric
    double geoDistanceKm;                 // geocentric
    double parallaxDeg;                   // horizontal parallax; only the series theory sets it
    double semidiameterDeg;               // topocentric, atan(1738 km / distance)
    double geoSemidiameterDeg;
    double axisAngleDeg;                  // position angle of the Moon's axis
    double phase;                         // illuminated fraction, 0 to 1
    double limbAngleDeg;                  // position angle of the bright limb
    double librationLonDeg, librationLatDeg;
    Vec3 unit;                            // of the topocentric J2000.0 place
    Vec3Q14 unitQ14;
    double siteLatitudeDeg, siteLongitudeDeg, siteAltitudeM; // the site it was computed for
    int32_t level;                        // detail level it was computed at
    double ageDays;                       // moonAge, stored by the ephemeris update
    double lunarEclipseMagnitude;         // of the last drawn frame; -1.0 when the shadow misses
};

// One computed planet (ObjectId 0 Mercury to 7 Pluto).
struct SolarBodyRecord {
    double raDeg, decDeg;          // geocentric, J2000.0; right ascension in (0, 360]
    double helioLonDeg, helioLatDeg; // heliocentric ecliptic of date
    double deltaAu;                // distance from the Earth
    double rAu;                    // distance from the Sun
    double diameterArcsec;         // apparent diameter
    int32_t magnitude10;           // visual magnitude in tenths, floor(10 m + 0.5)
    double phase;                  // illuminated fraction (ephemeris update)
    double limbAngleDeg;           // bright-limb position angle (ephemeris update)
    double poleAngleDeg;           // Jupiter, Saturn: position angle of the (ring) pole
    double poleTiltDeg;            // angle between that pole and the line of sight; 90 edge-on
    Vec3 unit;                     // geocentric direction, J2000.0
    Vec3Q14 unitQ14;
    Vec3 helio;                    // heliocentric, AU, J2000.0 equatorial
    double jd;                     // Julian date it was computed for
    int32_t level;                 // detail level it was computed at
};

// One of the four rows Io, Europa, Ganymede, Callisto. Only the first row's
// stamp is written and read; it stands for the set.
struct GalileanMoonRow {
    Vec3 unit;                     // J2000.0 equatorial
    Vec3Q14 unitQ14;
    double jd;
};

// ObjectId: the body ids of the whole program. The planets' ids index the
// planet tables; the comets and minor planets count up from their bases.
enum : int32_t {
    kObjectEarth = -3,
    kObjectSun = -2,
    kObjectMoon = -1,
    kObjectMercury = 0,
    kObjectVenus = 1,
    kObjectMars = 2,
    kObjectJupiter = 3,
    kObjectSaturn = 4,
    kObjectUranus = 5,
    kObjectNeptune = 6,
    kObjectPluto = 7,
    kObjectIo = 8,                 // the Galilean moons in order: Io, Europa, Ganymede, Callisto
    kObjectCallisto = 11,
    kObjectGroupPlanets = 100,     // the groups PLANET, COMET, MINORPLANET of the display commands
    kObjectGroupComets = 101,
    kObjectGroupMinorPlanets = 102,
    kObjectCometBase = 10000,      // + i: loaded comet i
    kObjectMinorPlanetBase = 20000, // + i: loaded minor planet i
};

enum {
    kPlanetCount = 8,              // ObjectId 0 to 7
    kGalileanMoonCount = 4,
    kOrbitOutlineCount = 9,        // Mercury, Venus, Earth, Mars ... Pluto
    kOrbitOutlinePoints = 96,      // 3.75 degrees of eccentric anomaly apart
};

// The solar-system views' orbit outlines: AU, J2000.0 equatorial, each starting
// at perihelion and running in the direction of motion.
typedef Vec3 PlanetOrbitOutlines[kOrbitOutlineCount][kOrbitOutlinePoints];

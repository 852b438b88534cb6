// PositionKind: what a PositionSpec, a LOOK/TRACK target, a pick or a
// user-object row names a place on the sky by.
#pragma once

#include <cstdint>

// PositionKind values: coordinate systems 1..6, object kinds from 50 on.
enum : int32_t {
    kPosHrz = 1,        // azimuth (from the south through the west), altitude
    kPosEqt = 2,        // J2000 right ascension (degrees), declination
    kPosEqtB1950 = 3,   // B1950 right ascension (degrees), declination
    kPosEqtDate = 4,    // right ascension and declination of the date, degrees
    kPosEcl = 5,        // ecliptic longitude, latitude of the date
    kPosGal = 6,        // galactic longitude, latitude
    kPosStar = 50,      // index: row of the bright-star table
    kPosBody = 51,      // index: ObjectId
    kPosCons = 52,      // index: row of the constellation table
    kPosNebula = 53,    // index: row of the combined deep-sky lists
    kPosJupiterMoon = 54, // index: 0 Io .. 3 Callisto
    kPosUserObject = 55,  // index: running over all loaded user-object files
    kPosNamedPoint = 56,  // index: row of the named sky points (LMC, SMC)
    kPosScreen = 58,    // values: pixel x, y
    kPosViewCenter = 59,
    kPosSkyMark = 60,   // index: running over all sky-mark files
};

// Kinds 1 to 6: the values are a coordinate pair of that system.
inline bool positionIsCoordinates(int32_t kind) { return kind >= kPosHrz && kind <= kPosGal; }

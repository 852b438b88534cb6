// Element records built in the tests (the element files come later).
#pragma once

#include <cstring>

#include "astro/orbit_records.h"

// Elements with the element file's defaults for the fields not given.
inline OrbitalElements orbitElements(char type, double q, double e, double perihelionJd,
                                     double w = 0, double node = 0, double inclination = 0,
                                     double H = 6, double K = 10)
{
    OrbitalElements el;
    std::memset(&el, 0, sizeof el);
    el.type = type;
    el.perihelionJd = perihelionJd;
    el.eccentricity = e;
    el.perihelionDistance = q;
    el.argPerihelion = w;
    el.ascendingNode = node;
    el.inclination = inclination;
    el.equinox = 2000;
    el.absMagnitude = H;
    el.slope = K;
    el.dustTailLength = 0.01;
    el.ionTailLength = 0.01;
    el.dustParameter = 1;
    return el;
}

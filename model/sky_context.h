// Filling a SkyContext: the date and site with the derived quantities that
// coordinate conversion needs (Julian date, sidereal time, obliquity,
// precession to J2000.0).
#pragma once

#include "astro/types.h"

// site: latitude (degrees, north positive), east longitude (degrees),
// altitude (metres).
void skyContextFromDate(const DateTime *d, const double site[3], SkyContext *out);

// The date is that of jd + zoneHours / 24, with zone zoneHours.
void skyContextFromJd(double jd, double zoneHours, const double site[3], SkyContext *out);

// Recomputes every derived field from s->date and the site.
void skyContextUpdate(SkyContext *s);

// Sky contexts from dates.
#include "model/sky_context.h"

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/coords.h"

void skyContextFromDate(const DateTime *d, const double site[3], SkyContext *out)
{
    out->date = *d;
    out->latitudeDeg = site[0];
    out->longitudeDeg = site[1];
    out->altitudeM = site[2];
    skyContextUpdate(out);
}

void skyContextFromJd(double jd, double zoneHours, const double site[3], SkyContext *out)
{
    DateTime d{};
    jdToDate(jd + zoneHours / 24.0, &d);
    d.zone = zoneHours;
    skyContextFromDate(&d, site, out);
}

void skyContextUpdate(SkyContext *s)
{
    s->jd = dateToJd(&s->date);
    skyContextDerive(s);
}

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
    s->siderealDeg = localSiderealDeg(s->jd, s->longitudeDeg);
    s->yearsFrom1975 = yearsFrom1975(s->jd);
    s->centuriesJ2000 = centuriesJ2000(s->jd);
    s->obliquityDeg = meanObliquity(s->jd);
    s->sinObliquity = sinDeg(s->obliquityDeg);
    s->cosObliquity = cosDeg(s->obliquityDeg);
    precessionMatrix(s->jd, JD_J2000, &s->precessionToJ2000);
}

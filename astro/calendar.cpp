// Calendar and time: Julian dates, date stepping, validation, sidereal time.
#include "astro/calendar.h"

#include <cmath>
#include <cstdint>

#include "astro/angles.h"

namespace {

const int kMonthLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
const double kSecondsPerDay = 86400.0;

// Julian date at 0h of a whole day; the calendar is chosen here, before any
// fraction of a day is added.
double jdOfWholeDay(double year, double month, double wholeDay)
{
    if (month < 3) {
        month += 12;
        year -= 1;
    }
    double jd = std::floor(365.25 * year) + std::floor(30.59 * (month - 2)) + wholeDay + 1721086.5;
    if (jd > JD_GREGORIAN)
        jd += 2 + std::floor(year / 400) - std::floor(year / 100);
    return jd;
}

bool isLeapYear(int year)
{
    if (year <= 1582)
        return year % 4 == 0;
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int64_t floorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

} // namespace

double calendarToJd(double year, double month, double dayWithFraction)
{
    const double whole = std::floor(dayWithFraction);
    return jdOfWholeDay(year, month, whole) + (dayWithFraction - whole);
}

double dateToJd(const DateTime *d)
{
    const double fraction = d->hour / 24.0 + d->minute / 1440.0 + d->second / kSecondsPerDay - d->zone / 24.0;
    return jdOfWholeDay(d->year, d->month, d->day) + fraction;
}

void jdToCalendar(double jd, int *year, int *month, double *dayWithFraction)
{
    double z = std::floor(jd + 0.5);
    const double f = jd + 0.5 - z;
    if (z >= JD_GREGORIAN) {
        const double a = std::floor((z - 1867216.25) / 36524.25);
        z += 1 + a - std::floor(a / 4);
    }
    const double b = z + 1524;
    const double c = std::floor((b - 122.1) / 365.25);
    const double d = std::floor(365.25 * c);
    const double e = std::floor((b - d) / 30.6001);
    *dayWithFraction = b - d - std::floor(30.6001 * e) + f;
    const double m = e >= 13.5 ? e - 13 : e - 1;
    *month = toInt32Trunc(m);
    *year = toInt32Trunc(m < 3 ? c - 4715 : c - 4716);
}

void jdToDate(double jd, DateTime *out)
{
    int year, month;
    double day;
    jdToCalendar(jd, &year, &month, &day);
    out->year = year;
    out->month = month;
    out->day = toInt32Trunc(day);
    const double f = day - out->day;
    out->hour = toInt32Trunc(24.0 * f);
    const double f2 = f - out->hour / 24.0;
    out->minute = toInt32Trunc(1440.0 * f2);
    const double second = (f2 - out->minute / 1440.0) * kSecondsPerDay;
    // The subtractions can leave a rounding residue just below zero.
    out->second = second < 0.0 ? 0.0 : second;
}

void dateAddPeriod(DateTime *date, const TimeStep *period, int subtract)
{
    const int s = subtract ? -1 : 1;
    double t = date->hour * 3600.0 + date->minute * 60.0 + date->second;
    t += s * (period->hour * 3600.0 + period->minute * 60.0 + period->second);
    if (!std::isfinite(t))
        return;

    // Whole days out of the time of day. fmod is exact, so t - r is an exact
    // multiple of a day and the carry cannot disagree with the remainder.
    double r = std::fmod(t, kSecondsPerDay);
    double carry = (t - r) / kSecondsPerDay;
    if (r < 0.0) {
        r += kSecondsPerDay;
        carry -= 1.0;
        // Midnight going backwards is 00:00 of the next day, not 24:00.
        if (r >= kSecondsPerDay) {
            r = 0.0;
            carry += 1.0;
        }
    }
    date->hour = toInt32Trunc(r / 3600.0);
    date->minute = toInt32Trunc(r / 60.0) - 60 * date->hour;
    date->second = r - (60.0 * date->minute + 3600.0 * date->hour);

    DateTime w = *date;
    w.hour = 12;
    w.minute = 0;
    w.second = 0.0;
    w.zone = 0.0;
    jdToDate(dateToJd(&w) + carry + s * static_cast<double>(period->day), &w);

    int64_t month = static_cast<int64_t>(w.month) + s * static_cast<int64_t>(period->month);
    int64_t year = w.year;
    if (month < 1 || month > 12) {
        const int64_t q = floorDiv(month - 1, 12);
        year += q;
        month = month - 1 - 12 * q + 1;
    }
    year += s * static_cast<int64_t>(period->year);
    w.year = saturateInt32(year);
    w.month = static_cast<int32_t>(month);
    if (w.year == 1582 && w.month == 10) {
        if (w.day >= 5 && w.day <= 9)
            w.day = 4;
        else if (w.day >= 10 && w.day <= 14)
            w.day = 15;
    }
    jdToDate(dateToJd(&w), &w); // February 31 rolls into March

    date->year = w.year;
    date->month = w.month;
    date->day = w.day;
}

int isValidDate(const DateTime *d)
{
    if (d->year < DATE_YEAR_MIN || d->year > DATE_YEAR_MAX)
        return 0;
    if (d->month < 1 || d->month > 12)
        return 0;
    int length = kMonthLength[d->month - 1];
    if (d->month == 2 && isLeapYear(d->year))
        ++length;
    if (d->day < 1 || d->day > length)
        return 0;
    if (static_cast<unsigned>(d->hour) > 36u || static_cast<unsigned>(d->minute) > 60u)
        return 0;
    if (d->year == 1582 && d->month == 10 && d->day >= 5 && d->day <= 14)
        return 0;
    if (!(d->second >= 0.0 && d->second < 61.0)) // also rejects NaN
        return 0;
    if (!(d->zone >= -24.0 && d->zone <= 24.0))
        return 0;
    return 1;
}

double localSiderealDeg(double jd, double eastLongitude)
{
    // Newcomb: 18.6461 h of mean sidereal time at 1900 January 0.5 (JD 2415020),
    // 1.0027379092558308 sidereal days per solar day, a small quadratic term.
    const double d = jd - 2415020.0;
    const double hours = 18.6461 + 24.0 * 1.0027379092558308 * d + 3.24e-14 * d * d + eastLongitude / 15.0;
    double deg = wrap24h(hours) / 24.0 * 360.0;
    if (deg >= 360.0)
        deg -= 360.0;
    return deg;
}

double yearsFrom1975(double jd)
{
    const double a = (jd - 2442412.5) / 365.25;
    return a + (0.0317 * a + 1.43) * 1e-6;
}

double centuriesJ2000(double jd)
{
    return (jd - JD_J2000) / 36525.0;
}

double meanObliquity(double jd)
{
    double t = centuriesJ2000(jd);
    if (t < -30.0)
        t = -30.0;
    else if (t > 30.0)
        t = 30.0;
    // 84381.448" - 46.815" T - 0.00059" T^2 + 0.001813" T^3 (IAU 1976)
    return 23.43929111 - 0.013004166666666667 * t - 1.638888888888889e-7 * t * t + 5.03611111111111e-7 * t * t * t;
}

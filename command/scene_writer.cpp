// The scene writer: the chart as the commands that rebuild it. Settings are
// written only where they differ from what INIT leaves, so a scene loads the
// same into any chart.
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>

#include "astro/constants.h"
#include "astro/coords.h"
#include "astro/orbit_records.h"
#include "command/keywords.h"
#include "command/scene_files.h"
#include "model/chart_state.h"
#include "model/element_files.h"
#include "model/lexing.h"
#include "model/body_names.h"
#include "model/position_text.h"
#include "model/play_clock.h"
#include "model/position.h"
#include "model/user_objects.h"
#include "model/view_geometry.h"

namespace {

// A file that collects whether every write succeeded.
struct Out {
    std::FILE *f;
    bool ok = true;
    void print(const char *format, ...) __attribute__((format(printf, 2, 3)))
    {
        va_list args;
        va_start(args, format);
        if (std::vfprintf(f, format, args) < 0)
            ok = false;
        va_end(args);
    }
};

// A real number as a scene line carries it: "%f", as scenes always had it,
// unless that text would not give the value back: a field of 1e300 degrees
// is over 300 digits, more than a line the reader takes, and one of 1e-9
// reads back as 0, which VIEW refuses. Those take 17 significant digits,
// which read back to the same double.
struct SceneReal {
    char text[32];
};
constexpr int kSceneRealFixedChars = 24; // "%f" of any value below 1e16 in size

SceneReal sceneReal(double v)
{
    SceneReal r;
    const int n = std::snprintf(r.text, sizeof r.text, "%f", v);
    if (n > 0 && n <= kSceneRealFixedChars && (v == 0.0 || std::strtod(r.text, nullptr) != 0.0))
        return r;
    std::snprintf(r.text, sizeof r.text, "%.17g", v);
    return r;
}

template <typename Namer>
bool writeFlags(std::FILE *out, uint8_t value, uint8_t defaultValue, Namer name)
{
    bool ok = true;
    const char *commands[2] = {"SHOW", "HIDE"};
    for (int pass = 0; pass < 2; pass++) {
        int written = 0;
        for (int bit = 0; bit < 8; bit++) {
            const uint8_t mask = static_cast<uint8_t>(1u << bit);
            if (((value ^ defaultValue) & mask) == 0 || ((value & mask) != 0) != (pass == 0))
                continue;
            const char *word = name(mask);
            if (word == nullptr)
                continue;
            if (std::fprintf(out, written ? ", %s" : "%s %s", written ? word : commands[pass], word) < 0)
                ok = false;
            written++;
        }
        if (written && std::fputs("\n", out) < 0)
            ok = false;
    }
    return ok;
}

// Notes a statement the scene cannot hold.
void leaveOut(SceneLeftOut *leftOut, const char *what, const char *text)
{
    if (leftOut == nullptr)
        return;
    std::string item = leftOut->text[0] ? "; " : "";
    item += what;
    if (text != nullptr)
        item = item + " " + text;
    const size_t used = std::strlen(leftOut->text);
    std::snprintf(leftOut->text + used, sizeof leftOut->text - used, "%s", item.c_str());
}

// A comet's or minor planet's name as the orbit block and COMET lines carry
// it: the picked field trimmed. The name only pairs a COMET line with its
// element line, so one that could not travel in quotes is written with "'"
// for '"' and "," for ";", and a body without any name by its number: the
// body still comes back, since its line is what it is.
std::string bodyName(const OrbitalElements *e, const char *numberName, int number)
{
    const char *name = pickNameField(e);
    if (name == nullptr)
        return numberName + std::to_string(number);
    size_t from = 0;
    while (name[from] == ' ' || name[from] == '\t')
        ++from;
    std::string label(name + from, strTrimmedLength(name) - from);
    for (char &c : label)
        if (c == '"')
            c = '\'';
        else if (c == ';')
            c = ',';
    return label;
}
std::string cometName(const ChartState *chart, int i) { return bodyName(&chart->cometElements[i], "COMET", i + 1); }
std::string minorPlanetName(const ChartState *chart, int i)
{
    return bodyName(&chart->minorPlanetElements[i], "MINORPLANET", i + 1);
}

bool sameBytes(const uint8_t *bytes, int count)
{
    for (int i = 1; i < count; i++)
        if (bytes[i] != bytes[0])
            return false;
    return true;
}

bool sameTypes(const OrbitalElements *e, int count)
{
    for (int i = 1; i < count; i++)
        if (e[i].type != e[0].type)
            return false;
    return true;
}

// A comet's or minor planet's byte against its scene default, whose shown
// bit is clear so that a shown body always gets its SHOW line. A hidden one
// gets its HIDE line: COMET and MINORPLANET add a body shown, and without it
// a hidden body would come back shown.
bool writeBody(ChartState *chart, std::FILE *out, uint8_t value, uint8_t sceneDefault, int32_t id)
{
    const uint8_t against = static_cast<uint8_t>(sceneDefault | ((value & kBodyShown) ? 0 : kBodyShown));
    return writeObjectDisplayFlags(chart, out, value | kBodyDisk, against, id) != 0;
}

bool writeBodies(ChartState *chart, std::FILE *out, int count, const uint8_t *flags, const OrbitalElements *e,
                 uint8_t sceneDefault, int32_t group, int32_t base)
{
    if (count <= 0)
        return true;
    if (sameBytes(flags, count) && sameTypes(e, count))
        return writeBody(chart, out, flags[0], sceneDefault, group);
    for (int i = 0; i < count; i++)
        if (!writeBody(chart, out, flags[i], sceneDefault, base + i))
            return false;
    return true;
}

void writeTrack(ChartState *chart, Out &o, SceneLeftOut *leftOut)
{
    const int32_t kind = chart->trackKind & ~kTrackKindLockBit;
    char spec[kPositionTextSize * 4];
    // A screen point moves no view, and TRACK replaces the target VIEW
    // CENTER left for the next frame: a frame first reaches that centre.
    if (kind == kPosScreen)
        o.print("DRIVE\n");
    // Coordinates and a screen point are written as their keyword and values.
    if (positionIsCoordinates(kind) || kind == kPosScreen) {
        const bool hours = kind == kPosEqt || kind == kPosEqtB1950 || kind == kPosEqtDate;
        o.print("TRACK %s %7.3f, %7.3f\n", stkKeywordName(positionKeywords, kind),
                hours ? chart->trackValues[0] / 15.0 : chart->trackValues[0], chart->trackValues[1]);
        return;
    }
    if (formatPositionSpec(chart, kind, chart->trackIndex, spec, sizeof spec)) {
        o.print("TRACK %s\n", spec);
        return;
    }
    // A target without a name (a sky mark, a star of the table without one)
    // is tracked by its J2000 direction.
    double place[2], j2000[2];
    const int system = resolvePositionSpec(chart, kind, chart->trackIndex, chart->trackValues[0],
                                           chart->trackValues[1], place);
    if (system < COORD_HRZ || system > COORD_GAL) {
        leaveOut(leftOut, "TRACK", nullptr);
        return;
    }
    convertCoords(&chart->sky, system, place, COORD_EQT, j2000);
    const double ra = j2000[0] < 0 ? j2000[0] + 360.0 : j2000[0];
    // As a coordinate target is written, so that the scene reads back to itself.
    o.print("TRACK %s %7.3f, %7.3f\n", stkKeywordName(positionKeywords, kPosEqt), ra / 15.0, j2000[1]);
}

} // namespace

int writeDisplayFlags(std::FILE *out, uint8_t value, uint8_t defaultValue, int32_t groupCode,
                      const KeywordEntry *table)
{
    return writeFlags(out, value, defaultValue,
                      [&](uint8_t mask) { return stkKeywordName(table, groupCode << 8 | mask); });
}

int writeObjectDisplayFlags(ChartState *chart, std::FILE *out, uint8_t value, uint8_t defaultValue, int32_t id)
{
    return writeFlags(out, value, defaultValue, [&](uint8_t mask) { return objectDisplayName(chart, id, mask); });
}

int writeSettings(ChartState *chart, std::FILE *out, int asStartupScript, SceneLeftOut *leftOut)
{
    Out o{out};
    const DateTime &d = chart->sky.date;
    for (int i = 0; i < chart->cometCount; i++)
        o.print("COMET \"%s\"\n", cometName(chart, i).c_str());
    for (int i = 0; i < chart->minorPlanetCount; i++)
        o.print("MINORPLANET \"%s\"\n", minorPlanetName(chart, i).c_str());
    if (chart->timeSystem != kTimeSystemLst)
        o.print("TIMESYS %s\n", stkKeywordName(timesysKeywords, chart->timeSystem));
    if (!asStartupScript)
        o.print("DATE %d,%d,%d,%d,%d,%f,%.3f\n", d.year, d.month, d.day, d.hour, d.minute, d.second, d.zone);
    const double lon = chart->sky.longitudeDeg, lat = chart->sky.latitudeDeg;
    o.print("LOCATE %7.3f%c, %6.3f%c, %f, %.0f", std::fabs(lon), lon >= 0 ? 'E' : 'W', std::fabs(lat),
            lat >= 0 ? 'N' : 'S', d.zone, chart->sky.altitudeM);
    // A name that cannot travel in quotes stays behind; the site does not.
    if (isSendableName(chart->siteName, sizeof chart->siteName)) {
        o.print(", \"%s\"\n", chart->siteName);
    } else {
        o.print("\n");
        leaveOut(leftOut, "the site name", chart->siteName);
    }
    const TimeStep &p = chart->period;
    o.print("PERIOD %d,%d,%d,%d,%d,%s\n", p.year, p.month, p.day, p.hour, p.minute, sceneReal(p.second).text);
    switch (chart->timeLockKind) {
    case kTimeLockSunriseMinutes: o.print("STIME SUNRISE %dMIN\n", chart->timeLockValue); break;
    case kTimeLockSunsetMinutes: o.print("STIME SUNSET %dMIN\n", chart->timeLockValue); break;
    case kTimeLockSunriseDegrees: o.print("STIME SUNRISE %dDEG\n", chart->timeLockValue); break;
    case kTimeLockSunsetDegrees: o.print("STIME SUNSET %dDEG\n", chart->timeLockValue); break;
    default: o.print("STIME NONE\n"); break;
    }
    o.print("MODE %s\n", stkKeywordName(modeKeywords, chart->mode));
    o.print("SOL_OFFSET %s,%s,%s\n", sceneReal(chart->solOffset[0]).text, sceneReal(chart->solOffset[1]).text,
            sceneReal(chart->solOffset[2]).text);
    switch (chartModeSystem(chart->mode)) {
    case kModeSystemHrz:
        o.print("VIEW CENTER HRZ %f, %f\n", chart->centerHrz[0], chart->centerHrz[1]);
        break;
    case kModeSystemEqt:
        o.print("VIEW CENTER EQT_DATE %f, %f\n", chart->centerMode[0] / 15.0, chart->centerMode[1]);
        break;
    case kModeSystemEcl:
        o.print("VIEW CENTER ECL %f, %f\n", chart->centerMode[0], chart->centerMode[1]);
        break;
    case kModeSystemGal:
        o.print("VIEW CENTER GAL %f, %f\n", chart->centerMode[0], chart->centerMode[1]);
        break;
    default:
        break;
    }
    o.print("VIEW ANGLE %s\n", sceneReal(chart->fieldWidth).text);
    o.print("VIEW SOL %s\n", sceneReal(chart->solScale).text);
    if (chart->trackState == kTrackTarget)
        writeTrack(chart, o, leftOut);
    if (chart->mirror != kMirrorNormal)
        o.print("MIRROR %d\n", chart->mirror);
    if (chart->starFlags & kStarsFromCatalogFile)
        o.print("STARDATA SAO\n");
    else if (chart->starFlags & kStarsFromGsc)
        o.print("STARDATA GSC\n");
    if (!asStartupScript)
        o.print("MAG STAR %4.1f\n", chart->starLimit / 10.0);
    o.print("MAG STARNAME %4.1f\n", chart->starNameLimit / 10.0);
    if (chart->starSize != 0)
        o.print("STARSIZE %d\n", chart->starSize / 10);
    if (!o.ok)
        return 0;

    bool ok = writeObjectDisplayFlags(chart, out, chart->sunFlags | kBodyDisk, kSunMoonSceneDefault, kObjectSun);
    if (chart->sunFlags & kBodyDisk)
        o.print("OUTLINE SUN\n");
    ok = ok && writeObjectDisplayFlags(chart, out, chart->moonFlags | kBodyDisk, kSunMoonSceneDefault, kObjectMoon);
    if (chart->moonFlags & kBodyDisk)
        o.print("OUTLINE MOON\n");
    // After SHOW/HIDE PLANET the Earth carries the PLANET line's bits too.
    uint8_t earthAfterPlanets = kEarthFlagsDefault;
    if (sameBytes(chart->planetFlags, kPlanetCount)) {
        ok = ok && writeObjectDisplayFlags(chart, out, chart->planetFlags[0] | kBodyDisk, kPlanetSceneDefault,
                                               kObjectGroupPlanets);
        if (chart->planetFlags[0] & kBodyDisk)
            o.print("DISK PLANET\n");
        const uint8_t planets = chart->planetFlags[0] | kBodyDisk, changed = planets ^ kPlanetSceneDefault;
        earthAfterPlanets = static_cast<uint8_t>((kEarthFlagsDefault & ~changed) | (planets & changed));
    } else {
        for (int i = 0; i < kPlanetCount; i++) {
            ok = ok && writeObjectDisplayFlags(chart, out, chart->planetFlags[i], kPlanetSceneDefault, kObjectMercury + i);
            if (chart->planetFlags[i] & kBodyDisk)
                o.print("DISK %s\n", objectDisplayName(chart, kObjectMercury + i, kBodyShown));
        }
    }
    ok = ok && writeObjectDisplayFlags(chart, out, chart->earthFlags, earthAfterPlanets, kObjectEarth);
    o.print("DISK_MAG %d\n", chart->diskMag);
    ok = ok && writeDisplayFlags(out, chart->jupiterMoonFlags, kJmoonFlagsDefault, kGroupJupiterMoons, displayItemKeywords);
    ok = ok && writeBodies(chart, out, chart->cometCount, chart->cometFlags, chart->cometElements, kCometSceneDefault,
                           kObjectGroupComets, kObjectCometBase);
    ok = ok && writeBodies(chart, out, chart->minorPlanetCount, chart->minorPlanetFlags,
                           chart->minorPlanetElements, kMinorPlanetSceneDefault, kObjectGroupMinorPlanets,
                           kObjectMinorPlanetBase);
    ok = ok && writeDisplayFlags(out, chart->constellationFlags | kConsSceneBit, kConsSceneBit, kGroupConstellations,
                                 displayItemKeywords);
    ok = ok && writeDisplayFlags(out, chart->milkyWayFlags & ~kMilkyWayLowBits, kMilkyWayFlagsDefault, kGroupMilkyWay, displayItemKeywords);
    o.print("MAG NEBULAMIN %4.1f\n", chart->nebulaMin / 10.0);
    o.print("MAG NEBULAMAX %4.1f\n", chart->nebulaMax / 10.0);
    if (chart->nebulaLimitOn != 1)
        o.print("MAG NEBULALIMIT %d\n", chart->nebulaLimitOn ? 1 : 0);
    ok = ok && writeDisplayFlags(out, chart->nebulaFlags, 0, kGroupNebulae, displayItemKeywords);
    if (chart->nebulaFlags & kNebulaShown) {
        ok = ok && writeDisplayFlags(out, chart->nebulaTypeFlags, kNebulaTypeFlagsDefault, kGroupNebulaTypes, displayItemKeywords);
        ok = ok && writeDisplayFlags(out, chart->nebulaCatalogFlags, kNebulaCatalogFlagsDefault, kGroupNebulaCatalogs, displayItemKeywords);
    }
    const struct {
        uint8_t value, defaultValue;
        int32_t group;
    } groups[] = {
        {chart->starFlags, kStarFlagsDefault, kGroupStars},
        {chart->starLabelFlags, 0, kGroupStarLabels},
        {chart->skyFlags, kSkyFlagsDefault, kGroupSky},
        {chart->horizonGridFlags, kHorizonGridFlagsDefault, kGroupHorizonGrid},
        {chart->equatorialGridFlags, 0, kGroupEquatorialGrid},
        {chart->otherGridFlags, 0, kGroupOtherGrids},
        {chart->lineNumberFlags, 0, kGroupLineNumbers},
        {static_cast<uint8_t>(chart->gridNumberFlags & ~kGridSubdivisionMask), 0, kGroupGridNumbers},
        {chart->skyMarkFlags, 0, kGroupSkyMarks},
        {chart->pictureMarkFlags, 0, kGroupPictureMarks},
        {chart->userObjectFlags, kUserObjectFlagsDefault, kGroupUserObjects},
    };
    for (const auto &g : groups)
        ok = ok && writeDisplayFlags(out, g.value, g.defaultValue, g.group, displayItemKeywords);
    if (chart->gridNumberFlags & kGridSubdivisionMask)
        o.print("GRID %s\n", stkKeywordName(gridKeywords, chart->gridNumberFlags & kGridSubdivisionMask));
    return ok && o.ok;
}

int writeCommandScript(ChartState *chart, std::FILE *out, int asStartupScript, SceneLeftOut *leftOut)
{
    Out o{out};
    o.print("INIT\n");
    bool ok = writeDisplayFlags(out, chart->statusBar, kStatusBarDefault, kGroupStatusBar, displayItemKeywords);
    for (int i = 0; i < chart->userObjectFileCount; i++) {
        const char *path = chart->userObjectFiles[i].path;
        if (isSendableName(path, kStkTextSize - 12))
            o.print("LOAD %s, \"%s\"\n", "AD", path);
        else
            leaveOut(leftOut, "LOAD AD", path);
    }
    ok = ok && writeSettings(chart, out, asStartupScript, leftOut);
    if (chart->playing) {
        o.print("REALTIME %d,%d,%d\n", chart->realTimeMode, chart->realTimeImmediate ? 1 : 0,
                chart->realTimeInterval);
        // The play state whole: its direction, its kind where a bare command
        // would take another, and its end date in the chart's zone.
        const int32_t bareKind = chart->realTimeMode == kPlayClock || chart->realTimeMode == kPlayClockFromBase
                                     ? chart->realTimeMode
                                     : kPlayByPeriod;
        std::string line = chart->playReverse ? "REVERSE" : "CONTINUE";
        char text[128];
        if (chart->playKind != bareKind && chart->playKind != kPlayByPeriod)
            line += chart->playKind == kPlayClock ? " REALTIME1" : " REALTIME2";
        if (chart->playEndKind == kPlayUntilEnd) {
            const DateTime end = playEndDateInChartZone(chart);
            std::snprintf(text, sizeof text, "%s%d,%d,%d,%d,%d,%d",
                          chart->playKind == kPlayByPeriod ? " " : ",", end.year, end.month, end.day, end.hour,
                          end.minute, static_cast<int>(end.second));
            line += text;
        } else if (chart->playKind == kPlayByPeriod && bareKind != kPlayByPeriod) {
            line += " ,,,,"; // never happens from the commands; kept whole anyway
        }
        o.print("%s\n", line.c_str());
    } else {
        o.print("DRIVE\n");
    }
    if (asStartupScript && chart->starLimitSet != 0) {
        o.print("%s STAR %.1f\n", chart->starLimitSet < 0 ? "DECMAG" : "INCMAG", std::abs(chart->starLimitSet) / 10.0);
        o.print("DRIVE\n");
    }
    return ok && o.ok;
}

int writeOrbitBlock(ChartState *chart, std::FILE *out)
{
    Out o{out};
    for (int i = 0; i < chart->cometCount; i++)
        o.print(":%s\n%s\n", cometName(chart, i).c_str(), chart->cometElements[i].lineText);
    for (int i = 0; i < chart->minorPlanetCount; i++)
        o.print(":%s\n%s\n", minorPlanetName(chart, i).c_str(), chart->minorPlanetElements[i].lineText);
    return o.ok;
}

int writeSceneFile(ChartState *chart, std::FILE *out, int asStartupScript, SceneLeftOut *leftOut)
{
    if (leftOut != nullptr)
        leftOut->text[0] = '\0';
    // The script is built in memory, then indented into the scene.
    char *script = nullptr;
    size_t size = 0;
    std::FILE *memory = open_memstream(&script, &size);
    if (memory == nullptr)
        return 0;
    const int built = writeCommandScript(chart, memory, asStartupScript, leftOut);
    if (std::fclose(memory) != 0 || !built) {
        std::free(script);
        return 0;
    }
    Out o{out};
    o.print("BLOCK CONTROL\n\tSCENE MAIN\n");
    for (char *line = script; *line;) {
        char *end = std::strchr(line, '\n');
        const size_t n = end ? static_cast<size_t>(end - line) : std::strlen(line);
        o.print("\t\t%.*s\n", static_cast<int>(n), line);
        line += n + (end ? 1 : 0);
    }
    std::free(script);
    o.print("\tEND SCENE\nEND BLOCK\n");
    if (chart->cometCount > 0 || chart->minorPlanetCount > 0) {
        o.print("\nBLOCK ORBIT\n");
        if (!writeOrbitBlock(chart, out))
            o.ok = false;
        o.print("END BLOCK\n");
    }
    return o.ok;
}

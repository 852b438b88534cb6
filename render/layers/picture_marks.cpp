#include "render/layers/picture_marks.h"

#include "astro/body_records.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/click_data.h"
#include "model/deep_sky_names.h"
#include "model/file_input.h"
#include "model/lexing.h"
#include "model/position.h"
#include "model/star_limit.h"
#include "model/user_objects.h"
#include "render/canvas.h"
#include "render/object_screen.h"
#include "render/palette.h"
#include "render/shown_objects.h"
#include "resources/catalogs.h"

// 010000010, 000111000, 010111010, ... (left pixel first).
const uint16_t kPictureMarkRows[9] = {0x082, 0x038, 0x0BA, 0x038, 0x0BA, 0x038, 0x0BA, 0x038, 0x082};

namespace {

constexpr int kMarkSide = 9;
// Sun, Moon and Earth count as this bright (tenths): always marked.
constexpr int32_t kBrightestBody10 = -99;
// Galilean moons are marked from this star limit (tenths) on.
constexpr int32_t kJupiterMoonLimit10 = 60;

// The body's magnitude in tenths; 0 when the id names no loaded body.
int bodyMagnitude10(const ChartState *chart, int32_t id, int32_t *mag)
{
    if (id == kObjectSun || id == kObjectMoon || id == kObjectEarth) {
        *mag = kBrightestBody10;
        return 1;
    }
    if (id >= 0 && id < kPlanetCount) {
        *mag = chart->planets[id].magnitude10;
        return 1;
    }
    if (id >= kObjectCometBase && id - kObjectCometBase < chart->cometCount && id < kObjectMinorPlanetBase) {
        *mag = chart->cometPositions[id - kObjectCometBase].magnitude10;
        return 1;
    }
    if (id >= kObjectMinorPlanetBase && id - kObjectMinorPlanetBase < chart->minorPlanetCount) {
        *mag = chart->minorPlanetPositions[id - kObjectMinorPlanetBase].magnitude10;
        return 1;
    }
    return 0;
}

// M31 and M42 stand in the Milky Way picture: marked with it.
bool isMilkyWayNebula(int32_t index)
{
    static const char *const kNames[] = {"M31", "M42"};
    for (const char *name : kNames) {
        int32_t at = -1;
        if (parseNebulaName(name, &at) && at == index)
            return true;
    }
    return false;
}

bool nebulaMarked(ChartState *chart, int32_t index)
{
    if (index < 0 || index >= nebulaCount())
        return false;
    if (isMilkyWayNebula(index) && chartLimitMagAtLeast4(chart) && (chart->milkyWayFlags & kMilkyWayShown))
        return true;
    // Otherwise the mark follows the deep-sky layer: the object has one
    // exactly when its symbol is drawn.
    return (chart->nebulaFlags & kNebulaShown) && nebulaIsShown(chart, &nebulaRecords[index]);
}

bool objectMarked(ChartState *chart, const ClickDataEntry *e)
{
    switch (e->kind) {
    case kPosEqt:
    case kPosEqtB1950:
    case kPosEqtDate:
    case kPosEcl:
    case kPosGal:
        return true;
    case kPosStar: {
        int32_t last = 0;
        return (chart->starFlags & kStarShown) && starLastIndexForLimit(chart, &last) && e->index >= 0 &&
               e->index <= last;
    }
    case kPosBody: {
        int32_t mag = 0;
        return bodyMagnitude10(chart, e->index, &mag) && mag <= chart->starLimit;
    }
    case kPosNebula:
        return nebulaMarked(chart, e->index);
    case kPosJupiterMoon:
        return !isSolarMode(chart->mode) && (chart->planetFlags[kObjectJupiter] & kBodyShown) &&
               (chart->jupiterMoonFlags & kJmoonShown) && chart->starLimit >= kJupiterMoonLimit10;
    case kPosUserObject:
        return (chart->userObjectFlags & kUserObjectShownBit) != 0;
    case kPosNamedPoint:
        return chartLimitMagAtLeast4(chart) != 0;
    default:
        return false;
    }
}

} // namespace

int pictureMarkPosition(ChartState *chart, int entry, ProjectedPoint *out)
{
    const ClickDataEntry *e = &chart->clickDataIndex[entry];
    if (!objectMarked(chart, e))
        return 0;
    const double values[2] = {e->value1, e->value2};
    return targetScreenPosition(chart, e->kind, e->index, values, out);
}

void drawPictureMark(ChartState *chart, Canvas *canvas, int entry)
{
    ProjectedPoint p;
    if (!pictureMarkPosition(chart, entry, &p))
        return;
    canvas->drawBitmap(p.x - 4, p.y - 4, kPictureMarkRows, kMarkSide, kMarkSide);
}

void scanImageEntries(ChartState *chart, Canvas *canvas, FILE *file)
{
    ClickDataLine line;
    long offset;
    for (int i = 0; chart->clickDataIndex[i].kind != kClickDataEnd; ++i) {
        // The entry's own ":" line first, then its lines up to the next one.
        if (std::fseek(file, chart->clickDataIndex[i].offset, SEEK_SET) != 0 ||
            !clickDataReadLine(file, &offset, &line))
            continue;
        while (clickDataReadLine(file, &offset, &line) && !line.entryStart) {
            if (strEqualNoCase(line.words[0], "@IMAGE")) {
                drawPictureMark(chart, canvas, i);
                break;
            }
        }
    }
}

void chartDrawPictureMarks(ChartState *chart, Canvas *canvas)
{
    if (!(chart->pictureMarkFlags & kPictureMarkShown) || !chart->clickDataIndex || !appData)
        return;
    FILE *file = openRegularFile(appData->clickDataFile);
    if (!file)
        return;
    canvas->setForeground(chartPixel(ColorPictureMark));
    scanImageEntries(chart, canvas, file);
    std::fclose(file);
}

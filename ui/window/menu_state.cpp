#include "ui/window/menu_state.h"

#include <cstdio>
#include <cstring>

#include "model/chart_state.h"
#include "render/layers/user_objects.h"

namespace {

// Sky Mark stands for both the marks and their names: it reads as set only
// when both are shown.
constexpr uint8_t kSkyMarkBoth = kUserObjectShownBit | kUserObjectNameBit;

struct CascadeName {
    const char *button;
    MenuCascade cascade;
};
const CascadeName kCascadeNames[] = {
    {"MenuSettings", kCascadeSettings}, {"MenuView", kCascadeView},
    {"MenuViewRotate", kCascadeRotate}, {"MenuObject", kCascadeObject},
    {"MenuCenter", kCascadeCenter},     {"MenuOption", kCascadeOption},
    {nullptr, kCascadeNone},
};

bool allBits(uint8_t flags, uint8_t bits) { return (flags & bits) == bits; }

// Jupiter's satellites can be looked at only where Jupiter is drawn among the
// stars: not in the solar-system views, not while Jupiter is hidden.
bool joviSatAvailable(const ChartState *chart)
{
    return !isSolarMode(chart->mode) && (chart->planetFlags[kObjectJupiter] & kBodyShown);
}

// An item whose text depends on display bits: `whenSet` when all `bits` of
// the byte are set, else `otherwise`; `then` (if any) runs after it. A row
// without a byte always runs `otherwise`.
struct MenuCommand {
    const char *item;
    uint8_t ChartState::*flags;
    uint8_t bits;
    const char *whenSet;
    const char *otherwise;
    const char *then;
};
const MenuCommand kMenuCommands[] = {
    {"MenuSettingsTrace", nullptr, 0, nullptr, "TOGGLE TRACE; DRIVE", nullptr},
    {"MenuSettingsContinue", nullptr, 0, nullptr, "CONTINUE", nullptr},
    {"MenuViewPictureMark", &ChartState::pictureMarkFlags, kPictureMarkShown, "HIDE PICTUREMARK; DRIVE",
     "SHOW PICTUREMARK; DRIVE", nullptr},
    {"MenuViewDaylight", &ChartState::skyFlags, kSkyDaylight, "HIDE DAYLIGHT; DRIVE", "SHOW DAYLIGHT; DRIVE",
     nullptr},
    {"MenuViewStatusbar", &ChartState::statusBar, kStatusBarShown, "HIDE STATUSBAR; DRIVE",
     "SHOW STATUSBAR; DRIVE", nullptr},
    {"MenuViewLookHrz", nullptr, 0, nullptr, "LOOK HRZ", nullptr},
    {"MenuViewRotateNormal", nullptr, 0, nullptr, "MIRROR 0; DRIVE", nullptr},
    {"MenuViewRotate180", nullptr, 0, nullptr, "MIRROR 1; DRIVE", nullptr},
    {"MenuViewRotateMirror", nullptr, 0, nullptr, "MIRROR 2; DRIVE", nullptr},
    {"MenuObjectMilkyway", nullptr, 0, nullptr, "TOGGLE MILKYWAY; DRIVE", nullptr},
    {"MenuObjectSkyMark", &ChartState::skyMarkFlags, kSkyMarkBoth, "HIDE SKYMARK,SKYMARK_NAME",
     "SHOW SKYMARK,SKYMARK_NAME", "DRIVE"},
    {"MenuCenterSun", nullptr, 0, nullptr, "LOOK SUN; BLINK SUN", nullptr},
    {"MenuCenterMoon", nullptr, 0, nullptr, "LOOK MOON; BLINK MOON", nullptr},
    {nullptr, nullptr, 0, nullptr, nullptr, nullptr},
};

// The Width and Direction items and their angles.
struct MenuAngle {
    const char *item;
    double deg;
    void (*command)(const ChartState *chart, double deg, MenuTexts *out);
};
const MenuAngle kMenuAngles[] = {
    {"MenuViewWidth120", 120, menuViewWidthCmd}, {"MenuViewWidth90", 90, menuViewWidthCmd},
    {"MenuViewWidth60", 60, menuViewWidthCmd},   {"MenuViewWidth30", 30, menuViewWidthCmd},
    {"MenuViewWidth10", 10, menuViewWidthCmd},   {"MenuViewDirSouth", 0, menuViewDirCmd},
    {"MenuViewDirWest", 90, menuViewDirCmd},     {"MenuViewDirNorth", 180, menuViewDirCmd},
    {"MenuViewDirEast", 270, menuViewDirCmd},    {nullptr, 0, nullptr},
};

void addText(MenuTexts *out, const char *text)
{
    if (out->count < kMenuTextsMax)
        std::snprintf(out->text[out->count++], kMenuTextSize, "%s", text);
}

class StateList {
public:
    explicit StateList(MenuItemState *out) : out_(out) {}
    void add(const char *item, int sensitive, int set)
    {
        if (n_ < kMenuStatesMax)
            out_[n_++] = MenuItemState{item, static_cast<int8_t>(sensitive), static_cast<int8_t>(set)};
    }
    int count() const { return n_; }

private:
    MenuItemState *out_;
    int n_ = 0;
};

} // namespace

MenuCascade menuCascadeOfButton(const char *cascadeName)
{
    for (const CascadeName *c = kCascadeNames; c->button; c++) {
        if (cascadeName && std::strcmp(c->button, cascadeName) == 0)
            return c->cascade;
    }
    return kCascadeNone;
}

int menuCascadeStates(MenuCascade cascade, const ChartState *chart, const MenuFacts &facts,
                      MenuItemState out[kMenuStatesMax])
{
    StateList s(out);
    const int32_t mode = chart->mode;
    const bool skyKind = chartModeKind(mode) == kKindSky;
    switch (cascade) {
    case kCascadeSettings:
        s.add("MenuSettingsContinue", -1, chart->playing != 0);
        s.add("MenuSettingsTrace", -1, (chart->traceFlags & kTraceOn) != 0);
        break;
    case kCascadeView:
        s.add("MenuViewWidth", skyKind, -1);
        s.add("MenuViewDir", mode == kModeHrz || mode == kModePlns, -1);
        s.add("MenuViewRotate", skyKind, -1);
        s.add("MenuViewLookHrz", mode == kModeHrz, -1);
        s.add("MenuViewPictureMark", -1, (chart->pictureMarkFlags & kPictureMarkShown) != 0);
        s.add("MenuViewDaylight", isHorizonMode(mode), (chart->skyFlags & kSkyDaylight) != 0);
        s.add("MenuViewStatusbar", -1, (chart->statusBar & kStatusBarShown) != 0);
        break;
    case kCascadeRotate:
        s.add("MenuViewRotateNormal", -1, chart->mirror == kMirrorNormal);
        s.add("MenuViewRotate180", -1, chart->mirror == kMirrorTurned);
        s.add("MenuViewRotateMirror", -1, chart->mirror == kMirrorFlipped);
        break;
    case kCascadeObject:
        s.add("MenuObjectComet", facts.cometFileReadable, -1);
        s.add("MenuObjectMPlanet", facts.minorPlanetFileReadable, -1);
        s.add("MenuObjectJoviSat", joviSatAvailable(chart), -1);
        s.add("MenuObjectMilkyway", -1, (chart->milkyWayFlags & kMilkyWayShown) != 0);
        s.add("MenuObjectSkyMark", -1, allBits(chart->skyMarkFlags, kSkyMarkBoth));
        break;
    case kCascadeCenter:
        s.add("MenuCenterComet", chart->cometCount > 0, -1);
        s.add("MenuCenterMPlanet", chart->minorPlanetCount > 0, -1);
        s.add("MenuCenterJoviSat", joviSatAvailable(chart), -1);
        break;
    case kCascadeOption:
        s.add("MenuOptionStepBox", -1, facts.stepBoxShown);
        s.add("MenuOptionWhatsToday", -1, facts.todayDialogShown);
        s.add("MenuOptionCommandBox", -1, facts.commandDialogShown);
        break;
    case kCascadeNone:
        break;
    }
    return s.count();
}

void menuViewWidthCmd(const ChartState *chart, double widthDeg, MenuTexts *out)
{
    out->count = 0;
    if (chartModeKind(chart->mode) != kKindSky)
        return;
    std::snprintf(out->text[0], kMenuTextSize, "VIEW ANGLE %.1f;DRIVE", widthDeg);
    out->count = 1;
}

void menuViewDirCmd(const ChartState *chart, double azimuthDeg, MenuTexts *out)
{
    out->count = 0;
    if (!isHorizonMode(chart->mode))
        return;
    std::snprintf(out->text[0], kMenuTextSize, "VIEW CENTER HRZ %.2f,0;%s", azimuthDeg,
                  chart->mode == kModeHrz ? "LOOK HRZ" : "DRIVE");
    out->count = 1;
}

int menuItemCommands(const char *item, const ChartState *chart, MenuTexts *out)
{
    out->count = 0;
    if (!item)
        return 0;
    for (const MenuAngle *a = kMenuAngles; a->item; a++) {
        if (std::strcmp(a->item, item) == 0) {
            a->command(chart, a->deg, out);
            return 1;
        }
    }
    for (const MenuCommand *c = kMenuCommands; c->item; c++) {
        if (std::strcmp(c->item, item) != 0)
            continue;
        const bool set = c->flags && allBits(chart->*(c->flags), c->bits);
        addText(out, set ? c->whenSet : c->otherwise);
        if (c->then)
            addText(out, c->then);
        return 1;
    }
    return 0;
}

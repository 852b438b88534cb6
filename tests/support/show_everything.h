// The SHOW statements that put everything on the chart: every display
// keyword but the window's (menu bar, tool bar, step box) and TRACE, which
// keeps the last frame instead of drawing a new one, then the label
// suffixes of every body; no keyword twice. Header only: the frame bench
// shows the same.
#pragma once

#include <string>
#include <vector>

#include "command/keywords.h"

inline std::vector<std::string> showEverythingStatements()
{
    std::vector<std::string> out;
    int last = -1;
    for (const KeywordEntry *k = displayItemKeywords; k->keyword != nullptr; k++) {
        const int group = k->code >> 8;
        if (group == 0x15 || group == kGroupTrace || k->code == last || static_cast<unsigned char>(k->keyword[0]) > 127)
            continue;
        last = k->code;
        out.push_back("SHOW " + std::string(k->keyword));
    }
    for (const char *body : {"PLANET_NAME", "PLANET_MAG", "PLANET_DATE", "PLANET_OBT", "SUN_NAME", "SUN_DATE",
                             "SUN_SPOT", "MOON_NAME", "MOON_DATE", "EARTH_NAME", "EARTH_MAG", "EARTH_DATE"})
        out.push_back("SHOW " + std::string(body));
    return out;
}

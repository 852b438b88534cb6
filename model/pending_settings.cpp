#include "model/pending_settings.h"

#include "model/app_data.h"
#include "model/options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
int toolbarOptionRead = 1, tipHelpOptionRead = 1; // the getters' defaults
} // namespace

void pendingReadToolbarOptions()
{
    toolbarOptionRead = optionGetBool("Toolbar", 1);
    tipHelpOptionRead = optionGetBool("TipHelp", 1);
}

void pendingToolbarOptions(int *toolbarShown, int *tipHelp)
{
    *toolbarShown = toolbarOptionRead;
    *tipHelp = tipHelpOptionRead;
}

// Site-list columns (counted from 0).
enum {
    kSiteNameEnd = 40,  // name in 0-39, then a blank
    kSiteLonCol = 41,   // "%7.3f" and E/W at 48, then a blank at 49
    kSiteLatCol = 50,   // "%6.3f" and N/S at 56, then a blank at 57
    kSiteAltCol = 58,   // "%4d", then a blank at 62
    kSiteZoneCol = 63,  // sign and "%05.2f" in 63-68
    kSiteLineLen = 71,  // with the newline at 70
};

// The decimal value of columns [from, to) of line.
static double siteField(const char *line, int from, int to)
{
    char field[16];
    int n = to - from;
    std::memcpy(field, line + from, static_cast<size_t>(n));
    field[n] = '\0';
    return std::strtod(field, nullptr);
}

int pendingFindSiteIn(const char *siteFile, const char *name, double out[3], double *zone)
{
    FILE *file = std::fopen(siteFile, "r");
    if (!file)
        return 0;
    char line[kSiteLineLen + 2];
    int found = 0;
    while (!found && std::fgets(line, kSiteLineLen + 1, file)) {
        if (std::strlen(line) != kSiteLineLen || line[70] != '\n' || line[40] != ' ' ||
            line[49] != ' ' || line[57] != ' ' || line[62] != ' ')
            break;
        int end = kSiteNameEnd;
        while (end > 0 && line[end - 1] == ' ')
            --end;
        if (std::strlen(name) != static_cast<size_t>(end) ||
            std::strncmp(line, name, static_cast<size_t>(end)) != 0)
            continue;
        out[0] = siteField(line, kSiteLatCol, 56);
        if (line[56] == 'S' || line[56] == 's')
            out[0] = -out[0];
        out[1] = siteField(line, kSiteLonCol, 48);
        if (line[48] == 'W' || line[48] == 'w')
            out[1] = -out[1];
        out[2] = siteField(line, kSiteAltCol, 62);
        *zone = siteField(line, kSiteZoneCol, 69);
        found = 1;
    }
    std::fclose(file);
    return found;
}

int pendingFindSite(const char *name, double out[3], double *zone)
{
    return pendingFindSiteIn(appData->siteFile, name, out, zone);
}

// The site list: one observing site per fixed-column line of 71 bytes
// (name in 0-39, longitude "%7.3f" and E/W in 41-48, latitude "%6.3f" and N/S
// in 50-56, altitude "%4d" in 58-61, zone sign and "%05.2f" in 63-68, blanks
// in 40, 49, 57, 62 and 69, the newline at 70).
#pragma once

#include <cstddef>
#include <cstdio>

constexpr int kSiteLineLength = 71;   // with the newline
constexpr int kSiteNameLength = 40;   // characters of the name column
constexpr int kSiteListNameSize = kSiteNameLength + 1;

struct Site {
    char name[kSiteListNameSize]; // trailing blanks dropped
    double latitude;          // degrees, north positive
    double longitude;         // degrees, east positive
    int altitude;             // metres
    double zone;              // hours east of Greenwich
};

// One line of the list without its line end (a CR before the newline is part
// of the line end). 1 and site filled when it is well-formed: exactly 70
// characters, blanks in 40, 49, 57, 62 and 69, E/W, N/S and numbers in their
// columns, and a name the command text can carry; 0 otherwise.
int siteLineParse(const char *line, size_t length, Site *site);

// The 71-byte line of site, newline included, into line (at least 72 bytes).
// 0 when a value would break the columns: a name longer than 40 characters,
// empty or not sendable, a latitude beyond 90 or a longitude beyond 180
// degrees, an altitude outside -999..9999, a zone outside -99.99..99.99 hours
// or a value that is not finite.
int siteLineCompose(const Site *site, char *line);

// The one reader of site-list lines: the next line of file without its line
// end, into a malloc'd buffer (*line, *capacity, reused between calls);
// *length its length. Of a line longer than a site line only its first 72
// bytes are kept (the rest is skipped): it is no site either way. 0 at the
// end of the file or on a read error.
int siteFileReadLine(FILE *file, char **line, size_t *capacity, size_t *length);

// Looks name up (exactly, case matters) in the list file siteFile. A
// malformed line is skipped and reported (file and 1-based line) once per run
// and list; the sites after it are still found. out = latitude, longitude,
// altitude; zone in hours. 1 when found.
int findSiteIn(const char *siteFile, const char *name, double out[3], double *zone);

// findSiteIn on the application record's siteFile.
int findSite(const char *name, double out[3], double *zone);

// Forgets which lists were reported, so tests see each report anew.
void siteListResetReports();

// Edits the list file path through a temporary renamed over it; on any
// failure the old file stays as it was and no temporary is left.
enum SiteEdit {
    kSiteEditReplace, // line n (1-based) becomes `line`
    kSiteEditInsertFirst, // `line` goes before the first line
    kSiteEditRemove,  // line n goes
};
// `line` is a composed 71-byte line (ignored for kSiteEditRemove). 1 when the
// file holds the edit; 0 when n names no line, `line` is not a well-formed
// line or the file could not be replaced.
int siteFileRewrite(const char *path, SiteEdit edit, int n, const char *line);

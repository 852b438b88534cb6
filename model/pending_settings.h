// Stand-ins for routines of other areas that the settings call before those
// areas exist: the site-list look-up,
// the tool bar's and tool tips' options, and the palette. Each keeps the contract of the routine it stands for, so
// that replacing it is a change of this file and its call sites only.
#pragma once

// Looks `name` up in the site list `siteFile` (71-byte lines; the first line
// that is not well-formed ends the search). out = latitude (north
// positive), longitude (east positive), altitude in metres; zone in hours.
// Returns 1 when found.
int pendingFindSiteIn(const char *siteFile, const char *name, double out[3], double *zone);

// pendingFindSiteIn on the application record's siteFile.
int pendingFindSite(const char *name, double out[3], double *zone);

// STOPGAP while the tool bar and the tool tips are stand-ins that build no
// widgets: the options Toolbar and TipHelp as start-up read them, which the
// options file writer puts back at quit. Writing the missing widgets' state
// instead would switch both off for every later version. The tool-bar issue
// deletes these two, and the writer asks the widgets again.
void pendingReadToolbarOptions();
void pendingToolbarOptions(int *toolbarShown, int *tipHelp);

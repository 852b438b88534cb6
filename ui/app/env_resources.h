// The X side of the settings: the locale as the X library sees it, the
// application resources, the Xt-backed resource texts and the body names.
#pragma once

struct ChartState;

// Chooses the locale (command line, option Locale, environment, default),
// sets it for character handling, checks that X supports it, sets the X
// locale modifiers and exports it as LANG; messages go to standard error.
// Runs before the toolkit starts, so that the toolkit sees the locale.
void envSetLocale(int argc, char **argv);

// Creates the font sets (loadFontSets). When the character handling of the
// locale in effect cannot draw the program's ISO 8859-1 texts (its font sets
// miss charsets, or it is the ASCII "C"), says so once on standard error,
// switches LC_CTYPE to the ISO 8859-1 fallback (or "C") and creates them
// there, with the usual messages should they fail again. The chosen locale
// stays the one exported as LANG and used for localized files. Returns
// loadFontSets' result.
int envCreateFontSets();

// Makes the settings read the toolkit, once the top-level widget exists:
// getResourceString reads the top-level's resources (the user's resources
// and the fallback table; before this it reads the fallback table alone).
void envUseToolkitResources();

// 1 when the tool bar is built and managed (the uiHooks.toolbarManaged of
// the running program).
int envToolbarManaged();

// Allocates the colour palette and copies the 13 body names. A palette that
// cannot be allocated prints "tavik: can't allocate color palette." and an
// allocation failure "tavik: insufficient memory."; both end the process
// with status 1.
void envLoadBodyNames();
void envFreeBodyNames();

// Reads the 17 application resources (and Site, ClickImageViewer1..9) from
// the top-level widget and applies them to the record and the chart.
void envLoadResources(ChartState *chart);

// The picture viewer from the ClickImageViewer resources.
void envPickImageViewer();

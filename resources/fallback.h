// The built-in fallback resource table: every user-visible text, colour and
// font set, as "TAvik*Widget*path.resource: value" lines (resources/tavik.ad).
#pragma once

// Null-terminated, in the form XtAppInitialize takes as fallback resources.
extern char *fallbackResources[];
extern const int fallbackResourceCount;

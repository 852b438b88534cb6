// Texts of the X resources of class "TAvik": every message, format and
// localized name is fetched by its resource name.
//
// The lower layers link without X, so the look-up is a seam: by default it
// reads the compiled fallback table (resources/tavik.ad); ui/ registers an
// Xt-backed provider at start-up, which also sees the user's resources.
#pragma once

// Fetches a resource's text into buf, cut to len - 1 characters; an unknown
// resource gives the empty text. Returns buf.
using ResourceStringProvider = char *(*)(const char *name, char *buf, int len);

// The text of resource name (class "String", default empty). Returns buf.
char *getResourceString(const char *name, char *buf, int len);

// The same from the compiled fallback table only, whatever provider is set.
// A resource line matches when its path is "TAvik*name" or "TAvik.name"; the
// value's escapes (\n, \\, \ooo, "\ " and "\t") are decoded as Xrm does.
char *fallbackResourceString(const char *name, char *buf, int len);

// Replaces the provider; null restores the fallback table.
void setResourceStringProvider(ResourceStringProvider provider);

// A format resource for printf-style use. `conversions` names the arguments
// the caller passes, one letter each: 's' a string, 'd' an int, 'f' a double.
// The resource may carry at most those conversions, in that order, with
// flags, a width and a precision of at most 64, and 'l' before a double;
// anything else (%n, '*', a huge width or precision, which would stall
// every use of the format, a conversion of another kind, more conversions than
// arguments) cannot be trusted, since users may override resources, and the
// fallback table's text is used instead; when that fails too, the text is
// empty. Returns buf.
char *getResourceFormat(const char *name, const char *conversions, char *buf, int len);

// 1 when format may be given the arguments `conversions` describes (the rule
// above), 0 otherwise.
int formatTakesConversions(const char *format, const char *conversions);

// The conversions of format as letters ('s', 'd', 'f'), into out (size len);
// 0 when the format holds something unsafe, 1 otherwise. "%%" counts as none.
int formatConversions(const char *format, char *out, int len);

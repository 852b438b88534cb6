// The locale choice. Apart from the environment helpers because it reads an
// option, and the options file is written through those helpers.
#pragma once

#include <cstdio>

// The built-in locale, used when nothing names one and as the fallback.
extern const char kEnvDefaultLocale[];

// The locale to use, into buf[len] (at most len - 1 characters): the first
// argument beginning with "--lang=" or "-l=", else `localeOption` when
// non-empty, else the first of TAVIK_LOCALE, LC_CTYPE, LC_ALL and LANG that
// is set and non-empty, else kEnvDefaultLocale.
void envChooseLocaleFrom(char *buf, int len, int argc, char **argv, const char *localeOption);

// The same with the option Locale read into the application record's
// localeOption first.
void envChooseLocale(char *buf, int len, int argc, char **argv);

// Sets `chosen` for character classification. On failure prints
// "tavik: can't set locale %s." on err, and when kEnvDefaultLocale can be set
// instead, switches to it and adds " Fallback to default (%s)."; the line
// ends with a newline. Returns the name in effect (the fallback when it was
// taken, else `chosen`).
const char *envSetCharLocale(const char *chosen, FILE *err);

// The character handling the program falls back to when that of the
// chosen locale cannot draw its texts, which are all ISO 8859-1: the ISO
// 8859-1 locale, or "C" where that one is not installed.
extern const char *const kCharFallbackLocales[2];

// What the character handling in effect (LC_CTYPE) makes of the program's
// ISO 8859-1 texts.
enum class CharHandling {
    Latin1, // an ISO 8859-1 codeset: every text as written
    Ascii,  // the C library's "C" (ASCII): each text cut at its first degree sign or accented letter
    Other,  // another codeset (UTF-8, EUC-JP ...): as its font sets allow
};
CharHandling envCharHandling();

// Sets LC_CTYPE to the first of kCharFallbackLocales, other than
// `inEffect`, that can be set and returns its name; null (LC_CTYPE
// unchanged) when none can.
const char *envSetFallbackCharLocale(const char *inEffect);

// Exports `name` as LANG (overwriting) and stores it as the application
// record's localeName with its languageCode.
void envStoreLocale(const char *name);

// The first two letters of `localeName` when it has at least three
// characters and an underscore as its third, else empty ("ja_JP.eucJP"
// gives "ja"; "C", "C.UTF-8" and "ja" give "").
void languageCode(const char *localeName, char code[3]);

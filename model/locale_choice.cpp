// The locale choice: from the command line, the option Locale, the
// environment or the built-in default; set for character handling and stored
// in the application record.
#include "model/locale_choice.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>

#include "model/app_data.h"
#include "model/lexing.h"
#include "model/options.h"

const char kEnvDefaultLocale[] = "en_US.ISO_8859-1";

void envChooseLocaleFrom(char *buf, int len, int argc, char **argv, const char *localeOption)
{
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (std::strncmp(arg, "--lang=", 7) == 0) {
            strCopyBounded(buf, len, arg + 7);
            return;
        }
        if (std::strncmp(arg, "-l=", 3) == 0) {
            strCopyBounded(buf, len, arg + 3);
            return;
        }
    }
    if (localeOption && localeOption[0]) {
        strCopyBounded(buf, len, localeOption);
        return;
    }
    // An empty variable counts as unset, as the C library's own locale rules have it.
    static const char *const variables[] = {"TAVIK_LOCALE", "LC_CTYPE", "LC_ALL", "LANG"};
    for (const char *name : variables) {
        const char *value = std::getenv(name);
        if (value && value[0]) {
            strCopyBounded(buf, len, value);
            return;
        }
    }
    strCopyBounded(buf, len, kEnvDefaultLocale);
}

const char *envSetCharLocale(const char *chosen, FILE *err)
{
    if (std::setlocale(LC_CTYPE, chosen))
        return chosen;
    std::fprintf(err, "tavik: can't set locale %s.", chosen);
    const char *inEffect = chosen;
    if (std::setlocale(LC_CTYPE, kEnvDefaultLocale)) {
        std::fprintf(err, " Fallback to default (%s).", kEnvDefaultLocale);
        inEffect = kEnvDefaultLocale;
    }
    std::fputc('\n', err);
    return inEffect;
}

const char *const kCharFallbackLocales[2] = {kEnvDefaultLocale, "C"};

CharHandling envCharHandling()
{
    const char *codeset = nl_langinfo(CODESET);
    if (std::strcmp(codeset, "ISO-8859-1") == 0)
        return CharHandling::Latin1;
    if (std::strcmp(codeset, "ANSI_X3.4-1968") == 0)
        return CharHandling::Ascii;
    return CharHandling::Other;
}

const char *envSetFallbackCharLocale(const char *inEffect)
{
    for (const char *name : kCharFallbackLocales)
        if (std::strcmp(name, inEffect) != 0 && std::setlocale(LC_CTYPE, name))
            return name;
    return nullptr;
}

void languageCode(const char *localeName, char code[3])
{
    if (std::strlen(localeName) >= 3 && localeName[2] == '_') {
        code[0] = localeName[0];
        code[1] = localeName[1];
        code[2] = '\0';
    } else {
        code[0] = '\0';
    }
}

void envChooseLocale(char *buf, int len, int argc, char **argv)
{
    optionGetString("Locale", appData->localeOption, sizeof appData->localeOption);
    envChooseLocaleFrom(buf, len, argc, argv, appData->localeOption);
}

void envStoreLocale(const char *name)
{
    setenv("LANG", name, 1);
    strCopyBounded(appData->localeName, sizeof appData->localeName, name);
    languageCode(appData->localeName, appData->languageCode);
}

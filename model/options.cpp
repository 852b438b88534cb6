#include "model/options.h"

#include "model/app_data.h"
#include "model/env.h"
#include "model/file_input.h"
#include "model/lexing.h"
#include "model/resource_text.h"
#include "model/ui_hooks.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

// The text after "=" when `line` is a line of `key`, else null.
static const char *matchKey(const char *line, const char *key)
{
    size_t n = std::strlen(key);
    if (n == 0 || !strPrefixNoCase(line, key, n))
        return nullptr;
    const char *p = line + n;
    while (*p == ' ' || *p == '\t')
        ++p;
    return *p == '=' ? p + 1 : nullptr;
}

int optionsFindValue(FILE *file, const char *key, char *dst, int len)
{
    if (len <= 0)
        return 0;
    dst[0] = '\0';
    // A line is read up to kOptionsLineMax + 1 characters; the rest of a
    // longer one is skipped.
    char line[kOptionsLineMax + 2];
    size_t length;
    while (readTextLine(file, line, sizeof line, &length) != kTextLineEnd) {
        const char *value = matchKey(line, key);
        if (!value)
            continue;
        while (std::isspace(static_cast<unsigned char>(*value)))
            ++value;
        size_t n = std::strlen(value);
        while (n > 0 && std::isspace(static_cast<unsigned char>(value[n - 1])))
            --n;
        if (n >= static_cast<size_t>(len))
            return 0;
        std::memcpy(dst, value, n);
        dst[n] = '\0';
        return 1;
    }
    return 0;
}

int optionsFilePathIn(char *dst, int len, const char *userDir)
{
    if (len > 0)
        dst[0] = '\0';
    if (!userDir || !userDir[0])
        return 0;
    return envJoinPath(dst, len, userDir, "/options");
}

int optionsFileGetString(const char *path, const char *key, char *dst, int len)
{
    if (len > 0)
        dst[0] = '\0';
    if (!path || !path[0])
        return 0;
    FILE *file = openRegularFile(path);
    if (!file)
        return 0;
    int found = optionsFindValue(file, key, dst, len);
    std::fclose(file);
    return found;
}

// Bool and integer values longer than this are ignored.
constexpr int kOptionsShortValue = 32;

int optionsFileGetBool(const char *path, const char *key, int dflt)
{
    char value[kOptionsShortValue];
    if (!optionsFileGetString(path, key, value, sizeof value))
        return dflt;
    static const struct {
        const char *word;
        int value;
    } words[] = {{"TRUE", 1}, {"YES", 1}, {"FALSE", 0}, {"NO", 0}};
    for (const auto &w : words)
        if (strEqualNoCase(value, w.word))
            return w.value;
    return dflt;
}

int optionsFileGetInt(const char *path, const char *key, int dflt)
{
    char value[kOptionsShortValue];
    if (!optionsFileGetString(path, key, value, sizeof value) || !value[0])
        return dflt;
    char *end = nullptr;
    errno = 0;
    long v = std::strtol(value, &end, 10);
    if (errno != 0 || *end != '\0' || v < INT_MIN || v > INT_MAX)
        return dflt;
    return static_cast<int>(v);
}

static int hasLineBreak(const char *text)
{
    return std::strpbrk(text, "\r\n") != nullptr;
}

namespace {

// optionsFileSet's edit: every line the reader would take for the key gets
// the new value; the key is appended when no line has it.
struct OptionEdit {
    const char *key;
    std::string line; // "key = value\n"
    int replaced;
};

EnvLineFate replaceOptionLine(void *context, const char *start, long, const char **replacement)
{
    OptionEdit *edit = static_cast<OptionEdit *>(context);
    if (!matchKey(start, edit->key))
        return kEnvLineKeep;
    edit->replaced = 1;
    *replacement = edit->line.c_str();
    return kEnvLineReplace;
}

int appendMissingOption(void *context, const char **append)
{
    OptionEdit *edit = static_cast<OptionEdit *>(context);
    if (!edit->replaced)
        *append = edit->line.c_str();
    return 1;
}

} // namespace

int optionsFileSet(const char *path, const char *key, const char *value)
{
    if (!path || !path[0] || !key[0] || hasLineBreak(key) || std::strchr(key, '=') ||
        hasLineBreak(value))
        return 0;
    OptionEdit edit{key, std::string(key) + " = " + value + "\n", 0};
    const EnvLineRewrite rewrite{nullptr, replaceOptionLine, appendMissingOption, &edit};
    return envRewriteLines(path, 1, &rewrite);
}

namespace {

enum class OptionKind { Bool, Text, TextIfSet, Int };

struct OptionRow {
    const char *key;
    OptionKind kind;
    int OptionValues::*number;
    const char *OptionValues::*text;
};

// The options file's keys in writing order.
const OptionRow optionRows[] = {
    {"Toolbar", OptionKind::Bool, &OptionValues::toolbarShown, nullptr},
    {"TipHelp", OptionKind::Bool, &OptionValues::tipHelp, nullptr},
    {"ConfirmQuit", OptionKind::Bool, &OptionValues::confirmQuit, nullptr},
    {"ConfirmInit", OptionKind::Bool, &OptionValues::confirmInit, nullptr},
    {"StlFileIoPath", OptionKind::Text, nullptr, &OptionValues::stlFileIoPath},
    {"SaveImagePath", OptionKind::Text, nullptr, &OptionValues::saveImagePath},
    {"UserObjectFilePath", OptionKind::Text, nullptr, &OptionValues::userObjectFilePath},
    {"GscDataPath", OptionKind::Text, nullptr, &OptionValues::gscPath},
    {"SiteName", OptionKind::TextIfSet, nullptr, &OptionValues::siteName},
    {"Geometry", OptionKind::TextIfSet, nullptr, &OptionValues::geometry},
    {"Locale", OptionKind::TextIfSet, nullptr, &OptionValues::locale},
    {"TZ", OptionKind::TextIfSet, nullptr, &OptionValues::tz},
    {"SocketPort", OptionKind::Int, &OptionValues::socketPort, nullptr},
    {"SocketAddress", OptionKind::TextIfSet, nullptr, &OptionValues::socketAddress},
};

} // namespace

// A value is written up to its first line break, so that no field of the
// record can add lines of its own to the file.
static int writeOptionLine(FILE *out, const char *key, const char *value)
{
    int n = static_cast<int>(std::strcspn(value, "\r\n"));
    return std::fprintf(out, "%s = %.*s\n", key, n, value) >= 0;
}

int optionsWriteFile(const char *path, const OptionValues *values)
{
    EnvReplacement r;
    if (!path || !path[0] || !envStartReplacement(&r, path))
        return 0;
    FILE *out = r.out;
    int ok = 1;
    for (const OptionRow &row : optionRows) {
        if (!ok)
            break;
        switch (row.kind) {
        case OptionKind::Bool:
            ok = writeOptionLine(out, row.key, values->*row.number ? "True" : "False");
            break;
        case OptionKind::Int:
            ok = std::fprintf(out, "%s = %d\n", row.key, values->*row.number) >= 0;
            break;
        case OptionKind::TextIfSet:
        case OptionKind::Text: {
            const char *text = values->*row.text ? values->*row.text : "";
            if (row.kind == OptionKind::Text || text[0])
                ok = writeOptionLine(out, row.key, text);
            break;
        }
        }
    }
    return envFinishReplacement(&r, ok);
}

int optionsFilePath(char *dst, int len)
{
    return optionsFilePathIn(dst, len, appData->userDir);
}

int optionGetBool(const char *key, int dflt)
{
    char path[kEnvPathSize + 8];
    return optionsFilePath(path, sizeof path) ? optionsFileGetBool(path, key, dflt) : dflt;
}

int optionGetInt(const char *key, int dflt)
{
    char path[kEnvPathSize + 8];
    return optionsFilePath(path, sizeof path) ? optionsFileGetInt(path, key, dflt) : dflt;
}

int optionGetString(const char *key, char *dst, int len)
{
    char path[kEnvPathSize + 8];
    if (!optionsFilePath(path, sizeof path)) {
        if (len > 0)
            dst[0] = '\0';
        return 0;
    }
    return optionsFileGetString(path, key, dst, len);
}

// An options file that could not be replaced keeps its old text; the user
// hears of it once a run, on standard error (this may run at quit, with no
// window left to show a message in).
static void reportOptionsNotSaved(const char *path)
{
    static int said = 0;
    if (said)
        return;
    said = 1;
    char format[256];
    getResourceFormat("messageOptionsNotSaved", "s", format, sizeof format);
    std::fprintf(stderr, format, path);
    std::fputc('\n', stderr);
}

int optionSet(const char *key, const char *value)
{
    char path[kEnvPathSize + 8];
    if (!optionsFilePath(path, sizeof path))
        return 0;
    if (optionsFileSet(path, key, value))
        return 1;
    reportOptionsNotSaved(path);
    return 0;
}

int optionsWriteAll()
{
    char path[kEnvPathSize + 8];
    if (!optionsFilePath(path, sizeof path))
        return 0;
    const AppData *app = appData;
    OptionValues values = {
        uiHooks.toolbarManaged(),
        app->tipShell != nullptr,
        app->confirmQuit,
        app->confirmInit,
        app->stlFileIoPath,
        app->saveImagePath,
        app->userObjectFilePath,
        app->gscPath,
        app->siteName,
        app->geometryOption,
        app->localeOption,
        app->tzOption,
        app->socketPort,
        app->socketAddress,
    };
    if (optionsWriteFile(path, &values))
        return 1;
    reportOptionsNotSaved(path);
    return 0;
}

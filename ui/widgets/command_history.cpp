#include "ui/widgets/command_history.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "command/interpreter.h"
#include "model/env.h"

int historyPathIn(const char *userDir, char *dst, int len)
{
    if (!userDir || !userDir[0] || len <= 0)
        return 0;
    const int n = std::snprintf(dst, static_cast<size_t>(len), "%s/history", userDir);
    if (n < 0 || n >= len) {
        dst[0] = '\0';
        return 0;
    }
    return 1;
}

int historyReadFile(const char *path, void (*add)(void *context, const char *line), void *context)
{
    std::FILE *in = std::fopen(path, "r");
    if (!in)
        return 0;
    char line[kHistoryLineSize];
    int count = 0;
    while (std::fgets(line, sizeof line, in)) {
        char *newline = std::strchr(line, '\n');
        if (newline) {
            *newline = '\0';
        } else {
            // Too long for the buffer: the rest of the line is not a command.
            int c;
            while ((c = std::fgetc(in)) != EOF && c != '\n') {
            }
        }
        add(context, line);
        count++;
    }
    std::fclose(in);
    return count;
}

int historyWriteFile(const char *path, const char *const *items, int count, int keep)
{
    if (keep <= 0)
        return std::remove(path) == 0 || errno == ENOENT;
    EnvReplacement r;
    if (!envStartReplacement(&r, path))
        return 0;
    const int first = count > keep ? count - keep : 0;
    int ok = 1;
    for (int i = first; i < count; i++) {
        if (std::fprintf(r.out, "%s\n", items[i]) < 0)
            ok = 0;
    }
    return envFinishReplacement(&r, ok);
}

CommandOkAction commandOkAction(const char *text, const char *lastItem)
{
    const char *p = text ? text : "";
    while (*p && std::isspace(static_cast<unsigned char>(*p)))
        p++;
    if (!*p)
        return kCommandIgnore;
    if (std::strlen(text) > static_cast<size_t>(kStkTextSize - 1))
        return kCommandTooLong;
    if (lastItem && std::strcmp(lastItem, text) == 0)
        return kCommandRunAgain;
    return kCommandRunAppend;
}

#include "ui/widgets/command_history.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "command/interpreter.h"
#include "model/env.h"
#include "model/file_input.h"

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
    std::FILE *in = openRegularFile(path);
    if (!in)
        return 0;
    // The rest of a line too long for the buffer is not a command.
    char line[kHistoryLineSize];
    size_t length;
    int count = 0;
    while (readTextLine(in, line, sizeof line, &length) != kTextLineEnd) {
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

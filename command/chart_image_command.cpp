// GSAVE: the chart image file.
#include <cstring>
#include <strings.h>

#include "command/commands.h"
#include "command/scene_files.h"
#include "model/command_error.h"
#include "model/env.h"
#include "model/lexing.h"
#include "render/chart_image.h"

int chartImageName(const char *name, char *out, int outSize)
{
    if (outSize < 1)
        return 0;
    out[0] = '\0';
    const size_t length = std::strlen(name);
    const char *dot = std::strrchr(name, '.');
    const char *slash = std::strrchr(name, '/');
    // No extension: the last "." is missing or stands before the last "/".
    const bool hasExtension = dot != nullptr && (slash == nullptr || dot > slash);
    const bool isXpm = hasExtension && strcasecmp(dot + 1, "xpm") == 0;
    const char *suffix = isXpm ? "" : ".xpm";
    if (length + std::strlen(suffix) >= static_cast<size_t>(outSize))
        return 0;
    std::memcpy(out, name, length);
    std::memcpy(out + length, suffix, std::strlen(suffix) + 1);
    return 1;
}

void stkCmdGsave(ChartState *chart, char **params)
{
    const char *file = params[0];
    if (file == nullptr) {
        stkSetError("stkErrorIllegalParam", nullptr);
        return;
    }
    char expanded[kEnvPathSize + 8];
    char path[kEnvPathSize + 8];
    if (envExpandTilde(file, expanded, sizeof expanded) == nullptr ||
        !chartImageName(expanded, path, sizeof path)) {
        stkSetError("stkErrorIllegalParam", file);
        return;
    }
    if (!saveChartXpm(chart, path))
        stkSetError("stkErrorFileWriteFailed", nullptr);
}

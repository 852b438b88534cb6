#include "render/chart_image.h"

#include <cstring>

#include "model/chart_state.h"
#include "model/env.h"
#include "render/surface.h"

namespace {

// The keys of a colour line in the order XPM writers give them.
const char *const kXpmColourKeys[5] = {"s", "m", "g4", "g", "c"};

int writeText(FILE *out, const std::string &text)
{
    return std::fwrite(text.data(), 1, text.size(), out) == text.size();
}

} // namespace

std::string xpmArrayName(const char *path)
{
    const char *slash = std::strrchr(path, '/');
    std::string name = slash != nullptr ? slash + 1 : path;
    for (char &c : name)
        if (c == '.' || c == '-')
            c = '_';
    return name;
}

int writeXpmText(FILE *out, const char *name, const ChartImage &image)
{
    const size_t cpp = static_cast<size_t>(image.charsPerPixel);
    const size_t width = static_cast<size_t>(image.width), height = static_cast<size_t>(image.height);
    if (image.pixels.size() != width * height)
        return 0;
    for (const ChartImageColour &c : image.colours)
        if (c.chars.size() != cpp)
            return 0;
    int ok = std::fprintf(out, "/* XPM */\nstatic char * %s[] = {\n\"%d %d %d %d\",\n", name, image.width,
                          image.height, static_cast<int>(image.colours.size()), image.charsPerPixel) > 0;
    std::string line;
    for (const ChartImageColour &c : image.colours) {
        line = "\"" + c.chars;
        for (int k = 0; k < 5; k++)
            if (!c.keys[k].empty())
                line += std::string("\t") + kXpmColourKeys[k] + " " + c.keys[k];
        line += "\",\n";
        ok = ok && writeText(out, line);
    }
    for (size_t y = 0; ok && y < height; y++) {
        line.assign(1, '"');
        for (size_t x = 0; x < width; x++) {
            const uint32_t index = image.pixels[y * width + x];
            if (index >= image.colours.size())
                return 0;
            line += image.colours[index].chars;
        }
        // The last row closes the array.
        line += y + 1 < height ? "\",\n" : "\"};\n";
        ok = writeText(out, line);
    }
    return ok;
}

int saveChartXpm(ChartState *chart, const char *path)
{
    ChartSurface *surface = chartSurface();
    // chartRect.y is the status bar's band when the bar is shown, 0 when not.
    const int width = chart->chartRect.width;
    const int height = chart->chartRect.y + chart->chartRect.height;
    if (surface == nullptr || surface->canvas() == nullptr || width < 1 || chart->chartRect.height < 1)
        return 0;
    ChartImage image;
    if (!surface->image(width, height, &image))
        return 0;
    EnvReplacement r;
    if (!envStartReplacement(&r, path))
        return 0;
    // The array is named after the file the image lands in, not its temporary.
    const int ok = writeXpmText(r.out, xpmArrayName(path).c_str(), image);
    return envFinishReplacement(&r, ok);
}

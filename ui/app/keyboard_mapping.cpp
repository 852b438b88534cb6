#include "ui/app/keyboard_mapping.h"

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>

#include "model/app_data.h"

namespace {

using MappingReader = KeySym *(*)(Display *, KeyCode, int, int *);

// libX11's own XGetKeyboardMapping, the next definition after this file's.
KeySym *serverMapping(Display *display, KeyCode first, int count, int *perCode)
{
    const MappingReader read = reinterpret_cast<MappingReader>(dlsym(RTLD_NEXT, "XGetKeyboardMapping"));
    return read != nullptr ? read(display, first, count, perCode) : nullptr;
}

// The whole map of display in copy, read from the server at the first call.
bool readWholeMap(KeyboardMappingCopy *copy, Display *display)
{
    if (copy->display != nullptr)
        return copy->display == display && copy->syms != nullptr;
    copy->display = display;
    int low = 0, high = 0;
    XDisplayKeycodes(display, &low, &high);
    if (high < low)
        return false;
    copy->firstCode = low;
    copy->codeCount = high - low + 1;
    copy->syms = serverMapping(display, static_cast<KeyCode>(low), copy->codeCount, &copy->perCode);
    return copy->syms != nullptr && copy->perCode > 0;
}

} // namespace

extern "C" KeySym *XGetKeyboardMapping(Display *display, KeyCode first, int count, int *perCode)
{
    KeyboardMappingCopy *copy = appData != nullptr ? appData->keyboardMapping : nullptr;
    if (copy == nullptr || count <= 0 || !readWholeMap(copy, display) || first < copy->firstCode ||
        first + count > copy->firstCode + copy->codeCount)
        return serverMapping(display, first, count, perCode);
    // Xlib's caller frees the answer with XFree, which is free.
    const size_t n = static_cast<size_t>(count) * static_cast<size_t>(copy->perCode);
    KeySym *out = static_cast<KeySym *>(std::malloc(n * sizeof(KeySym)));
    if (out == nullptr)
        return nullptr;
    std::memcpy(out, copy->syms + static_cast<size_t>(first - copy->firstCode) * copy->perCode, n * sizeof(KeySym));
    *perCode = copy->perCode;
    return out;
}

void keyboardMappingCopyBegin()
{
    if (appData != nullptr && appData->keyboardMapping == nullptr)
        appData->keyboardMapping = new KeyboardMappingCopy();
}

void keyboardMappingCopyEnd()
{
    if (appData == nullptr || appData->keyboardMapping == nullptr)
        return;
    if (appData->keyboardMapping->syms != nullptr)
        XFree(appData->keyboardMapping->syms);
    delete appData->keyboardMapping;
    appData->keyboardMapping = nullptr;
}

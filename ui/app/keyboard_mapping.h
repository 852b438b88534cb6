// The key map read once at start-up. Motif reads its virtual key bindings a
// key code at a time through XGetKeyboardMapping, a round trip to the server
// each (34 before the first chart on a common keyboard), and the toolkit
// reads the whole map once more. While start-up holds a copy of the whole
// map (in appData->keyboardMapping) such reads are answered from it; before
// and after, every read goes to the server, so a mapping changed later is
// read as it is.
#pragma once

#include <X11/Xlib.h>

struct KeyboardMappingCopy {
    Display *display = nullptr; // the display whose map this is; null until the first read
    int firstCode = 0, codeCount = 0;
    int perCode = 0;
    KeySym *syms = nullptr; // codeCount x perCode, from the server
};

// Starts answering from a copy (read on the first call for a display);
// ends it and frees the copy.
void keyboardMappingCopyBegin();
void keyboardMappingCopyEnd();

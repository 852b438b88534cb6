// The tool bar's form, which the main window asks for while it builds its
// children. Its owner is not built yet: the stand-in lives with the other
// start-up stand-ins in ui/app/pending_startup.cpp.
#pragma once

#include <X11/Intrinsic.h>

struct ChartState;

Widget createToolbarForm(Widget parent, ChartState *chart); // null when none is built

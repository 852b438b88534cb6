// The TCP server's descriptors as input sources of the toolkit's event loop.
#pragma once

#include <X11/Intrinsic.h>

// Points the server's watches (command/socket_server.h) at input sources of
// `app`; start-up calls it before socketServerStart.
void socketInputsUse(XtAppContext app);

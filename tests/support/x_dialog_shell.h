// The Xt side of an in-process dialog test: the toolkit on a test's X
// server with the fallback resources, a fresh application record and its
// top-level shell (the parent of every dialog), realized.
#pragma once

#include <string>

#include <X11/Intrinsic.h>

// The toolkit on displayName with the fallback resources and a top-level
// shell made with args, not yet realized; null (and no shell) when the
// display cannot be opened. appData->topLevel names the shell.
Widget openToolkitShell(const std::string &displayName, XtAppContext *app, ArgList args = nullptr,
                        Cardinal count = 0);

// openToolkitShell with a small shell, realized, on a reset app record.
// Returns the toolkit's display connection, null when it cannot be opened.
// appData then points at theAppData with its defaults and topLevel set.
Display *openDialogShell(const std::string &displayName, XtAppContext *app);


// Ends a toolkit connection that Motif widgets used: shell (if any) is
// destroyed while its display is open (every dialog record forgets its
// widgets), then Motif's display object, then the context. The closed
// connections' Screen records are kept for the run: Motif's pixmap and GC
// caches are keyed by their addresses and outlive the connection.
void closeToolkit(XtAppContext app, Widget shell);

// Ends what openDialogShell began: the sky-cell store goes, the application
// context and its display connection are destroyed and appData no longer
// names the shell, so a later test on another server finds nothing of this
// one. Call it before the test's X server goes.
void closeDialogShell();

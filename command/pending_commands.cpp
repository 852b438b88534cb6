// Stand-ins for the handlers whose commands are not built yet. Each reports
// stkErrorNotAvailable, so a command that does nothing never looks as if it
// had succeeded. A command leaves this file when its handler is built.
#include "command/commands.h"
#include "command/interpreter.h"

// The user-object and click-data file readers are not built yet: LOAD and
// UNLOAD with a file report them as not available, naming the keyword.
int stkLoadUserObjectFile(ChartState *, const char *)
{
    stkSetError("stkErrorNotAvailable", "AD");
    return 0;
}
int stkUnloadUserObjectFile(ChartState *, const char *)
{
    stkSetError("stkErrorNotAvailable", "AD");
    return 0;
}
int stkLoadClickData(ChartState *, const char *)
{
    stkSetError("stkErrorNotAvailable", "CLICKDATA");
    return 0;
}

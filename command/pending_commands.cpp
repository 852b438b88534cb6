// Stand-ins for the handlers whose commands are not built yet. Each reports
// stkErrorNotAvailable, so a command that does nothing never looks as if it
// had succeeded. A command leaves this file when its handler is built.
#include "command/commands.h"
#include "command/interpreter.h"

namespace {

void notAvailable() { stkSetError("stkErrorNotAvailable", nullptr); }

} // namespace

void stkCmdContinue(ChartState *, char **) { notAvailable(); }
void stkCmdReverse(ChartState *, char **) { notAvailable(); }
void stkCmdRealTime(ChartState *, char **) { notAvailable(); }
void stkCmdStl(ChartState *, char **) { notAvailable(); }
void stkCmdGsave(ChartState *, char **) { notAvailable(); }

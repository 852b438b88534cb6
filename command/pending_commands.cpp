// Stand-ins for the handlers whose commands are not built yet. Each reports
// stkErrorNotAvailable, so a command that does nothing never looks as if it
// had succeeded. A command leaves this file when its handler is built.
#include "command/commands.h"
#include "command/interpreter.h"

namespace {

void notAvailable() { stkSetError("stkErrorNotAvailable", nullptr); }

} // namespace

void stkCmdMode(ChartState *, char **) { notAvailable(); }
void stkCmdLocate(ChartState *, char **) { notAvailable(); }
void stkCmdDate(ChartState *, char **) { notAvailable(); }
void stkCmdStime(ChartState *, char **) { notAvailable(); }
void stkCmdIncTime(ChartState *, char **) { notAvailable(); }
void stkCmdDecTime(ChartState *, char **) { notAvailable(); }
void stkCmdTimeSys(ChartState *, char **) { notAvailable(); }
void stkCmdContinue(ChartState *, char **) { notAvailable(); }
void stkCmdReverse(ChartState *, char **) { notAvailable(); }
void stkCmdRealTime(ChartState *, char **) { notAvailable(); }
void stkCmdBlink(ChartState *, char **) { notAvailable(); }
void stkCmdShow(ChartState *, char **) { notAvailable(); }
void stkCmdHide(ChartState *, char **) { notAvailable(); }
void stkCmdToggle(ChartState *, char **) { notAvailable(); }
void stkCmdLoad(ChartState *, char **) { notAvailable(); }
void stkCmdUnload(ChartState *, char **) { notAvailable(); }
void stkCmdStl(ChartState *, char **) { notAvailable(); }
void stkCmdReal(ChartState *, char **) { notAvailable(); }
void stkCmdOutline(ChartState *, char **) { notAvailable(); }
void stkCmdDisk(ChartState *, char **) { notAvailable(); }
void stkCmdGsave(ChartState *, char **) { notAvailable(); }

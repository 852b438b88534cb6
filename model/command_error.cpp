#include "model/command_error.h"

#include "model/app_data.h"
#include "model/lexing.h"

void stkSetError(const char *id, const char *text)
{
    strCopyBounded(appData->errorId, sizeof appData->errorId, id);
    strCopyBounded(appData->errorArg, sizeof appData->errorArg, text);
}

void stkClearError()
{
    appData->errorId[0] = '\0';
    appData->errorArg[0] = '\0';
}

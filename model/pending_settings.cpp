#include "model/pending_settings.h"

#include "model/app_data.h"
#include "model/options.h"

namespace {
int toolbarOptionRead = 1, tipHelpOptionRead = 1; // the getters' defaults
} // namespace

void pendingReadToolbarOptions()
{
    toolbarOptionRead = optionGetBool("Toolbar", 1);
    tipHelpOptionRead = optionGetBool("TipHelp", 1);
}

void pendingToolbarOptions(int *toolbarShown, int *tipHelp)
{
    *toolbarShown = toolbarOptionRead;
    *tipHelp = tipHelpOptionRead;
}

// Stand-ins for the start-up steps whose owners are not built yet (see
// ui/app/pending_startup.h). Grouped by owner; delete a group when its owner lands.
#include "ui/app/pending_startup.h"


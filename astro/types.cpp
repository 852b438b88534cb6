// astro/ is header-first; this unit keeps the library non-empty before the routines land.
#include "astro/types.h"
